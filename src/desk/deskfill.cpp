#include "desk/deskfill.h"

#include <commctrl.h>

#include "resources/resource.h"

namespace {

// Input that acts on what lies under the pointer or on the focused item.
bool IsPointerOrKeyInput(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
    case WM_XBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_CONTEXTMENU: return true;
    default: return false;
    }
}

// The list knows its fill, for the procedure in front of its own.
HWND Tagged(HWND list, DeskFill* fill) {
    if (list) SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fill));
    return list;
}

} // namespace

LONG ListViewOf(HWND list) {
    return GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK;
}

void SetListView(HWND list, LONG view) {
    LONG style = GetWindowLongW(list, GWL_STYLE);
    if ((style & LVS_TYPEMASK) != view)
        SetWindowLongW(list, GWL_STYLE, (style & ~LVS_TYPEMASK) | view);
}

DeskFill::DeskFill(HWND window, HWND list)
    : window_(window), list_(list), procedure_(Tagged(list, this), ListProcedure) {}

DeskFill::~DeskFill() {
    slices_.reset();
    if (IsWindow(list_)) SetWindowLongPtrW(list_, GWLP_USERDATA, 0);
}

LRESULT CALLBACK DeskFill::ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* fill = reinterpret_cast<DeskFill*>(GetWindowLongPtrW(list, GWLP_USERDATA));
    if (!fill) return DefWindowProcW(list, message, wParam, lParam);
    // Input comes before painting: what arrives before the list has painted
    // its new items was meant for the picture of the old ones.
    if (fill->stale_ && IsPointerOrKeyInput(message)) return 0;
    LRESULT result = CallWindowProcW(fill->procedure_.previous(), list, message, wParam, lParam);
    if (message == WM_PAINT && !fill->slices_) fill->stale_ = false;
    return result;
}

LONG DeskFill::View() const {
    return slices_ ? slices_->rows.View() : ListViewOf(list_);
}

void DeskFill::SetView(LONG view) {
    if (slices_)
        slices_->rows.SetView(view);
    else
        SetListView(list_, view);
}

bool DeskFill::Lists(const wchar_t* folder) const {
    return CompareStringOrdinal(listedpath, -1, folder, -1, TRUE) == CSTR_EQUAL;
}

const wchar_t* DeskFill::ItemName(int index) const {
    return index >= 0 && static_cast<size_t>(index) < names_.size() ? names_[index].c_str()
                                                                      : nullptr;
}

void DeskFill::Renamed(int index, const wchar_t* name) {
    if (ItemName(index)) names_[index] = name;
}

void DeskFill::Deleted(int index) {
    if (!ItemName(index)) return;
    names_.erase(names_.begin() + index);
    // A fill under way goes on with the name that was next.
    if (slices_ && slices_->next > static_cast<size_t>(index)) --slices_->next;
}

FillSlices& DeskFill::Begin(const wchar_t* folder, std::vector<std::wstring> names) {
    // A folder whose name does not fit was never read: the list is empty.
    if (!CopyText(listedpath, folder)) {
        listedpath[0] = L'\0';
        names.clear();
    }
    names_ = std::move(names);
    ++fills_;
    stale_ = true;
    // A fill overtaken ends first: the new one holds the list as it finds
    // it after that, in its own view and drawing.
    slices_.reset();
    slices_ = std::make_unique<FillSlices>(list_);
    return *slices_;
}

std::unique_ptr<FillSlices> DeskFill::End() {
    std::unique_ptr<FillSlices> done = std::move(slices_);
    Resume();
    return done;
}

void DeskFill::Resume() {
    if (refreshing > 0) return;
    if (stepdeferred_ && slices_) PostMessageW(window_, WM_FILLSTEP, 0, 0);
    stepdeferred_ = false;
    if (wanted_.wanted && !slices_) PostMessageW(window_, WM_REFRESHWANTED, 0, 0);
}

std::optional<bool> DeskFill::TakeWanted() {
    if (!wanted_.wanted) return std::nullopt;
    bool reread = wanted_.reread;
    wanted_ = {};
    return reread;
}

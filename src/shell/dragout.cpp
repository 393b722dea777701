#include "shell/dragout.h"

#include "app/handles.h"

STDMETHODIMP DeskDropSource::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
        *object = static_cast<IDropSource*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DeskDropSource::AddRef() {
    return ++refcount;
}

// Never frees: the drag-out routine owns the object on its stack.
STDMETHODIMP_(ULONG) DeskDropSource::Release() {
    return --refcount;
}

// A drag started with either button drops once no button is held.
STDMETHODIMP DeskDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keys) {
    if (escapePressed || (cancel_ && *cancel_)) return DRAGDROP_S_CANCEL;
    if (!(keys & (MK_LBUTTON | MK_RBUTTON))) return DRAGDROP_S_DROP;
    return S_OK;
}

STDMETHODIMP DeskDropSource::GiveFeedback(DWORD) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

void DragItemsOut(const PathList& paths, HWND owner, DWORD* effect, const bool* cancel) {
    DWORD result = DROPEFFECT_NONE;
    ComPtr<IDataObject> data;
    if (GetShellObject(paths, IID_IDataObject, data.putVoid(), owner)) {
        DeskDropSource source(cancel);
        DoDragDrop(data.get(), &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                   &result);
    }
    if (effect) *effect = result;
}

#include "desk/flatimage.h"

#include <utility>

FlatImage::FlatImage(SIZE size, COLORREF background)
    : size_(size), background_(background == CLR_NONE ? GetSysColor(COLOR_WINDOW) : background),
      dc_(CreateCompatibleDC(nullptr)) {
    if (size.cx <= 0 || size.cy <= 0 || !dc_) return;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    GdiObject brush(CreateSolidBrush(background_));
    if (!bitmap_ || !brush) return;
    old_ = SelectObject(dc_.get(), bitmap_.get());
    RECT all = {0, 0, size.cx, size.cy};
    FillRect(dc_.get(), &all, static_cast<HBRUSH>(brush.get()));
    bits_ = static_cast<BYTE*>(bits);
}

FlatImage::~FlatImage() {
    if (old_) SelectObject(dc_.get(), old_);
}

BYTE* FlatImage::bits() const {
    GdiFlush();
    return bits_;
}

GdiObject FlatImage::Finish() {
    if (!bits_) return GdiObject();
    SelectObject(dc_.get(), std::exchange(old_, nullptr));
    GdiFlush();
    bits_ = nullptr;
    return std::move(bitmap_);
}

#pragma once
// The list's image lists have no alpha: what goes into them is drawn flat on
// the list's background colour first.

#include <windows.h>

#include "app/handles.h"

// A 24-bit top-down bitmap of a given size filled with a background colour
// (CLR_NONE: the window colour), selected into a memory DC for drawing on
// until Finish hands it over.
class FlatImage {
  public:
    FlatImage(SIZE size, COLORREF background);
    ~FlatImage();
    FlatImage(const FlatImage&) = delete;
    FlatImage& operator=(const FlatImage&) = delete;

    explicit operator bool() const { return bits_ != nullptr; }
    HDC dc() const { return dc_.get(); }
    // The pixels, blue-green-red, rows stride() bytes apart; GDI has
    // finished drawing on them when this is called.
    BYTE* bits() const;
    int stride() const { return (size_.cx * 3 + 3) & ~3; }
    COLORREF background() const { return background_; }

    // The bitmap, no longer selected into the DC, so an image list can
    // copy from it.
    GdiObject Finish();

  private:
    SIZE size_;
    COLORREF background_;
    MemoryDc dc_;
    GdiObject bitmap_;
    HGDIOBJ old_ = nullptr;
    BYTE* bits_ = nullptr;
};

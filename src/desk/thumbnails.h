#pragma once
// Pictures shown as what they hold: a picture file's content made into an
// image for the list at its icon size, by the Windows Imaging Component.

#include <windows.h>
#include <wincodec.h>

#include "app/handles.h"

// Whether name (or a path) ends in the extension of a picture kind made
// into thumbnails: PNG, JPEG, GIF, BMP, TIFF or ICO, in any letter case.
bool IsPictureName(const wchar_t* name);

// The smallest complete file among those kinds is a GIF: its signature,
// screen and image descriptors, code size, the end of its (empty) data and
// its trailer alone take 26 bytes; the others' fixed parts take more (a BMP
// 30, a PNG over 60). A smaller file cannot hold a picture.
constexpr ULONGLONG kSmallestPictureBytes = 26;
// Whether a file of this size in the folder listing is worth opening.
bool MayHoldPicture(ULONGLONG size);

// Makes thumbnails one file at a time on a thread that has COM; what it
// makes is handed over as a bitmap for the window's thread to put into the
// image list. The imaging component is loaded at the first picture, and
// released with the maker, which ends before the thread's COM does.
class ThumbnailMaker {
  public:
    ThumbnailMaker() = default;
    ThumbnailMaker(const ThumbnailMaker&) = delete;
    ThumbnailMaker& operator=(const ThumbnailMaker&) = delete;

    // A 24-bit bitmap of exactly size: the first frame of the picture at
    // path fitted and centred on background (CLR_NONE: the window colour).
    // A larger picture is scaled down to fit with its shape kept; a smaller
    // one keeps its own size, the only one at which it looks sharp.
    // Null when the file cannot be opened or holds no picture it can decode.
    GdiObject Make(const wchar_t* path, SIZE size, COLORREF background);

  private:
    IWICImagingFactory* Factory();

    ComPtr<IWICImagingFactory> factory_;
    bool tried_ = false; // a factory that failed once is not asked again
};

#include "desk/thumbnails.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <new>
#include <utility>
#include <vector>

#include "app/text.h"
#include "desk/flatimage.h"

namespace {

// A read-only stream over a file opened so that it stands in nobody's way:
// others may read, write, rename and delete it while a picture is decoded
// from it. A decoder opened by the file's name would keep writers out.
class SharedFileStream final : public IStream {
  public:
    static ComPtr<IStream> Open(const wchar_t* path) {
        ComPtr<IStream> stream;
        FileHandle file(CreateFileW(path, GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (file) *stream.put() = new (std::nothrow) SharedFileStream(std::move(file));
        return stream;
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) ||
            IsEqualIID(iid, IID_IStream)) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP Read(void* buffer, ULONG count, ULONG* read) override {
        DWORD done = 0;
        BOOL ok = ReadFile(file_.get(), buffer, count, &done, nullptr);
        if (read) *read = done;
        if (!ok) return HRESULT_FROM_WIN32(GetLastError());
        return done < count ? S_FALSE : S_OK;
    }
    STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
        // The stream's origins are the file's: set, current, end.
        if (origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
        LARGE_INTEGER now = {};
        if (!SetFilePointerEx(file_.get(), move, &now, origin)) return STG_E_INVALIDFUNCTION;
        if (position) position->QuadPart = static_cast<ULONGLONG>(now.QuadPart);
        return S_OK;
    }
    STDMETHODIMP Stat(STATSTG* stat, DWORD) override {
        if (!stat) return STG_E_INVALIDPOINTER;
        *stat = {};
        LARGE_INTEGER size = {};
        if (!GetFileSizeEx(file_.get(), &size)) return HRESULT_FROM_WIN32(GetLastError());
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = static_cast<ULONGLONG>(size.QuadPart);
        stat->grfMode = STGM_READ | STGM_SHARE_DENY_NONE;
        return S_OK;
    }

    // Reading is all a decoder needs.
    STDMETHODIMP Write(const void*, ULONG, ULONG* written) override {
        if (written) *written = 0;
        return STG_E_ACCESSDENIED;
    }
    STDMETHODIMP SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Commit(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    STDMETHODIMP Clone(IStream** copy) override {
        if (copy) *copy = nullptr;
        return E_NOTIMPL;
    }

  private:
    explicit SharedFileStream(FileHandle file) : file_(std::move(file)) {}
    ~SharedFileStream() = default; // only Release ends it

    FileHandle file_;
    LONG references_ = 1;
};

// Premultiplied blue-green-red-alpha pixels of a picture drawn at (left,
// top) over the image's background.
void BlendOnto(const FlatImage& image, const std::vector<BYTE>& pixels, SIZE picture, int left,
               int top) {
    BYTE* rows = image.bits();
    COLORREF background = image.background();
    const int under[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
    const BYTE* from = pixels.data();
    for (int y = 0; y < picture.cy; ++y) {
        BYTE* to = rows + static_cast<size_t>(top + y) * image.stride() + left * 3;
        for (int x = 0; x < picture.cx; ++x, from += 4, to += 3) {
            int clear = 255 - from[3];
            for (int c = 0; c < 3; ++c)
                to[c] = static_cast<BYTE>(from[c] + (under[c] * clear + 127) / 255);
        }
    }
}

// The size a picture is drawn at in a box: at least a pixel either way.
SIZE FitPicture(SIZE picture, SIZE box) {
    if (picture.cx <= box.cx && picture.cy <= box.cy) return picture;
    // Whichever side meets the box first sets the scale.
    if (static_cast<LONGLONG>(picture.cx) * box.cy >= static_cast<LONGLONG>(picture.cy) * box.cx)
        return {box.cx, std::max(1L, static_cast<LONG>(MulDiv(picture.cy, box.cx, picture.cx)))};
    return {std::max(1L, static_cast<LONG>(MulDiv(picture.cx, box.cy, picture.cy))), box.cy};
}

} // namespace

bool IsPictureName(const wchar_t* name) {
    const wchar_t* dot = LastDotPart(name);
    // Asked for every entry of a desk: no kind is longer than five units.
    wchar_t lower[6];
    size_t length = dot ? wcsnlen(dot, 6) : 6;
    if (length > 5) return false;
    for (size_t i = 0; i <= length; ++i)
        lower[i] = static_cast<wchar_t>(std::towlower(dot[i]));
    for (const wchar_t* kind :
         {L".png", L".jpg", L".jpeg", L".jpe", L".gif", L".bmp", L".tif", L".tiff", L".ico"})
        if (wcscmp(lower, kind) == 0) return true;
    return false;
}

bool MayHoldPicture(ULONGLONG size) {
    return size >= kSmallestPictureBytes;
}

IWICImagingFactory* ThumbnailMaker::Factory() {
    if (!tried_) {
        tried_ = true;
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, factory_.putVoid());
    }
    return factory_.get();
}

GdiObject ThumbnailMaker::Make(const wchar_t* path, SIZE size, COLORREF background) {
    if (size.cx <= 0 || size.cy <= 0) return GdiObject();
    IWICImagingFactory* factory = Factory();
    ComPtr<IStream> stream = factory ? SharedFileStream::Open(path) : ComPtr<IStream>();
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (!stream ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        width == 0 || height == 0 || width > LONG_MAX || height > LONG_MAX)
        return GdiObject();
    SIZE fitted = FitPicture({static_cast<LONG>(width), static_cast<LONG>(height)}, size);

    // Converted before it is scaled, so that whatever the file's pixel
    // format the scaler mixes premultiplied colours.
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return GdiObject();
    IWICBitmapSource* source = converter.get();
    ComPtr<IWICBitmapScaler> scaler;
    if (fitted.cx != static_cast<LONG>(width) || fitted.cy != static_cast<LONG>(height)) {
        if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
            FAILED(scaler->Initialize(converter.get(), fitted.cx, fitted.cy,
                                      WICBitmapInterpolationModeFant)))
            return GdiObject();
        source = scaler.get();
    }
    // Most decoders read the pixels only now: a file cut short fails here at
    // the latest.
    std::vector<BYTE> pixels(static_cast<size_t>(fitted.cx) * fitted.cy * 4);
    if (FAILED(source->CopyPixels(nullptr, fitted.cx * 4, static_cast<UINT>(pixels.size()),
                                  pixels.data())))
        return GdiObject();

    FlatImage image(size, background);
    if (!image) return GdiObject();
    BlendOnto(image, pixels, fitted, (size.cx - fitted.cx) / 2, (size.cy - fitted.cy) / 2);
    return image.Finish();
}

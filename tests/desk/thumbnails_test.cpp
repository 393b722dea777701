// Picture files made into thumbnails, from pictures the imaging component's
// own encoders write at run time.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincodec.h>

#include <string>
#include <vector>

#include "app/handles.h"
#include "desk/thumbnails.h"
#include "settings/filebytes.h"
#include "support/testsupport.h"

namespace {

// A DC to read a made image's pixels from; none unless the image is a
// 24-bit bitmap of exactly size.
MemoryDc Selected(const GdiObject& image, SIZE size) {
    BITMAP shape = {};
    if (!image || !GetObjectW(image.get(), sizeof shape, &shape) || shape.bmWidth != size.cx ||
        shape.bmHeight != size.cy || shape.bmBitsPixel != 24)
        return MemoryDc();
    MemoryDc dc(CreateCompatibleDC(nullptr));
    SelectObject(dc.get(), image.get());
    return dc;
}

} // namespace

// Every kind decodes here, its name in any letter case, and every picture
// written is large enough to be opened; each lands fitted and centred,
// blended onto the background, with background all around it, though another
// program holds the file open for writing and deleting. What cannot be
// decoded, and a name of no kind, gives nothing.
TEST(Thumbnails, EachKindIsDrawnFittedAndCentredAndWhatIsNoPictureGivesNothing) {
    ComSession com;
    TempFolder folder;
    folder.folder(L"x.y"); // a dot in a folder's name makes no kind
    const SIZE box = {48, 48};
    const COLORREF background = RGB(120, 120, 120);
    const GUID &png = GUID_ContainerFormatPng, &gif = GUID_ContainerFormatGif,
               &bmp = GUID_ContainerFormatBmp, &jpeg = GUID_ContainerFormatJpeg,
               &tiff = GUID_ContainerFormatTiff, &icon = GUID_NULL; // an icon file
    const struct {
        const wchar_t* name;
        const GUID& container;
        SIZE size;
        COLORREF colour;
        BYTE alpha;
        RECT at; // where the picture lies in the thumbnail
        COLORREF seen;
    } cases[] = {
        {L"red.PNG", png, {64, 64}, 0x0000FF, 255, {0, 0, 48, 48}, 0x0000FF},
        {L"green.Jpg", jpeg, {64, 64}, 0x00FF00, 255, {0, 0, 48, 48}, 0x00FF00},
        {L"lime.jpeg", jpeg, {64, 64}, 0x00FF00, 255, {0, 0, 48, 48}, 0x00FF00},
        {L"blue.gif", gif, {64, 64}, 0xFF0000, 255, {0, 0, 48, 48}, 0xFF0000},
        {L"cyan.bmp", bmp, {64, 64}, 0xFFFF00, 255, {0, 0, 48, 48}, 0xFFFF00},
        {L"pink.TiFf", tiff, {64, 64}, 0xFF00FF, 255, {0, 0, 48, 48}, 0xFF00FF},
        {L"x.y\\wide.png", png, {96, 48}, 0x0000FF, 255, {0, 12, 48, 36}, 0x0000FF},
        {L"tall.JPE", jpeg, {30, 90}, 0xFF0000, 255, {16, 0, 32, 48}, 0xFF0000},
        {L"thin.tif", tiff, {300, 2}, 0xFF0000, 255, {0, 23, 48, 24}, 0xFF0000},
        {L"small.gif", gif, {16, 16}, 0x00FF00, 255, {16, 16, 32, 32}, 0x00FF00},
        {L"red.ico", icon, {16, 16}, 0x0000FF, 255, {16, 16, 32, 32}, 0x0000FF},
        {L".png", png, {64, 64}, 0x0000FF, 128, {0, 0, 48, 48}, 0x3C3CBC}, // half see-through
    };
    ThumbnailMaker maker;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        std::wstring path = folder / c.name;
        ASSERT_TRUE(&c.container == &icon
                        ? WriteIconFile(path, c.colour)
                        : WritePicture(path, c.container, c.size, c.colour, c.alpha));
        EXPECT_TRUE(IsPictureName(c.name) && MayHoldPicture(ReadBytes(path).size()));
        FileHandle writer(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        MemoryDc dc = Selected(maker.Make(path.c_str(), box, background), box);
        ASSERT_TRUE(dc) << "no 24-bit thumbnail of the box's size";
        int wrong = 0; // pixels not of the picture within, not background without
        for (LONG y = 0; y < box.cy; ++y)
            for (LONG x = 0; x < box.cx; ++x)
                wrong +=
                    !Near(GetPixel(dc.get(), x, y), PtInRect(&c.at, {x, y}) ? c.seen : background);
        EXPECT_EQ(wrong, 0);
    }
    // The window colour stands in for no background.
    MemoryDc dc = Selected(maker.Make((folder / L"small.gif").c_str(), box, CLR_NONE), box);
    ASSERT_TRUE(dc);
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), GetSysColor(COLOR_WINDOW));

    // A cut file, one of another kind, or none gives nothing; a file too
    // small for any picture is not even opened, one of no kind's name neither.
    std::string bytes = ReadBytes(folder / L"red.PNG");
    ASSERT_TRUE(WriteBytes(folder / L"cut.png", bytes.substr(0, bytes.size() / 2)));
    ASSERT_TRUE(WriteBytes(folder / L"notes.png", std::string(200, 'a')));
    for (const wchar_t* name : {L"cut.png", L"notes.png", L"missing.png"})
        EXPECT_FALSE(maker.Make((folder / name).c_str(), box, 0)) << name;
    EXPECT_FALSE(MayHoldPicture(0) || MayHoldPicture(kSmallestPictureBytes - 1));
    for (const wchar_t* name : {L"png", L"a.png.txt", L"a.pngx", L"a.jp", L"a.", L"", L"a.webp",
                                L"C:\\d.png\\file", L"a.ico.lnk"})
        EXPECT_FALSE(IsPictureName(name)) << name;
}

// The INI reader and writer: its small functions, and real files.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <array>
#include <cstring>
#include <cwchar>
#include <string>

#include "settings/filebytes.h"
#include "settings/inifile.h"
#include "support/testsupport.h"

namespace {

struct Split {
    bool ok;
    std::wstring key, value;
};

Split SplitOf(std::wstring text) {
    wchar_t* key = nullptr;
    wchar_t* value = nullptr;
    bool ok = SplitIniLine(text.data(), &key, &value);
    return {ok, ok ? key : L"", ok ? value : L""};
}

std::wstring Format(std::uint32_t type, const void* value) {
    wchar_t out[64] = L"untouched";
    if (!FormatIniValue(type, value, out, 64)) return L"(refused)";
    return out;
}

} // namespace

TEST(IniLine, SplitsAtEqualsCrAndLf) {
    EXPECT_EQ(SplitOf(L"Key=Value\r\n").value, L"Value");
    EXPECT_EQ(SplitOf(L"Key=Value\r\n").key, L"Key");
    EXPECT_EQ(SplitOf(L"key==v").value, L"v");
    EXPECT_EQ(SplitOf(L"path=C:\\a=b").value, L"C:\\a") << "a value never holds '='";
    EXPECT_EQ(SplitOf(L"==key=v").key, L"key") << "leading delimiters are skipped";
    Split blanks = SplitOf(L" a = b \r\n");
    EXPECT_EQ(blanks.key, L" a ");
    EXPECT_EQ(blanks.value, L" b ") << "blanks belong to the value";
    for (const wchar_t* noValue : {L"key=", L"key=\r\n", L"key", L"", L"\r\n", L"==="})
        EXPECT_FALSE(SplitOf(noValue).ok) << noValue;
}

TEST(IniValue, WordIsSixteenBitsWrittenSigned) {
    std::uint16_t word = 40000;
    EXPECT_EQ(Format(IniWord, &word), L"-25536");
    word = 0;
    EXPECT_TRUE(ParseIniValue(IniWord, L"-25536", &word, 0));
    EXPECT_EQ(word, 40000);
    EXPECT_TRUE(ParseIniValue(IniWord, L"70000", &word, 0));
    EXPECT_EQ(word, 70000 & 0xFFFF) << "the low 16 bits of the 32-bit scan";
}

TEST(IniValue, BoolReadsEitherCaseAndWritesCapitals) {
    bool flag = false;
    EXPECT_TRUE(ParseIniValue(IniBool, L"tRuE", &flag, 0));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(ParseIniValue(IniBool, L"false", &flag, 0));
    EXPECT_FALSE(flag);
    flag = true;
    for (const wchar_t* other : {L"yes", L"1", L"TRUE ", L" TRUE", L""})
        EXPECT_FALSE(ParseIniValue(IniBool, other, &flag, 0)) << other;
    EXPECT_TRUE(flag);

    unsigned char byte = 0;
    EXPECT_EQ(Format(IniBool, &byte), L"FALSE");
    byte = 1;
    EXPECT_EQ(Format(IniBool, &byte), L"TRUE");
    byte = 0xA7; // a flag that lost its 0/1 still names one of the two texts
    EXPECT_EQ(Format(IniBool, &byte), L"TRUE");
}

TEST(IniValue, SignedDecimalsAndLongWithTopBitThroughNegativeText) {
    short shortValue = -1234;
    EXPECT_EQ(Format(IniShort, &shortValue), L"-1234");
    EXPECT_TRUE(ParseIniValue(IniShort, L"321", &shortValue, 0));
    EXPECT_EQ(shortValue, 321);

    std::uint32_t bits = 0x80000001u; // a COLORREF-like value with the top bit set
    EXPECT_EQ(Format(IniLong, &bits), L"-2147483647");
    std::uint32_t back = 0;
    EXPECT_TRUE(ParseIniValue(IniLong, L"-2147483647", &back, 0));
    EXPECT_EQ(back, bits);

    std::int32_t number = 5;
    EXPECT_TRUE(ParseIniValue(IniLong, L"12px", &number, 0));
    EXPECT_EQ(number, 12) << "a numeric prefix is taken";
    EXPECT_TRUE(ParseIniValue(IniLong, L"  42", &number, 0));
    EXPECT_EQ(number, 42) << "leading blanks are skipped";
    for (const wchar_t* bad : {L"px12", L"", L"   ", L"-", L"TRUE"})
        EXPECT_FALSE(ParseIniValue(IniLong, bad, &number, 0)) << bad;
    EXPECT_EQ(number, 42);
}

TEST(IniValue, OctalAndHexWithAndWithoutPrefix) {
    unsigned short shortOctal = 8;
    EXPECT_EQ(Format(IniShortOctal, &shortOctal), L"10");
    EXPECT_TRUE(ParseIniValue(IniShortOctal, L"17", &shortOctal, 0));
    EXPECT_EQ(shortOctal, 15);
    std::uint32_t longOctal = 0xFFFFFFFFu;
    EXPECT_EQ(Format(IniLongOctal, &longOctal), L"37777777777");
    EXPECT_TRUE(ParseIniValue(IniLongOctal, L"777", &longOctal, 0));
    EXPECT_EQ(longOctal, 0777u);
    EXPECT_FALSE(ParseIniValue(IniLongOctal, L"9", &longOctal, 0));

    unsigned short shortHex = 0xBEEF;
    EXPECT_EQ(Format(IniShortHex, &shortHex), L"beef") << "lower case, no prefix";
    EXPECT_TRUE(ParseIniValue(IniShortHex, L"C0DE", &shortHex, 0));
    EXPECT_EQ(shortHex, 0xC0DE);
    std::uint32_t longHex = 0xDEADBEEFu;
    EXPECT_EQ(Format(IniLongHex, &longHex), L"deadbeef");
    EXPECT_TRUE(ParseIniValue(IniLongHex, L"0x1F", &longHex, 0));
    EXPECT_EQ(longHex, 0x1Fu);
    EXPECT_TRUE(ParseIniValue(IniLongHex, L"ff", &longHex, 0));
    EXPECT_EQ(longHex, 0xFFu);
    EXPECT_FALSE(ParseIniValue(IniLongHex, L"xyz", &longHex, 0));
}

TEST(IniValue, FloatAndDouble) {
    float single = 1.5f;
    EXPECT_EQ(Format(IniFloat, &single), L"1.5");
    EXPECT_TRUE(ParseIniValue(IniFloat, L"2.25e1", &single, 0));
    EXPECT_EQ(single, 22.5f);
    double number = 0.1;
    EXPECT_EQ(Format(IniDouble, &number), L"0.1");
    EXPECT_TRUE(ParseIniValue(IniDouble, L"-3.75x", &number, 0));
    EXPECT_EQ(number, -3.75);
    EXPECT_FALSE(ParseIniValue(IniDouble, L"e5", &number, 0));
}

TEST(IniValue, StringIsCutToItsBufferAndUnknownTypesDoNothing) {
    wchar_t text[4] = L"old";
    EXPECT_TRUE(ParseIniValue(IniString, L"abcdef", text, 4));
    EXPECT_STREQ(text, L"abc");
    EXPECT_FALSE(ParseIniValue(IniString, L"x", text, 0));
    EXPECT_STREQ(text, L"abc");
    EXPECT_EQ(Format(IniString, text), L"(refused)") << "strings are written verbatim instead";

    std::uint32_t value = 7;
    for (std::uint32_t type : {0u, 12u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(ParseIniValue(type, L"5", &value, 260));
        EXPECT_EQ(Format(type, &value), L"(refused)");
    }
    EXPECT_EQ(value, 7u);
    wchar_t tiny[3];
    EXPECT_FALSE(FormatIniValue(IniLong, &value, tiny, 1)) << "no room for 7 and the terminator";
}

namespace {

class IniFiles : public ::testing::Test {
  protected:
    std::wstring path(const wchar_t* name = L"test.ini") const { return folder_ / name; }
    // Writes the text as a UTF-16LE file with its byte-order mark.
    std::wstring file(const std::wstring& text) const {
        std::wstring p = path();
        EXPECT_TRUE(WriteUtf16(p, text));
        return p;
    }
    TempFolder folder_;
};

} // namespace

TEST_F(IniFiles, ThreeSectionsGiveExactlyTheseBytes) {
    wchar_t name[260] = L"Ta'rvo";
    bool flag = true;
    std::int32_t number = -7;
    IniEntry first[] = {{L"name", IniString, name}, {L"flag", IniBool, &flag}, {nullptr, 0, nullptr}};
    IniEntry second[] = {{L"number", IniLong, &number}, {nullptr, 0, nullptr}};
    IniEntry none[] = {{L"ignored", IniLong, nullptr}};
    {
        IniFile ini;
        ASSERT_NE(ini.open(path().c_str(), 1), nullptr);
        EXPECT_TRUE(ini.wide);
        ini.writeSection(first, L"[One]");
        ini.writeSection(second, L"[Two]");
        ini.writeSection(none, L"[Three]");
        EXPECT_TRUE(ini.close());
    }
    EXPECT_EQ(ReadBytes(path()),
              Utf16(L"[One]\r\nname=Ta'rvo\r\nflag=TRUE\r\n\r\n[Two]\r\nnumber=-7\r\n\r\n[Three]\r\n"));

    // Without a header only the entries are written; the first section still
    // follows the byte-order mark directly.
    {
        IniFile ini;
        ASSERT_NE(ini.open(path().c_str(), 1), nullptr);
        ini.writeSection(second, nullptr);
        ini.writeSection(second, nullptr);
        ini.close();
    }
    EXPECT_EQ(ReadBytes(path()), Utf16(L"number=-7\r\n\r\nnumber=-7\r\n"));
}

TEST_F(IniFiles, EveryTypeReadsBackWhatWasWritten) {
    struct Values {
        std::uint16_t word = 0;
        bool flag = false;
        short shortValue = 0;
        std::uint32_t longValue = 0;
        unsigned short shortOctal = 0;
        std::uint32_t longOctal = 0;
        unsigned short shortHex = 0;
        std::uint32_t longHex = 0;
        float single = 0;
        double number = 0;
        wchar_t text[260] = L"";
    } out, in;
    out.word = 50000;
    out.flag = true;
    out.shortValue = -300;
    out.longValue = 0xFF00FF00u;
    out.shortOctal = 0177777;
    out.longOctal = 0x80000000u;
    out.shortHex = 0xABCD;
    out.longHex = 0xFEDCBA98u;
    out.single = -0.125f;
    out.number = 6.02214e23;
    wcscpy(out.text, L"  C:\\Program Files\\x.exe /a  ");
    auto entries = [](Values& v) {
        return std::to_array<IniEntry>({{L"Word", IniWord, &v.word},
                                        {L"Bool", IniBool, &v.flag},
                                        {L"Short", IniShort, &v.shortValue},
                                        {L"Long", IniLong, &v.longValue},
                                        {L"ShortOctal", IniShortOctal, &v.shortOctal},
                                        {L"LongOctal", IniLongOctal, &v.longOctal},
                                        {L"ShortHex", IniShortHex, &v.shortHex},
                                        {L"LongHex", IniLongHex, &v.longHex},
                                        {L"Float", IniFloat, &v.single},
                                        {L"Double", IniDouble, &v.number},
                                        {L"String", IniString, v.text},
                                        {nullptr, 0, nullptr}});
    };
    auto write = entries(out);
    auto read = entries(in);
    {
        IniFile ini;
        ASSERT_NE(ini.open(path().c_str(), 1), nullptr);
        ini.writeSection(write.data(), L"[All]");
    }
    {
        IniFile ini;
        ASSERT_NE(ini.open(path().c_str(), 0), nullptr);
        ini.readSection(read.data(), L"[All]", 260);
    }
    EXPECT_EQ(in.word, out.word);
    EXPECT_EQ(in.flag, out.flag);
    EXPECT_EQ(in.shortValue, out.shortValue);
    EXPECT_EQ(in.longValue, out.longValue);
    EXPECT_EQ(in.shortOctal, out.shortOctal);
    EXPECT_EQ(in.longOctal, out.longOctal);
    EXPECT_EQ(in.shortHex, out.shortHex);
    EXPECT_EQ(in.longHex, out.longHex);
    EXPECT_EQ(in.single, out.single);
    EXPECT_EQ(in.number, out.number);
    EXPECT_STREQ(in.text, out.text) << "leading and trailing blanks are kept";
    std::wstring text = ReadUtf16(path());
    EXPECT_NE(text.find(L"\r\nWord=-15536\r\n"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"\r\nLong=-16711936\r\n"), std::wstring::npos) << text;
}

TEST_F(IniFiles, HeadersCommentsKeysAndSectionEnds) {
    std::wstring p = file(L" [Desk]\r\nsort=1\r\n"           // a leading blank: not the header
                          L"[desk]\r\nsort=2\r\n"           // headers compare with case
                          L"[Desk] old\r\n"                 // trailing text is allowed
                          L"# sort=3\r\n"                   // a comment
                          L"\r\nno delimiter here\r\n"
                          L"SORT=4\r\n"                     // keys compare without case
                          L"home =x\r\n"                    // the blank belongs to the key
                          L"end=\r\n"                       // no value: unchanged
                          L"twice=a\r\n"
                          L"  [Desk]\r\n"                   // neither an end nor a key
                          L"extra=e\r\n"
                          L"[Other]\r\nsort=5\r\n"
                          L"[Desk]\r\nsort=6\r\nlate=l\r\n"); // only the first [Desk] counts
    std::int32_t sort = 0;
    wchar_t home[260] = L"h", end[260] = L"e", one[260] = L"", two[260] = L"", extra[260] = L"";
    wchar_t late[260] = L"none";
    IniEntry entries[] = {{L"sort", IniLong, &sort},   {L"home", IniString, home},
                          {L"end", IniString, end},    {L"twice", IniString, one},
                          {L"TWICE", IniString, two},  {L"extra", IniString, extra},
                          {L"late", IniString, late},  {L"bad", 99, one},
                          {nullptr, 0, nullptr}};
    IniFile ini;
    ASSERT_NE(ini.open(p.c_str(), 0), nullptr);
    ini.readSection(entries, L"[Desk]", 260);
    EXPECT_EQ(sort, 4);
    EXPECT_STREQ(home, L"h");
    EXPECT_STREQ(end, L"e");
    EXPECT_STREQ(one, L"a") << "every entry of the name receives the value";
    EXPECT_STREQ(two, L"a");
    EXPECT_STREQ(extra, L"e");
    EXPECT_STREQ(late, L"none");

    ini.readSection(entries, L"[Missing]", 260);
    EXPECT_EQ(sort, 4);
    ini.readSection(entries, L"[Other]", 260);
    EXPECT_EQ(sort, 5) << "each read starts again at the top";
    ini.readSection(entries, nullptr, 260);
    EXPECT_EQ(sort, 1) << "no header: from the top, up to the first '['";
    IniEntry empty[] = {{nullptr, 0, nullptr}};
    ini.readSection(empty, L"[Desk]", 260);
    EXPECT_EQ(sort, 1);
}

TEST_F(IniFiles, LongLinesArriveInPiecesOf254) {
    // Each piece is a line of its own: its first character decides whether it
    // is a comment or a section end, and it may look like key=value itself.
    std::wstring p = file(L"[S]\r\n"
                          L"value=" + std::wstring(248, L'a') + L"tail=t" + std::wstring(40, L'b') +
                          L"\r\nx=" + std::wstring(252, L'y') + L"#c=comment\r\n" +
                          L"z=" + std::wstring(252, L'w') + L"[end\r\n" +
                          L"after=1\r\n");
    wchar_t value[260] = L"", tail[260] = L"", x[260] = L"", comment[260] = L"";
    std::int32_t after = 0;
    IniEntry entries[] = {{L"value", IniString, value}, {L"tail", IniString, tail},
                          {L"x", IniString, x},         {L"#c", IniString, comment},
                          {L"after", IniLong, &after},  {nullptr, 0, nullptr}};
    IniFile ini;
    ASSERT_NE(ini.open(p.c_str(), 0), nullptr);
    ini.readSection(entries, L"[S]", 260);
    EXPECT_EQ(std::wstring(value), std::wstring(248, L'a'));
    EXPECT_EQ(std::wstring(tail), L"t" + std::wstring(40, L'b'));
    EXPECT_EQ(std::wstring(x), std::wstring(252, L'y'));
    EXPECT_STREQ(comment, L"");
    EXPECT_EQ(after, 0) << "the piece \"[end\" ended the section";
}

TEST_F(IniFiles, StringsAreCutToMaxLengthAndAKeyCanBeItsOwnValue) {
    std::wstring p = file(L"[T]\r\nversion=1.00-with-a-long-tail\r\nOpen=Offnen\r\n");
    wchar_t version[12] = L"";
    wchar_t text[50] = L"Open"; // the current text is the key and receives its translation
    IniEntry entries[] = {{L"version", IniString, version}, {text, IniString, text}, {nullptr, 0, nullptr}};
    IniFile ini;
    ASSERT_NE(ini.open(p.c_str(), 0), nullptr);
    ini.readSection(entries, L"[T]", 12);
    EXPECT_STREQ(version, L"1.00-with-a");
    EXPECT_STREQ(text, L"Offnen");
}

TEST_F(IniFiles, FilesThatCannotBeOpenedReadAndWriteNothing) {
    IniFile missing;
    EXPECT_EQ(missing.open(path(L"none.ini").c_str(), 0), nullptr);
    std::int32_t value = 3;
    IniEntry entries[] = {{L"value", IniLong, &value}, {nullptr, 0, nullptr}};
    missing.readSection(entries, nullptr, 260);
    missing.writeSection(entries, L"[X]");
    EXPECT_EQ(value, 3);
    EXPECT_FALSE(missing.close());

    IniFile folderAsFile;
    EXPECT_EQ(folderAsFile.open(folder_.path().c_str(), 1), nullptr);
    folderAsFile.writeSection(entries, L"[X]");

    IniFile otherMode;
    EXPECT_EQ(otherMode.open(path(L"mode2.ini").c_str(), 2), nullptr);
    EXPECT_EQ(GetFileAttributesW(path(L"mode2.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(IniFiles, TheAnsiTextStreamHasNoByteOrderMarkAndCrLfLines) {
    // The fallback stream, opened as the fallback opens it.
    std::wstring ansi = path(L"ansi.ini");
    char full[MAX_PATH];
    ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, ansi.c_str(), -1, full, MAX_PATH, nullptr, nullptr), 0);
    std::int32_t number = 12;
    wchar_t text[260] = L"plain text";
    IniEntry entries[] = {{L"number", IniLong, &number}, {L"text", IniString, text}, {nullptr, 0, nullptr}};
    {
        IniFile ini;
        ini.file = std::fopen(full, "w");
        ini.wide = false;
        ASSERT_NE(ini.file, nullptr);
        ini.writeSection(entries, L"[A]");
        ini.writeSection(entries, L"[B]");
        EXPECT_TRUE(ini.close());
    }
    EXPECT_EQ(ReadBytes(ansi),
              "[A]\r\nnumber=12\r\ntext=plain text\r\n\r\n[B]\r\nnumber=12\r\ntext=plain text\r\n");
    number = 0;
    text[0] = L'\0';
    IniFile ini;
    ini.file = std::fopen(full, "r");
    ini.wide = false;
    ASSERT_NE(ini.file, nullptr);
    ini.readSection(entries, L"[B]", 260);
    EXPECT_EQ(number, 12);
    EXPECT_STREQ(text, L"plain text");
}

namespace {

std::uint64_t FileId(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info = {};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

} // namespace

TEST_F(IniFiles, SaveReplacesTheOldFileInOneStepAndLeavesNothingBeside) {
    std::wstring p = file(L"[Old]\r\nx=1\r\n");
    std::uint64_t oldId = FileId(p);
    std::int32_t value = 2;
    IniEntry entries[] = {{L"x", IniLong, &value}, {nullptr, 0, nullptr}};
    IniSection sections[] = {{L"[New]", entries, 260}, {L"[Too]", entries, 260}};
    EXPECT_TRUE(SaveIniSections(p.c_str(), sections, 2));
    EXPECT_EQ(ReadBytes(p), Utf16(L"[New]\r\nx=2\r\n\r\n[Too]\r\nx=2\r\n"));
    EXPECT_NE(FileId(p), oldId) << "a new file took the old one's place";
    EXPECT_EQ(FolderNames(folder_.path()), std::vector<std::wstring>{L"test.ini"});

    // A file that did not exist is made the same way.
    std::wstring fresh = path(L"fresh.ini");
    EXPECT_TRUE(SaveIniSections(fresh.c_str(), sections, 1));
    EXPECT_EQ(ReadBytes(fresh), Utf16(L"[New]\r\nx=2\r\n"));
}

TEST_F(IniFiles, SaveWritesInPlaceWhereNoNewFileFitsBeside) {
    // A folder so deep that no made-up name fits in it beside the settings file.
    std::wstring deep = folder_.path() + L"\\";
    deep += std::wstring(MAX_PATH - 14 - deep.size(), L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << deep.size();
    std::wstring p = deep + L"\\a.ini";
    ASSERT_TRUE(WriteUtf16(p, L"[Old]\r\n"));
    std::uint64_t oldId = FileId(p);
    std::int32_t value = 9;
    IniEntry entries[] = {{L"x", IniLong, &value}, {nullptr, 0, nullptr}};
    IniSection sections[] = {{L"[New]", entries, 260}};
    EXPECT_TRUE(SaveIniSections(p.c_str(), sections, 1));
    EXPECT_EQ(ReadBytes(p), Utf16(L"[New]\r\nx=9\r\n"));
    EXPECT_EQ(FileId(p), oldId) << "written in place";
    EXPECT_EQ(FolderNames(deep), std::vector<std::wstring>{L"a.ini"});
}

TEST_F(IniFiles, ASaveThatCannotBeMadeIsLostWithoutHarm) {
    // The "file" is a folder: the new file cannot replace it, nor can it be written.
    folder_.folder(L"taken.ini");
    std::wstring p = path(L"taken.ini");
    std::int32_t value = 1;
    IniEntry entries[] = {{L"x", IniLong, &value}, {nullptr, 0, nullptr}};
    IniSection sections[] = {{L"[S]", entries, 260}};
    EXPECT_FALSE(SaveIniSections(p.c_str(), sections, 1));
    EXPECT_TRUE(GetFileAttributesW(p.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(FolderNames(folder_.path()), std::vector<std::wstring>{L"taken.ini"})
        << "the made-up file is removed again";
    EXPECT_FALSE(SaveIniSections(path(L"no\\such\\folder.ini").c_str(), sections, 1));
}

TEST_F(IniFiles, AHiddenSettingsFileStaysHidden) {
    std::wstring p = file(L"[Old]\r\n");
    if (!SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_HIDDEN) ||
        !(GetFileAttributesW(p.c_str()) & FILE_ATTRIBUTE_HIDDEN))
        GTEST_SKIP() << "this file system keeps no hidden attribute for the file";
    std::int32_t value = 1;
    IniEntry entries[] = {{L"x", IniLong, &value}, {nullptr, 0, nullptr}};
    IniSection sections[] = {{L"[S]", entries, 260}};
    EXPECT_TRUE(SaveIniSections(p.c_str(), sections, 1));
    EXPECT_EQ(ReadBytes(p), Utf16(L"[S]\r\nx=1\r\n"));
    EXPECT_TRUE(GetFileAttributesW(p.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

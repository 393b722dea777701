// The INI reader and writer: its small functions, and real files.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

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

template <typename T> std::uint64_t Bits(T value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof value);
    return bits;
}

// One value of every type and the text it is written as. The variable of
// each lies in the low bytes of a 64-bit slot, the rest of which stays zero.
struct Sample {
    std::uint32_t type;
    const wchar_t* name;
    std::uint64_t bits;
    const wchar_t* text;
};
const Sample kSamples[] = {
    {IniWord, L"Word", 40000, L"-25536"}, // above 32767: written negative
    {IniBool, L"Bool", 1, L"TRUE"},
    {IniBool, L"Bool0", 0, L"FALSE"},
    {IniShort, L"Short", Bits<short>(-1234), L"-1234"},
    {IniLong, L"Long", 0x80000001u, L"-2147483647"}, // the top bit set
    {IniShortOctal, L"ShortOctal", 8, L"10"},
    {IniLongOctal, L"LongOctal", 0xFFFFFFFFu, L"37777777777"},
    {IniShortHex, L"ShortHex", 0xBEEF, L"beef"}, // lower case, no prefix
    {IniLongHex, L"LongHex", 0xDEADBEEFu, L"deadbeef"},
    {IniFloat, L"Float", Bits(1.5f), L"1.5"},
    {IniDouble, L"Double", Bits(0.1), L"0.1"},
};

constexpr std::uint64_t kUnchanged = 0xA5A5A5A5A5A5A5A5ull;

// What the text stores into a slot that held kUnchanged, at the variable's size.
std::uint64_t Parsed(std::uint32_t type, const wchar_t* text) {
    std::uint64_t slot = kUnchanged;
    ParseIniValue(type, text, &slot, 0);
    return slot;
}
std::uint64_t Stored(std::uint32_t type, std::uint64_t bits) {
    std::size_t size = 2;
    if (type == IniBool) size = 1;
    if (type == IniLong || type == IniLongOctal || type == IniLongHex || type == IniFloat) size = 4;
    if (type == IniDouble) size = 8;
    std::uint64_t slot = kUnchanged;
    std::memcpy(&slot, &bits, size);
    return slot;
}

} // namespace

TEST(IniLine, TheKeyEndsAtTheFirstEqualsAndTheValueAtTheLineEnd) {
    EXPECT_EQ(SplitOf(L"Key=Value\r\n").value, L"Value");
    EXPECT_EQ(SplitOf(L"Key=Value\r\n").key, L"Key");
    EXPECT_EQ(SplitOf(L"key==v").value, L"=v");
    EXPECT_EQ(SplitOf(L"path=C:\\a=b\r\n").value, L"C:\\a=b");
    EXPECT_EQ(SplitOf(L"==key=v").key, L"key") << "leading delimiters are skipped";
    Split blanks = SplitOf(L" a = b \r\n");
    EXPECT_EQ(blanks.key, L" a ");
    EXPECT_EQ(blanks.value, L" b ") << "blanks belong to the value";
    EXPECT_TRUE(SplitOf(L"key=\r\n").ok && SplitOf(L"key=\r\n").value.empty());
    for (const wchar_t* noValue : {L"key", L"key\r\n=v", L"", L"\r\n", L"==="})
        EXPECT_FALSE(SplitOf(noValue).ok) << noValue;
}

TEST(IniValue, EveryTypeFormatsAndParsesItsOwnText) {
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.name);
        wchar_t out[64] = L"";
        ASSERT_TRUE(FormatIniValue(sample.type, &sample.bits, out, 64));
        EXPECT_STREQ(out, sample.text);
        EXPECT_EQ(Parsed(sample.type, sample.text), Stored(sample.type, sample.bits));
    }
}

TEST(IniValue, ParsingFollowsTheFormattedInputRules) {
    const struct {
        std::uint32_t type;
        const wchar_t* text;
        std::uint64_t bits; // kUnchanged: the variable keeps its value
    } cases[] = {
        {IniWord, L"70000", 70000 & 0xFFFF}, // the low 16 bits of the 32-bit scan
        {IniBool, L"tRuE", 1},           {IniBool, L"false", 0},        {IniBool, L"yes", kUnchanged},
        {IniBool, L"1", kUnchanged},     {IniBool, L" TRUE", kUnchanged}, {IniBool, L"", kUnchanged},
        {IniLong, L"12px", 12},          {IniLong, L"  42", 42},        {IniLong, L"px12", kUnchanged},
        {IniLong, L"", kUnchanged},      {IniLong, L"-", kUnchanged},   {IniLongHex, L"0x1F", 0x1F},
        {IniLongHex, L"ff", 0xFF},       {IniLongHex, L"xyz", kUnchanged}, {IniShortHex, L"C0DE", 0xC0DE},
        {IniLongOctal, L"777", 0777},    {IniLongOctal, L"9", kUnchanged},
        {IniFloat, L"2.25e1", Bits(22.5f)}, {IniDouble, L"-3.75x", Bits(-3.75)},
        {IniDouble, L"e5", kUnchanged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Parsed(c.type, c.text), c.bits == kUnchanged ? kUnchanged : Stored(c.type, c.bits));
    }
}

TEST(IniValue, StrayFlagsStringsUnknownTypesAndSmallBuffers) {
    unsigned char flag = 0xA7; // a flag that lost its 0/1 still names one of the two texts
    wchar_t out[8];
    ASSERT_TRUE(FormatIniValue(IniBool, &flag, out, 8));
    EXPECT_STREQ(out, L"TRUE");

    wchar_t text[4] = L"old";
    EXPECT_TRUE(ParseIniValue(IniString, L"abcdef", text, 4));
    EXPECT_STREQ(text, L"abc");
    EXPECT_FALSE(ParseIniValue(IniString, L"x", text, 0));
    EXPECT_STREQ(text, L"abc");
    EXPECT_FALSE(FormatIniValue(IniString, text, out, 8)) << "strings are written verbatim instead";

    std::uint32_t value = 7;
    for (std::uint32_t type : {0u, 12u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(ParseIniValue(type, L"5", &value, 260));
        EXPECT_FALSE(FormatIniValue(type, &value, out, 8));
    }
    EXPECT_EQ(value, 7u);
    EXPECT_FALSE(FormatIniValue(IniLong, &value, out, 1)) << "no room for 7 and the terminator";
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
    constexpr std::size_t count = sizeof kSamples / sizeof kSamples[0];
    std::uint64_t out[count], in[count] = {};
    wchar_t textOut[260] = L"  C:\\Program Files\\x.exe /a  ", textIn[260] = L"";
    std::vector<IniEntry> writeAll, readAll;
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = kSamples[i].bits;
        writeAll.push_back({kSamples[i].name, kSamples[i].type, &out[i]});
        readAll.push_back({kSamples[i].name, kSamples[i].type, &in[i]});
    }
    writeAll.push_back({L"String", IniString, textOut});
    readAll.push_back({L"String", IniString, textIn});
    writeAll.push_back({nullptr, 0, nullptr});
    readAll.push_back({nullptr, 0, nullptr});
    {
        IniFile ini;
        ASSERT_NE(ini.open(path().c_str(), 1), nullptr);
        ini.writeSection(writeAll.data(), L"[All]");
    }
    {
        IniFile ini;
        ASSERT_NE(ini.open(path().c_str(), 0), nullptr);
        ini.readSection(readAll.data(), L"[All]", 260);
    }
    std::wstring text = ReadUtf16(path());
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(kSamples[i].name);
        EXPECT_EQ(in[i], out[i]);
        EXPECT_NE(text.find(L"\r\n" + std::wstring(kSamples[i].name) + L"=" + kSamples[i].text + L"\r\n"),
                  std::wstring::npos);
    }
    EXPECT_STREQ(textIn, textOut) << "leading and trailing blanks are kept";
}

TEST_F(IniFiles, HeadersCommentsKeysAndSectionEnds) {
    std::wstring p = file(L" [Desk]\r\nsort=1\r\n"           // a leading blank: not the header
                          L"[desk]\r\nsort=2\r\n"           // headers compare with case
                          L"[Desk] old\r\n"                 // trailing text is allowed
                          L"# sort=3\r\n"                   // a comment
                          L"\r\nno delimiter here\r\n"
                          L"SORT=4\r\nsort=\r\n"            // keys compare without case
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

    // Where asked, an empty value empties a string, and still no number.
    ini.readSection(entries, L"[Desk]", 260, IniEmptyValue::EmptiesString);
    EXPECT_EQ(std::pair(sort, std::wstring(end)), std::pair(4, std::wstring()));

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

TEST_F(IniFiles, ALongLineIsOneLineAndWhatLiesPastItsBufferIsPassedOver) {
    // Nothing inside a long line is read as a line of its own: not "tail=", not
    // "#c", not the "[end" that would close the section, not the "after=" past
    // 1023 units.
    std::wstring p =
        file(L"[S]\r\n"
             L"value=" +
             std::wstring(248, L'a') + L"tail=t" + std::wstring(40, L'b') + L"\r\nx=" +
             std::wstring(252, L'y') + L"#c=comment\r\n" + L"z=" + std::wstring(252, L'w') +
             L"[end" + std::wstring(800, L'w') + L"after=2\r\nafter=1\r\n");
    wchar_t value[260] = L"", tail[260] = L"", x[260] = L"", comment[260] = L"";
    std::int32_t after = 0;
    IniEntry entries[] = {{L"value", IniString, value}, {L"tail", IniString, tail},
                          {L"x", IniString, x},         {L"#c", IniString, comment},
                          {L"after", IniLong, &after},  {nullptr, 0, nullptr}};
    IniFile ini;
    ASSERT_NE(ini.open(p.c_str(), 0), nullptr);
    ini.readSection(entries, L"[S]", 260);
    EXPECT_EQ(std::wstring(value), std::wstring(248, L'a') + L"tail=t" + std::wstring(5, L'b'));
    EXPECT_STREQ(tail, L"");
    EXPECT_EQ(std::wstring(x), std::wstring(252, L'y') + L"#c=comm");
    EXPECT_STREQ(comment, L"");
    EXPECT_EQ(after, 1);
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

// Profile reader against the platform's profile reads as Wine 8 gives them.
// Under Wine the same rows also run through GetPrivateProfileStringA and
// GetPrivateProfileIntA, which must give the same results.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>

#include <fstream>
#endif

#include <cstring>
#include <string>
#include <vector>

#include "core/profile_reader.h"

namespace {

// `text`'s lines end in "\n"; each row also runs with CR LF and CR. `size`:
// the buffer's; `line`: the key's expected line, 0 when it is missing.
struct StringRow { const char *name, *text, *section, *key; size_t size; const char* expected; int line; };

const StringRow kStringRows[] = {
    {"names ignore case", "[Install Project]\nName=Foo\n", "INSTALL PROJECT", "NAME", 260, "Foo", 2},
    {"blanks around name and value", "[S]\n \t key \t=\t value x \t\n", "S", "key", 260, "value x", 2},
    {"query names are trimmed", "[S]\nk=v\n", " S ", "\tk ", 260, "v", 2},
    {"section name is trimmed", "[ \tS ]\nk=v\n", "S", "k", 260, "v", 2},
    /* 5 */ {"section name runs to the last bracket", "[S]x]\nk=v\n", "S]x", "k", 260, "v", 2},
    {"text past the first bracket is no section", "[S]x]\nk=v\n", "S", "k", 260, "", 0},
    {"first duplicate key wins", "[S]\nk=1\nk=2\n", "S", "k", 260, "1", 2},
    {"only the first section of a name", "[S]\na=1\n[T]\n[s]\nb=2\n", "S", "b", 260, "", 0},
    {"key without equals has an empty value", "[S]\nflag\n", "S", "flag", 260, "", 2},
    /* 10 */ {"comment line never matches", "[S]\n; k=1\n;k=1\nk=2\n", "S", "k", 260, "2", 4},
    {"blank lines are counted", "\n\n[S]\n\n\t\nk=v\n", "S", "k", 260, "v", 6},
    {"keys before any section", "k=v\n[S]\n", "S", "k", 260, "", 0},
    {"double quotes dropped", "[S]\nk= \"a b\" \n", "S", "k", 260, "a b", 2},
    {"single quotes dropped", "[S]\nk='a'\n", "S", "k", 260, "a", 2},
    /* 15 */ {"mismatched quotes kept", "[S]\nk=\"a'\n", "S", "k", 260, "\"a'", 2},
    {"lone quote kept", "[S]\nk=\"\n", "S", "k", 260, "\"", 2},
    {"cut to size minus one", "[S]\nk=abcdef\n", "S", "k", 4, "abc", 2},
    {"quoted value one short", "[S]\nk=\"abc\"\n", "S", "k", 5, "abc", 2},
    {"quoted value that exactly fits loses one more", "[S]\nk=\"abc\"\n", "S", "k", 4, "ab", 2},
    /* 20 */ {"quoted value cut", "[S]\nk=\"abc\"\n", "S", "k", 3, "ab", 2},
    {"size one gives the empty text", "[S]\nk=abc\n", "S", "k", 1, "", 2},
    {"first equals splits", "[S]\nk = a=b\n", "S", "k", 260, "a=b", 2},
    {"bracket line without close is dropped", "[S]\n[oops\nk=v\n", "S", "k", 260, "v", 3},
    {"... but read as a key", "[S]\n[oops=x\n", "S", "[oops", 260, "x", 2},
    {"a key of that name in another section", "[A]\nk=1\n[B]\nj=2\n", "B", "k", 260, "", 0},
    {"empty section name never matches", "[]\nk=v\n", "", "k", 260, "", 0},
    /* 25 */ {"empty key never matches", "[S]\n=v\n", "S", "", 260, "", 0},
    {"UTF-8 mark skipped", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", 260, "v", 2},
    {"control-Z is a blank", "[S]\nk=\x1Av\x1A\n", "S", "k", 260, "v", 2},
    {"last line without line end", "[S]\nk=v", "S", "k", 260, "v", 2},
    /* 31 */ {"a line longer than the buffer", "[S]\nk=x,y,z,,,,,,EntryPoints/x\n", "S", "k", 12, "x,y,z,,,,,,", 2},
};

std::string WithLineEnds(const char* text, const char* eol) {
    std::string out;
    for (const char* p = text; *p; ++p) out += *p == '\n' ? std::string(eol) : std::string(1, *p);
    return out;
}

TEST(ProfileReader, StringReads) {
    const struct { const char *eol, *name; } kEnds[] = {{"\n", "LF"}, {"\r\n", "CR LF"}, {"\r", "CR"}};
    for (const StringRow& row : kStringRows) {
        for (const auto& end : kEnds) {
            std::string text = WithLineEnds(row.text, end.eol);
            ProfileText view = {text.data(), text.size()};
            std::vector<char> out(row.size + 8, '#');
            int line = -1;
            size_t n = ProfileGetString(&view, row.section, row.key, out.data(), row.size, &line);
            SCOPED_TRACE(std::string(row.name) + " (" + end.name + ")");
            EXPECT_STREQ(row.expected, out.data());
            EXPECT_EQ(strlen(row.expected), n);
            EXPECT_EQ(row.line, line);
            for (size_t i = row.size; i < out.size(); ++i)
                ASSERT_EQ('#', out[i]) << "written past the buffer at " << i;
        }
    }
}

struct IntRow { const char* name; const char* value; int32_t expected; };  // value null: no key

const IntRow kIntRows[] = {
    {"plain", "42", 42}, {"minus", "-7", -7}, {"plus", "+7", 7}, {"digits then text", "12abc", 12},
    {"no digits", "abc", 0}, {"blank inside quotes", "\" 5\"", 5}, {"hex prefix", "0x1F", 31},
    /* 8 */ {"upper-case prefix is no prefix", "0X10", 0}, {"negative hex", "-0x10", -16},
    {"octal prefix", "0o17", 15}, {"binary prefix stops at 2", "0b1012", 5},
    {"wraps at 32 bits", "4294967297", 1}, {"blank after sign", "- 5", 0},
    /* 14 */ {"cut at 29 characters first", "1234567890123456789012345678901234", 1849262357},
    {"empty value gives the default", "", 77}, {"empty quotes give the default", "\"\"", 77},
    {"missing key gives the default", nullptr, 77},
};

TEST(ProfileReader, IntegerReads) {
    for (const IntRow& row : kIntRows) {
        std::string text = "[S]\r\nother=1\r\n";
        if (row.value) text += std::string("k=") + row.value + "\r\n";
        ProfileText view = {text.data(), text.size()};
        int line = -1;
        EXPECT_EQ(row.expected, ProfileGetInt(&view, "s", "K", 77, &line)) << row.name;
        EXPECT_EQ(row.value ? 3 : 0, line) << row.name;
    }
}

TEST(ProfileReader, WalksOneSectionInFileOrder) {
    std::string text = "[A]\r\nx=0\r\n[B]\r\n3=c\r\n\r\n; note\r\n1=a\r\n3=again\r\n[C]\r\ny=1\r\n";
    ProfileText view = {text.data(), text.size()};
    ProfileCursor cursor;
    ASSERT_EQ(1, ProfileBeginKeys(&view, "b", &cursor));
    std::string keys;  // name@line of each key
    ProfileKey key;
    while (ProfileNextKey(&view, &cursor, &key))
        keys += text.substr(key.nameStart, key.nameEnd - key.nameStart) + "@" + std::to_string(key.line) + " ";
    EXPECT_EQ("3@4 ; note@6 1@7 3@8 ", keys);
    EXPECT_EQ(0, ProfileBeginKeys(&view, "D", &cursor));
    EXPECT_EQ(0, ProfileNextKey(&view, &cursor, &key));
}

#ifdef _WIN32
// Each row in a file of its own (the platform keeps recent files by name),
// read back with the platform's profile reads. Empty section and key names
// are left out: the installer never asks for one, and the platform's
// versions answer them differently.
std::string ProfileFile(const std::string& text) {
    static int files = 0;
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    const std::string path = folder + std::string("tv-profile-") + std::to_string(++files) + ".ini";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(ProfileReader, AgreesWithThePlatform) {
    for (const StringRow& row : kStringRows) {
        for (const char* eol : {"\n", "\r\n", "\r"}) {
            if (!row.section[0] || !row.key[0]) continue;
            const std::string path = ProfileFile(WithLineEnds(row.text, eol));
            std::vector<char> out(row.size + 8, '#');
            DWORD n = GetPrivateProfileStringA(row.section, row.key, "", out.data(), (DWORD)row.size, path.c_str());
            EXPECT_STREQ(row.expected, out.data()) << row.name;
            EXPECT_EQ(strlen(row.expected), n) << row.name;
            DeleteFileA(path.c_str());
        }
    }
    for (const IntRow& row : kIntRows) {
        const std::string path = ProfileFile(std::string("[S]\r\nother=1\r\n") +
                                             (row.value ? std::string("k=") + row.value + "\r\n" : ""));
        EXPECT_EQ(row.expected, (int32_t)GetPrivateProfileIntA("s", "K", 77, path.c_str())) << row.name;
        DeleteFileA(path.c_str());
    }
}
#endif

}  // namespace

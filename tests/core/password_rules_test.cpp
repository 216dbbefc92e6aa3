// Uninstall protection without windows: name sums, records, length codes,
// the accept rule and the record files' names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/password_rules.h"

#ifndef _WIN32
#include <iconv.h>
#endif

namespace {

// The record bytes of a test as a hex string, for readable failures.
std::string Hex(const unsigned char* bytes, size_t count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

std::string Repeat(const std::string& text, int count) {
    std::string all;
    while (count-- > 0) all += text;
    return all;
}

TEST(PasswordRules, NameSumTakesSignedBytes) {
    const struct {
        const char* name;
        int32_t sum;
    } kRows[] = {
        {"AB", 131},
        {"BA", 131},  // same letters, same hidden file
        {"", 0},
        {"\x7f", 127},
        {"\x80", -128},
        // 5
        {"\xe9\xe9\xe9", -69},
        {"A\xff", 64},
        {"Tarnvale", 829},
    };
    for (const auto& row : kRows)
        EXPECT_EQ(row.sum, NameSum(row.name)) << "name \"" << row.name << "\"";
}

TEST(PasswordRules, RecordIsTheInvertedPaddedPassword) {
    unsigned char bytes[] = {0, 1, 127, 128, 254, 255};
    InvertBytes(bytes, sizeof(bytes));
    EXPECT_EQ("fffe807f0100", Hex(bytes, sizeof(bytes)));
    InvertBytes(bytes, sizeof(bytes));
    EXPECT_EQ("00017f80feff", Hex(bytes, sizeof(bytes)));

    const std::string ff(2 * 21, 'f');
    const struct {
        const char* name;
        std::string password;
        std::string record;  // hex of 21 bytes
    } kRows[] = {
        {"six letters", "secret", "8c9a9c8d9a8b" + ff.substr(0, 2 * 15)},
        {"empty", "", ff},
        {"twenty", std::string(20, 'a'), Repeat("9e", 20) + "ff"},
        {"twenty-one", std::string(21, 'a'), Repeat("9e", 21)},
        {"twenty-five: only 21 bytes count", std::string(25, 'a'), Repeat("9e", 21)},
    };
    for (const auto& row : kRows) {
        unsigned char record[kPasswordRecordSize + 1];
        record[kPasswordRecordSize] = 0x5a;  // canary
        MakePasswordRecord(row.password.c_str(), record);
        EXPECT_EQ(row.record, Hex(record, kPasswordRecordSize)) << row.name;
        EXPECT_EQ(0x5a, record[kPasswordRecordSize]) << row.name << ": write past the record";
    }
}

TEST(PasswordRules, RecordReadBack) {
    unsigned char secret[kPasswordRecordSize];
    MakePasswordRecord("secret", secret);
    unsigned char blank[kPasswordRecordSize];
    memset(blank, 255, sizeof(blank));
    unsigned char full[kPasswordRecordSize];
    MakePasswordRecord(std::string(21, 'z').c_str(), full);
    unsigned char cut[kPasswordRecordSize];
    MakePasswordRecord("ab", cut);
    cut[5] = 0x10;  // a stray byte behind the first zero

    const struct {
        const char* name;
        const unsigned char* bytes;
        size_t length;
        int found;
        std::string text;
    } kRows[] = {
        {"a record", secret, 21, 1, "secret"},
        {"all 255: the empty password, still a record", blank, 21, 1, ""},
        {"21 characters, no zero byte", full, 21, 1, std::string(21, 'z')},
        {"cut at the first zero", cut, 21, 1, "ab"},
        {"20 bytes: no record", secret, 20, 0, ""},
        // 5
        {"nothing read: no record", secret, 0, 0, ""},
    };
    for (const auto& row : kRows) {
        char text[kPasswordTextSize + 1];
        memset(text, 'X', sizeof(text));  // canary in the last byte
        EXPECT_EQ(row.found, StoredPasswordFromRecord(row.bytes, row.length, text)) << row.name;
        EXPECT_EQ(row.text, std::string(text)) << row.name;
        EXPECT_EQ('X', text[kPasswordTextSize]) << row.name << ": write past the text";
    }
}

TEST(PasswordRules, LengthCode) {
    const struct {
        std::string password;
        size_t size;
        int result;
        const char* code;
    } kRows[] = {
        {std::string(20, 'p'), 24, 1, "235"},
        {"p", 24, 1, "254"},
        {"secret", 24, 1, "249"},
        {"", 24, 1, "255"},
        {std::string(25, 'p'), 24, 1, "234"},  // at most 21 bytes count
        // 5
        {"secret", 4, 1, "249"},
        {"secret", 3, 0, ""},
    };
    for (const auto& row : kRows) {
        char out[kPasswordLengthCodeSize];
        memset(out, 'X', sizeof(out));
        EXPECT_EQ(row.result, PasswordLengthCode(out, row.size, row.password.c_str()))
            << "length " << row.password.size() << ", size " << row.size;
        EXPECT_STREQ(row.code, out) << "length " << row.password.size();
    }
}

TEST(PasswordRules, AcceptRule) {
    const std::string twenty(20, 'q');
    const struct {
        const char* name;
        std::string entry;
        std::string matchText;
        int accepted;
    } kRows[] = {
        {"equal", "secret", "secret", 1},
        {"case differs", "Secret", "secret", 0},
        {"empty entry, empty stored text", "", "", 0},
        {"empty entry", "", "secret", 0},
        {"entry is a beginning", "sec", "secret", 0},
        // 5
        {"entry goes on", "secret!", "secret", 0},
        {"twenty equal", twenty, twenty, 1},
        {"first twenty of twenty-one", twenty, twenty + "r", 1},
        {"entry of twenty-one", twenty + "r", twenty + "r", 0},
        {"last of twenty differs", twenty, std::string(19, 'q') + "Q", 0},
    };
    for (const auto& row : kRows)
        EXPECT_EQ(row.accepted, PasswordAccepted(row.entry.c_str(), row.matchText.c_str()))
            << row.name;
}

TEST(PasswordRules, RecordFileNames) {
    const std::string system = "C:\\windows\\system32";
    const struct {
        const char* name;
        bool hidden;  // else the uninstaller
        std::string dir;
        const char* project;
        size_t size;
        int result;
        std::string path;
    } kRows[] = {
        {"AB", true, system, "AB", kRecordPathSize, 1, system + "\\tv_sys131.sys"},
        {"empty NAME", true, system, "", kRecordPathSize, 1, system + "\\tv_sys0.sys"},
        {"negative sum", true, system, "\xe9\xe9\xe9", kRecordPathSize, 1,
         system + "\\tv_sys-69.sys"},
        {"hidden file just fits", true, "C:", "AB", 17, 1, "C:\\tv_sys131.sys"},
        {"hidden file one short", true, "C:", "AB", 16, 0, ""},
        // 5
        {"uninstaller", false, "C:\\Apps\\App", "", kRecordPathSize, 1,
         "C:\\Apps\\App\\uninstall.exe"},
        {"uninstaller one short", false, "C:", "", 16, 0, ""},
    };
    for (const auto& row : kRows) {
        char out[kRecordPathSize];
        memset(out, 'X', sizeof(out));
        int result = row.hidden
                         ? FormatHiddenRecordPath(out, row.size, row.dir.c_str(), row.project)
                         : FormatUninstallerPath(out, row.size, row.dir.c_str());
        EXPECT_EQ(row.result, result) << row.name;
        EXPECT_EQ(row.path, std::string(out)) << row.name;
    }
}

#ifndef _WIN32
// The notice's bytes are code page 949 of the Korean texts.
TEST(PasswordRules, NoticeIsCodePage949) {
    const struct {
        const char* bytes;
        std::string utf8;
    } kRows[] = {
        {PROTECTION_NOTICE_CAPTION, "암호 등록"},
        {PROTECTION_NOTICE_TEXT, "기존 버젼 암호를 무시하고 새로 암호를 등록합니다."},
    };
    for (const auto& row : kRows) {
        iconv_t convert = iconv_open("UTF-8", "CP949");
        ASSERT_NE((iconv_t)-1, convert);
        std::string in = row.bytes;
        char out[256] = "";
        char* inAt = &in[0];
        char* outAt = out;
        size_t inLeft = in.size();
        size_t outLeft = sizeof(out) - 1;
        EXPECT_NE((size_t)-1, iconv(convert, &inAt, &inLeft, &outAt, &outLeft));
        iconv_close(convert);
        EXPECT_EQ(row.utf8, std::string(out));
    }
}
#endif

}  // namespace

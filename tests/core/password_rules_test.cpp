// Uninstall protection without windows: the byte arithmetic at its edges.
// Ordinary passwords, their records and length codes, a record file that
// ends early and the hidden file of a negative name sum are worked through
// the real dialogs by tests/wine/protection_test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/password_rules.h"

namespace {

TEST(PasswordRules, NameSumTakesSignedBytes) {
    const struct { const char* name; int32_t sum; } rows[] = {{"", 0}, {"\x7f", 127}, {"\x80", -128}, {"A\xff", 64}};
    for (const auto& row : rows) EXPECT_EQ(row.sum, NameSum(row.name)) << "[" << row.name << "]";
}

TEST(PasswordRules, RecordStopsAt21Bytes) {
    // A password of `length` 'a's: `inverted` bytes 0x9e, the rest of the 21 0xff.
    const struct { size_t length; int inverted; } rows[] = {{0, 0}, {20, 20}, {21, 21}, {25, 21}};
    for (const auto& row : rows) {
        unsigned char record[kPasswordRecordSize + 1];
        record[kPasswordRecordSize] = 0x5a;  // canary
        MakePasswordRecord(std::string(row.length, 'a').c_str(), record);
        std::vector<unsigned char> expected(kPasswordRecordSize, 0xff);
        std::fill(expected.begin(), expected.begin() + row.inverted, 0x9e);
        EXPECT_EQ(expected, std::vector<unsigned char>(record, record + kPasswordRecordSize)) << row.length;
        EXPECT_EQ(0x5a, record[kPasswordRecordSize]) << row.length << ": written past the record";
    }
}

TEST(PasswordRules, RecordReadBack) {
    unsigned char full[kPasswordRecordSize];
    MakePasswordRecord(std::string(21, 'z').c_str(), full);
    unsigned char cut[kPasswordRecordSize];
    MakePasswordRecord("ab", cut);
    cut[5] = 0x10;  // a stray byte behind the first zero
    const struct { const char* name; const unsigned char* bytes; size_t length; int found; std::string text; } rows[] = {
        {"21 characters, no zero byte", full, 21, 1, std::string(21, 'z')},
        {"cut at the first zero", cut, 21, 1, "ab"},
        {"nothing read", full, 0, 0, ""},
    };
    for (const auto& row : rows) {
        char text[kPasswordTextSize + 1];
        memset(text, 'X', sizeof(text));  // canary in the last byte
        EXPECT_EQ(row.found, StoredPasswordFromRecord(row.bytes, row.length, text)) << row.name;
        EXPECT_EQ(row.text, std::string(text)) << row.name;
        EXPECT_EQ('X', text[kPasswordTextSize]) << row.name << ": written past the text";
    }
}

TEST(PasswordRules, AcceptRuleComparesTheFirstTwenty) {
    const std::string twenty(20, 'q');
    const struct { const char* name; std::string entry, matchText; int accepted; } rows[] = {
        {"case differs", "Secret", "secret", 0},
        {"empty entry, empty stored text", "", "", 0},
        {"entry is a beginning", "sec", "secret", 0},
        {"entry goes on", "secret!", "secret", 0},
        {"first twenty of twenty-one", twenty, twenty + "r", 1},
        /* 5 */ {"entry of twenty-one", twenty + "r", twenty + "r", 0},
        {"last of twenty differs", twenty, std::string(19, 'q') + "Q", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.accepted, PasswordAccepted(row.entry.c_str(), row.matchText.c_str()))
            << row.name;
}

TEST(PasswordRules, UninstallerHoldsARecordUnlessItKeepsTheLinkersText) {
    unsigned char record[kPasswordRecordSize];
    MakePasswordRecord("pass", record);
    const auto* text = reinterpret_cast<const unsigned char*>("This program cannot be run in DOS mode.");
    const struct { const char* name; const unsigned char* bytes; size_t length; int holds; } rows[] = {
        {"a record", record, 21, 1}, {"the linker's text", text, 21, 0}, {"a short read", record, 20, 0}};
    for (const auto& row : rows) EXPECT_EQ(row.holds, HoldsPasswordRecord(row.bytes, row.length)) << row.name;
}

}  // namespace

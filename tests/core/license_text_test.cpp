// The licence file's bytes as the licence page puts them into its edit.
#include <gtest/gtest.h>

#include <string>

#include "core/license_text.h"

namespace {

// The whole conversion, as the page runs it, into a buffer of exactly the
// announced size between two sentinels.
std::string Shown(std::string file) {
    size_t count = ReadAsText(&file[0], file.size());
    size_t size = ExpandedSize(count, CountLineFeeds(file.data(), count));
    std::string out(size + 2, '#');
    EXPECT_EQ(ExpandLineFeeds(file.data(), count, &out[1], size), 1);
    EXPECT_EQ(out.front(), '#');
    EXPECT_EQ(out.back(), '#') << "written past " << size << " bytes";
    EXPECT_EQ(out[size], '\0') << "terminator";
    return out.substr(1, size - 1);
}

struct TextRow {
    const char* name;
    std::string file;
    std::string shown;
};

const TextRow kRows[] = {
    {"empty file", "", ""},
    {"CR LF line ends", "one\r\ntwo\r\n", "one\r\ntwo\r\n"},
    {"LF line ends", "one\ntwo\n", "one\r\ntwo\r\n"},
    {"mixed line ends", "a\r\nb\nc", "a\r\nb\r\nc"},
    {"lone CR kept", "a\rb\r", "a\rb\r"},
    {"CR CR LF", "a\r\r\nb", "a\r\r\nb"},
    {"Ctrl-Z ends the text", std::string("kept\n\x1a" "dropped\n"), "kept\r\n"},
    {"Ctrl-Z first", std::string("\x1a" "dropped"), ""},
    {"CR before Ctrl-Z", std::string("a\r\x1a\n"), "a\r"},
    {"NUL bytes pass", std::string("a\0b\n", 4), std::string("a\0b\r\n", 5)},
    {"blank lines", "\n\n", "\r\n\r\n"},
};

TEST(LicenseText, ShownAsTheEditNeedsIt) {
    for (const TextRow& row : kRows) EXPECT_EQ(Shown(row.file), row.shown) << row.name;
}

TEST(LicenseText, RefusesAnOutputThatDoesNotFit) {
    struct Row {
        const char* text;
        size_t size;
        int result;
    } rows[] = {
        {"a\nb", 5, 1},  // "a\r\nb" and the terminator
        {"a\nb", 4, 0},
        {"a\n", 3, 0},  // CR LF is never split
        {"", 1, 1},
        {"x", 0, 0},
    };
    for (const Row& row : rows) {
        std::string out(row.size + 1, '#');
        std::string text = row.text;
        EXPECT_EQ(ExpandLineFeeds(text.data(), text.size(), &out[0], row.size), row.result)
            << "[" << row.text << "] in " << row.size;
        EXPECT_EQ(out[row.size], '#') << "written past " << row.size << " bytes";
        if (row.result == 0 && row.size > 0) {
            EXPECT_EQ(out[0], '\0') << "left empty";
        }
    }
}

TEST(LicenseText, SizeThatWouldOverflowIsRefused) {
    size_t most = (size_t)-1;
    EXPECT_EQ(ExpandedSize(10, 3), 14u);
    EXPECT_EQ(ExpandedSize(most / 2, most / 2), most);
    EXPECT_EQ(ExpandedSize(most / 2 + 1, most / 2), 0u);
    EXPECT_EQ(ExpandedSize(most - 1, 0), most);
    EXPECT_EQ(ExpandedSize(most, 0), 0u);
}

}  // namespace

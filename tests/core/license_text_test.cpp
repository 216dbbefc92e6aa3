// The licence file's bytes as the licence page puts them into its edit.
// An LF file ended by a Ctrl-Z is also shown by the real wizard
// (tests/wine/wizard_test).
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

TEST(LicenseText, ShownAsTheEditNeedsIt) {
    const struct { const char* name; std::string file, shown; } rows[] = {
        {"empty file", "", ""},
        {"CR LF line ends", "one\r\ntwo\r\n", "one\r\ntwo\r\n"},
        {"mixed line ends", "a\r\nb\nc", "a\r\nb\r\nc"},
        {"lone CR kept", "a\rb\r", "a\rb\r"},
        {"CR CR LF", "a\r\r\nb", "a\r\r\nb"},
        /* 5 */ {"Ctrl-Z first", std::string("\x1a" "dropped"), ""},
        {"CR before Ctrl-Z", std::string("a\r\x1a\n"), "a\r"},
        {"NUL bytes pass", std::string("a\0b\n", 4), std::string("a\0b\r\n", 5)},
    };
    for (const auto& row : rows) EXPECT_EQ(Shown(row.file), row.shown) << row.name;
}

// The page allocates what ExpandedSize announces: it must never wrap.
TEST(LicenseText, SizeThatWouldOverflowIsRefused) {
    const size_t most = (size_t)-1;
    EXPECT_EQ(ExpandedSize(10, 3), 14u);
    EXPECT_EQ(ExpandedSize(most / 2, most / 2), most);
    EXPECT_EQ(ExpandedSize(most / 2 + 1, most / 2), 0u);
    EXPECT_EQ(ExpandedSize(most, 0), 0u);
}

}  // namespace

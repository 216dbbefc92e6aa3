// The stream check of verify: whole streams pass, short or padded ones fail.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/tarnvale/lzss_files.h"

namespace {

struct CheckRow { const char* name; std::vector<uint8_t> stream; bool ok; uint32_t length; };  // length: as reported

const CheckRow kRows[] = {
    {"literals", {0x03, 0, 0, 0, 0xE0, 'a', 'b', 'c'}, true, 3},
    {"overlapping reference", {0x0A, 0, 0, 0, 0x80, 'a', 0x00, 0x06}, true, 10},
    {"empty stream with its flag byte", {0, 0, 0, 0, 0}, true, 0},
    {"eight literals and the empty group",
     {0x08, 0, 0, 0, 0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0x00}, true, 8},
    /* 5 */ {"trailing byte that is no empty group",
     {0x08, 0, 0, 0, 0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0x01}, false, 8},
    {"two bytes past the end",
     {0x08, 0, 0, 0, 0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0x00, 0x00}, false, 8},
    {"ends before its length", {0x04, 0, 0, 0, 0xE0, 'a', 'b', 'c'}, false, 4},
    {"reference cut in half", {0x0A, 0, 0, 0, 0x80, 'a', 0x00}, false, 10},
    {"shorter than its header", {0x03, 0, 0}, false, 0},
};

TEST(LzssCheck, Streams) {
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    const std::string prefix = "stub bytes in front";
    for (const CheckRow& row : kRows) {
        std::FILE* file = std::tmpfile();
        ASSERT_NE(nullptr, file);
        std::fwrite(prefix.data(), 1, prefix.size(), file);
        std::fwrite(row.stream.data(), 1, row.stream.size(), file);
        std::fputs("trailer follows", file);  // must not be read as stream bytes
        uint32_t length = 99;
        std::string problem;
        bool ok = CheckLzssStream(decoder.get(), file, static_cast<int64_t>(prefix.size()),
                                  static_cast<int64_t>(row.stream.size()), &length, &problem);
        std::fclose(file);
        EXPECT_EQ(row.ok, ok) << row.name << ": " << problem;
        EXPECT_EQ(row.length, length) << row.name;
        EXPECT_EQ(row.ok, problem.empty()) << row.name;
    }
}

}  // namespace

// Encoder and decoder together at the edges of the window, of the input and
// of the files (round trips over sizes: lzss_encoder_reference_test.cpp).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/codec_harness.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(LzssRoundTrip, TailReferencesReachPastTheFullWindow) {
    // 5344 random bytes ending in a copy of bytes 1257..1264: the only match
    // for the tail is 4079 bytes back, found once the look-ahead has shrunk.
    Bytes input = Noise(5344, 4242);
    std::copy(input.begin() + 1257, input.begin() + 1265, input.end() - 8);
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    Bytes stream = Encode(input);
    std::string problem;
    std::vector<uint32_t> at = TokenEnds(stream, &problem);
    EXPECT_EQ(problem, "");
    ASSERT_GE(at.size(), 2u);
    EXPECT_EQ(at.back(), 5344u);
    EXPECT_EQ(at[at.size() - 2], 5336u) << "the tail is one reference of 8";
    EXPECT_EQ(FirstDifference(Decode(*decoder, stream, nullptr, 6000), input), -1);
}

TEST(LzssRoundTrip, OutputDependsOnTheInputAlone) {
    // Near the end of an input the search compares against ring cells the
    // input never wrote. Here the last "abcde" has two earlier matches of 5:
    // the newer "abcde2" must win. An encoder that has just encoded the
    // longer text holds its continuation "1" behind the end, which would make
    // the older "abcde1" look longer; the output must not depend on that.
    const std::string longer = "abcde1" "0123456789" "abcde2" "QRSTUVWXYZ" "abcde" "1tail";
    Bytes whole(longer.begin(), longer.end());
    Bytes input(whole.begin(), whole.end() - 5);
    std::unique_ptr<LzssEncoder> fresh(new LzssEncoder()), used(new LzssEncoder());
    Encode(*used, whole);
    EXPECT_EQ(Encode(*used, input), Encode(*fresh, input));
}

TEST(LzssRoundTrip, PackAndUnpackFiles) {
    TempDir dir;
    Bytes input = Text(20000, 11);
    WriteAll(dir.File("plain"), input);
    std::unique_ptr<LzssEncoder> encoder(new LzssEncoder());
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    ASSERT_EQ(encoder->PackFile(dir.File("plain").c_str(), dir.File("packed").c_str()), 1);
    EXPECT_EQ(ReadAll(dir.File("packed")), Encode(input));
    ASSERT_EQ(decoder->UnpackFile(dir.File("packed").c_str(), dir.File("unpacked").c_str()), 1);
    EXPECT_EQ(FirstDifference(ReadAll(dir.File("unpacked")), input), -1);
    EXPECT_EQ(encoder->PackFile(dir.File("missing").c_str(), dir.File("x").c_str()), 0);
}

}  // namespace

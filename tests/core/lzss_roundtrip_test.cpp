// Encoder and decoder together: every input comes back, and every reference
// the encoder writes reaches back into bytes of its own stream that the
// decoder's ring still holds.
#include <gtest/gtest.h>

#include <string>

#include "core/file_io.h"
#include "tests/support/codec_harness.h"
#include "tests/support/temp_dir.h"

namespace {

const size_t kSizes[] = {0, 1, 2, 3, 17, 18, 19, 4095, 4096, 4097, 4113, 4114, 4115, 65536, 1 << 20};

Bytes Repetitive(size_t n, uint32_t seed) {
    // Lines of text that repeat with small changes: long and short matches.
    static const char* words[] = {"install", "setup", "program", "files", "data", "\r\n", " ", "0123"};
    std::mt19937 gen(seed);
    Bytes out;
    while (out.size() < n) {
        const char* w = words[gen() % 8];
        for (int r = (int)(gen() % 3) + 1; r > 0 && out.size() < n; --r)
            for (const char* p = w; *p && out.size() < n; ++p) out.push_back((uint8_t)*p);
    }
    return out;
}

// Real machine code: the running test executable, repeated to the size.
Bytes Binary(size_t n) {
    char self[260];
    Bytes image;
    if (ModuleFilePath(self, sizeof(self))) image = ReadAll(self);
    Bytes out;
    while (!image.empty() && out.size() < n)
        out.insert(out.end(), image.begin(), image.begin() + std::min(image.size(), n - out.size()));
    return out;
}

struct Kind {
    const char* name;
    Bytes (*make)(size_t n, uint32_t seed);
};

const Kind kKinds[] = {
    {"random", [](size_t n, uint32_t seed) { return RandomBytes(n, seed); }},
    {"repetitive", Repetitive},
    {"binary", [](size_t n, uint32_t) { return Binary(n); }},
};

// Walks a stream and checks each reference: never before the stream's first
// byte, never past its decoded length, and at most 4078 bytes back while the
// encoder's 18-byte look-ahead is full. Over the last 17 bytes the look-ahead
// runs out, nothing leaves the window any more, and a reference may reach
// up to 4095 - remaining bytes back: still inside the decoder's ring.
// Returns "" or a description of the first bad token.
std::string CheckReferences(const Bytes& s) {
    if (s.size() < 4) return "no header";
    uint32_t length = s[0] | (s[1] << 8) | (s[2] << 16) | ((uint32_t)s[3] << 24);
    size_t i = 4;
    uint32_t k = 0;
    unsigned mask = 0, flags = 0;
    while (k < length) {
        if (mask == 0) {
            if (i >= s.size()) return "stream ends at output " + std::to_string(k);
            flags = s[i++];
            mask = 0x80;
        }
        if (flags & mask) {
            if (i >= s.size()) return "literal missing at output " + std::to_string(k);
            i++;
            k++;
        } else {
            if (i + 1 >= s.size()) return "reference cut at output " + std::to_string(k);
            unsigned p = (s[i] << 4) | (s[i + 1] >> 4);
            unsigned n = (s[i + 1] & 15) + 3;
            i += 2;
            unsigned d = ((k & 4095) - p) & 4095;
            if (d == 0) d = 4096;
            uint32_t remaining = length - k;
            uint32_t limit = remaining >= 18 ? 4078 : 4095 - remaining;
            if (d > limit || d > k || k + n > length)
                return "reference at output " + std::to_string(k) + " distance " + std::to_string(d) +
                       " length " + std::to_string(n);
            k += n;
        }
        mask >>= 1;
    }
    return "";
}

TEST(LzssRoundTrip, EveryKindAndSizeComesBack) {
    auto codec = NewCodec();  // one codec for all, as an install pass uses it
    uint32_t seed = 20261206;
    for (const Kind& kind : kKinds) {
        for (size_t size : kSizes) {
            SCOPED_TRACE(std::string(kind.name) + " size " + std::to_string(size) + " seed " +
                         std::to_string(seed));
            Bytes input = kind.make(size, seed++);
            ASSERT_EQ(input.size(), size);
            Bytes stream = Encode(*codec, input);
            EXPECT_EQ(CheckReferences(stream), "");
            int whole = 0;
            Bytes output = Decode(*codec, stream, &whole, size + 64);
            EXPECT_EQ(whole, 1);
            EXPECT_EQ(FirstDifference(output, input), -1);
        }
    }
}

TEST(LzssRoundTrip, TailReferencesReachPastTheFullWindow) {
    // 5344 random bytes ending in a copy of bytes 1257..1264: the only match
    // for the tail is 4079 bytes back, found once the look-ahead has shrunk.
    Bytes input = RandomBytes(5344, 4242);
    std::copy(input.begin() + 1257, input.begin() + 1265, input.end() - 8);
    auto codec = NewCodec();
    Bytes stream = Encode(*codec, input);
    EXPECT_EQ(CheckReferences(stream), "");
    std::vector<uint32_t> at = TokenEnds(stream);
    EXPECT_EQ(at.back(), 5344u);
    EXPECT_EQ(at[at.size() - 2], 5336u) << "the tail is one reference of 8";
    EXPECT_EQ(FirstDifference(Decode(*codec, stream, nullptr, 6000), input), -1);
}

TEST(LzssRoundTrip, OutputDependsOnTheInputAlone) {
    // Near the end of an input the search compares against ring cells the
    // input never wrote. Here the last "abcde" has two earlier matches of 5:
    // the newer "abcde2" must win. A codec that has just encoded the longer
    // text holds its continuation "1" behind the end, which would make the
    // older "abcde1" look longer; the output must not depend on that.
    const std::string longer = "abcde1" "0123456789" "abcde2" "QRSTUVWXYZ" "abcde" "1tail";
    Bytes whole(longer.begin(), longer.end());
    Bytes input(whole.begin(), whole.end() - 5);
    auto fresh = NewCodec();
    auto used = NewCodec();
    Encode(*used, whole);
    EXPECT_EQ(Encode(*used, input), Encode(*fresh, input));
}

TEST(LzssRoundTrip, PackAndUnpackFiles) {
    TempDir dir;
    Bytes input = Repetitive(20000, 11);
    WriteAll(dir.File("plain"), input);
    auto codec = NewCodec();
    ASSERT_EQ(codec->PackFile(dir.File("plain").c_str(), dir.File("packed").c_str()), 1);
    EXPECT_EQ(ReadAll(dir.File("packed")), Encode(*NewCodec(), input));
    ASSERT_EQ(codec->UnpackFile(dir.File("packed").c_str(), dir.File("unpacked").c_str()), 1);
    EXPECT_EQ(FirstDifference(ReadAll(dir.File("unpacked")), input), -1);
    EXPECT_EQ(codec->PackFile(dir.File("missing").c_str(), dir.File("x").c_str()), 0);
}

}  // namespace

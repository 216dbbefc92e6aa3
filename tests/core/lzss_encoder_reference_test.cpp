// The encoder against a plain one written straight from the algorithm, and
// every stream back through the decoder.
//
// The production encoder is tuned for speed; every stream it writes must
// still be byte for byte the stream of the plain algorithm: 8-bit bucket
// index, candidate budget, quick test, strict comparison, newest-first
// chains kept honest by the bucket counts. The plain encoder below does
// each step the slow, obvious way, one byte at a time. Each stream must
// also keep its references inside the window (TokenEnds) and decode to its
// input.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "tests/support/codec_harness.h"
#include "tests/support/temp_dir.h"

namespace {

class PlainEncoder {
public:
    Bytes Encode(const Bytes& input, int maxChain) {
        in_ = &input;
        next_ = 0;
        Bytes out;
        uint32_t length = (uint32_t)input.size();
        for (int i = 0; i < 4; ++i) out.push_back((uint8_t)(length >> (8 * i)));
        memset(ring_, 0, sizeof(ring_));
        std::fill(head_, head_ + kLzssBuckets, -1);
        std::fill(count_, count_ + kLzssBuckets, 0);
        int look = 0;
        for (int b; look < 18 && (b = Next()) >= 0; ++look) Store(look, (uint8_t)b);
        long bytesRead = look;
        int s = 0, w = look;
        int matchPos = 0, matchLen = 0;
        size_t flags = out.size();  // the flag byte of the group being built
        int tokens = 0;
        out.push_back(0);
        while (look > 0) {
            if (matchLen > look) matchLen = look;
            if (matchLen < 3) {
                out[flags] |= (uint8_t)(0x80 >> tokens);
                out.push_back(ring_[s]);
                matchLen = 1;
            } else {
                out.push_back((uint8_t)(matchPos >> 4));
                out.push_back((uint8_t)(((matchPos & 0x0F) << 4) | (matchLen - 3)));
            }
            if (++tokens == 8) {  // the next group, written even when it stays empty
                flags = out.size();
                tokens = 0;
                out.push_back(0);
            }
            for (int i = 0; i < matchLen; ++i) {
                int b = Next();
                if (b < 0) {
                    look--;
                } else {
                    if (++bytesRead > 4096) count_[Hash(w)]--;
                    Store(w, (uint8_t)b);
                }
                int h = Hash(s);
                prev_[s] = head_[h];
                head_[h] = s;
                count_[h]++;
                s = (s + 1) % 4096;
                w = (w + 1) % 4096;
            }
            Search(s, maxChain, &matchPos, &matchLen);
        }
        return out;
    }

private:
    int Next() { return next_ < in_->size() ? (*in_)[next_++] : -1; }

    void Store(int w, uint8_t b) {
        ring_[w] = b;
        if (w < 18) ring_[4096 + w] = b;
    }

    int Hash(int p) const { return ((ring_[p] ^ (ring_[p + 1] << 4) ^ (ring_[p + 2] << 8)) % 1001) & 0xFF; }

    // The newest min(count, maxChain) positions of the bucket of s, newest
    // first; the first of the longest wins. A negative maxChain is no limit.
    void Search(int s, int maxChain, int* matchPos, int* matchLen) const {
        int h = Hash(s), best = 2, p = head_[h];
        for (int n = count_[h], budget = maxChain; best < 18 && --n >= 0 && budget-- != 0; p = prev_[p]) {
            int length = 0;
            if (ring_[s + best] == ring_[p + best])
                while (length < 18 && ring_[s + length] == ring_[p + length]) length++;
            if (length > best) {
                *matchPos = p;
                best = length;
            }
        }
        *matchLen = best;
    }

    const Bytes* in_ = nullptr;
    size_t next_ = 0;
    uint8_t ring_[4096 + 18];
    int head_[kLzssBuckets];
    int prev_[4096];
    int count_[kLzssBuckets];
};

// "" when `encoder` writes the plain encoder's stream for `input` at the
// budget `maxChain`, keeping its references inside the window, and the
// stream decodes to `input`; else the first fault.
std::string Check(LzssEncoder& encoder, LzssDecoder& decoder, const Bytes& input, int maxChain) {
    PlainEncoder plain;
    Bytes stream = Encode(encoder, input), expect = plain.Encode(input, maxChain);
    long at = FirstDifference(stream, expect);
    if (at >= 0)
        return "streams of " + std::to_string(stream.size()) + " and " + std::to_string(expect.size()) +
               " bytes part at byte " + std::to_string(at);
    std::string problem;
    TokenEnds(stream, &problem);
    if (!problem.empty()) return problem;
    int whole = 0;
    at = FirstDifference(Decode(decoder, stream, &whole, input.size() + 64), input);
    if (!whole || at >= 0) return "decoded " + std::to_string(whole) + ", first difference at " + std::to_string(at);
    return "";
}

// The budget of every package: the encoder the tool makes must search with it.
const int kPackageBudget = 1024;

struct Row {
    const char* name;
    Bytes (*make)(size_t n, uint32_t seed);
    size_t size;
    int maxChain = kPackageBudget;
};

Bytes Zeros(size_t n, uint32_t) { return Bytes(n, 0); }

const Row kRows[] = {
    {"empty", Noise, 0}, {"noise 1", Noise, 1}, {"text 3", Text, 3}, {"text 17", Text, 17}, {"text 18", Text, 18},
    {"text 19", Text, 19}, {"sparse 4095", Sparse, 4095}, {"sparse 4096", Sparse, 4096}, {"sparse 4097", Sparse, 4097},
    {"patchwork 4113", Patchwork, 4113}, {"patchwork 4114", Patchwork, 4114}, {"patchwork 4115", Patchwork, 4115},
    {"two symbols 8210", TwoSymbols, 8210}, {"noise 70000", Noise, 70000}, {"text 200000", Text, 200000},
    {"sparse 150000", Sparse, 150000}, {"patchwork 150000", Patchwork, 150000},
    {"two symbols 40000", TwoSymbols, 40000}, {"zeros 70000", Zeros, 70000}, {"own program 600000", OwnImage, 600000},
    {"two symbols, budget 1", TwoSymbols, 20000, 1}, {"two symbols, budget 16", TwoSymbols, 20000, 16},
    {"patchwork, budget 3", Patchwork, 50000, 3}, {"patchwork, budget 0", Patchwork, 5000, 0},
    {"two symbols, no budget", TwoSymbols, 20000, -1}, {"noise 2", Noise, 2}, {"noise 1 MiB", Noise, 1 << 20},
};

TEST(LzssEncoderReference, EveryRowGivesThePlainStreamAndComesBack) {
    // The package encoder as the tool makes it and one decoder for all rows,
    // as a build and an install use them: nothing may carry over. Rows of
    // another budget have an encoder of their own.
    std::unique_ptr<LzssEncoder> encoder(new LzssEncoder()), tuned(new LzssEncoder());
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    uint32_t seed = 4114;
    for (const Row& row : kRows) {
        Bytes input = row.make(row.size, seed);
        if (input.empty() && row.size > 0) {
            ADD_FAILURE() << row.name << ": no input could be made";
            continue;
        }
        tuned->maxChain = row.maxChain;
        EXPECT_EQ(Check(row.maxChain == kPackageBudget ? *encoder : *tuned, *decoder, input, row.maxChain), "")
            << row.name << " (" << input.size() << " bytes, seed " << seed << ")";
        seed++;
    }
}

TEST(LzssEncoderReference, SeededMixesGiveThePlainStreamAndComeBack) {
    // Inputs glued from the makers above at sizes on both sides of the
    // window and look-ahead boundaries.
    const uint32_t seed = 20261206;
    std::mt19937 gen(seed);
    Bytes (*const makers[])(size_t, uint32_t) = {Noise, TwoSymbols, Text, Sparse, Patchwork};
    const size_t edges[] = {18, 4096, 4078, 4114};
    std::unique_ptr<LzssEncoder> encoder(new LzssEncoder());
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    for (int cycle = 0; cycle < 60; ++cycle) {
        // One draw per statement, so that every compiler makes the same inputs.
        size_t size = gen() % 30000;
        if (gen() % 2) {
            size_t edge = edges[gen() % 4];
            size_t times = 1 + gen() % 3;
            size = edge * times + gen() % 3 - 1;
        }
        Bytes input;
        while (input.size() < size) {
            int maker = (int)(gen() % 5);
            size_t length = 1 + gen() % 6000;
            uint32_t partSeed = (uint32_t)gen();
            Bytes part = makers[maker](length, partSeed);
            input.insert(input.end(), part.begin(), part.end());
        }
        input.resize(size);
        EXPECT_EQ(Check(*encoder, *decoder, input, kPackageBudget), "")
            << "seed " << seed << ", cycle " << cycle << ", " << size << " bytes";
    }
}

}  // namespace

// LZSS encoder: hashed 3-byte prefixes, 4096-byte window, matches of 3..18.
//
// Every detail here shapes the exact bytes written: the bucket index cut to
// 8 bits, the 1024-candidate budget, the quick test on the byte after the
// best match so far, the strict comparison (the nearest of equally long
// matches wins) and the final group written even when empty.
#include <string.h>

#include "payload/lzss_codec.h"

enum { kMask = kLzssRingSize - 1 };

static inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    memcpy(&v, p, 8);
    return v;
}

// Number of equal leading bytes of a and b, at most 18. Both point into the
// ring at positions 0..4095, so with the mirror cells every byte read lies
// inside it. Word compares assume a little-endian machine (x86).
static inline int MatchLength(const uint8_t* a, const uint8_t* b) {
    uint64_t x = Load64(a) ^ Load64(b);
    if (x) return __builtin_ctzll(x) >> 3;
    x = Load64(a + 8) ^ Load64(b + 8);
    if (x) return 8 + (__builtin_ctzll(x) >> 3);
    if (a[16] != b[16]) return 16;
    if (a[17] != b[17]) return 17;
    return kLzssMaxMatch;
}

int LzssCodec::HashAt(int p) {
    unsigned v = (unsigned)ring[p] ^ ((unsigned)ring[p + 1] << 4) ^ ((unsigned)ring[p + 2] << 8);
    lastBucket = (int16_t)((v % kLzssBuckets) & 0xFF);
    return lastBucket;
}

void LzssCodec::InsertPosition(int p) {
    int b = HashAt(p);
    prevInBucket[p] = bucketHead[b];
    bucketHead[b] = (int16_t)p;
    bucketCount[b]++;
}

void LzssCodec::RemovePosition(int p) { bucketCount[HashAt(p)]--; }

void LzssCodec::FindLongestMatch(int s) {
    int b = HashAt(s);
    int best = 2;
    int n = bucketCount[b];
    int p = bucketHead[b];
    int budget = maxChain;
    const uint8_t* here = ring + s;
    while (--n >= 0) {
        if (budget == 0) break;
        --budget;
        const uint8_t* there = ring + p;
        if (there[best] == here[best]) {
            int length = MatchLength(here, there);
            if (length > best) {
                matchPos = (int16_t)p;
                best = length;
                if (length == kLzssMaxMatch) break;
            }
        }
        p = prevInBucket[p];
    }
    matchLen = (int16_t)best;
}

void LzssCodec::EmitGroup() {
    memcpy(window + winPos, codeBuf, codeLen);
    winPos += codeLen;
    if (winPos >= kLzssRingSize + kLzssOutBlock) FlushOutput();
}

void LzssCodec::EncodeStream() {
    // The output staging area is the decoder's window, past its history.
    winPos = kLzssRingSize;
    inPos = inEnd = 0;
    int64_t length = inStream.length < 0 ? 0 : inStream.length;
    decodedLength = (uint32_t)length;
    for (int i = 0; i < 4; ++i) window[winPos++] = (uint8_t)(decodedLength >> (8 * i));

    memset(ring, 0, sizeof(ring));
    for (int i = 0; i < kLzssBuckets; ++i) {
        bucketHead[i] = -1;
        bucketCount[i] = 0;
    }

    int look = 0;
    while (look < kLzssMaxMatch) {
        int b = NextInputByte();
        if (b < 0) break;
        ring[look] = ring[kLzssRingSize + look] = (uint8_t)b;
        look++;
    }
    bytesRead = look;
    int s = 0, w = look;
    int eof = look < kLzssMaxMatch;
    matchLen = 0;
    codeBuf[0] = 0;
    codeLen = 1;
    codeMask = 0x80;

    while (look > 0) {
        if (matchLen > look) matchLen = (int16_t)look;
        if (matchLen < kLzssMinMatch) {
            codeBuf[0] |= codeMask;
            codeBuf[codeLen++] = ring[s];
            matchLen = 1;
        } else {
            codeBuf[codeLen++] = (uint8_t)(matchPos >> 4);
            codeBuf[codeLen++] = (uint8_t)(((matchPos & 0x0F) << 4) | (matchLen - kLzssMinMatch));
        }
        if (codeMask == 0x01) {
            EmitGroup();
            codeBuf[0] = 0;
            codeLen = 1;
            codeMask = 0x80;
        } else {
            codeMask >>= 1;
        }
        for (int i = 0; i < matchLen; ++i) {
            int b = eof ? -1 : NextInputByte();
            if (b < 0) {
                eof = 1;
                look--;
            } else {
                if (++bytesRead > kLzssRingSize) RemovePosition(w);
                ring[w] = (uint8_t)b;
                if (w < kLzssMaxMatch) ring[kLzssRingSize + w] = (uint8_t)b;
            }
            InsertPosition(s);
            s = (s + 1) & kMask;
            w = (w + 1) & kMask;
        }
        FindLongestMatch(s);
    }
    EmitGroup();
    FlushOutput();
}

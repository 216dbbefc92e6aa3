// LZSS decoder with progress reporting.
//
// Output goes through `window`: the last 4096 bytes written (the ring, in
// output order) followed by the bytes of the current block. A reference at
// distance d then copies from window[winPos - d], in 8-byte words when d is
// 8 or more (each word reads only bytes already written). The ring is
// loaded into the window before a stream and stored back after it, so a
// reference into bytes that the stream has not written yet reads what the
// ring held, as the format says.
//
// While a whole group fits in the input block and before the end of the
// stream, its tokens are decoded without further checks, a run of literals
// with one word move. Word moves may write past the token's last byte into
// the slack behind the block; later output overwrites those bytes before
// anything reads them.
#include <string.h>

#include "core/lzss_codec.h"

enum {
    kFlushAt = kLzssRingSize + kLzssOutBlock,
    kGroupIn = 16 + 7  // input bytes a group may touch
};

int LzssCodec::FlushOutput() {
    int32_t fresh = winPos - kLzssRingSize;
    int ok = 1;
    if (fresh > 0) {
        ok = outStream.transfer(outStream.context, window + kLzssRingSize, fresh) == fresh;
        memmove(window, window + fresh, kLzssRingSize);
    }
    winPos = kLzssRingSize;
    return ok;
}

void LzssCodec::PostPositions() {
    if (fileBar && outCount % kLzssProgressStep == 0)
        progress->setBarPos(progress->context, fileBar,
                            LzssBarPosition(outCount, decodedLength), 0);
    uint32_t total = doneBytes + outCount;
    if (overallBar && total % kLzssProgressStep == 0)
        progress->setBarPos(progress->context, overallBar,
                            LzssBarPosition(total, grandTotal), 0);
}

static inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    memcpy(&v, p, 8);
    return v;
}

static inline void Store64(uint8_t* p, uint64_t v) { memcpy(p, &v, 8); }

// Copies a reference of n bytes (3..18) from `distance` bytes back. It may
// write up to 24 bytes; the slack behind the block takes the excess, which
// later output overwrites before anything reads it.
static inline void CopyReference(uint8_t* dst, uint32_t distance, int n) {
    const uint8_t* src = dst - distance;
    if (distance >= 8) {
        // Each word reads only bytes written before it.
        Store64(dst, Load64(src));
        Store64(dst + 8, Load64(src + 8));
        Store64(dst + 16, Load64(src + 16));
    } else if (distance == 1) {
        Store64(dst, 0x0101010101010101ull * src[0]);
        Store64(dst + 8, 0x0101010101010101ull * src[0]);
        Store64(dst + 16, 0x0101010101010101ull * src[0]);
    } else {
        for (int i = 0; i < n; ++i) dst[i] = src[i];
    }
}

// Distance back from output byte `count` to ring position p; 0 means 4096.
static inline uint32_t DistanceTo(uint32_t count, unsigned p) {
    uint32_t d = ((count & (kLzssRingSize - 1)) - p) & (kLzssRingSize - 1);
    return d ? d : (uint32_t)kLzssRingSize;
}

int LzssCodec::DecodeStream() {
    uint8_t header[4];
    inPos = inEnd = 0;
    for (int i = 0; i < 4; ++i) {
        int b = NextInputByte();
        if (b < 0) return 0;
        header[i] = (uint8_t)b;
    }
    decodedLength = (uint32_t)header[0] | ((uint32_t)header[1] << 8) |
                    ((uint32_t)header[2] << 16) | ((uint32_t)header[3] << 24);
    if (fileBar && progress && progress->setupBar) progress->setupBar(progress->context, fileBar);

    memcpy(window, ring, kLzssRingSize);
    winPos = kLzssRingSize;
    outCount = 0;
    const int bars = progress && progress->setBarPos && (fileBar || overallBar);
    unsigned mask = 0, flags = 0;
    int damaged = 0;
    // Locals for the hot loop: stores into the window could otherwise
    // alias every member and force reloads after each byte.
    uint32_t count = 0;
    const uint32_t length = decodedLength;

    while (count < length) {
        if (winPos >= kFlushAt) FlushOutput();
        if (mask == 0) {
            int f = NextInputByte();
            if (f < 0) { damaged = 1; break; }
            flags = (unsigned)f;
            mask = 0x80;
        }
        if (inEnd - inPos >= kGroupIn && length - count >= 8 * kLzssMaxMatch) {
            // The rest of the group: at most 8 tokens of at most 2 bytes in
            // (a word read at the last of them reaches 7 bytes further), at
            // most 144 bytes out, all before the end. No checks needed.
            const uint8_t* in = inBlock + inPos;
            uint8_t* out = window + winPos;
            // `bits` holds the flags still to use from bit 31 down.
            unsigned left = (unsigned)__builtin_ctz(mask) + 1;
            uint32_t bits = (uint32_t)flags << (32 - left);
            while (left) {
                if (!bars) {
                    // A run of literals in one word move; the run's end may
                    // spill up to 7 bytes into the slack behind it.
                    unsigned run = (unsigned)__builtin_clz(~bits | 1u);
                    if (run > left) run = left;
                    Store64(out, Load64(in));
                    in += run;
                    out += run;
                    count += run;
                    left -= run;
                    bits <<= run;
                    if (left == 0) break;
                } else if (bits & 0x80000000u) {
                    *out++ = *in++;
                    count++;
                    left--;
                    bits <<= 1;
                    outCount = count;
                    PostPositions();
                    continue;
                }
                unsigned p = ((unsigned)in[0] << 4) | (in[1] >> 4);
                int n = (in[1] & 0x0F) + kLzssMinMatch;
                in += 2;
                CopyReference(out, DistanceTo(count, p), n);
                out += n;
                count += (uint32_t)n;
                left--;
                bits <<= 1;
                if (bars) {
                    outCount = count;
                    PostPositions();
                }
            }
            mask = 0;
            inPos = (int32_t)(in - inBlock);
            winPos = (int32_t)(out - window);
            continue;
        }
        // Near the end of the input block or of the stream: one token,
        // byte by byte.
        int b0 = NextInputByte();
        if (b0 < 0) { damaged = 1; break; }
        if (flags & mask) {
            window[winPos++] = (uint8_t)b0;
            count++;
        } else {
            int b1 = NextInputByte();
            if (b1 < 0) { damaged = 1; break; }
            unsigned p = ((unsigned)b0 << 4) | ((unsigned)b1 >> 4);
            int n = (b1 & 0x0F) + kLzssMinMatch;
            CopyReference(window + winPos, DistanceTo(count, p), n);
            winPos += n;
            count += (uint32_t)n;
        }
        mask >>= 1;
        if (bars) {
            outCount = count;
            PostPositions();
        }
    }
    outCount = count;

    // Store the last 4096 bytes back into the ring at their positions.
    uint32_t r = outCount & (kLzssRingSize - 1);
    const uint8_t* last = window + winPos - kLzssRingSize;
    memcpy(ring + r, last, kLzssRingSize - r);
    memcpy(ring, last + (kLzssRingSize - r), r);
    FlushOutput();

    doneBytes += outCount;
    if (overallBar && progress && progress->setBarPos)
        progress->setBarPos(progress->context, overallBar, LzssBarPosition(doneBytes, grandTotal), 1);
    return !damaged;
}

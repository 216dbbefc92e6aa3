// LZSS decoder with progress reporting.
//
// Output goes through `window`: the last 4096 bytes written (the ring, in
// output order) followed by the bytes of the current block. A reference at
// distance d then copies from window[winPos - d], in fixed-size pieces when
// it cannot overlap itself. The ring is loaded into the window before a
// stream and stored back after it, so a reference into bytes that the
// stream has not written yet reads what the ring held, as the format says.
#include <string.h>

#include "payload/lzss_codec.h"

enum { kFlushAt = kLzssRingSize + kLzssOutBlock };

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

static inline void CopyReference(uint8_t* window, int32_t at, uint32_t distance, int n) {
    uint8_t* dst = window + at;
    const uint8_t* src = dst - distance;
    if (distance >= kLzssMaxMatch) {
        memcpy(dst, src, 16);  // may run past n; the slack behind the block takes it
        dst[16] = src[16];
        dst[17] = src[17];
    } else {
        for (int i = 0; i < n; ++i) dst[i] = src[i];
    }
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

    while (outCount < decodedLength) {
        if (winPos >= kFlushAt) FlushOutput();
        if (mask == 0) {
            int f = NextInputByte();
            if (f < 0) { damaged = 1; break; }
            flags = (unsigned)f;
            mask = 0x80;
        }
        if (inEnd - inPos >= 16) {
            // At most 8 tokens of at most 2 bytes: no input check needed.
            const uint8_t* in = inBlock + inPos;
            do {
                if (flags & mask) {
                    window[winPos++] = *in++;
                    outCount++;
                } else {
                    unsigned p = ((unsigned)in[0] << 4) | (in[1] >> 4);
                    int n = (in[1] & 0x0F) + kLzssMinMatch;
                    in += 2;
                    uint32_t d = ((outCount & (kLzssRingSize - 1)) - p) & (kLzssRingSize - 1);
                    CopyReference(window, winPos, d ? d : (uint32_t)kLzssRingSize, n);
                    winPos += n;
                    outCount += (uint32_t)n;
                }
                mask >>= 1;
                if (bars) PostPositions();
            } while (mask && outCount < decodedLength);
            inPos = (int32_t)(in - inBlock);
            continue;
        }
        // Near the end of the input block: one token, byte by byte.
        int b0 = NextInputByte();
        if (b0 < 0) { damaged = 1; break; }
        if (flags & mask) {
            window[winPos++] = (uint8_t)b0;
            outCount++;
        } else {
            int b1 = NextInputByte();
            if (b1 < 0) { damaged = 1; break; }
            unsigned p = ((unsigned)b0 << 4) | ((unsigned)b1 >> 4);
            int n = (b1 & 0x0F) + kLzssMinMatch;
            uint32_t d = ((outCount & (kLzssRingSize - 1)) - p) & (kLzssRingSize - 1);
            CopyReference(window, winPos, d ? d : (uint32_t)kLzssRingSize, n);
            winPos += n;
            outCount += (uint32_t)n;
        }
        mask >>= 1;
        if (bars) PostPositions();
    }

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

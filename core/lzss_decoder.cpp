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
//
// The bars move only at token ends whose count is a multiple of
// kLzssProgressStep, for the file or for the pass. The loop keeps the next
// such count (`stop`) and looks at the bars only when a token reaches it;
// inside a run of literals every count is a token end, so a stop the run
// passes is reported at that count.
#include "core/lzss_decoder.h"

#include <limits.h>
#include <string.h>

#include "core/bounded_text.h"

enum {
    kFlushAt = kLzssRingSize + kLzssOutBlock,
    kGroupIn = 16 + 8  // input bytes a group may touch
};

LzssDecoder::LzssDecoder()
    : progress(NULL), decodedLength(0), doneBytes(0), grandTotal(0), writeFailed(0), stopped(0),
      inPos(0), inEnd(0), winPos(0) {
    memset(ring, 0, sizeof(ring));
    memset(&inStream, 0, sizeof(inStream));
    memset(&outStream, 0, sizeof(outStream));
}

// Only 32-bit divisions: a 64-bit one would link the compiler's division
// routines into the setup program.
int LzssBarPosition(uint32_t done, int64_t total) {
    uint64_t q;
    if (total <= 0) return 0;
    if (total < 100) {  // done * 100 / total
        q = (uint64_t)(done / (uint32_t)total) * 100 + done % (uint32_t)total * 100 / (uint32_t)total;
    } else if (total <= UINT32_MAX) {
        q = done / ((uint32_t)total / 100);
    } else {
        // The quotient is at most 100: the largest q with q * (total / 100)
        // <= done, that is with total < 100 * (done / q + 1).
        uint32_t n = 0;
        while (n < 100 && total < 100 * ((int64_t)(done / (n + 1)) + 1)) ++n;
        q = n;
    }
    return q > INT_MAX ? INT_MAX : (int)q;
}

static uint32_t LoadLe32(const uint8_t* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

void LzssDecoder::Log(const char* before, const char* path, const char* after) {
    if (progress == NULL || progress->addLine == NULL) return;
    char line[kLzssLineSize];
    const char* parts[] = {before, path, after};
    if (JoinParts(line, sizeof(line), parts, 3)) progress->addLine(progress->context, line);
}

int LzssDecoder::UnpackFile(const char* source, const char* target) {
    Log("Extracting.... ", target, "");
    FileHandle in = FileOpenRead(source);
    if (in == kNoFile) {
        Log("Fail to open the source file(", source, ")");
        return 0;
    }
    FileHandle out = FileCreate(target);
    if (out == kNoFile) {
        FileClose(in);
        Log("Fail to extract the target file(", target, ").");
        return 0;
    }
    // The target gets its decoded length before it is written. A stream
    // that fails leaves no target, and one that ends in a reference past
    // that length extends it as before.
    uint8_t header[kLzssHeaderSize];
    if (FileRead(in, header, kLzssHeaderSize) == kLzssHeaderSize)
        FileSetLength(out, LoadLe32(header));
    LzssFileReader(&inStream, &in);
    LzssFileWriter(&outStream, &out);
    writeFailed = stopped = 0;
    int whole = FileSeekStart(in, 0) && DecodeStream();
    FileClose(in);
    FileClose(out);
    if (!whole) {
        FileDelete(target);
        if (writeFailed)
            Log("Fail to extract the target file(", target, ").");
        else if (!stopped)
            Log("The source file is damaged(", source, ")");
    }
    return whole;
}

int LzssDecoder::FillInput() {
    inPos = 0;
    inEnd = LzssReadBlock(inStream, inBlock, kLzssInBlock);
    return inEnd;
}

int LzssDecoder::NextInputByte() {
    if (inPos == inEnd && FillInput() == 0) return -1;
    return inBlock[inPos++];
}

// Writes the new bytes and keeps the last 4096 as the next block's history.
// Returns 0, with writeFailed set, when the output took fewer bytes.
int LzssDecoder::FlushOutput() {
    int32_t fresh = winPos - kLzssRingSize;
    if (fresh > 0) {
        if (outStream.transfer(outStream.context, window + kLzssRingSize, fresh) != fresh)
            writeFailed = 1;
        memmove(window, window + fresh, kLzssRingSize);
    }
    winPos = kLzssRingSize;
    return !writeFailed;
}

// The first multiple of kLzssProgressStep after `at` (a bar's byte count)
// at which the bar's position can differ from `shown`, for a total of at
// most UINT32_MAX. A position moves only every total / 100 bytes, and a
// large file has thousands of multiples between two moves: the decoder's
// loop stops at none of them. A total below 100 can move at every
// multiple; one of 0 or less shows 0 throughout.
__attribute__((noinline)) static uint32_t NextStop(uint32_t at, int shown, int64_t total) {
    if (total <= 0 && shown >= 0) return UINT32_MAX;
    // The first count that can show shown + 1, rounded up to a multiple.
    uint64_t move = total > 0 ? (uint64_t)(uint32_t)(shown + 1) * ((uint32_t)total / 100) : 0;
    if (move <= at) move = (uint64_t)at + 1;
    move += kLzssProgressStep - 1;
    if (move > UINT32_MAX) return UINT32_MAX;
    return (uint32_t)move - (uint32_t)move % kLzssProgressStep;
}

// The first count after `count` at which a bar can move.
uint32_t LzssDecoder::NextBarStop(uint32_t count) {
    // A stream starts with nothing reported.
    if (count == 0) fileShown = totalShown = -1;
    uint32_t stop = UINT32_MAX;
    if (progress->fileBar) stop = NextStop(count, fileShown, decodedLength);
    if (progress->totalBar) {
        const uint32_t at = doneBytes + count;
        const uint32_t next = NextStop(at, totalShown, grandTotal);
        if (next != UINT32_MAX && next - at + count < stop) stop = next - at + count;
    }
    return stop;
}

// The bars after a token that brought the stream's output to `count`;
// returns the next stop.
uint32_t LzssDecoder::ReportBars(uint32_t count) {
    int position;
    if (progress->fileBar && count % kLzssProgressStep == 0 &&
        (position = LzssBarPosition(count, decodedLength)) != fileShown) {
        fileShown = position;
        progress->fileBar(progress->context, position);
    }
    const uint32_t total = doneBytes + count;
    if (progress->totalBar && total % kLzssProgressStep == 0 &&
        (position = LzssBarPosition(total, grandTotal)) != totalShown) {
        totalShown = position;
        progress->totalBar(progress->context, position, 0);
    }
    return NextBarStop(count);
}

static inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    memcpy(&v, p, 8);
    return v;
}

static inline void Store64(uint8_t* p, uint64_t v) { memcpy(p, &v, 8); }

// Copies 24 bytes from `distance` (8 or more) bytes back, in words: each
// word reads only bytes written before it.
__attribute__((always_inline)) static inline void CopyFarReference(uint8_t* dst,
                                                                   uint32_t distance) {
    const uint8_t* src = dst - distance;
    Store64(dst, Load64(src));
    Store64(dst + 8, Load64(src + 8));
    Store64(dst + 16, Load64(src + 16));
}

// Copies a reference of n bytes (3..18) from `distance` bytes back. It may
// write up to 24 bytes; the slack behind the block takes the excess, which
// later output overwrites before anything reads it.
static inline void CopyReference(uint8_t* dst, uint32_t distance, int n) {
    const uint8_t* src = dst - distance;
    if (distance >= 8) {
        CopyFarReference(dst, distance);
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

int LzssDecoder::DecodeStream() {
    uint8_t header[kLzssHeaderSize];
    inPos = inEnd = 0;
    decodedLength = 0;
    writeFailed = stopped = 0;
    for (int i = 0; i < kLzssHeaderSize; ++i) {
        int b = NextInputByte();
        if (b < 0) return 0;
        header[i] = (uint8_t)b;
    }
    decodedLength = LoadLe32(header);
    if (progress && progress->startFile) progress->startFile(progress->context);

    memcpy(window, ring, kLzssRingSize);
    winPos = kLzssRingSize;
    const int bars = progress && (progress->fileBar || progress->totalBar);
    unsigned mask = 0, flags = 0;
    int damaged = 0;
    // Locals for the hot loop: stores into the window could otherwise
    // alias every member and force reloads after each byte.
    uint32_t count = 0, checked = 0;
    const uint32_t length = decodedLength;
    // Without bars, no count of the unchecked groups reaches UINT32_MAX.
    uint32_t stop = bars ? NextBarStop(0) : UINT32_MAX;

    while (count < length) {
        if (winPos >= kFlushAt) {
            if (!FlushOutput()) break;
            if (progress && progress->stop && count - checked >= kLzssStopCheck) {
                checked = count;
                if (progress->stop(progress->context)) {
                    stopped = 1;
                    break;
                }
            }
        }
        if (mask == 0) {
            int f = NextInputByte();
            if (f < 0) { damaged = 1; break; }
            flags = (unsigned)f;
            mask = 0x80;
        }
        if (inEnd - inPos >= kGroupIn && length - count >= 8 * kLzssMaxMatch) {
            // The rest of the group: at most 8 tokens of at most 2 bytes in
            // (the run after the last of them, which may be empty, reads a
            // word: 8 bytes further), at most 144 bytes out, all before the
            // end. No checks needed.
            const uint8_t* in = inBlock + inPos;
            uint8_t* out = window + winPos;
            // `bits` holds the flags still to use from bit 31 down, then
            // a 0 that ends the last run of literals and a 1: the group
            // is done when only those two are left.
            const uint32_t kGroupEnd = 0x40000000u;
            const unsigned left = (unsigned)__builtin_ctz(mask) + 1;
            uint32_t bits = ((uint32_t)flags << (32 - left)) | (kGroupEnd >> left);
            for (;;) {
                // A run of literals in one word move; the run's end may
                // spill up to 7 bytes into the slack behind it.
                const unsigned run = (unsigned)__builtin_clz(~bits);
                Store64(out, Load64(in));
                in += run;
                out += run;
                // Rare, and marked so: the common path stays as fast as
                // without bars.
                while (__builtin_expect(stop <= count + run, 0)) stop = ReportBars(stop);
                count += run;
                bits <<= run;
                if (bits == kGroupEnd) break;
                unsigned p = ((unsigned)in[0] << 4) | (in[1] >> 4);
                int n = (in[1] & 0x0F) + kLzssMinMatch;
                in += 2;
                // Most references reach 8 or more bytes back: those are
                // copied in line. Compiled for size, the call alone made
                // this loop 15 % slower on 32-bit x86.
                const uint32_t distance = DistanceTo(count, p);
                if (distance >= 8)
                    CopyFarReference(out, distance);
                else
                    CopyReference(out, distance, n);
                out += n;
                count += (uint32_t)n;
                bits <<= 1;
                if (__builtin_expect(count >= stop, 0)) stop = ReportBars(count);
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
        if (bars && count >= stop) stop = ReportBars(count);
    }

    // Store the last 4096 bytes back into the ring at their positions.
    uint32_t r = count & (kLzssRingSize - 1);
    const uint8_t* last = window + winPos - kLzssRingSize;
    memcpy(ring + r, last, kLzssRingSize - r);
    memcpy(ring, last + (kLzssRingSize - r), r);
    FlushOutput();

    doneBytes += count;
    if (progress && progress->totalBar)
        progress->totalBar(progress->context, LzssBarPosition(doneBytes, grandTotal), 1);
    return !damaged && !writeFailed && !stopped;
}

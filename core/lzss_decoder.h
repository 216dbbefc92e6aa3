// LZSS decoder (stream format in lzss_format.h), with the install log lines
// and bar positions that the setup program shows while it decodes.
//
//   LzssDecoder decoder;              // large: keep it out of a small stack
//   decoder.progress = &reports;      // optional
//   decoder.grandTotal = size;        // the total bar's 100 %
//   decoder.UnpackFile(source, target);   // once per file of a pass
//
// The ring outlives a stream: it starts zeroed, and each stream starts with
// the ring the one before left, as the format's ring definition says.
#ifndef TARNVALE_CORE_LZSS_DECODER_H
#define TARNVALE_CORE_LZSS_DECODER_H

#include <stdint.h>

#include "core/lzss_format.h"

enum {
    kLzssProgressStep = 50,  // bar positions only at multiples of 50 output bytes
    kLzssLineSize = 600,     // log line buffer: fixed text plus a 260-byte path
    kLzssStopCheck = 1 << 20
};

// Where the decoder's reports go; the setup program turns them into window
// messages, tests record them. Every member but `context` may be null.
struct LzssProgress {
    // A log line, to be shown before the call returns.
    void (*addLine)(void* context, const char* text);
    // A file's decoding starts: its bar becomes 0 of 100.
    void (*startFile)(void* context);
    // The file bar's position, at token boundaries whose output count is a
    // multiple of kLzssProgressStep, when it differs from the one reported
    // last in the same stream.
    void (*fileBar)(void* context, int position);
    // The total bar's position at the same boundaries, over the bytes of
    // all files so far, when it differs from the one reported last in the
    // same stream; `last` is 1 for the one that ends a file, which always
    // comes.
    void (*totalBar)(void* context, int position, int last);
    void* context;
    // Asked about every kLzssStopCheck bytes of output: non-zero stops the
    // file where it is (a cancelled install need not wait for a large one).
    int (*stop)(void* context);
};

class LzssDecoder {
public:
    LzssDecoder();

    // Decodes the stream in the file `source` into a new file `target`.
    // Logs "Extracting.... <target>" first. Returns 1 when the whole
    // stream was decoded; 0 when the source cannot be opened ("Fail to open
    // the source file(<source>)"), the target cannot be created ("Fail to
    // extract the target file(<target>).") or the source is damaged,
    // shorter than its header or ending before its decoded length ("The
    // source file is damaged(<source>)"; the partial target is removed), or
    // a write came up short, as on a full disk ("Fail to extract the
    // target file(<target>)."; the partial target is removed), or it was
    // stopped (no line; the partial target is removed).
    // A line that would not fit kLzssLineSize is left out.
    int UnpackFile(const char* source, const char* target);

    // Decodes inStream into outStream, reporting the bars. Returns 1 when
    // the decoded length was reached and written; 0 when the input ended
    // first, or when outStream took fewer bytes than it was given (then
    // `writeFailed` is 1 and decoding stopped there), or when
    // progress->stop asked to stop (then `stopped` is 1). The
    // last token is written whole, so the output runs up to 17 bytes past
    // the decoded length when it is a reference that reaches beyond it.
    int DecodeStream();

    LzssStream inStream;
    LzssStream outStream;
    const LzssProgress* progress;
    uint32_t decodedLength;  // the header of the last stream (0 without one)
    uint32_t doneBytes;      // bytes decoded by the earlier streams of a pass
    int32_t grandTotal;      // the total bar's 100 %
    int writeFailed;         // the last stream's output came up short
    int stopped;             // the last stream was stopped by progress->stop

private:
    void Log(const char* before, const char* path, const char* after);
    uint32_t NextBarStop(uint32_t count);
    uint32_t ReportBars(uint32_t count);
    int FillInput();
    int NextInputByte();
    int FlushOutput();

    // The bars' positions reported last in this stream, -1 before the first
    // (set as each stream starts).
    int fileShown, totalShown;

    uint8_t ring[kLzssRingSize];
    uint8_t inBlock[kLzssInBlock];
    int32_t inPos, inEnd;
    // Output: 4096 bytes of history, then new bytes, then slack for a
    // whole group of references copied in fixed-size pieces.
    uint8_t window[kLzssRingSize + kLzssOutBlock + 8 * kLzssMaxMatch + 32];
    int32_t winPos;
};

// Bar position for `done` of `total` bytes: done / (total / 100), integer
// divisions, as the bars have always been driven (a quotient above 100 is
// kept, up to INT_MAX). Never divides by zero: for a total of 1 to 99 the
// position is done * 100 / total, and a total of 0 or less gives 0.
int LzssBarPosition(uint32_t done, int64_t total);

#endif

// LZSS codec: the stream format of compressed payload entries.
//
//   offset 0   decoded length (4, little-endian, unsigned)
//   offset 4   groups until the decoded length is reached:
//              flag byte, then up to 8 tokens, flag bits from 0x80 down
//                bit 1: literal, one byte
//                bit 0: reference, two bytes b0 b1
//                       ring position = b0 << 4 | b1 >> 4   (0..4095)
//                       length        = (b1 & 0x0F) + 3     (3..18)
//
// Output byte k lands at ring position k mod 4096. A reference copies its
// bytes one at a time from its position onwards, so it may overlap what it
// produces. The encoder ends every stream with the group being built, even
// an empty one, so a stream whose token count is a multiple of 8 ends in a
// flag byte 0x00 that the decoder never reads.
#ifndef TARNVALE_CORE_LZSS_CODEC_H
#define TARNVALE_CORE_LZSS_CODEC_H

#include <stddef.h>
#include <stdint.h>

#include "core/file_io.h"

enum {
    kLzssRingSize = 4096,
    kLzssMaxMatch = 18,          // longest reference; also the mirror cells
    kLzssMinMatch = 3,
    kLzssBuckets = 1001,
    kLzssMaxChain = 1024,
    kLzssProgressStep = 50,      // bar messages only at multiples of 50 bytes
    kLzssLineSize = 600,         // log line buffer: fixed text plus a 260-byte path
    kLzssInBlock = 16384,
    kLzssOutBlock = 65536
};

// Opaque handle of a user-interface control (an HWND on Windows).
typedef void* LzssControl;

// How the decoder reaches the user interface. On Windows the calls become
// window messages: a log line is LB_ADDSTRING to the list box (sent), the
// per-file set-up is PBM_SETRANGE 0..100, PBM_SETPOS 0 and PBM_SETSTEP 1
// (sent), and a bar position is PBM_SETPOS, sent when `sent` is 1 and
// posted otherwise. Any member may be null.
struct LzssProgress {
    void (*addLine)(void* context, LzssControl list, const char* text);
    void (*setupBar)(void* context, LzssControl bar);
    void (*setBarPos)(void* context, LzssControl bar, int position, int sent);
    void* context;
};

// A byte stream the codec reads or writes in blocks. `transfer` reads into
// or writes from `buffer` and returns the number of bytes moved (0 at the
// end or on an error). `length` is the size of an input stream.
struct LzssStream {
    int32_t (*transfer)(void* context, uint8_t* buffer, int32_t size);
    void* context;
    int64_t length;
};

// Binds a stream to an open file of the file layer.
void LzssFileReader(LzssStream* stream, FileHandle* file);
void LzssFileWriter(LzssStream* stream, FileHandle* file);

class LzssCodec {
public:
    LzssCodec();
    ~LzssCodec() {}

    // Decodes the stream in `source` into a new file `target`.
    // Adds "Extracting.... <target>" to the log first. Returns 1 when the
    // whole stream was decoded; 0 when the source cannot be opened, the
    // target cannot be created, or the source is damaged (shorter than its
    // header or ending before its decoded length). A failure adds a second
    // log line naming the file, and a damaged source leaves no target.
    int UnpackFile(const char* source, const char* target);

    // Decodes inStream into outStream, moving the bars. Returns 1 when the
    // decoded length was reached, 0 when the input ended first.
    int DecodeStream();

    // Encodes the file `source` into a new file `target`. Returns 1 when
    // both files could be opened, 0 otherwise. Writes no log lines.
    int PackFile(const char* source, const char* target);

    // Encodes inStream (of inStream.length bytes) into outStream.
    void EncodeStream();

    // Encoder steps on ring positions.
    int HashAt(int p);
    void InsertPosition(int p);
    void RemovePosition(int p);
    void FindLongestMatch(int s);

    // The window; the last 18 bytes mirror positions 0..17 for the encoder.
    uint8_t ring[kLzssRingSize + kLzssMaxMatch];
    int16_t bucketHead[kLzssBuckets];
    int16_t prevInBucket[kLzssRingSize];
    int16_t bucketCount[kLzssBuckets];
    int16_t matchPos;
    int16_t matchLen;
    int16_t maxChain;
    int16_t lastBucket;
    int32_t bytesRead;
    uint32_t outCount;
    uint32_t decodedLength;
    uint32_t doneBytes;          // bytes decoded by the earlier files of the pass
    int32_t grandTotal;          // 100 % of the overall bar
    uint8_t codeBuf[17];
    uint8_t codeMask;
    uint8_t codeLen;
    LzssControl overallBar;
    LzssControl fileBar;
    LzssControl logList;
    LzssStream inStream;
    LzssStream outStream;
    const LzssProgress* progress;

private:
    void Log(const char* before, const char* path, const char* after);
    void PostPositions();
    int FillInput();
    int FlushOutput();
    int NextInputByte();
    void EmitGroup();

    // Block buffers between the streams and the coder.
    uint8_t inBlock[kLzssInBlock];
    int32_t inPos, inEnd;
    // Decoder output: 4096 bytes of history, then new bytes, then slack
    // for a whole group of references copied in fixed-size pieces.
    uint8_t window[kLzssRingSize + kLzssOutBlock + 8 * kLzssMaxMatch + 32];
    int32_t winPos;
};

// Bar position for `done` of `total` bytes: done / (total / 100), integer
// divisions, as the bars have always been driven (a quotient above 100 is
// kept). Never divides by zero: for a total of 1 to 99 the position is
// done * 100 / total, and a total of 0 or less gives 0.
int LzssBarPosition(uint32_t done, int64_t total);

#endif

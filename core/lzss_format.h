// LZSS stream format of compressed payload entries, and the byte streams
// that the decoder (lzss_decoder.h) and the encoder (lzss_encoder.h) read
// and write.
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
#ifndef TARNVALE_CORE_LZSS_FORMAT_H
#define TARNVALE_CORE_LZSS_FORMAT_H

#include <stdint.h>

#include "core/file_io.h"

enum {
    kLzssHeaderSize = 4,    // the decoded length
    kLzssRingSize = 4096,   // ring positions: 12 bits
    kLzssMinMatch = 3,      // reference length 0 + 3
    kLzssMaxMatch = 18,     // reference length 15 + 3
    kLzssInBlock = 65536,   // bytes read from an input stream at a time
    kLzssOutBlock = 262144  // bytes gathered before they are written
};

// A byte stream the codec reads or writes in blocks. `transfer` reads into
// or writes from `buffer` and returns the number of bytes moved (0 at the
// end or on an error). `length` is the size of an input stream.
struct LzssStream {
    int32_t (*transfer)(void* context, uint8_t* buffer, int32_t size);
    void* context;
    int64_t length;
};

// Binds a stream to an open file of the file layer; the file must outlive
// the stream's use.
// Reads the next block of at most `size` bytes from `stream` into `block`.
// Returns the bytes read: 0 at the end of the stream or on an error.
int32_t LzssReadBlock(const LzssStream& stream, uint8_t* block, int32_t size);

void LzssFileReader(LzssStream* stream, FileHandle* file);
void LzssFileWriter(LzssStream* stream, FileHandle* file);

#endif

// LZSS encoder (stream format in lzss_format.h), as the package tool uses
// it. Every choice of the search fixes the bytes written, and the encoder
// starts each stream from a zeroed ring, so a stream is a function of its
// input alone and packages are reproducible.
#ifndef TARNVALE_CORE_LZSS_ENCODER_H
#define TARNVALE_CORE_LZSS_ENCODER_H

#include <stdint.h>

#include "core/lzss_format.h"

enum {
    kLzssBuckets = 1001,  // 3-byte prefixes hash modulo 1001, the index cut to 8 bits
    kLzssMaxChain = 1024  // candidates a search visits at most
};

class LzssEncoder {
public:
    LzssEncoder();

    // Encodes the file `source` into a new file `target`. Returns 1 when
    // both files could be opened, 0 otherwise.
    int PackFile(const char* source, const char* target);

    // Encodes everything inStream hands out into outStream. The header
    // holds inStream.length (a negative one as 0), which must be that
    // number of bytes for the stream to decode whole.
    void EncodeStream();

    LzssStream inStream;
    LzssStream outStream;
    // Candidates a search visits at most: kLzssMaxChain for packages; 0 or
    // a negative value (no limit) only to test the search.
    int maxChain;

private:
    int FillInput();
    void FlushOutput();
    void Emit(const uint8_t* group, int size);

    // The window; the last 18 bytes mirror positions 0..17, so a match of
    // up to 18 bytes can be compared without wrapping.
    uint8_t ring[kLzssRingSize + kLzssMaxMatch];
    uint8_t inBlock[kLzssInBlock];
    int32_t inPos, inEnd;
    uint8_t outBlock[kLzssOutBlock + 32];  // one group of at most 17 bytes past the block
    int32_t outPos;
};

#endif

// Memory streams for the LZSS codec: decoding or encoding between buffers,
// as the package tool's checks, the benchmark and the tests do.
#ifndef TARNVALE_CORE_LZSS_MEMORY_H
#define TARNVALE_CORE_LZSS_MEMORY_H

#include <stddef.h>
#include <stdint.h>

#include "core/lzss_format.h"

// Reads `size` bytes from `data`.
struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

// Writes into `data` of `capacity` bytes; never past it. `size` counts every
// byte offered, so size > capacity tells that output was cut. With a null
// `data` the bytes are only counted.
struct MemoryWriter {
    uint8_t* data;
    size_t capacity;
    size_t size;
};

void LzssMemoryReader(LzssStream* stream, MemoryReader* reader);
void LzssMemoryWriter(LzssStream* stream, MemoryWriter* writer);

#endif

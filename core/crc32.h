// CRC-32 as zlib and the PNG and ZIP formats compute it (polynomial
// 0x04C11DB7, bits reflected, register preset and final value inverted):
// Crc32(0, "123456789", 9) is 0xCBF43926, and a run may be split anywhere,
// Crc32(Crc32(0, a, n), b, m) being the CRC-32 of a followed by b.
//
// Appending a message's CRC-32 to it, low byte first, gives a whole whose
// CRC-32 is always kCrc32Residue.
#ifndef TARNVALE_CORE_CRC32_H
#define TARNVALE_CORE_CRC32_H

#include <stddef.h>
#include <stdint.h>

static const uint32_t kCrc32Residue = 0x2144DF1Cu;

uint32_t Crc32(uint32_t crc, const void* data, size_t size);

#endif

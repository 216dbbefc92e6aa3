// The few fields of a Windows program's headers (the PE format) that a
// package's reader needs. A package is a program image with the payload
// appended; signing it with Authenticode appends a certificate table
// behind the payload, names that table in the security directory and
// updates the checksum.
//
//   0x3C           offset of "PE\0\0" (pe)
//   pe + 4         machine (2), number of sections (2)
//   pe + 20        size of the optional header (2), characteristics (2)
//   pe + 24        optional header: magic (2), 0x10B PE32 or 0x20B PE32+
//   pe + 88        checksum (4)
//   pe + 116/132   number of data directories (4)         PE32 / PE32+
//   pe + 152/168   security directory: file offset (4) and size (4) of the
//                  certificate table, zeros when unsigned   PE32 / PE32+
//   pe + 24 + optional header
//                  section headers, 40 bytes each: size of the raw data (4)
//                  at 16, its file offset (4) at 20
//
// All integers are little-endian.
#ifndef TARNVALE_CORE_PE_IMAGE_H
#define TARNVALE_CORE_PE_IMAGE_H

#include <stdint.h>

enum {
    kPeHeadSize = 4096,  // the headers are looked for in the first 4096 bytes only (96 sections fit)
    kPeMagic32 = 0x10B,
    kPeMagic64 = 0x20B,
    kPeMachineI386 = 0x14C,
    kPeMachineAmd64 = 0x8664,
    kPeExecutable = 0x0002,  // characteristics: an image that can run
    kPeDll = 0x2000          // characteristics: a library
};

struct PeLayout {
    int32_t header;            // offset of "PE\0\0"; 0 when the bytes are no PE image
    uint16_t machine;
    uint16_t characteristics;
    uint16_t magic;
    int32_t checksumField;     // file offset of the checksum
    int32_t securityField;     // file offset of the security directory's 8 bytes
    uint32_t tableOffset;      // the certificate table it names
    uint32_t tableSize;
    int64_t imageEnd;          // end of the sections' raw data
};

// Reads the layout from `head`, the first `length` bytes of a file. Returns
// 1 when they begin a PE image whose headers and section table lie within
// the first kPeHeadSize bytes and the first `length`; otherwise 0, with
// every field 0.
int ReadPeLayout(const unsigned char* head, int32_t length, PeLayout* layout);

#endif

// LZSS on host files: encoding a file into an open output, and checking a
// stream that lies inside a package.
#ifndef TARNVALE_TOOLS_LZSS_FILES_H
#define TARNVALE_TOOLS_LZSS_FILES_H

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/lzss_decoder.h"
#include "core/lzss_encoder.h"

// Encodes the file at `path`, which must hold exactly `size` bytes, into
// `out` (written from its current position). Returns false, with `error`
// set, when the file cannot be read, changes size while it is read, or the
// output cannot be written. `written` receives the stream's length.
bool EncodeFileTo(LzssEncoder* encoder, const std::string& path, uint64_t size, std::FILE* out,
                  uint64_t* written, std::string* error);

// Decodes the stream of `size` bytes at `offset` of `file`, counting its
// output only. Returns true when it decodes to the length in its header
// within its own bytes, with at most one unread byte left and that byte
// 0x00 (the empty flag group an encoder ends with). Otherwise returns false
// with `problem` set. `decodedLength` receives the header's length when the
// header could be read, else 0.
bool CheckLzssStream(LzssDecoder* decoder, std::FILE* file, int64_t offset, int64_t size,
                     uint32_t* decodedLength, std::string* problem);

#endif

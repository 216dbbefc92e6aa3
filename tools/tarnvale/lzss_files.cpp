#include "tools/tarnvale/lzss_files.h"

#include <sys/types.h>

#include <cerrno>
#include <cstring>

#include "core/lzss_memory.h"

namespace {

// Hands out at most `left` bytes of a file.
struct FileSource {
    std::FILE* file;
    uint64_t left;
    bool shortRead;
};

int32_t ReadSource(void* context, uint8_t* buffer, int32_t size) {
    FileSource* s = static_cast<FileSource*>(context);
    size_t want = static_cast<size_t>(size) < s->left ? static_cast<size_t>(size) : s->left;
    size_t got = want ? std::fread(buffer, 1, want, s->file) : 0;
    if (got < want) s->shortRead = true;
    s->left -= got;
    return static_cast<int32_t>(got);
}

struct FileSink {
    std::FILE* file;
    uint64_t written;
    bool failed;
};

int32_t WriteSink(void* context, uint8_t* buffer, int32_t size) {
    FileSink* s = static_cast<FileSink*>(context);
    size_t put = std::fwrite(buffer, 1, static_cast<size_t>(size), s->file);
    if (put != static_cast<size_t>(size)) s->failed = true;
    s->written += put;
    return static_cast<int32_t>(put);
}

// Hands out a stream so that the bytes the decoder took can be told: all
// but the last two in blocks, then the last two one per call. The decoder
// asks again only when it has used up what it holds, so once it has asked
// for a single byte, every byte handed out was used.
struct TailReader {
    std::FILE* file;
    uint64_t size;
    uint64_t handed;
    bool shortRead;
};

int32_t ReadTail(void* context, uint8_t* buffer, int32_t size) {
    TailReader* r = static_cast<TailReader*>(context);
    uint64_t left = r->size - r->handed;
    if (left == 0 || size <= 0) return 0;
    uint64_t want = left > 2 ? left - 2 : 1;
    if (want > static_cast<uint64_t>(size)) want = static_cast<uint64_t>(size);
    size_t got = std::fread(buffer, 1, static_cast<size_t>(want), r->file);
    if (got < want) r->shortRead = true;
    r->handed += got;
    return static_cast<int32_t>(got);
}

}  // namespace

bool EncodeFileTo(LzssEncoder* encoder, const std::string& path, uint64_t size, std::FILE* out,
                  uint64_t* written, std::string* error) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        *error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    FileSource source{in, size, false};
    FileSink sink{out, 0, false};
    encoder->inStream.transfer = ReadSource;
    encoder->inStream.context = &source;
    encoder->inStream.length = static_cast<int64_t>(size);
    encoder->outStream.transfer = WriteSink;
    encoder->outStream.context = &sink;
    encoder->outStream.length = 0;
    encoder->EncodeStream();
    bool grew = std::fgetc(in) != EOF;
    bool readError = std::ferror(in) != 0;
    std::fclose(in);
    *written = sink.written;
    if (readError) {
        *error = "cannot read " + path;
        return false;
    }
    if (source.shortRead || source.left != 0 || grew) {
        *error = path + " changed while it was packaged";
        return false;
    }
    if (sink.failed) {
        *error = "cannot write the compressed stream of " + path;
        return false;
    }
    return true;
}

bool CheckLzssStream(LzssDecoder* decoder, std::FILE* file, int64_t offset, int64_t size,
                     uint32_t* decodedLength, std::string* problem) {
    *decodedLength = 0;
    if (size < 4) {
        *problem = "shorter than the 4-byte length that opens a compressed stream";
        return false;
    }
    if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) {
        *problem = "cannot seek to its data";
        return false;
    }
    TailReader reader{file, static_cast<uint64_t>(size), 0, false};
    MemoryWriter counter = {nullptr, 0, 0};
    decoder->inStream.transfer = ReadTail;
    decoder->inStream.context = &reader;
    decoder->inStream.length = size;
    LzssMemoryWriter(&decoder->outStream, &counter);
    int whole = decoder->DecodeStream();
    *decodedLength = decoder->decodedLength;
    if (reader.shortRead) {
        *problem = "its data cannot be read";
        return false;
    }
    if (!whole || counter.size != decoder->decodedLength) {
        *problem = "the stream ends after " + std::to_string(counter.size) + " of its " +
                   std::to_string(decoder->decodedLength) + " decoded bytes";
        return false;
    }
    uint64_t unread = reader.size - reader.handed;
    if (unread >= 2) {
        *problem = "at least 2 bytes follow the end of the stream";
        return false;
    }
    if (unread == 1) {
        int last = std::fgetc(file);
        if (last != 0) {
            *problem = "a byte other than an empty flag group follows the end of the stream";
            return false;
        }
    }
    return true;
}

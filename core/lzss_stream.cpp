// File streams of the LZSS codec.
#include "core/lzss_format.h"

static int32_t ReadFromFile(void* context, uint8_t* buffer, int32_t size) {
    return FileRead(*(FileHandle*)context, buffer, size);
}

static int32_t WriteToFile(void* context, uint8_t* buffer, int32_t size) {
    return FileWrite(*(FileHandle*)context, buffer, size);
}

int32_t LzssReadBlock(const LzssStream& stream, uint8_t* block, int32_t size) {
    int32_t got = stream.transfer(stream.context, block, size);
    return got < 0 ? 0 : got;
}

void LzssFileReader(LzssStream* stream, FileHandle* file) {
    stream->transfer = ReadFromFile;
    stream->context = file;
    stream->length = FileSize(*file);
}

void LzssFileWriter(LzssStream* stream, FileHandle* file) {
    stream->transfer = WriteToFile;
    stream->context = file;
    stream->length = 0;
}

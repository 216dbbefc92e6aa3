#include "core/lzss_memory.h"

#include <string.h>

static int32_t ReadMemory(void* context, uint8_t* buffer, int32_t size) {
    MemoryReader* r = (MemoryReader*)context;
    size_t left = r->size - r->pos;
    size_t n = (size_t)size < left ? (size_t)size : left;
    if (n > 0) memcpy(buffer, r->data + r->pos, n);
    r->pos += n;
    return (int32_t)n;
}

static int32_t WriteMemory(void* context, uint8_t* buffer, int32_t size) {
    MemoryWriter* w = (MemoryWriter*)context;
    if (w->data && size > 0 && w->size < w->capacity) {
        size_t room = w->capacity - w->size;
        memcpy(w->data + w->size, buffer, (size_t)size < room ? (size_t)size : room);
    }
    w->size += (size_t)size;
    return size;
}

void LzssMemoryReader(LzssStream* stream, MemoryReader* reader) {
    stream->transfer = ReadMemory;
    stream->context = reader;
    stream->length = (int64_t)reader->size;
}

void LzssMemoryWriter(LzssStream* stream, MemoryWriter* writer) {
    stream->transfer = WriteMemory;
    stream->context = writer;
    stream->length = 0;
}

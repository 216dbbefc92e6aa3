// LZSS codec: construction, file streams, and the file-level operations.
#include "core/lzss_codec.h"

#include "core/bounded_text.h"

#include <limits.h>
#include <string.h>

static int32_t ReadFromFile(void* context, uint8_t* buffer, int32_t size) {
    return FileRead(*(FileHandle*)context, buffer, size);
}

static int32_t WriteToFile(void* context, uint8_t* buffer, int32_t size) {
    return FileWrite(*(FileHandle*)context, buffer, size);
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

LzssCodec::LzssCodec()
    : matchPos(0), matchLen(0), maxChain(kLzssMaxChain), lastBucket(0), bytesRead(0),
      outCount(0), decodedLength(0), doneBytes(0), grandTotal(0), codeMask(0), codeLen(0),
      overallBar(NULL), fileBar(NULL), logList(NULL), progress(NULL), inPos(0), inEnd(0),
      winPos(0) {
    // A zeroed ring makes the encoder's output a function of its input alone.
    memset(ring, 0, sizeof(ring));
    memset(&inStream, 0, sizeof(inStream));
    memset(&outStream, 0, sizeof(outStream));
}

int LzssBarPosition(uint32_t done, int64_t total) {
    uint64_t q;
    if (total <= 0) return 0;
    if (total / 100 == 0)
        q = (uint64_t)done * 100 / (uint64_t)total;
    else
        q = done / (uint64_t)(total / 100);
    return q > INT_MAX ? INT_MAX : (int)q;
}

void LzssCodec::Log(const char* before, const char* path, const char* after) {
    if (logList == NULL || progress == NULL || progress->addLine == NULL) return;
    // The line buffer holds the longest fixed text and a path of 260.
    char line[kLzssLineSize];
    const char* parts[] = {before, path, after};
    if (JoinParts(line, sizeof(line), parts, 3)) progress->addLine(progress->context, logList, line);
}

int LzssCodec::UnpackFile(const char* source, const char* target) {
    Log("Extracting.... ", target, "");
    FileHandle in = FileOpenRead(source);
    if (in == kNoFile) {
        Log("Fail to open the source file(", source, ")");
        return 0;
    }
    FileHandle out = FileCreate(target);
    if (out == kNoFile) {
        FileClose(in);
        Log("Fail to extract the target file(", target, ").");
        return 0;
    }
    LzssFileReader(&inStream, &in);
    LzssFileWriter(&outStream, &out);
    int whole = DecodeStream();
    FileClose(in);
    FileClose(out);
    if (!whole) {
        FileDelete(target);
        Log("The source file is damaged(", source, ")");
    }
    return whole;
}

int LzssCodec::PackFile(const char* source, const char* target) {
    FileHandle in = FileOpenRead(source);
    if (in == kNoFile) return 0;
    FileHandle out = FileCreate(target);
    if (out == kNoFile) {
        FileClose(in);
        return 0;
    }
    LzssFileReader(&inStream, &in);
    LzssFileWriter(&outStream, &out);
    maxChain = kLzssMaxChain;
    EncodeStream();
    FileClose(in);
    FileClose(out);
    return 1;
}

int LzssCodec::FillInput() {
    inPos = 0;
    inEnd = inStream.transfer(inStream.context, inBlock, kLzssInBlock);
    if (inEnd < 0) inEnd = 0;
    return inEnd;
}

int LzssCodec::NextInputByte() {
    if (inPos == inEnd && FillInput() == 0) return -1;
    return inBlock[inPos++];
}

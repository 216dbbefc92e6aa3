// Win32 side of the file layer, used by the setup stub.
#include "core/file_io.h"

#include <windows.h>

static HANDLE H(FileHandle f) { return (HANDLE)f; }

// Most files are read from the start to the end (an entry copied, a
// stream decoded): with the hint the cache reads ahead and lets go of what
// has been read. Reads elsewhere (the container's trailer) work as ever.
FileHandle FileOpenRead(const char* path) {
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    return (FileHandle)h;
}

FileHandle FileCreate(const char* path) {
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    return (FileHandle)h;
}

static int SeekTo(FileHandle file, int64_t distance, DWORD method) {
    LONG high = (LONG)(distance >> 32);
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(H(file), (LONG)(distance & 0xFFFFFFFF), &high, method);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

int FileSeekStart(FileHandle file, int64_t offset) {
    if (offset < 0) return 0;
    return SeekTo(file, offset, FILE_BEGIN);
}

int FileSeekBeforeEnd(FileHandle file, int64_t distance) {
    if (distance < 0) return 0;
    return SeekTo(file, -distance, FILE_END);
}

int64_t FileSize(FileHandle file) {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(H(file), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return -1;
    return ((int64_t)high << 32) | low;
}

int32_t FileRead(FileHandle file, void* buffer, int32_t size) {
    DWORD got = 0;
    if (size <= 0) return 0;
    if (!ReadFile(H(file), buffer, (DWORD)size, &got, NULL)) return 0;
    return (int32_t)got;
}

int32_t FileWrite(FileHandle file, const void* buffer, int32_t size) {
    DWORD put = 0;
    if (size <= 0) return 0;
    if (!WriteFile(H(file), buffer, (DWORD)size, &put, NULL)) return 0;
    return (int32_t)put;
}

int FileSetLength(FileHandle file, int64_t length) {
    int set = SeekTo(file, length, FILE_BEGIN) && SetEndOfFile(H(file));
    return SeekTo(file, 0, FILE_BEGIN) && set;
}

void FileClose(FileHandle file) {
    if (file != kNoFile) CloseHandle(H(file));
}

int FileDelete(const char* path) { return DeleteFileA(path) != 0; }

FileHandle FileHoldWritten(FileHandle written, const char* path) {
    BY_HANDLE_FILE_INFORMATION before, after;
    BOOL known = GetFileInformationByHandle(H(written), &before);
    CloseHandle(H(written));
    // Read access only, so that our own readers, which let others read,
    // still open it; no write or delete sharing, so that nobody else can
    // change or remove it.
    HANDLE held = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (held != INVALID_HANDLE_VALUE && known && GetFileInformationByHandle(held, &after) &&
        after.dwVolumeSerialNumber == before.dwVolumeSerialNumber &&
        after.nFileIndexHigh == before.nFileIndexHigh &&
        after.nFileIndexLow == before.nFileIndexLow)
        return (FileHandle)held;
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    DeleteFileA(path);
    return kNoFile;
}

int ModuleFilePath(char* buffer, size_t size) {
    if (size == 0) return 0;
    DWORD n = GetModuleFileNameA(NULL, buffer, (DWORD)size);
    if (n == 0 || n >= size) {
        buffer[0] = '\0';
        return 0;
    }
    return 1;
}

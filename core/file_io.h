// Thin file layer under the payload code.
//
// The container reader and the LZSS codec reach files only through these
// calls, so the same sources build into the Windows stub (file_io_win32.cpp)
// and the host tool (file_io_posix.cpp). Paths are narrow, NUL-terminated
// strings in the system code page.
#ifndef TARNVALE_CORE_FILE_IO_H
#define TARNVALE_CORE_FILE_IO_H

#include <stddef.h>
#include <stdint.h>

// Separator that joins a directory and a file name: a backslash on
// Windows, a slash on the host.
#ifdef _WIN32
static const char kPathSeparator = '\\';
#else
static const char kPathSeparator = '/';
#endif

// An open file. kNoFile is the failed open; on Windows it is
// INVALID_HANDLE_VALUE, which has the same bit pattern.
typedef intptr_t FileHandle;
static const FileHandle kNoFile = -1;

// Opens an existing file for reading, letting others read it too.
// Returns kNoFile when the file is missing or cannot be opened.
FileHandle FileOpenRead(const char* path);

// Creates a file for writing, truncating one that exists; not shared.
// Returns kNoFile on failure.
FileHandle FileCreate(const char* path);

// Moves the file pointer to `offset` bytes from the start (whence 0) or to
// `offset` bytes before the end (whence 2, `offset` counted backwards).
// Returns 1 on success, 0 on failure.
int FileSeekStart(FileHandle file, int64_t offset);
int FileSeekBeforeEnd(FileHandle file, int64_t distance);

// Size of the open file in bytes, or -1 when it cannot be told.
int64_t FileSize(FileHandle file);

// Reads up to `size` bytes. Returns the number read: 0 at the end of the
// file or on an error. Never writes more than `size` bytes to `buffer`.
int32_t FileRead(FileHandle file, void* buffer, int32_t size);

// Writes `size` bytes. Returns the number written (less on an error).
int32_t FileWrite(FileHandle file, const void* buffer, int32_t size);

// Gives a file just created for writing the length it will have, before it
// is written, so that writes fill it rather than extend it step by step
// (and the file system can allocate it in one piece). The file pointer
// stays at the start. Returns 1, or 0 when the length cannot be set (the
// writes that follow then extend the file as usual).
int FileSetLength(FileHandle file, int64_t length);

void FileClose(FileHandle file);

// Closes `written`, a file this process has just created at `path` and
// written, and opens the same file again for reading, with others allowed
// to read it only: while the returned handle is open nobody can change,
// replace or delete the file, and readers still open it. Returns kNoFile,
// and removes what stands at `path`, when the file there is no longer the
// one written (something replaced it in between) or cannot be opened.
FileHandle FileHoldWritten(FileHandle written, const char* path);

// Removes a file. Returns 1 on success, 0 on failure.
int FileDelete(const char* path);

// Full path of the running executable into `buffer` of `size` bytes.
// Returns 1 on success; 0 when it fails or would not fit (the buffer then
// holds an empty string).
int ModuleFilePath(char* buffer, size_t size);

#endif

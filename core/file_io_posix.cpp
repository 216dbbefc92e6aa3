// POSIX side of the file layer, used by the host tool and native tests.
#include "core/file_io.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileHandle FileOpenRead(const char* path) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    return fd < 0 ? kNoFile : (FileHandle)fd;
}

FileHandle FileCreate(const char* path) {
    // Never through a symbolic link that stands where the file goes.
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    return fd < 0 ? kNoFile : (FileHandle)fd;
}

int FileSeekStart(FileHandle file, int64_t offset) {
    if (offset < 0) return 0;
    return lseek((int)file, (off_t)offset, SEEK_SET) >= 0;
}

int FileSeekBeforeEnd(FileHandle file, int64_t distance) {
    if (distance < 0) return 0;
    return lseek((int)file, -(off_t)distance, SEEK_END) >= 0;
}

int64_t FileSize(FileHandle file) {
    struct stat st;
    if (fstat((int)file, &st) != 0) return -1;
    return (int64_t)st.st_size;
}

int32_t FileRead(FileHandle file, void* buffer, int32_t size) {
    if (size <= 0) return 0;
    for (;;) {
        ssize_t n = read((int)file, buffer, (size_t)size);
        if (n >= 0) return (int32_t)n;
        if (errno != EINTR) return 0;
    }
}

int32_t FileWrite(FileHandle file, const void* buffer, int32_t size) {
    const char* p = (const char*)buffer;
    int32_t done = 0;
    while (done < size) {
        ssize_t n = write((int)file, p + done, (size_t)(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += (int32_t)n;
    }
    return done;
}

int FileSetLength(FileHandle file, int64_t length) {
    return length >= 0 && ftruncate((int)file, (off_t)length) == 0;
}

void FileClose(FileHandle file) {
    if (file != kNoFile) close((int)file);
}

// The host has no share modes: the reopened file is only checked to be the
// same one.
FileHandle FileHoldWritten(FileHandle written, const char* path) {
    struct stat before, after;
    int known = fstat((int)written, &before) == 0;
    close((int)written);
    int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0 && known && fstat(fd, &after) == 0 && after.st_dev == before.st_dev &&
        after.st_ino == before.st_ino)
        return (FileHandle)fd;
    if (fd >= 0) close(fd);
    unlink(path);
    return kNoFile;
}

int FileDelete(const char* path) { return unlink(path) == 0; }

int ModuleFilePath(char* buffer, size_t size) {
    if (size == 0) return 0;
    buffer[0] = '\0';
    ssize_t n = readlink("/proc/self/exe", buffer, size);
    if (n <= 0 || (size_t)n >= size) {
        buffer[0] = '\0';
        return 0;
    }
    buffer[n] = '\0';
    return 1;
}

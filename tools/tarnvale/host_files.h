// File helpers of the package tool: whole-file reads, name lookup in a
// folder, temporary files that remove themselves.
#ifndef TARNVALE_TOOLS_HOST_FILES_H
#define TARNVALE_TOOLS_HOST_FILES_H

#include <cstdint>
#include <string>

// Reads the whole file at `path` into `out`. On failure returns false and
// sets `error` to a sentence naming the file.
bool ReadWholeFile(const std::string& path, std::string* out, std::string* error);

// Size of the regular file at `path`, or -1 when it is missing or not a
// regular file.
int64_t RegularFileSize(const std::string& path);

// `dir` joined with `name` by "/"; `dir` may be empty (the current folder).
std::string JoinPath(const std::string& dir, const std::string& name);

// The folder part of `path` ("." when there is none) and the last part.
std::string DirName(const std::string& path);
std::string BaseName(const std::string& path);

// Folder that holds the running executable, or "" when it cannot be told.
std::string ExecutableDir();

// Looks `name` up in `dir` as Windows would find it: the exact name first,
// then the one regular file whose name matches ignoring ASCII case. Returns
// true and sets `path`; otherwise false with `problem` saying why (not
// found, or several files differ only in case).
bool FindFileInDir(const std::string& dir, const std::string& name, std::string* path,
                   std::string* problem);

// FindFileInDir; when `dir` holds no file of that name in any case and
// `fallback` is a regular file, `fallback` instead.
bool FindFileOr(const std::string& dir, const std::string& name, const std::string& fallback,
                std::string* path, std::string* problem);

// The uninstaller that build, lint and plan take for [UNINSTALL] NAME when
// the files hold none: tarnvale-uninstall.exe beside this program.
std::string DefaultUninstaller();

// Whether `a` and `b` name the same existing file (links followed).
bool SameFile(const std::string& a, const std::string& b);

// Why `path` may not be written as a new file, or "" when it may: its
// folder must exist and be a folder, and `path` itself must be missing or a
// regular file (not a folder, device, pipe or symbolic link).
std::string OutputProblem(const std::string& path);

// Creates `path` and any missing parents. Returns false with `error` set.
bool MakeDirs(const std::string& path, std::string* error);

// A temporary file beside a target; removed by the destructor unless it was
// renamed onto the target by Commit.
class TempFile {
public:
    TempFile() = default;
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // Creates an empty file named ".<base of target>.<tag>.XXXXXX" in the
    // target's folder. Returns false with `error` set.
    bool Create(const std::string& target, const std::string& tag, std::string* error);
    const std::string& Path() const { return path_; }
    // Gives the file the usual permissions (0666 less the umask) and renames
    // it onto `target`. Returns false with `error` set; the file is then
    // still removed by the destructor.
    bool Commit(const std::string& target, std::string* error);

private:
    std::string path_;
};

#endif

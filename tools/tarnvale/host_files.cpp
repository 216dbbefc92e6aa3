#include "tools/tarnvale/host_files.h"

#include <dirent.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace {

// The start of FindFileInDir's problem when no file has the name.
const std::string kNotFound = "not found in ";

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* out, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        *error = "cannot open " + path + ": " + strerror(errno);
        return false;
    }
    out->clear();
    char block[65536];
    size_t n;
    while ((n = std::fread(block, 1, sizeof(block), f)) > 0) out->append(block, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) *error = "cannot read " + path;
    return ok;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string OutputProblem(const std::string& path) {
    struct stat st;
    const std::string dir = DirName(path);
    if (stat(dir.c_str(), &st) != 0) return "cannot use the folder " + dir + ": " + strerror(errno);
    if (!S_ISDIR(st.st_mode)) return dir + " is not a folder";
    if (access(dir.c_str(), W_OK | X_OK) != 0)
        return "cannot write into the folder " + dir + ": " + strerror(errno);
    if (lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return "";
        return "cannot use " + path + ": " + strerror(errno);
    }
    if (S_ISDIR(st.st_mode)) return path + " is a folder";
    if (S_ISLNK(st.st_mode)) return path + " is a symbolic link";
    if (!S_ISREG(st.st_mode)) return path + " is not a regular file";
    return "";
}

int64_t RegularFileSize(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

std::string DirName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExecutableDir() {
    std::vector<char> buffer(4096);
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return "";
    return DirName(std::string(buffer.data(), static_cast<size_t>(n)));
}

bool FindFileInDir(const std::string& dir, const std::string& name, std::string* path,
                   std::string* problem) {
    std::string exact = JoinPath(dir, name);
    if (RegularFileSize(exact) >= 0) {
        *path = exact;
        return true;
    }
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) {
        *problem = "cannot read the folder " + dir + ": " + strerror(errno);
        return false;
    }
    std::vector<std::string> matches;
    while (struct dirent* e = readdir(d)) {
        std::string candidate = e->d_name;
        if (SameIgnoringAsciiCase(candidate, name) && RegularFileSize(JoinPath(dir, candidate)) >= 0)
            matches.push_back(candidate);
    }
    closedir(d);
    if (matches.size() == 1) {
        *path = JoinPath(dir, matches[0]);
        return true;
    }
    if (matches.empty()) {
        *problem = kNotFound + dir;
    } else {
        *problem = "matches several files in " + dir + " that differ only in case";
    }
    return false;
}

bool FindFileOr(const std::string& dir, const std::string& name, const std::string& fallback,
                std::string* path, std::string* problem) {
    if (FindFileInDir(dir, name, path, problem)) return true;
    if (fallback.empty() || RegularFileSize(fallback) < 0 || problem->rfind(kNotFound, 0) != 0)
        return false;
    *path = fallback;
    return true;
}

std::string DefaultUninstaller() { return JoinPath(ExecutableDir(), "tarnvale-uninstall.exe"); }

bool MakeDirs(const std::string& path, std::string* error) {
    if (path.empty()) return true;
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return true;
        *error = path + " exists and is not a folder";
        return false;
    }
    std::string parent = DirName(path);
    if (parent != path && parent != "." && parent != "/" && !MakeDirs(parent, error)) return false;
    if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
        *error = "cannot create the folder " + path + ": " + strerror(errno);
        return false;
    }
    return true;
}

TempFile::~TempFile() {
    if (!path_.empty()) unlink(path_.c_str());
}

bool TempFile::Create(const std::string& target, const std::string& tag, std::string* error) {
    std::string pattern = JoinPath(DirName(target), "." + BaseName(target) + "." + tag + ".XXXXXX");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) {
        *error = "cannot create a temporary file beside " + target + ": " + strerror(errno);
        return false;
    }
    close(fd);
    path_ = name.data();
    return true;
}

bool TempFile::Commit(const std::string& target, std::string* error) {
    mode_t mask = umask(0);
    umask(mask);
    if (chmod(path_.c_str(), 0666 & ~mask) != 0 || rename(path_.c_str(), target.c_str()) != 0) {
        *error = "cannot move " + path_ + " to " + target + ": " + strerror(errno);
        return false;
    }
    path_.clear();
    return true;
}

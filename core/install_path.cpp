#include "core/install_path.h"

#include <string.h>

int IsFullInstallPath(const char* path) {
    if (path[0] == '\\') return path[1] == '\\' && path[2] != '\0' && path[2] != '\\';
    return path[0] != '\0' && path[1] == ':' && path[2] == '\\';
}

int IsValidInstallPath(const char* path) {
    if (path[0] == '\\' && path[1] == '\\') {
        int parts = 0;
        for (const char* at = path; *at != '\0'; ++at)
            if (*at == '\\') ++parts;
        if (path[strlen(path) - 1] != '\\') ++parts;
        return parts / 5;
    }
    // Each test runs only when the one before it saw no terminator.
    return path[0] != '\0' && path[1] == ':' && path[2] == '\\' && path[3] != '\0' &&
                   path[3] != '\\'
               ? 1
               : 0;
}

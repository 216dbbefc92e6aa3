#include "core/target_dirs.h"

#include <string.h>

int JoinInstallDir(char* out, size_t size, const char* base, const char* sub) {
    if (size == 0) return 0;
    size_t baseLength = strlen(base);
    size_t subLength = strlen(sub);
    if (baseLength >= size || subLength >= size - baseLength) {
        out[0] = '\0';
        return 0;
    }
    memmove(out, base, baseLength);
    memcpy(out + baseLength, sub, subLength + 1);
    return 1;
}

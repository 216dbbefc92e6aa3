#include "payload/bounded_text.h"

#include <string.h>

int JoinParts(char* out, size_t size, const char* const* parts, int count) {
    if (size == 0) return 0;
    size_t used = 0;
    for (int i = 0; i < count; ++i) {
        if (parts[i] == NULL) continue;
        size_t length = strlen(parts[i]);
        if (length >= size - used) {
            out[0] = '\0';
            return 0;
        }
        memcpy(out + used, parts[i], length);
        used += length;
    }
    out[used] = '\0';
    return 1;
}

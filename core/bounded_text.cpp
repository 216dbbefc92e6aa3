#include "core/bounded_text.h"

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
        memmove(out + used, parts[i], length);
        used += length;
    }
    out[used] = '\0';
    return 1;
}

int JoinText(char* out, size_t size, const char* first, const char* second, const char* third) {
    const char* parts[3] = {first, second, third};
    return JoinParts(out, size, parts, 3);
}

int CopySpan(char* out, size_t size, const char* text, size_t length) {
    if (size == 0) return 0;
    if (length >= size) {
        out[0] = '\0';
        return 0;
    }
    memmove(out, text, length);
    out[length] = '\0';
    return 1;
}

int CopyText(char* out, size_t size, const char* text) { return JoinText(out, size, text, NULL, NULL); }

int AppendText(char* out, size_t size, const char* text) {
    const char* end = (const char*)memchr(out, '\0', size);
    size_t used = end != NULL ? (size_t)(end - out) : size;
    size_t length = strlen(text);
    if (used >= size || length >= size - used) return 0;
    memcpy(out + used, text, length + 1);
    return 1;
}

void FormatDecimal(char* out, int value) {
    // Counted in unsigned arithmetic so that the most negative value works.
    unsigned magnitude = value < 0 ? 0u - (unsigned)value : (unsigned)value;
    char digits[kDecimalTextSize];
    int count = 0;
    do {
        digits[count++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    int at = 0;
    if (value < 0) out[at++] = '-';
    while (count > 0) out[at++] = digits[--count];
    out[at] = '\0';
}

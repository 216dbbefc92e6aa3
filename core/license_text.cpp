#include "core/license_text.h"

size_t ReadAsText(char* bytes, size_t count) {
    size_t kept = 0;
    for (size_t at = 0; at < count; ++at) {
        char byte = bytes[at];
        if (byte == LICENSE_TEXT_END) break;
        if (byte == '\r' && at + 1 < count && bytes[at + 1] == '\n') continue;
        bytes[kept++] = byte;
    }
    return kept;
}

size_t CountLineFeeds(const char* text, size_t count) {
    size_t lineFeeds = 0;
    for (size_t at = 0; at < count; ++at)
        if (text[at] == '\n') ++lineFeeds;
    return lineFeeds;
}

size_t ExpandedSize(size_t count, size_t lineFeeds) {
    size_t limit = (size_t)-1;
    if (lineFeeds > count || count > limit - lineFeeds - 1) return 0;
    return count + lineFeeds + 1;
}

int ExpandLineFeeds(const char* text, size_t count, char* out, size_t size) {
    if (size == 0) return 0;
    size_t used = 0;
    for (size_t at = 0; at < count; ++at) {
        // Room for CR LF, or the byte, and the terminator after it.
        size_t needed = text[at] == '\n' ? 2 : 1;
        if (size - used <= needed) {
            out[0] = '\0';
            return 0;
        }
        if (text[at] == '\n') out[used++] = '\r';
        out[used++] = text[at];
    }
    out[used] = '\0';
    return 1;
}

// Profile reader: line scanner, lookups and the value and integer copies.
#include "core/profile_reader.h"

#include <string.h>

namespace {

// kLineUnclosed: a key line that begins with "[" and has no "]", which the
// platform's loader keeps as a key of that name.
enum LineKind { kLineBlank, kLineUnclosed, kLineSection, kLineKey };

// One line of the text, split as the platform's loader splits it.
struct ScannedLine {
    LineKind kind;
    size_t start, end, next;       // the raw line and the start of the next one
    size_t nameStart, nameEnd;     // section or key name, trimmed
    size_t valueStart, valueEnd;   // key value, trimmed
    int hasEquals;
};

int IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' ||
           c == 0x1A;
}

unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? (unsigned char)(c - 'A' + 'a') : c;
}

size_t TextStart(const ProfileText* text) {
    static const unsigned char kBom[3] = {0xEF, 0xBB, 0xBF};
    if (text->size >= 3 && memcmp(text->data, kBom, 3) == 0) return 3;
    return 0;
}

// The key line d[s, e), trimmed: name "=" value, split at the first "=".
void SplitKey(const char* d, size_t s, size_t e, ScannedLine* out) {
    out->kind = kLineKey;
    const char* eq = (const char*)memchr(d + s, '=', e - s);
    if (eq == NULL) {
        out->nameStart = s;
        out->nameEnd = e;
        out->valueStart = out->valueEnd = e;
        return;
    }
    size_t at = (size_t)(eq - d);
    size_t ne = at;
    while (ne > s && IsBlank((unsigned char)d[ne - 1])) --ne;
    size_t vs = at + 1;
    while (vs < e && IsBlank((unsigned char)d[vs])) ++vs;
    out->nameStart = s;
    out->nameEnd = ne;
    out->valueStart = vs;
    out->valueEnd = e;
    out->hasEquals = 1;
}

void ScanLine(const ProfileText* text, size_t pos, ScannedLine* out) {
    const char* d = text->data;
    size_t n = text->size;
    size_t end = pos;
    while (end < n && d[end] != '\r' && d[end] != '\n') ++end;
    out->start = pos;
    out->end = end;
    out->next = end;
    if (end < n) out->next = (d[end] == '\r' && end + 1 < n && d[end + 1] == '\n') ? end + 2 : end + 1;
    out->nameStart = out->nameEnd = out->valueStart = out->valueEnd = pos;
    out->hasEquals = 0;

    size_t s = pos, e = end;
    while (s < e && IsBlank((unsigned char)d[s])) ++s;
    while (e > s && IsBlank((unsigned char)d[e - 1])) --e;
    if (s == e) {
        out->kind = kLineBlank;
        return;
    }
    if (d[s] == '[') {
        size_t close = e;
        while (close > s && d[close - 1] != ']') --close;
        if (close == s) {  // no "]": the loader reads it as a key line
            SplitKey(d, s, e, out);
            out->kind = kLineUnclosed;
            return;
        }
        size_t ns = s + 1, ne = close - 1;
        while (ns < ne && IsBlank((unsigned char)d[ns])) ++ns;
        while (ne > ns && IsBlank((unsigned char)d[ne - 1])) --ne;
        out->kind = kLineSection;
        out->nameStart = ns;
        out->nameEnd = ne;
        return;
    }
    SplitKey(d, s, e, out);
}

// Whether text[start, end) equals `name` once `name` is trimmed, ignoring
// ASCII case. An empty name matches nothing.
int NameMatches(const ProfileText* text, size_t start, size_t end, const char* name) {
    size_t len = strlen(name);
    while (len > 0 && IsBlank((unsigned char)name[0])) {
        ++name;
        --len;
    }
    while (len > 0 && IsBlank((unsigned char)name[len - 1])) --len;
    if (len == 0 || end - start != len) return 0;
    for (size_t i = 0; i < len; ++i) {
        if (FoldAscii((unsigned char)text->data[start + i]) != FoldAscii((unsigned char)name[i]))
            return 0;
    }
    return 1;
}

void FillKey(const ScannedLine& line, int number, ProfileKey* out) {
    out->line = number;
    out->lineStart = line.start;
    out->lineEnd = line.end;
    out->nextLine = line.next;
    out->nameStart = line.nameStart;
    out->nameEnd = line.nameEnd;
    out->valueStart = line.valueStart;
    out->valueEnd = line.valueEnd;
    out->hasEquals = line.hasEquals;
}

}  // namespace

int ProfileFindSection(const ProfileText* text, const char* section, ProfileSection* out) {
    size_t pos = TextStart(text);
    int number = 1;
    ScannedLine line;
    while (pos < text->size) {
        ScanLine(text, pos, &line);
        if (line.kind == kLineSection && NameMatches(text, line.nameStart, line.nameEnd, section)) {
            out->line = number;
            out->lineStart = line.start;
            out->lineEnd = line.end;
            out->nextLine = line.next;
            return 1;
        }
        pos = line.next;
        ++number;
    }
    return 0;
}

int ProfileBeginKeys(const ProfileText* text, const char* section, ProfileCursor* cursor) {
    ProfileSection found;
    if (!ProfileFindSection(text, section, &found)) {
        cursor->pos = text->size;
        cursor->line = 0;
        cursor->done = 1;
        return 0;
    }
    cursor->pos = found.nextLine;
    cursor->line = found.line + 1;
    cursor->done = 0;
    return 1;
}

int ProfileNextKey(const ProfileText* text, ProfileCursor* cursor, ProfileKey* out) {
    ScannedLine line;
    while (!cursor->done && cursor->pos < text->size) {
        ScanLine(text, cursor->pos, &line);
        if (line.kind == kLineSection) break;
        int number = cursor->line;
        cursor->pos = line.next;
        cursor->line++;
        if (line.kind == kLineKey || line.kind == kLineUnclosed) {
            FillKey(line, number, out);
            return 1;
        }
    }
    cursor->done = 1;
    return 0;
}

int ProfileFindKey(const ProfileText* text, const char* section, const char* key,
                   ProfileKey* out) {
    ProfileCursor cursor;
    ProfileKey candidate;
    if (!ProfileBeginKeys(text, section, &cursor)) return 0;
    while (ProfileNextKey(text, &cursor, &candidate)) {
        if (NameMatches(text, candidate.nameStart, candidate.nameEnd, key)) {
            *out = candidate;
            return 1;
        }
    }
    return 0;
}

size_t ProfileTextStart(const ProfileText* text) { return TextStart(text); }

size_t ProfileReadLine(const ProfileText* text, size_t pos, int number, ProfileLine* out) {
    static const ProfileLineKind kKinds[] = {kProfileBlank, kProfileIgnored, kProfileSection,
                                             kProfileKey};
    ScannedLine line;
    ScanLine(text, pos, &line);
    out->kind = kKinds[line.kind];
    FillKey(line, number, &out->key);
    return line.next;
}

size_t ProfileCopyValue(const ProfileText* text, const ProfileKey* key, char* out,
                        size_t outSize) {
    if (outSize == 0) return 0;
    const char* value = text->data + key->valueStart;
    size_t n = key->valueEnd - key->valueStart;
    const char* nul = (const char*)memchr(value, '\0', n);  // the platform stops there
    if (nul != NULL) n = (size_t)(nul - value);

    int quoted = 0;
    if (n >= 2 && (value[0] == '"' || value[0] == '\'') && value[n - 1] == value[0]) {
        quoted = 1;
        ++value;
        --n;  // the closing quote is still counted here, as the platform counts it
    }
    size_t copied = n < outSize - 1 ? n : outSize - 1;
    memcpy(out, value, copied);
    out[copied] = '\0';
    if (quoted && outSize >= n && copied > 0) out[--copied] = '\0';
    return copied;
}

size_t ProfileGetString(const ProfileText* text, const char* section, const char* key,
                        char* out, size_t outSize, int* line) {
    ProfileKey found;
    if (line) *line = 0;
    if (!ProfileFindKey(text, section, key, &found)) {
        if (outSize > 0) out[0] = '\0';
        return 0;
    }
    if (line) *line = found.line;
    return ProfileCopyValue(text, &found, out, outSize);
}

int32_t ProfileParseInt(const char* value) {
    const unsigned char* p = (const unsigned char*)value;
    while (*p != 0 && *p <= ' ') ++p;
    int negative = 0;
    if (*p == '+') {
        ++p;
    } else if (*p == '-') {
        negative = 1;
        ++p;
    }
    uint32_t base = 10;
    if (p[0] == '0' && p[1] == 'x') {
        base = 16;
        p += 2;
    } else if (p[0] == '0' && p[1] == 'o') {
        base = 8;
        p += 2;
    } else if (p[0] == '0' && p[1] == 'b') {
        base = 2;
        p += 2;
    }
    uint32_t total = 0;
    for (;; ++p) {
        uint32_t digit;
        if (*p >= '0' && *p <= '9')
            digit = (uint32_t)(*p - '0');
        else if (*p >= 'a' && *p <= 'z')
            digit = (uint32_t)(*p - 'a') + 10;
        else if (*p >= 'A' && *p <= 'Z')
            digit = (uint32_t)(*p - 'A') + 10;
        else
            break;
        if (digit >= base) break;
        total = total * base + digit;  // wraps, as the platform's conversion does
    }
    if (negative) total = 0u - total;
    return (int32_t)total;
}

int32_t ProfileGetInt(const ProfileText* text, const char* section, const char* key,
                      int32_t fallback, int* line) {
    char value[kProfileIntBuffer];
    if (ProfileGetString(text, section, key, value, sizeof(value), line) == 0) return fallback;
    return ProfileParseInt(value);
}

int ProfileNamesEqual(const char* written, const char* name) {
    const ProfileText text = {written, strlen(written)};
    size_t start = 0, end = text.size;
    while (start < end && IsBlank((unsigned char)written[start])) ++start;
    while (end > start && IsBlank((unsigned char)written[end - 1])) --end;
    return NameMatches(&text, start, end, name);
}

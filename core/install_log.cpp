#include "core/install_log.h"

#include <string.h>

#include "core/bounded_text.h"

namespace {

const char* const kKindNames[kLogKindCount] = {"dir",   "file",  "replaced", "value",
                                               "plugin", "entry", "program"};
// Fields after the kind.
const int kKindFields[kLogKindCount] = {1, 1, 2, 3, 1, 2, 1};

int HoldsLineBreakOrTab(const char* text) { return strpbrk(text, "\t\r\n") != NULL; }

// The line that starts at `text + start` and ends before its LF (and a CR
// before that): its length, with `next` the start of the following line.
// Returns 0 when no LF ends it.
int LineAt(const char* text, size_t size, size_t start, size_t* length, size_t* next) {
    const char* begin = text + start;
    const char* end = static_cast<const char*>(memchr(begin, '\n', size - start));
    if (end == NULL) return 0;
    *next = (size_t)(end - text) + 1;
    *length = (size_t)(end - begin);
    if (*length > 0 && begin[*length - 1] == '\r') --*length;
    return 1;
}

}  // namespace

int FormatLogRecord(const InstallLogRecord& record, char* out, size_t size) {
    if (size > 0) out[0] = '\0';
    if (record.kind < 0 || record.kind >= kLogKindCount) return 0;
    const char* fields[3] = {record.path, record.second, record.third};
    const char* parts[8];
    int count = 0;
    parts[count++] = kKindNames[record.kind];
    for (int i = 0; i < kKindFields[record.kind]; ++i) {
        if (HoldsLineBreakOrTab(fields[i])) return 0;
        parts[count++] = "\t";
        parts[count++] = fields[i];
    }
    parts[count++] = "\r\n";
    return JoinParts(out, size, parts, count);
}

int ParseLogRecord(const char* line, size_t length, InstallLogRecord* record) {
    memset(record, 0, sizeof(*record));
    const char* tab = static_cast<const char*>(memchr(line, '\t', length));
    size_t nameLength = tab ? (size_t)(tab - line) : length;
    int kind = -1;
    for (int i = 0; i < kLogKindCount; ++i)
        if (strlen(kKindNames[i]) == nameLength && memcmp(kKindNames[i], line, nameLength) == 0) kind = i;
    if (kind < 0 || tab == NULL) return 0;
    record->kind = (InstallLogKind)kind;

    char* fields[3] = {record->path, record->second, record->third};
    const char* field = tab + 1;
    const char* end = line + length;
    for (int i = 0; i < kKindFields[kind]; ++i) {
        const char* stop = static_cast<const char*>(memchr(field, '\t', (size_t)(end - field)));
        const int last = i == kKindFields[kind] - 1;
        if (last != (stop == NULL)) return 0;  // too few or too many fields
        if (stop == NULL) stop = end;
        if (!CopySpan(fields[i], kLogTextSize, field, (size_t)(stop - field)) || fields[i][0] == '\0')
            return 0;
        field = stop + 1;
    }
    return 1;
}

int ReadInstallLog(const char* text, size_t size,
                   void (*visit)(void* context, const InstallLogRecord& record), void* context) {
    size_t length, next;
    if (!LineAt(text, size, 0, &length, &next) || length != strlen(kInstallLogHeader) ||
        memcmp(text, kInstallLogHeader, length) != 0)
        return -1;
    // Check every whole line first, and find where the records end.
    InstallLogRecord record;
    const size_t first = next;
    size_t end = first;
    int count = 0;
    for (size_t start = first; LineAt(text, size, start, &length, &next); start = next, ++count) {
        if (!ParseLogRecord(text + start, length, &record)) return -1;
        end = next;
    }
    // Then visit them from the last to the first: each line ends in the LF
    // before `end`, and starts after the LF before that.
    while (end > first) {
        size_t start = end - 1;
        while (start > first && text[start - 1] != '\n') --start;
        length = end - 1 - start;
        if (length > 0 && text[start + length - 1] == '\r') --length;
        ParseLogRecord(text + start, length, &record);
        visit(context, record);
        end = start;
    }
    return count;
}

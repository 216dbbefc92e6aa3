// Entry line split: fields up to each comma, the last field to the end.
#include "core/entry_line.h"

#include <string.h>

#include "core/bounded_text.h"
#include "core/script_vocabulary.h"

namespace {

char* Field(EntryLine* entry, int column) {
    return reinterpret_cast<char*>(entry) + kEntryColumns[column].offset;
}

void ClearFields(EntryLine* entry) {
    for (int i = 0; i < kEntryColumnCount; ++i) Field(entry, i)[0] = '\0';
}

}  // namespace

int ParseEntryLine(const char* text, int hasBaseDir, EntryLine* entry) {
    ClearFields(entry);
    const char* at = text;
    for (int i = hasBaseDir ? 0 : 1; i < kEntryColumnCount; ++i) {
        const char* end = i == kEntryColumnCount - 1 ? at + strlen(at) : strchr(at, kEntryFieldSeparator);
        const size_t length = end ? (size_t)(end - at) : 0;
        if (end == NULL || !CopySpan(Field(entry, i), kEntryColumns[i].size, at, length)) {
            ClearFields(entry);
            return 0;
        }
        at = end + 1;
    }
    return 1;
}

// Entry line split: fields up to each comma, the last field to the end.
#include "core/entry_line.h"

#include <string.h>

namespace {

// Copies text[0, length) into `field` of `size` bytes. Returns 0 when it
// would not fit with its terminator.
int PutField(char* field, size_t size, const char* text, size_t length) {
    if (length >= size) return 0;
    memcpy(field, text, length);
    field[length] = '\0';
    return 1;
}

}  // namespace

int ParseEntryLine(const char* text, int hasBaseDir, EntryLine* entry) {
    struct Slot {
        char* field;
        size_t size;
    };
    const Slot slots[kEntryFieldsNormal] = {
        {entry->BaseDir, sizeof(entry->BaseDir)},
        {entry->SubDir, sizeof(entry->SubDir)},
        {entry->FileName, sizeof(entry->FileName)},
        {entry->ShortcutSpec, sizeof(entry->ShortcutSpec)},
        {entry->StartupMode, sizeof(entry->StartupMode)},
        {entry->PluginMark, sizeof(entry->PluginMark)},
        {entry->OsFilter, sizeof(entry->OsFilter)},
        {entry->RunOnceSpec, sizeof(entry->RunOnceSpec)},
        {entry->EntryPoints, sizeof(entry->EntryPoints)},
    };
    for (int i = 0; i < kEntryFieldsNormal; ++i) slots[i].field[0] = '\0';

    const int first = hasBaseDir ? 0 : 1;
    const char* at = text;
    int ok = 1;
    for (int i = first; ok && i < kEntryFieldsNormal; ++i) {
        const char* end;
        if (i == kEntryFieldsNormal - 1) {
            end = at + strlen(at);
        } else {
            end = strchr(at, ',');
            if (end == NULL) {
                ok = 0;
                break;
            }
        }
        ok = PutField(slots[i].field, slots[i].size, at, (size_t)(end - at));
        at = end + 1;
    }
    if (!ok) {
        for (int i = 0; i < kEntryFieldsNormal; ++i) slots[i].field[0] = '\0';
    }
    return ok;
}

#include "core/target_dirs.h"

#include <string.h>

DirMacro DirMacroOf(const char* text) {
    static const struct {
        const char* text;
        DirMacro macro;
    } kMacros[] = {
        {MACRO_PROGRAM_FILES, kMacroProgramFiles},
        {MACRO_SYSTEM, kMacroSystem},
        {MACRO_LONWORKS, kMacroLonWorks},
        {MACRO_WINDOWS, kMacroWindows},
    };
    for (size_t i = 0; i < sizeof(kMacros) / sizeof(kMacros[0]); ++i)
        if (strcmp(text, kMacros[i].text) == 0) return kMacros[i].macro;
    return kNotAMacro;
}

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

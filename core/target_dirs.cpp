#include "core/target_dirs.h"

#include "core/bounded_text.h"

int JoinInstallDir(char* out, size_t size, const char* base, const char* sub) {
    return JoinText(out, size, base, sub, NULL);
}

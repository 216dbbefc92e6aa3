// Test program for Wine: extracts the payload appended to its own file and
// reports what SfxArchive::ExtractAll did.
//
//   extract-probe.exe DIR
//
// Prints one line per progress callback, "progress DONE/TOTAL user=U
// extra=E", then "dir D" (the directory buffer after the call) and
// "result CODE". The callback is given user 0x5a5a1234 and extra -77, so
// each line shows whether they came back as given. Exit code 0 when the
// result is SFX_OK, 1 when it is not, 2 on a bad command line.
#include <stdio.h>
#include <string.h>

#include "core/sfx_archive.h"

namespace {

const uintptr_t kUser = 0x5a5a1234;
const int32_t kExtra = -77;

SfxArchive archive;

void Progress(uintptr_t user, uint32_t done, uint32_t total, int32_t extra) {
    printf("progress %lu/%lu user=%#lx extra=%ld\n", (unsigned long)done, (unsigned long)total,
           (unsigned long)user, (long)extra);
}

}  // namespace

int main(int argc, char** argv) {
    char dir[kSfxDirSize];
    if (argc != 2 || strlen(argv[1]) >= sizeof(dir)) {
        fprintf(stderr, "usage: extract-probe DIR (shorter than %d characters)\n", kSfxDirSize);
        return 2;
    }
    strcpy(dir, argv[1]);
    int result = archive.ExtractAll(dir, Progress, kUser, kExtra);
    printf("dir %s\nresult %d\n", dir, result);
    return result == SFX_OK ? 0 : 1;
}

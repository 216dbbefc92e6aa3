#include "core/pe_image.h"

#include <string.h>

static uint32_t Le16(const unsigned char* p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8); }

static uint32_t Le32(const unsigned char* p) { return Le16(p) | (Le16(p + 2) << 16); }

int ReadPeLayout(const unsigned char* head, int32_t length, PeLayout* layout) {
    memset(layout, 0, sizeof(*layout));
    if (length > kPeHeadSize) length = kPeHeadSize;
    if (length < 64 || head[0] != 'M' || head[1] != 'Z') return 0;
    // The signature, the file header and the optional header up to its
    // data directories' count must be there before anything is read.
    uint32_t pe = Le32(head + 0x3C);
    if (pe < 64 || pe > kPeHeadSize || pe + 24 + 112 > (uint32_t)length) return 0;
    const unsigned char* header = head + pe;
    uint32_t magic = Le16(header + 24);
    uint32_t directories = magic == kPeMagic32 ? 96 : magic == kPeMagic64 ? 112 : 0;
    uint32_t optionalSize = Le16(header + 20), sections = Le16(header + 6);
    uint32_t table = pe + 24 + optionalSize;
    // Five directories at least, the security directory being the fifth.
    if (Le32(header) != 0x4550 || directories == 0 || optionalSize < directories + 5 * 8 ||
        Le32(header + 24 + directories - 4) < 5 || table + 40 * sections > (uint32_t)length)
        return 0;
    for (const unsigned char* section = head + table; sections > 0; --sections, section += 40) {
        int64_t end = (int64_t)Le32(section + 20) + Le32(section + 16);
        if (Le32(section + 16) != 0 && end > layout->imageEnd) layout->imageEnd = end;
    }
    layout->header = (int32_t)pe;
    layout->machine = (uint16_t)Le16(header + 4);
    layout->characteristics = (uint16_t)Le16(header + 22);
    layout->magic = (uint16_t)magic;
    layout->checksumField = (int32_t)pe + 88;
    layout->securityField = (int32_t)(pe + 24 + directories + 4 * 8);
    layout->tableOffset = Le32(head + layout->securityField);
    layout->tableSize = Le32(head + layout->securityField + 4);
    return 1;
}

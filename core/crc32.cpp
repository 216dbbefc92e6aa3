// CRC-32: a byte-wise table, and on processors with the carry-less multiply
// (PCLMULQDQ, 2010 and later) a fold of 64 bytes per step, some twenty
// times faster, so that checking a package costs little beside copying it.
#include "core/crc32.h"

static uint32_t Table[256];
static int Ready;  // 0: table not built; 1: built; 2: built, and the fold can be used

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>

// The fold: a 128-bit remainder is multiplied by x^128 (16 bytes on) or
// x^512 (64 bytes on) modulo the polynomial, in two carry-less products
// of its halves, and the next bytes are added. Four remainders in turn
// keep the multiplier busy; they are folded into one, which is folded from
// 128 bits to 64, then to 32, and a Barrett reduction gives the remainder.
// The constants are those powers of x modulo the polynomial P, bit-
// reflected and shifted by one as the reflected product needs:
//   0x154442BD4 = x^(512+32) mod P, 0x1C6E41596 = x^(512-32) mod P;
//   0x1751997D0 = x^(128+32) mod P, 0x0CCAA009E = x^(128-32) mod P;
//   0x163CD6124 = x^64 mod P; 0x1DB710641 = P, 0x1F7011641 = x^64 / P.
// `state` is the inverted register; `blocks` (at least 1) counts 16-byte
// steps.
#define TARNVALE_FOLD __attribute__((target("pclmul,sse2")))

TARNVALE_FOLD static inline __m128i Load(const unsigned char* p) {
    return _mm_loadu_si128((const __m128i*)p);
}

// `x` times the two powers in `k`, its low half by the low one.
TARNVALE_FOLD static inline __m128i Times(__m128i x, __m128i k) {
    return _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11));
}

#ifdef __i386__
// The 32-bit Windows stack is aligned to 4 bytes only.
__attribute__((force_align_arg_pointer))
#endif
TARNVALE_FOLD static uint32_t Fold(uint32_t state, const unsigned char* p, size_t blocks) {
    const __m128i step = _mm_set_epi64x(0x0CCAA009ELL, 0x1751997D0LL);
    __m128i x = _mm_xor_si128(Load(p), _mm_cvtsi32_si128((int)state));
    if (blocks >= 4) {
        const __m128i step4 = _mm_set_epi64x(0x1C6E41596LL, 0x154442BD4LL);
        __m128i y = Load(p + 16), z = Load(p + 32), w = Load(p + 48);
        for (; blocks >= 8; blocks -= 4) {
            p += 64;
            x = _mm_xor_si128(Times(x, step4), Load(p));
            y = _mm_xor_si128(Times(y, step4), Load(p + 16));
            z = _mm_xor_si128(Times(z, step4), Load(p + 32));
            w = _mm_xor_si128(Times(w, step4), Load(p + 48));
        }
        x = _mm_xor_si128(Times(_mm_xor_si128(Times(_mm_xor_si128(Times(x, step), y), step), z), step), w);
        p += 48;
        blocks -= 3;
    }
    while (--blocks) {
        p += 16;
        x = _mm_xor_si128(Times(x, step), Load(p));
    }
    const __m128i low32 = _mm_cvtsi32_si128(-1);
    x = _mm_xor_si128(_mm_srli_si128(x, 8), _mm_clmulepi64_si128(x, step, 0x10));
    x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32),
                                           _mm_set_epi64x(0, 0x163CD6124LL), 0x00),
                      _mm_srli_si128(x, 4));
    const __m128i barrett = _mm_set_epi64x(0x1F7011641LL, 0x1DB710641LL);
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x, low32), barrett, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), barrett, 0x00);
    return (uint32_t)_mm_cvtsi128_si32(_mm_srli_si128(_mm_xor_si128(t, x), 4));
}

static int CanFold() {
    unsigned a, b, c, d;
    return __get_cpuid(1, &a, &b, &c, &d) && (c & bit_PCLMUL) && (d & bit_SSE2);
}
#endif

uint32_t Crc32(uint32_t crc, const void* data, size_t size) {
    const unsigned char* p = (const unsigned char*)data;
    if (!Ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
            Table[i] = c;
        }
        Ready = 1;
#if defined(__i386__) || defined(__x86_64__)
        Ready += CanFold();
#endif
    }
    crc = ~crc;
#if defined(__i386__) || defined(__x86_64__)
    if (Ready == 2 && size >= 32) {
        crc = Fold(crc, p, size / 16);
        p += size & ~(size_t)15;
        size &= 15;
    }
#endif
    while (size--) crc = Table[(crc ^ *p++) & 255] ^ (crc >> 8);
    return ~crc;
}

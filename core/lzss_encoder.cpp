// LZSS encoder: hashed 3-byte prefixes, 4096-byte window, matches of 3..18.
//
// The search is defined by plain steps, and every detail of them shapes
// the bytes written. A position's bucket is (b0 ^ b1 << 4 ^ b2 << 8) mod
// 1001 cut to 8 bits, over its first three bytes. Each bucket lists its
// positions newest first and counts those still in the window. A search
// at s visits the newest min(count, maxChain) positions of its bucket,
// compares a candidate only when it has the byte that would make it longer
// than the best so far (the quick test), and keeps the first of the longest
// (strict comparison: the nearest of equally long matches wins); a length
// below 3 is no match. The last group is written even when empty.
//
// EncodeStream finds the very same matches on an index of its own
// (MatchIndex), many times faster than walking the buckets:
//
// - Which candidates count. A candidate changes the result only when it
//   beats the best so far, so it must share at least three bytes with s,
//   and once the best is b, b + 1 bytes. A bucket's positions in the
//   window are its newest insertions (positions leave the window oldest
//   first), so a candidate lies within the budget exactly when fewer than
//   maxChain positions entered its bucket after it. Every position carries
//   its insertion number within its bucket for that test.
// - Where they are found. Chains link the positions whose first 3, 4 and 8
//   bytes hash alike, newest first. A search takes the newest position with
//   the three bytes of s, then walks the 4-byte chain while the best is
//   below 7 and the 8-byte chain after that. It meets every candidate that
//   could beat the best, in the bucket's order, and ends with the same
//   match.
// - Why the keys stay valid. A position is inserted once the look-ahead
//   has written the bytes behind it (its keys read eight), and those bytes,
//   with the mirror cells at the wrap, are overwritten only when the write
//   position reaches them, after the position has left the window. So a
//   search meets every position with the bytes it was indexed by; after the
//   end of the input nothing is written any more.
#include "core/lzss_encoder.h"

#include <string.h>

enum {
    kMask = kLzssRingSize - 1,
    kUsedBuckets = 256,      // the bucket index is cut to 8 bits
    kCheckAfter = 16         // chain steps before the budget is checked on the way
};

static inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    memcpy(&v, p, 8);
    return v;
}

// Number of equal leading bytes of a and b, at most 18. Both point into the
// ring at positions 0..4095, so with the mirror cells every byte read lies
// inside it. Word compares assume a little-endian machine (x86).
static inline int MatchLength(const uint8_t* a, const uint8_t* b) {
    uint64_t x = Load64(a) ^ Load64(b);
    if (x) return __builtin_ctzll(x) >> 3;
    x = Load64(a + 8) ^ Load64(b + 8);
    if (x) return 8 + (__builtin_ctzll(x) >> 3);
    if (a[16] != b[16]) return 16;
    if (a[17] != b[17]) return 17;
    return kLzssMaxMatch;
}

namespace {

// The bucket for every value of the mixed bytes, b0 ^ b1 << 4 ^ b2 << 8
// (below 65536), worked out when compiling: 64 KB of constants.
struct BucketTable {
    uint8_t of[65536];
    constexpr BucketTable() : of() {
        for (unsigned v = 0; v < 65536; ++v) of[v] = (uint8_t)((v % kLzssBuckets) & 0xFF);
    }
};
constexpr BucketTable kBucketOf;

// The bucket of a position from its first bytes, loaded as one word.
inline int BucketOfKey(uint64_t key) {
    return kBucketOf.of[(key & 0xFF) ^ ((key >> 4) & 0xFF0) ^ ((key >> 8) & 0xFF00)];
}

const uint64_t kFirst3 = 0xFFFFFFull, kFirst4 = 0xFFFFFFFFull;

// Stream positions count insertions from 0 and wrap at 2^32, like the
// stream's 32-bit length; a ring position is the low 12 bits of one.
template <int kBits>
struct Chains {
    uint32_t head[1 << kBits];        // newest stream position per hash, 0xFFFFFFFF none
    uint32_t next[kLzssRingSize];     // by ring position: the one inserted before, same hash

    static unsigned Hash(uint64_t prefix) {
        return (unsigned)((prefix * 0x9E3779B97F4A7C15ull) >> (64 - kBits));
    }
};

// About 300 KB, on the stack of EncodeStream. The 3-byte heads are the
// most: a search that finds no match walks that whole chain, so it pays
// for every hash collision there.
struct MatchIndex {
    Chains<15> by3;
    Chains<14> by4, by8;
    uint16_t number[kLzssRingSize];   // by ring position: insertion number within its bucket
    uint16_t inserted[kUsedBuckets];  // insertions per bucket, modulo 2^16
};

// The window as stream positions: `last` is the newest inserted one and
// the `span` newest ones are inside (at most 4096). An empty head lies
// outside for any stream shorter than 4 GiB.
struct Window {
    uint32_t last;
    uint32_t span;
    bool Holds(uint32_t q) const { return last - q < span; }
};

static inline void Store64(uint8_t* p, uint64_t v) { memcpy(p, &v, 8); }

// Copies n bytes, 1 <= n <= 18, in a few word moves that may overlap each
// other but never pass dst + n.
inline void CopyShort(uint8_t* dst, const uint8_t* src, int n) {
    if (n >= 8) {
        Store64(dst, Load64(src));
        if (n > 16) Store64(dst + 8, Load64(src + 8));
        Store64(dst + n - 8, Load64(src + n - 8));
    } else if (n >= 4) {
        uint32_t head, tail;
        memcpy(&head, src, 4);
        memcpy(&tail, src + n - 4, 4);
        memcpy(dst, &head, 4);
        memcpy(dst + n - 4, &tail, 4);
    } else {
        for (int i = 0; i < n; ++i) dst[i] = src[i];
    }
}

inline void Insert(const uint8_t* ring, MatchIndex* x, int p, uint32_t q) {
    uint64_t key = Load64(ring + p);  // bytes p..p+7: inside the ring with its mirror cells
    x->number[p] = x->inserted[BucketOfKey(key)]++;
    unsigned h3 = x->by3.Hash(key & kFirst3), h4 = x->by4.Hash(key & kFirst4), h8 = x->by8.Hash(key);
    x->by3.next[p] = x->by3.head[h3];
    x->by3.head[h3] = q;
    x->by4.next[p] = x->by4.head[h4];
    x->by4.head[h4] = q;
    x->by8.next[p] = x->by8.head[h8];
    x->by8.head[h8] = q;
}

// What one search knows about s.
struct Probe {
    const uint8_t* ring;
    const uint8_t* here;
    const uint16_t* number;
    uint64_t key;
    Window window;
    uint16_t newest;  // insertion number of the newest position of the bucket of s
    int budget;

    // Whether more than `budget` positions entered the bucket of s after
    // position r, which must share the bucket (its first three bytes).
    bool BeyondBudget(int r) const { return (uint16_t)(newest - number[r]) >= budget; }
};

// Walks one chain from stream position q, newest first, and takes every
// candidate longer than *best while *best is below `until`. Returns false
// when the search is over: the window or the budget has run out.
inline bool Walk(const Probe& at, const uint32_t* next, uint32_t q, int until, int* best, int* pos) {
    int length = *best;
    if (length >= until) return true;
    uint8_t want = at.here[length];  // the byte a longer candidate must have
    int unchecked = kCheckAfter, rounds = kLzssRingSize / kCheckAfter;
    while (at.window.Holds(q)) {
        int r = (int)(q & kMask);
        const uint8_t* there = at.ring + r;
        uint32_t distance = at.window.last - q;
        q = next[r];
        if (there[length] == want) {
            int n = MatchLength(at.here, there);
            if (n > length) {
                // Longer than 2, so in the bucket of s: its number applies.
                if (at.BeyondBudget(r)) return false;
                length = n;
                *best = n;
                *pos = r;
                if (n >= until) return true;
                want = at.here[n];
            }
        }
        // Every so often: a long chain that runs past the budget ends soon
        // after the first position of the bucket beyond it, not at the end
        // of the window; and no chain holds more than the window.
        if (--unchecked < 0) {
            unchecked = kCheckAfter;
            if (--rounds < 0) return false;
            if (distance >= (uint32_t)at.budget && ((Load64(there) ^ at.key) & kFirst3) == 0 &&
                at.BeyondBudget(r))
                return false;
        }
    }
    return false;
}

// The newest position in the window with the same first three bytes as
// `key`: the first candidate of the plain walk that can pass length 2.
// Returns its stream position, or one outside the window when there is none.
inline uint32_t NewestTriple(const uint8_t* ring, const MatchIndex& x, uint64_t key, Window window) {
    uint32_t q = x.by3.head[x.by3.Hash(key & kFirst3)];
    int left = kLzssRingSize;  // no chain holds more than the window
    while (window.Holds(q) && ((Load64(ring + (q & kMask)) ^ key) & kFirst3) != 0 && --left >= 0)
        q = x.by3.next[q & kMask];
    return left >= 0 ? q : window.last + 1;
}

// The rest of the search at s once NewestTriple found `first` in the
// window, with the budget worked out from maxChain: returns
// the match length and sets *matchPos when it is 3 or more (a length of 2
// means no usable match). Kept out of line so that the coder's loop and the
// chain walks each get the registers to themselves.
__attribute__((noinline)) int Extend(const uint8_t* ring, const MatchIndex& x, int s, Window window,
                                     int budget, uint32_t first, int* matchPos) {
    const uint8_t* here = ring + s;
    const uint64_t key = Load64(here);
    int pos = (int)(first & kMask);
    Probe at = {ring, here, x.number, key, window, (uint16_t)(x.inserted[BucketOfKey(key)] - 1), budget};
    if (at.BeyondBudget(pos)) return 2;
    int best = MatchLength(here, ring + pos);

    // Then the chain of the first 4 bytes while a winner needs at most 7,
    // the chain of the first 8 bytes after that, until 18. A chain goes on
    // from the best so far when that shares its bytes, else from its head:
    // nothing newer on it could have beaten the best.
    bool more = true;
    if (best < 7)
        more = Walk(at, x.by4.next, best >= 4 ? x.by4.next[pos] : x.by4.head[x.by4.Hash(key & kFirst4)], 7,
                    &best, &pos);
    if (more && best < kLzssMaxMatch)
        Walk(at, x.by8.next, best >= 8 ? x.by8.next[pos] : x.by8.head[x.by8.Hash(key)], kLzssMaxMatch,
             &best, &pos);
    *matchPos = pos;
    return best;
}

}  // namespace

LzssEncoder::LzssEncoder() : maxChain(kLzssMaxChain), inPos(0), inEnd(0), outPos(0) {
    memset(&inStream, 0, sizeof(inStream));
    memset(&outStream, 0, sizeof(outStream));
}

int LzssEncoder::PackFile(const char* source, const char* target) {
    FileHandle in = FileOpenRead(source);
    if (in == kNoFile) return 0;
    FileHandle out = FileCreate(target);
    if (out == kNoFile) {
        FileClose(in);
        return 0;
    }
    LzssFileReader(&inStream, &in);
    LzssFileWriter(&outStream, &out);
    EncodeStream();
    FileClose(in);
    FileClose(out);
    return 1;
}

int LzssEncoder::FillInput() {
    inPos = 0;
    inEnd = LzssReadBlock(inStream, inBlock, kLzssInBlock);
    return inEnd;
}

void LzssEncoder::FlushOutput() {
    if (outPos > 0) outStream.transfer(outStream.context, outBlock, outPos);
    outPos = 0;
}

void LzssEncoder::Emit(const uint8_t* group, int size) {
    memcpy(outBlock + outPos, group, (size_t)size);
    outPos += size;
    if (outPos >= kLzssOutBlock) FlushOutput();
}

void LzssEncoder::EncodeStream() {
    inPos = inEnd = 0;
    outPos = 0;
    uint32_t length = inStream.length < 0 ? 0 : (uint32_t)inStream.length;
    for (int i = 0; i < kLzssHeaderSize; ++i) outBlock[outPos++] = (uint8_t)(length >> (8 * i));

    // A zeroed ring and an empty index: nothing of an earlier stream counts.
    memset(ring, 0, sizeof(ring));
    MatchIndex index;
    memset(index.by3.head, 0xFF, sizeof(index.by3.head));
    memset(index.by4.head, 0xFF, sizeof(index.by4.head));
    memset(index.by8.head, 0xFF, sizeof(index.by8.head));
    memset(index.inserted, 0, sizeof(index.inserted));

    int look = 0;
    while (look < kLzssMaxMatch) {
        if (inPos == inEnd && FillInput() == 0) break;
        uint8_t b = inBlock[inPos++];
        ring[look] = ring[kLzssRingSize + look] = b;
        look++;
    }
    // The coder's state lives in locals; byte stores into the ring would
    // otherwise make the compiler reload members after each one.
    const int budget = maxChain < 0 ? (int)kLzssRingSize : maxChain;
    uint32_t read = (uint32_t)look;  // input bytes read
    uint32_t coded = 0;              // positions inserted so far
    int s = 0, w = look;
    bool eof = look < kLzssMaxMatch;
    int len = 0, pos = 0;            // no match yet: the first token is a literal
    uint8_t group[1 + 8 * 2];        // flag byte and eight tokens
    int groupLen = 1;
    unsigned mask = 0x80;
    group[0] = 0;

    while (look > 0) {
        if (len > look) len = look;
        if (len < kLzssMinMatch) {
            group[0] |= (uint8_t)mask;
            group[groupLen++] = ring[s];
            len = 1;
        } else {
            group[groupLen++] = (uint8_t)(pos >> 4);
            group[groupLen++] = (uint8_t)(((pos & 0x0F) << 4) | (len - kLzssMinMatch));
        }
        mask >>= 1;
        if (mask == 0) {
            Emit(group, groupLen);
            group[0] = 0;
            groupLen = 1;
            mask = 0x80;
        }
        // The next search starts at s + len with a look at this head; ask
        // for it now, while the token is read and indexed.
        __builtin_prefetch(&index.by3.head[index.by3.Hash(Load64(ring + ((s + len) & kMask)) & kFirst3)]);
        // Read the token's bytes behind the look-ahead, then index the
        // positions it covers. Inserting after all the reads sees the same
        // bytes: the writes land at least 18 positions ahead.
        if (len == 1 && !eof && inPos < inEnd) {
            // A literal, most tokens.
            uint8_t b = inBlock[inPos++];
            read++;
            ring[w] = b;
            if (w < kLzssMaxMatch) ring[kLzssRingSize + w] = b;
            w = (w + 1) & kMask;
            Insert(ring, &index, s, coded++);
            s = (s + 1) & kMask;
        } else {
            if (!eof && inEnd - inPos >= len && w >= kLzssMaxMatch && w + len <= kLzssRingSize) {
                CopyShort(ring + w, inBlock + inPos, len);
                inPos += len;
                read += (uint32_t)len;
                w = (w + len) & kMask;
            } else {
                for (int i = 0; i < len; ++i) {
                    if (!eof && inPos == inEnd && FillInput() == 0) eof = true;
                    if (eof) {
                        look--;
                    } else {
                        uint8_t b = inBlock[inPos++];
                        read++;
                        ring[w] = b;
                        if (w < kLzssMaxMatch) ring[kLzssRingSize + w] = b;
                    }
                    w = (w + 1) & kMask;
                }
            }
            for (int i = 0; i < len; ++i) {
                Insert(ring, &index, s, coded++);
                s = (s + 1) & kMask;
            }
        }
        // Past 4096 bytes read, each byte read has pushed the oldest
        // position out of the window.
        uint32_t oldest = read > kLzssRingSize ? read - kLzssRingSize : 0;
        Window window = {coded - 1, coded - oldest};
        // The search at s: most end at the first look.
        uint32_t first = NewestTriple(ring, index, Load64(ring + s), window);
        len = budget == 0 || !window.Holds(first) ? 2 : Extend(ring, index, s, window, budget, first, &pos);
    }
    Emit(group, groupLen);
    FlushOutput();
}

// LZSS encoder: hashed 3-byte prefixes, 4096-byte window, matches of 3..18.
//
// Every detail here shapes the exact bytes written: the bucket index cut to
// 8 bits, the 1024-candidate budget, the quick test on the byte after the
// best match so far, the strict comparison (the nearest of equally long
// matches wins) and the final group written even when empty.
//
// HashAt, InsertPosition, RemovePosition and FindLongestMatch do these steps
// plainly on the bucket tables. EncodeStream finds the very same matches on
// an index of its own (MatchIndex), several times faster:
//
// - Which candidates count. The plain search visits the newest
//   min(bucket count, maxChain) positions of the bucket of s, newest first,
//   and keeps the first of the longest. A candidate changes the result only
//   when it beats the best so far, so it must share at least three bytes
//   with s, and once the best is b, b + 1 bytes. A bucket's positions in
//   the window are its newest insertions (positions leave the window oldest
//   first), so a candidate lies within the budget exactly when fewer than
//   maxChain positions entered its bucket after it. Every position carries
//   its insertion number within its bucket for that test.
// - Where they are found. Chains link the positions whose first 3, 4 and 8
//   bytes hash alike, newest first. A search takes the newest position with
//   the three bytes of s, then walks the 4-byte chain while the best is
//   below 7 and the 8-byte chain after that. It meets every candidate that
//   could beat the best, in the plain order, and ends with the same
//   (matchPos, matchLen).
// - Why the keys stay valid. A position is inserted once the look-ahead
//   has written the bytes behind it (its keys read eight), and those bytes,
//   with the mirror cells at the wrap, are overwritten only when the write
//   position reaches them, after the position has left the window. So a
//   search meets every position with the bytes it was indexed by; after the
//   end of the input nothing is written any more. The same holds for the
//   three bytes of the plain steps, so insertion and removal hash alike.
#include <string.h>

#include "core/lzss_codec.h"

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

int LzssCodec::HashAt(int p) {
    unsigned v = (unsigned)ring[p] ^ ((unsigned)ring[p + 1] << 4) ^ ((unsigned)ring[p + 2] << 8);
    lastBucket = (int16_t)((v % kLzssBuckets) & 0xFF);
    return lastBucket;
}

void LzssCodec::InsertPosition(int p) {
    int b = HashAt(p);
    prevInBucket[p] = bucketHead[b];
    bucketHead[b] = (int16_t)p;
    bucketCount[b]++;
}

void LzssCodec::RemovePosition(int p) { bucketCount[HashAt(p)]--; }

void LzssCodec::FindLongestMatch(int s) {
    int b = HashAt(s);
    int best = 2;
    int n = bucketCount[b];
    int p = bucketHead[b];
    int budget = maxChain;
    const uint8_t* here = ring + s;
    while (--n >= 0) {
        if (budget == 0) break;
        --budget;
        const uint8_t* there = ring + p;
        if (there[best] == here[best]) {
            int length = MatchLength(here, there);
            if (length > best) {
                matchPos = (int16_t)p;
                best = length;
                if (length == kLzssMaxMatch) break;
            }
        }
        p = prevInBucket[p];
    }
    matchLen = (int16_t)best;
}

namespace {

// HashAt's bucket for every value of the mixed bytes, b0 ^ b1 << 4 ^
// b2 << 8 (below 65536), worked out when compiling: 64 KB of constants.
struct BucketTable {
    uint8_t of[65536];
    constexpr BucketTable() : of() {
        for (unsigned v = 0; v < 65536; ++v) of[v] = (uint8_t)((v % kLzssBuckets) & 0xFF);
    }
};
constexpr BucketTable kBucketOf;

// HashAt's bucket from the first bytes of a position, loaded as one word.
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

// The rest of FindLongestMatch(s) on the index once NewestTriple found
// `first` in the window, with the budget worked out from maxChain: returns
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

void LzssCodec::EmitGroup() {
    memcpy(window + winPos, codeBuf, codeLen);
    winPos += codeLen;
    if (winPos >= kLzssRingSize + kLzssOutBlock) FlushOutput();
}

void LzssCodec::EncodeStream() {
    // The output staging area is the decoder's window, past its history.
    winPos = kLzssRingSize;
    inPos = inEnd = 0;
    int64_t length = inStream.length < 0 ? 0 : inStream.length;
    decodedLength = (uint32_t)length;
    for (int i = 0; i < 4; ++i) window[winPos++] = (uint8_t)(decodedLength >> (8 * i));

    // The bucket tables start empty for the plain steps; the coder below
    // keeps its own index and leaves them so.
    memset(ring, 0, sizeof(ring));
    for (int i = 0; i < kLzssBuckets; ++i) {
        bucketHead[i] = -1;
        bucketCount[i] = 0;
    }
    MatchIndex index;
    memset(index.by3.head, 0xFF, sizeof(index.by3.head));
    memset(index.by4.head, 0xFF, sizeof(index.by4.head));
    memset(index.by8.head, 0xFF, sizeof(index.by8.head));
    memset(index.inserted, 0, sizeof(index.inserted));

    int look = 0;
    while (look < kLzssMaxMatch) {
        int b = NextInputByte();
        if (b < 0) break;
        ring[look] = ring[kLzssRingSize + look] = (uint8_t)b;
        look++;
    }
    // The coder's state lives in locals here and goes back into the members
    // at the end; byte stores into the ring would otherwise make the
    // compiler reload every member after each one.
    const int budget = maxChain < 0 ? (int)kLzssRingSize : (int)maxChain;
    uint32_t read = (uint32_t)look;  // bytesRead
    uint32_t coded = 0;              // positions inserted so far
    int s = 0, w = look;
    bool eof = look < kLzssMaxMatch;
    int len = 0, pos = matchPos;     // matchLen 0: the first token is a literal
    uint8_t group[sizeof(codeBuf)];
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
            memcpy(codeBuf, group, (size_t)groupLen);
            codeLen = (uint8_t)groupLen;
            EmitGroup();
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
        // FindLongestMatch(s): most searches end at the first look.
        uint32_t first = NewestTriple(ring, index, Load64(ring + s), window);
        len = budget == 0 || !window.Holds(first) ? 2 : Extend(ring, index, s, window, budget, first, &pos);
    }
    matchLen = (int16_t)len;
    matchPos = (int16_t)pos;
    memcpy(codeBuf, group, (size_t)groupLen);
    codeLen = (uint8_t)groupLen;
    codeMask = (uint8_t)mask;
    HashAt(s);  // the last hash of the plain steps: the final search's
    bytesRead = (int32_t)read;
    EmitGroup();
    FlushOutput();
}

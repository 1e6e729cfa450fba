#pragma once
// Layout of the English-Chinese dictionary files mvxdictec.idx / mvxdictec.lib, shared by
// the builder (tools/dictbuild) and the reader (EcDictionary). All integers little-endian.
// tools/dictbuild/README.md describes the format in prose.
#include <cstdint>
#include <cstring>

namespace mvx::ecdict {

inline constexpr char IdxMagic[8] = {'M', 'V', 'X', 'D', 'I', 'D', 'X', '1'};
inline constexpr char LibMagic[8] = {'M', 'V', 'X', 'D', 'L', 'I', 'B', '1'};
inline constexpr uint32_t FormatVersion = 1;
inline constexpr uint32_t MaxSuggestLength = 48; // suggestion buckets by key length 0..47

// Head of the .idx file. Sections follow at the given offsets.
struct IdxHeader
{
    char magic[8];
    uint32_t version;
    uint32_t stamp;          // equal to LibHeader::stamp: the two files belong together
    uint32_t keyCount;
    uint32_t keyTableOffset; // keyCount x KeyRecord, sorted by folded key bytes
    uint32_t keyPoolOffset;  // NUL-terminated folded keys (UTF-8)
    uint32_t keyPoolSize;
    uint32_t suggestOffset;  // suggestCount x SuggestRecord, grouped by key length
    uint32_t suggestCount;
    uint32_t bucketOffset;   // (MaxSuggestLength + 1) x uint32: first suggest record of each length
    uint32_t reserved;
    uint64_t libSize;        // size of the matching .lib file
};
static_assert(sizeof(IdxHeader) == 56);

struct KeyRecord
{
    uint32_t keyOffset; // into the key pool
    uint32_t libOffset; // record in the .lib file
};

// A common single word offered as a "nearest spelling".
struct SuggestRecord
{
    uint32_t keyIndex; // into the key table
    uint32_t rank;     // lower = more common
    uint32_t letters;  // LetterMask of the key: a cheap lower bound of the edit distance
};

// One bit per distinct letter a-z, '-' and '\''. Every edit adds or removes at most one
// distinct letter on each side, so the edit distance is at least the larger count of
// letters that only one of two words has.
inline uint32_t LetterMask(const char *s, int len)
{
    uint32_t m = 0;
    for (int i = 0; i < len; ++i) {
        const char c = s[i];
        if (c >= 'a' && c <= 'z')
            m |= 1u << (c - 'a');
        else if (c == '-')
            m |= 1u << 26;
        else if (c == '\'')
            m |= 1u << 27;
        else
            m |= 1u << 28;
    }
    return m;
}

struct LibHeader
{
    char magic[8];
    uint32_t version;
    uint32_t stamp;
};
static_assert(sizeof(LibHeader) == 16);

// A .lib record:
//   u8 flags (FlagHasEntry)
//   when FlagHasEntry: six strings  head word, phonetic, translation (lines split by '\n'),
//                      part-of-speech shares, exam tags, exchange (ECDICT "p:went/d:gone/...")
//                      then u8 collins, u8 oxford, u32 rank
//   u8 base count, then per base: string base head word, string form codes ("p", "dp", "" unknown)
// A string is u16 byte length + UTF-8 bytes.
inline constexpr uint8_t FlagHasEntry = 1;

inline uint16_t ReadU16(const unsigned char *p)
{
    return uint16_t(p[0] | (p[1] << 8));
}
inline uint32_t ReadU32(const unsigned char *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

} // namespace mvx::ecdict

#include "graphics/AlphaBlendRow.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define STRATA_ALPHA_ROW_X86 1
#endif

namespace Strata::Internal
{

namespace
{

constexpr int kCopyFrom = 240; // this alpha and above draw the source pixel as it is
constexpr int kKeepBelow = 16; // below this alpha the target stays

// The rule itself, one byte at a time: the reference the faster rows are held to.
void AlphaRowBytes(Color32* d, const Color32* s, int count)
{
    const auto toward = [](int target, int source, int factor)
    { return static_cast<uint8_t>(target + ((factor * (source - target)) >> 8)); };
    for (int i = 0; i < count; ++i)
    {
        const Color32 source = s[i];
        if (source.a >= kCopyFrom)
        {
            d[i] = source;
        }
        else if (source.a >= kKeepBelow)
        {
            const int k = source.a + 1;
            const Color32 target = d[i];
            d[i] = Color32(toward(target.r, source.r, k), toward(target.g, source.g, k), toward(target.b, source.b, k),
                           255);
        }
    }
}

// Pixels as native words; only the alpha byte's place depends on the byte order.
constexpr uint32_t kAlphaWord = std::bit_cast<uint32_t>(Color32(0, 0, 0, 255));
constexpr int kAlphaShift = std::countr_zero(kAlphaWord);

// Two bytes per multiplication, each in a 16-bit lane. Per channel (s k + d (256 - k)) >> 8 equals
// d + ((k (s - d)) >> 8) exactly, and at most 255 * 256 it never spills into the next lane.
inline uint32_t MixWords(uint32_t d, uint32_t s, uint32_t k)
{
    const uint32_t inverse = 256 - k;
    const uint32_t even = (((s & 0x00FF00FFu) * k + (d & 0x00FF00FFu) * inverse) >> 8) & 0x00FF00FFu;
    const uint32_t odd = (((s >> 8) & 0x00FF00FFu) * k + ((d >> 8) & 0x00FF00FFu) * inverse) & 0xFF00FF00u;
    return even | odd | kAlphaWord;
}

// Whole words, every pixel computed and then chosen, so that mixed alpha costs no mispredicted branches.
void AlphaRowWords(Color32* d, const Color32* s, int count)
{
    for (int i = 0; i < count; ++i)
    {
        uint32_t source;
        uint32_t target;
        std::memcpy(&source, s + i, sizeof(source));
        std::memcpy(&target, d + i, sizeof(target));
        const uint32_t a = (source >> kAlphaShift) & 0xFFu;
        const uint32_t mixed = MixWords(target, source, a + 1);
        const uint32_t chosen = a >= kCopyFrom ? source : (a >= kKeepBelow ? mixed : target);
        std::memcpy(static_cast<void*>(d + i), &chosen, sizeof(chosen));
    }
}

#if STRATA_ALPHA_ROW_X86

// SSE2 is on every x86-64. Per channel the rule is d + ((k (s - d)) >> 8): bits 8 to 15 of a 16-bit
// multiplication are those of the full product, so one multiplication per channel does, and adding the
// result's low byte to the target's wraps to the right byte. A factor k of 0 keeps the target and one of 256
// copies the source, so only the alpha of a mixed pixel, always 255, is set apart. The factors of eight
// pixels are worked out in one vector, one 16-bit lane per pixel.

// Four pixels with their factors (the same in both 16-bit lanes of a pixel) and the alpha bytes to set.
__attribute__((target("sse2"), always_inline)) inline __m128i MixFour(__m128i source, __m128i target, __m128i factors,
                                                                      __m128i opaque)
{
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    const __m128i highBytes = _mm_set1_epi16(static_cast<short>(0xFF00));
    const __m128i even = _mm_srli_epi16(
        _mm_mullo_epi16(_mm_sub_epi16(_mm_and_si128(source, lowBytes), _mm_and_si128(target, lowBytes)), factors), 8);
    const __m128i odd = _mm_and_si128(
        _mm_mullo_epi16(_mm_sub_epi16(_mm_srli_epi16(source, 8), _mm_srli_epi16(target, 8)), factors), highBytes);
    return _mm_or_si128(_mm_add_epi8(target, _mm_or_si128(even, odd)), opaque);
}

// Eight pixels sorted by their alphas: 16 or more mix, 240 or more copy, the rest keep the target.
struct sEightAlphas
{
    __m128i alphas;
    __m128i mixes;
    __m128i copies;
    __m128i blends; // mixes but does not copy

    __attribute__((target("sse2"), always_inline)) sEightAlphas(__m128i first, __m128i second)
        : alphas(_mm_packs_epi32(_mm_srli_epi32(first, 24), _mm_srli_epi32(second, 24))),
          mixes(_mm_cmpgt_epi16(alphas, _mm_set1_epi16(kKeepBelow - 1))),
          copies(_mm_cmpgt_epi16(alphas, _mm_set1_epi16(kCopyFrom - 1))), blends(_mm_andnot_si128(copies, mixes))
    {
    }
};

__attribute__((target("sse2"), always_inline)) inline void MixEight(Color32* d, __m128i first, __m128i second,
                                                                    const sEightAlphas& sorted)
{
    // alpha + 1, or 255 + 1 where the pixel copies, or 0 where it keeps.
    const __m128i factors = _mm_and_si128(
        _mm_add_epi16(_mm_max_epi16(sorted.alphas, _mm_srli_epi16(sorted.copies, 8)), _mm_set1_epi16(1)), sorted.mixes);
    const __m128i opaque = _mm_and_si128(sorted.blends, _mm_set1_epi16(static_cast<short>(0xFF00)));
    const __m128i zero = _mm_setzero_si128();
    __m128i* target = reinterpret_cast<__m128i*>(d);
    _mm_storeu_si128(target, MixFour(first, _mm_loadu_si128(target), _mm_unpacklo_epi16(factors, factors),
                                     _mm_unpacklo_epi16(zero, opaque)));
    _mm_storeu_si128(target + 1, MixFour(second, _mm_loadu_si128(target + 1), _mm_unpackhi_epi16(factors, factors),
                                         _mm_unpackhi_epi16(zero, opaque)));
}

__attribute__((target("sse2"))) void AlphaRowSse2(Color32* d, const Color32* s, int count)
{
    const auto load = [s](int i) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)); };
    int i = 0;
    for (; i + 16 <= count; i += 16)
    {
        const __m128i s0 = load(i);
        const __m128i s1 = load(i + 4);
        const __m128i s2 = load(i + 8);
        const __m128i s3 = load(i + 12);
        const sEightAlphas first(s0, s1);
        const sEightAlphas second(s2, s3);
        // Drawn art is mostly runs of pixels that are copied or kept: sixteen of either cost no blending.
        if (_mm_movemask_epi8(_mm_or_si128(first.blends, second.blends)) == 0)
        {
            const int copied = _mm_movemask_epi8(_mm_packs_epi16(first.copies, second.copies));
            if (copied == 0)
                continue;
            if (copied == 0xFFFF)
            {
                __m128i* target = reinterpret_cast<__m128i*>(d + i);
                _mm_storeu_si128(target, s0);
                _mm_storeu_si128(target + 1, s1);
                _mm_storeu_si128(target + 2, s2);
                _mm_storeu_si128(target + 3, s3);
                continue;
            }
        }
        MixEight(d + i, s0, s1, first);
        MixEight(d + i + 8, s2, s3, second);
    }
    if (i + 8 <= count)
    {
        const __m128i s0 = load(i);
        const __m128i s1 = load(i + 4);
        MixEight(d + i, s0, s1, sEightAlphas(s0, s1));
        i += 8;
    }
    AlphaRowWords(d + i, s + i, count - i);
}

// Eight pixels at once.
// Eight pixels of the rule at once.
__attribute__((target("avx2"), always_inline)) inline __m256i AlphaBlock(__m256i source, __m256i target)
{
    const __m256i lowBytes = _mm256_set1_epi32(0x00FF00FF);
    const __m256i a = _mm256_srli_epi32(source, 24);
    const __m256i k = _mm256_add_epi16(_mm256_or_si256(a, _mm256_slli_epi32(a, 16)), _mm256_set1_epi16(1));
    const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(256), k);
    const __m256i even =
        _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(source, lowBytes), k),
                                           _mm256_mullo_epi16(_mm256_and_si256(target, lowBytes), inverse)),
                          8);
    const __m256i odd =
        _mm256_andnot_si256(lowBytes, _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(source, 8), k),
                                                       _mm256_mullo_epi16(_mm256_srli_epi16(target, 8), inverse)));
    const __m256i mixed = _mm256_or_si256(_mm256_or_si256(even, odd), _mm256_set1_epi32(static_cast<int>(kAlphaWord)));
    const __m256i blended = _mm256_blendv_epi8(target, mixed, _mm256_cmpgt_epi32(a, _mm256_set1_epi32(kKeepBelow - 1)));
    return _mm256_blendv_epi8(blended, source, _mm256_cmpgt_epi32(a, _mm256_set1_epi32(kCopyFrom - 1)));
}

__attribute__((target("avx2"))) void AlphaRowAvx2(Color32* d, const Color32* s, int count)
{
    int i = 0;
    for (; i + 8 <= count; i += 8)
    {
        const __m256i source = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i target = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), AlphaBlock(source, target));
    }
    // The last few pixels as one masked block: short rows (the spans of a turned picture) are common.
    if (i < count)
    {
        const __m256i mask =
            _mm256_cmpgt_epi32(_mm256_set1_epi32(count - i), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
        const __m256i source = _mm256_maskload_epi32(reinterpret_cast<const int*>(s + i), mask);
        const __m256i target = _mm256_maskload_epi32(reinterpret_cast<const int*>(d + i), mask);
        _mm256_maskstore_epi32(reinterpret_cast<int*>(d + i), mask, AlphaBlock(source, target));
    }
}

#endif

// The vector rows read a block of source pixels before they write the target's: a target just ahead of
// its source in the same pixels would read pixels it has already drawn, so that row goes one at a time.
template <AlphaRowFunction Row>
void UnlessOverlapping(Color32* d, const Color32* s, int count)
{
    const std::less<const Color32*> before;
    if (count > 0 && before(s, d) && before(d, s + count))
    {
        AlphaRowWords(d, s, count);
        return;
    }
    Row(d, s, count);
}

} // namespace

std::vector<AlphaRowVariant> GetAlphaRowVariants()
{
    std::vector<AlphaRowVariant> variants{{"bytes", &AlphaRowBytes}, {"words", &AlphaRowWords}};
#if STRATA_ALPHA_ROW_X86
    __builtin_cpu_init();
    if (__builtin_cpu_supports("sse2"))
        variants.push_back({"sse2", &UnlessOverlapping<&AlphaRowSse2>});
    if (__builtin_cpu_supports("avx2"))
        variants.push_back({"avx2", &UnlessOverlapping<&AlphaRowAvx2>});
#endif
    return variants;
}

AlphaRowFunction GetAlphaRow()
{
    static const AlphaRowFunction fastest = GetAlphaRowVariants().back().row;
    return fastest;
}

} // namespace Strata::Internal

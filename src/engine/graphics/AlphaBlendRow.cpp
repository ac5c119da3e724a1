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

// The word arithmetic above on four pixels at once; SSE2 is on every x86-64.
__attribute__((target("sse2"))) void AlphaRowSse2(Color32* d, const Color32* s, int count)
{
    const __m128i lowBytes = _mm_set1_epi32(0x00FF00FF);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(kAlphaWord));
    const __m128i one = _mm_set1_epi16(1);
    const __m128i all = _mm_set1_epi16(256);
    const __m128i mixAbove = _mm_set1_epi32(kKeepBelow - 1);
    const __m128i copyAbove = _mm_set1_epi32(kCopyFrom - 1);
    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
        const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i target = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i a = _mm_srli_epi32(source, 24);
        const __m128i k = _mm_add_epi16(_mm_or_si128(a, _mm_slli_epi32(a, 16)), one);
        const __m128i inverse = _mm_sub_epi16(all, k);
        const __m128i even = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(source, lowBytes), k),
                                                          _mm_mullo_epi16(_mm_and_si128(target, lowBytes), inverse)),
                                            8);
        const __m128i odd =
            _mm_andnot_si128(lowBytes, _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(source, 8), k),
                                                     _mm_mullo_epi16(_mm_srli_epi16(target, 8), inverse)));
        const __m128i mixed = _mm_or_si128(_mm_or_si128(even, odd), alpha);
        const __m128i mix = _mm_cmpgt_epi32(a, mixAbove);
        const __m128i copy = _mm_cmpgt_epi32(a, copyAbove);
        const __m128i blended = _mm_or_si128(_mm_and_si128(mix, mixed), _mm_andnot_si128(mix, target));
        const __m128i chosen = _mm_or_si128(_mm_and_si128(copy, source), _mm_andnot_si128(copy, blended));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), chosen);
    }
    AlphaRowWords(d + i, s + i, count - i);
}

// Eight pixels at once.
__attribute__((target("avx2"))) void AlphaRowAvx2(Color32* d, const Color32* s, int count)
{
    const __m256i lowBytes = _mm256_set1_epi32(0x00FF00FF);
    const __m256i alpha = _mm256_set1_epi32(static_cast<int>(kAlphaWord));
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i all = _mm256_set1_epi16(256);
    const __m256i mixAbove = _mm256_set1_epi32(kKeepBelow - 1);
    const __m256i copyAbove = _mm256_set1_epi32(kCopyFrom - 1);
    int i = 0;
    for (; i + 8 <= count; i += 8)
    {
        const __m256i source = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i target = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i a = _mm256_srli_epi32(source, 24);
        const __m256i k = _mm256_add_epi16(_mm256_or_si256(a, _mm256_slli_epi32(a, 16)), one);
        const __m256i inverse = _mm256_sub_epi16(all, k);
        const __m256i even =
            _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(source, lowBytes), k),
                                               _mm256_mullo_epi16(_mm256_and_si256(target, lowBytes), inverse)),
                              8);
        const __m256i odd =
            _mm256_andnot_si256(lowBytes, _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(source, 8), k),
                                                           _mm256_mullo_epi16(_mm256_srli_epi16(target, 8), inverse)));
        const __m256i mixed = _mm256_or_si256(_mm256_or_si256(even, odd), alpha);
        const __m256i blended = _mm256_blendv_epi8(target, mixed, _mm256_cmpgt_epi32(a, mixAbove));
        const __m256i chosen = _mm256_blendv_epi8(blended, source, _mm256_cmpgt_epi32(a, copyAbove));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), chosen);
    }
    AlphaRowWords(d + i, s + i, count - i);
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

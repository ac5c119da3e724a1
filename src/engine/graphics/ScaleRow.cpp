#include "graphics/ScaleRow.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define STRATA_SCALE_ROW_X86 1
#endif

namespace Strata::Internal
{

namespace
{

// The reference the faster rows are held to.
void ScaleRowPlain(Color32* target, const Color32* source, const int32_t* columns, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = source[columns[i]];
}

#if STRATA_SCALE_ROW_X86

// Four pixels gathered by hand and stored at once; SSE2 is on every x86-64.
__attribute__((target("sse2"))) void ScaleRowSse2(Color32* target, const Color32* source, const int32_t* columns,
                                                  int count)
{
    const auto* words = reinterpret_cast<const int*>(source);
    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
        const __m128i pixels =
            _mm_set_epi32(words[columns[i + 3]], words[columns[i + 2]], words[columns[i + 1]], words[columns[i]]);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), pixels);
    }
    ScaleRowPlain(target + i, source, columns + i, count - i);
}

// Eight pixels by one gather of the column table.
__attribute__((target("avx2"))) void ScaleRowAvx2(Color32* target, const Color32* source, const int32_t* columns,
                                                  int count)
{
    const auto* words = reinterpret_cast<const int*>(source);
    int i = 0;
    for (; i + 8 <= count; i += 8)
    {
        const __m256i index = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + i), _mm256_i32gather_epi32(words, index, 4));
    }
    ScaleRowPlain(target + i, source, columns + i, count - i);
}

// Eight pixels by one load of the source and a permute, where the eight columns lie within eight
// pixels (always when scaling up); other blocks are gathered by hand. The load starts no later than the
// row's last column less 7, so it reads no pixel past one the row shows.
__attribute__((target("avx2"))) void ScaleRowPermute(Color32* target, const Color32* source, const int32_t* columns,
                                                     int count)
{
    const auto* words = reinterpret_cast<const int*>(source);
    int i = 0;
    const int32_t lastStart = count > 0 ? columns[count - 1] - 7 : -1;
    if (lastStart >= 0)
    {
        const __m256i highBits = _mm256_set1_epi32(~7);
        for (; i + 8 <= count; i += 8)
        {
            const __m256i index = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i));
            const int32_t start = std::min(columns[i], lastStart);
            const __m256i offset = _mm256_sub_epi32(index, _mm256_set1_epi32(start));
            __m256i pixels;
            // Every offset in 0..7 (a negative one has its high bits set).
            if (_mm256_testz_si256(offset, highBits))
                pixels = _mm256_permutevar8x32_epi32(
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(words + start)), offset);
            else
                pixels = _mm256_set_epi32(words[columns[i + 7]], words[columns[i + 6]], words[columns[i + 5]],
                                          words[columns[i + 4]], words[columns[i + 3]], words[columns[i + 2]],
                                          words[columns[i + 1]], words[columns[i]]);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + i), pixels);
        }
    }
    ScaleRowPlain(target + i, source, columns + i, count - i);
}

#endif

} // namespace

std::vector<ScaleRowVariant> GetScaleRowVariants()
{
    std::vector<ScaleRowVariant> variants{{"plain", &ScaleRowPlain}};
#if STRATA_SCALE_ROW_X86
    __builtin_cpu_init();
    if (__builtin_cpu_supports("sse2"))
        variants.push_back({"sse2", &ScaleRowSse2});
    if (__builtin_cpu_supports("avx2"))
    {
        variants.push_back({"avx2-gather", &ScaleRowAvx2});
        variants.push_back({"avx2-permute", &ScaleRowPermute});
    }
#endif
    return variants;
}

ScaleRowFunction GetScaleRow()
{
    static const ScaleRowFunction fastest = GetScaleRowVariants().back().row;
    return fastest;
}

std::vector<int32_t> ComputeScaleColumns(int sourceSize, int targetSize)
{
    std::vector<int32_t> columns;
    if (sourceSize <= 0 || targetSize <= 0)
        return columns;
    columns.resize(static_cast<size_t>(targetSize));
    const int64_t denominator = 2 * static_cast<int64_t>(targetSize);
    for (int i = 0; i < targetSize; ++i)
        columns[static_cast<size_t>(i)] =
            static_cast<int32_t>((2 * static_cast<int64_t>(i) + 1) * sourceSize / denominator);
    return columns;
}

} // namespace Strata::Internal

namespace Strata::Graphics
{

void ScaleNearest(const Color32* source, int sourceWidth, int sourceHeight, ptrdiff_t sourcePitch, Color32* target,
                  int targetWidth, int targetHeight, ptrdiff_t targetPitch, Internal::ScaleRowFunction row)
{
    ScaleNearestArea(source, sourceWidth, sourceHeight, sourcePitch, target, targetWidth, targetHeight, targetPitch,
                     Rect<int>(0, 0, sourceWidth, sourceHeight), row);
}

Rect<int> ScaleNearestArea(const Color32* source, int sourceWidth, int sourceHeight, ptrdiff_t sourcePitch,
                           Color32* target, int targetWidth, int targetHeight, ptrdiff_t targetPitch,
                           const Rect<int>& area, Internal::ScaleRowFunction row)
{
    const Rect<int> shown = area.getIntersection(Rect<int>(0, 0, sourceWidth, sourceHeight));
    if (sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0 || shown.isEmpty())
        return Rect<int>();
    if (!row)
        row = Internal::GetScaleRow();
    // Kept between calls: the window's size rarely changes.
    thread_local std::vector<int32_t> columns;
    thread_local int columnsFor[2] = {0, 0};
    if (columnsFor[0] != sourceWidth || columnsFor[1] != targetWidth)
    {
        columns = Internal::ComputeScaleColumns(sourceWidth, targetWidth);
        columnsFor[0] = sourceWidth;
        columnsFor[1] = targetWidth;
    }
    const std::vector<int32_t> rows = Internal::ComputeScaleColumns(sourceHeight, targetHeight);
    // Both tables never decrease: the target pixels showing the area are one run in each.
    const auto span = [](const std::vector<int32_t>& table, int from, int to)
    {
        const auto first = std::lower_bound(table.begin(), table.end(), from);
        const auto last = std::lower_bound(first, table.end(), to);
        return std::pair<int, int>(static_cast<int>(first - table.begin()), static_cast<int>(last - table.begin()));
    };
    const auto [left, right] = span(columns, shown.x, shown.x + shown.width);
    const auto [top, bottom] = span(rows, shown.y, shown.y + shown.height);
    if (left >= right || top >= bottom)
        return Rect<int>();
    const size_t rowBytes = static_cast<size_t>(right - left) * sizeof(Color32);
    for (int y = top; y < bottom; ++y)
    {
        Color32* line = target + y * targetPitch + left;
        if (y > top && rows[static_cast<size_t>(y)] == rows[static_cast<size_t>(y) - 1])
            std::memcpy(static_cast<void*>(line), line - targetPitch, rowBytes);
        else
            row(line, source + rows[static_cast<size_t>(y)] * sourcePitch, columns.data() + left, right - left);
    }
    return Rect<int>(left, top, right - left, bottom - top);
}

} // namespace Strata::Graphics

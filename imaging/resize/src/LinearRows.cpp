// The two passes of a linear resize. With AVX2 (asked once) whole rows go
// eight lanes at a time with the same integer arithmetic as the portable
// loops, so both give the same bytes.
#include "LinearRows.h"

#include <cstring>

#include "gp/CpuFeatures.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QX_RESIZE_X86 1
#endif

namespace QX::Resize::DETAIL {
namespace {

constexpr std::uint32_t kShift = 2 * kWeightBits;
constexpr std::uint32_t kHalf = 1u << (kShift - 1);

void filterPortable(const std::uint8_t* sourceRow, const tLinearTap* columns, std::size_t begin, std::size_t end,
                    std::uint32_t* out) {
    for (std::size_t x = begin; x < end; ++x) {
        const std::uint8_t* first = sourceRow + 4 * std::size_t(columns[x].first);
        const std::uint8_t* second = sourceRow + 4 * std::size_t(columns[x].second);
        const std::uint32_t weight = columns[x].weight;
        const std::uint32_t keep = kWeightOne - weight;
        for (std::size_t c = 0; c < 4; ++c) {
            out[4 * x + c] = first[c] * keep + second[c] * weight;
        }
    }
}

void mixPortable(const std::uint32_t* __restrict upper, const std::uint32_t* __restrict lower, std::uint32_t weight,
                 std::size_t begin, std::size_t end, std::uint8_t* __restrict out) {
    const std::uint32_t keep = kWeightOne - weight;
    for (std::size_t i = begin; i < end; ++i) {
        out[i] = std::uint8_t((upper[i] * keep + lower[i] * weight + kHalf) >> kShift);
    }
}

void mixSourcePortable(const std::uint8_t* __restrict upper, const std::uint8_t* __restrict lower,
                       std::uint32_t weight, std::size_t begin, std::size_t end, std::uint32_t* __restrict out) {
    const std::uint32_t keep = kWeightOne - weight;
    for (std::size_t i = begin; i < end; ++i) {
        out[i] = upper[i] * keep + lower[i] * weight;
    }
}

void filterMixedPortable(const std::uint32_t* mixed, std::int32_t firstColumn, const tLinearTap* columns,
                         std::size_t begin, std::size_t end, std::uint8_t* out) {
    for (std::size_t x = begin; x < end; ++x) {
        const std::uint32_t* first = mixed + 4 * std::size_t(columns[x].first - firstColumn);
        const std::uint32_t* second = mixed + 4 * std::size_t(columns[x].second - firstColumn);
        const std::uint32_t weight = columns[x].weight;
        const std::uint32_t keep = kWeightOne - weight;
        for (std::size_t c = 0; c < 4; ++c) {
            out[4 * x + c] = std::uint8_t((first[c] * keep + second[c] * weight + kHalf) >> kShift);
        }
    }
}

#ifdef QX_RESIZE_X86

#define QX_AVX2 __attribute__((target("avx2")))

inline std::uint32_t loadPixel(const std::uint8_t* row, std::int32_t index) {
    std::uint32_t pixel;
    std::memcpy(&pixel, row + 4 * std::size_t(index), 4);
    return pixel;
}

// Four destination pixels: the channel pairs (first, second) meet the
// weight pairs (keep, weight) in one multiply-add per pair.
QX_AVX2 void filterAvx2(const std::uint8_t* sourceRow, const tLinearTap* columns, std::size_t width,
                        std::uint32_t* out) {
    const __m256i spreadLow = _mm256_setr_epi32(0, 0, 0, 0, 1, 1, 1, 1);
    const __m256i spreadHigh = _mm256_setr_epi32(2, 2, 2, 2, 3, 3, 3, 3);
    std::size_t x = 0;
    for (; x + 4 <= width; x += 4) {
        const tLinearTap* tap = columns + x;
        const __m128i firsts = _mm_setr_epi32(int(loadPixel(sourceRow, tap[0].first)), int(loadPixel(sourceRow, tap[1].first)),
                                              int(loadPixel(sourceRow, tap[2].first)), int(loadPixel(sourceRow, tap[3].first)));
        const __m128i seconds =
            _mm_setr_epi32(int(loadPixel(sourceRow, tap[0].second)), int(loadPixel(sourceRow, tap[1].second)),
                           int(loadPixel(sourceRow, tap[2].second)), int(loadPixel(sourceRow, tap[3].second)));
        auto pair = [](std::uint32_t weight) { return int((kWeightOne - weight) | (weight << 16)); };
        const __m256i weights = _mm256_castsi128_si256(
            _mm_setr_epi32(pair(tap[0].weight), pair(tap[1].weight), pair(tap[2].weight), pair(tap[3].weight)));
        const __m256i low = _mm256_madd_epi16(_mm256_cvtepu8_epi16(_mm_unpacklo_epi8(firsts, seconds)),
                                              _mm256_permutevar8x32_epi32(weights, spreadLow));
        const __m256i high = _mm256_madd_epi16(_mm256_cvtepu8_epi16(_mm_unpackhi_epi8(firsts, seconds)),
                                               _mm256_permutevar8x32_epi32(weights, spreadHigh));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x), low);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x + 8), high);
    }
    _mm256_zeroupper();
    filterPortable(sourceRow, columns, x, width, out);
}

// Eight channels: upper keep + lower weight = (upper << 11) + (lower -
// upper) weight, all within 31 bits.
QX_AVX2 inline __m256i mixEight(const std::uint32_t* upper, const std::uint32_t* lower, __m256i weight) {
    const __m256i u = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper));
    const __m256i l = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower));
    const __m256i sum = _mm256_add_epi32(_mm256_slli_epi32(u, kWeightBits), _mm256_mullo_epi32(_mm256_sub_epi32(l, u), weight));
    return _mm256_srli_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(int(kHalf))), kShift);
}

// 32 channels a time, packed to bytes and put back in order.
QX_AVX2 void mixAvx2(const std::uint32_t* upper, const std::uint32_t* lower, std::uint32_t weight,
                     std::size_t count, std::uint8_t* out) {
    const __m256i w = _mm256_set1_epi32(int(weight));
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i words01 = _mm256_packus_epi32(mixEight(upper + i, lower + i, w), mixEight(upper + i + 8, lower + i + 8, w));
        const __m256i words23 =
            _mm256_packus_epi32(mixEight(upper + i + 16, lower + i + 16, w), mixEight(upper + i + 24, lower + i + 24, w));
        const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(words01, words23), order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), bytes);
    }
    _mm256_zeroupper();
    mixPortable(upper, lower, weight, i, count, out);
}

// Sixteen channels: the byte pairs (upper, lower) meet the weight pair
// (keep, weight) in one multiply-add each.
QX_AVX2 void mixSourceAvx2(const std::uint8_t* upper, const std::uint8_t* lower, std::uint32_t weight,
                           std::size_t count, std::uint32_t* out) {
    const __m256i weights = _mm256_set1_epi32(int((kWeightOne - weight) | (weight << 16)));
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i));
        const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + i));
        const __m256i low = _mm256_madd_epi16(_mm256_cvtepu8_epi16(_mm_unpacklo_epi8(u, l)), weights);
        const __m256i high = _mm256_madd_epi16(_mm256_cvtepu8_epi16(_mm_unpackhi_epi8(u, l)), weights);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), low);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i + 8), high);
    }
    _mm256_zeroupper();
    mixSourcePortable(upper, lower, weight, i, count, out);
}

// Two destination pixels of a mixed row, rounded but not yet packed.
QX_AVX2 inline __m256i filterMixedTwo(const std::uint32_t* mixed, std::int32_t firstColumn, const tLinearTap* tap) {
    auto at = [&](std::int32_t column) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(mixed + 4 * std::size_t(column - firstColumn)));
    };
    const __m256i first = _mm256_setr_m128i(at(tap[0].first), at(tap[1].first));
    const __m256i second = _mm256_setr_m128i(at(tap[0].second), at(tap[1].second));
    const __m256i weight = _mm256_setr_m128i(_mm_set1_epi32(int(tap[0].weight)), _mm_set1_epi32(int(tap[1].weight)));
    const __m256i sum = _mm256_add_epi32(_mm256_slli_epi32(first, kWeightBits),
                                         _mm256_mullo_epi32(_mm256_sub_epi32(second, first), weight));
    return _mm256_srli_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(int(kHalf))), kShift);
}

QX_AVX2 void filterMixedAvx2(const std::uint32_t* mixed, std::int32_t firstColumn, const tLinearTap* columns,
                             std::size_t width, std::uint8_t* out) {
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    std::size_t x = 0;
    for (; x + 8 <= width; x += 8) {
        const tLinearTap* tap = columns + x;
        const __m256i words01 = _mm256_packus_epi32(filterMixedTwo(mixed, firstColumn, tap),
                                                    filterMixedTwo(mixed, firstColumn, tap + 2));
        const __m256i words23 = _mm256_packus_epi32(filterMixedTwo(mixed, firstColumn, tap + 4),
                                                    filterMixedTwo(mixed, firstColumn, tap + 6));
        const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(words01, words23), order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x), bytes);
    }
    _mm256_zeroupper();
    filterMixedPortable(mixed, firstColumn, columns, x, width, out);
}

#endif

}  // namespace

void mixSourceRows(const std::uint8_t* upper, const std::uint8_t* lower, std::uint32_t weight, std::size_t count,
                   std::uint32_t* out) {
#ifdef QX_RESIZE_X86
    if (GP::hasAvx2()) {
        mixSourceAvx2(upper, lower, weight, count, out);
        return;
    }
#endif
    mixSourcePortable(upper, lower, weight, 0, count, out);
}

void filterMixedRow(const std::uint32_t* mixed, std::int32_t firstColumn, const tLinearTap* columns,
                    std::size_t width, std::uint8_t* out) {
#ifdef QX_RESIZE_X86
    if (GP::hasAvx2()) {
        filterMixedAvx2(mixed, firstColumn, columns, width, out);
        return;
    }
#endif
    filterMixedPortable(mixed, firstColumn, columns, 0, width, out);
}

void filterRow(const std::uint8_t* sourceRow, const tLinearTap* columns, std::size_t width, std::uint32_t* out) {
#ifdef QX_RESIZE_X86
    if (GP::hasAvx2()) {
        filterAvx2(sourceRow, columns, width, out);
        return;
    }
#endif
    filterPortable(sourceRow, columns, 0, width, out);
}

void mixRows(const std::uint32_t* upper, const std::uint32_t* lower, std::uint32_t weight, std::size_t count,
             std::uint8_t* out) {
#ifdef QX_RESIZE_X86
    if (GP::hasAvx2()) {
        mixAvx2(upper, lower, weight, count, out);
        return;
    }
#endif
    mixPortable(upper, lower, weight, 0, count, out);
}

}  // namespace QX::Resize::DETAIL

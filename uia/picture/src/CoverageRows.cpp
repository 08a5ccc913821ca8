// Glyph rows onto pixels, four at a time in 16-bit lanes (SSE2 is part of
// every x86-64 processor); other processors take the portable loop, which
// gives the same results.
#include "CoverageRows.h"

#include <algorithm>

#if defined(__x86_64__)
#include <emmintrin.h>
#define QX_COVER_SSE2 1
#endif

namespace QX::UIA::DETAIL {
namespace {

#ifndef QX_COVER_SSE2

void coverPixel(std::uint32_t& pixel, std::uint32_t colour, std::uint32_t weight) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t destination = (pixel >> shift) & 0xFF;
        const std::uint32_t source = (colour >> shift) & 0xFF;
        result |= (((destination * (256 - weight) + source * weight) >> 8) & 0xFF) << shift;
    }
    const std::uint32_t alpha = std::min<std::uint32_t>((pixel >> 24) + weight, 255);
    pixel = result | (alpha << 24);
}

void coverPortable(std::uint32_t* dest, const std::uint8_t* coverage, std::size_t count, std::uint32_t colour) {
    const std::uint32_t colourAlpha = colour >> 24;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t weight = coverage[i] * colourAlpha / 255;
        if (weight != 0) {
            coverPixel(dest[i], colour, weight);
        }
    }
}

#else

// d (256 - w) + k w = (d << 8) + (k - d) w, exact modulo 2^16, then >> 8.
inline __m128i coverHalf(__m128i k, __m128i d, __m128i w) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(d, 8), _mm_mullo_epi16(_mm_sub_epi16(k, d), w)), 8);
}

// Four pixels; a weight of 0 leaves a pixel as it was.
inline __m128i coverFour(__m128i dv, std::uint32_t fourCoverages, __m128i colourWide, __m128i colourAlpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi16(1);
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
    // w = c a / 255 by (x + 1 + (x >> 8)) >> 8, exact for x <= 255 * 255.
    const __m128i c = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(fourCoverages)), zero);
    const __m128i x = _mm_mullo_epi16(c, colourAlpha);
    const __m128i w = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8);
    // Each weight over the four channels of its pixel.
    const __m128i w32 = _mm_unpacklo_epi16(w, w);
    const __m128i wLow = _mm_unpacklo_epi32(w32, w32);
    const __m128i wHigh = _mm_unpackhi_epi32(w32, w32);
    const __m128i lo = coverHalf(colourWide, _mm_unpacklo_epi8(dv, zero), wLow);
    const __m128i hi = coverHalf(colourWide, _mm_unpackhi_epi8(dv, zero), wHigh);
    const __m128i alpha = _mm_adds_epu8(dv, _mm_slli_epi32(_mm_unpacklo_epi16(w, zero), 24));
    return _mm_or_si128(_mm_andnot_si128(alphaMask, _mm_packus_epi16(lo, hi)), _mm_and_si128(alphaMask, alpha));
}

// The last one to three pixels of a row, read and written one by one.
inline void coverTail(std::uint32_t* dest, const std::uint8_t* coverage, std::size_t count, __m128i colourWide,
                      __m128i colourAlpha) {
    std::uint32_t fourCoverages = 0;
    __m128i dv = _mm_setzero_si128();
    for (std::size_t i = count; i-- > 0;) {
        fourCoverages = fourCoverages << 8 | coverage[i];
        dv = _mm_or_si128(_mm_slli_si128(dv, 4), _mm_cvtsi32_si128(int(dest[i])));
    }
    if (fourCoverages == 0) return;
    __m128i out = coverFour(dv, fourCoverages, colourWide, colourAlpha);
    for (std::size_t i = 0; i < count; ++i, out = _mm_srli_si128(out, 4)) {
        dest[i] = std::uint32_t(_mm_cvtsi128_si32(out));
    }
}

void coverSse2(std::uint32_t* dest, const std::uint8_t* coverage, std::size_t count, std::uint32_t colour) {
    const __m128i colourAlpha = _mm_set1_epi16(std::int16_t(colour >> 24));
    const __m128i colourWide = _mm_unpacklo_epi8(_mm_set1_epi32(int(colour)), _mm_setzero_si128());
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint32_t fourCoverages;
        std::copy_n(coverage + i, 4, reinterpret_cast<std::uint8_t*>(&fourCoverages));
        if (fourCoverages != 0) {
            __m128i* pixels = reinterpret_cast<__m128i*>(dest + i);
            _mm_storeu_si128(pixels, coverFour(_mm_loadu_si128(pixels), fourCoverages, colourWide, colourAlpha));
        }
    }
    coverTail(dest + i, coverage + i, count - i, colourWide, colourAlpha);
}

#endif

}  // namespace

void coverRow(std::uint32_t* dest, const std::uint8_t* coverage, std::size_t count, std::uint32_t colour) {
#ifdef QX_COVER_SSE2
    coverSse2(dest, coverage, count, colour);
#else
    coverPortable(dest, coverage, count, colour);
#endif
}

}  // namespace QX::UIA::DETAIL

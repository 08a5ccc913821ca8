// Blend and dye rows: the hot path of every repaint. Four (SSE2) or eight
// (AVX2, chosen once by the processor) pixels go through 16-bit lanes at a
// time; the remainder and other processors take the portable loop, which
// gives the same results.
#include "BlendRows.h"

#include "gp/CpuFeatures.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QX_BLEND_X86 1
#endif

namespace QX::UIA::DETAIL {
namespace {

// (x y + 1 + (x y >> 8)) >> 8 for two 8-bit values: x y / 255, rounded.
inline std::uint32_t mulDiv255(std::uint32_t x, std::uint32_t y) {
    const std::uint32_t t = x * y;
    return (t + 1 + (t >> 8)) >> 8;
}

// Blue, green and red of d mixed with those of k by w; d.a kept. Red and
// blue share one 32-bit product: each field stays below 2^16.
inline std::uint32_t mixColour(std::uint32_t d, std::uint32_t k, std::uint32_t w) {
    const std::uint32_t keep = 255 - w;
    std::uint32_t rb = (d & 0xFF00FFu) * keep + (k & 0xFF00FFu) * w;
    rb = ((rb + 0x10001u + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    std::uint32_t g = ((d >> 8) & 0xFFu) * keep + ((k >> 8) & 0xFFu) * w;
    g = (g + 1 + (g >> 8)) >> 8;
    return (d & 0xFF000000u) | rb | (g << 8);
}

template <bool kDye>
void mixPortable(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, std::size_t count,
                 std::uint32_t dye) {
    for (std::size_t i = 0; i < count; ++i) {
        d[i] = kDye ? mixColour(d[i], dye, mulDiv255(s[i] >> 24, dye >> 24))
                    : mixColour(d[i], s[i], mulDiv255(s[i] >> 24, d[i] >> 24));
    }
}

#ifdef QX_BLEND_X86

// Each kernel spreads a pixel's weight over its four 16-bit channels and
// works out d (255 - w) + k w as 255 d + (k - d) w, exact modulo 2^16.
__attribute__((target("sse2"))) inline __m128i mixHalf(__m128i k, __m128i d, __m128i w, __m128i one) {
    const __m128i v = _mm_add_epi16(_mm_sub_epi16(_mm_slli_epi16(d, 8), d), _mm_mullo_epi16(_mm_sub_epi16(k, d), w));
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(v, one), _mm_srli_epi16(v, 8)), 8);
}

__attribute__((target("avx2"))) inline __m256i mixHalf(__m256i k, __m256i d, __m256i w, __m256i one) {
    const __m256i v =
        _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(d, 8), d), _mm256_mullo_epi16(_mm256_sub_epi16(k, d), w));
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(v, one), _mm256_srli_epi16(v, 8)), 8);
}

template <bool kDye>
__attribute__((target("sse2"))) void mixSse2(std::uint32_t* __restrict d, const std::uint32_t* __restrict s,
                                             std::size_t count, std::uint32_t dye) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi16(1);
    const __m128i lowByte = _mm_set1_epi32(0xFF);
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
    const __m128i dyeColour = _mm_set1_epi32(int(dye));
    const __m128i dyeAlpha = _mm_set1_epi32(int(dye >> 24));
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i sourceAlpha = _mm_and_si128(sv, alphaMask);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(sourceAlpha, zero)) == 0xFFFF) {
            continue;  // wholly clear: nothing changes
        }
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        if (!kDye && _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(sourceAlpha, dv), alphaMask)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_or_si128(sv, alphaMask));  // opaque over opaque
            continue;
        }
        const __m128i kv = kDye ? dyeColour : sv;
        __m128i w = _mm_srli_epi32(sv, 24);
        // mul(a, 255) = a: over an opaque destination the weight is the source alpha.
        if (kDye || _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(dv, alphaMask), alphaMask)) != 0xFFFF) {
            const __m128i t = _mm_mullo_epi16(w, kDye ? dyeAlpha : _mm_srli_epi32(dv, 24));
            w = _mm_and_si128(_mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, one), _mm_srli_epi16(t, 8)), 8), lowByte);
        }
        w = _mm_or_si128(w, _mm_slli_epi32(w, 16));
        const __m128i lo =
            mixHalf(_mm_unpacklo_epi8(kv, zero), _mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi32(w, w), one);
        const __m128i hi =
            mixHalf(_mm_unpackhi_epi8(kv, zero), _mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi32(w, w), one);
        const __m128i mixed = _mm_packus_epi16(lo, hi);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                         _mm_or_si128(_mm_andnot_si128(alphaMask, mixed), _mm_and_si128(alphaMask, dv)));
    }
    mixPortable<kDye>(d + i, s + i, count - i, dye);
}

template <bool kDye>
__attribute__((target("avx2"))) void mixAvx2(std::uint32_t* __restrict d, const std::uint32_t* __restrict s,
                                             std::size_t count, std::uint32_t dye) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i lowByte = _mm256_set1_epi32(0xFF);
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i dyeColour = _mm256_set1_epi32(int(dye));
    const __m256i dyeAlpha = _mm256_set1_epi32(int(dye >> 24));
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        if (_mm256_testz_si256(sv, alphaMask)) {
            continue;  // wholly clear: nothing changes
        }
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        if (!kDye && _mm256_testc_si256(_mm256_and_si256(sv, dv), alphaMask)) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm256_or_si256(sv, alphaMask));  // opaque over opaque
            continue;
        }
        const __m256i kv = kDye ? dyeColour : sv;
        __m256i w = _mm256_srli_epi32(sv, 24);
        // mul(a, 255) = a: over an opaque destination the weight is the source alpha.
        if (kDye || !_mm256_testc_si256(dv, alphaMask)) {
            const __m256i t = _mm256_mullo_epi16(w, kDye ? dyeAlpha : _mm256_srli_epi32(dv, 24));
            w = _mm256_and_si256(
                _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(t, one), _mm256_srli_epi16(t, 8)), 8), lowByte);
        }
        w = _mm256_or_si256(w, _mm256_slli_epi32(w, 16));
        // Unpacking and packing both work inside 128-bit halves, so the
        // pixel order comes back unchanged.
        const __m256i lo = mixHalf(_mm256_unpacklo_epi8(kv, zero), _mm256_unpacklo_epi8(dv, zero),
                                   _mm256_unpacklo_epi32(w, w), one);
        const __m256i hi = mixHalf(_mm256_unpackhi_epi8(kv, zero), _mm256_unpackhi_epi8(dv, zero),
                                   _mm256_unpackhi_epi32(w, w), one);
        const __m256i mixed = _mm256_packus_epi16(lo, hi);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            _mm256_or_si256(_mm256_andnot_si256(alphaMask, mixed), _mm256_and_si256(alphaMask, dv)));
    }
    // Leave the upper register halves clean: SSE code that runs next (ours
    // or anybody's) would otherwise pay for them.
    _mm256_zeroupper();
    mixSse2<kDye>(d + i, s + i, count - i, dye);
}

template <bool kDye>
void mix(std::uint32_t* d, const std::uint32_t* s, std::size_t count, std::uint32_t dye) {
    if (GP::hasAvx2()) {
        mixAvx2<kDye>(d, s, count, dye);
    } else {
        mixSse2<kDye>(d, s, count, dye);
    }
}

#else

template <bool kDye>
void mix(std::uint32_t* d, const std::uint32_t* s, std::size_t count, std::uint32_t dye) {
    mixPortable<kDye>(d, s, count, dye);
}

#endif

}  // namespace

void blendRow(std::uint32_t* dest, const std::uint32_t* source, std::size_t count) {
    mix<false>(dest, source, count, 0);
}

void dyeRow(std::uint32_t* dest, const std::uint32_t* mask, std::size_t count, std::uint32_t dye) {
    mix<true>(dest, mask, count, dye);
}

}  // namespace QX::UIA::DETAIL

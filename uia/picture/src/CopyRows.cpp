// The copy rules over whole rows. Eight pixels (AVX2, chosen once by the
// processor) go at a time; the remainder and other processors take the
// portable loop, which gives the same results.
#include "CopyRows.h"

#include "ColourBlend.h"
#include "gp/CpuFeatures.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QX_COPY_X86 1
#endif

namespace QX::UIA::DETAIL {
namespace {

inline std::uint32_t copyColourOnly(std::uint32_t d, std::uint32_t s) {
    const std::uint32_t a = s >> 24;
    const std::uint32_t keep = 255 - a;
    const std::uint32_t rb = (((d & 0xFF00FFu) * keep + (s & 0xFF00FFu) * a) >> 8) & 0xFF00FFu;
    const std::uint32_t g = (((d & 0xFF00u) * keep + (s & 0xFF00u) * a) >> 8) & 0xFF00u;
    const std::uint32_t mixed = (a << 24) | rb | g;
    return a == 255 ? s : (a == 0 ? d : mixed);
}

void sourceOverPortable(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        d[i] = blendSourceOver(d[i], s[i]);
    }
}

void colourOnlyPortable(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        d[i] = copyColourOnly(d[i], s[i]);
    }
}

#ifdef QX_COPY_X86

#define QX_AVX2 __attribute__((target("avx2")))

QX_AVX2 inline __m256i load(const std::uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
QX_AVX2 inline void store(std::uint32_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// floor(x / 255) for 0 <= x < 255^3 + 128, without a division.
QX_AVX2 inline __m256i divide255(__m256i x) {
    const __m256i sum = _mm256_add_epi32(x, _mm256_srli_epi32(x, 8));
    return _mm256_srli_epi32(
        _mm256_add_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(1)), _mm256_srli_epi32(sum, 16)), 8);
}

// floor(n / A) for 0 <= n < 2^17 and 1 <= A <= 255, given 1 / A rounded:
// (n + 1/2) / A keeps at least 1 / (2n) of itself away from a whole
// number, far more than the float's rounding error.
QX_AVX2 inline __m256i divideByTotal(__m256i n, __m256 totalReciprocal) {
    return _mm256_cvttps_epi32(
        _mm256_mul_ps(_mm256_add_ps(_mm256_cvtepi32_ps(n), _mm256_set1_ps(0.5f)), totalReciprocal));
}

// One channel of the general rule: (s.c s.a + (d.c t + 127) / 255 + A / 2) / A
// with t = (255 - s.a) d.a, clamped to 255.
QX_AVX2 inline __m256i sourceOverChannel(__m256i sv, __m256i dv, int shift, __m256i sa, __m256i t, __m256i total,
                                         __m256 totalReciprocal) {
    const __m256i byte = _mm256_set1_epi32(0xFF);
    const __m256i sc = _mm256_and_si256(_mm256_srli_epi32(sv, shift), byte);
    const __m256i dc = _mm256_and_si256(_mm256_srli_epi32(dv, shift), byte);
    const __m256i kept = divide255(_mm256_add_epi32(_mm256_mullo_epi32(dc, t), _mm256_set1_epi32(127)));
    const __m256i n = _mm256_add_epi32(_mm256_add_epi32(_mm256_mullo_epi32(sc, sa), kept), _mm256_srli_epi32(total, 1));
    return _mm256_slli_epi32(_mm256_min_epi32(divideByTotal(n, totalReciprocal), byte), shift);
}

QX_AVX2 inline __m256i sourceOverGeneral(__m256i sv, __m256i dv) {
    const __m256i sa = _mm256_srli_epi32(sv, 24);
    const __m256i t = _mm256_mullo_epi32(_mm256_sub_epi32(_mm256_set1_epi32(255), sa), _mm256_srli_epi32(dv, 24));
    const __m256i total = _mm256_add_epi32(divide255(_mm256_add_epi32(t, _mm256_set1_epi32(127))), sa);
    // A = 0 only for a clear source over a clear pixel: every term is 0
    // then, and dividing by 1 keeps it so.
    const __m256 reciprocal =
        _mm256_div_ps(_mm256_set1_ps(1.0f), _mm256_cvtepi32_ps(_mm256_max_epi32(total, _mm256_set1_epi32(1))));
    __m256i out = _mm256_slli_epi32(_mm256_min_epi32(total, _mm256_set1_epi32(255)), 24);
    for (int shift = 0; shift < 24; shift += 8) {
        out = _mm256_or_si256(out, sourceOverChannel(sv, dv, shift, sa, t, total, reciprocal));
    }
    return out;
}

// Over an opaque pixel A is 255 and the rule is (s.c s.a + d.c (255 - s.a)
// + 127) / 255, which 16-bit lanes hold.
QX_AVX2 inline __m256i mixOverOpaqueHalf(__m256i sc, __m256i dc, __m256i sa) {
    // 255 d + (s - d) a + 127, exact modulo 2^16 and below 65153.
    const __m256i v = _mm256_add_epi16(_mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(dc, 8), dc),
                                                        _mm256_mullo_epi16(_mm256_sub_epi16(sc, dc), sa)),
                                       _mm256_set1_epi16(127));
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(v, _mm256_set1_epi16(1)), _mm256_srli_epi16(v, 8)), 8);
}

// d (255 - a) + s a = 255 d + (s - d) a, exact modulo 2^16, then >> 8.
QX_AVX2 inline __m256i mixColourOnlyHalf(__m256i sc, __m256i dc, __m256i a) {
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(dc, 8), dc), _mm256_mullo_epi16(_mm256_sub_epi16(sc, dc), a)),
        8);
}

// The source alpha of each pixel spread over its four 16-bit channels,
// in the order unpacklo/unpackhi take the pixels.
QX_AVX2 inline void spreadAlpha(__m256i sv, __m256i& low, __m256i& high) {
    __m256i a = _mm256_srli_epi32(sv, 24);
    a = _mm256_or_si256(a, _mm256_slli_epi32(a, 16));
    low = _mm256_unpacklo_epi32(a, a);
    high = _mm256_unpackhi_epi32(a, a);
}

QX_AVX2 inline __m256i sourceOverOpaque(__m256i sv, __m256i dv) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i aLow, aHigh;
    spreadAlpha(sv, aLow, aHigh);
    const __m256i lo = mixOverOpaqueHalf(_mm256_unpacklo_epi8(sv, zero), _mm256_unpacklo_epi8(dv, zero), aLow);
    const __m256i hi = mixOverOpaqueHalf(_mm256_unpackhi_epi8(sv, zero), _mm256_unpackhi_epi8(dv, zero), aHigh);
    return _mm256_or_si256(_mm256_packus_epi16(lo, hi), _mm256_set1_epi32(int(0xFF000000u)));
}

QX_AVX2 void sourceOverAvx2(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, std::size_t count) {
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i zero = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i sv = load(s + i);
        const __m256i dv = load(d + i);
        const __m256i dAlpha = _mm256_and_si256(dv, alphaMask);
        if (_mm256_testc_si256(sv, alphaMask)) {
            store(d + i, sv);  // opaque source: stored
        } else if (_mm256_testz_si256(dv, alphaMask)) {
            // Over clear pixels the source is stored, clear source pixels as 0.
            const __m256i clearSource = _mm256_cmpeq_epi32(_mm256_and_si256(sv, alphaMask), zero);
            store(d + i, _mm256_andnot_si256(clearSource, sv));
        } else if (_mm256_testc_si256(dAlpha, alphaMask)) {
            store(d + i, sourceOverOpaque(sv, dv));
        } else {
            store(d + i, sourceOverGeneral(sv, dv));
        }
    }
    _mm256_zeroupper();
    sourceOverPortable(d + i, s + i, count - i);
}

QX_AVX2 void colourOnlyAvx2(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, std::size_t count) {
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i zero = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i sv = load(s + i);
        const __m256i dv = load(d + i);
        __m256i aLow, aHigh;
        spreadAlpha(sv, aLow, aHigh);
        const __m256i lo = mixColourOnlyHalf(_mm256_unpacklo_epi8(sv, zero), _mm256_unpacklo_epi8(dv, zero), aLow);
        const __m256i hi = mixColourOnlyHalf(_mm256_unpackhi_epi8(sv, zero), _mm256_unpackhi_epi8(dv, zero), aHigh);
        __m256i mixed = _mm256_or_si256(_mm256_andnot_si256(alphaMask, _mm256_packus_epi16(lo, hi)),
                                        _mm256_and_si256(sv, alphaMask));
        const __m256i sourceAlpha = _mm256_and_si256(sv, alphaMask);
        mixed = _mm256_blendv_epi8(mixed, sv, _mm256_cmpeq_epi32(sourceAlpha, alphaMask));
        mixed = _mm256_blendv_epi8(mixed, dv, _mm256_cmpeq_epi32(sourceAlpha, zero));
        store(d + i, mixed);
    }
    _mm256_zeroupper();
    colourOnlyPortable(d + i, s + i, count - i);
}

#endif

}  // namespace

void copySourceOverRow(std::uint32_t* dest, const std::uint32_t* source, std::size_t count) {
#ifdef QX_COPY_X86
    if (GP::hasAvx2()) {
        sourceOverAvx2(dest, source, count);
        return;
    }
#endif
    sourceOverPortable(dest, source, count);
}

void copyColourOnlyRow(std::uint32_t* dest, const std::uint32_t* source, std::size_t count) {
#ifdef QX_COPY_X86
    if (GP::hasAvx2()) {
        colourOnlyAvx2(dest, source, count);
        return;
    }
#endif
    colourOnlyPortable(dest, source, count);
}

}  // namespace QX::UIA::DETAIL

#include "uikit/render_blur.h"

#include "uikit/render_fill.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace uikit {

namespace {

// Sums of a box of at most 255 × (2 × 127 + 1) fit 16 bits, which halves the work per lane.
constexpr int kMaxRadius = 127;
// From these radii on the blur runs at half and at a quarter of the resolution; below them the
// coarser grid would show.
constexpr int kHalfResolutionRadius = 6;
constexpr int kQuarterResolutionRadius = 8;

using Radii = std::array<int, 3>;

// One step of a box pass along a row of lanes: writes the averages of the running sums, then
// moves the sums one row on (adds the row entering the box, takes away the one leaving it). Each
// average is (sum + half) × mul >> 16 (see boxPass), saturated to 255.
using BoxRow = void (*)(std::uint8_t* out, std::uint16_t* sum, const std::uint8_t* add, const std::uint8_t* sub,
                        std::size_t lanes, std::uint16_t half, std::uint16_t mul);

void boxRow(std::uint8_t* out, std::uint16_t* sum, const std::uint8_t* add, const std::uint8_t* sub,
            std::size_t lanes, std::uint16_t half, std::uint16_t mul)
{
    std::size_t k = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i halves = _mm_set1_epi16(static_cast<short>(half));
    const __m128i muls = _mm_set1_epi16(static_cast<short>(mul));
    for (; k + 16 <= lanes; k += 16) {
        __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sum + k));
        __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sum + k + 8));
        const __m128i averageLo = _mm_mulhi_epu16(_mm_add_epi16(lo, halves), muls);
        const __m128i averageHi = _mm_mulhi_epu16(_mm_add_epi16(hi, halves), muls);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(averageLo, averageHi));
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(add + k));
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sub + k));
        lo = _mm_add_epi16(lo, _mm_sub_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(s, zero)));
        hi = _mm_add_epi16(hi, _mm_sub_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(s, zero)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sum + k), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sum + k + 8), hi);
    }
#endif
    for (; k < lanes; ++k) {
        const auto average = (std::uint32_t(static_cast<std::uint16_t>(sum[k] + half)) * mul) >> 16;
        out[k] = static_cast<std::uint8_t>(std::min<std::uint32_t>(average, 255));
        sum[k] = static_cast<std::uint16_t>(sum[k] + add[k] - sub[k]);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// A mask of the first n (at most 8) 32-bit elements, for the part of a row shorter than a vector.
__attribute__((target("avx2"))) inline __m256i firstElements(std::size_t n)
{
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(static_cast<int>(n)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

__attribute__((target("avx2"))) inline __m256i load(const void* at, __m256i mask, bool whole)
{
    return whole ? _mm256_loadu_si256(static_cast<const __m256i*>(at))
                 : _mm256_maskload_epi32(static_cast<const int*>(at), mask);
}

__attribute__((target("avx2"))) inline void store(void* at, __m256i v, __m256i mask, bool whole)
{
    if (whole)
        _mm256_storeu_si256(static_cast<__m256i*>(at), v);
    else
        _mm256_maskstore_epi32(static_cast<int*>(at), mask, v);
}

struct BoxLanes {
    std::uint8_t* out;
    std::uint16_t* sum;
    const std::uint8_t *add, *sub;
    __m256i halves, muls;
};

// 32 lanes from k on (or those the masks admit).
__attribute__((target("avx2"))) inline void boxStep256(const BoxLanes& r, std::size_t k, __m256i bytes, __m256i low,
                                                       __m256i high, bool whole)
{
    __m256i lo = load(r.sum + k, low, whole), hi = load(r.sum + k + 16, high, whole);
    const __m256i averageLo = _mm256_mulhi_epu16(_mm256_add_epi16(lo, r.halves), r.muls);
    const __m256i averageHi = _mm256_mulhi_epu16(_mm256_add_epi16(hi, r.halves), r.muls);
    // The pack works per 128-bit half; the permute puts the lanes back in order.
    store(r.out + k, _mm256_permute4x64_epi64(_mm256_packus_epi16(averageLo, averageHi), 0xD8), bytes, whole);
    const __m256i a = load(r.add + k, bytes, whole), s = load(r.sub + k, bytes, whole);
    lo = _mm256_add_epi16(lo, _mm256_sub_epi16(_mm256_cvtepu8_epi16(_mm256_castsi256_si128(a)),
                                               _mm256_cvtepu8_epi16(_mm256_castsi256_si128(s))));
    hi = _mm256_add_epi16(hi, _mm256_sub_epi16(_mm256_cvtepu8_epi16(_mm256_extracti128_si256(a, 1)),
                                               _mm256_cvtepu8_epi16(_mm256_extracti128_si256(s, 1))));
    store(r.sum + k, lo, low, whole);
    store(r.sum + k + 16, hi, high, whole);
}

// The same, 32 lanes at a time, for machines with AVX2; the last few lanes (rows are whole
// pixels, so a multiple of 4) go through masked loads and stores.
__attribute__((target("avx2"))) void boxRowAvx2(std::uint8_t* out, std::uint16_t* sum, const std::uint8_t* add,
                                                const std::uint8_t* sub, std::size_t lanes, std::uint16_t half,
                                                std::uint16_t mul)
{
    const __m256i halves = _mm256_set1_epi16(static_cast<short>(half));
    const __m256i muls = _mm256_set1_epi16(static_cast<short>(mul));
    const __m256i all = _mm256_set1_epi32(-1);
    const BoxLanes row{out, sum, add, sub, halves, muls};
    std::size_t k = 0;
    for (; k + 32 <= lanes; k += 32)
        boxStep256(row, k, all, all, all, true);
    if (k < lanes) {
        const std::size_t n = lanes - k;
        boxStep256(row, k, firstElements(n / 4), firstElements(std::min<std::size_t>(n, 16) / 2),
                   firstElements(n > 16 ? (n - 16) / 2 : 0), false);
    }
}
#endif

BoxRow chosenBoxRow()
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2"))
        return boxRowAvx2;
#endif
    return boxRow;
}

// One box pass down the rows of a block: every byte of a row is its own lane (a channel of a
// pixel), so the work runs over whole rows. Rows past either end repeat the first or last row.
void columnPass(const std::uint8_t* in, std::uint8_t* out, int lanes, int rows, int radius, std::uint16_t half,
                std::uint16_t mul, std::uint16_t* sum)
{
    static const BoxRow step = chosenBoxRow();
    const std::size_t stride = static_cast<std::size_t>(lanes);
    std::fill(sum, sum + stride, std::uint16_t{0});
    for (int i = -radius; i <= radius; ++i) {
        const std::uint8_t* row = in + std::clamp(i, 0, rows - 1) * stride;
        for (std::size_t k = 0; k < stride; ++k)
            sum[k] = static_cast<std::uint16_t>(sum[k] + row[k]);
    }
    for (int y = 0; y < rows; ++y)
        step(out + y * stride, sum, in + std::min(y + radius + 1, rows - 1) * stride,
             in + std::max(y - radius, 0) * stride, stride, half, mul);
}

// A box pass of radius ≥ 1: the mean of 2 × radius + 1 rows as (sum + diameter / 2) ×
// ⌈65536 / diameter⌉ >> 16: off by at most one level.
void boxPass(const std::uint8_t* in, std::uint8_t* out, int lanes, int rows, int radius, std::uint16_t* sums)
{
    const int diameter = 2 * radius + 1;
    columnPass(in, out, lanes, rows, radius, static_cast<std::uint16_t>(diameter / 2),
               static_cast<std::uint16_t>((65536 + diameter - 1) / diameter), sums);
}

// Three passes a → b → a → b, one radius each; the result is in b.
void threePasses(std::uint8_t* a, std::uint8_t* b, int lanes, int rows, const Radii& radii, std::uint16_t* sums)
{
    boxPass(a, b, lanes, rows, radii[0], sums);
    boxPass(b, a, lanes, rows, radii[1], sums);
    boxPass(a, b, lanes, rows, radii[2], sums);
}

// Transposes a width × height block of 32-bit pixels (strides in pixels), in tiles so that both
// sides stay in cache, four by four pixels at a time.
void transpose(const std::uint32_t* in, int width, int height, std::size_t inStride, std::uint32_t* out,
               std::size_t outStride)
{
    constexpr int kTile = 32;
    for (int y0 = 0; y0 < height; y0 += kTile)
        for (int x0 = 0; x0 < width; x0 += kTile) {
            const int y1 = std::min(y0 + kTile, height), x1 = std::min(x0 + kTile, width);
            int y = y0;
#if defined(__SSE2__)
            for (; y + 4 <= y1; y += 4) {
                int x = x0;
                for (; x + 4 <= x1; x += 4) {
                    auto row = [&](int i) {
                        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + (y + i) * inStride + x));
                    };
                    const __m128i r0 = row(0), r1 = row(1), r2 = row(2), r3 = row(3);
                    const __m128i t0 = _mm_unpacklo_epi32(r0, r1), t1 = _mm_unpacklo_epi32(r2, r3);
                    const __m128i t2 = _mm_unpackhi_epi32(r0, r1), t3 = _mm_unpackhi_epi32(r2, r3);
                    auto store = [&](int i, __m128i v) {
                        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (x + i) * outStride + y), v);
                    };
                    store(0, _mm_unpacklo_epi64(t0, t1));
                    store(1, _mm_unpackhi_epi64(t0, t1));
                    store(2, _mm_unpacklo_epi64(t2, t3));
                    store(3, _mm_unpackhi_epi64(t2, t3));
                }
                for (; x < x1; ++x)
                    for (int i = 0; i < 4; ++i)
                        out[x * outStride + y + i] = in[(y + i) * inStride + x];
            }
#endif
            for (; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    out[x * outStride + y] = in[y * inStride + x];
        }
}

// Buffers reused across calls: a frame blurs several panels, and fresh megabytes would cost
// more in page faults than the blur itself.
struct Scratch {
    std::vector<std::uint32_t> a, b;
    std::vector<std::uint16_t> sums;
    std::vector<std::uint32_t> smallRow;
    std::array<std::vector<std::uint16_t>, 3> wide; // widened rows while scaling up (see ScaleUp)
    std::array<int, 3> wideRow{};
};

Scratch& scratch()
{
    static thread_local Scratch kept;
    return kept;
}

template <typename T> T* sized(std::vector<T>& buffer, std::size_t count)
{
    if (buffer.size() < count)
        buffer.resize(count);
    return buffer.data();
}

// Blurs the width × height pixels in a (b is scratch of the same size): vertical passes, then
// the same passes on the transpose for the horizontal direction, both as the fast row-wise
// loop. The result is left transposed in b: width rows of height pixels.
void blurTransposed(std::uint32_t* a, std::uint32_t* b, int width, int height, const Radii& radii, Scratch& s)
{
    auto* a8 = reinterpret_cast<std::uint8_t*>(a);
    auto* b8 = reinterpret_cast<std::uint8_t*>(b);
    std::uint16_t* sums = sized(s.sums, static_cast<std::size_t>(std::max(width, height)) * 4);
    threePasses(a8, b8, width * 4, height, radii, sums);
    transpose(b, width, height, static_cast<std::size_t>(width), a, static_cast<std::size_t>(height));
    threePasses(a8, b8, height * 4, width, radii, sums);
}

void copyRows(const std::uint8_t* in, std::size_t inStride, std::uint8_t* out, std::size_t outStride, int width,
              int height)
{
    for (int y = 0; y < height; ++y)
        std::memmove(out + y * outStride, in + y * inStride, static_cast<std::size_t>(width) * 4);
}

// The box radii at 1/factor resolution whose three passes spread as far as three passes of
// `radius` at full resolution. A box pass of radius r has a variance of r(r + 1)/3; averaging
// factor × factor squares and scaling back up add (factor² − 1)/12 + factor²/6 full-resolution
// pixels² of their own (a box of `factor` pixels and a tent twice as wide).
Radii reducedRadii(int radius, int factor)
{
    const double f2 = double(factor) * factor;
    const double target = (radius * (radius + 1.0) - (f2 - 1) / 12 - f2 / 6) / f2;
    Radii best{1, 1, 1};
    double bestError = HUGE_VAL;
    for (int k = 1; k <= kMaxRadius / factor; ++k)
        for (int n = 0; n < 3; ++n) {
            // n passes of radius k + 1, the others of k
            const double variance = ((3 - n) * k * (k + 1.0) + n * (k + 1.0) * (k + 2)) / 3;
            if (std::abs(variance - target) < bestError) {
                bestError = std::abs(variance - target);
                best = {n > 0 ? k + 1 : k, n > 1 ? k + 1 : k, k};
            }
        }
    return best;
}

// One row of 2 × 2 averages from two rows of `width` pixels, from output pixel `from` on; an
// odd last column pairs with itself.
using HalveRow = void (*)(const std::uint8_t* r0, const std::uint8_t* r1, int width, std::uint8_t* out, int from);

void halveRow(const std::uint8_t* r0, const std::uint8_t* r1, int width, std::uint8_t* out, int from)
{
    const int halfWidth = (width + 1) / 2;
    int i = from;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), two = _mm_set1_epi16(2);
    // Two squares from four pixels of each row: the pairs' sums, then the sums of the pairs.
    auto squares = [&](const std::uint8_t* p0, const std::uint8_t* p1) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p0));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p1));
        const __m128i lo = _mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero));
        const __m128i hi = _mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero));
        const __m128i sum = _mm_add_epi16(_mm_unpacklo_epi64(lo, hi), _mm_unpackhi_epi64(lo, hi));
        return _mm_srli_epi16(_mm_add_epi16(sum, two), 2);
    };
    for (; 2 * i + 8 <= width; i += 4) {
        const __m128i first = squares(r0 + 8 * i, r1 + 8 * i);
        const __m128i second = squares(r0 + 8 * i + 16, r1 + 8 * i + 16);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), _mm_packus_epi16(first, second));
    }
#endif
    for (; i < halfWidth; ++i) {
        const int x0 = 2 * i, x1 = std::min(2 * i + 1, width - 1);
        for (int c = 0; c < 4; ++c)
            out[4 * i + c] = static_cast<std::uint8_t>(
                (r0[4 * x0 + c] + r0[4 * x1 + c] + r1[4 * x0 + c] + r1[4 * x1 + c] + 2) >> 2);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// Four squares from eight pixels of each row (two in each 128-bit half).
__attribute__((target("avx2"))) inline __m256i squares256(const std::uint8_t* p0, const std::uint8_t* p1)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p0));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p1));
    const __m256i lo = _mm256_add_epi16(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero));
    const __m256i hi = _mm256_add_epi16(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero));
    const __m256i sum = _mm256_add_epi16(_mm256_unpacklo_epi64(lo, hi), _mm256_unpackhi_epi64(lo, hi));
    return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(2)), 2);
}

// Eight squares at a time; the pack interleaves the 128-bit halves, the permute restores the order.
__attribute__((target("avx2"))) void halveRowAvx2(const std::uint8_t* r0, const std::uint8_t* r1, int width,
                                                  std::uint8_t* out, int from)
{
    int i = from;
    for (; 2 * i + 16 <= width; i += 8) {
        const __m256i first = squares256(r0 + 8 * i, r1 + 8 * i);
        const __m256i second = squares256(r0 + 8 * i + 32, r1 + 8 * i + 32);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * i),
                            _mm256_permute4x64_epi64(_mm256_packus_epi16(first, second), 0xD8));
    }
    halveRow(r0, r1, width, out, i);
}
#endif

HalveRow chosenHalveRow()
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2"))
        return halveRowAvx2;
#endif
    return halveRow;
}

// Averages each 2 × 2 square of the block into one pixel of `half` ((w + 1)/2 × (h + 1)/2
// pixels); an odd last column or row pairs with itself.
void halve(const std::uint8_t* in, int width, int height, std::size_t stride, std::uint32_t* half)
{
    static const HalveRow row = chosenHalveRow();
    const int halfWidth = (width + 1) / 2, halfHeight = (height + 1) / 2;
    for (int j = 0; j < halfHeight; ++j)
        row(in + 2 * j * stride, in + std::min(2 * j + 1, height - 1) * stride, width,
            reinterpret_cast<std::uint8_t*>(half + static_cast<std::size_t>(j) * halfWidth), 0);
}

// How one full row mixes two widened rows: (near × nearWeight + far × farWeight + half) >>
// shift in each lane.
struct RowMix {
    std::uint16_t nearWeight = 0, farWeight = 0;
    int shift = 0;
};

// One full row from two widened rows (see ScaleUp), with the tint (0 for none) laid over as
// layOverPixels lays it.
using MixRow = void (*)(const std::uint16_t* nearRow, const std::uint16_t* farRow, std::uint8_t* out, int pixels,
                        RowMix mix, std::uint32_t tint);

void mixRow(const std::uint16_t* nearRow, const std::uint16_t* farRow, std::uint8_t* out, int pixels, RowMix mix,
            std::uint32_t tint)
{
    const std::size_t lanes = static_cast<std::size_t>(pixels) * 4;
    const int half = 1 << (mix.shift - 1);
    for (std::size_t k = 0; k < lanes; ++k)
        out[k] = static_cast<std::uint8_t>((nearRow[k] * mix.nearWeight + farRow[k] * mix.farWeight + half) >>
                                           mix.shift);
    if (tint)
        layOverPixels(out, pixels, tint);
}

#if defined(__x86_64__) && defined(__GNUC__)
struct MixLanes {
    const std::uint16_t *nearRow, *farRow;
    std::uint8_t* out;
    __m256i nearWeight, farWeight, half;
    __m128i shift;
    __m256i keeps, colour;
    bool tinted;
};

__attribute__((target("avx2"))) inline __m256i mixed256(const MixLanes& r, __m256i nearLanes, __m256i farLanes)
{
    const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(nearLanes, r.nearWeight),
                                         _mm256_mullo_epi16(farLanes, r.farWeight));
    return _mm256_srl_epi16(_mm256_add_epi16(sum, r.half), r.shift);
}

// lane × keep / 255, rounded as layOverPixels rounds it.
__attribute__((target("avx2"))) inline __m256i kept256(__m256i lanes, __m256i keeps)
{
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(lanes, keeps), _mm256_set1_epi16(0x80));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

// Eight pixels from lane k on (or those the masks admit).
__attribute__((target("avx2"))) inline void mixStep256(const MixLanes& r, std::size_t k, __m256i low, __m256i high,
                                                       __m256i pixels, bool whole)
{
    __m256i lo = mixed256(r, load(r.nearRow + k, low, whole), load(r.farRow + k, low, whole));
    __m256i hi = mixed256(r, load(r.nearRow + k + 16, high, whole), load(r.farRow + k + 16, high, whole));
    if (r.tinted) {
        lo = kept256(lo, r.keeps);
        hi = kept256(hi, r.keeps);
    }
    __m256i result = _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8);
    if (r.tinted)
        result = _mm256_add_epi32(result, r.colour);
    store(r.out + k, result, pixels, whole);
}

// Eight pixels at a time; a shorter last part through masked loads and stores.
__attribute__((target("avx2"))) void mixRowAvx2(const std::uint16_t* nearRow, const std::uint16_t* farRow,
                                                std::uint8_t* out, int pixels, RowMix mix, std::uint32_t tint)
{
    const MixLanes row{nearRow,
                       farRow,
                       out,
                       _mm256_set1_epi16(static_cast<short>(mix.nearWeight)),
                       _mm256_set1_epi16(static_cast<short>(mix.farWeight)),
                       _mm256_set1_epi16(static_cast<short>(1 << (mix.shift - 1))),
                       _mm_cvtsi32_si128(mix.shift),
                       _mm256_set1_epi16(static_cast<short>(255 - (tint >> 24))),
                       _mm256_set1_epi32(static_cast<int>(tint)),
                       tint != 0};
    const __m256i all = _mm256_set1_epi32(-1);
    int i = 0;
    for (; i + 8 <= pixels; i += 8)
        mixStep256(row, static_cast<std::size_t>(i) * 4, all, all, all, true);
    if (i < pixels) {
        // A pixel is four 16-bit lanes: two 32-bit elements.
        const auto n = static_cast<std::size_t>(pixels - i);
        mixStep256(row, static_cast<std::size_t>(i) * 4, firstElements(std::min<std::size_t>(n, 4) * 2),
                   firstElements(n > 4 ? (n - 4) * 2 : 0), firstElements(n), false);
    }
}
#endif

MixRow chosenMixRow()
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2"))
        return mixRowAvx2;
#endif
    return mixRow;
}

// Scaling a block at 1/factor resolution (factor 2 or 4) back up to full resolution, smoothly:
// along each direction a full pixel mixes the small pixel it lies in with the neighbour on its
// side, by distance (3 : 1 for halves; 5 : 3 and 7 : 1 for quarters), with the block's edges
// repeated. Small rows are widened first, once each, into 16-bit lanes for the full columns from
// `firstColumn` on; each full row then mixes two of them.
class ScaleUp {
public:
    ScaleUp(const std::uint32_t* small, int smallWidth, int smallHeight, int factor, int firstColumn, int columns,
            Scratch& s)
        : small_(small), smallWidth_(smallWidth), smallHeight_(smallHeight), factor_(factor), s_(s)
    {
        first_ = firstColumn / factor;
        last_ = (firstColumn + columns - 1) / factor;
        offset_ = static_cast<std::size_t>(firstColumn - factor * first_) * 4;
        for (auto& row : s_.wide)
            sized(row, static_cast<std::size_t>(last_ - first_ + 2) * factor * 4);
        s_.wideRow.fill(-1);
        // The small row with one pixel repeated on the left and two on the right.
        sized(s_.smallRow, static_cast<std::size_t>(smallWidth) + 3);
    }

    // Full row y (in block pixels) as `columns` pixels at out, with the tint laid over.
    void row(int y, std::uint8_t* out, int columns, std::uint32_t tint)
    {
        static const MixRow mixRow = chosenMixRow();
        const int j = y / factor_, phase = y % factor_;
        const Weights w = weights(phase);
        const int neighbour = std::clamp(j + w.side, 0, smallHeight_ - 1);
        // Weights out of 2 × factor along each direction: the mix divides by their product.
        const RowMix mix{w.nearWeight, w.farWeight, factor_ == 2 ? 4 : 6};
        mixRow(widened(j) + offset_, widened(neighbour) + offset_, out, columns, mix, tint);
    }

private:
    struct Weights {
        std::uint16_t nearWeight, farWeight;
        int side;
    };

    // The full pixel at `phase` within its small pixel lies (2 × phase + 1 − factor) / (2 × factor)
    // of a small pixel from the small pixel's centre.
    Weights weights(int phase) const
    {
        const int offset = 2 * phase + 1 - factor_;
        const int far = std::abs(offset);
        return {static_cast<std::uint16_t>(2 * factor_ - far), static_cast<std::uint16_t>(far), offset < 0 ? -1 : 1};
    }

    const std::uint16_t* widened(int j)
    {
        for (int i = 0; i < 3; ++i)
            if (s_.wideRow[i] == j)
                return s_.wide[i].data();
        // The slot of a row the mixing no longer needs: rows come in order.
        int slot = 0;
        for (int i = 1; i < 3; ++i)
            if (s_.wideRow[i] < s_.wideRow[slot])
                slot = i;
        s_.wideRow[slot] = j;
        widen(j, s_.wide[slot].data());
        return s_.wide[slot].data();
    }

    void widen(int j, std::uint16_t* wide)
    {
        std::uint32_t* padded = s_.smallRow.data() + 1;
        std::memcpy(padded, small_ + static_cast<std::size_t>(j) * smallWidth_,
                    static_cast<std::size_t>(smallWidth_) * 4);
        padded[-1] = padded[0];
        padded[smallWidth_] = padded[smallWidth_ + 1] = padded[smallWidth_ - 1];
        const std::size_t lanesPerSmall = static_cast<std::size_t>(factor_) * 4;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        auto pair = [&](int at) {
            return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(padded + at)), zero);
        };
        // Two small pixels at a time; each phase gives one full pixel of each.
        for (int i = first_; i <= last_; i += 2) {
            const __m128i left = pair(i - 1), mid = pair(i), right = pair(i + 1);
            std::uint16_t* at = wide + static_cast<std::size_t>(i - first_) * lanesPerSmall;
            for (int phase = 0; phase < factor_; phase += 2) {
                const Weights a = weights(phase), b = weights(phase + 1);
                const auto mixed = [&](const Weights& w) {
                    return _mm_add_epi16(_mm_mullo_epi16(mid, _mm_set1_epi16(static_cast<short>(w.nearWeight))),
                                         _mm_mullo_epi16(w.side < 0 ? left : right,
                                                         _mm_set1_epi16(static_cast<short>(w.farWeight))));
                };
                const __m128i first = mixed(a), second = mixed(b);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(at + phase * 4), _mm_unpacklo_epi64(first, second));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(at + lanesPerSmall + phase * 4),
                                 _mm_unpackhi_epi64(first, second));
            }
        }
#else
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(padded);
        for (int i = first_; i <= last_; ++i) {
            std::uint16_t* at = wide + static_cast<std::size_t>(i - first_) * lanesPerSmall;
            for (int phase = 0; phase < factor_; ++phase) {
                const Weights w = weights(phase);
                for (int c = 0; c < 4; ++c)
                    at[phase * 4 + c] = static_cast<std::uint16_t>(w.nearWeight * bytes[4 * i + c] +
                                                                   w.farWeight * bytes[4 * (i + w.side) + c]);
            }
        }
#endif
    }

    const std::uint32_t* small_;
    int smallWidth_, smallHeight_, factor_;
    int first_ = 0, last_ = 0;
    std::size_t offset_ = 0;
    Scratch& s_;
};

} // namespace

PixelRect intersect(PixelRect a, PixelRect b)
{
    const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.width, b.x + b.width), y1 = std::min(a.y + a.height, b.y + b.height);
    if (x1 <= x0 || y1 <= y0)
        return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

PixelRect expand(PixelRect r, int n) { return {r.x - n, r.y - n, r.width + 2 * n, r.height + 2 * n}; }

void boxBlur(std::uint8_t* pixels, int width, int height, int stride, int radius)
{
    radius = std::min(radius, kMaxRadius);
    if (!pixels || width <= 0 || height <= 0 || radius <= 0)
        return;
    Scratch& s = scratch();
    const std::size_t count = static_cast<std::size_t>(width) * height;
    std::uint32_t* a = sized(s.a, count);
    std::uint32_t* b = sized(s.b, count);
    copyRows(pixels, static_cast<std::size_t>(stride), reinterpret_cast<std::uint8_t*>(a),
             static_cast<std::size_t>(width) * 4, width, height);
    blurTransposed(a, b, width, height, {radius, radius, radius}, s);
    transpose(b, height, width, static_cast<std::size_t>(height), reinterpret_cast<std::uint32_t*>(pixels),
              static_cast<std::size_t>(stride) / 4);
}

bool blurArea(const PixelBlock& source, PixelRect area, int radius, std::uint8_t* out, int outStride,
              std::uint32_t tint)
{
    const PixelRect whole{0, 0, source.width, source.height};
    if (!source.pixels || !out || area.empty() || intersect(area, whole) != area || outStride < area.width * 4)
        return false;
    radius = std::clamp(radius, 0, kMaxRadius);
    const std::size_t stride = static_cast<std::size_t>(source.stride);
    const std::uint8_t* areaPixels = source.pixels + area.y * stride + static_cast<std::size_t>(area.x) * 4;
    const auto tintRows = [&] {
        if (tint)
            for (int y = 0; y < area.height; ++y)
                layOverPixels(out + static_cast<std::size_t>(y) * outStride, area.width, tint);
    };
    if (radius == 0) {
        if (areaPixels != out)
            copyRows(areaPixels, stride, out, static_cast<std::size_t>(outStride), area.width, area.height);
        tintRows();
        return true;
    }
    const PixelRect sampled = intersect(expand(area, radius), whole);
    const std::uint8_t* sampledPixels = source.pixels + sampled.y * stride + static_cast<std::size_t>(sampled.x) * 4;
    const PixelRect inner{area.x - sampled.x, area.y - sampled.y, area.width, area.height};
    Scratch& s = scratch();
    // Everything is read into the scratch buffers before anything is written, so `out` may
    // overlap the source.
    if (radius < kHalfResolutionRadius) {
        const std::size_t count = static_cast<std::size_t>(sampled.width) * sampled.height;
        std::uint32_t* a = sized(s.a, count);
        std::uint32_t* b = sized(s.b, count);
        copyRows(sampledPixels, stride, reinterpret_cast<std::uint8_t*>(a), static_cast<std::size_t>(sampled.width) * 4,
                 sampled.width, sampled.height);
        blurTransposed(a, b, sampled.width, sampled.height, {radius, radius, radius}, s);
        const std::size_t rows = static_cast<std::size_t>(sampled.height);
        transpose(b + inner.x * rows + inner.y, inner.height, inner.width, rows, reinterpret_cast<std::uint32_t*>(out),
                  static_cast<std::size_t>(outStride) / 4);
        tintRows();
        return true;
    }
    // Larger radii are blurred at a quarter of the resolution, the middle ones at half.
    const int factor = radius >= kQuarterResolutionRadius ? 4 : 2;
    int width = (sampled.width + 1) / 2, height = (sampled.height + 1) / 2;
    std::uint32_t* small = sized(s.a, static_cast<std::size_t>(width) * height + 8);
    std::uint32_t* spare = sized(s.b, static_cast<std::size_t>(width) * height + 8);
    halve(sampledPixels, sampled.width, sampled.height, stride, small);
    if (factor == 4) {
        halve(reinterpret_cast<const std::uint8_t*>(small), width, height, static_cast<std::size_t>(width) * 4, spare);
        width = (width + 1) / 2, height = (height + 1) / 2;
        std::swap(small, spare);
    }
    blurTransposed(small, spare, width, height, reducedRadii(radius, factor), s);
    transpose(spare, height, width, static_cast<std::size_t>(height), small, static_cast<std::size_t>(width));
    ScaleUp up(small, width, height, factor, inner.x, inner.width, s);
    for (int y = 0; y < inner.height; ++y)
        up.row(inner.y + y, out + static_cast<std::size_t>(y) * outStride, inner.width, tint);
    return true;
}

cairo_surface_t* blurredCopy(cairo_surface_t* source, PixelRect area, int radius)
{
    if (!source || cairo_surface_get_type(source) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(source) != CAIRO_FORMAT_ARGB32)
        return nullptr;
    cairo_surface_flush(source);
    const PixelBlock block{cairo_image_surface_get_data(source), cairo_image_surface_get_width(source),
                           cairo_image_surface_get_height(source), cairo_image_surface_get_stride(source)};
    area = intersect(area, {0, 0, block.width, block.height});
    if (area.empty())
        return nullptr;
    cairo_surface_t* result = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.width, area.height);
    if (cairo_surface_status(result) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(result);
        return nullptr;
    }
    cairo_surface_flush(result);
    blurArea(block, area, radius, cairo_image_surface_get_data(result), cairo_image_surface_get_stride(result));
    cairo_surface_mark_dirty(result);
    return result;
}

} // namespace uikit

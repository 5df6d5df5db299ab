#include "uikit/render_fill.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace uikit {

namespace {

using LayOver = void (*)(std::uint8_t* row, int count, std::uint32_t pixel, std::uint16_t keep);

// channel × keep / 255 as Cairo's compositing rounds it: t = channel × keep + 128, then
// (t + t / 256) / 256. The sum with the colour never carries from one channel into the next,
// since a premultiplied channel is at most its alpha.
void layOverScalar(std::uint8_t* row, int count, std::uint32_t pixel, std::uint16_t keep)
{
    const std::size_t lanes = static_cast<std::size_t>(count) * 4;
    for (std::size_t k = 0; k < lanes; ++k) {
        const auto t = static_cast<std::uint16_t>(row[k] * keep + 0x80);
        row[k] = static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
    }
    auto* p = reinterpret_cast<std::uint32_t*>(row);
    for (int i = 0; i < count; ++i)
        p[i] += pixel;
}

void layOverSse2(std::uint8_t* row, int count, std::uint32_t pixel, std::uint16_t keep)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), bias = _mm_set1_epi16(0x80);
    const __m128i keeps = _mm_set1_epi16(static_cast<short>(keep));
    const __m128i colour = _mm_set1_epi32(static_cast<int>(pixel));
    const auto scale = [&](__m128i v) {
        const __m128i t = _mm_add_epi16(_mm_mullo_epi16(v, keeps), bias);
        return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    };
    for (; i + 4 <= count; i += 4) {
        auto* at = reinterpret_cast<__m128i*>(row + 4 * i);
        const __m128i v = _mm_loadu_si128(at);
        const __m128i scaled = _mm_packus_epi16(scale(_mm_unpacklo_epi8(v, zero)), scale(_mm_unpackhi_epi8(v, zero)));
        _mm_storeu_si128(at, _mm_add_epi32(scaled, colour));
    }
#endif
    layOverScalar(row + 4 * i, count - i, pixel, keep);
}

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx2"))) inline __m256i scaled256(__m256i v, __m256i keeps)
{
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(v, keeps), _mm256_set1_epi16(0x80));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

__attribute__((target("avx2"))) inline __m256i over256(__m256i v, __m256i keeps, __m256i colour)
{
    // Unpacking and packing both work within 128-bit halves, so the pixels keep their order.
    const __m256i zero = _mm256_setzero_si256();
    const __m256i scaled = _mm256_packus_epi16(scaled256(_mm256_unpacklo_epi8(v, zero), keeps),
                                               scaled256(_mm256_unpackhi_epi8(v, zero), keeps));
    return _mm256_add_epi32(scaled, colour);
}

__attribute__((target("avx2"))) void layOverAvx2(std::uint8_t* row, int count, std::uint32_t pixel,
                                                 std::uint16_t keep)
{
    const __m256i keeps = _mm256_set1_epi16(static_cast<short>(keep));
    const __m256i colour = _mm256_set1_epi32(static_cast<int>(pixel));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        auto* at = reinterpret_cast<__m256i*>(row + 4 * i);
        _mm256_storeu_si256(at, over256(_mm256_loadu_si256(at), keeps, colour));
    }
    if (i < count) {
        // The last few pixels through masked loads and stores.
        auto* at = reinterpret_cast<int*>(row + 4 * i);
        const __m256i mask =
            _mm256_cmpgt_epi32(_mm256_set1_epi32(count - i), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
        _mm256_maskstore_epi32(at, mask, over256(_mm256_maskload_epi32(at, mask), keeps, colour));
    }
}
#endif

LayOver chosenLayOver()
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2"))
        return layOverAvx2;
#endif
    return layOverSse2;
}

} // namespace

void layOverPixels(std::uint8_t* row, int count, std::uint32_t pixel)
{
    static const LayOver layOver = chosenLayOver();
    if (count <= 0 || pixel == 0)
        return;
    const auto alpha = static_cast<std::uint16_t>(pixel >> 24);
    if (alpha == 255) {
        // Opaque: the colour replaces what was there.
        std::fill_n(reinterpret_cast<std::uint32_t*>(row), count, pixel);
        return;
    }
    layOver(row, count, pixel, static_cast<std::uint16_t>(255 - alpha));
}

void layOverRect(std::uint8_t* pixels, int stride, PixelRect rect, std::uint32_t pixel)
{
    if (rect.empty())
        return;
    for (int y = 0; y < rect.height; ++y)
        layOverPixels(pixels + static_cast<std::size_t>(rect.y + y) * stride + static_cast<std::size_t>(rect.x) * 4,
                      rect.width, pixel);
}

} // namespace uikit

#include "uikit/render_blur.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace uikit {

namespace {

// Sums of a box of at most 255 × (2 × 127 + 1) fit 16 bits, which halves the work per lane.
constexpr int kMaxRadius = 127;

// The box average of a sum over `diameter` values, rounded, as (sum + diameter / 2) × mul >> 16
// with mul = ⌈65536 / diameter⌉: off by at most one level, never above 255 after saturation.
struct Divider {
    std::uint16_t half, mul;
    explicit Divider(int diameter)
        : half(static_cast<std::uint16_t>(diameter / 2)),
          mul(static_cast<std::uint16_t>((65536 + diameter - 1) / diameter))
    {
    }
    std::uint8_t operator()(std::uint16_t sum) const
    {
        return static_cast<std::uint8_t>(std::min<std::uint32_t>((std::uint32_t(sum + half) * mul) >> 16, 255));
    }
};

// One box pass down the rows of a block: every byte of a row is its own lane (a channel of a
// pixel), so the inner loop runs over whole rows, sixteen lanes at a time. Rows past either end
// repeat the first or last row.
void columnPass(const std::uint8_t* in, std::uint8_t* out, int lanes, int rows, int radius,
                std::vector<std::uint16_t>& sums)
{
    const Divider divide(2 * radius + 1);
    const std::size_t stride = static_cast<std::size_t>(lanes);
    sums.assign(stride + 16, 0);
    std::uint16_t* sum = sums.data();
    for (int i = -radius; i <= radius; ++i) {
        const std::uint8_t* row = in + std::clamp(i, 0, rows - 1) * stride;
        for (std::size_t k = 0; k < stride; ++k)
            sum[k] = static_cast<std::uint16_t>(sum[k] + row[k]);
    }
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(static_cast<short>(divide.half));
    const __m128i mul = _mm_set1_epi16(static_cast<short>(divide.mul));
#endif
    for (int y = 0; y < rows; ++y) {
        std::uint8_t* o = out + y * stride;
        const std::uint8_t* add = in + std::min(y + radius + 1, rows - 1) * stride;
        const std::uint8_t* sub = in + std::max(y - radius, 0) * stride;
        std::size_t k = 0;
#if defined(__SSE2__)
        for (; k + 16 <= stride; k += 16) {
            __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sum + k));
            __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sum + k + 8));
            const __m128i averageLo = _mm_mulhi_epu16(_mm_add_epi16(lo, half), mul);
            const __m128i averageHi = _mm_mulhi_epu16(_mm_add_epi16(hi, half), mul);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + k), _mm_packus_epi16(averageLo, averageHi));
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(add + k));
            const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sub + k));
            lo = _mm_add_epi16(lo, _mm_sub_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(s, zero)));
            hi = _mm_add_epi16(hi, _mm_sub_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(s, zero)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(sum + k), lo);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(sum + k + 8), hi);
        }
#endif
        for (; k < stride; ++k) {
            o[k] = divide(sum[k]);
            sum[k] = static_cast<std::uint16_t>(sum[k] + add[k] - sub[k]);
        }
    }
}

// Three passes: a → b → a → b. The result is in b.
void threePasses(std::uint8_t* a, std::uint8_t* b, int lanes, int rows, int radius, std::vector<std::uint16_t>& sums)
{
    columnPass(a, b, lanes, rows, radius, sums);
    columnPass(b, a, lanes, rows, radius, sums);
    columnPass(a, b, lanes, rows, radius, sums);
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

struct Scratch {
    std::vector<std::uint32_t> a, b;
    std::vector<std::uint16_t> sums;
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
    // The scratch buffers are reused across calls: a frame blurs several panels.
    static thread_local Scratch scratch;
    const std::size_t count = static_cast<std::size_t>(width) * height;
    scratch.a.resize(count);
    scratch.b.resize(count);
    auto* a = reinterpret_cast<std::uint8_t*>(scratch.a.data());
    auto* b = reinterpret_cast<std::uint8_t*>(scratch.b.data());

    for (int y = 0; y < height; ++y)
        std::memcpy(a + static_cast<std::size_t>(y) * width * 4, pixels + static_cast<std::size_t>(y) * stride,
                    static_cast<std::size_t>(width) * 4);
    // Vertical passes on the block, then the same passes on its transpose for the horizontal
    // direction: both run as the fast row-wise loop.
    threePasses(a, b, width * 4, height, radius, scratch.sums);
    transpose(scratch.b.data(), width, height, width, scratch.a.data(), height);
    threePasses(a, b, height * 4, width, radius, scratch.sums);
    transpose(scratch.b.data(), height, width, height, reinterpret_cast<std::uint32_t*>(pixels),
              static_cast<std::size_t>(stride) / 4);
}

cairo_surface_t* blurredCopy(cairo_surface_t* source, PixelRect area, int radius)
{
    if (!source || cairo_surface_get_type(source) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(source) != CAIRO_FORMAT_ARGB32)
        return nullptr;
    cairo_surface_flush(source);
    const PixelRect whole{0, 0, cairo_image_surface_get_width(source), cairo_image_surface_get_height(source)};
    area = intersect(area, whole);
    if (area.empty())
        return nullptr;
    radius = std::clamp(radius, 0, kMaxRadius);
    const PixelRect sampled = intersect(expand(area, radius), whole);

    const int sourceStride = cairo_image_surface_get_stride(source);
    const std::uint8_t* sourceData = cairo_image_surface_get_data(source);
    const int stride = sampled.width * 4;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(stride) * sampled.height);
    for (int y = 0; y < sampled.height; ++y)
        std::memcpy(block.data() + static_cast<std::size_t>(y) * stride,
                    sourceData + static_cast<std::size_t>(sampled.y + y) * sourceStride + sampled.x * 4,
                    static_cast<std::size_t>(stride));
    boxBlur(block.data(), sampled.width, sampled.height, stride, radius);

    cairo_surface_t* result = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.width, area.height);
    if (cairo_surface_status(result) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(result);
        return nullptr;
    }
    cairo_surface_flush(result);
    std::uint8_t* out = cairo_image_surface_get_data(result);
    const int outStride = cairo_image_surface_get_stride(result);
    const int dx = area.x - sampled.x, dy = area.y - sampled.y;
    for (int y = 0; y < area.height; ++y)
        std::memcpy(out + static_cast<std::size_t>(y) * outStride,
                    block.data() + static_cast<std::size_t>(dy + y) * stride + dx * 4,
                    static_cast<std::size_t>(area.width) * 4);
    cairo_surface_mark_dirty(result);
    return result;
}

} // namespace uikit

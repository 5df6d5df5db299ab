#include "objc/objc.h"
#include "uikit/image.h"
#include "weather/weather_image_loader.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>

using namespace objc;

namespace {

std::shared_ptr<UIImage> picture(long code)
{
    Class loader = objc_getClass("WeatherImageLoader");
    return std::dynamic_pointer_cast<UIImage>(msgSend<id>(loader, "conditionImageWithConditionIndex:"_sel, code));
}

std::string pixels(const UIImage& image)
{
    cairo_surface_t* surface = image.surface();
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const auto* data = reinterpret_cast<const char*>(cairo_image_surface_get_data(surface));
    return std::string(data, static_cast<std::size_t>(stride * image.pixelHeight()));
}

struct Coverage {
    int painted = 0;      // pixels with any paint
    bool onlyWhite = true; // premultiplied: every channel equals alpha
};

Coverage coverage(const UIImage& image)
{
    Coverage result;
    cairo_surface_t* surface = image.surface();
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < image.pixelHeight(); ++y)
        for (int x = 0; x < image.pixelWidth(); ++x) {
            std::uint32_t argb;
            std::memcpy(&argb, data + y * stride + x * 4, 4);
            const unsigned a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
            if (a == 0)
                continue;
            ++result.painted;
            if (r != a || g != a || b != a)
                result.onlyWhite = false;
        }
    return result;
}

} // namespace

TEST(WeatherImageLoader, EveryConditionHasItsOwnSmallWhitePicture)
{
    ASSERT_NE(objc_getClass("WeatherImageLoader"), nullptr);
    const auto notAvailable = picture(-1);
    ASSERT_TRUE(notAvailable);
    const std::string notAvailablePixels = pixels(*notAvailable);

    std::set<std::string> distinct;
    for (long code = 0; code <= 47; ++code) {
        const auto image = picture(code);
        ASSERT_TRUE(image) << "code " << code;
        EXPECT_EQ(image->size(), CGSizeMake(30, 30)) << "code " << code;
        EXPECT_EQ(image->scale(), 2.0);
        EXPECT_EQ(image->pixelWidth(), 60);
        const Coverage c = coverage(*image);
        // Something recognisable: more than a speck, far less than a filled square.
        EXPECT_GT(c.painted, 150) << "code " << code;
        EXPECT_LT(c.painted, 60 * 60 * 3 / 4) << "code " << code;
        EXPECT_TRUE(c.onlyWhite) << "code " << code;
        EXPECT_NE(pixels(*image), notAvailablePixels) << "code " << code;
        distinct.insert(pixels(*image));
    }
    EXPECT_EQ(distinct.size(), 48u);
}

TEST(WeatherImageLoader, CodesOutsideTheTableShareTheNotAvailablePicture)
{
    const auto notAvailable = picture(48);
    ASSERT_TRUE(notAvailable);
    EXPECT_EQ(picture(-1), notAvailable);
    EXPECT_EQ(picture(3200), notAvailable);
    EXPECT_EQ(picture(std::numeric_limits<long>::min()), notAvailable);
    EXPECT_GT(coverage(*notAvailable).painted, 100);
}

TEST(WeatherImageLoader, HandsOutTheSamePictureObjectEachTime)
{
    EXPECT_EQ(picture(32), picture(32));
    EXPECT_NE(picture(32), picture(31));
}

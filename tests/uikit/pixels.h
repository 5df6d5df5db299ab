// Reading an image's pixels back in tests, by point or pixel position.
#pragma once

#include "uikit/geometry.h"
#include "uikit/image.h"

#include <cairo.h>
#include <cstdint>
#include <algorithm>
#include <string>

namespace graphicstest {

// One pixel, un-premultiplied, channels 0..255.
struct Pixel {
    int red = 0, green = 0, blue = 0, alpha = 0;
    bool operator==(const Pixel&) const = default;
};

Pixel pixelAt(const UIImage& image, int px, int py);
// The pixel under a point (in the image's points).
Pixel pixelAtPoint(const UIImage& image, CGFloat x, CGFloat y);
// Pixels that pass the test, and their bounding box in points (empty box when none).
template <class Test>
int countPixels(const UIImage& image, Test test, CGRect* boxInPoints = nullptr);
bool samePixels(const UIImage& a, const UIImage& b);

// A PNG on disk filled with one colour (premultiplied by alpha as Cairo stores it).
void writeSolidPNG(const std::string& hostPath, int width, int height, double r, double g, double b, double a);

inline bool isReddish(const Pixel& p) { return p.alpha > 64 && p.red > 150 && p.green < 80 && p.blue < 80; }
inline bool isInked(const Pixel& p) { return p.alpha > 64; }

} // namespace graphicstest

template <class Test>
int graphicstest::countPixels(const UIImage& image, Test test, CGRect* boxInPoints)
{
    int count = 0, minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
    for (int y = 0; y < image.pixelHeight(); ++y)
        for (int x = 0; x < image.pixelWidth(); ++x)
            if (test(pixelAt(image, x, y))) {
                ++count;
                minX = std::min(minX, x), minY = std::min(minY, y);
                maxX = std::max(maxX, x), maxY = std::max(maxY, y);
            }
    if (boxInPoints) {
        const CGFloat s = image.scale();
        *boxInPoints = count ? CGRectMake(minX / s, minY / s, (maxX + 1 - minX) / s, (maxY + 1 - minY) / s) : CGRectZero;
    }
    return count;
}

// Reading rendered pictures back in the renderer's tests: pixels by point, regions, contrast.
#pragma once

#include "uikit/geometry.h"
#include "uikit/image.h"

#include <memory>
#include <string>

namespace rendertest {

// One pixel, un-premultiplied, channels 0..255.
struct Pixel {
    int red = 0, green = 0, blue = 0, alpha = 0;
};

Pixel pixelAt(const UIImage& image, int px, int py);
// The pixel under a point (in the image's points).
Pixel at(const UIImage& image, CGFloat x, CGFloat y);
// Whether each channel is within the tolerance of the expected 0..255 values.
bool near(const Pixel& p, int red, int green, int blue, int alpha, int tolerance = 6);
// Mean luminance (0..255, composited over black) and its standard deviation over a rectangle
// in points: a sharp stripe pattern has a large deviation, a blurred one a small one.
double meanLuma(const UIImage& image, CGRect rect);
double lumaDeviation(const UIImage& image, CGRect rect);
// Pixels in the rectangle (points) whose alpha is at least minAlpha and whose luminance is at most maxLuma.
int darkPixels(const UIImage& image, CGRect rect, int maxLuma, int minAlpha = 128);
// A PNG read from a host path, at the given scale; nil when unreadable.
std::shared_ptr<UIImage> readPNG(const std::string& hostPath, CGFloat scale = 2);

} // namespace rendertest

#include "uikit/color.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

double clamp01(double v) { return std::isnan(v) ? 0 : std::clamp(v, 0.0, 1.0); }

} // namespace

UIColor::UIColor(double red, double green, double blue, double alpha)
    : red_(red), green_(green), blue_(blue), alpha_(alpha)
{
}

std::shared_ptr<UIColor> UIColor::colorWithRedGreenBlueAlpha(double red, double green, double blue, double alpha)
{
    return std::make_shared<UIColor>(red, green, blue, alpha);
}

std::shared_ptr<UIColor> UIColor::colorWithWhiteAlpha(double white, double alpha)
{
    return std::make_shared<UIColor>(white, white, white, alpha);
}

std::shared_ptr<UIColor> UIColor::colorWithHueSaturationBrightnessAlpha(double hue, double saturation,
                                                                        double brightness, double alpha)
{
    // Hue is an angle: anything outside 0..1 (including 1 itself) wraps around to red.
    double h = std::isfinite(hue) ? hue - std::floor(hue) : 0;
    const double s = clamp01(saturation), v = clamp01(brightness);
    h *= 6;
    const int sector = static_cast<int>(h) % 6;
    const double f = h - std::floor(h);
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    double r = v, g = t, b = p;
    switch (sector) {
    case 0: r = v, g = t, b = p; break;
    case 1: r = q, g = v, b = p; break;
    case 2: r = p, g = v, b = t; break;
    case 3: r = p, g = q, b = v; break;
    case 4: r = t, g = p, b = v; break;
    default: r = v, g = p, b = q; break;
    }
    return std::make_shared<UIColor>(r, g, b, alpha);
}

std::shared_ptr<UIColor> UIColor::whiteColor()
{
    static const auto color = std::make_shared<UIColor>(1, 1, 1, 1);
    return color;
}

std::shared_ptr<UIColor> UIColor::blackColor()
{
    static const auto color = std::make_shared<UIColor>(0, 0, 0, 1);
    return color;
}

std::shared_ptr<UIColor> UIColor::redColor()
{
    static const auto color = std::make_shared<UIColor>(1, 0, 0, 1);
    return color;
}

std::shared_ptr<UIColor> UIColor::lightGrayColor()
{
    static const auto color = std::make_shared<UIColor>(2.0 / 3, 2.0 / 3, 2.0 / 3, 1);
    return color;
}

std::shared_ptr<UIColor> UIColor::grayColor()
{
    static const auto color = std::make_shared<UIColor>(0.5, 0.5, 0.5, 1);
    return color;
}

std::shared_ptr<UIColor> UIColor::clearColor()
{
    static const auto color = std::make_shared<UIColor>(0, 0, 0, 0);
    return color;
}

bool UIColor::getRedGreenBlueAlpha(double* red, double* green, double* blue, double* alpha) const
{
    if (red)
        *red = red_;
    if (green)
        *green = green_;
    if (blue)
        *blue = blue_;
    if (alpha)
        *alpha = alpha_;
    return true;
}

std::shared_ptr<UIColor> UIColor::colorWithAlphaComponent(double alpha) const
{
    return std::make_shared<UIColor>(red_, green_, blue_, alpha);
}

CGColorRef UIColor::CGColor() const
{
    return std::make_shared<const ::CGColor>(::CGColor{red_, green_, blue_, alpha_});
}

std::string UIColor::description() const
{
    char text[96];
    std::snprintf(text, sizeof text, "UIDeviceRGBColorSpace %g %g %g %g", red_, green_, blue_, alpha_);
    return text;
}

bool UIColor::isEqual(const objc::Object* other) const
{
    if (other == this)
        return true;
    const auto* color = dynamic_cast<const UIColor*>(other);
    return color && color->red_ == red_ && color->green_ == green_ && color->blue_ == blue_ &&
           color->alpha_ == alpha_;
}

std::size_t UIColor::hash() const
{
    std::size_t h = 0;
    for (double c : {red_, green_, blue_, alpha_})
        h = h * 31 + std::hash<double>()(c);
    return h;
}

OBJC_REGISTER(UIColor,
    c.classMethod<&UIColor::colorWithRedGreenBlueAlpha>("colorWithRed:green:blue:alpha:");
    c.classMethod<&UIColor::colorWithWhiteAlpha>("colorWithWhite:alpha:");
    c.classMethod<&UIColor::colorWithHueSaturationBrightnessAlpha>("colorWithHue:saturation:brightness:alpha:");
    c.classMethod<&UIColor::whiteColor>("whiteColor");
    c.classMethod<&UIColor::blackColor>("blackColor");
    c.classMethod<&UIColor::redColor>("redColor");
    c.classMethod<&UIColor::lightGrayColor>("lightGrayColor");
    c.classMethod<&UIColor::grayColor>("grayColor");
    c.classMethod<&UIColor::clearColor>("clearColor");
    c.method<&UIColor::colorWithAlphaComponent>("colorWithAlphaComponent:");)

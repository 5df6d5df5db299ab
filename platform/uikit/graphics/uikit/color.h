// Colours: RGBA with double components in 0..1. White is one shared object, so a caller can
// compare a colour with [UIColor whiteColor] by identity.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

#include <memory>
#include <string>

// The colour of a layer property; nullptr means no colour.
struct CGColor {
    double red = 0, green = 0, blue = 0, alpha = 1;
    bool operator==(const CGColor&) const = default;
};
using CGColorRef = std::shared_ptr<const CGColor>;

class UIColor : public objc::Object {
    OBJC_CLASS(UIColor, objc::Object)
public:
    UIColor() = default;
    UIColor(double red, double green, double blue, double alpha);

    static std::shared_ptr<UIColor> colorWithRedGreenBlueAlpha(double red, double green, double blue, double alpha);
    static std::shared_ptr<UIColor> colorWithWhiteAlpha(double white, double alpha);
    // Hue, saturation and brightness in 0..1 (hue 1.0 is red again).
    static std::shared_ptr<UIColor> colorWithHueSaturationBrightnessAlpha(double hue, double saturation,
                                                                          double brightness, double alpha);
    static std::shared_ptr<UIColor> whiteColor();     // one shared object
    static std::shared_ptr<UIColor> blackColor();
    static std::shared_ptr<UIColor> redColor();       // pure red
    static std::shared_ptr<UIColor> lightGrayColor(); // grey level 2/3
    static std::shared_ptr<UIColor> grayColor();      // grey level 1/2
    static std::shared_ptr<UIColor> clearColor();

    // getRed:green:blue:alpha:. Always succeeds for these colours.
    bool getRedGreenBlueAlpha(double* red, double* green, double* blue, double* alpha) const;
    std::shared_ptr<UIColor> colorWithAlphaComponent(double alpha) const;
    CGColorRef CGColor() const;

    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    double alpha() const { return alpha_; }

    std::string description() const override;
    bool isEqual(const objc::Object* other) const override;
    std::size_t hash() const override; // consistent with isEqual: by components

private:
    double red_ = 0, green_ = 0, blue_ = 0, alpha_ = 1;
};

// Paths for shape layers and masks: a list of elements in points.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

#include <cairo.h>
#include <memory>
#include <vector>

enum UIRectCorner : unsigned long {
    UIRectCornerTopLeft = 1 << 0,
    UIRectCornerTopRight = 1 << 1,
    UIRectCornerBottomLeft = 1 << 2,
    UIRectCornerBottomRight = 1 << 3,
    UIRectCornerAllCorners = 0xF,
};

struct CGPathElement {
    enum class Kind { Move, Line, Curve, Close } kind;
    CGPoint points[3];
};
using CGPath = std::vector<CGPathElement>;

class UIBezierPath : public objc::Object {
    OBJC_CLASS(UIBezierPath, objc::Object)
public:
    static std::shared_ptr<UIBezierPath> bezierPathWithRect(CGRect rect);
    static std::shared_ptr<UIBezierPath> bezierPathWithOvalInRect(CGRect rect);
    static std::shared_ptr<UIBezierPath> bezierPathWithRoundedRectCornerRadius(CGRect rect, CGFloat radius);
    // Only the chosen corners are rounded, with radii (width, height).
    static std::shared_ptr<UIBezierPath> bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        CGRect rect, unsigned long corners, CGSize radii);

    const CGPath& cgPath() const { return path_; }
    CGRect bounds() const;
    // Appends the path to a Cairo context (in the context's current units).
    void addToCairo(cairo_t* cr) const;
    bool containsPoint(CGPoint point) const;

    void moveToPoint(CGPoint p);
    void addLineToPoint(CGPoint p);
    void addCurveToPoint(CGPoint end, CGPoint control1, CGPoint control2);
    void closePath();

private:
    CGPath path_;
};

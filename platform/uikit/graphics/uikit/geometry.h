// Points, sizes, rectangles and insets in points, as the toolkit and its layers use them.
#pragma once

#include "objc/encoding.h"

#include <algorithm>
#include <cmath>

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0, y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    CGFloat width = 0, height = 0;
    bool operator==(const CGSize&) const = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
};

struct UIEdgeInsets {
    CGFloat top = 0, left = 0, bottom = 0, right = 0;
    bool operator==(const UIEdgeInsets&) const = default;
};

struct NSRange {
    unsigned long location = 0, length = 0;
    bool operator==(const NSRange&) const = default;
};

inline constexpr CGRect CGRectZero{};
inline constexpr CGPoint CGPointZero{};
inline constexpr CGSize CGSizeZero{};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) { return {x, y}; }
inline CGSize CGSizeMake(CGFloat w, CGFloat h) { return {w, h}; }
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h) { return {{x, y}, {w, h}}; }
inline UIEdgeInsets UIEdgeInsetsMake(CGFloat t, CGFloat l, CGFloat b, CGFloat r) { return {t, l, b, r}; }

// A rectangle with negative width or height describes the same area as its standardised form.
inline CGRect CGRectStandardize(CGRect r)
{
    if (r.size.width < 0) {
        r.origin.x += r.size.width;
        r.size.width = -r.size.width;
    }
    if (r.size.height < 0) {
        r.origin.y += r.size.height;
        r.size.height = -r.size.height;
    }
    return r;
}
inline CGFloat CGRectGetMinX(CGRect r) { return CGRectStandardize(r).origin.x; }
inline CGFloat CGRectGetMinY(CGRect r) { return CGRectStandardize(r).origin.y; }
inline CGFloat CGRectGetMaxX(CGRect r) { r = CGRectStandardize(r); return r.origin.x + r.size.width; }
inline CGFloat CGRectGetMaxY(CGRect r) { r = CGRectStandardize(r); return r.origin.y + r.size.height; }
inline CGFloat CGRectGetMidX(CGRect r) { return (CGRectGetMinX(r) + CGRectGetMaxX(r)) / 2; }
inline CGFloat CGRectGetMidY(CGRect r) { return (CGRectGetMinY(r) + CGRectGetMaxY(r)) / 2; }
inline CGFloat CGRectGetWidth(CGRect r) { return std::fabs(r.size.width); }
inline CGFloat CGRectGetHeight(CGRect r) { return std::fabs(r.size.height); }
inline bool CGRectIsEmpty(CGRect r) { return r.size.width == 0 || r.size.height == 0; }
inline bool CGRectEqualToRect(CGRect a, CGRect b) { return a == b; }
inline bool CGPointEqualToPoint(CGPoint a, CGPoint b) { return a == b; }
inline bool CGSizeEqualToSize(CGSize a, CGSize b) { return a == b; }

inline bool CGRectContainsPoint(CGRect r, CGPoint p)
{
    r = CGRectStandardize(r);
    return p.x >= r.origin.x && p.x < r.origin.x + r.size.width && p.y >= r.origin.y &&
           p.y < r.origin.y + r.size.height;
}

// The overlap of two rectangles; the zero rectangle when they do not overlap.
inline CGRect CGRectIntersection(CGRect a, CGRect b)
{
    a = CGRectStandardize(a);
    b = CGRectStandardize(b);
    const CGFloat x0 = std::max(a.origin.x, b.origin.x), y0 = std::max(a.origin.y, b.origin.y);
    const CGFloat x1 = std::min(CGRectGetMaxX(a), CGRectGetMaxX(b)), y1 = std::min(CGRectGetMaxY(a), CGRectGetMaxY(b));
    if (x1 <= x0 || y1 <= y0)
        return CGRectZero;
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}
inline bool CGRectIntersectsRect(CGRect a, CGRect b) { return !CGRectIsEmpty(CGRectIntersection(a, b)); }
inline CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy) { return CGRectMake(r.origin.x + dx, r.origin.y + dy, r.size.width, r.size.height); }
inline CGRect CGRectInset(CGRect r, CGFloat dx, CGFloat dy)
{
    return CGRectMake(r.origin.x + dx, r.origin.y + dy, r.size.width - 2 * dx, r.size.height - 2 * dy);
}

namespace objc {
OBJC_ENCODE(CGPoint, "{CGPoint=dd}");
OBJC_ENCODE(CGSize, "{CGSize=dd}");
OBJC_ENCODE(CGRect, "{CGRect={CGPoint=dd}{CGSize=dd}}");
OBJC_ENCODE(UIEdgeInsets, "{UIEdgeInsets=dddd}");
OBJC_ENCODE(NSRange, "{_NSRange=QQ}");
} // namespace objc

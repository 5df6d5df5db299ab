#include "uikit/bezier_path.h"

#include "uikit/text_layout.h"

#include <cmath>
#include <limits>

namespace {

// Control-point distance, as a fraction of the radius, for a quarter ellipse drawn as one cubic.
constexpr CGFloat kKappa = 0.5522847498307936;

// A quarter ellipse from `from` to `to` around the corner point: the controls pull towards it.
void addCorner(UIBezierPath& path, CGPoint from, CGPoint corner, CGPoint to)
{
    const CGPoint c1{from.x + (corner.x - from.x) * kKappa, from.y + (corner.y - from.y) * kKappa};
    const CGPoint c2{to.x + (corner.x - to.x) * kKappa, to.y + (corner.y - to.y) * kKappa};
    path.addCurveToPoint(to, c1, c2);
}

CGFloat clampRadius(CGFloat radius, CGFloat side)
{
    if (!std::isfinite(radius) || radius <= 0)
        return 0;
    return std::min(radius, side / 2);
}

} // namespace

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithRect(CGRect rect)
{
    rect = CGRectStandardize(rect);
    auto path = std::make_shared<UIBezierPath>();
    const CGFloat x0 = CGRectGetMinX(rect), y0 = CGRectGetMinY(rect);
    const CGFloat x1 = CGRectGetMaxX(rect), y1 = CGRectGetMaxY(rect);
    path->moveToPoint({x0, y0});
    path->addLineToPoint({x1, y0});
    path->addLineToPoint({x1, y1});
    path->addLineToPoint({x0, y1});
    path->closePath();
    return path;
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithOvalInRect(CGRect rect)
{
    rect = CGRectStandardize(rect);
    auto path = std::make_shared<UIBezierPath>();
    const CGFloat x0 = CGRectGetMinX(rect), y0 = CGRectGetMinY(rect);
    const CGFloat x1 = CGRectGetMaxX(rect), y1 = CGRectGetMaxY(rect);
    const CGFloat mx = CGRectGetMidX(rect), my = CGRectGetMidY(rect);
    path->moveToPoint({x1, my});
    addCorner(*path, {x1, my}, {x1, y1}, {mx, y1});
    addCorner(*path, {mx, y1}, {x0, y1}, {x0, my});
    addCorner(*path, {x0, my}, {x0, y0}, {mx, y0});
    addCorner(*path, {mx, y0}, {x1, y0}, {x1, my});
    path->closePath();
    return path;
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRect rect, CGFloat radius)
{
    return bezierPathWithRoundedRectByRoundingCornersCornerRadii(rect, UIRectCornerAllCorners,
                                                                 CGSizeMake(radius, radius));
}

std::shared_ptr<UIBezierPath> UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
    CGRect rect, unsigned long corners, CGSize radii)
{
    rect = CGRectStandardize(rect);
    const CGFloat x0 = CGRectGetMinX(rect), y0 = CGRectGetMinY(rect);
    const CGFloat x1 = CGRectGetMaxX(rect), y1 = CGRectGetMaxY(rect);
    const CGFloat rx = clampRadius(radii.width, rect.size.width);
    const CGFloat ry = clampRadius(radii.height, rect.size.height);
    auto radiusX = [&](unsigned long corner) { return (corners & corner) ? rx : 0; };
    auto radiusY = [&](unsigned long corner) { return (corners & corner) ? ry : 0; };

    // Clockwise from the end of the top-left corner; a corner with no radius is a plain vertex.
    auto path = std::make_shared<UIBezierPath>();
    auto corner = [&](CGPoint from, CGPoint at, CGPoint to) {
        path->addLineToPoint(from);
        addCorner(*path, from, at, to);
    };
    const CGFloat tl = radiusX(UIRectCornerTopLeft), tlY = radiusY(UIRectCornerTopLeft);
    const CGFloat tr = radiusX(UIRectCornerTopRight), trY = radiusY(UIRectCornerTopRight);
    const CGFloat br = radiusX(UIRectCornerBottomRight), brY = radiusY(UIRectCornerBottomRight);
    const CGFloat bl = radiusX(UIRectCornerBottomLeft), blY = radiusY(UIRectCornerBottomLeft);

    path->moveToPoint({x0 + tl, y0});
    if (tr > 0 && trY > 0)
        corner({x1 - tr, y0}, {x1, y0}, {x1, y0 + trY});
    else
        path->addLineToPoint({x1, y0});
    if (br > 0 && brY > 0)
        corner({x1, y1 - brY}, {x1, y1}, {x1 - br, y1});
    else
        path->addLineToPoint({x1, y1});
    if (bl > 0 && blY > 0)
        corner({x0 + bl, y1}, {x0, y1}, {x0, y1 - blY});
    else
        path->addLineToPoint({x0, y1});
    if (tl > 0 && tlY > 0)
        corner({x0, y0 + tlY}, {x0, y0}, {x0 + tl, y0});
    else
        path->addLineToPoint({x0, y0});
    path->closePath();
    return path;
}

CGRect UIBezierPath::bounds() const
{
    // Like the platform's path bounds: every point counts, control points included.
    CGFloat minX = std::numeric_limits<CGFloat>::infinity(), minY = minX;
    CGFloat maxX = -minX, maxY = -minX;
    for (const CGPathElement& element : path_) {
        const int count = element.kind == CGPathElement::Kind::Curve ? 3
                          : element.kind == CGPathElement::Kind::Close ? 0
                                                                       : 1;
        for (int i = 0; i < count; ++i) {
            minX = std::min(minX, element.points[i].x);
            minY = std::min(minY, element.points[i].y);
            maxX = std::max(maxX, element.points[i].x);
            maxY = std::max(maxY, element.points[i].y);
        }
    }
    if (minX > maxX)
        return CGRectZero;
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

void UIBezierPath::addToCairo(cairo_t* cr) const
{
    if (!cr)
        return;
    for (const CGPathElement& e : path_) {
        switch (e.kind) {
        case CGPathElement::Kind::Move: cairo_move_to(cr, e.points[0].x, e.points[0].y); break;
        case CGPathElement::Kind::Line: cairo_line_to(cr, e.points[0].x, e.points[0].y); break;
        case CGPathElement::Kind::Curve:
            cairo_curve_to(cr, e.points[1].x, e.points[1].y, e.points[2].x, e.points[2].y, e.points[0].x,
                           e.points[0].y);
            break;
        case CGPathElement::Kind::Close: cairo_close_path(cr); break;
        }
    }
}

bool UIBezierPath::containsPoint(CGPoint point) const
{
    cairo_t* cr = uikit::measuringContext();
    addToCairo(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    const bool inside = cairo_in_fill(cr, point.x, point.y);
    cairo_new_path(cr);
    return inside;
}

void UIBezierPath::moveToPoint(CGPoint p) { path_.push_back({CGPathElement::Kind::Move, {p, {}, {}}}); }

void UIBezierPath::addLineToPoint(CGPoint p) { path_.push_back({CGPathElement::Kind::Line, {p, {}, {}}}); }

// Stored as (end, control1, control2), the order of the message's arguments.
void UIBezierPath::addCurveToPoint(CGPoint end, CGPoint control1, CGPoint control2)
{
    path_.push_back({CGPathElement::Kind::Curve, {end, control1, control2}});
}

void UIBezierPath::closePath() { path_.push_back({CGPathElement::Kind::Close, {}}); }

OBJC_REGISTER(UIBezierPath,
    c.classMethod<&UIBezierPath::bezierPathWithRect>("bezierPathWithRect:");
    c.classMethod<&UIBezierPath::bezierPathWithOvalInRect>("bezierPathWithOvalInRect:");
    c.classMethod<&UIBezierPath::bezierPathWithRoundedRectCornerRadius>("bezierPathWithRoundedRect:cornerRadius:");
    c.classMethod<&UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii>(
        "bezierPathWithRoundedRect:byRoundingCorners:cornerRadii:");
    c.method<&UIBezierPath::bounds>("bounds");
    c.method<&UIBezierPath::containsPoint>("containsPoint:");
    c.method<&UIBezierPath::moveToPoint>("moveToPoint:");
    c.method<&UIBezierPath::addLineToPoint>("addLineToPoint:");
    c.method<&UIBezierPath::addCurveToPoint>("addCurveToPoint:controlPoint1:controlPoint2:");
    c.method<&UIBezierPath::closePath>("closePath");)

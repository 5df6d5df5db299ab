#include "uikit/bezier_path.h"

#include <gtest/gtest.h>

TEST(BezierPath, RectanglesAndOvals)
{
    const auto rect = UIBezierPath::bezierPathWithRect(CGRectMake(10, 20, 30, 40));
    EXPECT_EQ(rect->bounds(), CGRectMake(10, 20, 30, 40));
    EXPECT_TRUE(rect->containsPoint({11, 21}));
    EXPECT_TRUE(rect->containsPoint({39, 59}));
    EXPECT_FALSE(rect->containsPoint({9, 30}));
    EXPECT_FALSE(rect->containsPoint({20, 61}));
    // A rectangle given with a negative size covers the same area.
    EXPECT_EQ(UIBezierPath::bezierPathWithRect(CGRectMake(40, 60, -30, -40))->bounds(), CGRectMake(10, 20, 30, 40));

    const auto oval = UIBezierPath::bezierPathWithOvalInRect(CGRectMake(0, 0, 100, 50));
    EXPECT_EQ(oval->bounds(), CGRectMake(0, 0, 100, 50));
    EXPECT_TRUE(oval->containsPoint({50, 25}));
    EXPECT_TRUE(oval->containsPoint({2, 25}));
    EXPECT_TRUE(oval->containsPoint({50, 1}));
    EXPECT_FALSE(oval->containsPoint({5, 5}));
    EXPECT_FALSE(oval->containsPoint({95, 46}));
    // Points just inside and outside the true ellipse at 45°.
    const double c = std::sqrt(0.5);
    EXPECT_TRUE(oval->containsPoint({50 + 49 * c, 25 + 24 * c}));
    EXPECT_FALSE(oval->containsPoint({50 + 51 * c, 25 + 26 * c}));
}

TEST(BezierPath, RoundedCornersAreCutOnlyWhereAsked)
{
    const CGRect r = CGRectMake(0, 0, 100, 60);
    const auto top = UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        r, UIRectCornerTopLeft | UIRectCornerTopRight, CGSizeMake(20, 20));
    EXPECT_TRUE(top->containsPoint({2, 58}));  // bottom-left stays square
    EXPECT_TRUE(top->containsPoint({98, 58})); // bottom-right too
    EXPECT_FALSE(top->containsPoint({2, 2}));  // top-left is rounded off
    EXPECT_FALSE(top->containsPoint({98, 2}));
    EXPECT_TRUE(top->containsPoint({20, 2}));  // where the curve has already ended
    EXPECT_EQ(top->bounds(), r);

    const auto all = UIBezierPath::bezierPathWithRoundedRectCornerRadius(r, 20);
    for (CGPoint corner : {CGPoint{2, 2}, CGPoint{98, 2}, CGPoint{2, 58}, CGPoint{98, 58}})
        EXPECT_FALSE(all->containsPoint(corner)) << corner.x << "," << corner.y;
    EXPECT_TRUE(all->containsPoint({50, 30}));
    EXPECT_TRUE(all->containsPoint({7, 7})); // inside the quarter circle of radius 20
    EXPECT_FALSE(all->containsPoint({5, 5}));

    // Elliptical radii: a wide, shallow corner.
    const auto wide = UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        r, UIRectCornerBottomRight, CGSizeMake(40, 10));
    EXPECT_FALSE(wide->containsPoint({97, 58}));
    EXPECT_TRUE(wide->containsPoint({97, 48}));
    EXPECT_TRUE(wide->containsPoint({2, 2}));

    // No corners chosen, or radius 0: a plain rectangle.
    EXPECT_TRUE(UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(r, 0, CGSizeMake(20, 20))
                    ->containsPoint({1, 1}));
    EXPECT_TRUE(UIBezierPath::bezierPathWithRoundedRectCornerRadius(r, 0)->containsPoint({1, 59}));
}

TEST(BezierPath, RadiiAreLimitedToHalfTheSides)
{
    // A huge radius makes a pill: ends fully round, the middle intact, bounds unchanged.
    const auto pill = UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(0, 0, 100, 40), 500);
    EXPECT_EQ(pill->bounds(), CGRectMake(0, 0, 100, 40));
    EXPECT_TRUE(pill->containsPoint({50, 1}));
    EXPECT_TRUE(pill->containsPoint({1, 20}));
    EXPECT_FALSE(pill->containsPoint({3, 3}));
    EXPECT_FALSE(pill->containsPoint({97, 37}));

    // A square with radius half its side is a circle.
    const auto circle = UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(0, 0, 40, 40), 20);
    EXPECT_FALSE(circle->containsPoint({5, 5}));
    EXPECT_TRUE(circle->containsPoint({20, 1}));

    // Nonsense radii are no radius.
    const auto odd = UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(0, 0, 40, 40), -5);
    EXPECT_TRUE(odd->containsPoint({1, 1}));
    EXPECT_TRUE(UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRectMake(0, 0, 40, 40), NAN)->containsPoint({1, 1}));
}

TEST(BezierPath, FreeFormPathsUseTheNonZeroRule)
{
    UIBezierPath path;
    EXPECT_EQ(path.bounds(), CGRectZero);
    EXPECT_FALSE(path.containsPoint({0, 0}));

    // Two overlapping squares drawn the same way round: the overlap is inside (even-odd would say no).
    for (CGFloat o : {0.0, 10.0}) {
        path.moveToPoint({o, o});
        path.addLineToPoint({o + 20, o});
        path.addLineToPoint({o + 20, o + 20});
        path.addLineToPoint({o, o + 20});
        path.closePath();
    }
    EXPECT_TRUE(path.containsPoint({15, 15}));
    EXPECT_TRUE(path.containsPoint({5, 5}));
    EXPECT_TRUE(path.containsPoint({25, 25}));
    EXPECT_FALSE(path.containsPoint({25, 5}));
    EXPECT_EQ(path.bounds(), CGRectMake(0, 0, 30, 30));

    // A curve bulging beyond its end points: bounds include its control points.
    UIBezierPath arch;
    arch.moveToPoint({0, 0});
    arch.addCurveToPoint({40, 0}, {10, 40}, {30, 40});
    arch.closePath();
    EXPECT_EQ(arch.bounds(), CGRectMake(0, 0, 40, 40));
    EXPECT_TRUE(arch.containsPoint({20, 20}));
    EXPECT_FALSE(arch.containsPoint({20, 35})); // the curve itself only reaches y = 30
    ASSERT_EQ(arch.cgPath().size(), 3u);
    EXPECT_EQ(arch.cgPath()[1].kind, CGPathElement::Kind::Curve);
    EXPECT_EQ(arch.cgPath()[1].points[0], CGPointMake(40, 0));
}

TEST(BezierPath, PathsFillCairoContexts)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 20, 20);
    cairo_t* cr = cairo_create(surface);
    UIBezierPath::bezierPathWithRect(CGRectMake(5, 5, 10, 10))->addToCairo(cr);
    double x0, y0, x1, y1;
    cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
    EXPECT_EQ(x0, 5);
    EXPECT_EQ(y1, 15);
    cairo_fill(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    EXPECT_EQ(data[10 * stride + 10], 255);
    EXPECT_EQ(data[2 * stride + 2], 0);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    UIBezierPath().addToCairo(nullptr);
}

TEST(BezierPath, ShapesAreMadeThroughTheRuntime)
{
    using objc::operator""_sel;
    const auto path = objc::msgSend<std::shared_ptr<UIBezierPath>>(
        UIBezierPath::class_(), "bezierPathWithRoundedRect:cornerRadius:"_sel, CGRectMake(0, 0, 10, 10), 5.0);
    ASSERT_TRUE(path);
    EXPECT_TRUE(objc::msgSend<bool>(path, "containsPoint:"_sel, CGPointMake(5, 5)));
    EXPECT_FALSE(objc::msgSend<bool>(path, "containsPoint:"_sel, CGPointMake(0.5, 0.5)));
}

#include "render_pixels.h"

#include "uikit/backdrop_view.h"
#include "uikit/bezier_path.h"
#include "uikit/button.h"
#include "uikit/color.h"
#include "uikit/font.h"
#include "uikit/image.h"
#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/layer.h"
#include "uikit/renderer.h"
#include "uikit/scroll_view.h"
#include "uikit/snapshot.h"
#include "uikit/view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <unistd.h>

using rendertest::at;
using rendertest::near;

namespace {

std::shared_ptr<UIColor> rgb(double r, double g, double b, double a = 1)
{
    return UIColor::colorWithRedGreenBlueAlpha(r, g, b, a);
}

std::shared_ptr<UIView> box(CGRect frame, const std::shared_ptr<UIColor>& color = nullptr)
{
    auto v = UIView::create(frame);
    v->setBackgroundColor(color);
    return v;
}

// Vertical black and white stripes, `stripe` points wide, filling the view.
std::shared_ptr<UIView> stripedView(CGRect frame, CGFloat stripe)
{
    auto v = box(frame, UIColor::whiteColor());
    for (CGFloat x = 0; x < frame.size.width; x += 2 * stripe)
        v->addSubview(box(CGRectMake(x, 0, stripe, frame.size.height), UIColor::blackColor()));
    return v;
}

// A picture whose alpha is a centred disc: opaque inside, transparent outside.
std::shared_ptr<UIImage> discImage(CGFloat side, const std::shared_ptr<UIColor>& color, CGFloat scale = 2)
{
    const int px = static_cast<int>(side * scale);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, px, px);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgba(cr, color->red(), color->green(), color->blue(), color->alpha());
    cairo_arc(cr, px / 2.0, px / 2.0, px / 2.0, 0, 2 * std::numbers::pi);
    cairo_fill(cr);
    cairo_destroy(cr);
    return UIImage::imageWithSurface(s, scale);
}

std::shared_ptr<_UIBackdropView> standardBackdrop()
{
    auto b = _UIBackdropView::createWithStyle(2);
    b->inputSettings()->setColorTint(UIColor::blackColor());
    b->inputSettings()->setColorTintAlpha(0.4);
    b->setBlurRadiusSetOnce(true);
    b->setBlurRadius(4.0);
    b->setBlurQuality("default");
    return b;
}

} // namespace

// --- The tree: geometry, order, visibility, opacity ------------------------------------------

TEST(RenderViewTree, PlacesViewsByFrameAndBoundsAndDrawsLaterSubviewsOnTop)
{
    auto root = box(CGRectMake(50, 50, 100, 100), UIColor::whiteColor());
    root->addSubview(box(CGRectMake(10, 10, 40, 40), rgb(1, 0, 0)));
    root->addSubview(box(CGRectMake(30, 30, 40, 40), rgb(0, 0, 1)));
    auto image = snapshotImage(root.get());
    ASSERT_TRUE(image);
    // The root's own frame origin does not matter; its bounds fill the picture at scale 2.
    EXPECT_EQ(image->pixelWidth(), 200);
    EXPECT_EQ(image->pixelHeight(), 200);
    EXPECT_DOUBLE_EQ(image->scale(), 2.0);
    EXPECT_TRUE(near(at(*image, 5, 5), 255, 255, 255, 255));
    EXPECT_TRUE(near(at(*image, 15, 15), 255, 0, 0, 255));
    EXPECT_TRUE(near(at(*image, 40, 40), 0, 0, 255, 255)) << "the later subview covers the earlier";
    EXPECT_TRUE(near(at(*image, 65, 65), 0, 0, 255, 255));
    EXPECT_TRUE(near(at(*image, 75, 75), 255, 255, 255, 255));

    // Reordering changes the picture.
    root->bringSubviewToFront(root->subviews()[0].get());
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 40, 40), 255, 0, 0, 255));
}

TEST(RenderViewTree, BoundsOriginShiftsTheContentLikeAScrollOffset)
{
    auto root = box(CGRectMake(0, 0, 100, 100), UIColor::whiteColor());
    auto scroll = UIView::create<UIScrollView>(CGRectMake(0, 0, 100, 100));
    scroll->setContentSize(CGSizeMake(100, 300));
    scroll->addSubview(box(CGRectMake(0, 0, 100, 50), rgb(1, 0, 0)));
    scroll->addSubview(box(CGRectMake(0, 150, 100, 50), rgb(0, 0, 1)));
    root->addSubview(scroll);

    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 50, 25), 255, 0, 0, 255));
    EXPECT_TRUE(near(at(*image, 50, 75), 255, 255, 255, 255));

    scroll->setContentOffset(CGPointMake(0, 130));
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 50, 10), 255, 255, 255, 255)) << "the red box scrolled out";
    EXPECT_TRUE(near(at(*image, 50, 30), 0, 0, 255, 255)) << "content at 150 shows at 20";
    EXPECT_TRUE(near(at(*image, 50, 69), 0, 0, 255, 255));
    EXPECT_TRUE(near(at(*image, 50, 75), 255, 255, 255, 255));

    // A snapshot of the scroll view itself shows its visible part.
    image = snapshotImage(scroll.get());
    EXPECT_TRUE(near(at(*image, 50, 30), 0, 0, 255, 255));
}

TEST(RenderViewTree, SkipsHiddenViewsWithTheirSubviews)
{
    auto root = box(CGRectMake(0, 0, 60, 60), UIColor::whiteColor());
    auto hidden = box(CGRectMake(0, 0, 60, 30), rgb(1, 0, 0));
    hidden->addSubview(box(CGRectMake(0, 0, 30, 30), rgb(0, 1, 0)));
    hidden->setHidden(true);
    root->addSubview(hidden);
    auto layerHidden = box(CGRectMake(0, 30, 60, 30), rgb(0, 0, 1));
    layerHidden->layer()->setHidden(true);
    root->addSubview(layerHidden);
    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 10, 10), 255, 255, 255, 255));
    EXPECT_TRUE(near(at(*image, 45, 10), 255, 255, 255, 255));
    EXPECT_TRUE(near(at(*image, 45, 45), 255, 255, 255, 255));

    // A hidden root draws nothing at all.
    root->setHidden(true);
    image = snapshotImage(root.get());
    ASSERT_TRUE(image);
    EXPECT_EQ(at(*image, 10, 10).alpha, 0);
}

TEST(RenderViewTree, MultipliesAlphaDownTheTreeAndFadesGroupsAsAWhole)
{
    auto root = box(CGRectMake(0, 0, 100, 100), UIColor::whiteColor());
    auto parent = box(CGRectMake(0, 0, 100, 50));
    parent->setAlpha(0.5);
    auto child = box(CGRectMake(0, 0, 50, 50), rgb(0, 0, 0));
    child->setAlpha(0.5);
    parent->addSubview(child);
    root->addSubview(parent);
    auto image = snapshotImage(root.get());
    // Black at 0.25 over white.
    EXPECT_TRUE(near(at(*image, 25, 25), 191, 191, 191, 255, 3));
    EXPECT_TRUE(near(at(*image, 75, 25), 255, 255, 255, 255));

    // Overlapping children of a half-transparent view: the top one hides the one below, and
    // only then is the whole faded (no blue shows through the red).
    auto group = box(CGRectMake(0, 50, 100, 50));
    group->setAlpha(0.5);
    group->addSubview(box(CGRectMake(0, 0, 100, 50), rgb(0, 0, 1)));
    group->addSubview(box(CGRectMake(0, 0, 50, 50), rgb(1, 0, 0)));
    root->addSubview(group);
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 25, 75), 255, 128, 128, 255, 3)) << "red at half over white";
    EXPECT_TRUE(near(at(*image, 75, 75), 128, 128, 255, 255, 3)) << "blue at half over white";

    // Subviews reaching past a faded view's bounds are faded with it, not cut off.
    auto spill = box(CGRectMake(0, 0, 10, 10));
    spill->setAlpha(0.5);
    spill->addSubview(box(CGRectMake(60, 10, 20, 20), rgb(0, 0, 0)));
    spill->addSubview(box(CGRectMake(65, 15, 20, 20), rgb(0, 0, 0)));
    root->addSubview(spill);
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 72, 20), 128, 128, 128, 255, 3));
    spill->removeFromSuperview();

    // A view at alpha 0 draws nothing, with its subviews.
    group->setAlpha(0);
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 25, 75), 255, 255, 255, 255));
}

// --- Clipping, corners, borders, shadows -----------------------------------------------------

TEST(RenderClipping, ARoundedPanelClipsItsChild)
{
    auto root = box(CGRectMake(0, 0, 120, 120));
    auto panel = box(CGRectMake(10, 10, 100, 100), rgb(0, 0, 1));
    panel->layer()->setCornerRadius(20);
    panel->layer()->setMasksToBounds(true);
    auto child = box(CGRectMake(-10, -10, 120, 60), rgb(1, 0, 0));
    panel->addSubview(child);
    root->addSubview(panel);
    auto image = snapshotImage(root.get());

    EXPECT_EQ(at(*image, 11, 11).alpha, 0) << "the rounded corner cuts the child off";
    EXPECT_EQ(at(*image, 5, 30).alpha, 0) << "nothing outside the panel";
    EXPECT_TRUE(near(at(*image, 60, 30), 255, 0, 0, 255)) << "the child inside";
    EXPECT_TRUE(near(at(*image, 60, 90), 0, 0, 255, 255)) << "the panel's background";
    EXPECT_EQ(at(*image, 108.5, 108.5).alpha, 0) << "the background's corner is rounded too";

    // Without clipping the child shows past the panel.
    panel->layer()->setMasksToBounds(false);
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 5, 30), 255, 0, 0, 255));
    EXPECT_TRUE(near(at(*image, 11, 11), 255, 0, 0, 255));
    EXPECT_EQ(at(*image, 108.5, 108.5).alpha, 0) << "a corner radius alone still rounds the background";

    // clipsToBounds clips to the same rounded shape.
    panel->setClipsToBounds(true);
    image = snapshotImage(root.get());
    EXPECT_EQ(at(*image, 11, 11).alpha, 0);
    EXPECT_EQ(at(*image, 5, 30).alpha, 0);
}

TEST(RenderClipping, DiscsFromCornerRadius)
{
    auto root = box(CGRectMake(0, 0, 40, 40), UIColor::whiteColor());
    auto disc = box(CGRectMake(4, 4, 32, 32), rgb(1, 0, 0));
    disc->layer()->setCornerRadius(16);
    root->addSubview(disc);
    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 20, 20), 255, 0, 0, 255));
    EXPECT_TRUE(near(at(*image, 20, 5), 255, 0, 0, 255)) << "top of the disc";
    EXPECT_TRUE(near(at(*image, 6, 6), 255, 255, 255, 255)) << "outside the disc, inside its square";
    EXPECT_TRUE(near(at(*image, 33.5, 33.5), 255, 255, 255, 255));
}

TEST(RenderBorder, DrawsInsideTheBoundsAboveTheSubviews)
{
    auto root = box(CGRectMake(0, 0, 60, 60), UIColor::whiteColor());
    auto framed = box(CGRectMake(10, 10, 40, 40), rgb(0, 0, 1));
    framed->layer()->setBorderWidth(4);
    framed->layer()->setBorderColor(rgb(1, 0, 0)->CGColor());
    framed->addSubview(box(CGRectMake(0, 0, 40, 40), rgb(0, 1, 0)));
    root->addSubview(framed);
    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 9.5, 30), 255, 255, 255, 255)) << "nothing outside the bounds";
    EXPECT_TRUE(near(at(*image, 10.5, 30), 255, 0, 0, 255));
    EXPECT_TRUE(near(at(*image, 13.5, 30), 255, 0, 0, 255));
    EXPECT_TRUE(near(at(*image, 14.5, 30), 0, 255, 0, 255)) << "the subview inside the border";
    EXPECT_TRUE(near(at(*image, 49.5, 49.5), 255, 0, 0, 255));

    // A rounded border follows the corners; its colour's alpha counts.
    framed->layer()->setCornerRadius(10);
    framed->layer()->setMasksToBounds(true);
    framed->layer()->setBorderColor(rgb(1, 0, 0, 0.5)->CGColor());
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 10.5, 10.5), 255, 255, 255, 255));
    EXPECT_TRUE(near(at(*image, 11, 30), 128, 128, 0, 255, 4)) << "half red over the green subview";
}

TEST(RenderShadow, CastsABlurredOffsetShadowBelowTheView)
{
    auto root = box(CGRectMake(0, 0, 100, 100), UIColor::whiteColor());
    auto card = box(CGRectMake(20, 20, 40, 40), UIColor::whiteColor());
    card->layer()->setShadowOpacity(1);
    card->layer()->setShadowColor(rgb(0, 0, 0)->CGColor());
    card->layer()->setShadowOffset(CGSizeMake(10, 10));
    card->layer()->setShadowRadius(2);
    root->addSubview(card);
    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 40, 40), 255, 255, 255, 255)) << "the card covers its own shadow";
    EXPECT_LT(at(*image, 65, 50).red, 40) << "dark below and right of the card";
    EXPECT_LT(at(*image, 50, 65).red, 40);
    EXPECT_TRUE(near(at(*image, 15, 40), 255, 255, 255, 255)) << "no shadow on the other side";
    // Blurred: the edge of the shadow is a soft ramp.
    const int inside = at(*image, 68, 50).red, edge = at(*image, 70, 50).red, outside = at(*image, 73, 50).red;
    EXPECT_LT(inside, edge);
    EXPECT_LT(edge, outside);
    EXPECT_GT(edge, 40);
    EXPECT_LT(edge, 220);

    // Clipping to the bounds takes the shadow away.
    card->layer()->setMasksToBounds(true);
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 65, 50), 255, 255, 255, 255));
}

// --- Masks, compositing filters, gradients, layer contents -----------------------------------

TEST(RenderMask, AShapeLayerAdmitsItsPathsInside)
{
    auto root = box(CGRectMake(0, 0, 100, 100));
    auto tab = box(CGRectMake(0, 0, 100, 100), rgb(1, 0, 0));
    tab->addSubview(box(CGRectMake(0, 50, 100, 50), rgb(0, 0, 1)));
    auto mask = CAShapeLayer::layer();
    mask->setPath(UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        tab->bounds(), UIRectCornerTopLeft | UIRectCornerTopRight, CGSizeMake(20, 20)));
    tab->layer()->setMask(mask);
    root->addSubview(tab);
    auto image = snapshotImage(root.get());
    EXPECT_EQ(at(*image, 1, 1).alpha, 0) << "top-left corner rounded away";
    EXPECT_EQ(at(*image, 99, 1).alpha, 0);
    EXPECT_TRUE(near(at(*image, 1, 99), 0, 0, 255, 255)) << "bottom corners square, subviews masked too";
    EXPECT_TRUE(near(at(*image, 50, 10), 255, 0, 0, 255));

    // The mask's frame places its path within the view.
    auto offset = CAShapeLayer::layer();
    offset->setFrame(CGRectMake(50, 0, 50, 100));
    offset->setPath(UIBezierPath::bezierPathWithRect(CGRectMake(0, 0, 50, 100)));
    tab->layer()->setMask(offset);
    image = snapshotImage(root.get());
    EXPECT_EQ(at(*image, 25, 10).alpha, 0);
    EXPECT_TRUE(near(at(*image, 75, 10), 255, 0, 0, 255));

    // A shape layer without a path admits nothing.
    tab->layer()->setMask(CAShapeLayer::layer());
    image = snapshotImage(root.get());
    EXPECT_EQ(at(*image, 50, 50).alpha, 0);
}

TEST(RenderMask, AGradientThroughAnImageStencil)
{
    // The header banner: a gradient view inside a view masked by a picture's alpha.
    auto root = box(CGRectMake(0, 0, 100, 100), UIColor::whiteColor());
    auto banner = UIView::create(CGRectMake(0, 0, 100, 100));
    auto colorWith = UIView::create(banner->bounds());
    auto gradient = CAGradientLayer::layer();
    gradient->setFrame(colorWith->bounds());
    gradient->setColors({rgb(1, 0, 0)->CGColor(), rgb(0, 0, 1)->CGColor()});
    colorWith->layer()->insertSublayerAtIndex(gradient, 0);
    banner->addSubview(colorWith);
    auto stencil = CALayer::layer();
    stencil->setFrame(colorWith->bounds());
    stencil->setContents(discImage(10, UIColor::blackColor())); // stretched to the mask's frame
    banner->layer()->setMask(stencil);
    root->addSubview(banner);

    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 3, 3), 255, 255, 255, 255)) << "outside the disc: nothing of the banner";
    EXPECT_TRUE(near(at(*image, 97, 97), 255, 255, 255, 255));
    const auto top = at(*image, 50, 5), middle = at(*image, 50, 50), bottom = at(*image, 50, 95);
    EXPECT_GT(top.red, 200);
    EXPECT_LT(top.blue, 40);
    EXPECT_GT(bottom.blue, 200);
    EXPECT_LT(bottom.red, 40);
    EXPECT_NEAR(middle.red, 128, 12);
    EXPECT_NEAR(middle.blue, 128, 12);

    // A missing stencil picture shows nothing of the banner.
    stencil->setContents(nullptr);
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 50, 50), 255, 255, 255, 255));
}

TEST(RenderCompositing, FiltersBlendWithWhatLiesBelow)
{
    auto root = box(CGRectMake(0, 0, 40, 20), rgb(1, 0.5, 0));
    auto multiply = box(CGRectMake(0, 0, 20, 20), rgb(0.5, 0.5, 0.5));
    multiply->layer()->setCompositingFilter("multiplyBlendMode");
    auto screen = box(CGRectMake(20, 0, 20, 20), rgb(0.5, 0.5, 0.5));
    screen->layer()->setCompositingFilter("screenBlendMode");
    root->addSubview(multiply);
    root->addSubview(screen);
    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 10, 10), 128, 64, 0, 255, 3)) << "multiply darkens";
    EXPECT_TRUE(near(at(*image, 30, 10), 255, 191, 128, 255, 3)) << "screen lightens";

    multiply->layer()->setCompositingFilter("plusD"); // no Cairo operator: drawn normally
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 10, 10), 128, 128, 128, 255, 2));

    // A filter on a border view: the border darkens what lies below, the inside is untouched.
    auto bordered = box(CGRectMake(0, 0, 40, 20));
    bordered->layer()->setBorderWidth(4);
    bordered->layer()->setBorderColor(rgb(0.5, 0.5, 0.5)->CGColor());
    bordered->layer()->setCompositingFilter("multiplyBlendMode");
    root->addSubview(bordered);
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 30, 1), 128, 96, 64, 255, 3));
    EXPECT_TRUE(near(at(*image, 30, 10), 255, 191, 128, 255, 3));
}

TEST(RenderGradient, SpreadsColoursEvenlyFromStartToEnd)
{
    auto root = box(CGRectMake(0, 0, 100, 100));
    auto gradient = CAGradientLayer::layer();
    gradient->setFrame(root->bounds());
    gradient->setColors({rgb(1, 0, 0)->CGColor(), rgb(0, 1, 0)->CGColor(), rgb(0, 0, 1)->CGColor()});
    root->layer()->addSublayer(gradient);
    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 50, 0), 255, 0, 0, 255, 6)) << "first colour at the top";
    EXPECT_TRUE(near(at(*image, 50, 50), 0, 255, 0, 255, 6)) << "the middle stop halfway";
    EXPECT_TRUE(near(at(*image, 50, 99.9), 0, 0, 255, 255, 6));
    EXPECT_TRUE(near(at(*image, 0, 25), at(*image, 99, 25).red, at(*image, 99, 25).green, 0, 255, 2))
        << "constant along each row";

    gradient->setStartPoint(CGPointMake(0, 0.5));
    gradient->setEndPoint(CGPointMake(1, 0.5));
    gradient->setColors({rgb(0, 0, 0)->CGColor(), rgb(1, 1, 1)->CGColor()});
    image = snapshotImage(root.get());
    EXPECT_LT(at(*image, 1, 50).red, 10);
    EXPECT_GT(at(*image, 99, 50).red, 245);
    EXPECT_NEAR(at(*image, 50, 10).red, 128, 4);

    gradient->setColors({});
    image = snapshotImage(root.get());
    EXPECT_EQ(at(*image, 50, 50).alpha, 0) << "no colours paint nothing";
}

TEST(RenderLayerContents, StretchesTheContentsToTheBounds)
{
    auto root = box(CGRectMake(0, 0, 80, 40), UIColor::whiteColor());
    root->layer()->setContents(discImage(10, rgb(1, 0, 0)));
    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 40, 20), 255, 0, 0, 255));
    EXPECT_TRUE(near(at(*image, 5, 20), 255, 0, 0, 255, 40)) << "the ellipse reaches the left edge";
    EXPECT_TRUE(near(at(*image, 2, 2), 255, 255, 255, 255)) << "the background shows through the corners";
}

// --- Labels, images, buttons -----------------------------------------------------------------

TEST(RenderLabel, DrawsTextInItsFontColourAndAlignment)
{
    auto root = box(CGRectMake(0, 0, 300, 60), UIColor::whiteColor());
    auto label = UIView::create<UILabel>(CGRectMake(0, 0, 300, 60));
    label->setText("Hello");
    label->setFont(UIFont::systemFontOfSize(20));
    label->setTextColor(rgb(1, 0, 0));
    root->addSubview(label);

    auto image = snapshotImage(root.get());
    int red = 0;
    CGFloat minX = 1e9, maxX = -1, minY = 1e9, maxY = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 300; ++x) {
            const auto p = at(*image, x + 0.25, y + 0.25);
            if (p.red > 200 && p.green < 100) {
                ++red;
                minX = std::min<CGFloat>(minX, x), maxX = std::max<CGFloat>(maxX, x);
                minY = std::min<CGFloat>(minY, y), maxY = std::max<CGFloat>(maxY, y);
            }
        }
    ASSERT_GT(red, 30) << "the text is drawn in red";
    EXPECT_LT(minX, 10) << "left aligned";
    EXPECT_NEAR((minY + maxY) / 2, 30, 5) << "centred vertically";

    label->setTextAlignment(NSTextAlignment::Center);
    image = snapshotImage(root.get());
    CGFloat cMin = 1e9, cMax = -1;
    for (int x = 0; x < 300; ++x)
        for (int y = 0; y < 60; ++y)
            if (at(*image, x + 0.25, y + 0.25).green < 100)
                cMin = std::min<CGFloat>(cMin, x), cMax = std::max<CGFloat>(cMax, x);
    EXPECT_NEAR((cMin + cMax) / 2, 150, 4) << "centred";

    label->setTextAlignment(NSTextAlignment::Right);
    image = snapshotImage(root.get());
    EXPECT_GT(rendertest::darkPixels(*image, CGRectMake(250, 0, 50, 60), 200), 10);
    EXPECT_EQ(rendertest::darkPixels(*image, CGRectMake(0, 0, 200, 60), 200), 0);
}

TEST(RenderLabel, UltraLightTextHasThinnerStrokesThanTheRegularFace)
{
    auto inkOf = [](const std::shared_ptr<UIFont>& font) {
        auto root = box(CGRectMake(0, 0, 320, 60), UIColor::whiteColor());
        auto label = UIView::create<UILabel>(root->bounds());
        label->setText("Good Morning");
        label->setFont(font);
        root->addSubview(label);
        auto image = snapshotImage(root.get());
        return rendertest::darkPixels(*image, root->bounds(), 128);
    };
    auto ultraLight = UIFont::fontWithNameSize(".HelveticaNeueInterface-UltraLightP2", 37.5);
    ASSERT_TRUE(ultraLight);
    const int light = inkOf(ultraLight), regular = inkOf(UIFont::systemFontOfSize(37.5));
    EXPECT_GT(light, 50) << "the ultra-light text is drawn";
    EXPECT_LT(light * 3, regular * 2) << "with far fewer dark pixels than the regular face";
}

TEST(RenderLabel, ShrinksToFitAndKeepsToItsLines)
{
    auto root = box(CGRectMake(0, 0, 200, 120), UIColor::whiteColor());
    auto label = UIView::create<UILabel>(CGRectMake(0, 0, 100, 40));
    label->setText("A rather long greeting");
    label->setFont(UIFont::systemFontOfSize(20));
    root->addSubview(label);

    // One line, too wide: cut off within the bounds.
    auto image = snapshotImage(root.get());
    EXPECT_GT(rendertest::darkPixels(*image, CGRectMake(0, 0, 100, 40), 128), 20);
    EXPECT_EQ(rendertest::darkPixels(*image, CGRectMake(100, 0, 100, 120), 200), 0);

    // Shrinking: the text fits the width at a smaller size.
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(0.3);
    ASSERT_LT(label->effectiveFontSize(), 20);
    image = snapshotImage(root.get());
    EXPECT_GT(rendertest::darkPixels(*image, CGRectMake(80, 0, 20, 40), 128), 5) << "reaches the right end";
    EXPECT_EQ(rendertest::darkPixels(*image, CGRectMake(100, 0, 100, 120), 200), 0);

    // Any number of lines: the text wraps below.
    label->setAdjustsFontSizeToFitWidth(false);
    label->setNumberOfLines(0);
    label->setFrame(CGRectMake(0, 0, 100, 120));
    image = snapshotImage(root.get());
    const int top = rendertest::darkPixels(*image, CGRectMake(0, 0, 100, 45), 128);
    const int lower = rendertest::darkPixels(*image, CGRectMake(0, 75, 100, 45), 128);
    EXPECT_GT(top, 20);
    EXPECT_GT(lower, 20) << "several lines, centred as a block";
}

TEST(RenderImageView, PlacesImagesByContentModeAndTintsTemplates)
{
    auto root = box(CGRectMake(0, 0, 100, 100), UIColor::whiteColor());
    auto view = UIView::create<UIImageView>(CGRectMake(0, 0, 100, 100));
    view->setImage(discImage(20, rgb(1, 0, 0)));
    root->addSubview(view);

    // Scale to fill (the default) stretches the disc over the bounds.
    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 50, 5), 255, 0, 0, 255, 10));
    EXPECT_TRUE(near(at(*image, 3, 3), 255, 255, 255, 255));

    // Centre keeps the image's own size.
    view->setContentMode(UIViewContentMode::Center);
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 50, 50), 255, 0, 0, 255));
    EXPECT_TRUE(near(at(*image, 50, 38), 255, 255, 255, 255));
    EXPECT_TRUE(near(at(*image, 50, 42), 255, 0, 0, 255));

    // A template shows its alpha in the tint colour.
    view->setImage(discImage(20, rgb(1, 0, 0))->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate));
    view->setTintColor(rgb(0, 1, 0));
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 50, 50), 0, 255, 0, 255));
    EXPECT_TRUE(near(at(*image, 50, 38), 255, 255, 255, 255));
    // The tint is inherited from the superview.
    view->setTintColor(nullptr);
    root->setTintColor(rgb(0, 0, 1));
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 50, 50), 0, 0, 255, 255));
    // Half-transparent pixels stay half-transparent in the tint.
    view->setImage(discImage(20, rgb(1, 0, 0, 0.5))->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate));
    image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 50, 50), 128, 128, 255, 255, 4));
}

TEST(RenderButton, ShowsBackgroundAndTitle)
{
    auto root = box(CGRectMake(0, 0, 120, 40), UIColor::whiteColor());
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(0, 0, 120, 40));
    button->setBackgroundColor(rgb(0, 0, 0.5));
    button->setTitleForState("OK", UIControlStateNormal);
    button->setTitleColorForState(rgb(1, 1, 0), UIControlStateNormal);
    root->addSubview(button);
    root->layoutIfNeeded();
    auto image = snapshotImage(root.get());
    EXPECT_TRUE(near(at(*image, 3, 3), 0, 0, 128, 255));
    int yellow = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const auto p = at(*image, x + 0.5, y + 0.5);
            yellow += p.red > 200 && p.green > 200 && p.blue < 100;
        }
    EXPECT_GT(yellow, 10) << "the title in its colour";
}

// --- The blur backdrop -----------------------------------------------------------------------

TEST(RenderBackdrop, BlursTheStripesInsideItsFrameAndNowhereElse)
{
    auto root = stripedView(CGRectMake(0, 0, 200, 200), 4);
    auto panel = UIView::create(CGRectMake(50, 50, 100, 100));
    panel->insertSubviewAtIndex(standardBackdrop(), 0);
    root->addSubview(panel);
    auto image = snapshotImage(root.get());

    const CGRect inside = CGRectMake(60, 60, 80, 80), outside = CGRectMake(0, 0, 200, 40);
    EXPECT_GT(rendertest::lumaDeviation(*image, outside), 100) << "sharp stripes outside";
    EXPECT_LT(rendertest::lumaDeviation(*image, inside), 10) << "blurred flat inside";
    // The black tint at 0.4 darkens the blurred mid grey: 0.6 × 127.5.
    EXPECT_NEAR(rendertest::meanLuma(*image, inside), 0.6 * 127.5, 6);
    EXPECT_NEAR(rendertest::meanLuma(*image, outside), 127.5, 3);
    // Right next to the panel the stripes are still sharp.
    EXPECT_TRUE(near(at(*image, 49.5, 45), 0, 0, 0, 255) || near(at(*image, 49.5, 45), 255, 255, 255, 255));
}

TEST(RenderBackdrop, DrawsItsSubviewsAboveTheBlurAndFillsItsSuperview)
{
    auto root = stripedView(CGRectMake(0, 0, 200, 200), 4);
    auto panel = UIView::create(CGRectMake(0, 100, 200, 100));
    auto backdrop = standardBackdrop();
    panel->insertSubviewAtIndex(backdrop, 0);
    auto tint = box(backdrop->bounds(), UIColor::whiteColor());
    tint->setAlpha(0.5);
    backdrop->addSubview(tint);
    root->addSubview(panel);
    EXPECT_EQ(backdrop->frame(), panel->bounds());

    auto image = snapshotImage(root.get());
    const CGRect inside = CGRectMake(20, 120, 160, 60);
    EXPECT_LT(rendertest::lumaDeviation(*image, inside), 6);
    // Blurred grey 127.5, darkened to 76.5, then white at 0.5 over it.
    EXPECT_NEAR(rendertest::meanLuma(*image, inside), 0.5 * 76.5 + 0.5 * 255, 6);

    // A panel resized later: the backdrop follows and blurs the new area.
    panel->setFrame(CGRectMake(0, 0, 200, 200));
    image = snapshotImage(root.get());
    EXPECT_LT(rendertest::lumaDeviation(*image, CGRectMake(20, 20, 160, 60)), 10);
}

TEST(RenderBackdrop, SeesWhatLiesBehindEvenInsideAFadingOrMaskedPanel)
{
    auto root = stripedView(CGRectMake(0, 0, 200, 200), 4);
    auto panel = UIView::create(CGRectMake(0, 0, 200, 100));
    panel->insertSubviewAtIndex(standardBackdrop(), 0);
    panel->setAlpha(0.5);
    root->addSubview(panel);
    auto tab = UIView::create(CGRectMake(0, 100, 200, 100));
    tab->insertSubviewAtIndex(standardBackdrop(), 0);
    auto mask = CAShapeLayer::layer();
    mask->setPath(UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        tab->bounds(), UIRectCornerTopLeft | UIRectCornerTopRight, CGSizeMake(5, 5)));
    tab->layer()->setMask(mask);
    root->addSubview(tab);

    auto image = snapshotImage(root.get());
    // Half the blurred, tinted panel over the sharp stripes: the stripes show at half contrast.
    const double faded = rendertest::lumaDeviation(*image, CGRectMake(20, 20, 160, 60));
    EXPECT_GT(faded, 40);
    EXPECT_LT(faded, 90);
    EXPECT_NEAR(rendertest::meanLuma(*image, CGRectMake(20, 20, 160, 60)), 0.5 * 76.5 + 0.5 * 127.5, 8);
    // The masked tab blurs fully, and its corners are cut.
    EXPECT_LT(rendertest::lumaDeviation(*image, CGRectMake(20, 120, 160, 60)), 10);
    EXPECT_NEAR(rendertest::meanLuma(*image, CGRectMake(20, 120, 160, 60)), 76.5, 8);

    // Blur radius 0 only tints.
    auto plain = std::static_pointer_cast<_UIBackdropView>(tab->subviews()[0]);
    plain->setBlurRadius(0);
    image = snapshotImage(root.get());
    EXPECT_GT(rendertest::lumaDeviation(*image, CGRectMake(20, 120, 160, 60)), 50);
}

// --- Snapshots -------------------------------------------------------------------------------

TEST(RenderSnapshot, WritesPNGsAndRefusesWhatCannotBeDrawn)
{
    auto root = box(CGRectMake(0, 0, 30, 20), rgb(0, 1, 0));
    const std::string path =
        (std::filesystem::temp_directory_path() / ("render_snapshot_" + std::to_string(::getpid()) + ".png")).string();
    ASSERT_TRUE(snapshot(root.get(), path));
    auto read = rendertest::readPNG(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->pixelWidth(), 60);
    EXPECT_EQ(read->pixelHeight(), 40);
    EXPECT_TRUE(near(rendertest::pixelAt(*read, 30, 20), 0, 255, 0, 255));
    std::filesystem::remove(path);

    EXPECT_FALSE(snapshot(root.get(), "/nonexistent-folder/x.png"));
    EXPECT_FALSE(snapshot(nullptr, path));
    EXPECT_FALSE(snapshotImage(nullptr));
    EXPECT_FALSE(snapshotImage(UIView::create(CGRectZero).get()));
    EXPECT_FALSE(snapshotImage(UIView::create(CGRectMake(0, 0, 100000, 10)).get())) << "too large";
    EXPECT_FALSE(snapshotImage(UIView::create(CGRectMake(0, 0, NAN, 10)).get()));

    // Other scales; zero or nonsense means the screen's.
    auto one = snapshotImage(root.get(), 1);
    EXPECT_EQ(one->pixelWidth(), 30);
    EXPECT_EQ(snapshotImage(root.get(), 0)->pixelWidth(), 60);
    EXPECT_EQ(snapshotImage(root.get(), -3)->pixelWidth(), 60);
    EXPECT_EQ(snapshotImage(root.get(), 1.5)->pixelWidth(), 45);
}

TEST(RenderSnapshot, SurvivesHostileTrees)
{
    auto root = box(CGRectMake(0, 0, 40, 40), UIColor::whiteColor());
    // A view whose frame went non-finite is skipped, not drawn at a wild place.
    auto wild = box(CGRectMake(0, 0, 10, 10), rgb(1, 0, 0));
    root->addSubview(wild);
    wild->setFrame(CGRectMake(INFINITY, 0, 10, 10));
    // A mask that is the layer's own ancestor.
    auto inner = box(CGRectMake(10, 10, 20, 20), rgb(0, 0, 1));
    root->addSubview(inner);
    inner->layer()->setMask(root->layerPtr());
    // Far-off views and huge radii.
    auto far = box(CGRectMake(1e12, -1e12, 1e13, 1e13), rgb(0, 1, 0));
    far->layer()->setCornerRadius(1e300);
    far->layer()->setBorderWidth(NAN);
    root->addSubview(far);
    auto backdrop = standardBackdrop();
    backdrop->setBlurRadius(1e9);
    inner->addSubview(backdrop);

    auto image = snapshotImage(root.get());
    ASSERT_TRUE(image);
    EXPECT_TRUE(near(at(*image, 2, 2), 255, 255, 255, 255));

    // The renderer only draws into ARGB32 image surfaces at a positive scale.
    cairo_surface_t* a8 = cairo_image_surface_create(CAIRO_FORMAT_A8, 10, 10);
    EXPECT_FALSE(uikit::renderView(*root, a8, 2));
    cairo_surface_destroy(a8);
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
    EXPECT_FALSE(uikit::renderView(*root, argb, 0));
    EXPECT_FALSE(uikit::renderView(*root, argb, NAN));
    EXPECT_TRUE(uikit::renderView(*root, argb, 0.25));
    cairo_surface_destroy(argb);
    inner->layer()->setMask(nullptr); // the ancestor mask would keep the tree alive for ever
}

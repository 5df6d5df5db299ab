#include "uikit/color.h"
#include "uikit/drawing.h"
#include "uikit/image.h"

#include "pixels.h"

#include <gtest/gtest.h>
#include <thread>

using namespace graphicstest;

namespace {

void fill(CGRect rect, double r, double g, double b)
{
    cairo_t* cr = UIGraphicsGetCurrentContext();
    cairo_set_source_rgb(cr, r, g, b);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_fill(cr);
}

} // namespace

TEST(ImageContext, SizeScaleAndStartingCanvas)
{
    EXPECT_EQ(UIMainScreenScale(), 2.0);

    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10.3, 4), false, 0);
    EXPECT_EQ(UIGraphicsGetCurrentContextScale(), 2.0);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 2);
    EXPECT_EQ(image->pixelWidth(), 21); // 20.6 pixels, rounded up
    EXPECT_EQ(image->pixelHeight(), 8);
    EXPECT_EQ(countPixels(*image, isInked), 0);

    UIGraphicsBeginImageContextWithOptions(CGSizeMake(3, 3), true, 1);
    image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(image->scale(), 1);
    EXPECT_EQ(countPixels(*image, [](const Pixel& p) { return p == Pixel{0, 0, 0, 255}; }), 9);

    UIGraphicsBeginImageContext(CGSizeMake(5, 5));
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext()->scale(), 1);
    UIGraphicsEndImageContext();
}

TEST(ImageContext, UserSpaceIsInPoints)
{
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10, 10), false, 2);
    fill(CGRectMake(1, 2, 3, 4), 0, 1, 0);
    const auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    CGRect box;
    EXPECT_EQ(countPixels(*image, isInked, &box), 6 * 8);
    EXPECT_EQ(box, CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(pixelAt(*image, 2, 4), (Pixel{0, 255, 0, 255}));
}

TEST(ImageContext, TakenImageIsACopy)
{
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10, 10), false, 1);
    fill(CGRectMake(0, 0, 5, 5), 1, 0, 0);
    const auto first = UIGraphicsGetImageFromCurrentImageContext();
    fill(CGRectMake(5, 5, 5, 5), 0, 0, 1);
    const auto second = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();

    EXPECT_NE(first->surface(), second->surface());
    EXPECT_EQ(pixelAt(*first, 7, 7).alpha, 0);
    EXPECT_EQ(pixelAt(*second, 7, 7), (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(*first, 2, 2), (Pixel{255, 0, 0, 255}));
}

TEST(ImageContext, ContextsNestAndUnbalancedEndsAreHarmless)
{
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext());
    UIGraphicsEndImageContext();

    UIGraphicsBeginImageContextWithOptions(CGSizeMake(4, 4), false, 1);
    cairo_t* outer = UIGraphicsGetCurrentContext();
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(8, 8), false, 1);
    EXPECT_NE(UIGraphicsGetCurrentContext(), outer);
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext()->pixelWidth(), 8);
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext()->pixelWidth(), 4);
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
}

TEST(ImageContext, EachThreadHasItsOwnContexts)
{
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(4, 4), false, 1);
    cairo_t* mine = UIGraphicsGetCurrentContext();
    cairo_t* seenElsewhere = mine;
    std::thread other([&] {
        seenElsewhere = UIGraphicsGetCurrentContext();
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(2, 2), false, 1); // left open: freed at exit
    });
    other.join();
    EXPECT_EQ(seenElsewhere, nullptr);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), mine);
    UIGraphicsEndImageContext();
}

TEST(ImageContext, EmptyOrAbsurdSizesGiveNoImageButStayBalanced)
{
    for (CGSize size : {CGSizeMake(0, 10), CGSizeMake(-5, 10), CGSizeMake(NAN, 3), CGSizeMake(1e9, 1e9)}) {
        UIGraphicsBeginImageContextWithOptions(size, false, 0);
        ASSERT_NE(UIGraphicsGetCurrentContext(), nullptr);
        fill(CGRectMake(0, 0, 5, 5), 1, 0, 0);
        NSStringDrawInRect("text", CGRectMake(0, 0, 50, 50), {});
        EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext());
        UIGraphicsEndImageContext();
    }
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
}

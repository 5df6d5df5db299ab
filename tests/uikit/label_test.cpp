#include "uikit/image.h"
#include "uikit/image_view.h"
#include "uikit/label.h"

#include <gtest/gtest.h>

namespace {

CGFloat widthAt(const UILabel& label, CGFloat size)
{
    return NSStringSizeWithAttributes(label.text(), {label.font()->fontWithSize(size), nullptr}).width;
}

std::shared_ptr<UILabel> greeting(CGFloat width)
{
    auto label = UIView::create<UILabel>(CGRectMake(0, 0, width, 50));
    label->setFont(UIFont::systemFontOfSize(37.5));
    label->setText("Good Afternoon, Alexandra");
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(16 / label->font()->pointSize());
    label->setTextAlignment(NSTextAlignment::Center);
    return label;
}

} // namespace

TEST(Label, DefaultsAndSizeToFitKeepTheOrigin)
{
    auto label = UIView::create<UILabel>(CGRectMake(7, 9, 300, 50));
    EXPECT_EQ(label->font()->pointSize(), 17);
    EXPECT_TRUE(label->textColor()->isEqual(UIColor::blackColor().get()));
    EXPECT_EQ(label->numberOfLines(), 1);
    EXPECT_FALSE(label->isUserInteractionEnabled());

    // No text: nothing to fit.
    label->sizeToFit();
    EXPECT_EQ(label->frame(), CGRectMake(7, 9, 0, 0));

    label->setText("Sunny, 21°");
    label->sizeToFit();
    const CGSize expected = NSStringSizeWithAttributes("Sunny, 21°", {label->font(), nullptr});
    EXPECT_GT(expected.width, 0);
    EXPECT_EQ(label->frame(), (CGRect{{7, 9}, expected}));

    // More lines wrap at the given width and stop at the line count.
    label->setText("one two three four five six seven eight nine ten eleven twelve");
    label->setNumberOfLines(2);
    const CGSize two = label->sizeThatFits(CGSizeMake(80, 0));
    EXPECT_LE(two.width, 80);
    EXPECT_NEAR(two.height, 2 * label->font()->lineHeight(), 0.5);
    label->setNumberOfLines(0);
    EXPECT_GT(label->sizeThatFits(CGSizeMake(80, 0)).height, two.height);
}

TEST(Label, ShrinksToTheLargestFittingSizeDownToTheMinimumScale)
{
    auto probe = greeting(320);
    const CGFloat full = widthAt(*probe, 37.5);
    const CGFloat atMinimum = widthAt(*probe, 16);
    ASSERT_GT(full, atMinimum);

    // Wide enough: the font's own size.
    EXPECT_EQ(greeting(full + 1)->effectiveFontSize(), 37.5);

    // Between: the largest size that fits.
    const CGFloat width = (full + atMinimum) / 2;
    auto label = greeting(width);
    const CGFloat size = label->effectiveFontSize();
    EXPECT_GT(size, 16);
    EXPECT_LT(size, 37.5);
    EXPECT_LE(widthAt(*label, size), width);
    EXPECT_GT(widthAt(*label, size + 0.05), width);
    EXPECT_EQ(label->textAttributes().font->pointSize(), size);

    // Too narrow even at the minimum: the minimum.
    EXPECT_DOUBLE_EQ(greeting(atMinimum / 2)->effectiveFontSize(), 16);

    // Without adjusting, or with more than one line, or without a minimum scale, no shrinking.
    label->setAdjustsFontSizeToFitWidth(false);
    EXPECT_EQ(label->effectiveFontSize(), 37.5);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setNumberOfLines(2);
    EXPECT_EQ(label->effectiveFontSize(), 37.5);
    label->setNumberOfLines(1);
    label->setMinimumScaleFactor(0);
    EXPECT_EQ(label->effectiveFontSize(), 37.5);
}

TEST(ImageView, ContentModesPlaceTheImageAndTemplatesTakeTheTint)
{
    auto image = UIImage::imageWithSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 40, 20), 2); // 20 × 10 pt
    auto sized = UIImageView::createWithImage(image);
    EXPECT_EQ(sized->frame(), CGRectMake(0, 0, 20, 10));
    EXPECT_FALSE(sized->isUserInteractionEnabled());
    EXPECT_EQ(UIImageView::createWithImage(nullptr)->frame(), CGRectZero);

    auto view = UIView::create<UIImageView>(CGRectMake(5, 5, 60, 30));
    EXPECT_EQ(view->imageRect(), CGRectZero);
    view->setImage(image);
    EXPECT_EQ(view->imageRect(), CGRectMake(0, 0, 60, 30)); // stretched by default
    view->setContentMode(UIViewContentMode::Center);
    EXPECT_EQ(view->imageRect(), CGRectMake(20, 10, 20, 10));
    view->setContentMode(UIViewContentMode::ScaleAspectFit);
    EXPECT_EQ(view->imageRect(), CGRectMake(0, 0, 60, 30));
    view->setFrame(CGRectMake(5, 5, 60, 60));
    EXPECT_EQ(view->imageRect(), CGRectMake(0, 15, 60, 30));
    view->setContentMode(UIViewContentMode::ScaleAspectFill);
    EXPECT_EQ(view->imageRect(), CGRectMake(-30, 0, 120, 60));
    view->setContentMode(UIViewContentMode::Bottom);
    EXPECT_EQ(view->imageRect(), CGRectMake(20, 50, 20, 10));

    EXPECT_EQ(view->templateTintColor(), nullptr);
    view->setImage(image->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate));
    view->setTintColor(UIColor::redColor());
    EXPECT_EQ(view->templateTintColor(), UIColor::redColor());
}

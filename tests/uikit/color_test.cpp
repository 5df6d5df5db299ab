#include "uikit/color.h"

#include <gtest/gtest.h>

using objc::msgSend;
using objc::operator""_sel;

namespace {

void expectRGBA(const UIColor& color, double r, double g, double b, double a)
{
    double red = -1, green = -1, blue = -1, alpha = -1;
    EXPECT_TRUE(color.getRedGreenBlueAlpha(&red, &green, &blue, &alpha));
    EXPECT_NEAR(red, r, 1e-9);
    EXPECT_NEAR(green, g, 1e-9);
    EXPECT_NEAR(blue, b, 1e-9);
    EXPECT_NEAR(alpha, a, 1e-9);
}

} // namespace

TEST(Color, HueSaturationBrightnessBecomeRGB)
{
    expectRGBA(*UIColor::colorWithHueSaturationBrightnessAlpha(0, 1, 1, 1), 1, 0, 0, 1);
    expectRGBA(*UIColor::colorWithHueSaturationBrightnessAlpha(1.0 / 3, 1, 1, 1), 0, 1, 0, 1);
    expectRGBA(*UIColor::colorWithHueSaturationBrightnessAlpha(2.0 / 3, 1, 1, 0.5), 0, 0, 1, 0.5);
    expectRGBA(*UIColor::colorWithHueSaturationBrightnessAlpha(1.0 / 6, 1, 1, 1), 1, 1, 0, 1);
    // Halfway through each sixth of the circle.
    const double halfway[6][3] = {{1, 0.5, 0}, {0.5, 1, 0}, {0, 1, 0.5}, {0, 0.5, 1}, {0.5, 0, 1}, {1, 0, 0.5}};
    for (int sixth = 0; sixth < 6; ++sixth) {
        SCOPED_TRACE(sixth);
        const auto c = UIColor::colorWithHueSaturationBrightnessAlpha((2 * sixth + 1) / 12.0, 1, 1, 1);
        expectRGBA(*c, halfway[sixth][0], halfway[sixth][1], halfway[sixth][2], 1);
    }
    expectRGBA(*UIColor::colorWithHueSaturationBrightnessAlpha(0.5, 1, 0.5, 1), 0, 0.5, 0.5, 1);
    // Hue is circular: 1.0 is red again, just below it is almost red with a touch of blue.
    expectRGBA(*UIColor::colorWithHueSaturationBrightnessAlpha(1.0, 1, 1, 1), 1, 0, 0, 1);
    const auto nearlyRed = UIColor::colorWithHueSaturationBrightnessAlpha(0.9999993f, 1, 1, 1);
    EXPECT_NEAR(nearlyRed->red(), 1, 1e-9);
    EXPECT_LT(nearlyRed->blue(), 1e-4);
    // No saturation is grey at the brightness; out-of-range inputs are tamed, not trusted.
    expectRGBA(*UIColor::colorWithHueSaturationBrightnessAlpha(0.3, 0, 0.25, 1), 0.25, 0.25, 0.25, 1);
    expectRGBA(*UIColor::colorWithHueSaturationBrightnessAlpha(-0.5, 2, 7, 1), 0, 1, 1, 1);
    expectRGBA(*UIColor::colorWithHueSaturationBrightnessAlpha(NAN, 1, 1, 1), 1, 0, 0, 1);
}

TEST(Color, NamedColoursHaveTheirComponentsAndWhiteIsOneObject)
{
    EXPECT_EQ(UIColor::whiteColor().get(), UIColor::whiteColor().get());
    const auto otherWhite = UIColor::colorWithWhiteAlpha(1, 1);
    EXPECT_NE(otherWhite.get(), UIColor::whiteColor().get());
    EXPECT_TRUE(otherWhite->isEqual(UIColor::whiteColor().get()));
    EXPECT_EQ(otherWhite->hash(), UIColor::whiteColor()->hash());

    expectRGBA(*UIColor::whiteColor(), 1, 1, 1, 1);
    expectRGBA(*UIColor::blackColor(), 0, 0, 0, 1);
    expectRGBA(*UIColor::redColor(), 1, 0, 0, 1);
    expectRGBA(*UIColor::lightGrayColor(), 2.0 / 3, 2.0 / 3, 2.0 / 3, 1);
    expectRGBA(*UIColor::grayColor(), 0.5, 0.5, 0.5, 1);
    expectRGBA(*UIColor::clearColor(), 0, 0, 0, 0);
}

TEST(Color, EqualityIsByComponents)
{
    const auto a = UIColor::colorWithRedGreenBlueAlpha(0.2, 0.4, 0.6, 1);
    EXPECT_TRUE(a->isEqual(UIColor::colorWithRedGreenBlueAlpha(0.2, 0.4, 0.6, 1).get()));
    EXPECT_FALSE(a->isEqual(UIColor::colorWithRedGreenBlueAlpha(0.2, 0.4, 0.6, 0.5).get()));
    EXPECT_FALSE(a->isEqual(UIColor::colorWithRedGreenBlueAlpha(0.2, 0.4, 0.7, 1).get()));
    EXPECT_FALSE(a->isEqual(nullptr));
    const auto notAColour = std::make_shared<objc::Object>();
    EXPECT_FALSE(a->isEqual(notAColour.get()));
}

TEST(Color, DerivedColoursAndLayerColours)
{
    const auto base = UIColor::colorWithRedGreenBlueAlpha(0.1, 0.2, 0.3, 1);
    expectRGBA(*base->colorWithAlphaComponent(0.25), 0.1, 0.2, 0.3, 0.25);
    expectRGBA(*base, 0.1, 0.2, 0.3, 1);

    const CGColorRef layerColour = base->CGColor();
    ASSERT_TRUE(layerColour);
    EXPECT_EQ(*layerColour, (CGColor{0.1, 0.2, 0.3, 1}));

    // Components may be read selectively.
    double red = 0;
    EXPECT_TRUE(base->getRedGreenBlueAlpha(&red, nullptr, nullptr, nullptr));
    EXPECT_DOUBLE_EQ(red, 0.1);
}

TEST(Color, ClassIsReachableThroughTheRuntime)
{
    objc::Class cls = objc::objc_getClass("UIColor");
    ASSERT_EQ(cls, UIColor::class_());
    EXPECT_EQ(msgSend<std::shared_ptr<UIColor>>(cls, "whiteColor"_sel).get(), UIColor::whiteColor().get());
    const auto green = msgSend<std::shared_ptr<UIColor>>(cls, "colorWithHue:saturation:brightness:alpha:"_sel,
                                                         1.0 / 3, 1.0, 1.0, 1.0);
    ASSERT_TRUE(green);
    expectRGBA(*green, 0, 1, 0, 1);
    const auto faded = msgSend<std::shared_ptr<UIColor>>(green, "colorWithAlphaComponent:"_sel, 0.5);
    expectRGBA(*faded, 0, 1, 0, 0.5);
}

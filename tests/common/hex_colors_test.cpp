#include "common/hex_colors.h"
#include "foundation/ns_string.h"

#include <gtest/gtest.h>

TEST(HexColors, ReadsSixDigitsInEitherCaseAndNothingElse)
{
    for (const char* white : {"FFFFFF", "ffffff", "fFfFfF"}) {
        auto color = HexColors::colorWithHexString(white);
        ASSERT_TRUE(color) << white;
        EXPECT_EQ(color->red(), 1.0);
        EXPECT_EQ(color->green(), 1.0);
        EXPECT_EQ(color->blue(), 1.0);
        EXPECT_EQ(color->alpha(), 1.0);
    }
    auto black = HexColors::colorWithHexString("000000");
    ASSERT_TRUE(black);
    EXPECT_EQ(black->red() + black->green() + black->blue(), 0.0);
    for (const char* bad : {"#ffffff", "fffff", "gggggg", "", "fffffff", "ff ff0", "0x00ff", "ffffé"})
        EXPECT_FALSE(HexColors::colorWithHexString(bad)) << bad;
    // Channels are computed in single precision and widened.
    EXPECT_EQ(HexColors::colorWithHexString("330000")->red(), static_cast<double>(51.0f / 255.0f));
}

TEST(HexColors, WritesLowerCaseTruncatedChannels)
{
    EXPECT_EQ(HexColors::hexValuesFromUIColor(UIColor::colorWithRedGreenBlueAlpha(0.5, 0.5, 0.5, 1)), "7f7f7f");
    EXPECT_EQ(HexColors::hexValuesFromUIColor(UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 1)), "ff0000");
    EXPECT_EQ(HexColors::hexValuesFromUIColor(UIColor::whiteColor()), "ffffff");
    EXPECT_EQ(HexColors::hexValuesFromUIColor(nullptr), std::nullopt);
    // Out-of-range components still give six digits.
    EXPECT_EQ(HexColors::hexValuesFromUIColor(UIColor::colorWithRedGreenBlueAlpha(1.5, -0.2, 0, 1)), "ff0000");
    for (const char* hex : {"1a2B3c", "FF8000", "00ff7f", "abcdef"}) {
        std::string lower = hex;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(c));
        EXPECT_EQ(HexColors::hexValuesFromUIColor(HexColors::colorWithHexString(hex)), lower);
    }
}

TEST(HexColors, AreClassMethodsOfTheColourInTheRuntime)
{
    registerHexColorsCategory();
    auto color = objc::msgSend<std::shared_ptr<UIColor>>(UIColor::class_(), "colorWithHexString:"_sel, NSStr("ff0000"));
    ASSERT_TRUE(color);
    EXPECT_EQ(color->red(), 1.0);
    auto hex = objc::msgSend<std::shared_ptr<NSString>>(UIColor::class_(), "hexValuesFromUIColor:"_sel, color);
    ASSERT_TRUE(hex);
    EXPECT_EQ(hex->string(), "ff0000");
    EXPECT_FALSE(objc::msgSend<objc::id>(UIColor::class_(), "colorWithHexString:"_sel, NSStr("nope")));
}

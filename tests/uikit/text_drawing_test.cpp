#include "uikit/color.h"
#include "uikit/drawing.h"
#include "uikit/font.h"
#include "uikit/image.h"

#include "pixels.h"

#include <gtest/gtest.h>

using namespace graphicstest;

namespace {

// Draws the text into a fresh transparent canvas and returns the picture.
std::shared_ptr<UIImage> drawn(const std::string& text, CGSize canvas, CGRect rect, const NSStringAttributes& attributes,
                               CGFloat scale = 2)
{
    UIGraphicsBeginImageContextWithOptions(canvas, false, scale);
    NSStringDrawInRect(text, rect, attributes);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

NSStringAttributes boldRed16() { return {UIFont::boldSystemFontOfSize(16), UIColor::redColor()}; }

} // namespace

TEST(TextDrawing, TextLandsAtThePointInTheColour)
{
    const auto image = drawn("8", CGSizeMake(60, 60), CGRectMake(10, 10, 60, 60), boldRed16());
    CGRect box;
    const int red = countPixels(*image, isReddish, &box);
    EXPECT_GT(red, 50);
    // The line's top is at y = 10: the digit starts below the ascender room (about 3.2 points
    // for this face) and sits on the baseline (about 14.8 points down); it starts just right of x = 10.
    EXPECT_GE(box.origin.x, 10);
    EXPECT_LE(box.origin.x, 12.5);
    EXPECT_NEAR(box.origin.y, 13.2, 1);
    EXPECT_NEAR(CGRectGetMaxY(box), 24.9, 1);
    EXPECT_LE(CGRectGetMaxX(box), 22);
    // Every inked pixel is the text colour (anti-aliased edges only fade it).
    EXPECT_EQ(countPixels(*image, [](const Pixel& p) { return p.alpha > 0 && (p.green > 40 || p.blue > 40); }), 0);
    // Not even faint ink above or left of the point.
    countPixels(*image, [](const Pixel& p) { return p.alpha > 0; }, &box);
    EXPECT_GE(box.origin.x, 10);
    EXPECT_GE(box.origin.y, 10);
}

TEST(TextDrawing, TopLeftOfTheFirstLineIsTheRectangleOrigin)
{
    // Moving the rectangle moves the ink by the same amount, at either scale.
    CGRect atOrigin, moved, atScaleOne;
    countPixels(*drawn("Ag", CGSizeMake(50, 40), CGRectMake(0, 0, 50, 40), boldRed16()), isInked, &atOrigin);
    countPixels(*drawn("Ag", CGSizeMake(50, 40), CGRectMake(7, 5, 43, 35), boldRed16()), isInked, &moved);
    countPixels(*drawn("Ag", CGSizeMake(50, 40), CGRectMake(0, 0, 50, 40), boldRed16(), 1), isInked, &atScaleOne);
    EXPECT_NEAR(moved.origin.x - atOrigin.origin.x, 7, 0.6);
    EXPECT_NEAR(moved.origin.y - atOrigin.origin.y, 5, 0.6);
    EXPECT_NEAR(atScaleOne.origin.y, atOrigin.origin.y, 1.1);
    EXPECT_NEAR(atScaleOne.size.height, atOrigin.size.height, 1.1);
    // The line's ink fits inside the line height the font reports.
    EXPECT_LE(CGRectGetMaxY(atOrigin), UIFont::boldSystemFontOfSize(16)->lineHeight() + 0.5);
}

TEST(TextDrawing, TextIsCutOffAtTheCanvasAndTheRectangle)
{
    // Starting near the right edge: the canvas keeps its size and only its part shows.
    const auto edge = drawn("88888", CGSizeMake(60, 60), CGRectMake(55, 10, 60, 60), boldRed16());
    EXPECT_EQ(edge->pixelWidth(), 120);
    EXPECT_EQ(edge->pixelHeight(), 120);
    CGRect box;
    EXPECT_GT(countPixels(*edge, isReddish, &box), 0);
    EXPECT_GE(box.origin.x, 55);

    // Far outside the canvas: nothing, and no failure.
    const auto outside = drawn("8", CGSizeMake(20, 20), CGRectMake(-500, 900, 60, 60), boldRed16());
    EXPECT_EQ(countPixels(*outside, isInked), 0);

    // Lines below the rectangle's bottom are cut off.
    const std::string many = "one two three four five six seven eight nine ten eleven twelve";
    const auto cut = drawn(many, CGSizeMake(60, 100), CGRectMake(0, 0, 60, 20), boldRed16());
    countPixels(*cut, isInked, &box);
    EXPECT_LE(CGRectGetMaxY(box), 20);
    EXPECT_LE(CGRectGetMaxX(box), 60);
}

TEST(TextDrawing, EmptyTextChangesNothing)
{
    const auto background = UIImage::imageWithColor(UIColor::colorWithRedGreenBlueAlpha(0.2, 0.4, 0.6, 0.8), 2);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(16, 16), false, 0);
    background->drawInRect(CGRectMake(0, 0, 16, 16));
    const auto before = UIGraphicsGetImageFromCurrentImageContext();
    NSStringDrawInRect("", CGRectMake(0, 0, 16, 16), boldRed16());
    NSStringDrawInRect("x", CGRectMake(0, 0, 0, 16), boldRed16()); // an empty rectangle draws nothing either
    const auto after = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_TRUE(samePixels(*before, *after));
    EXPECT_EQ(NSStringSizeWithAttributes("", {}), CGSizeZero);

    // Without a current context, drawing text does nothing.
    NSStringDrawInRect("lost", CGRectMake(0, 0, 10, 10), {});
}

TEST(TextDrawing, DefaultsAreTheTwelvePointSystemFontInBlack)
{
    const auto image = drawn("Hi", CGSizeMake(40, 20), CGRectMake(0, 0, 40, 20), {});
    EXPECT_GT(countPixels(*image, [](const Pixel& p) { return p.alpha > 200 && p.red < 30 && p.green < 30 && p.blue < 30; }), 10);
    EXPECT_EQ(countPixels(*image, [](const Pixel& p) { return p.alpha > 0 && (p.red > 30 || p.green > 30 || p.blue > 30); }), 0);
    EXPECT_EQ(NSStringSizeWithAttributes("Hi", {}), NSStringSizeWithAttributes("Hi", {UIFont::systemFontOfSize(12), nullptr}));
}

TEST(TextDrawing, TextWrapsAtTheRectangleWidth)
{
    const NSStringAttributes attributes{UIFont::systemFontOfSize(12), UIColor::blackColor()};
    const std::string text = "alpha beta gamma delta epsilon";
    const CGSize oneLine = NSStringSizeWithAttributes(text, attributes);
    const CGSize wrapped = NSStringBoundingSize(text, 60, attributes);
    EXPECT_GT(oneLine.width, 100);
    EXPECT_NEAR(oneLine.height, UIFont::systemFontOfSize(12)->lineHeight(), 0.01);
    EXPECT_LE(wrapped.width, 60);
    EXPECT_GE(wrapped.height, 3 * oneLine.height - 0.01);
    EXPECT_EQ(NSStringBoundingSize(text, 0, attributes), oneLine); // no width: no wrapping

    // A word longer than the width breaks inside the word rather than overflowing.
    const CGSize longWord = NSStringBoundingSize("Donaudampfschifffahrt", 40, attributes);
    EXPECT_LE(longWord.width, 40);
    EXPECT_GT(longWord.height, oneLine.height);

    CGRect box;
    countPixels(*drawn(text, CGSizeMake(100, 100), CGRectMake(0, 0, 60, 100), attributes), isInked, &box);
    EXPECT_LE(CGRectGetMaxX(box), 60);
    EXPECT_GT(box.size.height, 2 * oneLine.height);
}

TEST(TextDrawing, AlignmentPlacesLinesInTheRectangle)
{
    NSStringAttributes attributes = boldRed16();
    CGRect left, centre, right;
    countPixels(*drawn("III", CGSizeMake(100, 30), CGRectMake(0, 0, 100, 30), attributes), isInked, &left);
    attributes.alignment = NSTextAlignment::Center;
    countPixels(*drawn("III", CGSizeMake(100, 30), CGRectMake(0, 0, 100, 30), attributes), isInked, &centre);
    attributes.alignment = NSTextAlignment::Right;
    countPixels(*drawn("III", CGSizeMake(100, 30), CGRectMake(0, 0, 100, 30), attributes), isInked, &right);
    EXPECT_LT(left.origin.x, 5);
    EXPECT_NEAR(CGRectGetMidX(centre), 50, 2);
    EXPECT_GT(CGRectGetMaxX(right), 95);
    EXPECT_NEAR(centre.size.width, left.size.width, 1);
}

TEST(TextDrawing, MalformedUTF8IsDrawnSafely)
{
    const std::string broken = std::string("ab\xff\xfe") + '\0' + "cd\xe2\x82" + "\xc3";
    const CGSize size = NSStringSizeWithAttributes(broken, {});
    EXPECT_GT(size.width, NSStringSizeWithAttributes("abcd", {}).width);
    const auto image = drawn(broken, CGSizeMake(100, 20), CGRectMake(0, 0, 100, 20), {});
    EXPECT_GT(countPixels(*image, isInked), 0);
    // Valid multi-byte text is kept as it is.
    EXPECT_EQ(NSStringSizeWithAttributes("Grüße", {}), NSStringSizeWithAttributes(std::string("Gr\xc3\xbc\xc3\x9f" "e"), {}));
    EXPECT_NE(NSStringSizeWithAttributes("Grüße", {}), NSStringSizeWithAttributes("Gr\xef\xbf\xbd\xef\xbf\xbd" "e", {}));
}

TEST(TextDrawing, MeasuringDoesNotDependOnTheCanvasScale)
{
    const NSStringAttributes attributes{UIFont::fontWithNameSize(".HelveticaNeueInterface-UltraLightP2", 17.5), nullptr};
    const CGSize measured = NSStringSizeWithAttributes("Sunny, 21°", attributes);
    CGRect atOne, atTwo;
    countPixels(*drawn("Sunny, 21°", CGSizeMake(200, 40), CGRectMake(0, 0, 200, 40), attributes, 1), isInked, &atOne);
    countPixels(*drawn("Sunny, 21°", CGSizeMake(200, 40), CGRectMake(0, 0, 200, 40), attributes, 2), isInked, &atTwo);
    EXPECT_NEAR(atOne.size.width, atTwo.size.width, 1.1);
    EXPECT_LE(CGRectGetMaxX(atTwo), measured.width + 1);
    EXPECT_GT(CGRectGetMaxX(atTwo), measured.width - 3);
}

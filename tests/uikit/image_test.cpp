#include "uikit/color.h"
#include "uikit/drawing.h"
#include "uikit/image.h"

#include "pixels.h"
#include "support/device_root.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace graphicstest;

namespace {

class ImageFiles : public testsupport::DeviceRootTest {
protected:
    void SetUp() override { device.makeFolder("/Library/Pictures"); }
    void writePNG(const std::string& devicePath, int w, int h, double r, double g, double b, double a = 1)
    {
        writeSolidPNG(device.host(devicePath), w, h, r, g, b, a);
    }
};

// A 2 × 2 pixel template: opaque blue in the left column, transparent in the right one.
std::shared_ptr<UIImage> halfBlueImage()
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 2);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_rectangle(cr, 0, 0, 1, 2);
    cairo_fill(cr);
    cairo_destroy(cr);
    return UIImage::imageWithSurface(surface, 1);
}

} // namespace

TEST_F(ImageFiles, DoubleScaleFileBesideThePictureIsPreferred)
{
    writePNG("/Library/Pictures/Badge.png", 32, 32, 1, 0, 0);
    writePNG("/Library/Pictures/Badge@2x.png", 64, 64, 0, 1, 0);
    const auto image = UIImage::imageWithContentsOfFile("/Library/Pictures/Badge.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 2);
    EXPECT_EQ(image->size(), CGSizeMake(32, 32));
    EXPECT_EQ(image->pixelWidth(), 64);
    EXPECT_EQ(image->pixelHeight(), 64);
    EXPECT_EQ(pixelAt(*image, 10, 10), (Pixel{0, 255, 0, 255}));
}

TEST_F(ImageFiles, PlainFileHasScaleOneAndAnExplicitDoubleFileScaleTwo)
{
    writePNG("/Library/Pictures/Wide.png", 40, 20, 0, 0, 1);
    const auto image = UIImage::imageWithContentsOfFile("/Library/Pictures/Wide.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 1);
    EXPECT_EQ(image->size(), CGSizeMake(40, 20));
    EXPECT_EQ(image->renderingMode(), UIImageRenderingMode::Automatic);

    writePNG("/Library/Pictures/Only@2x.png", 30, 10, 0, 0, 1);
    const auto doubled = UIImage::imageWithContentsOfFile("/Library/Pictures/Only@2x.png");
    ASSERT_TRUE(doubled);
    EXPECT_EQ(doubled->scale(), 2);
    EXPECT_EQ(doubled->size(), CGSizeMake(15, 5));
}

TEST_F(ImageFiles, PathsStayInsideTheDeviceRoot)
{
    // A picture beside the device root on this machine, and one inside it at the confined path.
    const std::filesystem::path outside = std::filesystem::path(device.path()).parent_path() /
                                          (std::filesystem::path(device.path()).filename().string() + "-outside.png");
    writeSolidPNG(outside.string(), 8, 8, 1, 0, 0, 1);
    device.makeFolder(outside.parent_path().string());
    writePNG(outside.string(), 4, 4, 0, 0, 1);
    std::string escaping = "/Library";
    for (int i = 0; i < 32; ++i)
        escaping += "/..";
    const auto image = UIImage::imageWithContentsOfFile(escaping + outside.string());
    std::filesystem::remove(outside);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelWidth(), 4); // the device's own file, not the machine's
}

TEST_F(ImageFiles, MissingOrUnreadablePicturesGiveNil)
{
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Library/Pictures/Missing.png"));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile(""));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Library/Pictures"));

    device.writeFile("/Library/Pictures/Text.png", "this is not a picture");
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Library/Pictures/Text.png"));

    // A PNG cut short after its header is as unreadable as no PNG at all.
    writePNG("/Library/Pictures/Whole.png", 50, 50, 1, 0, 0);
    const auto whole = device.host("/Library/Pictures/Whole.png");
    std::filesystem::resize_file(whole, std::filesystem::file_size(whole) / 2);
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Library/Pictures/Whole.png"));

    // A broken "@2x" file falls back to the plain picture.
    writePNG("/Library/Pictures/Icon.png", 8, 8, 1, 0, 0);
    device.writeFile("/Library/Pictures/Icon@2x.png", "garbage");
    const auto icon = UIImage::imageWithContentsOfFile("/Library/Pictures/Icon.png");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->scale(), 1);
}

TEST_F(ImageFiles, PixelsSurviveWritingAndReadingBack)
{
    const auto red = UIImage::imageWithColor(UIColor::redColor(), 3);
    ASSERT_TRUE(red);
    EXPECT_TRUE(red->writePNG(device.host("/Library/Pictures/Red.png")));
    const auto back = UIImage::imageWithContentsOfFile("/Library/Pictures/Red.png");
    ASSERT_TRUE(back);
    EXPECT_TRUE(samePixels(*red, *back));
    EXPECT_FALSE(red->writePNG(device.host("/No/Such/Folder/Red.png")));
    EXPECT_FALSE(red->writePNG(""));
}

TEST(Image, ColourPictureIsOnePointOfTheColour)
{
    const auto image = UIImage::imageWithColor(UIColor::colorWithRedGreenBlueAlpha(0, 0, 1, 1));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), CGSizeMake(1, 1));
    EXPECT_EQ(image->scale(), 2);
    EXPECT_EQ(image->pixelWidth(), 2);
    EXPECT_EQ(pixelAt(*image, 1, 1), (Pixel{0, 0, 255, 255}));

    const auto clear = UIImage::imageWithColor(nullptr, 1);
    ASSERT_TRUE(clear);
    EXPECT_EQ(pixelAt(*clear, 0, 0).alpha, 0);
}

TEST(Image, SurfacesAreTakenOverOnlyWhenUsable)
{
    EXPECT_FALSE(UIImage::imageWithSurface(nullptr, 1));
    cairo_surface_t* broken = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, -5, 5);
    EXPECT_FALSE(UIImage::imageWithSurface(broken, 1));

    const auto image = UIImage::imageWithSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 6), 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 1);
    EXPECT_EQ(image->size(), CGSizeMake(4, 6));
}

TEST(Image, TemplateImagesDrawOnlyTheirShapeInTheTint)
{
    const auto original = halfBlueImage();
    const auto templ = original->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
    EXPECT_EQ(templ->renderingMode(), UIImageRenderingMode::AlwaysTemplate);
    EXPECT_EQ(templ->surface(), original->surface()); // the same pixels, not a copy
    EXPECT_EQ(original->renderingMode(), UIImageRenderingMode::Automatic);

    UIGraphicsBeginImageContextWithOptions(CGSizeMake(20, 20), false, 1);
    templ->drawInRect(UIGraphicsGetCurrentContext(), CGRectMake(0, 0, 20, 20), UIColor::redColor().get());
    const auto tinted = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(pixelAt(*tinted, 3, 10), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(*tinted, 16, 10).alpha, 0);
    EXPECT_EQ(countPixels(*tinted, [](const Pixel& p) { return p.blue > 0; }), 0);

    // Without a tint the image keeps its own colours.
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(20, 20), false, 1);
    templ->drawInRect(CGRectMake(0, 0, 20, 20));
    const auto plain = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(pixelAt(*plain, 3, 10), (Pixel{0, 0, 255, 255}));
}

TEST(Image, DrawingScalesToTheRectangleAndStaysInside)
{
    const auto red = UIImage::imageWithColor(UIColor::redColor(), 1);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(30, 30), false, 2);
    red->drawInRect(CGRectMake(10, 5, 10, 20));
    red->drawInRect(CGRectMake(0, 0, 0, 10));    // empty: nothing
    red->drawInRect(CGRectMake(0, 0, NAN, 10));  // nonsense: nothing
    const auto canvas = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();

    CGRect box;
    EXPECT_EQ(countPixels(*canvas, isReddish, &box), 20 * 40);
    EXPECT_EQ(box, CGRectMake(10, 5, 10, 20));

    // Without a current context drawing does nothing, and says nothing.
    red->drawInRect(CGRectMake(0, 0, 10, 10));
}

// Installed applications and their icons: the registry (file or built-in list), the
// application controller of a current or an older host, application icons and the toolkit's
// icon lookup by bundle identifier.
#include "springboard_fixture.h"

#include "foundation/ns_string.h"
#include "springboard/application_controller.h"
#include "springboard/application_icon.h"
#include "springboard/application_registry.h"
#include "uikit/color.h"

#include <gtest/gtest.h>

#include <cairo.h>

using objc::operator""_sel;

namespace {

struct Pixel {
    int r, g, b, a;
};

// The colour at a point (in pixels), un-premultiplied.
Pixel pixelAt(const std::shared_ptr<UIImage>& image, int x, int y)
{
    cairo_surface_t* surface = image->surface();
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const auto argb = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
    const int a = static_cast<int>(argb >> 24);
    auto channel = [&](int shift) { return a ? static_cast<int>(((argb >> shift) & 0xFF) * 255 / a) : 0; };
    return {channel(16), channel(8), channel(0), a};
}

class SpringBoardApplications : public sbtest::SpringBoardTest {
protected:
    void SetUp() override
    {
        SpringBoardTest::SetUp();
        springboard::ApplicationRegistry::reload();
    }
    void TearDown() override
    {
        SBApplicationController::useDeviceSetting();
        SpringBoardTest::TearDown();
    }

    objc::id icon(const objc::id& identifier, long format)
    {
        return objc::msgSend<objc::id>(UIImage::class_(), "_applicationIconImageForBundleIdentifier:format:scale:"_sel,
                                       identifier, format, 2.0);
    }
};

} // namespace

TEST_F(SpringBoardApplications, CurrentHostLooksUpByBundleIdentifierOnly)
{
    SBApplicationController::setLegacyHost(false);
    auto controller = objc::msgSend<objc::id>(objc::objc_getClass("SBApplicationController"), "sharedInstance"_sel);
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller, objc::msgSend<objc::id>(objc::objc_getClass("SBApplicationController"), "sharedInstance"_sel));
    EXPECT_TRUE(objc::respondsToSelector(controller.get(), "applicationWithBundleIdentifier:"_sel));
    EXPECT_FALSE(objc::respondsToSelector(controller.get(), "applicationWithDisplayIdentifier:"_sel));

    auto app = objc::msgSend<std::shared_ptr<SBApplication>>(controller, "applicationWithBundleIdentifier:"_sel,
                                                            objc::id(NSString::stringWithString("com.apple.MobileSMS")));
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->displayName()->string(), "Messages");
    EXPECT_EQ(objc::msgSend<objc::id>(controller, "applicationWithBundleIdentifier:"_sel,
                                      objc::id(NSString::stringWithString("org.example.none"))),
              nullptr);
    EXPECT_EQ(objc::msgSend<objc::id>(controller, "applicationWithBundleIdentifier:"_sel, objc::id()), nullptr);
}

TEST_F(SpringBoardApplications, OlderHostLooksUpByDisplayIdentifierOnly)
{
    SBApplicationController::setLegacyHost(true);
    auto controller = SBApplicationController::sharedInstance();
    EXPECT_FALSE(objc::respondsToSelector(controller.get(), "applicationWithBundleIdentifier:"_sel));
    ASSERT_TRUE(objc::respondsToSelector(controller.get(), "applicationWithDisplayIdentifier:"_sel));
    auto app = objc::msgSend<std::shared_ptr<SBApplication>>(controller, "applicationWithDisplayIdentifier:"_sel,
                                                            objc::id(NSString::stringWithString("net.whatsapp.WhatsApp")));
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->displayIdentifier()->string(), "net.whatsapp.WhatsApp");
    EXPECT_EQ(app->displayName()->string(), "WhatsApp");
}

TEST_F(SpringBoardApplications, OlderHostIsADeviceSetting)
{
    ::setenv("VANTOREL_SPRINGBOARD_GENERATION", "legacy", 1);
    SBApplicationController::useDeviceSetting();
    EXPECT_TRUE(SBApplicationController::isLegacyHost());
    EXPECT_TRUE(objc::respondsToSelector(SBApplicationController::sharedInstance().get(),
                                         "applicationWithDisplayIdentifier:"_sel));
    SBApplicationController::setLegacyHost(false); // a choice made in the process wins
    EXPECT_FALSE(SBApplicationController::isLegacyHost());
    ::unsetenv("VANTOREL_SPRINGBOARD_GENERATION");
    SBApplicationController::useDeviceSetting();
    EXPECT_FALSE(SBApplicationController::isLegacyHost());
}

TEST_F(SpringBoardApplications, ApplicationIconIsTheApplicationsColourAndNilGivesTheGreyGenericIcon)
{
    auto controller = SBApplicationController::sharedInstance();
    auto phone = controller->applicationWithIdentifier("com.apple.mobilephone");
    ASSERT_NE(phone, nullptr);
    auto appIcon = objc::msgSend<objc::id>(objc::alloc<SBApplicationIcon>(), "initWithApplication:"_sel, objc::id(phone));
    auto image = objc::msgSend<std::shared_ptr<UIImage>>(appIcon, "generateIconImage:"_sel, 2L);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixelWidth(), 120);
    EXPECT_EQ(image->size(), CGSizeMake(60, 60));
    const Pixel edge = pixelAt(image, 60, 8); // above the glyph: the tile's green (4CD964)
    EXPECT_GT(edge.g, edge.r + 60);
    EXPECT_GT(edge.g, edge.b + 60);
    EXPECT_EQ(pixelAt(image, 0, 0).a, 0); // rounded corner

    auto genericIcon = objc::msgSend<objc::id>(objc::alloc<SBApplicationIcon>(), "initWithApplication:"_sel, objc::id());
    auto generic = objc::msgSend<std::shared_ptr<UIImage>>(genericIcon, "generateIconImage:"_sel, 2L);
    ASSERT_NE(generic, nullptr);
    const Pixel grey = pixelAt(generic, 60, 60);
    EXPECT_EQ(grey.a, 255);
    EXPECT_NEAR(grey.r, grey.g, 6);
    EXPECT_NEAR(grey.g, grey.b, 6);
    EXPECT_EQ(generic, icon(nullptr, 2));
}

TEST_F(SpringBoardApplications, ToolkitIconLookupByBundleIdentifierSizesByFormatAndCaches)
{
    auto calendar = std::dynamic_pointer_cast<UIImage>(icon(NSString::stringWithString("com.apple.mobilecal"), 0));
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->pixelWidth(), 58);
    EXPECT_EQ(calendar, icon(NSString::stringWithString("com.apple.mobilecal"), 0));
    EXPECT_EQ(std::dynamic_pointer_cast<UIImage>(icon(NSString::stringWithString("com.apple.mobilecal"), 2))->pixelWidth(), 120);

    const Pixel red = pixelAt(calendar, 29, 3);
    EXPECT_GT(red.r, red.g + 80);
    // Unknown identifiers and objects that are not text give the generic icon.
    EXPECT_EQ(icon(NSString::stringWithString("org.example.none"), 0), icon(nullptr, 0));
    EXPECT_EQ(icon(UIImage::imageWithColor(UIColor::redColor()), 0), icon(nullptr, 0));
}

TEST_F(SpringBoardApplications, RegistryFileListsTheDevicesApplications)
{
    device.writeFile(springboard::ApplicationRegistry::kPath, R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>Applications</key><array>
  <dict><key>CFBundleIdentifier</key><string>org.example.notes</string>
        <key>CFBundleDisplayName</key><string>notes</string>
        <key>IconColor</key><string>0000FF</string></dict>
  <dict><key>CFBundleDisplayName</key><string>No identifier</string></dict>
  <string>not an application</string>
  <dict><key>CFBundleIdentifier</key><string>org.example.bad</string>
        <key>IconColor</key><string>#12345G</string><key>IconGlyph</key><string>B</string></dict>
</array></dict></plist>)");
    auto& registry = springboard::ApplicationRegistry::current();
    ASSERT_EQ(registry.applications().size(), 2u);
    const auto* notes = registry.application("org.example.notes");
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->displayName, "notes");
    EXPECT_EQ(notes->glyph, "N");
    EXPECT_DOUBLE_EQ(notes->blue, 1.0);
    const auto* bad = registry.application("org.example.bad");
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(bad->displayName, "org.example.bad");
    EXPECT_EQ(bad->glyph, "B");
    EXPECT_DOUBLE_EQ(bad->red, bad->green);
    EXPECT_EQ(registry.application("com.apple.MobileSMS"), nullptr);
    EXPECT_EQ(SBApplicationController::sharedInstance()->applicationWithIdentifier("org.example.notes")->displayName()->string(),
              "notes");
}

TEST_F(SpringBoardApplications, UnreadableRegistryFileGivesTheBuiltInList)
{
    device.writeFile(springboard::ApplicationRegistry::kPath, "<plist><dict><key>Applications");
    auto& registry = springboard::ApplicationRegistry::current();
    EXPECT_EQ(registry.applications().size(), springboard::ApplicationRegistry::builtInApplications().size());
    EXPECT_GE(registry.applications().size(), 12u);
    for (const char* id : {"com.apple.MobileSMS", "com.apple.mobilemail", "com.apple.mobilecal", "com.apple.mobilephone",
                           "com.apple.reminders", "com.facebook.Facebook", "com.atebits.Tweetie2", "net.whatsapp.WhatsApp"})
        EXPECT_NE(registry.application(id), nullptr) << id;
}

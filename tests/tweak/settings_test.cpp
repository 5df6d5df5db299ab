#include "tweak_fixture.h"

#include "common/support_paths.h"
#include "tweak/core/localization.h"
#include "tweak/core/settings.h"
#include "uikit/color.h"
#include "uikit/image.h"

#include <gtest/gtest.h>

using namespace vantorel;
using tweaktest::TweakTest;

namespace {

void expectDefaults()
{
    EXPECT_EQ(settings.textColor, UIColor::whiteColor());
    EXPECT_EQ(settings.glyphColor, UIColor::whiteColor());
    EXPECT_EQ(settings.backgroundBlurColor, UIColor::whiteColor());
    EXPECT_EQ(settings.backgroundBlurAlpha, static_cast<double>(0.2f));
    EXPECT_FALSE(settings.removeNW);
    EXPECT_EQ(settings.morningStart, "06:00");
    EXPECT_EQ(settings.afternoonStart, "12:00");
    EXPECT_EQ(settings.eveningStart, "18:00");
    EXPECT_EQ(settings.nightStart, "22:00");
    EXPECT_EQ(settings.localizationFolder, "English");
    EXPECT_TRUE(settings.enabled);
    EXPECT_FALSE(settings.blurEnabled);
    EXPECT_FALSE(settings.allWidgets);
    EXPECT_EQ(settings.SelectedWidget, "Calendar");
}

} // namespace

TEST_F(TweakTest, MissingOrEmptySettingsFileGivesEveryDefaultAndLoadsTheCalendarPlugin)
{
    installPlugin("Calendar");
    EXPECT_EQ(settings.textColor, nullptr); // nothing before the first load
    loadSettings();
    expectDefaults();
    ASSERT_NE(settings.selectedWidgetClass, nullptr);
    EXPECT_EQ(std::string(objc::class_getName(settings.selectedWidgetClass)), "TestWidgetView");
    ASSERT_TRUE(settings.selectedWidgetIcon);
    EXPECT_EQ(settings.selectedWidgetIcon->size(), (CGSize{32, 32}));

    writeSettings("");
    loadSettings();
    expectDefaults();
}

TEST_F(TweakTest, StoredValuesAreConvertedAsTheirKeysSay)
{
    installPluginIcon("Weather");
    writeSettings("<key>Name</key><string>Ada</string>"
                  "<key>textColor</key><string>ff0000</string>"
                  "<key>glyphColor</key><string>not-a-colour</string>"
                  "<key>backgroundBlurAlpha</key><string>0.5</string>"
                  "<key>removeNW</key><true/>"
                  "<key>morningStart</key><string>6:30</string>"
                  "<key>localizationFolder</key><string>German</string>"
                  "<key>enabled</key><false/>"
                  "<key>blurEnabled</key><string>YES</string>"
                  "<key>SelectedWidget</key><string>Weather</string>");
    loadSettings();
    EXPECT_EQ(settings.Name, "Ada");
    EXPECT_FALSE(settings.nameIsDefault);
    ASSERT_TRUE(settings.textColor);
    EXPECT_EQ(settings.textColor->red(), 1.0);
    EXPECT_EQ(settings.textColor->green(), 0.0);
    EXPECT_EQ(settings.glyphColor, nullptr); // a malformed colour is held as no colour
    EXPECT_EQ(settings.backgroundBlurAlpha, 0.5);
    EXPECT_TRUE(settings.removeNW);
    EXPECT_EQ(settings.morningStart, "6:30");
    EXPECT_EQ(settings.localizationFolder, "German");
    EXPECT_FALSE(settings.enabled); // off still loads everything else
    EXPECT_TRUE(settings.blurEnabled);
    EXPECT_EQ(settings.SelectedWidget, "Weather");
    EXPECT_EQ(settings.selectedWidgetClass, nullptr); // a bundle without code
    EXPECT_FALSE(settings.selectedWidgetIcon == nullptr); // still shows its icon

    writeSettings("<key>backgroundBlurAlpha</key><real>0.3</real>");
    loadSettings();
    EXPECT_EQ(settings.backgroundBlurAlpha, 0.30000001192092896);
}

TEST_F(TweakTest, AllWidgetsModeLoadsNoBundleAndKeepsThePreviousSelection)
{
    installPlugin("Calendar");
    loadSettings();
    objc::Class calendar = settings.selectedWidgetClass;
    ASSERT_NE(calendar, nullptr);
    writeSettings("<key>allWidgets</key><true/><key>SelectedWidget</key><string>Weather</string>");
    loadSettings();
    EXPECT_TRUE(settings.allWidgets);
    EXPECT_EQ(settings.SelectedWidget, "Calendar");
    EXPECT_EQ(settings.selectedWidgetClass, calendar);
}

TEST_F(TweakTest, WrongKindsCountAsAbsentAndBrokenFilesAsEmpty)
{
    writeSettings("<key>textColor</key><integer>16777215</integer>"
                  "<key>removeNW</key><string>perhaps</string>"
                  "<key>backgroundBlurAlpha</key><array/>"
                  "<key>morningStart</key><dict/>"
                  "<key>localizationFolder</key><true/>"
                  "<key>enabled</key><array><string>x</string></array>"
                  "<key>SelectedWidget</key><real>3</real>");
    loadSettings();
    expectDefaults();

    for (const std::string& broken :
         {std::string("<?xml version=\"1.0\"?><plist><dict><key>Name</key><str"), std::string("\x00\x01garbage", 9),
          std::string("<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>a</string></array></plist>")}) {
        device.writeFile(std::string(SettingsFile), broken);
        settings = {};
        loadSettings();
        expectDefaults();
    }
}

TEST_F(TweakTest, BinarySettingsFileIsRead)
{
    writeSettings("<key>removeNW</key><true/><key>Name</key><string>Bin</string>");
    const std::string path = device.host(std::string(SettingsFile));
    ASSERT_EQ(std::system(("plistutil -i '" + path + "' -o '" + path + ".bin' -f bin && mv '" + path + ".bin' '" +
                           path + "'")
                              .c_str()),
              0);
    loadSettings();
    EXPECT_TRUE(settings.removeNW);
    EXPECT_EQ(settings.Name, "Bin");
}

TEST_F(TweakTest, PluginAndFolderNamesThatLeaveTheirFolderNameNothing)
{
    installPlugin("Calendar");
    for (const char* hostile : {"../Plugins/Calendar", ".", "..", "Calendar/../Calendar", ""}) {
        writeSettings(std::string("<key>SelectedWidget</key><string>") + hostile + "</string>");
        loadSettings();
        EXPECT_EQ(settings.selectedWidgetClass, nullptr) << hostile;
        EXPECT_EQ(settings.selectedWidgetIcon, nullptr) << hostile;
    }
}

// The preference bundle in the Settings application, driven the way a user drives it: rows
// write the settings file and post their notification, the name, colour and profile actions,
// the language and plug-in choices, the colour picker and the header.
#include "prefs/prefs_fixture.h"

#include "common/support_paths.h"
#include "foundation/ns_number.h"
#include "foundation/value_reading.h"
#include "uikit/alert_controller.h"
#include "uikit/application.h"
#include "uikit/bar_button_item.h"
#include "uikit/button.h"
#include "uikit/collection_view.h"
#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/layer.h"
#include "uikit/table_view_cell.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace objc;
using namespace prefstest;

namespace {

using Names = std::vector<std::string>;

std::string storedText(const std::shared_ptr<NSDictionary>& file, const std::string& key)
{
    return file ? foundation::stringValueOf(file->objectForKey(key)).value_or("<none>") : "<no file>";
}

std::string readHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string row(const std::string& cell, const std::string& label, const std::string& key, const std::string& more = "")
{
    return "<dict><key>cell</key><string>" + cell + "</string><key>label</key><string>" + label +
           "</string><key>key</key><string>" + key + "</string>" + more + "</dict>";
}

std::string colourRow(const std::string& key, const std::string& fallback, const std::string& keyLabel)
{
    return "<dict><key>cell</key><string>PSLinkCell</string><key>cellClass</key><string>ColorPickerCell</string>"
           "<key>key</key><string>" + key + "</string><key>default</key><string>" + fallback + "</string>" +
           (keyLabel.empty() ? "" : "<key>keyLabel</key><string>" + keyLabel + "</string>") + "</dict>";
}

} // namespace

class PrefsRowsTest : public PrefsTest {
protected:
    std::shared_ptr<PSListController> page() const { return app->firstPage(); }
    std::string leftButton() const
    {
        const auto item = page()->navigationItem()->leftBarButtonItem();
        return item ? item->title() : "";
    }
};

TEST_F(PrefsRowsTest, EverySettingsRowWritesItsKeyKeepsTheOthersAndAsksForAReload)
{
    const std::string languages(vantorel::LanguageSupportFolder), plugins(vantorel::PluginsFolder);
    makeFolders({languages + "English", languages + "German", plugins + "Calendar.bundle", plugins + "Weather.bundle"});
    writeSettings("<key>Name</key><string>Ada</string><key>textColor</key><string>ff0000</string>");
    start();
    EXPECT_EQ(leftButton(), "");
    const struct {
        const char* command;
        const char* key;
        const char* stored;
    } cases[] = {
        {"set Enabled off", "enabled", "0"},
        {"set Language German", "localizationFolder", "German"},
        {"set \"All widgets\" on", "allWidgets", "1"},
        {"set Widget Weather", "SelectedWidget", "Weather"},
        {"toggle \"Minimal layout\"", "removeNW", "1"},
        {"set \"Lock screen blur\" on", "blurEnabled", "1"},
        {"set \"Panel opacity\" 0.5", "backgroundBlurAlpha", "0.5"},
        {"set Morning 05:30", "morningStart", "05:30"},
        {"set Afternoon 13:00", "afternoonStart", "13:00"},
        {"set Evening 19:00", "eveningStart", "19:00"},
        {"set Night 23:00", "nightStart", "23:00"},
    };
    unsigned long keys = 2;
    for (const auto& c : cases) {
        ASSERT_EQ(run(c.command), "ok") << c.command;
        const auto file = settings();
        EXPECT_EQ(storedText(file, c.key), c.stored) << c.command;
        EXPECT_EQ(file->count(), ++keys) << c.command;
        EXPECT_EQ(storedText(file, "Name"), "Ada") << c.command;
        EXPECT_EQ(storedText(file, "textColor"), "ff0000") << c.command;
        EXPECT_EQ(posted(), Names{"loadVantorelS"}) << c.command;
    }
    EXPECT_EQ(leftButton(), "Respring");
    EXPECT_EQ(run("value Language"), "ok \"German\"");
}

TEST_F(PrefsRowsTest, AnotherNotificationIsPostedWithoutRestartAndNoneOnlyWrites)
{
    installList(row("PSSwitchCell", "Other", "other", "<key>PostNotification</key><string>VTtestOther</string>") +
                row("PSSwitchCell", "Quiet", "quiet"));
    start();
    const struct {
        const char* command;
        const char* key;
        Names posts;
    } cases[] = {{"set Other on", "other", {"VTtestOther"}}, {"set Quiet on", "quiet", {}}};
    for (const auto& c : cases) {
        ASSERT_EQ(run(c.command), "ok");
        EXPECT_EQ(storedText(settings(), c.key), "1");
        EXPECT_EQ(posted(), c.posts) << c.command;
        EXPECT_EQ(leftButton(), "") << c.command;
    }
}

TEST_F(PrefsRowsTest, AFailedWritePostsNothingAndTheRowShowsWhatIsStored)
{
    // The preferences folder is a file: nothing can be written below it, not even by root.
    fs::remove_all(device.host("/User/Library/Preferences"));
    device.writeFile("/User/Library/Preferences", "not a folder");
    start();
    const struct {
        const char* command;
        const char* row;
        const char* shown;
    } cases[] = {
        {"set Enabled off", "Enabled", "on"},
        {"name Ada", "Name", ""},
        {"colour textColorRow white", "textColorRow", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.command), "ok") << c.command;
        EXPECT_EQ(run(std::string("value ") + c.row), "ok \"" + std::string(c.shown) + "\"") << c.command;
        EXPECT_EQ(posted(), Names{}) << c.command;
        EXPECT_EQ(app->openAlert(), nullptr) << c.command; // no restart offered for a name not stored
    }
    EXPECT_EQ(leftButton(), "");
}

TEST_F(PrefsRowsTest, AnUnreadableSettingsFileIsKeptBesideTheNewOne)
{
    const struct {
        const char* command;
        const char* key;
        const char* backup;
    } cases[] = {
        {"set Enabled off", "enabled", ".unreadable"},
        {"name Ada", "Name", ".unreadable.1"}, // earlier copies are not overwritten
        {"colour textColorRow white", "textColor", ".unreadable.2"},
    };
    for (const auto& c : cases) {
        const std::string damaged = std::string("<plist><dict><key>") + c.key + "</key>";
        device.writeFile(std::string(vantorel::SettingsFile), damaged);
        start();
        EXPECT_EQ(run(c.command), "ok") << c.command;
        EXPECT_EQ(readHostFile(settingsHostPath() + c.backup), damaged) << c.command;
        const auto file = settings();
        ASSERT_TRUE(file) << c.command;
        EXPECT_EQ(file->count(), 1u) << c.command;
        EXPECT_NE(file->objectForKey(c.key), nullptr) << c.command;
    }
}

TEST_F(PrefsRowsTest, ANameIsStoredEvenWhenEmptyAndTheRestartIsOffered)
{
    for (const std::string name : {"Ada Lovelace", ""}) {
        start();
        ASSERT_EQ(run("name \"" + name + "\""), "ok");
        EXPECT_EQ(storedText(settings(), "Name"), name);
        const auto alert = app->openAlert();
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->title() + " / " + alert->message(), "Vantorel / Respring Now?");
        EXPECT_EQ(posted(), Names{}); // the library takes a new name at its next start only
        EXPECT_EQ(run("press OK"), "ok");
        EXPECT_EQ(posted(), Names{"RespringVT"});
        EXPECT_EQ(run("value Name"), "ok \"" + name + "\"");
    }
}

TEST_F(PrefsRowsTest, TheProfileOpensInTheFirstClientThatIsInstalled)
{
    start();
    const auto application = UIApplication::sharedApplication();
    const struct {
        std::vector<std::string> schemes;
        const char* opened;
    } cases[] = {
        {{}, "https://profiles.example.org/vantorel_dev"},
        {{"twitter"}, "twitter://user?screen_name=vantorel_dev"},
        {{"twitter", "twitterrific"}, "twitterrific:///profile?screen_name=vantorel_dev"},
        {{"twitter", "tweetbot"}, "tweetbot:///user_profile/vantorel_dev"},
    };
    for (const auto& c : cases) {
        application->setInstalledURLSchemes(c.schemes);
        application->clearOpenedURLs();
        EXPECT_EQ(run("tap Developer"), "ok");
        EXPECT_EQ(application->openedURLs(), Names{c.opened});
    }
    application->setInstalledURLSchemes({});
}

TEST_F(PrefsRowsTest, LanguageAndPluginChoicesListOnlyFoldersAndBundles)
{
    const std::string languages(vantorel::LanguageSupportFolder), plugins(vantorel::PluginsFolder);
    makeFolders({languages + "German", languages + "English", plugins + "Weather.bundle", plugins + "Calendar.bundle",
                 plugins + "Extras"});
    device.writeFile(languages + "notes.txt", "a plain file");
    device.writeFile(plugins + "readme.txt", "a plain file");
    start();
    const auto names = [&](const char* selector) {
        Names found;
        for (const id& entry : *msgSend<std::shared_ptr<NSArray>>(page(), sel_registerName(selector)))
            found.push_back(foundation::stringValueOf(entry).value_or("?"));
        return found;
    };
    for (const char* selector : {"dataValues", "dataTitles"})
        EXPECT_EQ(names(selector), (Names{"English", "German"})) << selector;
    for (const char* selector : {"widgetValues", "widgetTitles"})
        EXPECT_EQ(names(selector), (Names{"Calendar", "Weather"})) << selector;
}

TEST_F(PrefsRowsTest, ThePickerHoldsTheHuesThenWhiteBlackAndHex)
{
    start();
    ASSERT_EQ(run("tap textColorRow"), "ok");
    ASSERT_TRUE(app->openGrid());
    const auto picker = msgSend<id>(page(), "picker"_sel);
    const auto buttons = msgSend<std::shared_ptr<NSArray>>(picker, "possibleColorButtons"_sel);
    ASSERT_EQ(msgSend<std::shared_ptr<NSArray>>(picker, "possibleColors"_sel)->count(), 101u);
    ASSERT_EQ(buttons->count(), 104u);
    EXPECT_EQ(app->openGrid()->numberOfItemsInSection(0), 104);
    // Hue steps summed in single precision: 101 of them, the last just short of 1.
    float hue = 0, last = 0;
    for (unsigned long i = 0; i < 101; ++i, hue += 0.01f) {
        const auto background = std::static_pointer_cast<UIButton>(buttons->objectAtIndex(i))->backgroundColor();
        EXPECT_TRUE(background->isEqual(UIColor::colorWithHueSaturationBrightnessAlpha(hue, 1, 1, 1).get())) << i;
        last = hue;
    }
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.7g", static_cast<double>(last));
    EXPECT_STREQ(printed, "0.9999993");
    EXPECT_GE(hue, 1.0f);
    const auto button = [&](unsigned long i) { return std::static_pointer_cast<UIButton>(buttons->objectAtIndex(i)); };
    EXPECT_EQ(button(101)->backgroundColor(), UIColor::whiteColor());
    EXPECT_TRUE(button(102)->backgroundColor()->isEqual(UIColor::blackColor().get()));
    EXPECT_EQ(button(103)->currentTitle(), "Hex");
}

TEST_F(PrefsRowsTest, HexEntryTakesAnyFirstCharacterAndSixDigitsOnly)
{
    const struct {
        const char* typed;
        const char* stored; // nullptr: refused
    } cases[] = {
        {"#00ff00", "00ff00"}, {"x00FF00", "00ff00"}, {"00ff00", nullptr}, {"#00fg00", nullptr}, {"#00ff0", nullptr},
    };
    for (const auto& c : cases) {
        fs::remove(settingsHostPath());
        start();
        const std::string answer = run(std::string("colour textColorRow hex \"") + c.typed + "\"");
        if (c.stored) {
            EXPECT_EQ(answer, "ok") << c.typed;
            EXPECT_EQ(storedText(settings(), "textColor"), c.stored) << c.typed;
            EXPECT_EQ(app->openGrid(), nullptr) << c.typed; // the picker closed
            EXPECT_EQ(leftButton(), "Respring") << c.typed;
        } else {
            EXPECT_EQ(answer, "error Not a hex value") << c.typed;
            EXPECT_EQ(settings(), nullptr) << c.typed;
            EXPECT_NE(app->openGrid(), nullptr) << c.typed; // the picker stays open
        }
        EXPECT_EQ(posted(), Names{}) << c.typed; // a colour is picked up at the next settings load
    }
}

TEST_F(PrefsRowsTest, ColourRowsShowStoredOrDefaultColoursAndSaveOneKey)
{
    installList(colourRow("textColor", "112233", "Text colour") + colourRow("glyphColor", "abcdef", ""));
    writeSettings("<key>textColor</key><string>not hex</string><key>enabled</key><false/>");
    start();
    const auto cell = [&](const char* name) { return page()->cellForSpecifier(app->findRow(name)); };
    const auto label = [&](const char* name) {
        return msgSend<std::shared_ptr<UILabel>>(cell(name), "selectedColorLabel"_sel)->text();
    };
    const auto swatch = [&](const char* name) {
        const auto image = msgSend<std::shared_ptr<UIImageView>>(cell(name), "selectedColor"_sel)->image();
        const auto* pixel = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(image->surface()));
        return *pixel & 0xffffff; // ARGB, opaque
    };
    EXPECT_EQ(label("textColor"), "Text colour");
    EXPECT_EQ(label("glyphColor"), "abcdef"); // no "keyLabel": the default names the row
    EXPECT_EQ(cell("textColor")->detailTextLabel()->text(), "not hex");
    EXPECT_EQ(swatch("textColor"), 0x112233u); // unreadable: the default colour
    EXPECT_EQ(cell("glyphColor")->detailTextLabel()->text(), "");

    ASSERT_EQ(run("colour glyphColor item 0"), "ok");
    const auto file = settings();
    EXPECT_EQ(file->count(), 3u);
    EXPECT_EQ(storedText(file, "glyphColor"), "ff0000");
    EXPECT_EQ(storedText(file, "textColor"), "not hex");
    EXPECT_EQ(storedText(file, "enabled"), "0");
    EXPECT_EQ(cell("glyphColor")->detailTextLabel()->text(), "ff0000");
    EXPECT_EQ(swatch("glyphColor"), 0xff0000u);
}

TEST_F(PrefsRowsTest, TheHeaderPaintsItsTwoColoursTopToBottomThroughTheStencil)
{
    start();
    const auto header = page()->cellForSpecifier(page()->rowSpecifiers().front());
    ASSERT_TRUE(header && header->isKindOfClass(objc_getClass("ZylHeaderClass")));
    const auto& gradient = object_ivar<std::shared_ptr<CAGradientLayer>>(header.get(), "gradient");
    ASSERT_EQ(gradient->colors().size(), 2u);
    // Channels are computed in single precision, then widened.
    const auto channel = [](int value) { return static_cast<double>(static_cast<float>(value) / 255.0f); };
    EXPECT_EQ(*gradient->colors()[0], (CGColor{0, channel(198), 1, 1}));
    EXPECT_EQ(*gradient->colors()[1], (CGColor{0, channel(82), channel(212), 1}));
    EXPECT_EQ(gradient->startPoint(), (CGPoint{0.5, 0})); // first colour at the top
    EXPECT_EQ(gradient->endPoint(), (CGPoint{0.5, 1}));
    EXPECT_TRUE(object_ivar<std::shared_ptr<CALayer>>(header.get(), "maskLayer")->contents());

    // A wider list: banner, gradient and stencil follow the width, the height stays.
    header->setFrame(CGRectMake(0, 0, 480, 110));
    msgSend(header, "layoutSubviews"_sel);
    const auto& banner = object_ivar<std::shared_ptr<UIView>>(header.get(), "mainView");
    EXPECT_EQ(banner->frame(), CGRectMake(0, 0, 480, 110));
    EXPECT_EQ(gradient->frame(), CGRectMake(0, 0, 480, 110));
    EXPECT_EQ(object_ivar<std::shared_ptr<CALayer>>(header.get(), "maskLayer")->frame(), CGRectMake(0, 0, 480, 110));
}

TEST_F(PrefsRowsTest, BadCommandsAreRefusedWithAReason)
{
    start();
    const struct {
        const char* command;
        const char* answer;
    } cases[] = {
        {"", "error empty command"},
        {"frobnicate", "error unknown command or wrong arguments: \"frobnicate\""},
        {"tap", "error unknown command or wrong arguments: \"tap\""},
        {"tap Nowhere", "error no row \"Nowhere\""},
        {"set Enabled maybe", "error a switch is on or off"},
        {"set \"Panel opacity\" lots", "error not a number: \"lots\""},
        {"set Widget Nothing", "error no choice \"Nothing\" for \"Widget\""},
        {"set Name Ada", "error row \"Name\" has no value to set"},
        {"toggle Name", "error no switch row \"Name\""},
        {"pick 3", "error no colour grid is open"},
        {"type hello", "error no text field is open"},
        {"press Launch", "error no button \"Launch\" on screen"},
        {"back", "error no page to go back from"},
        {"colour Enabled white", "error row \"Enabled\" opens no colour grid"},
        {"colour textColorRow purple", "error colour <row> item <n> | white | black | hex <text>"},
        {"wait forever", "error not a number of seconds: \"forever\""},
        {"tap \"Enabled", "error unterminated quote"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.command), c.answer) << c.command;
    EXPECT_EQ(settings(), nullptr); // nothing was written
}

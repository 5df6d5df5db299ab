// Bad input files given to the real host program with the library: every settings key in every
// bad form, every language text missing, broken city files, broken plug-in bundles, files that
// cannot be read. Each gets its described default (or the widget area stays empty), the host
// keeps running, and no other setting or text is lost.
#include "host_fixture.h"

#include "common/support_paths.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using reliability::post;
using reliability::settingsFile;

namespace {

constexpr const char* kWhite = "UIDeviceRGBColorSpace 1 1 1 1";
const std::string kMegabyte(1 << 20, 'a');
const std::string kMegabyteShown = "1048576:" + std::string(24, 'a');

// One key: its value element in a sound file, a value of another kind, a malformed value, and
// what the probe shows for the key after each bad form: absent, wrong kind, malformed, empty
// string, 1 MB string. "|" separates lines of derived values; "PAL" is the PAL_STRNG text.
struct KeyCase {
    const char* key;
    const char* sound;
    const char* wrongKind;
    const char* malformed;
    std::array<std::string, 5> expected;
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.key; }

std::string nilWidget(const std::string& shown)
{
    return "SelectedWidget=" + shown + "|selectedWidgetClass=<nil>|selectedWidgetIcon=<nil>";
}

const std::vector<KeyCase>& keyCases()
{
    static const std::vector<KeyCase> cases{
        {"Name", "<string>Ada</string>", "<integer>7</integer>", "<string>%@ %n %s</string>",
         {"Name=PAL", "Name=PAL", "Name=8:%@ %n %s", "Name=0:", "Name=" + kMegabyteShown}},
        {"textColor", "<string>ff0000</string>", "<integer>16711680</integer>", "<string>ff00zz</string>",
         {std::string("textColor=") + kWhite, std::string("textColor=") + kWhite, "textColor=<nil>", "textColor=<nil>",
          "textColor=<nil>"}},
        {"glyphColor", "<string>00ff00</string>", "<true/>", "<string>#00ff00</string>",
         {std::string("glyphColor=") + kWhite, std::string("glyphColor=") + kWhite, "glyphColor=<nil>",
          "glyphColor=<nil>", "glyphColor=<nil>"}},
        {"backgroundBlurColor", "<string>0000ff</string>", "<array><string>0000ff</string></array>",
         "<string>0000f</string>",
         {std::string("backgroundBlurColor=") + kWhite, std::string("backgroundBlurColor=") + kWhite,
          "backgroundBlurColor=<nil>", "backgroundBlurColor=<nil>", "backgroundBlurColor=<nil>"}},
        // A present value is used unchecked: a number too large for single precision is infinite.
        {"backgroundBlurAlpha", "<real>0.5</real>", "<true/>", "<string>1e39</string>",
         {"backgroundBlurAlpha=0.200000003", "backgroundBlurAlpha=0.200000003", "backgroundBlurAlpha=inf",
          "backgroundBlurAlpha=0", "backgroundBlurAlpha=0"}},
        {"removeNW", "<true/>", "<array/>", "<string>maybe</string>",
         {"removeNW=0", "removeNW=0", "removeNW=0", "removeNW=0", "removeNW=0"}},
        {"morningStart", "<string>05:00</string>", "<integer>5</integer>", "<string>ab:cd</string>",
         {"morningStart=5:06:00", "morningStart=5:06:00", "morningStart=5:ab:cd", "morningStart=0:",
          "morningStart=" + kMegabyteShown}},
        {"afternoonStart", "<string>11:00</string>", "<date>2024-01-01T12:00:00Z</date>", "<string>25:99</string>",
         {"afternoonStart=5:12:00", "afternoonStart=5:12:00", "afternoonStart=5:25:99", "afternoonStart=0:",
          "afternoonStart=" + kMegabyteShown}},
        {"eveningStart", "<string>17:00</string>", "<real>17</real>", "<string>-1:00</string>",
         {"eveningStart=5:18:00", "eveningStart=5:18:00", "eveningStart=5:-1:00", "eveningStart=0:",
          "eveningStart=" + kMegabyteShown}},
        {"nightStart", "<string>21:00</string>", "<data>MjE6MDA=</data>", "<string>9</string>",
         {"nightStart=5:22:00", "nightStart=5:22:00", "nightStart=1:9", "nightStart=0:",
          "nightStart=" + kMegabyteShown}},
        // A folder name that would leave the language folder reads no texts (checked below).
        {"localizationFolder", "<string>German</string>", "<integer>1</integer>", "<string>../../../etc</string>",
         {"localizationFolder=7:English", "localizationFolder=7:English", "localizationFolder=12:../../../etc",
          "localizationFolder=0:", "localizationFolder=" + kMegabyteShown}},
        {"enabled", "<true/>", "<dict/>", "<string>maybe</string>",
         {"enabled=1", "enabled=1", "enabled=1", "enabled=1", "enabled=1"}},
        {"blurEnabled", "<true/>", "<data>AQ==</data>", "<string>2</string>",
         {"blurEnabled=0", "blurEnabled=0", "blurEnabled=0", "blurEnabled=0", "blurEnabled=0"}},
        {"allWidgets", "<false/>", "<array/>", "<string>maybe</string>",
         {"allWidgets=0", "allWidgets=0", "allWidgets=0", "allWidgets=0", "allWidgets=0"}},
        {"SelectedWidget", "<string>Weather</string>", "<integer>3</integer>", "<string>../Weather</string>",
         {"SelectedWidget=8:Calendar|selectedWidgetClass=Calendar|selectedWidgetIcon=yes",
          "SelectedWidget=8:Calendar|selectedWidgetClass=Calendar|selectedWidgetIcon=yes", nilWidget("10:../Weather"),
          nilWidget("0:"), nilWidget(kMegabyteShown)}},
    };
    return cases;
}

// The settings file with every key sound except `key`, which holds `element` (or is left out).
std::string settingsWith(const std::string& key, const std::optional<std::string>& element)
{
    std::string entries;
    for (const KeyCase& c : keyCases()) {
        if (c.key != key)
            entries += "<key>" + std::string(c.key) + "</key>" + c.sound;
        else if (element)
            entries += "<key>" + key + "</key>" + *element;
    }
    return settingsFile(entries);
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

class SettingsKeyTest : public reliability::HostTest, public ::testing::WithParamInterface<KeyCase> {};

} // namespace

// The host starts with the 1 MB form (read at start-up), then reloads each other bad form and
// finally the sound file: every other setting keeps its sound value throughout.
TEST_P(SettingsKeyTest, EachBadFormGetsTheDefaultAndLeavesTheOtherSettings)
{
    const KeyCase& c = GetParam();
    const std::string settings = std::string(vantorel::SettingsFile);
    const std::array<std::optional<std::string>, 5> forms{
        std::nullopt, std::string(c.wrongKind), std::string(c.malformed), std::string("<string></string>"),
        "<string>" + kMegabyte + "</string>"};
    device.writeFile(settings, settingsWith(c.key, forms[4]));
    auto host = startHost();
    std::vector<std::map<std::string, std::string>> dumps{probe(1)};
    for (int form = 0; form < 4; ++form) {
        device.writeFile(settings, settingsWith(c.key, forms[form]));
        ASSERT_TRUE(post("loadVantorelS"));
        dumps.push_back(probe(form + 2));
    }
    device.writeFile(settings, settingsWith(c.key, std::string(c.sound)));
    ASSERT_TRUE(post("loadVantorelS"));
    const auto sound = probe(6);
    ASSERT_FALSE(sound.empty());

    const std::array<int, 5> dumpOfForm{1, 2, 3, 4, 0}; // the 1 MB form was read first
    for (int form = 0; form < 5; ++form) {
        SCOPED_TRACE("form " + std::to_string(form));
        auto dump = dumps[static_cast<std::size_t>(dumpOfForm[static_cast<std::size_t>(form)])];
        ASSERT_FALSE(dump.empty());
        for (const std::string& line : split(c.expected[static_cast<std::size_t>(form)], '|')) {
            const auto equals = line.find('=');
            std::string want = line.substr(equals + 1);
            if (want == "PAL")
                want = dump.at("PAL_STRNG");
            EXPECT_EQ(dump[line.substr(0, equals)], want) << line.substr(0, equals);
            dump.erase(line.substr(0, equals));
        }
        for (const auto& [name, value] : dump) {
            if (name != "dump" && name.find("_STRNG") == std::string::npos) {
                EXPECT_EQ(value, sound.at(name)) << name << " was lost";
            }
        }
    }
    // The first dump was made at start-up: the language texts follow the folder setting.
    const bool textsRead = c.key != std::string("localizationFolder");
    EXPECT_EQ(dumps[0].at("ITS_STRNG") != "<absent>", textsRead);

    EXPECT_EQ(host->ask("layout"), "ok");
    EXPECT_TRUE(host->ask("state").starts_with("state items=0"));
    EXPECT_EQ(host->ask("quit"), "ok");
    EXPECT_EQ(host->wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryKey, SettingsKeyTest, ::testing::ValuesIn(keyCases()),
                         [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.key); });

namespace {

const std::vector<std::string>& languageKeys()
{
    static const std::vector<std::string> keys{
        "PAL_STRNG", "STORM_STRNG", "HURRICANE_STRNG", "THUNDER_STRNG", "SNOW_STRNG", "SLEET_STRNG",
        "RAIN_STRNG", "DRIZZLE_STRNG", "SHOWERS_STRNG", "SNOWFLURRY_STRNG", "SNOWSHOWERS_STRNG", "HAIL_STRNG",
        "DUST_STRNG", "FOG_STRNG", "HAZE_STRNG", "SMOKE_STRNG", "BLUSTER_STRNG", "WIND_STRNG", "COLD_STRNG",
        "CLOUDY_STRNG", "CLEAR_STRNG", "SUNNY_STRNG", "FAIR_STRNG", "HOT_STRNG", "SNOWY_STRNG", "NOTAVAIL_STRNG",
        "MORNING_STRNG", "AFTERNOON_STRNG", "EVENING_STRNG", "NIGHT_STRNG", "GNAL_STRNG", "GNSLAL_STRNG",
        "NOW_STRNG", "ITS_STRNG", "AND_STRNG", "CURRENTLY_STRNG"};
    return keys;
}

bool isGreeting(const std::string& key)
{
    return key == "MORNING_STRNG" || key == "AFTERNOON_STRNG" || key == "EVENING_STRNG" || key == "NIGHT_STRNG";
}

class LanguageKeyTest : public reliability::HostTest, public ::testing::WithParamInterface<std::string> {};

} // namespace

// The English file without one key (or without any): that text alone is absent, a greeting
// without its word is still composed with the name, and the dashboard still lays out.
TEST_P(LanguageKeyTest, AMissingKeyLeavesOnlyItsTextAbsent)
{
    const std::string missing = GetParam();
    std::ifstream shipped(device.host(vantorel::localizationFilePath("English")));
    std::string entries;
    for (std::string line; std::getline(shipped, line);) {
        const bool keyLine = line.find("<key>") != std::string::npos;
        if (keyLine && (missing == "every key" || line.find("<key>" + missing + "</key>") != std::string::npos)) {
            std::getline(shipped, line); // and its string
            continue;
        }
        if (keyLine || line.find("<string>") != std::string::npos)
            entries += line + "\n";
    }
    device.writeFile(vantorel::localizationFilePath("Missing"), tweaktest::plist(entries));
    device.writeFile(std::string(vantorel::SettingsFile),
                     settingsFile("<key>Name</key><string>Ada</string><key>localizationFolder</key>"
                                  "<string>Missing</string>"));
    auto host = startHost();
    const auto dump = probe(1);
    ASSERT_FALSE(dump.empty());
    for (const std::string& key : languageKeys()) {
        const bool absent = missing == "every key" || key == missing;
        if (isGreeting(key)) {
            EXPECT_TRUE(dump.at(key).ends_with(absent ? ":, Ada." : ", Ada.")) << key << " " << dump.at(key);
        } else {
            EXPECT_EQ(dump.at(key) == "<absent>", absent) << key;
        }
    }
    EXPECT_EQ(host->ask("layout"), "ok");
    const std::string state = host->ask("state");
    EXPECT_TRUE(state.starts_with("state items=0")) << state;
    EXPECT_NE(state.find("Ada."), std::string::npos) << state;
    EXPECT_EQ(host->ask("quit"), "ok");
    EXPECT_EQ(host->wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryKey, LanguageKeyTest,
                         ::testing::ValuesIn([] {
                             auto keys = languageKeys();
                             keys.push_back("every key");
                             return keys;
                         }()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param == "every key" ? std::string("EveryKey")
                                                              : info.param.substr(0, info.param.find('_'));
                         });

namespace {

// The weather sentence among the host's labels ("" when there is none).
std::string sentenceIn(const std::string& state)
{
    const auto at = state.find("\"It's ");
    return at == std::string::npos ? std::string() : state.substr(at + 1, state.find('"', at + 1) - at - 1);
}

// Puts something unreadable at the device path: a folder, a pipe, a link to itself, a link to
// nothing. (Permissions would not do: the tests may run as root.)
void makeUnreadable(const testsupport::TemporaryDeviceRoot& device, const std::string& devicePath, int how)
{
    const fs::path path = device.host(devicePath);
    std::error_code ignored;
    fs::remove_all(path, ignored);
    fs::create_directories(path.parent_path(), ignored);
    switch (how) {
    case 0: fs::create_directories(path / "inside"); break;
    case 1: ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); break;
    case 2: fs::create_symlink(path, path); break;
    default: fs::create_symlink(path.string() + ".gone", path); break;
    }
}

constexpr const char* kUnreadable[] = {"a folder", "a pipe", "a symlink loop", "a dangling symlink"};

using BadInputTest = reliability::HostTest;

} // namespace

// Broken city files read as no city: the sentence shows no temperature and the not-available
// word; a file with impossible values shows what it holds. The Weather plug-in in the open widget
// area reads each file too. A sound file is read again after all of them.
TEST_F(BadInputTest, BrokenCityFilesReadAsNoCityAndASoundOneIsReadAfterThem)
{
    const std::string city = std::string(vantorel::CityFile);
    const std::string sound = tweaktest::plist(
        "<key>Temperature</key><string>21.5</string><key>ConditionCode</key><integer>32</integer>"
        "<key>HourlyForecasts</key><array><dict><key>Time</key><string>14:00</string><key>Detail</key>"
        "<string>22\u00B0</string><key>ConditionCode</key><integer>32</integer></dict></array>");
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 7919 + 13) % 251);
    const struct {
        const char* what;
        std::string bytes;
        const char* sentence;
    } files[] = {
        {"truncated", sound.substr(0, sound.size() / 2), "It's \u00B0 C and Not Available currently."},
        {"empty", "", "It's \u00B0 C and Not Available currently."},
        {"binary", binary, "It's \u00B0 C and Not Available currently."},
        {"a binary list cut short", std::string("bplist00\xD1\x01\x02", 11), "It's \u00B0 C and Not Available currently."},
        {"wrong root", tweaktest::plist("").replace(tweaktest::plist("").find("<dict>"), 13, "<array/>"),
         "It's \u00B0 C and Not Available currently."},
        {"impossible values",
         tweaktest::plist("<key>Temperature</key><real>1e300</real><key>ConditionCode</key><integer>-5</integer>"
                          "<key>HourlyForecasts</key><array><dict><key>Time</key><string>99:99</string><key>Detail"
                          "</key><string>" + std::string(4096, '9') + "</string><key>ConditionCode</key>"
                          "<integer>9999999999</integer></dict><string>not an hour</string></array>"),
         "It's 1e+300\u00B0 C and Not Available currently."},
    };
    device.writeFile(std::string(vantorel::SettingsFile),
                     settingsFile("<key>SelectedWidget</key><string>Weather</string>"));
    auto host = startHost(false, {"VANTOREL_WEATHER_CELSIUS=1"});
    ASSERT_EQ(host->ask(kTapWidgets), "ok");
    const auto readBy = [&](const std::string& why) {
        SCOPED_TRACE(why);
        EXPECT_TRUE(post("VTdidUpdateWeather"));
        EXPECT_EQ(host->ask("wait 0.3"), "ok");
        EXPECT_EQ(host->ask("layout"), "ok");
        EXPECT_TRUE(host->ask("views").ends_with(" ok"));
        return sentenceIn(host->ask("state"));
    };
    device.writeFile(city, sound);
    ASSERT_EQ(readBy("sound"), "It's 21.5\u00B0 C and Sunny currently.");
    for (const auto& file : files) {
        device.writeFile(city, file.bytes);
        EXPECT_EQ(readBy(file.what), file.sentence) << file.what;
    }
    for (int how = 0; how < 4; ++how) {
        makeUnreadable(device, city, how);
        EXPECT_EQ(readBy(kUnreadable[how]), "It's \u00B0 C and Not Available currently.") << kUnreadable[how];
    }
    fs::remove(device.host(city));
    device.writeFile(city, sound);
    EXPECT_EQ(readBy("sound again"), "It's 21.5\u00B0 C and Sunny currently.");
    EXPECT_EQ(host->ask("quit"), "ok");
    EXPECT_EQ(host->wait(), 0);
}

// Broken plug-in bundles chosen in the settings, or from the chooser: the widget area stays empty
// and the host keeps running; a plug-in whose view cannot be made is named in the system log.
TEST_F(BadInputTest, BrokenPluginBundlesLeaveTheWidgetAreaEmpty)
{
    using Executable = reliability::HostTest::Executable;
    const auto info = [](const std::string& principal) {
        return tweaktest::plist("<key>NSPrincipalClass</key><string>" + principal + "</string>");
    };
    const struct {
        const char* name;
        Executable executable;
        std::optional<std::string> info;
        const char* shownClass; // the plug-in view the widget area shows, or nullptr
    } bundles[] = {
        {"NoInfo", Executable::FaultyPlugin, std::nullopt, nullptr}, // its first class throws
        {"NoExecutable", Executable::None, info("ThrowingWidgetView"), nullptr},
        {"NotShared", Executable::NotASharedObject, info("ThrowingWidgetView"), nullptr},
        {"NotAView", Executable::FaultyPlugin, info("FaultyWidgetHelper"), nullptr},
        {"Throwing", Executable::FaultyPlugin, info("ThrowingWidgetView"), nullptr},
        {"UnreadableInfo", Executable::None, std::nullopt, nullptr},
        {"Sound", Executable::None, std::nullopt, "Calendar"},
    };
    for (const auto& bundle : bundles)
        installBundle(bundle.name, bundle.executable, bundle.info);
    makeUnreadable(device, vantorel::pluginBundlePath("UnreadableInfo") + "/Info.plist", 2);
    fs::copy(device.host(vantorel::pluginBundlePath("Calendar")), device.host(vantorel::pluginBundlePath("Sound")),
             fs::copy_options::recursive);
    device.writeFile(vantorel::pluginBundlePath("Sound") + "/Info.plist",
                     tweaktest::plist("<key>CFBundleExecutable</key><string>Calendar</string>"));
    makeUnreadable(device, vantorel::pluginBundlePath("Loop"), 2);
    device.writeFile(vantorel::pluginBundlePath("PlainFile"), "not a folder");

    for (const auto& bundle : bundles) {
        SCOPED_TRACE(bundle.name);
        device.writeFile(std::string(vantorel::SettingsFile), settingsFile("<key>SelectedWidget</key><string>" +
                                                                           std::string(bundle.name) + "</string>"));
        auto host = startHost();
        EXPECT_EQ(host->ask(kTapWidgets), "ok");
        const std::string views = host->ask("views");
        EXPECT_EQ(views.find("\"class\":\"Calendar\"") != std::string::npos, bundle.shownClass != nullptr) << views;
        EXPECT_TRUE(host->ask("state").starts_with("state items=0"));
        EXPECT_EQ(host->ask("quit"), "ok");
        EXPECT_EQ(host->wait(), 0);
    }
    const auto log = systemLog();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& line) {
                                return line.ends_with("Vantorel: the plug-in view ThrowingWidgetView could not be "
                                                      "made: the widget cannot start");
                            }),
              2); // "NoInfo" and "Throwing"

    // The chooser lists every entry ending in ".bundle"; each tile chosen leaves the host running.
    device.writeFile(std::string(vantorel::SettingsFile), settingsFile("<key>allWidgets</key><true/>"));
    auto host = startHost();
    EXPECT_EQ(host->ask(kTapWidgets), "ok");
    std::vector<std::pair<double, double>> tiles;
    const std::string listed = host->ask("views");
    const auto json = nlohmann::json::parse(listed.substr(6, listed.size() - 9));
    for (const auto& view : json)
        if (view["class"] == "WidgetCell")
            tiles.emplace_back(view["x"].get<double>() + 30, view["y"].get<double>() + 50);
    EXPECT_EQ(tiles.size(), 11u); // Calendar, Weather, the seven above, Loop and PlainFile
    for (const auto& [x, y] : tiles) {
        EXPECT_EQ(host->ask("tap " + std::to_string(x) + " " + std::to_string(y)), "ok");
        EXPECT_TRUE(host->ask("state").starts_with("state items=0"));
        EXPECT_EQ(host->ask(kTapWidgets), "ok"); // closes the widget area
        EXPECT_EQ(host->ask(kTapWidgets), "ok"); // and opens it on a new chooser
    }
    EXPECT_EQ(host->ask("quit"), "ok");
    EXPECT_EQ(host->wait(), 0);
}

// Settings and language files that cannot be read give every default; the Settings-file folder
// being a link to itself too.
TEST_F(BadInputTest, UnreadableSettingsAndLanguageFilesGiveTheDefaults)
{
    for (int how = 0; how < 4; ++how) {
        SCOPED_TRACE(kUnreadable[how]);
        makeUnreadable(device, std::string(vantorel::SettingsFile), how);
        makeUnreadable(device, vantorel::localizationFilePath("English"), how);
        auto host = startHost();
        const auto dump = probe(1);
        ASSERT_FALSE(dump.empty());
        EXPECT_EQ(dump.at("localizationFolder"), "7:English");
        EXPECT_EQ(dump.at("SelectedWidget"), "8:Calendar");
        EXPECT_EQ(dump.at("selectedWidgetClass"), "Calendar");
        EXPECT_EQ(dump.at("PAL_STRNG"), "<absent>");
        EXPECT_EQ(dump.at("Name"), "<absent>");
        EXPECT_EQ(host->ask("layout"), "ok");
        EXPECT_EQ(host->ask("quit"), "ok");
        EXPECT_EQ(host->wait(), 0);
    }
}

// Junk on the command streams of the host and of the Settings application: each line gets one
// answer, an error, and the program goes on.
TEST_F(BadInputTest, JunkCommandLinesAreRefusedOneByOne)
{
    const std::string bundle = "/Library/PreferenceBundles/Vantorel.bundle";
    fs::create_directories(fs::path(device.host(bundle)).parent_path());
    fs::copy(reliability::built("device") + bundle, device.host(bundle), fs::copy_options::recursive);
    const std::string junk[] = {
        std::string(100 * 1024, 'x'),
        std::string("tap\0 1 2", 8),
        "\x1b[2J\x07 bell",
        "\xff\xfe\xc3 broken UTF-8",
        "set \"unterminated",
        "   ",
        "tap 1e400 -1e400",
        "remove 99999999999999999999999",
        "wait -1",
    };
    for (const bool settingsApp : {false, true}) {
        SCOPED_TRACE(settingsApp ? "the Settings application" : "the host");
        auto program = settingsApp ? std::make_unique<testsupport::ChildProcess>(
                                         std::vector<std::string>{reliability::built("bin/Preferences")})
                                   : startHost();
        if (settingsApp)
            ASSERT_TRUE(program->readLine(30).value_or("").starts_with("ready "));
        for (const std::string& line : junk)
            EXPECT_TRUE(program->ask(line).starts_with("error ")) << line.substr(0, 40);
        EXPECT_TRUE(program->ask("state").starts_with(settingsApp ? "ok page=" : "state items=0"));
        EXPECT_EQ(program->ask("quit"), "ok");
        EXPECT_EQ(program->wait(), 0);
    }
}

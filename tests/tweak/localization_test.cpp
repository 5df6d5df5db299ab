#include "tweak_fixture.h"

#include "tweak/core/localization.h"
#include "tweak/core/settings.h"

#include <gtest/gtest.h>

using namespace vantorel;
using tweaktest::TweakTest;

TEST_F(TweakTest, EveryShippedLanguageHasAllTexts)
{
    for (const char* language : {"English", "German", "French", "Spanish"}) {
        writeSettings(std::string("<key>localizationFolder</key><string>") + language + "</string>");
        loadSettings();
        generateLocalizations();
        for (const LocalizedText* text :
             {&palString, &stormString, &hurricaneString, &thunderstromString, &snowString, &sleetString, &rainString,
              &drizzleString, &showersString, &flurriesString, &snowshowersString, &hailString, &dustString, &fogString,
              &hazeString, &smokeString, &blusterString, &windString, &coldString, &cloudyString, &clearString,
              &sunnyString, &fairString, &hotString, &snowyString, &notAvString, &morningString, &afternoonString,
              &eveningString, &nightString, &goneAlertLabel, &goneSleepAlertLabel, &nowString, &itsString, &andString,
              &currentlyString})
            EXPECT_TRUE(text->has_value() && !(*text)->empty()) << language;
    }
}

TEST_F(TweakTest, GreetingsUseTheNameOrThePalTextOnTheFirstStart)
{
    loadSettings();
    generateLocalizations();
    EXPECT_EQ(morningString, "Good Morning, Pal.");
    EXPECT_EQ(nightString, "Good Night, Pal.");
    EXPECT_EQ(settings.Name, "Pal");

    writeSettings("<key>Name</key><string></string>");
    loadSettings();
    generateLocalizations();
    EXPECT_EQ(afternoonString, "Good Afternoon, .");

    writeSettings("<key>Name</key><string>%@ and %d</string>");
    loadSettings();
    generateLocalizations();
    EXPECT_EQ(eveningString, "Good Evening, %@ and %d.");

    std::string longName(10 * 1024 * 1024, 'n');
    writeSettings("<key>Name</key><string>" + longName + "</string>");
    loadSettings();
    generateLocalizations();
    EXPECT_EQ(morningString->size(), longName.size() + std::string("Good Morning, .").size());
}

TEST_F(TweakTest, MissingLanguageLeavesEveryTextAbsent)
{
    for (const char* folder : {"Klingon", "..", "../Language Support/English"}) {
        writeSettings(std::string("<key>localizationFolder</key><string>") + folder + "</string>");
        loadSettings();
        generateLocalizations();
        EXPECT_FALSE(sunnyString.has_value()) << folder;
        EXPECT_FALSE(palString.has_value()) << folder;
        EXPECT_EQ(morningString, ", .") << folder;
        EXPECT_EQ(textOrEmpty(itsString), "");
    }
}

TEST(ConditionWords, FollowTheCodeTableAndFallBackToNotAvailable)
{
    EXPECT_EQ(&conditionWordForCode(32), &sunnyString);
    EXPECT_EQ(&conditionWordForCode(3), &thunderstromString);
    EXPECT_EQ(&conditionWordForCode(47), &thunderstromString);
    EXPECT_EQ(&conditionWordForCode(13), &flurriesString);
    EXPECT_EQ(&conditionWordForCode(44), &cloudyString);
    for (long code : {0L, 48L, -1L, 1000L})
        EXPECT_EQ(&conditionWordForCode(code), &notAvString) << code;
}

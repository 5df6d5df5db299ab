#include "foundation/ns_number.h"
#include "foundation/ns_string.h"
#include "foundation/value_reading.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using objc::operator""_sel;

TEST(DataStringReadings, IntegersReadTheLeadingDigitsAndClampOnOverflow)
{
    EXPECT_EQ(NSStr("07")->intValue(), 7);
    EXPECT_EQ(NSStr("6:30")->intValue(), 6);
    EXPECT_EQ(NSStr("  \t\n-42abc")->intValue(), -42);
    EXPECT_EQ(NSStr("+8")->intValue(), 8);
    EXPECT_EQ(NSStr("abc")->intValue(), 0);
    EXPECT_EQ(NSStr("")->intValue(), 0);
    EXPECT_EQ(NSStr("- 5")->intValue(), 0);
    EXPECT_EQ(NSStr("12.9")->intValue(), 12);
    EXPECT_EQ(NSStr("99999999999")->intValue(), INT_MAX);
    EXPECT_EQ(NSStr("-99999999999")->intValue(), INT_MIN);
    EXPECT_EQ(NSStr("99999999999")->integerValue(), 99999999999L);
    EXPECT_EQ(NSStr("999999999999999999999999")->integerValue(), LONG_MAX);
    EXPECT_EQ(NSStr("-2147483648")->intValue(), INT_MIN);
}

TEST(DataStringReadings, RealsReadTheLeadingDecimalNumberRoundedOnceToTheirPrecision)
{
    EXPECT_EQ(NSStr("0.5")->floatValue(), 0.5f);
    // Single precision, widened: not the double nearest to 0.3.
    EXPECT_EQ(static_cast<double>(NSStr("0.3")->floatValue()), 0.30000001192092896);
    EXPECT_EQ(NSStr("0.3")->doubleValue(), 0.3);
    EXPECT_EQ(NSStr("x")->floatValue(), 0.0f);
    EXPECT_EQ(NSStr(" -1.5e2px")->doubleValue(), -150.0);
    EXPECT_EQ(NSStr(".25")->doubleValue(), 0.25);
    EXPECT_EQ(NSStr("7.")->doubleValue(), 7.0);
    EXPECT_EQ(NSStr("3e")->doubleValue(), 3.0);
    // Only plain decimal text counts: no hexadecimal, no words.
    EXPECT_EQ(NSStr("0x1A")->doubleValue(), 0.0);
    EXPECT_EQ(NSStr("inf")->doubleValue(), 0.0);
    EXPECT_EQ(NSStr("nan")->floatValue(), 0.0f);
    EXPECT_TRUE(std::isinf(NSStr("1e999")->doubleValue()));
    EXPECT_TRUE(std::isinf(NSStr("1e50")->floatValue()));
}

TEST(DataStringReadings, BooleansLookAtTheFirstSignificantCharacter)
{
    for (const char* yes : {"YES", "yes", "true", "T", "1", "01", "  +9", "-1", "y"})
        EXPECT_TRUE(NSStr(yes)->boolValue()) << yes;
    for (const char* no : {"NO", "no", "false", "0", "000", "", "  ", "-0", "abc", "on", "+"})
        EXPECT_FALSE(NSStr(no)->boolValue()) << no;
}

TEST(DataStringReadings, ValuesOfUnknownKindReadLikeTheirClassOrAreAbsent)
{
    EXPECT_EQ(foundation::floatValueOf(NSStr("0.3")).value(), 0.3f);
    EXPECT_EQ(static_cast<double>(foundation::floatValueOf(NSNumber::numberWithDouble(0.3)).value()), 0.30000001192092896);
    EXPECT_EQ(foundation::doubleValueOf(NSNumber::numberWithInt(4)).value(), 4.0);
    EXPECT_EQ(foundation::intValueOf(NSStr("07")).value(), 7);
    EXPECT_EQ(foundation::intValueOf(NSNumber::numberWithDouble(-2.9)).value(), -2);
    EXPECT_EQ(foundation::integerValueOf(NSStr("6:30")).value(), 6);
    EXPECT_TRUE(foundation::boolValueOf(NSStr("Yes")).value());
    EXPECT_FALSE(foundation::boolValueOf(NSNumber::numberWithBool(false)).value());
    EXPECT_TRUE(foundation::boolValueOf(NSNumber::numberWithDouble(0.1)).value());
    EXPECT_EQ(foundation::stringValueOf(NSStr("Calendar")).value(), "Calendar");
    EXPECT_EQ(foundation::stringValueOf(NSNumber::numberWithBool(true)).value(), "1");
    EXPECT_EQ(foundation::stringValueOf(NSNumber::numberWithFloat(0.3f)).value(), "0.3");

    const objc::id other = std::make_shared<objc::Object>();
    for (const objc::id& absent : {objc::id(), other}) {
        EXPECT_FALSE(foundation::floatValueOf(absent));
        EXPECT_FALSE(foundation::doubleValueOf(absent));
        EXPECT_FALSE(foundation::boolValueOf(absent));
        EXPECT_FALSE(foundation::intValueOf(absent));
        EXPECT_FALSE(foundation::stringValueOf(absent));
    }
}

TEST(DataStringText, LengthCountsUtf16UnitsAndEqualityIsByValue)
{
    EXPECT_EQ(NSStr("")->length(), 0u);
    EXPECT_EQ(NSStr("Wetter")->length(), 6u);
    EXPECT_EQ(NSStr("caf\xc3\xa9")->length(), 4u);         // é: one unit
    EXPECT_EQ(NSStr("\xe2\x82\xac")->length(), 1u);        // €
    EXPECT_EQ(NSStr("a\xf0\x9f\x98\x80")->length(), 3u);   // emoji: a surrogate pair
    EXPECT_EQ(NSStr("\xff\xc3")->length(), 2u);            // broken bytes count one each

    auto a = NSStr("Calendar");
    auto b = NSString::stringWithString("Calendar");
    EXPECT_NE(a, b);
    EXPECT_TRUE(a->isEqual(b.get()));
    EXPECT_EQ(a->hash(), b->hash());
    EXPECT_FALSE(a->isEqual(NSStr("calendar").get()));
    EXPECT_FALSE(a->isEqual(nullptr));
    EXPECT_FALSE(a->isEqual(NSNumber::numberWithInt(1).get()));
    EXPECT_EQ(a->description(), "Calendar");
    EXPECT_STREQ(a->UTF8String(), "Calendar");
    EXPECT_EQ(NSString::stringWithString(std::shared_ptr<NSString>())->string(), "");
}

TEST(DataStringText, PathOperationsOnFileNames)
{
    EXPECT_EQ(NSStr("/Plugins/Calendar.bundle")->lastPathComponent()->string(), "Calendar.bundle");
    EXPECT_EQ(NSStr("/Plugins/Calendar.bundle/")->lastPathComponent()->string(), "Calendar.bundle");
    EXPECT_EQ(NSStr("/")->lastPathComponent()->string(), "/");
    EXPECT_EQ(NSStr("name")->lastPathComponent()->string(), "name");

    EXPECT_EQ(NSStr("Calendar.bundle")->stringByDeletingPathExtension()->string(), "Calendar");
    EXPECT_EQ(NSStr("/a/b.c/Weather.tar.gz")->stringByDeletingPathExtension()->string(), "/a/b.c/Weather.tar");
    EXPECT_EQ(NSStr("/a/b.c/Weather")->stringByDeletingPathExtension()->string(), "/a/b.c/Weather");
    EXPECT_EQ(NSStr(".bundle")->stringByDeletingPathExtension()->string(), ".bundle");
    EXPECT_EQ(NSStr("x.bundle/")->stringByDeletingPathExtension()->string(), "x");

    EXPECT_EQ(NSStr("Calendar.bundle")->pathExtension()->string(), "bundle");
    EXPECT_EQ(NSStr("/a.b/c")->pathExtension()->string(), "");
    EXPECT_EQ(NSStr(".hidden")->pathExtension()->string(), "");

    EXPECT_EQ(NSStr("/Library")->stringByAppendingPathComponent("Plugins")->string(), "/Library/Plugins");
    EXPECT_EQ(NSStr("/Library/")->stringByAppendingPathComponent("/Plugins/")->string(), "/Library/Plugins");
    EXPECT_EQ(NSStr("")->stringByAppendingPathComponent("a")->string(), "a");
    EXPECT_EQ(NSStr("/")->stringByAppendingPathComponent("a")->string(), "/a");
    EXPECT_EQ(NSStr("/a")->stringByAppendingPathComponent("")->string(), "/a");

    EXPECT_TRUE(NSStr("Calendar.bundle")->hasSuffix(".bundle"));
    EXPECT_FALSE(NSStr("Calendar.Bundle")->hasSuffix(".bundle"));
    EXPECT_FALSE(NSStr("x")->hasSuffix(std::shared_ptr<NSString>()));
}

TEST(DataStringText, RuntimeMessagesReachTheReadings)
{
    objc::id text = NSStr("6:30");
    EXPECT_EQ(objc::msgSend<int>(text, "intValue"_sel), 6);
    EXPECT_EQ(objc::msgSend<unsigned long>(text, "length"_sel), 4u);
    EXPECT_TRUE(objc::msgSend<bool>(text, "isEqualToString:"_sel, NSStr("6:30")));
    auto made = objc::msgSend<std::shared_ptr<NSString>>(NSString::class_(), "stringWithString:"_sel, NSStr("x.png"));
    EXPECT_EQ(objc::msgSend<std::shared_ptr<NSString>>(made, "pathExtension"_sel)->string(), "png");
}

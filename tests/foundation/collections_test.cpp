#include "foundation/ns_array.h"
#include "foundation/ns_data.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using objc::operator""_sel;

namespace {
std::vector<std::string> texts(const std::shared_ptr<NSArray>& array)
{
    std::vector<std::string> result;
    for (const objc::id& o : *array)
        result.push_back(o->description());
    return result;
}
} // namespace

TEST(DataNumbers, KindsConvertWithClampingAndPrintAsGiven)
{
    auto yes = NSNumber::numberWithBool(true);
    EXPECT_TRUE(yes->isBool());
    EXPECT_EQ(yes->intValue(), 1);
    EXPECT_EQ(yes->stringValue()->string(), "1");

    auto big = NSNumber::numberWithLong(1L << 40);
    EXPECT_TRUE(big->isInteger());
    EXPECT_EQ(big->longValue(), 1L << 40);
    EXPECT_EQ(big->intValue(), INT_MAX);
    EXPECT_EQ(NSNumber::numberWithLong(-(1L << 40))->intValue(), INT_MIN);
    EXPECT_EQ(big->description(), "1099511627776");

    auto third = NSNumber::numberWithFloat(0.3f);
    EXPECT_TRUE(third->isReal());
    EXPECT_EQ(third->kind(), NSNumber::Kind::Float);
    EXPECT_EQ(third->doubleValue(), 0.30000001192092896);
    EXPECT_EQ(third->description(), "0.3");
    EXPECT_EQ(NSNumber::numberWithDouble(0.1)->description(), "0.1");
    EXPECT_EQ(NSNumber::numberWithDouble(-2.75)->intValue(), -2);
    EXPECT_EQ(NSNumber::numberWithDouble(1e300)->longValue(), LONG_MAX);
    EXPECT_EQ(NSNumber::numberWithDouble(std::nan(""))->intValue(), 0);
    EXPECT_FALSE(NSNumber::numberWithDouble(0.0)->boolValue());
    EXPECT_TRUE(NSNumber::numberWithDouble(0.5)->boolValue());
}

TEST(DataNumbers, EqualityIsByNumericValueWithMatchingHashes)
{
    auto one = NSNumber::numberWithInt(1);
    auto oneReal = NSNumber::numberWithDouble(1.0);
    EXPECT_TRUE(one->isEqual(oneReal.get()));
    EXPECT_EQ(one->hash(), oneReal->hash());
    EXPECT_TRUE(one->isEqual(NSNumber::numberWithBool(true).get()));
    EXPECT_FALSE(one->isEqual(NSNumber::numberWithInt(2).get()));
    EXPECT_FALSE(one->isEqual(NSStr("1").get()));
    EXPECT_EQ(NSNumber::numberWithDouble(0.0)->hash(), NSNumber::numberWithDouble(-0.0)->hash());
    // Large integers compare exactly with each other, not through doubles.
    EXPECT_FALSE(NSNumber::numberWithLong((1L << 53) + 1)->isEqual(NSNumber::numberWithLong(1L << 53).get()));
}

TEST(DataArrays, LookupsNeverFailAndCompareByValue)
{
    auto array = NSArray::arrayWithObjects({NSStr("a"), NSNumber::numberWithInt(2), nullptr, NSStr("a")});
    EXPECT_EQ(array->count(), 3u); // nil left out
    EXPECT_EQ(array->objectAtIndex(5), nullptr);
    EXPECT_EQ(array->objectAtIndex(static_cast<unsigned long>(-1)), nullptr);
    EXPECT_TRUE(array->firstObject()->isEqual(NSStr("a").get()));
    EXPECT_EQ(array->indexOfObject(NSNumber::numberWithDouble(2.0)), 1u);
    EXPECT_EQ(array->indexOfObject(NSStr("z")), NSNotFound);
    EXPECT_EQ(array->indexOfObject(nullptr), NSNotFound);
    EXPECT_TRUE(array->containsObject(NSStr("a")));
    EXPECT_EQ(NSArray::array()->firstObject(), nullptr);
    EXPECT_EQ(NSArray::array()->lastObject(), nullptr);
    EXPECT_TRUE(array->isEqual(NSArray::arrayWithObjects({NSStr("a"), NSNumber::numberWithInt(2), NSStr("a")}).get()));
    EXPECT_FALSE(array->isEqual(NSArray::arrayWithObjects({NSStr("a"), NSNumber::numberWithInt(2)}).get()));
    EXPECT_EQ(array->description(), "(a, 2, a)");
}

TEST(DataArrays, MutableArrayIsSharedByReferenceAndEditsSafely)
{
    auto list = NSMutableArray::array();
    std::shared_ptr<NSArray> sameList = list;
    list->addObject(NSStr("b"));
    list->addObject(nullptr);
    list->insertObjectAtIndex(NSStr("a"), 0);
    list->insertObjectAtIndex(NSStr("z"), 99); // past the end: appended, not lost
    list->addObject(NSStr("b"));
    EXPECT_EQ(texts(sameList), (std::vector<std::string>{"a", "b", "z", "b"}));

    list->removeObject(NSStr("b")); // every equal element
    EXPECT_EQ(texts(sameList), (std::vector<std::string>{"a", "z"}));
    list->removeObject(list->objectAtIndex(0)); // the argument is an element itself
    list->removeObjectAtIndex(7);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"z"}));
    list->addObjectsFromArray(list);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"z", "z"}));
    list->removeObjectAtIndex(0);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"z"}));
    list->removeAllObjects();
    EXPECT_EQ(sameList->count(), 0u);

    // An array inside itself still describes and compares without running away.
    list->addObject(list);
    EXPECT_FALSE(list->description().empty());
    EXPECT_TRUE(list->isEqual(list.get()));
    list->removeAllObjects();
}

TEST(DataArrays, RuntimeMessagesReachTheList)
{
    auto list = NSMutableArray::array();
    objc::msgSend(list, "addObject:"_sel, NSStr("x"));
    objc::msgSend(list, "insertObject:atIndex:"_sel, NSStr("w"), 0UL);
    EXPECT_EQ(objc::msgSend<unsigned long>(list, "count"_sel), 2u);
    EXPECT_EQ(objc::msgSend<objc::id>(list, "objectAtIndex:"_sel, 1UL)->description(), "x");
    EXPECT_EQ(objc::msgSend<objc::id>(list, "objectAtIndex:"_sel, 9UL), nullptr);
    EXPECT_TRUE(list->isKindOfClass(NSArray::class_()));
    EXPECT_FALSE(NSArray::array()->isKindOfClass(NSMutableArray::class_()));
}

TEST(DataDictionaries, KeysKeepTheirFirstInsertionOrder)
{
    auto dictionary = NSMutableDictionary::dictionary();
    dictionary->setObjectForKey(NSStr("1"), "one");
    dictionary->setObjectForKey(NSStr("2"), "two");
    dictionary->setObjectForKey(NSStr("3"), "three");
    dictionary->setObjectForKey(NSStr("II"), "two"); // replaced in place
    EXPECT_EQ(texts(dictionary->allKeys()), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(texts(dictionary->allValues()), (std::vector<std::string>{"1", "II", "3"}));

    dictionary->removeObjectForKey("one");
    EXPECT_EQ(dictionary->objectForKey("one"), nullptr);
    EXPECT_EQ(dictionary->objectForKey("two")->description(), "II");
    EXPECT_EQ(dictionary->objectForKey("three")->description(), "3");
    dictionary->setObjectForKey(NSStr("1"), "one");
    EXPECT_EQ(texts(dictionary->allKeys()), (std::vector<std::string>{"two", "three", "one"}));

    dictionary->setObjectForKey(nullptr, "two"); // nil removes
    dictionary->setObjectForKey(NSStr("x"), std::shared_ptr<NSString>()); // nil key: nothing
    dictionary->removeObjectForKey("absent");
    EXPECT_EQ(texts(dictionary->allKeys()), (std::vector<std::string>{"three", "one"}));
    EXPECT_EQ(dictionary->objectForKey(std::shared_ptr<NSString>()), nullptr);
    EXPECT_EQ(dictionary->description(), "{three = 3; one = 1}");

    std::vector<std::string> walked;
    for (const auto& [key, value] : *dictionary)
        walked.push_back(key + "=" + value->description());
    EXPECT_EQ(walked, (std::vector<std::string>{"three=3", "one=1"}));
}

TEST(DataDictionaries, CopiesMergeAndEqualityIgnoresOrder)
{
    auto a = std::make_shared<NSDictionary>(std::vector<NSDictionary::Entry>{{"x", NSNumber::numberWithInt(1)}, {"y", NSStr("b")}});
    auto b = std::make_shared<NSDictionary>(std::vector<NSDictionary::Entry>{{"y", NSStr("b")}, {"x", NSNumber::numberWithDouble(1)}});
    EXPECT_TRUE(a->isEqual(b.get()));
    EXPECT_FALSE(a->isEqual(NSDictionary::dictionary().get()));

    auto merged = NSMutableDictionary::dictionaryWithDictionary(a);
    merged->setObjectForKey(NSStr("new"), "y");
    EXPECT_EQ(a->objectForKey("y")->description(), "b"); // the copy is separate
    merged->addEntriesFromDictionary(std::make_shared<NSDictionary>(std::vector<NSDictionary::Entry>{{"z", NSStr("c")}}));
    merged->addEntriesFromDictionary(merged);
    EXPECT_EQ(texts(merged->allKeys()), (std::vector<std::string>{"x", "y", "z"}));
    merged->removeAllObjects();
    EXPECT_EQ(merged->count(), 0u);

    EXPECT_EQ(objc::msgSend<objc::id>(a, "objectForKey:"_sel, NSStr("y"))->description(), "b");
    EXPECT_EQ(objc::msgSend<objc::id>(a, "objectForKey:"_sel, nullptr), nullptr);
    objc::msgSend(merged, "setObject:forKey:"_sel, NSStr("v"), NSStr("k"));
    EXPECT_EQ(merged->objectForKey("k")->description(), "v");
}

TEST(DataBytes, BytesCompareByContent)
{
    auto data = NSData::dataWithBytes(std::string_view("\x00\x01\xab\xff\x10", 5));
    EXPECT_EQ(data->length(), 5u);
    EXPECT_EQ(data->description(), "<0001abff 10>");
    EXPECT_TRUE(data->isEqual(NSData::dataWithBytes(std::string_view("\x00\x01\xab\xff\x10", 5)).get()));
    EXPECT_FALSE(data->isEqual(NSData::dataWithBytes("x").get()));
    EXPECT_EQ(NSData::dataWithBytes(nullptr, 3)->length(), 0u);
}

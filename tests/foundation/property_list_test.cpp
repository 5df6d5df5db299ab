#include "foundation/ns_array.h"
#include "foundation/ns_data.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_file_manager.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"
#include "foundation/property_list.h"
#include "support/device_root.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using objc::operator""_sel;

namespace {

constexpr const char* kFile = "/Library/Application Support/Vantorel/City.plist";
constexpr const char* kFolder = "/Library/Application Support/Vantorel";

std::string readHost(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

// Runs a shell command and returns its standard output.
std::string run(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

std::string xmlPlist(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

// A binary list of `depth` arrays, each holding the next, written object by object.
std::string deepBinaryList(std::size_t depth)
{
    std::string bytes = "bplist00";
    std::vector<std::uint32_t> offsets;
    auto be32 = [&](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>((v >> shift) & 0xFF);
    };
    for (std::size_t i = 0; i < depth; ++i) {
        offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
        bytes += '\xA1';
        be32(static_cast<std::uint32_t>(i + 1));
    }
    offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
    bytes += '\xA0';
    const auto table = static_cast<std::uint32_t>(bytes.size());
    for (std::uint32_t offset : offsets)
        be32(offset);
    bytes += std::string(6, '\0') + '\x04' + '\x04';
    auto be64 = [&](std::uint64_t v) {
        for (int shift = 56; shift >= 0; shift -= 8)
            bytes += static_cast<char>((v >> shift) & 0xFF);
    };
    be64(offsets.size());
    be64(0);
    be64(table);
    return bytes;
}

// A binary list of the given encoded objects (members refer to each other by one-byte
// indexes), the first object being the root.
std::string binaryList(const std::vector<std::string>& objects)
{
    std::string bytes = "bplist00";
    std::vector<std::uint32_t> offsets;
    for (const std::string& object : objects) {
        offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
        bytes += object;
    }
    const auto table = static_cast<std::uint64_t>(bytes.size());
    auto be = [&](std::uint64_t v, int width) {
        for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
            bytes += static_cast<char>((v >> shift) & 0xFF);
    };
    for (std::uint32_t offset : offsets)
        be(offset, 4);
    bytes += std::string(6, '\0') + '\x04' + '\x01';
    be(objects.size(), 8);
    be(0, 8);
    be(table, 8);
    return bytes;
}

std::string repeated(const std::string& part, std::size_t times)
{
    std::string text;
    text.reserve(part.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += part;
    return text;
}

std::shared_ptr<NSMutableDictionary> sampleCity()
{
    auto hours = NSMutableArray::array();
    for (int hour = 0; hour < 3; ++hour) {
        auto forecast = NSMutableDictionary::dictionary();
        forecast->setObjectForKey(NSStr("1" + std::to_string(hour) + ":00"), "time");
        forecast->setObjectForKey(NSStr(std::to_string(20 + hour) + "\xc2\xb0"), "detail");
        forecast->setObjectForKey(NSNumber::numberWithInt(hour + 30), "conditionCode");
        hours->addObject(forecast);
    }
    auto city = NSMutableDictionary::dictionary();
    city->setObjectForKey(NSStr("Stuttgart & <Umgebung> \"S\xc3\xbc" "d\""), "name");
    city->setObjectForKey(NSStr("48.500000,9.250000"), "locationID");
    city->setObjectForKey(NSNumber::numberWithInt(-7), "temperature");
    city->setObjectForKey(NSNumber::numberWithLong(9007199254740993L), "big");
    city->setObjectForKey(NSNumber::numberWithDouble(0.1), "ratio");
    city->setObjectForKey(NSNumber::numberWithFloat(0.3f), "alpha");
    city->setObjectForKey(NSNumber::numberWithBool(true), "enabled");
    city->setObjectForKey(NSNumber::numberWithBool(false), "blurEnabled");
    city->setObjectForKey(NSData::dataWithBytes(std::string_view("\x00\xff\x10", 3)), "blob");
    city->setObjectForKey(hours, "hourlyForecasts");
    city->setObjectForKey(NSArray::array(), "empty");
    city->setObjectForKey(NSDictionary::dictionary(), "nothing");
    city->setObjectForKey(NSStr(""), "blank");
    return city;
}

class DataPropertyLists : public testsupport::DeviceRootTest {
protected:
    void SetUp() override { device.makeFolder(kFolder); }
};

} // namespace

TEST_F(DataPropertyLists, XmlRoundTripKeepsEveryValueKindAndKeyOrder)
{
    auto city = sampleCity();
    ASSERT_TRUE(city->writeToFileAtomically(kFile, true));
    auto back = NSDictionary::dictionaryWithContentsOfFile(kFile);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->isEqual(city.get())) << back->description();
    EXPECT_TRUE(back->allKeys()->isEqual(city->allKeys().get()));
    EXPECT_EQ(readHost(device.host(kFile)).rfind("<?xml", 0), 0u);

    auto big = std::dynamic_pointer_cast<NSNumber>(back->objectForKey("big"));
    ASSERT_TRUE(big);
    EXPECT_TRUE(big->isInteger());
    EXPECT_EQ(big->longValue(), 9007199254740993L);
    auto alpha = std::dynamic_pointer_cast<NSNumber>(back->objectForKey("alpha"));
    EXPECT_EQ(alpha->doubleValue(), 0.30000001192092896);
    EXPECT_TRUE(std::dynamic_pointer_cast<NSNumber>(back->objectForKey("enabled"))->isBool());
    // Read as the immutable kinds unless mutable containers are asked for.
    EXPECT_FALSE(std::dynamic_pointer_cast<NSMutableArray>(back->objectForKey("hourlyForecasts")));
    EXPECT_FALSE(std::dynamic_pointer_cast<NSMutableDictionary>(back));

    auto editable = NSMutableDictionary::dictionaryWithContentsOfFile(kFile);
    ASSERT_TRUE(editable);
    auto hours = std::dynamic_pointer_cast<NSMutableArray>(editable->objectForKey("hourlyForecasts"));
    ASSERT_TRUE(hours);
    EXPECT_TRUE(std::dynamic_pointer_cast<NSMutableDictionary>(hours->firstObject()));
}

TEST_F(DataPropertyLists, BinaryListsReadLikeXmlOnes)
{
    auto city = sampleCity();
    const auto binary = foundation::encodePropertyList(city.get(), foundation::PropertyListFormat::Binary);
    ASSERT_TRUE(binary);
    EXPECT_EQ(binary->rfind("bplist00", 0), 0u);
    device.writeFile("/Library/ours.bplist", *binary);
    auto back = NSDictionary::dictionaryWithContentsOfFile("/Library/ours.bplist");
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->isEqual(city.get()));

    // One made by libplist's own tool from our XML.
    ASSERT_TRUE(city->writeToFileAtomically("/Library/ours.plist", false));
    run("plistutil -i " + quoted(device.host("/Library/ours.plist")) + " -f bin -o " +
        quoted(device.host("/Library/tool.bplist")));
    ASSERT_EQ(readHost(device.host("/Library/tool.bplist")).rfind("bplist00", 0), 0u);
    auto fromTool = NSDictionary::dictionaryWithContentsOfFile("/Library/tool.bplist");
    ASSERT_TRUE(fromTool);
    EXPECT_TRUE(fromTool->isEqual(city.get()));
}

TEST_F(DataPropertyLists, WrittenFilesAreReadableByPlistutil)
{
    ASSERT_TRUE(sampleCity()->writeToFileAtomically(kFile, true));
    const std::string xml = run("plistutil -i " + quoted(device.host(kFile)) + " -f xml -o -");
    EXPECT_NE(xml.find("<key>locationID</key>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<string>48.500000,9.250000</string>"), std::string::npos);
    EXPECT_NE(xml.find("<string>Stuttgart &amp; &lt;Umgebung&gt; \"S\xc3\xbc" "d\"</string>"), std::string::npos);
    EXPECT_NE(xml.find("<integer>-7</integer>"), std::string::npos);
    EXPECT_NE(xml.find("<key>enabled</key>\n\t<true/>"), std::string::npos);
}

TEST_F(DataPropertyLists, DatesReadAsSecondsSince1970AndOtherEntriesStay)
{
    device.writeFile("/Library/dates.plist",
                     xmlPlist("<dict><key>when</key><date>2001-01-01T00:01:40Z</date>"
                              "<key>n</key><integer>5</integer></dict>"));
    auto dictionary = NSDictionary::dictionaryWithContentsOfFile("/Library/dates.plist");
    ASSERT_TRUE(dictionary);
    auto when = std::dynamic_pointer_cast<NSNumber>(dictionary->objectForKey("when"));
    ASSERT_TRUE(when);
    EXPECT_DOUBLE_EQ(when->doubleValue(), 978307200.0 + 100);
    EXPECT_EQ(std::dynamic_pointer_cast<NSNumber>(dictionary->objectForKey("n"))->intValue(), 5);
}

TEST_F(DataPropertyLists, MissingBrokenOrWrongRootFilesReadAsNil)
{
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/Library/none.plist"));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(""));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(std::shared_ptr<NSString>()));

    device.writeFile("/Library/empty.plist", "");
    device.writeFile("/Library/garbage.plist", "\x01\x02 this is not a plist {]");
    device.writeFile("/Library/fakebinary.plist", std::string("bplist00") + std::string(40, '\xFF'));
    device.writeFile("/Library/array.plist", xmlPlist("<array><string>a</string><integer>2</integer></array>"));
    device.makeFolder("/Library/folder.plist");
    for (const char* path : {"/Library/empty.plist", "/Library/garbage.plist", "/Library/fakebinary.plist",
                             "/Library/array.plist", "/Library/folder.plist"})
        EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(path)) << path;

    auto array = NSArray::arrayWithContentsOfFile("/Library/array.plist");
    ASSERT_TRUE(array);
    EXPECT_EQ(array->count(), 2u);
    EXPECT_FALSE(NSArray::arrayWithContentsOfFile(kFile));
    EXPECT_TRUE(NSMutableArray::arrayWithContentsOfFile("/Library/array.plist"));
}

TEST_F(DataPropertyLists, TruncatedFilesReadAsNilAtEveryCut)
{
    auto city = sampleCity();
    const std::string xml = *foundation::encodePropertyList(city.get(), foundation::PropertyListFormat::Xml);
    const std::string binary = *foundation::encodePropertyList(city.get(), foundation::PropertyListFormat::Binary);
    const std::size_t xmlEnd = xml.rfind("</dict>");
    for (std::size_t cut = 0; cut < xml.size(); ++cut) {
        objc::id read = foundation::propertyListFromBytes(std::string_view(xml).substr(0, cut),
                                                          foundation::PropertyListContainers::Immutable);
        if (cut <= xmlEnd) {
            EXPECT_FALSE(read) << cut;
        }
    }
    for (std::size_t cut = 0; cut < binary.size(); ++cut)
        EXPECT_FALSE(foundation::propertyListFromBytes(std::string_view(binary).substr(0, cut),
                                                       foundation::PropertyListContainers::Immutable))
            << cut;
    device.writeFile(kFile, xml.substr(0, xml.size() / 2));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(kFile));
}

TEST_F(DataPropertyLists, HugeValuesReadAndDeepNestingIsRefused)
{
    const std::string large(10u << 20, 'w');
    device.writeFile("/Library/large.plist", xmlPlist("<dict><key>text</key><string>" + large + "</string></dict>"));
    auto dictionary = NSDictionary::dictionaryWithContentsOfFile("/Library/large.plist");
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(std::dynamic_pointer_cast<NSString>(dictionary->objectForKey("text"))->length(), large.size());

    auto nested = [](int depth) {
        std::string body;
        for (int i = 0; i < depth; ++i)
            body += "<array>";
        for (int i = 0; i < depth; ++i)
            body += "</array>";
        return xmlPlist(body);
    };
    using foundation::kPropertyListMaxDepth;
    const auto immutable = foundation::PropertyListContainers::Immutable;
    EXPECT_TRUE(foundation::propertyListFromBytes(nested(kPropertyListMaxDepth), immutable));
    EXPECT_FALSE(foundation::propertyListFromBytes(nested(kPropertyListMaxDepth + 1), immutable));
    device.writeFile("/Library/deep.plist", nested(1000000));
    EXPECT_FALSE(NSArray::arrayWithContentsOfFile("/Library/deep.plist"));

    EXPECT_TRUE(foundation::propertyListFromBytes(deepBinaryList(kPropertyListMaxDepth - 1), immutable));
    EXPECT_FALSE(foundation::propertyListFromBytes(deepBinaryList(kPropertyListMaxDepth), immutable));
    device.writeFile("/Library/deep.bplist", deepBinaryList(500000));
    EXPECT_FALSE(NSArray::arrayWithContentsOfFile("/Library/deep.bplist"));

    // An array that refers to itself.
    std::string loop = deepBinaryList(1);
    loop[9 + 3] = 0; // the first array's member is object 0, itself
    EXPECT_FALSE(foundation::propertyListFromBytes(loop, immutable));
}

TEST_F(DataPropertyLists, AtomicWriteReplacesTheFileWholeAndKeepsItsMode)
{
    device.writeFile(kFile, "old contents");
    ::chmod(device.host(kFile).c_str(), 0604);
    auto city = sampleCity();
    ASSERT_TRUE(city->writeToFileAtomically(kFile, true));
    EXPECT_TRUE(NSDictionary::dictionaryWithContentsOfFile(kFile)->isEqual(city.get()));
    struct stat info {};
    ASSERT_EQ(::stat(device.host(kFile).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u);
    // No temporary is left behind.
    EXPECT_TRUE(NSFileManager::defaultManager()->contentsOfDirectoryAtPath(kFolder)->isEqual(
        NSArray::arrayWithObjects({NSStr("City.plist")}).get()));

    auto list = NSArray::arrayWithObjects({NSStr("a"), NSNumber::numberWithInt(1)});
    EXPECT_TRUE(list->writeToFileAtomically("/Library/list.plist", true));
    EXPECT_TRUE(NSArray::arrayWithContentsOfFile("/Library/list.plist")->isEqual(list.get()));
    // Through the runtime, as the system sends it.
    EXPECT_TRUE(objc::msgSend<bool>(city, "writeToFile:atomically:"_sel, NSStr("/Library/sent.plist"), true));
    EXPECT_TRUE(NSDictionary::dictionaryWithContentsOfFile("/Library/sent.plist"));
}

TEST_F(DataPropertyLists, FailedWritesReportFalseAndLeaveTheOldFile)
{
    auto city = sampleCity();
    // The parent "folder" is a file, or missing: no write can succeed (also as root).
    device.writeFile("/Library/plain", "x");
    EXPECT_FALSE(city->writeToFileAtomically("/Library/plain/City.plist", true));
    EXPECT_FALSE(city->writeToFileAtomically("/Library/plain/City.plist", false));
    EXPECT_FALSE(city->writeToFileAtomically("/Missing/Folder/City.plist", true));
    EXPECT_FALSE(city->writeToFileAtomically("", true));

    // A folder in the target's place: the rename fails and the temporary goes away.
    device.makeFolder("/Library/Box/City.plist");
    EXPECT_FALSE(city->writeToFileAtomically("/Library/Box/City.plist", true));
    EXPECT_EQ(NSFileManager::defaultManager()->contentsOfDirectoryAtPath("/Library/Box")->count(), 1u);

    // Values that a property list cannot hold leave the previous file untouched.
    ASSERT_TRUE(city->writeToFileAtomically(kFile, true));
    const std::string before = readHost(device.host(kFile));
    auto withObject = NSMutableDictionary::dictionaryWithDictionary(city);
    withObject->setObjectForKey(std::make_shared<objc::Object>(), "view");
    auto withControl = NSMutableDictionary::dictionaryWithDictionary(city);
    withControl->setObjectForKey(NSStr("bell\x07"), "text");
    auto withBadText = NSMutableDictionary::dictionaryWithDictionary(city);
    withBadText->setObjectForKey(NSStr("\xff\xfe"), "text");
    auto withBadKey = NSMutableDictionary::dictionaryWithDictionary(city);
    withBadKey->setObjectForKey(NSStr("v"), std::string("k\0ey", 4));
    auto loop = NSMutableArray::array();
    loop->addObject(loop);
    auto withLoop = NSMutableDictionary::dictionaryWithDictionary(city);
    withLoop->setObjectForKey(loop, "loop");
    for (const auto& bad : {withObject, withControl, withBadText, withBadKey, withLoop}) {
        EXPECT_FALSE(bad->writeToFileAtomically(kFile, true));
        EXPECT_FALSE(bad->writeToFileAtomically(kFile, false));
        EXPECT_EQ(readHost(device.host(kFile)), before);
    }
    loop->removeAllObjects();
    EXPECT_FALSE(foundation::encodePropertyList(nullptr, foundation::PropertyListFormat::Xml));
    // The same object twice is no loop.
    auto shared = NSArray::arrayWithObjects({NSStr("s")});
    EXPECT_TRUE(NSArray::arrayWithObjects({shared, shared})->writeToFileAtomically("/Library/twice.plist", true));
}

TEST_F(DataPropertyLists, CraftedListsAreRefusedWithoutHarm)
{
    using namespace std::string_literals;
    const std::string deep = repeated("<array>", 500000);
    const std::string shallowEnd = repeated("</array>", 500000);
    // Sixty arrays, each holding the one before twice: 2^60 members when expanded.
    std::vector<std::string> doubling{"\xA2\x01\x01"s};
    for (int i = 1; i < 60; ++i)
        doubling.push_back("\xA2"s + static_cast<char>(i + 1) + static_cast<char>(i + 1));
    doubling.push_back("\xA0"s);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"'>' inside attributes", xmlPlist(repeated("<array a=\"/>\">", 500000) + shallowEnd)},
        {"comment opened in the DOCTYPE subset", "<!DOCTYPE plist [ <!-- ]>" + deep + "<string>--></string>" + shallowEnd},
        {"undeclared entity", "<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY a \"aaaa\">]><string>&a;&a;</string>"},
        {"NUL by reference", xmlPlist("<dict><key>k</key><string>a&#0;b</string></dict>")},
        {"key not UTF-8", xmlPlist("<dict><key>\xC3</key><string>v</string></dict>")},
        {"control character", xmlPlist("<string>bell\x07</string>")},
        {"element inside a string", xmlPlist("<string>a<string>b</string></string>")},
        {"key without value", xmlPlist("<dict><key>k</key></dict>")},
        {"binary key with NUL (ASCII)", binaryList({"\xD1\x01\x02"s, "\x52k\0"s, "\x10\x05"s})},
        {"binary key with U+0000 (UTF-16)", binaryList({"\xD1\x01\x02"s, "\x62\0k\0\0"s, "\x10\x05"s})},
        {"binary string with a lone surrogate", binaryList({"\xA1\x01"s, "\x61\xD8\x00"s})},
        {"binary string not UTF-8", binaryList({"\xA1\x01"s, "\x52\xC3\x28"s})},
        {"binary key that is a number", binaryList({"\xD1\x01\x01"s, "\x10\x05"s})},
        {"binary member past the objects", binaryList({"\xA1\x07"s})},
        {"binary shared members expanding beyond the file", binaryList(doubling)},
    };
    for (const auto& crafted : cases) {
        for (auto containers : {foundation::PropertyListContainers::Immutable, foundation::PropertyListContainers::Mutable})
            EXPECT_FALSE(foundation::propertyListFromBytes(crafted.bytes, containers)) << crafted.what;
    }
    // The same shapes, well made, read.
    EXPECT_TRUE(foundation::propertyListFromBytes(binaryList({"\xD1\x01\x02"s, "\x51k"s, "\x10\x05"s}),
                                                  foundation::PropertyListContainers::Immutable));
    EXPECT_TRUE(foundation::propertyListFromBytes(binaryList({"\xA2\x01\x01"s, "\xA1\x02"s, "\xA0"s}),
                                                  foundation::PropertyListContainers::Mutable));
    // Writers may share equal members: a sound list can be far smaller than its tree (here 2^15
    // empty arrays from 60 bytes), and reads as long as the tree stays within bounds.
    std::vector<std::string> sharing(doubling.end() - 16, doubling.end());
    sharing[0] = "\xA2\x01\x01"s;
    for (int i = 1; i < 15; ++i)
        sharing[i] = "\xA2"s + static_cast<char>(i + 1) + static_cast<char>(i + 1);
    auto read = std::dynamic_pointer_cast<NSArray>(
        foundation::propertyListFromBytes(binaryList(sharing), foundation::PropertyListContainers::Mutable));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->count(), 2u);
}

TEST_F(DataPropertyLists, XmlOfOtherWritersReads)
{
    using namespace std::string_literals;
    const struct {
        std::string xml;
        objc::id expected;
    } cases[] = {
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!DOCTYPE plist [ <!ENTITY x \"]>\"> <!-- ]> --> ]>\n"
         "<plist version=\"1.0\" note='a>b'><string>x</string></plist>",
         NSStr("x")},
        {"<string>&lt;&#65;&#x42;&amp;<![CDATA[<&]]><!-- c -->\xC3\xA9</string>", NSStr("<AB&<&\xC3\xA9")},
        {xmlPlist("<array><integer> 0x1F </integer><integer>-9223372036854775808</integer><integer>+7</integer></array>"),
         NSArray::arrayWithObjects({NSNumber::numberWithLong(31), NSNumber::numberWithLong(std::numeric_limits<long>::min()),
                                    NSNumber::numberWithLong(7)})},
        {xmlPlist("<array><real>-infinity</real><real>1e999</real><real>.5</real><date>2024-02-29T12:00:00.5Z</date></array>"),
         NSArray::arrayWithObjects({NSNumber::numberWithDouble(-HUGE_VAL), NSNumber::numberWithDouble(HUGE_VAL),
                                    NSNumber::numberWithDouble(0.5), NSNumber::numberWithDouble(1709208000.5)})},
        {xmlPlist("<dict><key>d</key><data>AP8Q\n\tAA</data><key>e</key><data/><key>s</key><string/><key>a</key><array/></dict>"),
         std::make_shared<NSDictionary>(std::vector<NSDictionary::Entry>{
             {"d", NSData::dataWithBytes("\x00\xff\x10\x00"s)}, {"e", NSData::dataWithBytes(""s)},
             {"s", NSStr("")}, {"a", NSArray::array()}})},
    };
    for (const auto& row : cases) {
        objc::id read = foundation::propertyListFromBytes(row.xml, foundation::PropertyListContainers::Immutable);
        ASSERT_TRUE(read) << row.xml;
        EXPECT_TRUE(read->isEqual(row.expected.get())) << row.xml << " read as " << read->description();
    }
    for (const char* malformed : {"<integer>12a</integer>", "<integer>18446744073709551616</integer>",
                                  "<date>2023-02-29T00:00:00Z</date>", "<data>A</data>", "<true>yes</true>",
                                  "<plist><string/><string/></plist>", "<string>x</string><string>y</string>",
                                  "<uid>1</uid>", "text<string/>"})
        EXPECT_FALSE(foundation::propertyListFromBytes(malformed, foundation::PropertyListContainers::Immutable))
            << malformed;
}

TEST_F(DataPropertyLists, AnAtomicWriteClearsTemporariesThatAnInterruptedOneLeft)
{
    const struct {
        const char* name;
        bool held; // a writer still has it open and locked
        bool removed;
    } files[] = {
        {".City.plist.k3x9a0b2", false, true},  {".City.plist.00000000", false, true},
        {".City.plist.live0001", true, false},  {".City.plist.K3X9A0B2", false, false},
        {".City.plist.k3x9a0b", false, false},  {".Other.plist.k3x9a0b2", false, false},
        {"City.plist.k3x9a0b2", false, false},  {".City.plist.k3x9a0b2.old", false, false},
    };
    std::vector<int> held;
    for (const auto& file : files) {
        device.writeFile(std::string(kFolder) + "/" + file.name, "partial");
        if (file.held) {
            held.push_back(::open(device.host(std::string(kFolder) + "/" + file.name).c_str(), O_RDONLY | O_CLOEXEC));
            ASSERT_EQ(::flock(held.back(), LOCK_EX), 0);
        }
    }
    device.makeFolder(std::string(kFolder) + "/.City.plist.abcdefgh"); // not a file: left alone
    ASSERT_TRUE(sampleCity()->writeToFileAtomically(kFile, true));
    for (const auto& file : files)
        EXPECT_EQ(std::filesystem::exists(device.host(std::string(kFolder) + "/" + file.name)), !file.removed) << file.name;
    EXPECT_TRUE(std::filesystem::exists(device.host(std::string(kFolder) + "/.City.plist.abcdefgh")));
    EXPECT_TRUE(NSDictionary::dictionaryWithContentsOfFile(kFile));
    for (int fd : held)
        ::close(fd);
}

// The apps hub of the built library inside the host: fed by the host's own additions and
// removals through the library's dashboard, tapped through the touch simulator, drawn by the
// renderer.
#include "dashboard_fixture.h"

#include "../uikit/pixels.h"
#include "common/support_paths.h"
#include "foundation/ns_dictionary.h"
#include "springboard/application_controller.h"
#include "springboard/application_icon.h"
#include "uikit/scroll_view.h"
#include "uikit/snapshot.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <map>

using namespace objc;
using graphicstest::Pixel;

namespace {

id returnsNil(Object*, SEL) { return nullptr; }

// A class made at run time, as another host version might have it: a list item the hub does
// not know, or a system alert whose host object lacks its title or its picture.
id runtimeItem(const char* name, const char* superclass, const char* nilGetter)
{
    Class cls = objc_getClass(name);
    if (!cls) {
        cls = objc_allocateClassPair(objc_getClass(superclass), name);
        if (nilGetter)
            class_addMethod(cls, sel_registerName(nilGetter), reinterpret_cast<IMP>(&returnsNil), "@@:");
        objc_registerClassPair(cls);
    }
    return cls->createInstance();
}

// "b:<section>" a bulletin, "c:<identifier>" a card, "a:<title>" a system alert; "other", "untitled"
// and "pictureless" the run-time items above.
id makeItem(const std::string& spec)
{
    const std::string name = spec.size() > 2 ? spec.substr(2) : "";
    if (spec == "other")
        return runtimeItem("HubTestOtherItem", "SBAwayListItem", nullptr);
    if (spec == "untitled")
        return runtimeItem("HubTestUntitledAlert", "SBAwaySystemAlertItem", "title");
    if (spec == "pictureless")
        return runtimeItem("HubTestPicturelessAlert", "SBAwaySystemAlertItem", "iconImage");
    if (spec[0] == 'c')
        return SBAwayCardListItem::itemWithCardItem(SBCardItem::cardItem(name, "Boarding pass"));
    if (spec[0] == 'a')
        return SBAwaySystemAlertItem::itemWithTitle(name);
    return SBAwayBulletinListItem::itemWithBulletin(BBBulletin::bulletin(name, "Ann", "Lunch?"));
}

std::shared_ptr<UIImage> lookedUpIcon(const char* identifier)
{
    return std::dynamic_pointer_cast<UIImage>(msgSend<id>(UIImage::class_(),
        "_applicationIconImageForBundleIdentifier:format:scale:"_sel, id(identifier ? NSStr(identifier) : nullptr), 0L, 2.0));
}

constexpr const char* kSMS = "com.apple.MobileSMS";
constexpr const char* kMail = "com.apple.mobilemail";

// The library's stamping of badge counts (the text colour read from the settings file).
std::shared_ptr<UIImage> drawTextInImage2(const std::string& text, const std::shared_ptr<UIImage>& image, CGPoint point)
{
    using Stamp = std::shared_ptr<UIImage> (*)(const std::string&, const std::shared_ptr<UIImage>&, CGPoint);
    static const auto stamp = reinterpret_cast<Stamp>(dlsym(
        RTLD_DEFAULT, "_Z16drawTextInImage2RKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEERKSt10shared_ptrI7UIImageE7CGPoint"));
    return stamp ? stamp(text, image, point) : nullptr;
}

class AppsHubTest : public dashboardtest::DashboardTest {
protected:
    ~AppsHubTest() override { SBApplicationController::useDeviceSetting(); }

    // A new lock screen in the normal or the minimal arrangement, with its dashboard's hub.
    void open(bool minimal, const std::string& settingsEntries = "")
    {
        host.reset();
        start(std::string(minimal ? "<key>removeNW</key><true/>" : "") + settingsEntries);
        ASSERT_TRUE(host);
        hub = std::dynamic_pointer_cast<UIScrollView>(api->appsHub());
        ASSERT_TRUE(hub && hub->isDescendantOfView(host->listView().get()));
    }

    id add(const std::string& spec, int times = 1)
    {
        id item;
        for (int i = 0; i < times; ++i)
            host->addItem(item = makeItem(spec));
        return item;
    }
    bool tableHidden() const { return host->listView()->tableView()->isHidden(); }
    std::shared_ptr<NSMutableDictionary> icons() const
    {
        return msgSend<std::shared_ptr<NSMutableDictionary>>(hub, "iconImgViews"_sel);
    }
    std::shared_ptr<UIImageView> icon(const std::string& group) const
    {
        return std::dynamic_pointer_cast<UIImageView>(icons()->objectForKey(group));
    }
    std::string selected() const
    {
        auto id = msgSend<std::shared_ptr<NSString>>(hub, "selectedID"_sel);
        return id ? id->string() : "(nil)";
    }

    // The group's badge: 25 points centred on the icon's top-right corner, with exactly the
    // count drawn into the badge picture at (12.5, 7.5), or at (7.5, 7.5) from ten on.
    ::testing::AssertionResult badgeShows(const std::string& group, long count) const
    {
        auto view = icon(group);
        auto badge = view && view->subviews().size() == 1 ? std::dynamic_pointer_cast<UIImageView>(view->subviews()[0])
                                                          : nullptr;
        if (!badge || badge->frame() != CGRectMake(37.5, -12.5, 25, 25) || !badge->image())
            return ::testing::AssertionFailure() << group << " has no badge on its icon's corner";
        const CGPoint point = count < 10 ? CGPointMake(12.5, 7.5) : CGPointMake(7.5, 7.5);
        auto expected = drawTextInImage2(std::to_string(count),
                                         UIImage::imageWithContentsOfFile(std::string(vantorel::BadgePicture)), point);
        if (!expected || !graphicstest::samePixels(*badge->image(), *expected))
            return ::testing::AssertionFailure() << group << "'s badge does not show " << count << " at its place";
        return ::testing::AssertionSuccess();
    }

    std::shared_ptr<UIScrollView> hub;
};

} // namespace

TEST_F(AppsHubTest, ItemsGroupByApplicationOrSourceWithTheirCounts)
{
    const struct {
        std::vector<std::string> items;
        std::map<std::string, long> badges;
    } cases[] = {
        {{"b:com.apple.MobileSMS", "b:com.apple.mobilemail", "b:com.apple.MobileSMS", "b:com.apple.MobileSMS"},
         {{kSMS, 3}, {kMail, 1}}},
        {{"other", "b:noIdentifier", "other"}, {{"noIdentifier", 3}}},
        {{"c:pass.boarding", "a:Low Battery", "c:pass.boarding"}, {{"pass.boarding", 2}, {"Low Battery", 1}}},
        // A host object without a title makes no group, and its removal changes nothing.
        {{"a:Low Battery", "untitled"}, {{"Low Battery", 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.items.back());
        open(false);
        id last;
        for (const std::string& spec : c.items)
            last = add(spec);
        EXPECT_EQ(icons()->count(), c.badges.size());
        for (const auto& [group, count] : c.badges)
            EXPECT_TRUE(badgeShows(group, count));
        if (c.items.back() == "untitled") {
            const auto before = icons()->allValues();
            host->removeItem(last);
            EXPECT_TRUE(icons()->allValues()->isEqual(before.get()));
        }
    }

    // The tenth item moves the count 5 points left; a removal that leaves ten keeps it there.
    open(false);
    const id ninth = add("b:com.apple.MobileSMS", 9);
    EXPECT_TRUE(badgeShows(kSMS, 9));
    const id tenth = add("b:com.apple.MobileSMS", 1);
    EXPECT_TRUE(badgeShows(kSMS, 10));
    add("b:com.apple.MobileSMS", 2);
    host->removeItem(tenth);
    host->removeItem(ninth);
    EXPECT_TRUE(badgeShows(kSMS, 10));

    // Counts stay right while many items come and go.
    open(false);
    std::vector<id> many;
    for (int i = 0; i < 40; ++i)
        many.push_back(add("b:com.apple.MobileSMS"));
    for (int i = 0; i < 39; ++i)
        host->removeItem(many[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(badgeShows(kSMS, 1));
    add("b:com.apple.mobilemail", 2);
    add("b:com.apple.MobileSMS", 1);
    EXPECT_TRUE(badgeShows(kMail, 2));
    EXPECT_TRUE(badgeShows(kSMS, 2));
}

TEST_F(AppsHubTest, IconsComeFromTheirSourceAndAnythingWithoutOneGetsTheGenericIcon)
{
    open(false);
    const auto generic = lookedUpIcon(nullptr);
    const auto sms = springboard::applicationIconImage(kSMS, 2, 0);
    const struct {
        std::string item;
        bool olderHost;
        std::string group;
        std::function<std::shared_ptr<UIImage>(const id&)> expected;
    } cases[] = {
        {"b:com.apple.mobilecal", false, "com.apple.mobilecal", [](const id&) { return lookedUpIcon("com.apple.mobilecal"); }},
        {"b:com.apple.MobileSMS", false, kSMS, [&](const id&) { return sms; }},
        {"b:com.apple.MobileSMS", true, kSMS, [&](const id&) { return sms; }},
        {"b:com.example.gone", false, "com.example.gone", [](const id&) { return springboard::applicationIconImage("", 2, 0); }},
        {"b:noIdentifier", false, "noIdentifier",
         [](const id& item) { return std::static_pointer_cast<SBAwayBulletinListItem>(item)->iconImage(); }},
        {"c:pass.boarding", false, "pass.boarding",
         [](const id& item) { return std::static_pointer_cast<SBAwayCardListItem>(item)->cardThumbnail(); }},
        {"a:Low Battery", false, "Low Battery",
         [](const id& item) { return std::static_pointer_cast<SBAwaySystemAlertItem>(item)->iconImage(); }},
        {"other", false, "noIdentifier", [&](const id&) { return generic; }},
        {"pictureless", false, "", [&](const id&) { return generic; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item + (c.olderHost ? " (older host)" : ""));
        SBApplicationController::setLegacyHost(c.olderHost);
        const id item = add(c.item);
        ASSERT_TRUE(icon(c.group) && icon(c.group)->image());
        EXPECT_TRUE(graphicstest::samePixels(*icon(c.group)->image(), *c.expected(item)));
        host->removeItem(item);
        EXPECT_FALSE(icon(c.group));
    }

    // Without a readable badge picture the icon shows alone.
    const std::string badge = device.host(std::string(vantorel::BadgePicture));
    std::filesystem::remove(badge.substr(0, badge.size() - 4) + "@2x.png");
    for (const char* contents : {"(missing)", "", "not a picture"}) {
        SCOPED_TRACE(contents);
        std::filesystem::remove(badge);
        if (std::string(contents) != "(missing)")
            device.writeFile(std::string(vantorel::BadgePicture), contents);
        const id item = add("b:com.apple.MobileSMS");
        ASSERT_TRUE(icon(kSMS) && icon(kSMS)->image());
        EXPECT_EQ(icon(kSMS)->superview(), hub.get());
        EXPECT_TRUE(icon(kSMS)->subviews().empty());
        host->removeItem(item);
    }
}

TEST_F(AppsHubTest, ShortRowsAreCentredAndLongRowsStartAtTheEdgeAndScroll)
{
    const char* apps[] = {kSMS, kMail, "com.apple.mobilephone", "com.apple.reminders", "com.apple.mobilesafari",
                          "com.apple.weather"};
    // The hub is 168 points wide in the normal arrangement, 320 in the minimal one.
    const struct {
        bool minimal;
        int icons;
        CGFloat firstX;
    } cases[] = {{false, 1, 54}, {false, 2, 24}, {false, 3, 0}, {true, 5, 10}, {true, 6, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.icons << (c.minimal ? " icons, minimal" : " icons"));
        open(c.minimal);
        for (int i = 0; i < c.icons; ++i)
            add(std::string("b:") + apps[i]);
        // A new item of the first group keeps the order of the row.
        add(std::string("b:") + apps[0]);
        EXPECT_EQ(hub->contentSize(), CGSizeMake(c.icons * 60, 100));
        for (int i = 0; i < c.icons; ++i)
            EXPECT_EQ(icon(apps[i])->frame(), CGRectMake(c.firstX + i * 60, 22, 50, 50)) << apps[i];
        EXPECT_EQ(hub->subviews().size(), static_cast<std::size_t>(c.icons));
    }
}

TEST_F(AppsHubTest, TheMinimalHubSelectsByTapUntilTheGroupsLastItemLeaves)
{
    // The normal arrangement's icons take no taps.
    open(false);
    add("b:com.apple.MobileSMS");
    add("b:com.apple.mobilemail");
    tapHubIcon(kMail);
    EXPECT_EQ(selected(), "(nil)");
    EXPECT_EQ(icon(kSMS)->alpha(), 1.0);

    open(true);
    add("b:com.apple.MobileSMS");
    const id firstMail = add("b:com.apple.mobilemail");
    const id lastMail = add("b:com.apple.mobilemail");
    EXPECT_TRUE(tableHidden());
    const CGPoint mailCentre = icon(kMail)->center();
    tapHubIcon(kMail);
    EXPECT_EQ(selected(), kMail);
    EXPECT_EQ(icon(kSMS)->alpha(), 0.4);
    EXPECT_EQ(icon(kMail)->alpha(), 1.0);
    EXPECT_EQ(hub->contentOffset(), CGPointMake(mailCentre.x - hub->center().x, 0));
    EXPECT_FALSE(tableHidden());

    // The group keeps an item: the selection stays; rebuilt icons, of the selected group or
    // another, show at full opacity.
    host->removeItem(firstMail);
    add("b:com.apple.MobileSMS");
    EXPECT_EQ(selected(), kMail);
    EXPECT_EQ(icon(kMail)->alpha(), 1.0);
    EXPECT_EQ(icon(kSMS)->alpha(), 1.0);
    EXPECT_TRUE(badgeShows(kMail, 1));
    EXPECT_TRUE(badgeShows(kSMS, 2));
    EXPECT_FALSE(tableHidden());

    // Its last item leaves: no selection, every icon at full opacity, the table hidden again.
    tapHubIcon(kMail);
    host->removeItem(lastMail);
    EXPECT_EQ(selected(), "(nil)");
    EXPECT_FALSE(icon(kMail));
    EXPECT_EQ(icon(kSMS)->alpha(), 1.0);
    EXPECT_TRUE(tableHidden());

    // Emptying the row keeps the host's list and the selection.
    tapHubIcon(kSMS);
    msgSend(hub, "clearAll"_sel);
    EXPECT_EQ(icons()->count(), 0u);
    EXPECT_EQ(hub->contentSize().width, 0);
    EXPECT_EQ(selected(), kSMS);
    EXPECT_EQ(msgSend<id>(hub, "items"_sel), host->controller()->listItems());
}

TEST_F(AppsHubTest, BadgeDigitsTakeTheTextColourOfTheSettingsFileAtThatMoment)
{
    using Test = bool (*)(const Pixel&);
    const Test yellow = [](const Pixel& p) { return p.alpha > 128 && p.red > 200 && p.green > 200 && p.blue < 80; };
    const Test cyan = [](const Pixel& p) { return p.alpha > 128 && p.red < 80 && p.green > 200 && p.blue > 200; };
    open(false, "<key>textColor</key><string>ffff00</string>");
    add("b:com.apple.MobileSMS", 12);
    // Changed on disk without a reload of the settings: the next badge drawn reads it.
    writeSettings("<key>textColor</key><string>00ffff</string>");
    add("b:com.apple.mobilemail", 3);

    const auto picture = snapshotImage(hub.get());
    ASSERT_TRUE(picture);
    const std::string png = ::testing::TempDir() + "apps_hub_badges.png";
    picture->writePNG(png);
    for (const auto& [group, digits, other] : {std::tuple{kSMS, yellow, cyan}, std::tuple{kMail, cyan, yellow}}) {
        SCOPED_TRACE(group);
        // The red inside of the badge, in the hub: its centre is the icon's top-right corner.
        const CGRect frame = icon(group)->frame();
        int inked = 0, wrong = 0;
        for (CGFloat y = frame.origin.y - 7; y < frame.origin.y + 7; y += 0.5)
            for (CGFloat x = CGRectGetMaxX(frame) - 7; x < CGRectGetMaxX(frame) + 7; x += 0.5) {
                inked += digits(graphicstest::pixelAtPoint(*picture, x, y));
                wrong += other(graphicstest::pixelAtPoint(*picture, x, y));
            }
        EXPECT_GT(inked, 20) << png;
        EXPECT_EQ(wrong, 0) << png;
    }
}

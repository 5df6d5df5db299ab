// The dashboard of the built library inside the host: built when the host makes its lock
// screen, driven through the host's own entry points (items added and removed through the list
// controller, buttons, screen, taps through the touch simulator, drags on the table).
#include "dashboard_fixture.h"

#include "common/support_paths.h"
#include "foundation/ns_dictionary.h"
#include "springboard/sb_notification.h"
#include "tweak/core/settings.h"
#include "uikit/backdrop_view.h"
#include "uikit/bezier_path.h"
#include "uikit/collection_view.h"
#include "uikit/collection_view_cell.h"
#include "uikit/index_path.h"

#include <filesystem>
#include <functional>

using namespace objc;
using dashboardtest::asView;
using dashboardtest::DashboardTest;
using dashboardtest::samePixels;

namespace {

constexpr CGRect kWidgetTab{{12, 77}, {52, 150}};
constexpr CGRect kNotificationsTab{{256, 77}, {52, 150}};

// A closed blurred panel as the dashboard builds them: hidden, the standard backdrop at the
// back, a tint view inside it of the size the panel had when it was made.
void expectClosedPanel(const UIView* panel, CGSize tintSize, const char* name)
{
    SCOPED_TRACE(name);
    ASSERT_TRUE(panel && !panel->subviews().empty());
    EXPECT_TRUE(panel->isHidden());
    auto* backdrop = dynamic_cast<_UIBackdropView*>(panel->subviews().front().get());
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(backdrop->style(), 2);
    EXPECT_EQ(backdrop->blurRadius(), 4.0);
    EXPECT_TRUE(backdrop->blurRadiusSetOnce());
    EXPECT_EQ(backdrop->blurQuality(), "default");
    EXPECT_EQ(backdrop->inputSettings()->colorTintAlpha(), 0.4);
    ASSERT_EQ(backdrop->subviews().size(), 1u);
    EXPECT_EQ(backdrop->subviews().front()->frame().size, tintSize);
}

} // namespace

TEST_F(DashboardTest, BothArrangementsPlaceEverythingFromTheHostsContainerAndTable)
{
    struct Arrangement {
        const char* settings;
        CGRect hub, table, pocket;
        bool iconsShown;
    };
    // The host's table is (0, 16, 320, 386) after its own layout.
    const Arrangement arrangements[] = {
        {"", {{76, 100}, {168, 100}}, {{0, 0}, {320, 256}}, {{0, 130}, {320, 16}}, true},
        {"<key>removeNW</key><true/>", {{0, 100}, {320, 100}}, {{0, 200}, {320, 156}}, {{0, 200}, {320, 16}}, false},
    };
    for (const auto& a : arrangements) {
        SCOPED_TRACE(a.settings);
        start(a.settings);
        auto& d = *api;
        const auto& list = host->listView();
        auto hub = std::dynamic_pointer_cast<UIView>(d.appsHub());
        ASSERT_TRUE(hub && d.greetingLabel() && d.widgetHost());

        EXPECT_EQ(d.greetingLabel()->frame(), CGRectMake(0, 0, 320, 100));
        EXPECT_EQ(d.tempStringLabel()->frame(), CGRectMake(0, 65, 320, 50));
        EXPECT_EQ(d.greetingLabel()->text(), d.dateStatusString());
        EXPECT_EQ(d.imgCalender()->frame(), CGRectMake(22, 87, 32, 32));
        EXPECT_EQ(d.imgNotifications()->frame(), CGRectMake(266, 87, 32, 32));
        EXPECT_EQ(!d.imgCalender()->isHidden(), a.iconsShown);
        EXPECT_EQ(!d.imgNotifications()->isHidden(), a.iconsShown);
        EXPECT_EQ(d.widgetPanel()->frame(), CGRectMake(0, 130, 320, 256));
        EXPECT_EQ(d.notificationsPanel()->frame(), CGRectMake(0, 130, 320, 256));
        EXPECT_EQ(d.tabView()->frame(), CGRectMake(0, 130, 1, 1));
        EXPECT_EQ(hub->frame(), a.hub);
        EXPECT_EQ(list->tableView()->frame(), a.table);
        EXPECT_EQ(list->topPocketView()->frame(), a.pocket);
        EXPECT_EQ(msgSend<bool>(hub, "minimalHub"_sel), !a.iconsShown);
        EXPECT_FALSE(list->bottomPocketView()->superview());
        // The tab is made with a zero frame, so its tint has no area.
        expectClosedPanel(d.widgetPanel().get(), {320, 386}, "widget panel");
        expectClosedPanel(d.notificationsPanel().get(), {320, 386}, "notifications panel");
        expectClosedPanel(d.tabView().get(), {0, 0}, "tab");

        // Back to front inside the host's container; the host's table stays there only in the
        // minimal arrangement, above its own panel.
        std::vector<UIView*> order{hub.get(), d.tabView().get(), d.notificationsPanel().get(), d.widgetPanel().get(),
                                   list->topPocketView().get(), d.greetingLabel().get(), d.tempStringLabel().get(),
                                   d.imgCalender().get(), d.imgNotifications().get()};
        if (!a.iconsShown) {
            ASSERT_TRUE(d.minimalTablePanel());
            EXPECT_EQ(d.minimalTablePanel()->frame(), a.table);
            expectClosedPanel(d.minimalTablePanel().get(), {320, 386}, "minimal table panel");
            order.insert(order.begin() + 4, list->tableView().get());
            order.insert(order.begin(), d.minimalTablePanel().get());
        }
        std::vector<UIView*> actual;
        for (const auto& v : list->containerView()->subviews())
            actual.push_back(v.get());
        EXPECT_EQ(actual, order);
        EXPECT_EQ(list->tableView()->superview(),
                  a.iconsShown ? d.notificationsPanel().get() : list->containerView().get());
    }
}

TEST_F(DashboardTest, TapsOnTheIconsFollowThePanelStateTable)
{
    enum class State { Closed, Widget, Notifications };
    enum Icon { WidgetIcon, NotificationsIcon };
    struct Step {
        Icon icon;
        int taps;
        State state;
        unsigned long hubIcons;
    };
    const Step steps[] = {
        {WidgetIcon, 1, State::Widget, 2},
        {WidgetIcon, 1, State::Widget, 2}, // tapping an open panel's icon leaves it open
        {NotificationsIcon, 2, State::Closed, 2}, // only the closing runs: the hub keeps its icons
        {NotificationsIcon, 1, State::Notifications, 0},
        {NotificationsIcon, 1, State::Notifications, 0},
        {WidgetIcon, 1, State::Widget, 0}, // the tab moves from the right icon to the left one
        {NotificationsIcon, 1, State::Notifications, 0},
        {WidgetIcon, 2, State::Closed, 0},
    };
    start();
    auto& d = *api;
    host->addBulletin("com.apple.MobileSMS", "Ann", "Lunch?");
    host->addBulletin("com.apple.mobilemail", "Bob", "Minutes");
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        tapIcon(s.icon == WidgetIcon ? d.imgCalender().get() : d.imgNotifications().get(), s.taps);
        const bool widget = s.state == State::Widget;
        const bool notifications = s.state == State::Notifications;
        EXPECT_EQ(!d.widgetPanel()->isHidden(), widget);
        EXPECT_EQ(d.widgetPanel()->alpha(), widget ? 1 : 0);
        EXPECT_EQ(!d.notificationsPanel()->isHidden(), notifications);
        EXPECT_EQ(d.notificationsPanel()->alpha(), notifications ? 1 : 0);
        EXPECT_EQ(!d.tabView()->isHidden(), s.state != State::Closed);
        EXPECT_EQ(d.tabView()->frame(), widget ? kWidgetTab : notifications ? kNotificationsTab : CGRectZero);
        EXPECT_EQ(host->listView()->topPocketView()->alpha(), s.state == State::Closed ? 0 : 1);
        EXPECT_EQ(!host->listView()->tableView()->isHidden(), notifications);
        // The screen stays awake only while a widget is open.
        EXPECT_EQ(host->isIdleTimerDisabled(), widget);
        EXPECT_EQ(hubIconCount(), s.hubIcons);
        if (s.state != State::Closed) {
            auto mask = std::dynamic_pointer_cast<CAShapeLayer>(d.tabView()->layer()->mask());
            ASSERT_TRUE(mask && mask->path());
            EXPECT_EQ(mask->path()->bounds(), CGRectMake(0, 0, 52, 150));
            EXPECT_TRUE(mask->path()->containsPoint({1, 149}));   // square bottom corners
            EXPECT_FALSE(mask->path()->containsPoint({0.5, 0.5})); // round top corners
        }
    }
    // A layout pass keeps the state but shrinks the tab.
    tapIcon(d.imgCalender().get(), 1);
    host->layout();
    EXPECT_FALSE(d.widgetPanel()->isHidden());
    EXPECT_EQ(d.tabView()->frame(), CGRectMake(0, 130, 1, 1));
}

TEST_F(DashboardTest, TheMinimalArrangementFiltersTheTableByTheHubsSelection)
{
    for (const bool minimal : {false, true}) {
        SCOPED_TRACE(minimal ? "minimal" : "normal");
        start(minimal ? "<key>removeNW</key><true/>" : "");
        host->addBulletin("com.apple.MobileSMS", "Ann", "Lunch?");
        host->addCard("boarding-pass", "Flight");
        host->addBulletin("com.apple.mobilemail", "Bob", "Minutes");
        host->addSystemAlert("Low Battery");
        host->addBulletin("com.apple.MobileSMS", "Cem", "On my way");

        // The height of every row for a selection: bulletins of other applications collapse in
        // the minimal arrangement only; other items keep the host's height.
        const auto expectRows = [&](const std::string& selected) {
            const auto items = host->items();
            const auto& table = host->listView()->tableView();
            ASSERT_EQ(table->numberOfRowsInSection(0), static_cast<long>(items.size()));
            for (std::size_t row = 0; row < items.size(); ++row) {
                auto item = std::dynamic_pointer_cast<SBAwayListItem>(items[row]);
                auto bulletin = std::dynamic_pointer_cast<SBAwayBulletinListItem>(item);
                const bool collapsed =
                    minimal && bulletin && bulletin->activeBulletin()->sectionID()->string() != selected;
                EXPECT_EQ(table->rectForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row, 0)).size.height,
                          collapsed ? 0 : item->rowHeight())
                    << "row " << row << " with " << (selected.empty() ? "no selection" : selected);
            }
        };
        host->layout();
        expectRows("");
        if (minimal) {
            EXPECT_TRUE(host->listView()->tableView()->isHidden());
            tapHubIcon("com.apple.MobileSMS");
            EXPECT_FALSE(host->listView()->tableView()->isHidden());
            EXPECT_FALSE(api->minimalTablePanel()->isHidden());
            expectRows("com.apple.MobileSMS");
        } else {
            // Icons take no taps here; a selection set by other means changes no height.
            msgSend(api->appsHub(), "setSelectedID:"_sel, NSStr("com.apple.MobileSMS"));
            host->layout();
            expectRows("com.apple.MobileSMS");
        }
        // A pull past the top clears the choice in the minimal arrangement only.
        host->drag(CGPointMake(0, 80), false);
        EXPECT_EQ(msgSend<id>(api->appsHub(), "selectedID"_sel) == nullptr, minimal);
        if (minimal) {
            EXPECT_TRUE(host->listView()->tableView()->isHidden());
            EXPECT_TRUE(api->minimalTablePanel()->isHidden());
        }
    }
}

TEST_F(DashboardTest, EachLockScreenStampsTodayOnACopyOfTheCalendarIcon)
{
    struct Case {
        int day;
        CGPoint at;
    };
    // Two digits start 3 points further left. Each day a new lock screen, as after midnight.
    const Case cases[] = {{5, {12, 11}}, {15, {9, 11}}, {16, {9, 11}}};
    start();
    const auto stored = api->settings().selectedWidgetIcon;
    ASSERT_TRUE(stored);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day);
        setTime(c.day, 9, 0);
        const id previousWidget = api->widgetHost();
        host = std::make_unique<SpringBoard>();
        // Only the widget left from the earlier lock screen is handed this one's pocket layer.
        EXPECT_EQ(msgSend<id>(previousWidget, "popLayer"_sel), host->listView()->topPocketView()->layerPtr());
        EXPECT_FALSE(msgSend<id>(api->widgetHost(), "popLayer"_sel));
        auto shown = api->imgCalender()->image();
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->renderingMode(), UIImageRenderingMode::AlwaysTemplate);
        EXPECT_TRUE(samePixels(*shown, *api->drawTextInImage(std::to_string(c.day), stored, c.at)));
        // The stored icon stays as the file has it.
        EXPECT_EQ(api->settings().selectedWidgetIcon, stored);
        EXPECT_TRUE(samePixels(*stored, *UIImage::imageWithContentsOfFile(vantorel::pluginIconPath("Calendar"))));
    }

    start("<key>allWidgets</key><true/>");
    ASSERT_TRUE(api->imgCalender()->image());
    EXPECT_TRUE(samePixels(*api->imgCalender()->image(),
                           *UIImage::imageWithContentsOfFile(std::string(vantorel::WidgetsPicture))));
}

TEST_F(DashboardTest, MissingOrEmptyIconPicturesLeaveTheIconsEmpty)
{
    namespace fs = std::filesystem;
    for (const bool empty : {false, true}) {
        for (const std::string& picture : {vantorel::pluginIconPath("Calendar"), std::string(vantorel::WidgetsPicture),
                                           std::string(vantorel::NotificationPicture)}) {
            for (const char* suffix : {".png", "@2x.png"}) {
                const std::string path = device.host(picture.substr(0, picture.size() - 4) + suffix);
                fs::remove(path);
                if (empty)
                    device.writeFile(picture.substr(0, picture.size() - 4) + suffix, "");
            }
        }
        for (const char* settings : {"", "<key>allWidgets</key><true/>"}) {
            SCOPED_TRACE(std::string(empty ? "empty " : "missing ") + settings);
            start(settings);
            EXPECT_FALSE(api->imgCalender()->image());
            EXPECT_FALSE(api->imgNotifications()->image());
            tapIcon(api->imgCalender().get(), 1);
            EXPECT_FALSE(api->widgetPanel()->isHidden());
        }
    }
}

TEST_F(DashboardTest, HostEventsCloseTheDashboardAndFeedTheHub)
{
    struct Event {
        const char* name;
        std::function<void(SpringBoard&)> happen;
        bool closes;
        bool emptiesHub;
    };
    const Event events[] = {
        {"home button", [](SpringBoard& sb) { sb.pressHomeButton(); }, true, false},
        {"another button",
         [](SpringBoard& sb) {
             msgSend(sb.controller(), "_hardwareButtonPressed:"_sel,
                     NSNotification::notificationWithNameObject(kSBLockButtonPressedNotification, nullptr));
         },
         false, false},
        {"screen off", [](SpringBoard& sb) { sb.setScreenOff(true); }, true, false},
        {"screen on", [](SpringBoard& sb) { msgSend(sb.controller(), "setInScreenOffMode:"_sel, false); }, true, false},
        {"teardown", [](SpringBoard& sb) { sb.teardownList(); }, true, true},
        {"cleared", [](SpringBoard& sb) { sb.clearForNotificationCenter(); }, true, true},
    };
    for (const auto& e : events) {
        SCOPED_TRACE(e.name);
        start();
        host->addBulletin("com.apple.MobileSMS", "Ann", "Lunch?");
        host->addCard("boarding-pass", "Flight");
        ASSERT_EQ(hubIconCount(), 2u);
        tapIcon(api->imgCalender().get(), 1);
        api->greetingLabel()->setText("");
        api->tempStringLabel()->setText("");
        e.happen(*host);
        EXPECT_EQ(api->widgetPanel()->isHidden(), e.closes);
        EXPECT_EQ(hubIconCount(), e.emptiesHub ? 0u : 2u);
        if (std::string(e.name).starts_with("screen")) {
            EXPECT_EQ(api->greetingLabel()->text(), api->dateStatusString());
        }
        if (e.emptiesHub) {
            EXPECT_EQ(api->tempStringLabel()->text(), api->getTempString());
        }
    }
}

TEST_F(DashboardTest, ANewItemShowsTheAwayTextUntilTheNextLayoutPass)
{
    // 09:00 is morning, 23:30 night with the default day parts.
    for (const int hour : {9, 23}) {
        SCOPED_TRACE(hour);
        setTime(5, hour, 30);
        start();
        auto item = SBAwayBulletinListItem::itemWithBulletin(BBBulletin::bulletin("com.apple.MobileSMS", "Ann", "Hi"));
        // Straight to the controller, as the host calls it, before the host lays out.
        msgSend(host->controller(), "_updateModelAndViewForAdditionOfItem:"_sel, item);
        EXPECT_EQ(api->tempStringLabel()->text(), hour == 23 ? api->goneSleepAlertLabel() : api->goneAlertLabel());
        EXPECT_EQ(hubIconCount(), 1u);
        host->layout();
        EXPECT_EQ(api->tempStringLabel()->text(), api->getTempString());

        // The hub follows a removal even when the host does not redraw its list.
        msgSend(host->controller(), "_updateModelForRemovalOfItem:updateView:"_sel, item, false);
        EXPECT_EQ(hubIconCount(), 0u);
    }
}

TEST_F(DashboardTest, ChoosingAWidgetReplacesThePreviousOneAndClosingBringsTheChooserBack)
{
    start("<key>allWidgets</key><true/>");
    auto& d = *api;
    auto selector = std::dynamic_pointer_cast<UIView>(d.widgetSelector());
    ASSERT_TRUE(selector);
    EXPECT_FALSE(d.widgetHost());
    tapIcon(d.imgCalender().get(), 1);

    // A tile of the chooser, tapped where it shows.
    auto grid = msgSend<std::shared_ptr<UICollectionView>>(selector, "bundleView"_sel);
    ASSERT_TRUE(grid && !grid->visibleCells().empty());
    const auto tile = grid->visibleCells().front();
    host->tap(tile->convertPointToView(CGPointMake(30, 50), nullptr));
    ASSERT_TRUE(d.widgetHost());
    EXPECT_EQ(selector->alpha(), 0);

    // A second choice (a chooser that fires twice) leaves one widget in the panel.
    msgSend(host->listView(), "selectedWidgetClass:"_sel, objc_getClass("TestWidgetView"));
    const auto widgets = std::count_if(d.widgetPanel()->subviews().begin(), d.widgetPanel()->subviews().end(),
                                       [](const auto& v) { return v->isKindOfClass(objc_getClass("VTWidget")); });
    EXPECT_EQ(widgets, 1);
    EXPECT_EQ(asView(d.widgetHost())->superview(), d.widgetPanel().get());

    tapIcon(d.imgCalender().get(), 2);
    EXPECT_FALSE(d.widgetHost());
    EXPECT_EQ(selector->alpha(), 1);
    EXPECT_EQ(std::count_if(d.widgetPanel()->subviews().begin(), d.widgetPanel()->subviews().end(),
                            [](const auto& v) { return v->isKindOfClass(objc_getClass("VTWidget")); }),
              0);
}

TEST_F(DashboardTest, TheLockScreenBlursWithBlurOnAndLosesItsUnderlayWithBlurOff)
{
    for (const bool blur : {true, false}) {
        SCOPED_TRACE(blur ? "blur on" : "blur off");
        start(blur ? "<key>blurEnabled</key><true/>" : "<key>blurEnabled</key><false/>");
        const auto& lockScreen = host->lockScreenView();
        auto& calls = dashboardtest::DashboardTestApi::hostUnderlayCalls();
        if (blur) {
            // Each layout pass: the backdrop at the back and exactly one underlay request, with
            // the media-controls requesters.
            for (int pass = 0; pass < 2; ++pass) {
                calls.clear();
                host->layout();
                ASSERT_EQ(calls.size(), 1u);
                EXPECT_EQ(calls.front(), lockScreen->mediaControlsHiddenRequesters());
                ASSERT_TRUE(api->lockScreenBackdrop());
                EXPECT_EQ(lockScreen->subviews().front(), api->lockScreenBackdrop());
                EXPECT_EQ(std::count(lockScreen->subviews().begin(), lockScreen->subviews().end(),
                                     api->lockScreenBackdrop()),
                          1);
                EXPECT_EQ(api->lockScreenBackdrop()->frame(), lockScreen->bounds());
                EXPECT_EQ(api->lockScreenBackdrop()->blurRadius(), 4.0);
            }
        } else {
            calls.clear();
            host->addBulletin("com.apple.MobileSMS", "Ann", "Lunch?");
            host->layout();
            EXPECT_TRUE(calls.empty());
            EXPECT_FALSE(host->isContentUnderlayShown());
        }
        // The artwork hides as soon as it is made, whatever the settings.
        auto art = host->startMedia();
        ASSERT_TRUE(art);
        EXPECT_TRUE(art->isHidden());
    }
}

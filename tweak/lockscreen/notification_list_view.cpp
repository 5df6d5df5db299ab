#include "tweak/lockscreen/notification_list_view.h"

#include "common/support_paths.h"
#include "foundation/calendar.h"
#include "foundation/date.h"
#include "tweak/core/hook_table.h"
#include "tweak/core/settings.h"
#include "tweak/core/status_text.h"
#include "tweak/core/text_stamping.h"
#include "tweak/lockscreen/dashboard_views.h"
#include "tweak/lockscreen/host_access.h"
#include "tweak/lockscreen/standard_backdrop.h"
#include "uikit/bezier_path.h"
#include "uikit/color.h"
#include "uikit/font.h"
#include "uikit/image.h"
#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/scroll_view.h"
#include "uikit/table_view.h"
#include "uikit/tap_gesture_recognizer.h"

#include <string>

namespace vantorel::hooks::SBLockScreenNotificationListView {

namespace {

constexpr const char* kDashboardFont = ".HelveticaNeueInterface-UltraLightP2";
constexpr double kAnimationDuration = 0.4;
// The smallest point size the two sentences shrink to.
constexpr CGFloat kSmallestTextSize = 16;
constexpr CGFloat kIconSide = 32;
constexpr CGFloat kIconInset = 22;
constexpr CGFloat kIconTop = 87;
constexpr CGFloat kPanelTop = 130;
constexpr CGFloat kMinimalTableTop = 200;

UIView* asView(const objc::id& object) { return dynamic_cast<UIView*>(object.get()); }
std::shared_ptr<UIView> viewPtr(const objc::id& object) { return std::dynamic_pointer_cast<UIView>(object); }

std::shared_ptr<UIView> containerOf(objc::Object* self) { return hostIvar<UIView>(self, "_containerView"); }
std::shared_ptr<UITableView> tableOf(objc::Object* self) { return hostIvar<UITableView>(self, "_tableView"); }
std::shared_ptr<UIView> topPocketOf(objc::Object* self) { return hostIvar<UIView>(self, "_topPocketView"); }

CGFloat containerWidth(objc::Object* self)
{
    auto container = containerOf(self);
    return container ? container->frame().size.width : 0;
}

CGRect widgetIconFrame() { return CGRectMake(kIconInset, kIconTop, kIconSide, kIconSide); }
CGRect notificationsIconFrame(CGFloat width)
{
    return CGRectMake(width - kIconSide - kIconInset, kIconTop, kIconSide, kIconSide);
}

void setShown(UIView* view, bool shown)
{
    if (!view)
        return;
    view->setHidden(!shown);
    view->setAlpha(shown ? 1 : 0);
}

// Hidden becomes shown and shown hidden, the opacity following.
void invertShown(UIView* view)
{
    if (view)
        setShown(view, view->isHidden());
}

// A picture that can be drawn: nil for a missing picture and for one without area.
std::shared_ptr<UIImage> drawable(std::shared_ptr<UIImage> image)
{
    if (!image || image->size().width <= 0 || image->size().height <= 0)
        return nullptr;
    return image;
}

// The widget icon's picture: the fixed one in all-widgets mode, else the selected plug-in's
// icon, with today's day of the month stamped on the Calendar's.
std::shared_ptr<UIImage> widgetIconImage(CGRect iconBounds)
{
    if (settings.allWidgets)
        return drawable(UIImage::imageWithContentsOfFile(std::string(WidgetsPicture)));
    auto icon = drawable(settings.selectedWidgetIcon);
    if (!icon || settings.SelectedWidget != "Calendar")
        return icon;
    const long day = NSCalendar::currentCalendar()->component(NSCalendarUnitDay, NSDate::date());
    const CGFloat cx = CGRectGetMidX(iconBounds);
    const CGFloat cy = CGRectGetMidY(iconBounds);
    // Two digits start 3 points further left, so that both sit centred like one.
    const CGPoint at = day < 10 ? CGPoint{cx - 4, cy - 5} : CGPoint{cx - 7, cy - 5};
    // Stamped on a copy: the stored icon stays clean, so a construction after midnight does not
    // draw the new day over the old one.
    return drawable(drawTextInImage(std::to_string(day), icon, at));
}

std::shared_ptr<UILabel> makeSentenceLabel(CGRect frame, CGFloat pointSize)
{
    auto label = UIView::create<UILabel>(frame);
    auto font = UIFont::fontWithNameSize(kDashboardFont, pointSize);
    label->setFont(font);
    label->setBackgroundColor(UIColor::clearColor());
    label->setTextColor(settings.textColor);
    label->setNumberOfLines(1);
    label->setMinimumScaleFactor(kSmallestTextSize / (font ? font->pointSize() : pointSize));
    label->setAdjustsFontSizeToFitWidth(true);
    label->setTextAlignment(NSTextAlignment::Center);
    label->sizeToFit();
    return label;
}

// An icon drawn only by its shape, in the glyph colour.
std::shared_ptr<UIImageView> makeIcon(CGRect frame, const std::shared_ptr<UIImage>& image)
{
    auto icon = UIView::create<UIImageView>(frame);
    icon->setImage(image ? image->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate) : nullptr);
    icon->setTintColor(settings.glyphColor);
    return icon;
}

// One tap opens, two taps close; the single tap waits until the double tap has failed, so a
// double tap never opens on its way.
void addTapHandlers(UIView& icon, const objc::id& listView, objc::SEL singleTap)
{
    auto once = UITapGestureRecognizer::create(listView, singleTap);
    once->setNumberOfTapsRequired(1);
    auto twice = UITapGestureRecognizer::create(listView, "normalizePrevTap"_sel);
    twice->setNumberOfTapsRequired(2);
    once->requireGestureRecognizerToFail(twice);
    icon.addGestureRecognizer(once);
    icon.addGestureRecognizer(twice);
    icon.setUserInteractionEnabled(true);
}

std::shared_ptr<UIView> makeHiddenPanel(CGRect frame)
{
    auto panel = makeBlurredPanel(frame);
    setShown(panel.get(), false);
    return panel;
}

// Builds everything into the host's container; `self` has just been made by the host.
void buildDashboard(objc::Object* self)
{
    const objc::id listView = self->self();
    const auto container = containerOf(self);
    const auto table = tableOf(self);
    if (!container)
        return;
    const CGFloat width = container->frame().size.width;
    const CGRect tableFrame = table ? table->frame() : CGRectZero;

    // Only a widget host left from an earlier lock screen is handed this one's pocket layer.
    if (widgetHost) {
        if (auto pocket = topPocketOf(self))
            objc::msgSend(widgetHost, "setPopLayer:"_sel, pocket->layerPtr());
    }
    if (auto bottomPocket = hostIvar<UIView>(self, "_bottomPocketView"))
        bottomPocket->removeFromSuperview();

    greetingLabel = makeSentenceLabel(CGRectMake(0, 0, width, 50), 37.5);
    container->addSubview(greetingLabel);
    tempStringLabel = makeSentenceLabel(CGRectMake(0, 65, width, 50), 17.5);
    tempStringLabel->setText(getTempString());
    container->addSubview(tempStringLabel);

    imgCalender = makeIcon(widgetIconFrame(), widgetIconImage(CGRectMake(0, 0, kIconSide, kIconSide)));
    container->addSubview(imgCalender);
    imgNotifications = makeIcon(notificationsIconFrame(width),
                                drawable(UIImage::imageWithContentsOfFile(std::string(NotificationPicture))));
    container->addSubview(imgNotifications);
    addTapHandlers(*imgCalender, listView, "imgCalenderTapped"_sel);
    addTapHandlers(*imgNotifications, listView, "imgNotificationsTapped"_sel);

    widgetPanel = makeHiddenPanel(tableFrame);
    container->insertSubviewAtIndex(widgetPanel, 0);
    widgetHost = nullptr;
    widgetSelector = nullptr;
    if (settings.allWidgets) {
        widgetSelector = makeByName("WidgetSelector", widgetPanel->bounds());
        objc::msgSend(widgetSelector, "setDelegate:"_sel, listView);
        if (auto selector = viewPtr(widgetSelector))
            widgetPanel->addSubview(selector);
        else
            widgetSelector = nullptr;
    } else {
        widgetHost = makeByName("VTWidget", widgetPanel->bounds());
        objc::msgSend(widgetHost, "setWidgetClass:"_sel, settings.selectedWidgetClass);
        if (auto host = viewPtr(widgetHost))
            widgetPanel->addSubview(host);
        else
            widgetHost = nullptr;
    }

    notificationsPanel = makeHiddenPanel(tableFrame);
    container->insertSubviewAtIndex(notificationsPanel, 0);
    tabView = makeHiddenPanel(CGRectZero);
    container->insertSubviewAtIndex(tabView, 0);

    appsHub = makeByName("VTAppsView", CGRectMake(76, 100, width - 152, 100));
    const auto hub = viewPtr(appsHub);
    if (!hub)
        appsHub = nullptr;
    objc::msgSend(appsHub, "setMinimalHub:"_sel, false);
    objc::msgSend(appsHub, "setSuperView:"_sel, listView);
    if (hub)
        container->insertSubviewAtIndex(hub, 0);

    minimalTablePanel = nullptr;
    if (settings.removeNW) {
        imgCalender->setHidden(true);
        imgNotifications->setHidden(true);
        if (hub)
            hub->setFrame(CGRectMake(0, 100, width, 100));
        objc::msgSend(appsHub, "setMinimalHub:"_sel, true);
        minimalTablePanel = makeHiddenPanel(tableFrame);
        container->insertSubviewAtIndex(minimalTablePanel, 0);
    } else if (table) {
        notificationsPanel->addSubview(table);
    }
}

} // namespace

objc::id initWithFrame(objc::Object* self, objc::SEL cmd, CGRect frame)
{
    objc::id view = callHost<&initWithFrame>(self, cmd, frame);
    if (view)
        buildDashboard(view.get());
    return view;
}

void layoutSubviews(objc::Object* self, objc::SEL cmd)
{
    callHost<&layoutSubviews>(self, cmd);

    const auto table = tableOf(self);
    const auto pocket = topPocketOf(self);
    notificationTableView = table;
    notificationListView = self->self();
    updateNotificationTableView();
    if (auto* listView = dynamic_cast<UIView*>(self))
        listView->setAlpha(1);
    // The dashboard was not built into this view (its container is missing).
    if (!greetingLabel)
        return;

    const CGFloat width = containerWidth(self);
    const CGRect tableFrame = table ? table->frame() : CGRectZero;
    const CGFloat tableWidth = tableFrame.size.width;
    const CGFloat panelHeight = tableFrame.size.height - kPanelTop;
    greetingLabel->setFrame(CGRectMake(0, 0, width, 100));
    tempStringLabel->setFrame(CGRectMake(0, 65, width, 50));
    if (pocket)
        pocket->setFrame(CGRectMake(0, kPanelTop, pocket->frame().size.width, pocket->frame().size.height));
    imgCalender->setFrame(widgetIconFrame());
    imgNotifications->setFrame(notificationsIconFrame(width));
    widgetPanel->setFrame(CGRectMake(0, kPanelTop, tableWidth, panelHeight));
    notificationsPanel->setFrame(CGRectMake(0, kPanelTop, tableWidth, panelHeight));
    if (table)
        table->setFrame(notificationsPanel->bounds());
    if (auto* hub = asView(appsHub))
        hub->setFrame(CGRectMake(76, 100, width - 152, 100));
    for (const objc::id& panelContent : {widgetSelector, widgetHost}) {
        if (auto* view = asView(panelContent)) {
            view->setFrame(widgetPanel->bounds());
            objc::msgSend(panelContent, "updateView"_sel);
        }
    }
    tabView->setFrame(CGRectMake(0, kPanelTop, 1, 1));
    greetingLabel->setText(dateStatusString());
    tempStringLabel->setText(getTempString());

    if (settings.removeNW) {
        imgCalender->setHidden(true);
        imgNotifications->setHidden(true);
        if (auto* hub = asView(appsHub))
            hub->setFrame(CGRectMake(0, 100, width, 100));
        if (pocket)
            pocket->setFrame(CGRectMake(0, kMinimalTableTop, pocket->frame().size.width, pocket->frame().size.height));
        if (table) {
            const CGSize size = table->frame().size;
            table->setFrame(CGRectMake(0, kMinimalTableTop, size.width, size.height - 100));
            if (minimalTablePanel)
                minimalTablePanel->setFrame(table->frame());
        }
        objc::msgSend(appsHub, "setMinimalHub:"_sel, true);
    }
}

bool shouldDisplayIndexPath(objc::Object* self, objc::SEL, const objc::ObjectRef& indexPath)
{
    const auto model = hostIvar(self, "_model");
    const objc::id item = objc::msgSendIfResponds<objc::id>(model, "listItemAtIndexPath:"_sel, indexPath);
    objc::Class bulletinItem = objc::objc_getClass("SBAwayBulletinListItem");
    if (!item || !bulletinItem || !item->isKindOfClass(bulletinItem))
        return true;
    const objc::id selected = objc::msgSend<objc::id>(appsHub, "selectedID"_sel);
    if (!selected)
        return false;
    const objc::id bulletin = objc::msgSend<objc::id>(item, "activeBulletin"_sel);
    const objc::id sectionID = objc::msgSend<objc::id>(bulletin, "sectionID"_sel);
    return sectionID && selected->isEqual(sectionID.get());
}

double tableViewHeightForRowAtIndexPath(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& table,
                                        const objc::ObjectRef& indexPath)
{
    const double hostHeight = callHost<&tableViewHeightForRowAtIndexPath>(self, cmd, table, indexPath);
    if (!settings.removeNW)
        return hostHeight;
    // The row collapses; the host's model keeps the item.
    return objc::msgSend<bool>(self, "shouldDisplayIndexPath:"_sel, indexPath) ? hostHeight : 0.0;
}

void scrollViewDidEndDraggingWillDecelerate(objc::Object* self, objc::SEL cmd, const objc::ObjectRef& scrollView,
                                            bool decelerate)
{
    // Pulling the minimal arrangement's list down past its top and letting go clears the choice.
    if (settings.removeNW) {
        if (auto* scroll = dynamic_cast<UIScrollView*>(scrollView.get()); scroll && scroll->contentOffset().y < 0)
            objc::msgSend(appsHub, "returnToNormal"_sel);
    }
    callHost<&scrollViewDidEndDraggingWillDecelerate>(self, cmd, scrollView, decelerate);
}

void cornerRadiusHook(objc::Object*, objc::SEL)
{
    if (!tabView)
        return;
    auto mask = CAShapeLayer::layer();
    mask->setPath(UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        tabView->bounds(), UIRectCornerTopLeft | UIRectCornerTopRight, CGSizeMake(5, 5)));
    tabView->layer()->setMask(mask);
}

void normalizePrevTap(objc::Object* self, objc::SEL)
{
    UIView::animateWithDurationAnimations(kAnimationDuration, [self] {
        if (settings.allWidgets) {
            // The chosen widget goes; the chooser comes back for the next choice.
            if (auto* host = asView(widgetHost))
                host->removeFromSuperview();
            widgetHost = nullptr;
            if (auto* selector = asView(widgetSelector))
                selector->setAlpha(1);
        }
        setShown(widgetPanel.get(), false);
        setShown(notificationsPanel.get(), false);
        if (tabView) {
            setShown(tabView.get(), false);
            tabView->setFrame(CGRectZero);
        }
        if (auto pocket = topPocketOf(self))
            pocket->setAlpha(0);
        setShown(notificationTableView.get(), false);
    });
    restartIdleTimer(self->self());
}

namespace {

// The tab appears behind the tapped icon and reaches down into the panel; a tab already out
// goes back to nothing.
void toggleTab(CGRect iconFrame)
{
    if (!tabView)
        return;
    invertShown(tabView.get());
    if (tabView->frame() == CGRectZero)
        tabView->setFrame(CGRectMake(iconFrame.origin.x - 10, iconFrame.origin.y - 10, iconFrame.size.width + 20, 150));
    else
        tabView->setFrame(CGRectZero);
}

// Opens the panel that the nested closing has just hidden. That closing completes first
// (animation blocks run at once), so tapping an open panel's icon leaves it open.
void showPanelAfterClosing(objc::Object* self, UIView* panel, CGRect iconFrame)
{
    invertShown(panel);
    toggleTab(iconFrame);
    if (auto pocket = topPocketOf(self))
        pocket->setAlpha(panel && !panel->isHidden() ? 1 : 0);
}

} // namespace

void imgCalenderTapped(objc::Object* self, objc::SEL)
{
    UIView::animateWithDurationAnimations(kAnimationDuration, [self] {
        objc::msgSend(self, "normalizePrevTap"_sel);
        if (settings.SelectedWidget == "Weather")
            objc::msgSend(widgetHost, "reloadWeatherInfo"_sel);
        showPanelAfterClosing(self, widgetPanel.get(), imgCalender ? imgCalender->frame() : CGRectZero);
        objc::msgSend(self, "cornerRadiusHook"_sel);
    });
    // The screen stays awake while a widget is open.
    if (!widgetPanel || widgetPanel->isHidden())
        restartIdleTimer(self->self());
    else
        objc::msgSendIfResponds(self->self(), "_disableIdleTimer:"_sel, true);
}

void imgNotificationsTapped(objc::Object* self, objc::SEL)
{
    UIView::animateWithDurationAnimations(kAnimationDuration, [self] {
        objc::msgSend(self, "normalizePrevTap"_sel);
        showPanelAfterClosing(self, notificationsPanel.get(),
                              imgNotifications ? imgNotifications->frame() : CGRectZero);
        if (tempStringLabel)
            tempStringLabel->setText(getTempString());
        setShown(notificationTableView.get(), true);
        objc::msgSend(appsHub, "clearAll"_sel);
        objc::msgSend(self, "cornerRadiusHook"_sel);
    });
    restartIdleTimer(self->self());
}

void selectedWidgetClass(objc::Object*, objc::SEL, objc::Class widgetClass)
{
    if (!widgetPanel)
        return;
    UIView::animateWithDurationAnimations(kAnimationDuration, [widgetClass] {
        if (auto* selector = asView(widgetSelector))
            selector->setAlpha(0);
        // The previous choice leaves the screen, or it would cover the new one for good.
        if (auto* previous = asView(widgetHost))
            previous->removeFromSuperview();
        widgetHost = makeByName("VTWidget", widgetPanel->bounds());
        if (!asView(widgetHost)) {
            widgetHost = nullptr;
            return;
        }
        objc::msgSend(widgetHost, "setWidgetClass:"_sel, widgetClass);
        widgetPanel->addSubview(viewPtr(widgetHost));
        objc::msgSend(widgetHost, "updateView"_sel);
    });
}

} // namespace vantorel::hooks::SBLockScreenNotificationListView

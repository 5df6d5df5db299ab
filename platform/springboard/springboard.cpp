#include "springboard/springboard.h"

#include "foundation/loader.h"
#include "foundation/ns_string.h"
#include "springboard/sb_notification.h"
#include "uikit/drag_simulator.h"
#include "uikit/screen.h"
#include "uikit/scroll_view.h"
#include "uikit/touch_simulator.h"

#include <algorithm>
#include <dlfcn.h>

using objc::operator""_sel;

namespace {

void markTreeForLayout(UIView* view)
{
    view->setNeedsLayout();
    for (const auto& sub : view->subviews())
        markTreeForLayout(sub.get());
}

template <class T>
std::shared_ptr<T> createView(CGRect frame)
{
    auto view = UIView::create<T>(frame);
    if (!view)
        objc::fatal(std::string("the host cannot run without its ") + T::class_()->name() +
                    ": initWithFrame: gave nil");
    return view;
}

} // namespace

SpringBoard::SpringBoard() : idleTimer_([this] { idleTimerTurnedScreenOff(); })
{
    const CGRect screen = UIScreen::mainScreen()->bounds();
    lockScreenView_ = createView<SBLockScreenView>(screen);
    listView_ = createView<SBLockScreenNotificationListView>(
        CGRectMake(0, SBLockScreenView::kNotificationListTop, screen.size.width,
                   screen.size.height - SBLockScreenView::kNotificationListTop));
    listView_->setIdleTimer(&idleTimer_);
    lockScreenView_->setNotificationView(listView_);

    controller_ = std::make_shared<SBLockScreenNotificationListController>();
    controller_->setNotificationView(listView_);

    listRequester_ = NSString::stringWithString("SBLockScreenNotificationList");
    mediaRequester_ = NSString::stringWithString("SBLockScreenMediaControls");
    layout();
}

SpringBoard::~SpringBoard()
{
    // An injected library may keep the list view after the host is gone.
    listView_->setIdleTimer(nullptr);
}

std::shared_ptr<SBAwayBulletinListItem> SpringBoard::addBulletin(const std::string& sectionID, const std::string& title,
                                                                 const std::string& message)
{
    auto item = SBAwayBulletinListItem::itemWithBulletin(BBBulletin::bulletin(sectionID, title, message));
    addItem(item);
    return item;
}

std::shared_ptr<SBAwayCardListItem> SpringBoard::addCard(const std::string& identifier, const std::string& title)
{
    auto item = SBAwayCardListItem::itemWithCardItem(SBCardItem::cardItem(identifier, title));
    addItem(item);
    return item;
}

std::shared_ptr<SBAwaySystemAlertItem> SpringBoard::addSystemAlert(const std::string& title)
{
    auto item = SBAwaySystemAlertItem::itemWithTitle(title);
    addItem(item);
    return item;
}

bool SpringBoard::addItem(const objc::id& item)
{
    if (!item)
        return false;
    objc::msgSend(controller_, "_updateModelAndViewForAdditionOfItem:"_sel, item);
    updateUnderlayRequest();
    afterEvent();
    return true;
}

bool SpringBoard::removeItem(const objc::id& item)
{
    const auto& listed = *controller_->listItems();
    if (!item || std::find(listed.begin(), listed.end(), item) == listed.end())
        return false;
    objc::msgSend(controller_, "_updateModelForRemovalOfItem:updateView:"_sel, item, true);
    updateUnderlayRequest();
    afterEvent();
    return true;
}

std::vector<objc::id> SpringBoard::items() const
{
    const auto& list = controller_->listItems();
    return std::vector<objc::id>(list->begin(), list->end());
}

void SpringBoard::pressHomeButton()
{
    if (screenOff_)
        setScreenOff(false);
    sendButton(kSBMenuButtonPressedNotification);
}

void SpringBoard::pressLockButton()
{
    sendButton(kSBLockButtonPressedNotification);
    setScreenOff(!screenOff_);
}

void SpringBoard::sendButton(const char* name)
{
    objc::msgSend(controller_, "_hardwareButtonPressed:"_sel, NSNotification::notificationWithNameObject(name, nullptr));
    afterEvent();
}

void SpringBoard::setScreenOff(bool off)
{
    if (off == screenOff_)
        return;
    screenOff_ = off;
    if (off)
        idleTimer_.screenTurnedOff();
    else
        idleTimer_.screenTurnedOn();
    objc::msgSend(controller_, "setInScreenOffMode:"_sel, off);
    afterEvent();
}

void SpringBoard::idleTimerTurnedScreenOff()
{
    if (screenOff_)
        return;
    screenOff_ = true;
    objc::msgSend(controller_, "setInScreenOffMode:"_sel, true);
    afterEvent();
}

void SpringBoard::teardownList()
{
    objc::msgSend(controller_, "prepareForTeardown"_sel);
    updateUnderlayRequest();
    afterEvent();
}

void SpringBoard::clearForNotificationCenter()
{
    objc::msgSend(controller_, "clearItemsForNotificationCenter"_sel);
    updateUnderlayRequest();
    afterEvent();
}

std::shared_ptr<UIView> SpringBoard::startMedia()
{
    // The plug-in stays loaded for the life of the process, like every lock-screen plug-in.
    foundation::dlopen(kNowPlayingPluginPath, RTLD_NOW | RTLD_GLOBAL);
    objc::Class artClass = objc::objc_getClass("_NowPlayingArtView");
    if (!artClass)
        return nullptr;
    const CGFloat side = lockScreenView_->bounds().size.width - 80;
    auto art = std::dynamic_pointer_cast<UIView>(objc::msgSend<objc::id>(
        artClass->createInstance(), "initWithFrame:"_sel, CGRectMake(40, SBLockScreenView::kNotificationListTop + 10, side, side)));
    if (!art)
        return nullptr;
    lockScreenView_->setMediaView(art);
    objc::msgSend(lockScreenView_, "_addLockContentUnderlayWithRequester:"_sel, mediaRequester_);
    afterEvent();
    return art;
}

void SpringBoard::stopMedia()
{
    if (!lockScreenView_->mediaView())
        return;
    lockScreenView_->setMediaView(nullptr);
    objc::msgSend(lockScreenView_, "_removeLockContentUnderlayWithRequester:"_sel, mediaRequester_);
    afterEvent();
}

void SpringBoard::updateUnderlayRequest()
{
    const bool wanted = controller_->listItems()->count() > 0;
    if (wanted == listUnderlayRequested_)
        return;
    listUnderlayRequested_ = wanted;
    objc::msgSend(lockScreenView_,
                  wanted ? "_addLockContentUnderlayWithRequester:"_sel : "_removeLockContentUnderlayWithRequester:"_sel,
                  listRequester_);
}

void SpringBoard::layout()
{
    markTreeForLayout(lockScreenView_.get());
    lockScreenView_->layoutIfNeeded();
}

void SpringBoard::tap(CGPoint point, int taps)
{
    if (screenOff_)
        return;
    noteUserActivity();
    simulateTap(lockScreenView_.get(), point, taps);
    afterEvent();
}

void SpringBoard::swipe(CGPoint point, CGPoint translation)
{
    if (screenOff_)
        return;
    noteUserActivity();
    for (UIView* view = lockScreenView_->hitTest(point); view; view = view->superview()) {
        if (auto scrollView = dynamic_cast<UIScrollView*>(view); scrollView && scrollView->isScrollEnabled()) {
            simulateDrag(scrollView, translation, true);
            break;
        }
    }
    afterEvent();
}

void SpringBoard::drag(CGPoint translation, bool decelerate)
{
    if (screenOff_)
        return;
    noteUserActivity();
    simulateDrag(listView_->tableView().get(), translation, decelerate);
    afterEvent();
}

void SpringBoard::afterEvent() { lockScreenView_->layoutIfNeeded(); }

// SpringBoard: the simulated lock-screen host of one process. It builds the lock screen on the
// simulated device's 320 × 568-point screen (lock screen view, notification list view,
// notification list controller, idle timer) and turns the device's events into the host's own
// messages, sent through the runtime so that an injected library's replacements run.
//
// After each event the host lays out what the event changed (a layout pass over views marked
// for layout); layout() lays out the whole tree.
//
// Ownership: SpringBoard owns the lock screen and everything on it. One at a time per process.
#pragma once

#include "springboard/idle_timer.h"
#include "springboard/list_items.h"
#include "springboard/lock_screen_view.h"
#include "springboard/notification_list_controller.h"
#include "springboard/notification_list_view.h"
#include "uikit/geometry.h"

#include <memory>
#include <string>
#include <vector>

class SpringBoard {
public:
    static constexpr const char* kBundleIdentifier = "com.apple.springboard";
    static constexpr const char* kNowPlayingPluginPath =
        "/System/Library/SpringBoardPlugins/NowPlayingArtLockScreen.lockbundle/NowPlayingArtLockScreen";
    static constexpr CGFloat kScreenWidth = 320;
    static constexpr CGFloat kScreenHeight = 568;

    // Builds the lock screen and starts the idle countdown.
    SpringBoard();
    ~SpringBoard();
    SpringBoard(const SpringBoard&) = delete;
    SpringBoard& operator=(const SpringBoard&) = delete;

    // --- Items --------------------------------------------------------------------------
    std::shared_ptr<SBAwayBulletinListItem> addBulletin(const std::string& sectionID, const std::string& title,
                                                        const std::string& message);
    std::shared_ptr<SBAwayCardListItem> addCard(const std::string& identifier, const std::string& title = "");
    std::shared_ptr<SBAwaySystemAlertItem> addSystemAlert(const std::string& title);
    // Any list item (of the host's classes or another). False when it is nil.
    bool addItem(const objc::id& item);
    // Takes the item away, updating the view. False when it is not listed.
    bool removeItem(const objc::id& item);
    // The listed items, newest first.
    std::vector<objc::id> items() const;

    // --- Buttons and screen ---------------------------------------------------------------
    // The home button: wakes a screen that is off, then tells the controller.
    void pressHomeButton();
    // The lock button: tells the controller, then turns the screen off (or on when it is off).
    void pressLockButton();
    void setScreenOff(bool off);
    bool isScreenOff() const { return screenOff_; }
    SBIdleState idleState() const { return idleTimer_.state(); }
    // The user did something: a dimmed screen brightens and the idle countdown starts over.
    void noteUserActivity() { idleTimer_.reset(); }
    bool isIdleTimerDisabled() const { return idleTimer_.isDisabled(); }

    // --- Lock screen events ---------------------------------------------------------------
    // The lock screen goes away (the device is unlocked).
    void teardownList();
    // The pending items move on to the notification centre.
    void clearForNotificationCenter();
    // Media starts playing: loads the now-playing plug-in when needed and shows a new artwork
    // view made through the runtime. Nil when the plug-in is missing.
    std::shared_ptr<UIView> startMedia();
    void stopMedia();
    bool isContentUnderlayShown() const { return lockScreenView_->isContentUnderlayShown(); }

    // --- Layout, touches, views -------------------------------------------------------------
    // Marks every view of the tree for layout and lays the tree out.
    void layout();
    // A tap sequence at a point of the screen; touching the screen is activity. Ignored while
    // the screen is off.
    void tap(CGPoint point, int taps = 1);
    // A finger drag on the notification table (translation in points; positive y pulls down).
    void drag(CGPoint translation, bool decelerate);
    // A finger swipe starting at a point of the screen: it drags the innermost scroll view under
    // the point (a widget's pages, the apps hub) and lets it coast. Nothing under the point
    // scrolls: nothing happens.
    void swipe(CGPoint point, CGPoint translation);

    UIView* rootView() const { return lockScreenView_.get(); }
    const std::shared_ptr<SBLockScreenView>& lockScreenView() const { return lockScreenView_; }
    const std::shared_ptr<SBLockScreenNotificationListView>& listView() const { return listView_; }
    const std::shared_ptr<SBLockScreenNotificationListController>& controller() const { return controller_; }
    const std::shared_ptr<UIView>& mediaView() const { return lockScreenView_->mediaView(); }

private:
    void afterEvent();
    void idleTimerTurnedScreenOff();
    void updateUnderlayRequest();
    void sendButton(const char* name);

    std::shared_ptr<SBLockScreenView> lockScreenView_;
    std::shared_ptr<SBLockScreenNotificationListView> listView_;
    std::shared_ptr<SBLockScreenNotificationListController> controller_;
    SBIdleTimer idleTimer_;
    bool screenOff_ = false;
    // The host's own underlay requesters: the notification list and the media controls.
    objc::id listRequester_;
    objc::id mediaRequester_;
    bool listUnderlayRequested_ = false;
};

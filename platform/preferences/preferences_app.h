// The Settings application of the simulated device. It loads a preference bundle from
// "/Library/PreferenceBundles/<name>.bundle" as the phone's Settings application does (the
// bundle's principal class, a PSListController, becomes the first page, reading its specifier
// lists from the bundle), shows it in a screen-sized window under a navigation bar, and lets a
// user act on it the way a phone user would: by tapping rows, switches, list items, palette
// items and alert buttons, and by typing into text fields (preferences_commands.h gives those
// acts as text commands).
//
// One per process: it owns the window and the pages.
#pragma once

#include "preferences/ps_list_controller.h"
#include "preferences/ps_root_controller.h"
#include "uikit/window.h"

#include <memory>
#include <string>
#include <vector>

class UIAlertController;
class UICollectionView;

class PreferencesApp {
public:
    static constexpr const char* kBundleFolder = "/Library/PreferenceBundles/";

    // A bundle that is missing, does not load, or whose principal class is not a list
    // controller leaves the application without pages: failure() says why.
    explicit PreferencesApp(const std::string& bundleName);
    ~PreferencesApp();
    PreferencesApp(const PreferencesApp&) = delete;
    PreferencesApp& operator=(const PreferencesApp&) = delete;

    bool isReady() const { return failure_.empty(); }
    const std::string& failure() const { return failure_; }
    const std::shared_ptr<UIWindow>& window() const { return window_; }
    const std::shared_ptr<PSRootController>& rootController() const { return root_; }
    // The bundle's first page, and the page on top now (a choice page once one is open).
    std::shared_ptr<PSListController> firstPage() const;
    std::shared_ptr<PSListController> topPage() const;

    // --- What is on screen ----------------------------------------------------------------
    // The controller presented last over the top page (an alert, the colour picker, an alert
    // over the picker), or nil.
    std::shared_ptr<UIViewController> presentedController() const;
    std::shared_ptr<UIAlertController> openAlert() const;
    // The grid of a presented controller (the colour palette, also under an alert), or nil.
    std::shared_ptr<UICollectionView> openGrid() const;

    // A row of the top page by its title, its "keyLabel", its settings key or its identifier
    // (letter case ignored); nil when none matches.
    std::shared_ptr<PSSpecifier> findRow(const std::string& name) const;
    // What a row shows as its value: on/off for switches, the slider's number, the chosen
    // title, a text field's text, or the detail text of other rows.
    std::string shownValue(const std::shared_ptr<PSSpecifier>& row) const;
    // The title a row is known by (its title, else its "keyLabel", else its key).
    static std::string rowTitle(const std::shared_ptr<PSSpecifier>& row);

    // --- Acting on it -----------------------------------------------------------------------
    // Lays the screen out: the navigation bar follows the top page, every view is placed.
    void layOut();
    // Scrolls the row into view and taps its middle. False when the row is not on the top page.
    bool tapRow(const std::shared_ptr<PSSpecifier>& row);
    // Taps the middle of a view on screen. False when the view is not in the window.
    bool tapView(const UIView* view);
    // Scrolls the grid's item into view and taps its middle.
    bool tapGridItem(long item);
    // Runs the main run loop until nothing more is ready (delayed performs with no delay,
    // notifications, work handed back).
    static void settle();
    // A picture of the screen as it stands, laid out first.
    bool snapshot(const std::string& hostPath);

private:
    std::string failure_;
    std::shared_ptr<UIWindow> window_;
    std::shared_ptr<PSRootController> root_;
};

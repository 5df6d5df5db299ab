// VTAppsView, the apps hub: a scrollable row of application icons in the lock screen's
// notification area, one per application (or source) with pending items, each with a badge
// that counts them. In the minimal arrangement a tap on an icon selects its application and
// the notification list shows only that application's items.
//
// The hub owns nothing of the host's data: the list controller hands it the host's own item
// list before every addition or removal and tells it which item came or went. Other parts of
// the library reach it through the runtime (appsHub), so every operation is registered under
// its full selector.
//
// Ownership: the hub owns its icon views (each owns its badge view) and holds the host's list
// strongly; the list view that made it (superView) is a back reference and is not retained.
#pragma once

#include "foundation/ns_array.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_string.h"
#include "tweak/lockscreen/item_groups.h"
#include "uikit/image.h"
#include "uikit/image_view.h"
#include "uikit/scroll_view.h"

#include <memory>
#include <string>
#include <vector>

class VTAppsView : public UIScrollView {
    OBJC_CLASS(VTAppsView, UIScrollView)
public:
    // The group of items of other classes, and of bulletins that carry it as their section.
    static constexpr const char* kNoIdentifier = "noIdentifier";
    // Every change of the row animates over this long.
    static constexpr double kAnimationDuration = 0.4;
    // Icons sit this far below the hub's top edge, whatever its height.
    static constexpr CGFloat kIconTop = 22;
    // Space between two icons (also after the last one).
    static constexpr CGFloat kIconSpacing = 10;

    // "initWithFrame:": nil when the scroll view's own initialiser fails. Starts with an empty
    // item list and no icons, scrolling without indicators, taking touches.
    objc::id initWithFrame(CGRect frame) override;

    // --- Properties ------------------------------------------------------------------------
    // "items" / "setItems:": the host's list object itself (not a copy); only read here. A
    // value that is not an array counts as no list.
    const std::shared_ptr<NSArray>& items() const { return items_; }
    void setItems(const objc::id& items) { items_ = std::dynamic_pointer_cast<NSArray>(items); }
    // "iconImgViews" / "setIconImgViews:": one icon view per group identifier.
    const std::shared_ptr<NSMutableDictionary>& iconImgViews() const { return iconImgViews_; }
    void setIconImgViews(const objc::id& views) { iconImgViews_ = std::dynamic_pointer_cast<NSMutableDictionary>(views); }
    // "minimalHub" / "setMinimalHub:": icons made while it is on take a tap that selects them.
    bool minimalHub() const { return minimalHub_; }
    void setMinimalHub(bool minimal) { minimalHub_ = minimal; }
    // "superView" / "setSuperView:": the notification list view that made the hub.
    objc::id superView() const { return superView_.lock(); }
    void setSuperView(const objc::id& view) { superView_ = view; }
    // "selectedID" / "setSelectedID:": the selected group, nil when none is.
    const std::shared_ptr<NSString>& selectedID() const { return selectedID_; }
    void setSelectedID(const objc::id& identifier) { selectedID_ = std::dynamic_pointer_cast<NSString>(identifier); }

    // --- Items -----------------------------------------------------------------------------
    // "identifierForListItem:": a bulletin's section, a card's identifier, a system alert's
    // title, kNoIdentifier for anything else; nil when the host object has none (and for nil).
    std::shared_ptr<NSString> identifierForListItem(const objc::id& item) const;
    // "iconForListItem:": the picture of the item's application or source. When the host
    // gives none, the generic application icon.
    std::shared_ptr<UIImage> iconForListItem(const objc::id& item) const;

    // --- Host events -----------------------------------------------------------------------
    // "addIconFor:andBadgeCount:": (re)builds the icon of the item's group with a badge of
    // `count` plus the group's items in `items`. An item without identifier changes nothing.
    // The icon is placed by the next showIcons.
    void addIconForAndBadgeCount(const objc::id& item, long count);
    // "removeForItem:": after the item left the host's list, rebuilds its group's icon with
    // the items that remain, or removes the icon (and the selection, when it was the selected
    // group's last item); then lays the row out again.
    void removeForItem(const objc::id& item);

    // --- Layout ----------------------------------------------------------------------------
    // "showIcons": the icons in a row at kIconTop, in the dictionary's order, centred when the
    // row is narrower than the hub, else from x = 0 with a content size that scrolls.
    void showIcons();
    // "removeAppScraps": takes the icons out of the hub and lays them out again.
    void removeAppScraps();
    // "clearAll": takes the icons out and forgets them; the items and the selection stay.
    void clearAll();

    // --- Selection -------------------------------------------------------------------------
    // "iconViewTapped:" (the icon's tap recogniser): selects the tapped icon's group, dims the
    // others, puts the weather sentence back and refreshes the notification list.
    void iconViewTapped(const objc::id& recognizer);
    // "returnToNormal": no selection, every icon at full opacity, the list refreshed.
    void returnToNormal();

    // Geometry from the hub's current height h: icons h / 2, badges h / 4.
    CGFloat iconSide() const;
    CGFloat badgeSide() const;

private:
    // The items of `items` whose identifier is equal to the identifier.
    long itemsInGroup(const NSString& identifier) const;
    // Replaces the group's icon view with a new one showing `count` on its badge.
    void rebuildIcon(const objc::id& item, const std::string& identifier, long count);
    std::shared_ptr<UIImageView> makeBadgeView(long count) const;
    // The icon views in the dictionary's order (entries that are not views are skipped).
    std::vector<std::shared_ptr<UIView>> iconViews() const;

    std::shared_ptr<NSArray> items_;
    std::shared_ptr<NSMutableDictionary> iconImgViews_;
    bool minimalHub_ = false;
    std::weak_ptr<objc::Object> superView_;
    std::shared_ptr<NSString> selectedID_;
    // Counting a group passes over every pending item; each item's group is asked once.
    mutable vantorel::ItemGroups groups_;
};

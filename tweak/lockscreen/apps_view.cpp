#include "tweak/lockscreen/apps_view.h"

#include "common/support_paths.h"
#include "tweak/core/status_text.h"
#include "tweak/core/text_stamping.h"
#include "uikit/screen.h"
#include "uikit/tap_gesture_recognizer.h"

OBJC_REGISTER(VTAppsView,
    c.method<&VTAppsView::initWithFrame>("initWithFrame:");
    c.method<&VTAppsView::items>("items");
    c.method<&VTAppsView::setItems>("setItems:");
    c.method<&VTAppsView::iconImgViews>("iconImgViews");
    c.method<&VTAppsView::setIconImgViews>("setIconImgViews:");
    c.method<&VTAppsView::minimalHub>("minimalHub");
    c.method<&VTAppsView::setMinimalHub>("setMinimalHub:");
    c.method<&VTAppsView::superView>("superView");
    c.method<&VTAppsView::setSuperView>("setSuperView:");
    c.method<&VTAppsView::selectedID>("selectedID");
    c.method<&VTAppsView::setSelectedID>("setSelectedID:");
    c.method<&VTAppsView::identifierForListItem>("identifierForListItem:");
    c.method<&VTAppsView::iconForListItem>("iconForListItem:");
    c.method<&VTAppsView::addIconForAndBadgeCount>("addIconFor:andBadgeCount:");
    c.method<&VTAppsView::removeForItem>("removeForItem:");
    c.method<&VTAppsView::showIcons>("showIcons");
    c.method<&VTAppsView::removeAppScraps>("removeAppScraps");
    c.method<&VTAppsView::clearAll>("clearAll");
    c.method<&VTAppsView::iconViewTapped>("iconViewTapped:");
    c.method<&VTAppsView::returnToNormal>("returnToNormal");)

namespace {

// The host's item classes, found by name at first use and kept from then on. The library is
// loaded into a host that has them; until one is found it is looked for again.
struct ItemClass {
    const char* name;
    objc::Class cls = nullptr;

    bool matches(const objc::Object& item)
    {
        if (!cls)
            cls = objc::objc_getClass(name);
        return cls && item.isKindOfClass(cls);
    }
};

constinit ItemClass bulletinItemClass{"SBAwayBulletinListItem"};
constinit ItemClass cardItemClass{"SBAwayCardListItem"};
constinit ItemClass systemAlertItemClass{"SBAwaySystemAlertItem"};

constexpr const char* kCalendarIdentifier = "com.apple.mobilecal";

// A getter of a host object; nil when the object is nil or does not answer it.
objc::id get(const objc::id& object, objc::SEL sel) { return objc::msgSendIfResponds<objc::id>(object, sel); }

template <class T>
std::shared_ptr<T> getAs(const objc::id& object, objc::SEL sel)
{
    return std::dynamic_pointer_cast<T>(get(object, sel));
}

// The toolkit's icon lookup by bundle identifier; a nil identifier gives the generic icon.
std::shared_ptr<UIImage> iconForBundleIdentifier(const std::shared_ptr<NSString>& identifier, long format)
{
    const double scale = UIScreen::mainScreen()->scale();
    return std::dynamic_pointer_cast<UIImage>(objc::msgSendIfResponds<objc::id>(
        UIImage::class_(), "_applicationIconImageForBundleIdentifier:format:scale:"_sel, objc::id(identifier), format,
        scale));
}

// The host's home-screen icon of the installed application, found through the application
// controller with whichever lookup the host answers; without an application, the icon the host
// makes for none.
std::shared_ptr<UIImage> applicationIcon(const std::shared_ptr<NSString>& identifier)
{
    objc::id controller;
    if (objc::Class controllerClass = objc::objc_getClass("SBApplicationController"))
        controller = objc::msgSendIfResponds<objc::id>(controllerClass, "sharedInstance"_sel);
    objc::id application;
    if (objc::respondsToSelector(controller.get(), "applicationWithBundleIdentifier:"_sel))
        application = objc::msgSend<objc::id>(controller, "applicationWithBundleIdentifier:"_sel, objc::id(identifier));
    else if (objc::respondsToSelector(controller.get(), "applicationWithDisplayIdentifier:"_sel))
        application = objc::msgSend<objc::id>(controller, "applicationWithDisplayIdentifier:"_sel, objc::id(identifier));

    objc::Class iconClass = objc::objc_getClass("SBApplicationIcon");
    objc::id icon = iconClass ? iconClass->createInstance() : nullptr;
    icon = objc::msgSendIfResponds<objc::id>(icon, "initWithApplication:"_sel, application);
    return std::dynamic_pointer_cast<UIImage>(objc::msgSendIfResponds<objc::id>(icon, "generateIconImage:"_sel, 2L));
}

} // namespace

objc::id VTAppsView::initWithFrame(CGRect frame)
{
    if (!UIScrollView::initWithFrame(frame))
        return nullptr;
    items_ = NSMutableArray::array();
    iconImgViews_ = NSMutableDictionary::dictionary();
    setShowsVerticalScrollIndicator(false);
    setShowsHorizontalScrollIndicator(false);
    setScrollEnabled(true);
    setUserInteractionEnabled(true);
    return self();
}

CGFloat VTAppsView::iconSide() const
{
    const CGFloat h = frame().size.height;
    return h - h * 0.5;
}

CGFloat VTAppsView::badgeSide() const { return frame().size.height * 0.25; }

std::shared_ptr<NSString> VTAppsView::identifierForListItem(const objc::id& item) const
{
    if (!item)
        return nullptr;
    if (bulletinItemClass.matches(*item))
        return getAs<NSString>(get(item, "activeBulletin"_sel), "sectionID"_sel);
    if (cardItemClass.matches(*item))
        return getAs<NSString>(get(item, "cardItem"_sel), "identifier"_sel);
    if (systemAlertItemClass.matches(*item))
        return getAs<NSString>(item, "title"_sel);
    return NSStr(kNoIdentifier);
}

std::shared_ptr<UIImage> VTAppsView::iconForListItem(const objc::id& item) const
{
    std::shared_ptr<UIImage> image;
    if (item && bulletinItemClass.matches(*item)) {
        const std::shared_ptr<NSString> identifier = identifierForListItem(item);
        if (identifier && identifier->isEqualToString(kCalendarIdentifier))
            image = iconForBundleIdentifier(identifier, 0);
        else if (identifier && identifier->isEqualToString(kNoIdentifier))
            image = getAs<UIImage>(item, "iconImage"_sel);
        else
            image = applicationIcon(identifier);
    } else if (item && cardItemClass.matches(*item)) {
        image = getAs<UIImage>(item, "cardThumbnail"_sel);
    } else if (item && systemAlertItemClass.matches(*item)) {
        image = getAs<UIImage>(item, "iconImage"_sel);
    }
    // Other sources, and an application or item without a picture, show the generic icon
    // rather than an empty square.
    return image ? image : iconForBundleIdentifier(nullptr, 0);
}

long VTAppsView::itemsInGroup(const NSString& identifier) const
{
    if (!items_)
        return 0;
    // The host's list is only read, and stays as it is while we count.
    return groups_.count(*items_, identifier, [this](const objc::id& item) { return identifierForListItem(item); });
}

void VTAppsView::addIconForAndBadgeCount(const objc::id& item, long count)
{
    const std::shared_ptr<NSString> identifier = identifierForListItem(item);
    if (!identifier)
        return;
    rebuildIcon(item, identifier->string(), count + itemsInGroup(*identifier));
}

void VTAppsView::removeForItem(const objc::id& item)
{
    // An item without identifier never had an icon: there is nothing to rebuild or remove.
    if (const std::shared_ptr<NSString> identifier = identifierForListItem(item)) {
        const long remaining = itemsInGroup(*identifier);
        if (remaining >= 1) {
            rebuildIcon(item, identifier->string(), remaining);
        } else {
            if (iconImgViews_) {
                if (auto view = std::dynamic_pointer_cast<UIView>(iconImgViews_->objectForKey(identifier->string())))
                    view->removeFromSuperview();
                iconImgViews_->removeObjectForKey(identifier->string());
            }
            if (selectedID_ && selectedID_->isEqualToString(identifier)) {
                selectedID_ = nullptr;
                UIView::animateWithDurationAnimations(kAnimationDuration, [this] {
                    for (const auto& view : iconViews())
                        view->setAlpha(1.0);
                });
                updateNotificationTableView();
            }
        }
    }
    removeAppScraps();
}

std::shared_ptr<UIImageView> VTAppsView::makeBadgeView(long count) const
{
    // Read each time, so a picture changed on disk shows at the next change of a count. A
    // missing or empty picture draws no badge (and no count) at all.
    const std::shared_ptr<UIImage> picture = UIImage::imageWithContentsOfFile(std::string(vantorel::BadgePicture));
    if (!picture || picture->size().width <= 0 || picture->size().height <= 0)
        return nullptr;
    const CGFloat side = badgeSide();
    auto badge = UIView::create<UIImageView>(CGRectMake(0, 0, side, side));
    if (!badge)
        return nullptr;
    // The count's text starts near the badge's centre; two digits and more start 5 points
    // further left so that they stay on the badge.
    const CGPoint centre{CGRectGetMidX(badge->frame()), CGRectGetMidY(badge->frame())};
    const CGPoint point = count < 10 ? CGPointMake(centre.x, centre.y - 5) : CGPointMake(centre.x - 5, centre.y - 5);
    badge->setImage(drawTextInImage2(std::to_string(count), picture, point));
    return badge;
}

void VTAppsView::rebuildIcon(const objc::id& item, const std::string& identifier, long count)
{
    if (!iconImgViews_)
        return;
    // The group keeps its place in the dictionary, so the row does not reshuffle when a
    // count changes.
    if (auto old = std::dynamic_pointer_cast<UIView>(iconImgViews_->objectForKey(identifier)))
        old->removeFromSuperview();

    const CGFloat side = iconSide();
    auto icon = UIView::create<UIImageView>(CGRectMake(0, 0, side, side));
    if (!icon)
        return;
    icon->setImage(iconForListItem(item));
    if (auto badge = makeBadgeView(count)) {
        const CGRect iconFrame = icon->frame();
        badge->setCenter(CGPointMake(CGRectGetMaxX(iconFrame), CGRectGetMinY(iconFrame)));
        icon->addSubview(badge);
    }
    if (minimalHub_) {
        icon->setUserInteractionEnabled(true);
        auto tap = UITapGestureRecognizer::create(self(), "iconViewTapped:"_sel);
        tap->setNumberOfTapsRequired(1);
        icon->addGestureRecognizer(tap);
    }
    iconImgViews_->setObjectForKey(icon, identifier);
}

std::vector<std::shared_ptr<UIView>> VTAppsView::iconViews() const
{
    std::vector<std::shared_ptr<UIView>> views;
    if (!iconImgViews_)
        return views;
    for (const auto& [key, value] : *iconImgViews_)
        if (auto view = std::dynamic_pointer_cast<UIView>(value))
            views.push_back(std::move(view));
    return views;
}

void VTAppsView::showIcons()
{
    const CGFloat side = iconSide();
    const CGFloat step = side + kIconSpacing;
    const CGFloat total = static_cast<CGFloat>(iconImgViews_ ? iconImgViews_->count() : 0) * step;
    setContentSize(CGSizeMake(total, frame().size.height));
    // The spacing after the last icon counts too: a short row sits 5 points left of centre.
    CGFloat x = (frame().size.width - total) * 0.5;
    if (x < 0)
        x = 0;
    UIView::animateWithDurationAnimations(kAnimationDuration, [&] {
        for (const auto& view : iconViews()) {
            view->setFrame(CGRectMake(x, kIconTop, side, side));
            addSubview(view);
            x += step;
        }
    });
}

void VTAppsView::removeAppScraps()
{
    UIView::animateWithDurationAnimations(kAnimationDuration, [this] {
        for (const auto& view : iconViews())
            view->removeFromSuperview();
    });
    showIcons();
}

void VTAppsView::clearAll()
{
    UIView::animateWithDurationAnimations(kAnimationDuration, [this] {
        for (const auto& view : iconViews())
            view->removeFromSuperview();
        if (iconImgViews_)
            iconImgViews_->removeAllObjects();
    });
    showIcons();
}

void VTAppsView::iconViewTapped(const objc::id& recognizer)
{
    auto tap = std::dynamic_pointer_cast<UIGestureRecognizer>(recognizer);
    UIView* tapped = tap ? tap->view() : nullptr;
    if (!tapped)
        return;
    // The icon's centre is in the content, the hub's in its superview: the result is not
    // clamped, so an icon near either end scrolls as far as the difference says.
    setContentOffsetAnimated(CGPointMake(tapped->center().x - center().x, 0), true);

    selectedID_ = nullptr;
    if (iconImgViews_) {
        for (const auto& [key, value] : *iconImgViews_) {
            if (value.get() == tapped) {
                selectedID_ = NSStr(key);
                break;
            }
        }
    }
    UIView::animateWithDurationAnimations(kAnimationDuration, [&] {
        for (const auto& view : iconViews())
            view->setAlpha(view.get() == tapped ? 1.0 : 0.4);
        showTempString();
    });
    updateNotificationTableView();
}

void VTAppsView::returnToNormal()
{
    selectedID_ = nullptr;
    UIView::animateWithDurationAnimations(kAnimationDuration, [this] {
        for (const auto& view : iconViews())
            view->setAlpha(1.0);
    });
    updateNotificationTableView();
}

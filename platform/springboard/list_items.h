// The items of the lock screen's notification list: a bulletin, a card or a system alert. Each
// also says how the host's table shows it (title, detail, picture, row height).
#pragma once

#include "foundation/ns_string.h"
#include "springboard/bulletin.h"
#include "springboard/card_item.h"
#include "uikit/geometry.h"
#include "uikit/image.h"

#include <memory>
#include <string>

class SBAwayListItem : public objc::Object {
    OBJC_CLASS(SBAwayListItem, objc::Object)
public:
    // The host's own row height for the item.
    virtual CGFloat rowHeight() const { return 80; }
    virtual std::string rowTitle() const { return {}; }
    virtual std::string rowDetail() const { return {}; }
    virtual std::shared_ptr<UIImage> rowImage() const { return nullptr; }
};

class SBAwayBulletinListItem : public SBAwayListItem {
    OBJC_CLASS(SBAwayBulletinListItem, SBAwayListItem)
public:
    static constexpr CGFloat kRowHeight = 80;

    SBAwayBulletinListItem() = default;
    static std::shared_ptr<SBAwayBulletinListItem> itemWithBulletin(std::shared_ptr<BBBulletin> bulletin);

    std::shared_ptr<BBBulletin> activeBulletin() const { return bulletin_; }
    // The small icon of the application that posted the bulletin (the generic icon when it is not
    // installed).
    std::shared_ptr<UIImage> iconImage() const;

    CGFloat rowHeight() const override { return kRowHeight; }
    std::string rowTitle() const override;
    std::string rowDetail() const override;
    std::shared_ptr<UIImage> rowImage() const override { return iconImage(); }

private:
    std::shared_ptr<BBBulletin> bulletin_;
};

class SBAwayCardListItem : public SBAwayListItem {
    OBJC_CLASS(SBAwayCardListItem, SBAwayListItem)
public:
    static constexpr CGFloat kRowHeight = 100;

    SBAwayCardListItem() = default;
    static std::shared_ptr<SBAwayCardListItem> itemWithCardItem(std::shared_ptr<SBCardItem> card);

    std::shared_ptr<SBCardItem> cardItem() const { return card_; }
    // A small picture of the card, drawn once.
    std::shared_ptr<UIImage> cardThumbnail() const;

    CGFloat rowHeight() const override { return kRowHeight; }
    std::string rowTitle() const override;
    std::shared_ptr<UIImage> rowImage() const override { return cardThumbnail(); }

private:
    std::shared_ptr<SBCardItem> card_;
    mutable std::shared_ptr<UIImage> thumbnail_;
};

class SBAwaySystemAlertItem : public SBAwayListItem {
    OBJC_CLASS(SBAwaySystemAlertItem, SBAwayListItem)
public:
    static constexpr CGFloat kRowHeight = 64;

    SBAwaySystemAlertItem() = default;
    static std::shared_ptr<SBAwaySystemAlertItem> itemWithTitle(const std::string& title);

    std::shared_ptr<NSString> title() const { return title_; }
    // The system's alert icon.
    std::shared_ptr<UIImage> iconImage() const;

    CGFloat rowHeight() const override { return kRowHeight; }
    std::string rowTitle() const override { return title_->string(); }
    std::shared_ptr<UIImage> rowImage() const override { return iconImage(); }

private:
    std::shared_ptr<NSString> title_ = NSString::stringWithString("");
    mutable std::shared_ptr<UIImage> icon_;
};

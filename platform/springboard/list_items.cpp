#include "springboard/list_items.h"

#include "springboard/application_icon.h"
#include "springboard/icon_drawing.h"

std::shared_ptr<SBAwayBulletinListItem> SBAwayBulletinListItem::itemWithBulletin(std::shared_ptr<BBBulletin> bulletin)
{
    auto item = std::make_shared<SBAwayBulletinListItem>();
    item->bulletin_ = std::move(bulletin);
    return item;
}

std::shared_ptr<UIImage> SBAwayBulletinListItem::iconImage() const
{
    const std::string section = bulletin_ ? bulletin_->sectionID()->string() : "";
    return springboard::applicationIconImage(section, springboard::kIconFormatSmall, 0);
}

std::string SBAwayBulletinListItem::rowTitle() const { return bulletin_ ? bulletin_->title()->string() : ""; }

std::string SBAwayBulletinListItem::rowDetail() const { return bulletin_ ? bulletin_->message()->string() : ""; }

std::shared_ptr<SBAwayCardListItem> SBAwayCardListItem::itemWithCardItem(std::shared_ptr<SBCardItem> card)
{
    auto item = std::make_shared<SBAwayCardListItem>();
    item->card_ = std::move(card);
    return item;
}

std::shared_ptr<UIImage> SBAwayCardListItem::cardThumbnail() const
{
    if (!thumbnail_)
        thumbnail_ = springboard::drawCardThumbnail(rowTitle(), 0);
    return thumbnail_;
}

std::string SBAwayCardListItem::rowTitle() const
{
    if (!card_)
        return {};
    const std::string title = card_->title()->string();
    return title.empty() ? card_->identifier()->string() : title;
}

std::shared_ptr<SBAwaySystemAlertItem> SBAwaySystemAlertItem::itemWithTitle(const std::string& title)
{
    auto item = std::make_shared<SBAwaySystemAlertItem>();
    item->title_ = NSString::stringWithString(title);
    return item;
}

std::shared_ptr<UIImage> SBAwaySystemAlertItem::iconImage() const
{
    if (!icon_)
        icon_ = springboard::drawSystemAlertIcon(0);
    return icon_;
}

OBJC_REGISTER(SBAwayListItem)
OBJC_REGISTER(SBAwayBulletinListItem,
    c.method<&SBAwayBulletinListItem::activeBulletin>("activeBulletin");
    c.method<&SBAwayBulletinListItem::iconImage>("iconImage");)
OBJC_REGISTER(SBAwayCardListItem,
    c.method<&SBAwayCardListItem::cardItem>("cardItem");
    c.method<&SBAwayCardListItem::cardThumbnail>("cardThumbnail");)
OBJC_REGISTER(SBAwaySystemAlertItem,
    c.method<&SBAwaySystemAlertItem::title>("title");
    c.method<&SBAwaySystemAlertItem::iconImage>("iconImage");)

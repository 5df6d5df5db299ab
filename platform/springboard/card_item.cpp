#include "springboard/card_item.h"

std::shared_ptr<SBCardItem> SBCardItem::cardItem(const std::string& identifier, const std::string& title)
{
    auto card = std::make_shared<SBCardItem>();
    card->identifier_ = NSString::stringWithString(identifier);
    card->title_ = NSString::stringWithString(title);
    return card;
}

OBJC_REGISTER(SBCardItem,
    c.method<&SBCardItem::identifier>("identifier");
    c.method<&SBCardItem::title>("title");)

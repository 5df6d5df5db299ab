// SBCardItem: a card the lock screen shows in place of a bulletin (a pass, a reminder card):
// an identifier naming what it belongs to and a title.
#pragma once

#include "foundation/ns_string.h"
#include "objc/objc.h"

#include <memory>
#include <string>

class SBCardItem : public objc::Object {
    OBJC_CLASS(SBCardItem, objc::Object)
public:
    SBCardItem() = default;
    static std::shared_ptr<SBCardItem> cardItem(const std::string& identifier, const std::string& title);

    std::shared_ptr<NSString> identifier() const { return identifier_; }
    std::shared_ptr<NSString> title() const { return title_; }

private:
    std::shared_ptr<NSString> identifier_ = NSString::stringWithString("");
    std::shared_ptr<NSString> title_ = NSString::stringWithString("");
};

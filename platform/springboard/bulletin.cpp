#include "springboard/bulletin.h"

std::shared_ptr<BBBulletin> BBBulletin::bulletin(const std::string& sectionID, const std::string& title,
                                                 const std::string& message)
{
    auto b = std::make_shared<BBBulletin>();
    b->sectionID_ = NSString::stringWithString(sectionID);
    b->title_ = NSString::stringWithString(title);
    b->message_ = NSString::stringWithString(message);
    return b;
}

std::string BBBulletin::description() const
{
    return "<BBBulletin " + sectionID_->string() + ": " + title_->string() + ">";
}

OBJC_REGISTER(BBBulletin,
    c.method<&BBBulletin::sectionID>("sectionID");
    c.method<&BBBulletin::title>("title");
    c.method<&BBBulletin::message>("message");)

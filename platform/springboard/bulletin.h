// BBBulletin: one notification as the bulletin board hands it to the lock screen: the posting
// application's bundle identifier (its section), a title and a message.
#pragma once

#include "foundation/ns_string.h"
#include "objc/objc.h"

#include <memory>
#include <string>

class BBBulletin : public objc::Object {
    OBJC_CLASS(BBBulletin, objc::Object)
public:
    BBBulletin() = default;
    static std::shared_ptr<BBBulletin> bulletin(const std::string& sectionID, const std::string& title,
                                                const std::string& message);

    // The bundle identifier of the application that posted the bulletin.
    std::shared_ptr<NSString> sectionID() const { return sectionID_; }
    std::shared_ptr<NSString> title() const { return title_; }
    std::shared_ptr<NSString> message() const { return message_; }
    std::string description() const override;

private:
    std::shared_ptr<NSString> sectionID_ = NSString::stringWithString("");
    std::shared_ptr<NSString> title_ = NSString::stringWithString("");
    std::shared_ptr<NSString> message_ = NSString::stringWithString("");
};

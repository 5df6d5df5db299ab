// NSError: a failure reported to a caller: a domain, a code and a readable description.
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string>

class NSError : public objc::Object {
    OBJC_CLASS(NSError, objc::Object)
public:
    NSError() = default;
    NSError(std::string domain, long code, std::string localizedDescription);
    static std::shared_ptr<NSError> errorWithDomainCodeDescription(std::string domain, long code,
                                                                   std::string localizedDescription);

    const std::string& domain() const { return domain_; }
    long code() const { return code_; }
    const std::string& localizedDescription() const { return description_; }
    // "Error Domain=<domain> Code=<code> "<description>"", as the platform prints errors.
    std::string description() const override;

private:
    std::string domain_;
    long code_ = 0;
    std::string description_;
};

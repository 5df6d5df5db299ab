#include "foundation/ns_error.h"

NSError::NSError(std::string domain, long code, std::string localizedDescription)
    : domain_(std::move(domain)), code_(code), description_(std::move(localizedDescription))
{
}

std::shared_ptr<NSError> NSError::errorWithDomainCodeDescription(std::string domain, long code,
                                                                 std::string localizedDescription)
{
    return std::make_shared<NSError>(std::move(domain), code, std::move(localizedDescription));
}

std::string NSError::description() const
{
    return "Error Domain=" + domain_ + " Code=" + std::to_string(code_) + " \"" + description_ + "\"";
}

OBJC_REGISTER(NSError, c.method<&NSError::code>("code");)

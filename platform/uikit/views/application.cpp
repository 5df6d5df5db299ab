#include "uikit/application.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

std::string lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The scheme of an address, lower-cased; nothing when the address has no valid one.
std::optional<std::string> schemeOf(const std::string& url)
{
    const auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(url[0])))
        return std::nullopt;
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(url[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return std::nullopt;
    }
    return lowercase(url.substr(0, colon));
}

} // namespace

std::shared_ptr<UIApplication> UIApplication::sharedApplication()
{
    // Never destroyed: windows ask for it while the process exits.
    static const auto* application = new std::shared_ptr<UIApplication>(std::make_shared<UIApplication>());
    return *application;
}

void UIApplication::setInstalledURLSchemes(const std::vector<std::string>& schemes)
{
    schemes_.clear();
    for (const auto& scheme : schemes)
        schemes_.insert(lowercase(scheme));
}

bool UIApplication::canOpenURL(const std::string& url) const
{
    const auto scheme = schemeOf(url);
    if (!scheme)
        return false;
    return *scheme == "http" || *scheme == "https" || schemes_.contains(*scheme);
}

bool UIApplication::openURL(const std::string& url)
{
    if (!canOpenURL(url))
        return false;
    opened_.push_back(url);
    if (openHandler_)
        openHandler_(url);
    return true;
}

void UIApplication::_relaunchSpringBoardNow()
{
    if (relaunchHandler_)
        relaunchHandler_();
}

OBJC_REGISTER(UIApplication,
    c.classMethod<&UIApplication::sharedApplication>("sharedApplication");
    c.method<&UIApplication::_relaunchSpringBoardNow>("_relaunchSpringBoardNow");)

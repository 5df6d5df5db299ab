// The application object of the process: opens addresses in other applications and
// relaunches the host. Which applications are installed (by the address schemes they answer)
// is a setting of the simulated device.
#pragma once

#include "uikit/responder.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class UIWindow;

class UIApplication : public UIResponder {
    OBJC_CLASS(UIApplication, UIResponder)
public:
    // One per process.
    static std::shared_ptr<UIApplication> sharedApplication();

    // Schemes compare without regard to letter case ("Twitter" is "twitter").
    void setInstalledURLSchemes(const std::vector<std::string>& schemes);
    const std::set<std::string>& installedURLSchemes() const { return schemes_; }

    // True when the address's scheme is http or https or belongs to an installed application.
    // An address without a valid scheme ("name:" with a letter first, then letters, digits,
    // "+", "-" or ".") cannot be opened.
    bool canOpenURL(const std::string& url) const;
    // Opens the address when it can be opened: it is recorded and the open handler (if any)
    // sees it. Answers whether it was opened.
    bool openURL(const std::string& url);
    const std::vector<std::string>& openedURLs() const { return opened_; }
    void clearOpenedURLs() { opened_.clear(); }
    void setOpenURLHandler(std::function<void(const std::string&)> handler) { openHandler_ = std::move(handler); }

    // Runtime selector "_relaunchSpringBoardNow": restarts the host process by calling the
    // handler that the host installed. Without a handler nothing happens.
    void _relaunchSpringBoardNow();
    void setRelaunchHandler(std::function<void()> handler) { relaunchHandler_ = std::move(handler); }

    // The window that receives events (not retained; a window clears it when it goes away).
    UIWindow* keyWindow() const { return keyWindow_; }
    void setKeyWindow(UIWindow* window) { keyWindow_ = window; }

private:
    std::set<std::string> schemes_;
    std::vector<std::string> opened_;
    std::function<void(const std::string&)> openHandler_;
    std::function<void()> relaunchHandler_;
    UIWindow* keyWindow_ = nullptr;
};

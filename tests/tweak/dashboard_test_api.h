// Test access to the dashboard of the built library inside the host: the library is loaded as
// the host's substrate loader loads it (once per process), and its process-wide views and
// settings are found by their exported names. The host's own underlay method is wrapped
// before the library installs its hooks, so the calls that reach the host can be counted.
#pragma once

#include "foundation/notification_center.h"
#include "objc/objc.h"
#include "uikit/image.h"
#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/table_view.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class _UIBackdropView;

namespace vantorel {
struct Settings;
}

namespace dashboardtest {

class DashboardTestApi {
public:
    // Loads the library (installing its hooks with the settings of the current device root) the
    // first time; later calls reload its settings, as "loadVantorelS" would. Nil when the
    // library cannot be loaded.
    static DashboardTestApi* start();

    vantorel::Settings& settings() const { return *settings_; }

    std::shared_ptr<UILabel>& greetingLabel() const { return *greetingLabel_; }
    std::shared_ptr<UILabel>& tempStringLabel() const { return *tempStringLabel_; }
    std::shared_ptr<UIImageView>& imgCalender() const { return *imgCalender_; }
    std::shared_ptr<UIImageView>& imgNotifications() const { return *imgNotifications_; }
    std::shared_ptr<UIView>& widgetPanel() const { return *widgetPanel_; }
    std::shared_ptr<UIView>& notificationsPanel() const { return *notificationsPanel_; }
    std::shared_ptr<UIView>& tabView() const { return *tabView_; }
    std::shared_ptr<UIView>& minimalTablePanel() const { return *minimalTablePanel_; }
    objc::id& appsHub() const { return *appsHub_; }
    objc::id& widgetHost() const { return *widgetHost_; }
    objc::id& widgetSelector() const { return *widgetSelector_; }
    std::shared_ptr<_UIBackdropView>& lockScreenBackdrop() const { return *lockScreenBackdrop_; }
    const std::string& goneAlertLabel() const { return goneAlertLabel_->value(); }
    const std::string& goneSleepAlertLabel() const { return goneSleepAlertLabel_->value(); }

    // The library's own stamping (the glyph colour, bold 16 points).
    std::shared_ptr<UIImage> drawTextInImage(const std::string& text, const std::shared_ptr<UIImage>& image,
                                             CGPoint point) const
    {
        return drawTextInImage_(text, image, point);
    }
    std::string getTempString() const { return getTempString_(); }
    std::string dateStatusString() const { return dateStatusString_(); }

    // The requesters of the calls that reached the host's "_addLockContentUnderlayWithRequester:"
    // since the last clear.
    static std::vector<objc::id>& hostUnderlayCalls();

private:
    DashboardTestApi() = default;
    bool find(void* library);

    vantorel::Settings* settings_ = nullptr;
    std::shared_ptr<UILabel>* greetingLabel_ = nullptr;
    std::shared_ptr<UILabel>* tempStringLabel_ = nullptr;
    std::shared_ptr<UIImageView>* imgCalender_ = nullptr;
    std::shared_ptr<UIImageView>* imgNotifications_ = nullptr;
    std::shared_ptr<UIView>* widgetPanel_ = nullptr;
    std::shared_ptr<UIView>* notificationsPanel_ = nullptr;
    std::shared_ptr<UIView>* tabView_ = nullptr;
    std::shared_ptr<UIView>* minimalTablePanel_ = nullptr;
    objc::id* appsHub_ = nullptr;
    objc::id* widgetHost_ = nullptr;
    objc::id* widgetSelector_ = nullptr;
    std::shared_ptr<_UIBackdropView>* lockScreenBackdrop_ = nullptr;
    std::optional<std::string>* goneAlertLabel_ = nullptr;
    std::optional<std::string>* goneSleepAlertLabel_ = nullptr;
    std::shared_ptr<UIImage> (*drawTextInImage_)(const std::string&, const std::shared_ptr<UIImage>&, CGPoint) = nullptr;
    std::string (*getTempString_)() = nullptr;
    std::string (*dateStatusString_)() = nullptr;
    CFNotificationCallback loadSettings_ = nullptr;
};

} // namespace dashboardtest

#include "tweak/lockscreen/dashboard_views.h"

#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/table_view.h"

constinit std::shared_ptr<UILabel> greetingLabel;
constinit std::shared_ptr<UILabel> tempStringLabel;
constinit std::shared_ptr<UIImageView> imgCalender;
constinit std::shared_ptr<UIImageView> imgNotifications;
constinit std::shared_ptr<UIView> widgetPanel;
constinit std::shared_ptr<UIView> notificationsPanel;
constinit std::shared_ptr<UIView> tabView;
constinit std::shared_ptr<UIView> minimalTablePanel;
constinit objc::id appsHub;
constinit objc::id widgetHost;
constinit objc::id widgetSelector;
constinit std::shared_ptr<UITableView> notificationTableView;
constinit objc::id notificationListView;

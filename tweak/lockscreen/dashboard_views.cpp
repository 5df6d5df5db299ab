#include "tweak/lockscreen/dashboard_views.h"

#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/table_view.h"

std::shared_ptr<UILabel> greetingLabel;
std::shared_ptr<UILabel> tempStringLabel;
std::shared_ptr<UIImageView> imgCalender;
std::shared_ptr<UIImageView> imgNotifications;
std::shared_ptr<UIView> widgetPanel;
std::shared_ptr<UIView> notificationsPanel;
std::shared_ptr<UIView> tabView;
std::shared_ptr<UIView> minimalTablePanel;
objc::id appsHub;
objc::id widgetHost;
objc::id widgetSelector;
std::shared_ptr<UITableView> notificationTableView;
objc::id notificationListView;

// The dashboard's views inside the host, one set per process (the newest lock screen's). Made
// when the host builds its notification list view; nil until then. Strong references.
#pragma once

#include "objc/objc.h"

#include <memory>

class UILabel;
class UIImageView;
class UITableView;
class UIView;

extern std::shared_ptr<UILabel> greetingLabel;
extern std::shared_ptr<UILabel> tempStringLabel;
extern std::shared_ptr<UIImageView> imgCalender;
extern std::shared_ptr<UIImageView> imgNotifications;
extern std::shared_ptr<UIView> widgetPanel;
extern std::shared_ptr<UIView> notificationsPanel;
extern std::shared_ptr<UIView> tabView;
extern std::shared_ptr<UIView> minimalTablePanel;
// The apps hub, the widget host and the widget selector; reached through the runtime.
extern objc::id appsHub;
extern objc::id widgetHost;
extern objc::id widgetSelector;
// The host's notification table and list view, recorded at each layout pass.
extern std::shared_ptr<UITableView> notificationTableView;
extern objc::id notificationListView;

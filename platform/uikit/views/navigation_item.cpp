#include "uikit/navigation_item.h"

OBJC_REGISTER(UINavigationItem,
    c.method<&UINavigationItem::leftBarButtonItem>("leftBarButtonItem");
    c.method<&UINavigationItem::setLeftBarButtonItem>("setLeftBarButtonItem:");
    c.method<&UINavigationItem::setLeftBarButtonItemAnimated>("setLeftBarButtonItem:animated:");
    c.method<&UINavigationItem::rightBarButtonItem>("rightBarButtonItem");
    c.method<&UINavigationItem::setRightBarButtonItem>("setRightBarButtonItem:");
    c.method<&UINavigationItem::setRightBarButtonItemAnimated>("setRightBarButtonItem:animated:");)

#include "uikit/window.h"

#include "uikit/application.h"

UIWindow::~UIWindow()
{
    auto app = UIApplication::sharedApplication();
    if (app->keyWindow() == this)
        app->setKeyWindow(nullptr);
}

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> controller)
{
    if (rootViewController_ && rootViewController_->isViewLoaded() &&
        rootViewController_->view()->superview() == this)
        rootViewController_->view()->removeFromSuperview();
    rootViewController_ = std::move(controller);
    if (!rootViewController_)
        return;
    const auto& view = rootViewController_->view();
    view->setFrame(bounds());
    view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    addSubview(view);
}

void UIWindow::makeKeyAndVisible()
{
    setHidden(false);
    UIApplication::sharedApplication()->setKeyWindow(this);
}

bool UIWindow::isKeyWindow() const { return UIApplication::sharedApplication()->keyWindow() == this; }

OBJC_REGISTER(UIWindow,
    c.method<&UIWindow::rootViewController>("rootViewController");
    c.method<&UIWindow::setRootViewController>("setRootViewController:");
    c.method<&UIWindow::makeKeyAndVisible>("makeKeyAndVisible");)

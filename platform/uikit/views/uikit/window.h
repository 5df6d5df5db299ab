// Windows: the root view of a screen's view tree, showing a root view controller's view.
#pragma once

#include "uikit/view.h"
#include "uikit/view_controller.h"

class UIWindow : public UIView {
    OBJC_CLASS(UIWindow, UIView)
public:
    ~UIWindow() override;

    // The controller's view fills the window and follows its size; the previous root's view
    // leaves the window.
    const std::shared_ptr<UIViewController>& rootViewController() const { return rootViewController_; }
    void setRootViewController(std::shared_ptr<UIViewController> controller);

    // Shows the window and makes it the application's key window.
    void makeKeyAndVisible();
    bool isKeyWindow() const;

private:
    std::shared_ptr<UIViewController> rootViewController_;
};

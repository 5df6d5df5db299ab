#include "uikit/view_controller.h"

#include "uikit/screen.h"
#include "uikit/window.h"

using objc::operator""_sel;

UIViewController::~UIViewController()
{
    if (view_ && view_->viewController() == this)
        view_->setViewController(nullptr);
    if (presented_)
        presented_->presenting_ = nullptr;
}

const std::shared_ptr<UIView>& UIViewController::view()
{
    // A loadView that asks for the view itself gets nil rather than an endless recursion.
    if (view_ || loadingView_)
        return view_;
    const auto keep = selfAs<UIViewController>();
    loadingView_ = true;
    objc::msgSend(this, "loadView"_sel);
    loadingView_ = false;
    if (!view_)
        setView(UIView::create(UIScreen::mainScreen()->bounds()));
    objc::msgSend(this, "viewDidLoad"_sel);
    return view_;
}

void UIViewController::setView(std::shared_ptr<UIView> view)
{
    if (view_ && view_->viewController() == this)
        view_->setViewController(nullptr);
    view_ = std::move(view);
    if (view_)
        view_->setViewController(this);
}

void UIViewController::loadView() { setView(UIView::create(UIScreen::mainScreen()->bounds())); }

void UIViewController::setTitle(std::string title)
{
    title_ = std::move(title);
    if (navigationItem_)
        navigationItem_->setTitle(title_);
}

const std::shared_ptr<UINavigationItem>& UIViewController::navigationItem()
{
    if (!navigationItem_) {
        navigationItem_ = std::make_shared<UINavigationItem>();
        navigationItem_->setTitle(title_);
    }
    return navigationItem_;
}

void UIViewController::presentViewControllerAnimatedCompletion(const std::shared_ptr<UIViewController>& controller,
                                                               bool animated, const std::function<void()>& completion)
{
    if (!controller || controller->presenting_ || presented_)
        return;
    for (const UIViewController* c = this; c; c = c->presenting_) {
        if (c == controller.get())
            return;
    }
    const auto keep = selfAs<UIViewController>();
    presented_ = controller;
    controller->presenting_ = this;
    const std::shared_ptr<UIView> shown = controller->view();
    objc::msgSend(controller, "viewWillAppear:"_sel, animated);
    if (UIWindow* window = view_ ? view_->window() : nullptr; window && shown) {
        const long style = controller->modalPresentationStyle_;
        const bool overContext =
            style == UIModalPresentationCurrentContext || style == UIModalPresentationOverCurrentContext;
        shown->setFrame(overContext ? view_->convertRectToView(view_->bounds(), nullptr) : window->bounds());
        window->addSubview(shown);
        controller->shownInWindow_ = true;
    }
    objc::msgSend(controller, "viewDidAppear:"_sel, animated);
    if (completion)
        completion();
}

void UIViewController::dismissPresented(bool animated)
{
    const std::shared_ptr<UIViewController> gone = presented_;
    if (!gone)
        return;
    gone->dismissPresented(animated);
    objc::msgSend(gone, "viewWillDisappear:"_sel, animated);
    if (gone->shownInWindow_ && gone->view_)
        gone->view_->removeFromSuperview();
    gone->shownInWindow_ = false;
    presented_ = nullptr;
    gone->presenting_ = nullptr;
    objc::msgSend(gone, "viewDidDisappear:"_sel, animated);
}

void UIViewController::dismissViewControllerAnimatedCompletion(bool animated, const std::function<void()>& completion)
{
    const auto keep = selfAs<UIViewController>(); // the presenter may hold the last reference
    if (presented_)
        dismissPresented(animated);
    else if (presenting_)
        presenting_->dismissPresented(animated);
    if (completion)
        completion();
}

UIResponder* UIViewController::nextResponder() const
{
    if (view_ && view_->superview())
        return view_->superview();
    return presenting_;
}

OBJC_REGISTER(UIViewController,
    c.method<&UIViewController::loadView>("loadView");
    c.method<&UIViewController::viewDidLoad>("viewDidLoad");
    c.method<&UIViewController::didReceiveMemoryWarning>("didReceiveMemoryWarning");
    c.method<&UIViewController::viewWillAppear>("viewWillAppear:");
    c.method<&UIViewController::viewDidAppear>("viewDidAppear:");
    c.method<&UIViewController::viewWillDisappear>("viewWillDisappear:");
    c.method<&UIViewController::viewDidDisappear>("viewDidDisappear:");
    c.method<&UIViewController::view>("view");
    c.method<&UIViewController::setView>("setView:");
    c.method<&UIViewController::isViewLoaded>("isViewLoaded");
    c.method<&UIViewController::navigationItem>("navigationItem");
    c.method<&UIViewController::presentViewControllerAnimatedCompletion>("presentViewController:animated:completion:");
    c.method<&UIViewController::dismissViewControllerAnimatedCompletion>("dismissViewControllerAnimated:completion:");
    c.method<&UIViewController::presentedViewController>("presentedViewController");
    c.method<&UIViewController::modalPresentationStyle>("modalPresentationStyle");
    c.method<&UIViewController::setModalPresentationStyle>("setModalPresentationStyle:");
    c.method<&UIViewController::definesPresentationContext>("definesPresentationContext");
    c.method<&UIViewController::setDefinesPresentationContext>("setDefinesPresentationContext:");
    c.method<&UIViewController::providesPresentationContextTransitionStyle>("providesPresentationContextTransitionStyle");
    c.method<&UIViewController::setProvidesPresentationContextTransitionStyle>(
        "setProvidesPresentationContextTransitionStyle:");
    c.method<&UIViewController::edgesForExtendedLayout>("edgesForExtendedLayout");
    c.method<&UIViewController::setEdgesForExtendedLayout>("setEdgesForExtendedLayout:");)

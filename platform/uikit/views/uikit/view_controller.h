// View controllers: own a view that is made on first use, and present other controllers
// modally. The view is loaded by sending "loadView" and then "viewDidLoad" through the
// runtime, so that subclasses' overrides and installed hooks run.
//
// Ownership: a controller owns its view, its navigation item and the controller it
// presents; the presenting controller is not retained (it owns this one).
#pragma once

#include "uikit/navigation_item.h"
#include "uikit/responder.h"
#include "uikit/view.h"

#include <functional>
#include <memory>
#include <string>

enum UIModalPresentationStyle : long {
    UIModalPresentationFullScreen = 0,
    UIModalPresentationPageSheet = 1,
    UIModalPresentationFormSheet = 2,
    UIModalPresentationCurrentContext = 3,
    UIModalPresentationCustom = 4,
    UIModalPresentationOverFullScreen = 5,
    UIModalPresentationOverCurrentContext = 6,
    UIModalPresentationPopover = 7,
    UIModalPresentationNone = -1,
};

enum UIRectEdge : unsigned long {
    UIRectEdgeNone = 0,
    UIRectEdgeTop = 1UL << 0,
    UIRectEdgeLeft = 1UL << 1,
    UIRectEdgeBottom = 1UL << 2,
    UIRectEdgeRight = 1UL << 3,
    UIRectEdgeAll = 0xFUL,
};

class UIViewController : public UIResponder {
    OBJC_CLASS(UIViewController, UIResponder)
public:
    ~UIViewController() override;

    // Makes a controller of class T through the runtime (alloc, then init).
    template <class T = UIViewController>
    static std::shared_ptr<T> create()
    {
        return objc::msgSend<std::shared_ptr<T>>(objc::alloc<T>(), objc::sel_registerName("init"));
    }

    // The view, loaded on first use ("loadView", then "viewDidLoad"). A loadView that sets no
    // view gets a plain view the size of the main screen.
    const std::shared_ptr<UIView>& view();
    void setView(std::shared_ptr<UIView> view);
    bool isViewLoaded() const { return view_ != nullptr; }

    // Runtime selectors of the same names. The default loadView makes a plain view the size
    // of the main screen.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void didReceiveMemoryWarning() {}
    virtual void viewWillAppear(bool animated) {}
    virtual void viewDidAppear(bool animated) {}
    virtual void viewWillDisappear(bool animated) {}
    virtual void viewDidDisappear(bool animated) {}

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    // Made on first use, with the controller's title.
    const std::shared_ptr<UINavigationItem>& navigationItem();
    unsigned long edgesForExtendedLayout() const { return edgesForExtendedLayout_; }
    void setEdgesForExtendedLayout(unsigned long edges) { edgesForExtendedLayout_ = edges; }

    // --- Modal presentation -------------------------------------------------------------
    // Presents the controller over this one; the completion runs at once. The presented
    // view is loaded; when this controller's view is in a window, the presented view is put
    // on top of the window: over this controller's view for the current-context styles (3
    // and 6), over the whole window otherwise. Nothing happens (and the completion does not
    // run) when the controller is nil, is already presented, is this controller or one that
    // presents it, or when this controller already presents one.
    void presentViewControllerAnimatedCompletion(const std::shared_ptr<UIViewController>& controller, bool animated,
                                                 const std::function<void()>& completion);
    // Dismisses the controller this one presents or, if none, this controller from its
    // presenter; controllers presented by the dismissed one go with it. The completion runs
    // at once, also when there is nothing to dismiss.
    void dismissViewControllerAnimatedCompletion(bool animated, const std::function<void()>& completion);
    const std::shared_ptr<UIViewController>& presentedViewController() const { return presented_; }
    UIViewController* presentingViewController() const { return presenting_; }

    long modalPresentationStyle() const { return modalPresentationStyle_; }
    void setModalPresentationStyle(long style) { modalPresentationStyle_ = style; }
    bool providesPresentationContextTransitionStyle() const { return providesPresentationContextTransitionStyle_; }
    void setProvidesPresentationContextTransitionStyle(bool on) { providesPresentationContextTransitionStyle_ = on; }
    bool definesPresentationContext() const { return definesPresentationContext_; }
    void setDefinesPresentationContext(bool on) { definesPresentationContext_ = on; }

    // The superview of the controller's view; for a presented controller whose view has
    // none, the presenting controller.
    UIResponder* nextResponder() const override;

private:
    // Takes the presented controller (and what it presents) off screen and forgets it.
    void dismissPresented(bool animated);

    std::shared_ptr<UIView> view_;
    bool loadingView_ = false;
    std::string title_;
    std::shared_ptr<UINavigationItem> navigationItem_;
    unsigned long edgesForExtendedLayout_ = UIRectEdgeAll;
    std::shared_ptr<UIViewController> presented_;
    UIViewController* presenting_ = nullptr;
    // Set while the presentation put this controller's view into a window.
    bool shownInWindow_ = false;
    long modalPresentationStyle_ = UIModalPresentationFullScreen;
    bool providesPresentationContextTransitionStyle_ = false;
    bool definesPresentationContext_ = false;
};

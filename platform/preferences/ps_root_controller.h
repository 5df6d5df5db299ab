// The Settings application's navigation: a stack of pages under a navigation bar. The bar shows
// the top page's title and the bar buttons of its navigation item; a page without a left
// button gets a back button ("‹" and the page below's title) once there is a page below.
//
// The bar follows the navigation items when updateNavigationBar() is called (after every push
// and pop, and by the Settings application after every user action): navigation items do not
// tell anyone when they change.
//
// Ownership: the root controller owns its pages (and each page its view); pages know their root
// controller without retaining it.
#pragma once

#include "uikit/button.h"
#include "uikit/label.h"
#include "uikit/view_controller.h"

#include <memory>
#include <vector>

class PSRootController : public UIViewController {
    OBJC_CLASS(PSRootController, UIViewController)
public:
    // The bar's height, status bar included.
    static constexpr CGFloat kBarHeight = 64;

    ~PSRootController() override;

    // A screen-sized view: the bar at the top, the top page's view below it.
    void loadView() override;

    // Runtime selectors "pushController:" and "popController". A page already on the stack is
    // not pushed again; the first page cannot be popped.
    void pushController(const std::shared_ptr<UIViewController>& controller);
    void popController();
    const std::vector<std::shared_ptr<UIViewController>>& controllers() const { return stack_; }
    std::shared_ptr<UIViewController> topController() const { return stack_.empty() ? nullptr : stack_.back(); }

    void updateNavigationBar();
    const std::shared_ptr<UIButton>& leftButton() const { return left_; }
    const std::shared_ptr<UIButton>& rightButton() const { return right_; }
    const std::shared_ptr<UILabel>& titleLabel() const { return titleLabel_; }
    // The area below the bar, where pages are shown (in the root view's coordinates).
    CGRect contentFrame();

private:
    // Runtime selectors "_leftButtonPressed:", "_rightButtonPressed:": the top page's bar item
    // is pressed; the left button without an item goes back.
    void leftButtonPressed(const objc::id& sender);
    void rightButtonPressed(const objc::id& sender);
    void showTop();

    std::vector<std::shared_ptr<UIViewController>> stack_;
    std::shared_ptr<UIView> bar_;
    std::shared_ptr<UILabel> titleLabel_;
    std::shared_ptr<UIButton> left_;
    std::shared_ptr<UIButton> right_;
};

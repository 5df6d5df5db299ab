#include "preferences/ps_root_controller.h"

#include "preferences/ps_list_controller.h"
#include "preferences/ps_table_cell.h"
#include "uikit/screen.h"

#include <algorithm>

using namespace objc;

OBJC_REGISTER(PSRootController,
    c.method<&PSRootController::pushController>("pushController:");
    c.method<&PSRootController::popController>("popController");
    c.method<&PSRootController::leftButtonPressed>("_leftButtonPressed:");
    c.method<&PSRootController::rightButtonPressed>("_rightButtonPressed:");)

namespace {

constexpr CGFloat kStatusBar = 20;
constexpr CGFloat kButtonWidth = 96;

std::shared_ptr<UIButton> barButton(const id& target, SEL action, NSTextAlignment alignment)
{
    auto button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->titleLabel()->setTextAlignment(alignment);
    button->titleLabel()->setFont(UIFont::systemFontOfSize(17));
    button->addTargetActionForControlEvents(target, action, UIControlEventTouchUpInside);
    return button;
}

} // namespace

PSRootController::~PSRootController()
{
    for (const auto& page : stack_)
        if (auto list = std::dynamic_pointer_cast<PSListController>(page))
            list->setRootController(nullptr);
}

void PSRootController::loadView()
{
    const CGRect screen = UIScreen::mainScreen()->bounds();
    auto root = UIView::create(screen);
    root->setBackgroundColor(PSTableCell::listBackgroundColor());

    bar_ = UIView::create(CGRectMake(0, 0, screen.size.width, kBarHeight));
    bar_->setBackgroundColor(UIColor::colorWithRedGreenBlueAlpha(0.97, 0.97, 0.97, 1));
    bar_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    auto hairline = UIView::create(CGRectMake(0, kBarHeight - 0.5, screen.size.width, 0.5));
    hairline->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.7, 1));
    hairline->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    bar_->addSubview(hairline);

    titleLabel_ = UIView::create<UILabel>(CGRectZero);
    titleLabel_->setFont(UIFont::boldSystemFontOfSize(17));
    titleLabel_->setTextAlignment(NSTextAlignment::Center);
    left_ = barButton(self(), "_leftButtonPressed:"_sel, NSTextAlignment::Left);
    right_ = barButton(self(), "_rightButtonPressed:"_sel, NSTextAlignment::Right);
    for (const auto& part : std::vector<std::shared_ptr<UIView>>{titleLabel_, left_, right_})
        bar_->addSubview(part);

    root->addSubview(bar_);
    setView(root);
    showTop();
}

CGRect PSRootController::contentFrame()
{
    const CGRect area = view()->bounds();
    return CGRectMake(0, kBarHeight, area.size.width, std::max<CGFloat>(0, area.size.height - kBarHeight));
}

void PSRootController::pushController(const std::shared_ptr<UIViewController>& controller)
{
    if (!controller || std::find(stack_.begin(), stack_.end(), controller) != stack_.end())
        return;
    if (auto top = topController(); top && isViewLoaded()) {
        objc::msgSend(top, "viewWillDisappear:"_sel, true);
        top->view()->removeFromSuperview();
        objc::msgSend(top, "viewDidDisappear:"_sel, true);
    }
    stack_.push_back(controller);
    if (auto list = std::dynamic_pointer_cast<PSListController>(controller))
        list->setRootController(this);
    showTop();
}

void PSRootController::popController()
{
    if (stack_.size() < 2)
        return;
    const auto gone = stack_.back();
    stack_.pop_back();
    if (isViewLoaded()) {
        objc::msgSend(gone, "viewWillDisappear:"_sel, true);
        if (gone->isViewLoaded())
            gone->view()->removeFromSuperview();
        objc::msgSend(gone, "viewDidDisappear:"_sel, true);
    }
    if (auto list = std::dynamic_pointer_cast<PSListController>(gone))
        list->setRootController(nullptr);
    showTop();
}

void PSRootController::showTop()
{
    const auto top = topController();
    if (!top || !isViewLoaded()) {
        if (isViewLoaded())
            updateNavigationBar();
        return;
    }
    const auto& page = top->view();
    if (page->superview() != view().get()) {
        objc::msgSend(top, "viewWillAppear:"_sel, true);
        page->setFrame(contentFrame());
        view()->insertSubviewBelowSubview(page, bar_.get());
        objc::msgSend(top, "viewDidAppear:"_sel, true);
    }
    updateNavigationBar();
}

void PSRootController::updateNavigationBar()
{
    if (!isViewLoaded())
        return;
    const CGFloat width = view()->bounds().size.width;
    const auto top = topController();
    const auto item = top ? top->navigationItem() : nullptr;
    titleLabel_->setText(item ? item->title() : std::string());
    titleLabel_->setFrame(CGRectMake(kButtonWidth, kStatusBar, std::max<CGFloat>(0, width - 2 * kButtonWidth), 44));

    std::string leftTitle;
    if (item && item->leftBarButtonItem())
        leftTitle = item->leftBarButtonItem()->title();
    else if (stack_.size() > 1) {
        const auto& below = stack_[stack_.size() - 2];
        leftTitle = "\u2039 " + (below->title().empty() ? std::string("Back") : below->title());
    }
    left_->setTitleForState(leftTitle, UIControlStateNormal);
    left_->setHidden(leftTitle.empty());
    left_->setFrame(CGRectMake(8, kStatusBar, kButtonWidth - 8, 44));

    const std::string rightTitle = item && item->rightBarButtonItem() ? item->rightBarButtonItem()->title() : "";
    right_->setTitleForState(rightTitle, UIControlStateNormal);
    right_->setHidden(rightTitle.empty());
    right_->setFrame(CGRectMake(width - kButtonWidth, kStatusBar, kButtonWidth - 8, 44));
}

void PSRootController::leftButtonPressed(const id&)
{
    const auto keep = selfAs<PSRootController>();
    const auto top = topController();
    if (const auto item = top ? top->navigationItem()->leftBarButtonItem() : nullptr)
        item->press();
    else
        popController();
    updateNavigationBar();
}

void PSRootController::rightButtonPressed(const id&)
{
    const auto keep = selfAs<PSRootController>();
    const auto top = topController();
    if (const auto item = top ? top->navigationItem()->rightBarButtonItem() : nullptr)
        item->press();
    updateNavigationBar();
}

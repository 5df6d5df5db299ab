#include "uikit/alert_controller.h"

#include "uikit/screen.h"

#include <algorithm>

using objc::operator""_sel;

namespace {
constexpr CGFloat kBoxWidth = 270;
constexpr CGFloat kInset = 16;
constexpr CGFloat kFieldHeight = 24;
constexpr CGFloat kButtonHeight = 44;
} // namespace

std::shared_ptr<UIAlertAction> UIAlertAction::actionWithTitleStyleHandler(const std::string& title, long style,
                                                                          Handler handler)
{
    auto action = objc::alloc<UIAlertAction>();
    action->title_ = title;
    action->style_ = style;
    action->handler_ = std::move(handler);
    return action;
}

std::shared_ptr<UIAlertController> UIAlertController::alertControllerWithTitleMessagePreferredStyle(
    const std::string& title, const std::string& message, long style)
{
    auto alert = UIViewController::create<UIAlertController>();
    alert->setTitle(title);
    alert->message_ = message;
    alert->preferredStyle_ = style;
    return alert;
}

void UIAlertController::setMessage(std::string message)
{
    message_ = std::move(message);
    buildContent();
}

void UIAlertController::addAction(const std::shared_ptr<UIAlertAction>& action)
{
    if (!action)
        return;
    actions_.push_back(action);
    buildContent();
}

void UIAlertController::addTextFieldWithConfigurationHandler(const TextFieldConfiguration& handler)
{
    if (preferredStyle_ != UIAlertControllerStyleAlert)
        return;
    auto field = UIView::create<UITextField>(CGRectZero);
    field->setBorderStyle(UITextBorderStyleLine);
    field->setFont(UIFont::systemFontOfSize(13));
    textFields_.push_back(field);
    if (handler)
        handler(field);
    buildContent();
}

bool UIAlertController::invokeActionAtIndex(std::size_t index)
{
    return index < actions_.size() && invokeAction(actions_[index]);
}

bool UIAlertController::invokeActionWithTitle(const std::string& title)
{
    auto it = std::find_if(actions_.begin(), actions_.end(), [&](const auto& a) { return a->title() == title; });
    return it != actions_.end() && invokeAction(*it);
}

bool UIAlertController::invokeAction(const std::shared_ptr<UIAlertAction>& action)
{
    if (!action->isEnabled())
        return false;
    const auto keep = selfAs<UIAlertController>();
    const auto chosen = action; // the handler may change the list of actions
    if (UIViewController* presenter = presentingViewController())
        presenter->dismissViewControllerAnimatedCompletion(true, nullptr);
    if (chosen->handler())
        chosen->handler()(chosen);
    return true;
}

void UIAlertController::actionButtonPressed(const std::shared_ptr<UIButton>& button)
{
    if (button && button->tag() >= 0)
        invokeActionAtIndex(static_cast<std::size_t>(button->tag()));
}

void UIAlertController::loadView()
{
    auto dimming = UIView::create(UIScreen::mainScreen()->bounds());
    dimming->setBackgroundColor(UIColor::colorWithWhiteAlpha(0, 0.4));
    setView(dimming);
    buildContent();
}

void UIAlertController::buildContent()
{
    if (!isViewLoaded())
        return;
    const std::shared_ptr<UIView> root = view();
    for (const auto& old : std::vector(root->subviews()))
        old->removeFromSuperview();

    auto box = UIView::create(CGRectZero);
    box->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.97, 1));
    box->layer()->setCornerRadius(13);
    box->setClipsToBounds(true);

    const CGFloat inner = kBoxWidth - 2 * kInset;
    CGFloat y = 20;
    auto addText = [&](const std::string& text, std::shared_ptr<UIFont> font) {
        if (text.empty())
            return;
        auto label = UIView::create<UILabel>(CGRectZero);
        label->setText(text);
        label->setFont(std::move(font));
        label->setNumberOfLines(0);
        label->setTextAlignment(NSTextAlignment::Center);
        const CGFloat height = label->sizeThatFits({inner, 0}).height;
        label->setFrame({{kInset, y}, {inner, height}});
        box->addSubview(label);
        y += height + 4;
    };
    addText(title(), UIFont::boldSystemFontOfSize(17));
    addText(message_, UIFont::systemFontOfSize(13));
    y += 8;
    for (const auto& field : textFields_) {
        field->setFrame({{kInset, y}, {inner, kFieldHeight}});
        box->addSubview(field);
        y += kFieldHeight + 8;
    }

    const bool sideBySide = actions_.size() == 2;
    for (std::size_t i = 0; i < actions_.size(); ++i) {
        auto button = UIButton::buttonWithType(UIButtonTypeSystem);
        button->setTitleForState(actions_[i]->title(), UIControlStateNormal);
        button->setTag(static_cast<long>(i));
        button->addTargetActionForControlEvents(self(), "_actionButtonPressed:"_sel, UIControlEventTouchUpInside);
        if (sideBySide) {
            button->setFrame({{static_cast<CGFloat>(i) * kBoxWidth / 2, y}, {kBoxWidth / 2, kButtonHeight}});
        } else {
            button->setFrame({{0, y}, {kBoxWidth, kButtonHeight}});
            y += kButtonHeight;
        }
        box->addSubview(button);
    }
    if (sideBySide)
        y += kButtonHeight;

    const CGRect area = root->bounds();
    box->setFrame({{(area.size.width - kBoxWidth) / 2, (area.size.height - y) / 2}, {kBoxWidth, y}});
    box->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin |
                             UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin);
    root->addSubview(box);
}

OBJC_REGISTER(UIAlertAction,
    c.method<&UIAlertAction::style>("style");
    c.method<&UIAlertAction::isEnabled>("isEnabled");
    c.method<&UIAlertAction::setEnabled>("setEnabled:");)
OBJC_REGISTER(UIAlertController,
    c.method<&UIAlertController::preferredStyle>("preferredStyle");
    c.method<&UIAlertController::addAction>("addAction:");
    c.method<&UIAlertController::actionButtonPressed>("_actionButtonPressed:");)

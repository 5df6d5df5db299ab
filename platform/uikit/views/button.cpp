#include "uikit/button.h"

UIButton::UIButton() : titleLabel_(std::make_shared<UILabel>())
{
    titleLabel_->setFont(UIFont::systemFontOfSize(15));
    titleLabel_->setTextAlignment(NSTextAlignment::Center);
    titleLabel_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    addSubview(titleLabel_);
    updateTitleLabel();
}

std::shared_ptr<UIButton> UIButton::buttonWithType(long type)
{
    auto button = UIView::create<UIButton>(CGRectZero);
    if (button) {
        button->buttonType_ = type;
        button->updateTitleLabel();
    }
    return button;
}

void UIButton::setTitleForState(const std::string& title, unsigned long state)
{
    titles_[state] = title;
    updateTitleLabel();
}

std::string UIButton::titleForState(unsigned long state) const
{
    if (auto it = titles_.find(state); it != titles_.end())
        return it->second;
    if (auto it = titles_.find(UIControlStateNormal); it != titles_.end())
        return it->second;
    return {};
}

void UIButton::setTitleColorForState(std::shared_ptr<UIColor> color, unsigned long state)
{
    if (color)
        titleColors_[state] = std::move(color);
    else
        titleColors_.erase(state);
    updateTitleLabel();
}

std::shared_ptr<UIColor> UIButton::titleColorForState(unsigned long state) const
{
    if (auto it = titleColors_.find(state); it != titleColors_.end())
        return it->second;
    if (auto it = titleColors_.find(UIControlStateNormal); it != titleColors_.end())
        return it->second;
    return buttonType_ == UIButtonTypeCustom ? UIColor::whiteColor() : tintColor();
}

void UIButton::updateTitleLabel()
{
    titleLabel_->setText(currentTitle());
    titleLabel_->setTextColor(currentTitleColor());
}

void UIButton::layoutSubviews()
{
    titleLabel_->setFrame(bounds());
    updateTitleLabel(); // the tint colour may have changed with the superview
}

CGSize UIButton::sizeThatFits(CGSize size) const { return titleLabel_->sizeThatFits(size); }

OBJC_REGISTER(UIButton,
    c.classMethod<&UIButton::buttonWithType>("buttonWithType:");)

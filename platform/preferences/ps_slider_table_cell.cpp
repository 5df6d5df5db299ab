#include "preferences/ps_slider_table_cell.h"

#include "foundation/ns_number.h"
#include "foundation/value_reading.h"
#include "uikit/label.h"

#include <cstdio>

using objc::operator""_sel;

OBJC_REGISTER(PSSliderTableCell,
    c.method<&PSSliderTableCell::control>("control");
    c.method<&PSSliderTableCell::sliderChanged>("_sliderChanged:");)

namespace {
constexpr CGFloat kValueWidth = 44;
} // namespace

objc::id PSSliderTableCell::initWithStyleReuseIdentifierSpecifier(long style,
                                                                  const std::shared_ptr<NSString>& reuseIdentifier,
                                                                  const std::shared_ptr<PSSpecifier>& specifier)
{
    objc::id made = PSTableCell::initWithStyleReuseIdentifierSpecifier(style, reuseIdentifier, specifier);
    if (!made)
        return nullptr;
    slider_ = UIView::create<PSSliderControl>(CGRectZero);
    valueLabel_ = UIView::create<UILabel>(CGRectZero);
    if (!slider_ || !valueLabel_)
        return nullptr;
    const float minimum = specifier ? foundation::floatValueOf(specifier->propertyForKey("min")).value_or(0.f) : 0.f;
    const float maximum = specifier ? foundation::floatValueOf(specifier->propertyForKey("max")).value_or(1.f) : 1.f;
    slider_->setRange(minimum, maximum);
    slider_->addTargetActionForControlEvents(self(), "_sliderChanged:"_sel, UIControlEventValueChanged);
    valueLabel_->setFont(UIFont::systemFontOfSize(15));
    valueLabel_->setTextColor(UIColor::grayColor());
    valueLabel_->setTextAlignment(NSTextAlignment::Right);
    valueLabel_->setHidden(!(specifier && foundation::boolValueOf(specifier->propertyForKey("showValue")).value_or(false)));
    contentView()->addSubview(slider_);
    contentView()->addSubview(valueLabel_);
    return made;
}

void PSSliderTableCell::setValue(const objc::id& value)
{
    PSTableCell::setValue(value);
    if (!slider_)
        return;
    slider_->setValue(foundation::floatValueOf(value).value_or(slider_->minimumValue()));
    showValue();
}

void PSSliderTableCell::sliderChanged(const objc::id&)
{
    const auto keep = selfAs<PSSliderTableCell>();
    value_ = NSNumber::numberWithFloat(slider_->value());
    showValue();
    if (auto row = specifier())
        row->performSetter(value_);
}

void PSSliderTableCell::showValue()
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(slider_->value()));
    valueLabel_->setText(text);
}

void PSSliderTableCell::layoutSubviews()
{
    PSTableCell::layoutSubviews();
    if (!slider_ || !valueLabel_)
        return;
    const CGSize size = contentView()->bounds().size;
    // A titled slider sits right of its title; an untitled one spans the row.
    CGFloat x = 15;
    if (!textLabel()->text().empty()) {
        const CGFloat titleWidth = std::min<CGFloat>(textLabel()->sizeThatFits({0, 0}).width, size.width / 2);
        textLabel()->setFrame(CGRectMake(15, 0, titleWidth, size.height));
        x = 15 + titleWidth + 12;
    }
    CGFloat right = size.width - 15;
    if (!valueLabel_->isHidden()) {
        valueLabel_->setFrame(CGRectMake(right - kValueWidth, 0, kValueWidth, size.height));
        right -= kValueWidth + 8;
    }
    slider_->setFrame(CGRectMake(x, 0, std::max<CGFloat>(0, right - x), size.height));
}

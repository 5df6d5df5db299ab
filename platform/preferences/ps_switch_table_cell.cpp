#include "preferences/ps_switch_table_cell.h"

#include "foundation/ns_number.h"
#include "foundation/value_reading.h"
#include "uikit/label.h"

using objc::operator""_sel;

OBJC_REGISTER(PSSwitchTableCell,
    c.method<&PSSwitchTableCell::control>("control");
    c.method<&PSSwitchTableCell::switchChanged>("_switchChanged:");)

objc::id PSSwitchTableCell::initWithStyleReuseIdentifierSpecifier(long style,
                                                                  const std::shared_ptr<NSString>& reuseIdentifier,
                                                                  const std::shared_ptr<PSSpecifier>& specifier)
{
    objc::id made = PSTableCell::initWithStyleReuseIdentifierSpecifier(style, reuseIdentifier, specifier);
    if (!made)
        return nullptr;
    switch_ = UIView::create<PSSwitchControl>(CGRectZero);
    if (!switch_)
        return nullptr;
    switch_->addTargetActionForControlEvents(self(), "_switchChanged:"_sel, UIControlEventValueChanged);
    contentView()->addSubview(switch_);
    return made;
}

void PSSwitchTableCell::setValue(const objc::id& value)
{
    PSTableCell::setValue(value);
    if (switch_)
        switch_->setOn(foundation::boolValueOf(value).value_or(false));
}

void PSSwitchTableCell::switchChanged(const objc::id&)
{
    const auto keep = selfAs<PSSwitchTableCell>();
    value_ = NSNumber::numberWithBool(switch_->isOn());
    if (auto row = specifier())
        row->performSetter(value_);
}

void PSSwitchTableCell::layoutSubviews()
{
    PSTableCell::layoutSubviews();
    if (!switch_)
        return;
    const CGSize size = contentView()->bounds().size;
    const CGSize own = switch_->bounds().size;
    switch_->setFrame(CGRectMake(size.width - 15 - own.width, (size.height - own.height) / 2, own.width, own.height));
    // The title keeps clear of the switch.
    CGRect title = textLabel()->frame();
    title.size.width = std::max<CGFloat>(0, switch_->frame().origin.x - 8 - title.origin.x);
    textLabel()->setFrame(title);
}

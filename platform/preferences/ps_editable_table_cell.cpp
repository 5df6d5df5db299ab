#include "preferences/ps_editable_table_cell.h"

#include "foundation/value_reading.h"
#include "uikit/label.h"

using objc::operator""_sel;

OBJC_REGISTER(PSEditableTableCell,
    c.method<&PSEditableTableCell::textField>("textField");
    c.method<&PSEditableTableCell::editingChanged>("_editingChanged:");
    c.method<&PSEditableTableCell::editingEnded>("_editingEnded:");)

objc::id PSEditableTableCell::initWithStyleReuseIdentifierSpecifier(long style,
                                                                    const std::shared_ptr<NSString>& reuseIdentifier,
                                                                    const std::shared_ptr<PSSpecifier>& specifier)
{
    objc::id made = PSTableCell::initWithStyleReuseIdentifierSpecifier(style, reuseIdentifier, specifier);
    if (!made)
        return nullptr;
    field_ = UIView::create<UITextField>(CGRectZero);
    shown_ = UIView::create<UILabel>(CGRectZero);
    if (!field_ || !shown_)
        return nullptr;
    shown_->setTextAlignment(NSTextAlignment::Right);
    field_->setTextAlignment(NSTextAlignment::Right);
    field_->setTextColor(UIColor::colorWithRedGreenBlueAlpha(0.22, 0.33, 0.53, 1));
    if (specifier)
        field_->setPlaceholder(specifier->stringProperty("placeholder"));
    field_->addTargetActionForControlEvents(self(), "_editingChanged:"_sel, UIControlEventEditingChanged);
    field_->addTargetActionForControlEvents(self(), "_editingEnded:"_sel, UIControlEventEditingDidEnd);
    contentView()->addSubview(field_);
    contentView()->addSubview(shown_);
    editingChanged(nullptr);
    return made;
}

void PSEditableTableCell::setValue(const objc::id& value)
{
    PSTableCell::setValue(value);
    if (!field_)
        return;
    field_->setText(foundation::stringValueOf(value).value_or(""));
    editingChanged(nullptr);
}

void PSEditableTableCell::editingChanged(const objc::id&)
{
    shown_->setText(field_->displayedText());
    shown_->setTextColor(field_->showsPlaceholder() ? UIColor::colorWithWhiteAlpha(0.7, 1) : field_->textColor());
}

void PSEditableTableCell::editingEnded(const objc::id&)
{
    const auto keep = selfAs<PSEditableTableCell>();
    editingChanged(nullptr);
    value_ = NSStr(field_->text());
    if (auto row = specifier())
        row->performSetter(value_);
}

void PSEditableTableCell::layoutSubviews()
{
    PSTableCell::layoutSubviews();
    if (!field_)
        return;
    const CGSize size = contentView()->bounds().size;
    const CGFloat titleWidth = std::min<CGFloat>(textLabel()->sizeThatFits({0, 0}).width, size.width / 2);
    textLabel()->setFrame(CGRectMake(15, 0, titleWidth, size.height));
    const CGFloat x = 15 + titleWidth + 12;
    field_->setFrame(CGRectMake(x, (size.height - 24) / 2, std::max<CGFloat>(0, size.width - 15 - x), 24));
    shown_->setFrame(field_->frame());
    if (detailTextLabel())
        detailTextLabel()->setHidden(true);
}

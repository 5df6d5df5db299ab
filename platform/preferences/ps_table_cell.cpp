#include "preferences/ps_table_cell.h"

#include "foundation/value_reading.h"
#include "preferences/ps_editable_table_cell.h"
#include "preferences/ps_slider_table_cell.h"
#include "preferences/ps_switch_table_cell.h"
#include "uikit/label.h"

using namespace objc;

OBJC_REGISTER(PSTableCell,
    c.method<&PSTableCell::initWithStyleReuseIdentifierSpecifier>("initWithStyle:reuseIdentifier:specifier:");
    c.method<&PSTableCell::specifier>("specifier");
    c.method<&PSTableCell::setSpecifier>("setSpecifier:");
    c.method<&PSTableCell::type>("type");
    c.method<&PSTableCell::refreshCellContentsWithSpecifier>("refreshCellContentsWithSpecifier:");
    c.method<&PSTableCell::setValue>("setValue:");
    c.method<&PSTableCell::value>("value");
    c.method<&PSTableCell::setChecked>("setChecked:");
    c.method<&PSTableCell::isChecked>("isChecked");)

namespace {
constexpr CGFloat kHairline = 0.5;
} // namespace

Class PSTableCell::cellClassForSpecifier(const std::shared_ptr<PSSpecifier>& specifier)
{
    if (!specifier)
        return PSTableCell::class_();
    if (Class custom = specifier->cellClass(); custom && custom->isSubclassOf(PSTableCell::class_()))
        return custom;
    switch (specifier->cellType()) {
    case PSSwitchCell:
        return PSSwitchTableCell::class_();
    case PSSliderCell:
        return PSSliderTableCell::class_();
    case PSEditTextCell:
        return PSEditableTableCell::class_();
    default:
        return PSTableCell::class_();
    }
}

long PSTableCell::cellStyleForCellType(long cellType)
{
    switch (cellType) {
    case PSLinkListCell:
    case PSTitleValueCell:
    case PSEditTextCell:
        return UITableViewCellStyleValue1;
    default:
        return UITableViewCellStyleDefault;
    }
}

std::shared_ptr<PSTableCell> PSTableCell::createForSpecifier(const std::shared_ptr<PSSpecifier>& specifier)
{
    const Class cls = cellClassForSpecifier(specifier);
    const id instance = cls->createInstance();
    if (!instance)
        return nullptr;
    const long type = specifier ? specifier->cellType() : PSStaticTextCell;
    // No reuse identifier: the list keeps one cell per row itself, so the table keeps none.
    return std::dynamic_pointer_cast<PSTableCell>(msgSend<id>(instance, "initWithStyle:reuseIdentifier:specifier:"_sel,
                                                              cellStyleForCellType(type),
                                                              std::shared_ptr<NSString>(), specifier));
}

id PSTableCell::initWithStyleReuseIdentifierSpecifier(long style, const std::shared_ptr<NSString>& reuseIdentifier,
                                                      const std::shared_ptr<PSSpecifier>& specifier)
{
    id made = UITableViewCell::initWithStyleReuseIdentifier(style, reuseIdentifier);
    if (!made)
        return nullptr;
    specifier_ = specifier;
    setBackgroundColor(rowBackgroundColor());

    highlight_ = UIView::create(bounds());
    highlight_->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.85, 1));
    highlight_->setHidden(true);
    highlight_->setUserInteractionEnabled(false);
    insertSubviewAtIndex(highlight_, 0);

    accessoryMark_ = UIView::create<UILabel>(CGRectZero);
    accessoryMark_->setTextAlignment(NSTextAlignment::Center);
    addSubview(accessoryMark_);

    separator_ = UIView::create(CGRectZero);
    separator_->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.78, 1));
    separator_->setUserInteractionEnabled(false);
    addSubview(separator_);

    refreshCellContentsWithSpecifier(specifier);
    return made;
}

void PSTableCell::refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier)
{
    if (specifier)
        specifier_ = specifier;
    if (!specifier_)
        return;
    textLabel()->setText(specifier_->name());
    const long kind = specifier_->cellType();
    if (kind == PSLinkCell || kind == PSLinkListCell)
        setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    if (kind == PSButtonCell)
        textLabel()->setTextColor(tintColor());
    setNeedsLayout();
}

void PSTableCell::setValue(const id& value)
{
    value_ = value;
    if (!detailTextLabel())
        return;
    switch (type()) {
    case PSLinkListCell:
        detailTextLabel()->setText(specifier_ ? specifier_->titleForValue(value) : std::string());
        break;
    case PSTitleValueCell:
        detailTextLabel()->setText(foundation::stringValueOf(value).value_or(""));
        break;
    default:
        return;
    }
    setNeedsLayout();
}

void PSTableCell::setChecked(bool checked)
{
    checked_ = checked;
    setAccessoryType(checked ? UITableViewCellAccessoryCheckmark : UITableViewCellAccessoryNone);
}

bool PSTableCell::isSelectable() const
{
    if (!specifier_)
        return false;
    switch (specifier_->cellType()) {
    case PSLinkCell:
    case PSLinkListCell:
    case PSListItemCell:
    case PSButtonCell:
        return true;
    default:
        return specifier_->action() != nullptr;
    }
}

void PSTableCell::setSelected(bool selected)
{
    UITableViewCell::setSelected(selected);
    if (highlight_)
        highlight_->setHidden(!(selected && isSelectable()));
}

void PSTableCell::prepareForReuse()
{
    UITableViewCell::prepareForReuse();
    if (highlight_)
        highlight_->setHidden(true);
}

void PSTableCell::layoutSubviews()
{
    UITableViewCell::layoutSubviews();
    if (!highlight_ || !accessoryMark_ || !separator_)
        return; // an initialiser that failed half-way
    const CGSize size = bounds().size;
    highlight_->setFrame(bounds());

    // The marks the toolkit leaves to the cell: a chevron for links, a tick for a chosen item.
    const long accessory = accessoryType();
    accessoryMark_->setHidden(accessory != UITableViewCellAccessoryDisclosureIndicator &&
                              accessory != UITableViewCellAccessoryCheckmark);
    if (accessory == UITableViewCellAccessoryCheckmark) {
        accessoryMark_->setText("\u2713");
        accessoryMark_->setTextColor(tintColor());
        accessoryMark_->setFont(UIFont::boldSystemFontOfSize(17));
    } else {
        accessoryMark_->setText("\u203A");
        accessoryMark_->setTextColor(UIColor::colorWithWhiteAlpha(0.7, 1));
        accessoryMark_->setFont(UIFont::boldSystemFontOfSize(22));
    }
    accessoryMark_->setFrame(CGRectMake(size.width - kAccessoryWidth, 0, kAccessoryWidth - 8, size.height));

    const UIEdgeInsets inset = separatorInset();
    const CGFloat width = std::max<CGFloat>(0, size.width - inset.left - inset.right);
    separator_->setFrame(CGRectMake(inset.left, size.height - kHairline, width, kHairline));
    separator_->setHidden(width <= 0);
    bringSubviewToFront(separator_.get());
}

std::shared_ptr<UIColor> PSTableCell::rowBackgroundColor()
{
    static const auto color = UIColor::colorWithWhiteAlpha(1, 1);
    return color;
}

std::shared_ptr<UIColor> PSTableCell::listBackgroundColor()
{
    static const auto color = UIColor::colorWithRedGreenBlueAlpha(0.937, 0.937, 0.957, 1);
    return color;
}

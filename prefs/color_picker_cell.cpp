#include "prefs/color_picker_cell.h"

#include "common/hex_colors.h"
#include "prefs/settings_file.h"

using namespace objc;

OBJC_REGISTER(ColorPickerCell,
    c.method<&ColorPickerCell::imageFromColor>("imageFromColor:");
    c.method<&ColorPickerCell::saveCellWithColor>("saveCellWithColor:");
    c.method<&ColorPickerCell::selectedColorView>("selectedColorView");
    c.method<&ColorPickerCell::setSelectedColorView>("setSelectedColorView:");
    c.method<&ColorPickerCell::selectedColor>("selectedColor");
    c.method<&ColorPickerCell::setSelectedColor>("setSelectedColor:");
    c.method<&ColorPickerCell::selectedColorLabel>("selectedColorLabel");
    c.method<&ColorPickerCell::setSelectedColorLabel>("setSelectedColorLabel:");
    c.ivar<&ColorPickerCell::keyValue>("keyValue");)

namespace {

std::shared_ptr<NSString> copyOf(const id& value)
{
    auto text = std::dynamic_pointer_cast<NSString>(value);
    return text ? NSString::stringWithString(text) : nullptr;
}

std::shared_ptr<UIColor> colourOf(const std::shared_ptr<NSString>& hex)
{
    return hex ? HexColors::colorWithHexString(hex->string()) : nullptr;
}

} // namespace

id ColorPickerCell::initWithStyleReuseIdentifierSpecifier(long, const std::shared_ptr<NSString>& reuseIdentifier,
                                                          const std::shared_ptr<PSSpecifier>& specifier)
{
    id made = PSTableCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyleValue1, reuseIdentifier, specifier);
    if (!made)
        return nullptr;
    // The swatch's shadow reaches past the row.
    setClipsToBounds(false);
    layer()->setMasksToBounds(false);
    setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);

    if (specifier) {
        keyValue = copyOf(specifier->propertyForKey("key"));
        keyLabel_ = copyOf(specifier->propertyForKey("keyLabel"));
        default_ = copyOf(specifier->propertyForKey("default"));
    }
    const CGSize size = frame().size;
    // A square of the row's height less 5, centred on the row.
    const CGFloat side = size.height - 5;
    selectedColorView_ = UIView::create(CGRectMake(20, (size.height - side) / 2, side, side));
    selectedColorView_->layer()->setShadowColor(UIColor::blackColor()->CGColor());
    selectedColorView_->layer()->setShadowOffset({0, 0});
    selectedColorView_->layer()->setShadowOpacity(0.4f);
    selectedColorView_->layer()->setShadowRadius(2);
    contentView()->addSubview(selectedColorView_);

    selectedColor_ = UIView::create<UIImageView>(selectedColorView_->bounds());
    selectedColor_->layer()->setMasksToBounds(true);
    selectedColor_->layer()->setCornerRadius(selectedColor_->bounds().size.width / 2);
    selectedColorView_->addSubview(selectedColor_);

    const CGRect swatch = selectedColorView_->frame();
    const CGFloat x = swatch.origin.x + swatch.size.width + 20;
    selectedColorLabel_ = UIView::create<UILabel>(CGRectMake(x, swatch.origin.y, size.width - x, size.height - 5));
    const auto& label = keyLabel_ ? keyLabel_ : default_;
    selectedColorLabel_->setText(label ? label->string() : std::string());
    selectedColorLabel_->setAdjustsFontSizeToFitWidth(true);
    selectedColorLabel_->setClipsToBounds(true);
    selectedColorLabel_->setBackgroundColor(UIColor::clearColor());
    selectedColorLabel_->setTextColor(textLabel()->textColor());
    selectedColorLabel_->setTextAlignment(NSTextAlignment::Left);
    contentView()->addSubview(selectedColorLabel_);

    showStoredColour();
    return made;
}

std::shared_ptr<UIImage> ColorPickerCell::imageFromColor(const std::shared_ptr<UIColor>& color)
{
    return UIImage::imageWithColor(color ? color : UIColor::clearColor());
}

void ColorPickerCell::showStoredColour()
{
    const auto stored = keyValue ? std::dynamic_pointer_cast<NSString>(vantorel::prefs::storedSetting(keyValue->string()))
                                 : nullptr;
    auto colour = colourOf(stored);
    if (!colour)
        colour = colourOf(default_);
    selectedColor_->setImage(imageFromColor(colour));
    detailTextLabel()->setText(stored ? stored->string() : std::string());
    setNeedsLayout();
}

void ColorPickerCell::saveCellWithColor(const std::shared_ptr<NSString>& hex)
{
    if (!keyValue || !hex)
        return;
    // What the row shows is what the file holds: the new colour only once it is written.
    if (!vantorel::prefs::writeSetting(keyValue->string(), hex)) {
        showStoredColour();
        return;
    }
    const auto colour = colourOf(hex);
    selectedColor_->setImage(imageFromColor(colour ? colour : UIColor::clearColor()));
    detailTextLabel()->setText(hex->string());
    setNeedsLayout();
}

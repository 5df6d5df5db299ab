// The settings row of one colour: a round swatch of the stored colour with its own label, and
// the stored hex string as the row's value. A new choice is saved through saveCellWithColor:.
#pragma once

#include "preferences/ps_table_cell.h"
#include "uikit/image_view.h"
#include "uikit/label.h"

#include <memory>
#include <string>

class ColorPickerCell : public PSTableCell {
    OBJC_CLASS(ColorPickerCell, PSTableCell)
public:
    // Always style 1 (title left, value right), whatever is asked for.
    objc::id initWithStyleReuseIdentifierSpecifier(long style, const std::shared_ptr<NSString>& reuseIdentifier,
                                                   const std::shared_ptr<PSSpecifier>& specifier) override;

    // Runtime selector "imageFromColor:": a 1 × 1 point picture filled with the colour.
    std::shared_ptr<UIImage> imageFromColor(const std::shared_ptr<UIColor>& color);
    // Runtime selector "saveCellWithColor:": stores the hex string under the row's key (the
    // file's other keys kept) and shows it. When the file cannot be written, the row shows what
    // the file still holds.
    void saveCellWithColor(const std::shared_ptr<NSString>& hex);

    // The row shows the file's value itself (not the value the list hands it).
    void setValue(const objc::id& value) override { value_ = value; }

    const std::shared_ptr<UIView>& selectedColorView() const { return selectedColorView_; }
    void setSelectedColorView(std::shared_ptr<UIView> view) { selectedColorView_ = std::move(view); }
    const std::shared_ptr<UIImageView>& selectedColor() const { return selectedColor_; }
    void setSelectedColor(std::shared_ptr<UIImageView> view) { selectedColor_ = std::move(view); }
    const std::shared_ptr<UILabel>& selectedColorLabel() const { return selectedColorLabel_; }
    void setSelectedColorLabel(std::shared_ptr<UILabel> label) { selectedColorLabel_ = std::move(label); }

private:
    // Swatch and value as the file has them: the stored colour, else the row's default colour.
    void showStoredColour();

    std::shared_ptr<NSString> keyValue;
    std::shared_ptr<NSString> keyLabel_;
    std::shared_ptr<NSString> default_;
    std::shared_ptr<UIView> selectedColorView_;
    std::shared_ptr<UIImageView> selectedColor_;
    std::shared_ptr<UILabel> selectedColorLabel_;
};

// The banner at the top of the settings list: a vertical colour gradient seen through a stencil
// picture from the bundle (where the picture is opaque the gradient shows), as tall as the
// row's "height", its colours the row's "headerColours" and its picture "headerImage".
#pragma once

#include "preferences/ps_table_cell.h"
#include "uikit/layer.h"

#include <memory>

class ZylHeaderClass : public PSTableCell {
    OBJC_CLASS(ZylHeaderClass, PSTableCell)
public:
    static constexpr const char* kBundlePath = "/Library/PreferenceBundles/Vantorel.bundle";

    // Always style 1, whatever is asked for. Entries of "headerColours" that are not six-digit
    // hex colours are left out of the gradient.
    objc::id initWithStyleReuseIdentifierSpecifier(long style, const std::shared_ptr<NSString>& reuseIdentifier,
                                                   const std::shared_ptr<PSSpecifier>& specifier) override;
    // Fits banner, gradient and stencil to the cell's width; the height stays the row's.
    void layoutSubviews() override;

private:
    double height = 0;
    std::shared_ptr<UIView> mainView;
    std::shared_ptr<UIView> colorWith;
    std::shared_ptr<CAGradientLayer> gradient;
    std::shared_ptr<CALayer> maskLayer;
};

#include "uikit/text_field.h"

UITextField::UITextField() : font_(UIFont::systemFontOfSize(17)), textColor_(UIColor::blackColor()) {}

void UITextField::setFont(std::shared_ptr<UIFont> font)
{
    font_ = font ? std::move(font) : UIFont::systemFontOfSize(17);
}

void UITextField::setTextColor(std::shared_ptr<UIColor> color)
{
    textColor_ = color ? std::move(color) : UIColor::blackColor();
}

std::string UITextField::displayedText() const
{
    if (text_.empty())
        return placeholder_;
    if (!secureTextEntry_)
        return text_;
    // One dot per character, not per byte of UTF-8.
    std::string dots;
    for (unsigned char c : text_) {
        if ((c & 0xC0) != 0x80)
            dots += "\u2022";
    }
    return dots;
}

OBJC_REGISTER(UITextField,
    c.method<&UITextField::keyboardType>("keyboardType");
    c.method<&UITextField::setKeyboardType>("setKeyboardType:");
    c.method<&UITextField::isSecureTextEntry>("isSecureTextEntry");
    c.method<&UITextField::setSecureTextEntry>("setSecureTextEntry:");
    c.method<&UITextField::borderStyle>("borderStyle");
    c.method<&UITextField::setBorderStyle>("setBorderStyle:");
    c.method<&UITextField::font>("font");
    c.method<&UITextField::setFont>("setFont:");
    c.method<&UITextField::textColor>("textColor");
    c.method<&UITextField::setTextColor>("setTextColor:");)

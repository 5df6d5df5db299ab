// Text fields: one line of editable text with a placeholder. Editing sends the editing
// control events (see touch_simulator.h for simulated typing).
#pragma once

#include "uikit/control.h"
#include "uikit/drawing.h"
#include "uikit/font.h"

#include <string>

enum UIKeyboardType : long {
    UIKeyboardTypeDefault = 0,
    UIKeyboardTypeASCIICapable = 1,
    UIKeyboardTypeNumbersAndPunctuation = 2,
    UIKeyboardTypeURL = 3,
    UIKeyboardTypeNumberPad = 4,
    UIKeyboardTypePhonePad = 5,
    UIKeyboardTypeNamePhonePad = 6,
    UIKeyboardTypeEmailAddress = 7,
    UIKeyboardTypeDecimalPad = 8,
};

enum UITextBorderStyle : long {
    UITextBorderStyleNone = 0,
    UITextBorderStyleLine = 1,
    UITextBorderStyleBezel = 2,
    UITextBorderStyleRoundedRect = 3,
};

class UITextField : public UIControl {
    OBJC_CLASS(UITextField, UIControl)
public:
    UITextField();

    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder) { placeholder_ = std::move(placeholder); }
    long keyboardType() const { return keyboardType_; }
    void setKeyboardType(long type) { keyboardType_ = type; }
    bool isSecureTextEntry() const { return secureTextEntry_; }
    void setSecureTextEntry(bool on) { secureTextEntry_ = on; }
    long borderStyle() const { return borderStyle_; }
    void setBorderStyle(long style) { borderStyle_ = style; }
    // Nil restores the defaults: the 17-point system font, black.
    const std::shared_ptr<UIFont>& font() const { return font_; }
    void setFont(std::shared_ptr<UIFont> font);
    const std::shared_ptr<UIColor>& textColor() const { return textColor_; }
    void setTextColor(std::shared_ptr<UIColor> color);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment) { textAlignment_ = alignment; }

    // What the renderer shows: the text (dots for secure entry), or the placeholder in grey
    // when the text is empty.
    std::string displayedText() const;
    bool showsPlaceholder() const { return text_.empty() && !placeholder_.empty(); }

private:
    std::string text_;
    std::string placeholder_;
    long keyboardType_ = UIKeyboardTypeDefault;
    bool secureTextEntry_ = false;
    long borderStyle_ = UITextBorderStyleNone;
    std::shared_ptr<UIFont> font_;
    std::shared_ptr<UIColor> textColor_;
    NSTextAlignment textAlignment_ = NSTextAlignment::Left;
};

// Labels: a text with its font, colour and alignment, possibly shrunk to fit its width. The
// renderer draws the text with textAttributes() in the label's bounds.
#pragma once

#include "uikit/drawing.h"
#include "uikit/font.h"
#include "uikit/view.h"

#include <string>

class UILabel : public UIView {
    OBJC_CLASS(UILabel, UIView)
public:
    // Labels take no touches by default: they pass them to what lies behind.
    UILabel();

    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    // Nil restores the default, the 17-point system font.
    const std::shared_ptr<UIFont>& font() const { return font_; }
    void setFont(std::shared_ptr<UIFont> font);
    // Nil restores the default, black.
    const std::shared_ptr<UIColor>& textColor() const { return textColor_; }
    void setTextColor(std::shared_ptr<UIColor> color);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment) { textAlignment_ = alignment; }
    // 0: as many lines as needed; negative values count as 0.
    long numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(long lines) { numberOfLines_ = lines < 0 ? 0 : lines; }
    bool adjustsFontSizeToFitWidth() const { return adjustsFontSizeToFitWidth_; }
    void setAdjustsFontSizeToFitWidth(bool on) { adjustsFontSizeToFitWidth_ = on; }
    // The smallest fraction of the font's size the text may shrink to; 0 (the default) or
    // a value of 1 or more means it does not shrink. Negative values count as 0.
    CGFloat minimumScaleFactor() const { return minimumScaleFactor_; }
    void setMinimumScaleFactor(CGFloat factor) { minimumScaleFactor_ = factor > 0 ? factor : 0; }

    // One line: the size of the text in the font. More lines: the text wrapped at the given
    // width (unlimited when it is 0 or less), cut to numberOfLines lines. Empty text: zero.
    CGSize sizeThatFits(CGSize size) const override;

    // The point size the text is drawn in: the font's own, or, when the label adjusts its
    // font to fit and its single line is wider than the bounds, the largest size down to
    // pointSize × minimumScaleFactor that fits (that minimum when none does).
    CGFloat effectiveFontSize() const;
    // Font (at the effective size), colour and alignment for drawing.
    NSStringAttributes textAttributes() const;

private:
    CGFloat widthAtSize(CGFloat pointSize) const;

    std::string text_;
    std::shared_ptr<UIFont> font_;
    std::shared_ptr<UIColor> textColor_;
    NSTextAlignment textAlignment_ = NSTextAlignment::Left;
    long numberOfLines_ = 1;
    bool adjustsFontSizeToFitWidth_ = false;
    CGFloat minimumScaleFactor_ = 0;
};

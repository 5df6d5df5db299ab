#include "uikit/label.h"

#include <algorithm>

namespace {
// The shrinking search stops when the bracket is narrower than this (in points).
constexpr CGFloat kFontSizeTolerance = 0.01;
} // namespace

UILabel::UILabel() : font_(UIFont::systemFontOfSize(17)), textColor_(UIColor::blackColor())
{
    setUserInteractionEnabled(false);
}

void UILabel::setFont(std::shared_ptr<UIFont> font) { font_ = font ? std::move(font) : UIFont::systemFontOfSize(17); }

void UILabel::setTextColor(std::shared_ptr<UIColor> color)
{
    textColor_ = color ? std::move(color) : UIColor::blackColor();
}

CGSize UILabel::sizeThatFits(CGSize size) const
{
    if (text_.empty())
        return CGSizeZero;
    NSStringAttributes attributes{font_, textColor_, textAlignment_};
    if (numberOfLines_ == 1 || size.width <= 0)
        return NSStringSizeWithAttributes(text_, attributes);
    CGSize wrapped = NSStringBoundingSize(text_, size.width, attributes);
    if (numberOfLines_ > 0)
        wrapped.height = std::min(wrapped.height, static_cast<CGFloat>(numberOfLines_) * font_->lineHeight());
    return wrapped;
}

CGFloat UILabel::widthAtSize(CGFloat pointSize) const
{
    return NSStringSizeWithAttributes(text_, {font_->fontWithSize(pointSize), textColor_, textAlignment_}).width;
}

CGFloat UILabel::effectiveFontSize() const
{
    const CGFloat pointSize = font_->pointSize();
    if (!adjustsFontSizeToFitWidth_ || numberOfLines_ != 1 || text_.empty() || minimumScaleFactor_ <= 0 ||
        minimumScaleFactor_ >= 1)
        return pointSize;
    const CGFloat available = bounds().size.width;
    if (widthAtSize(pointSize) <= available)
        return pointSize;
    const CGFloat minimum = pointSize * minimumScaleFactor_;
    if (widthAtSize(minimum) > available)
        return minimum;
    // Text width grows with the size (not strictly in proportion, because of hinting), so
    // bisect: `fits` always fits, `tooWide` never does.
    CGFloat fits = minimum, tooWide = pointSize;
    while (tooWide - fits > kFontSizeTolerance) {
        const CGFloat middle = (fits + tooWide) / 2;
        (widthAtSize(middle) <= available ? fits : tooWide) = middle;
    }
    return fits;
}

NSStringAttributes UILabel::textAttributes() const
{
    const CGFloat size = effectiveFontSize();
    return {size == font_->pointSize() ? font_ : font_->fontWithSize(size), textColor_, textAlignment_};
}

OBJC_REGISTER(UILabel,
    c.method<&UILabel::font>("font");
    c.method<&UILabel::setFont>("setFont:");
    c.method<&UILabel::textColor>("textColor");
    c.method<&UILabel::setTextColor>("setTextColor:");
    c.method<&UILabel::numberOfLines>("numberOfLines");
    c.method<&UILabel::setNumberOfLines>("setNumberOfLines:");
    c.method<&UILabel::adjustsFontSizeToFitWidth>("adjustsFontSizeToFitWidth");
    c.method<&UILabel::setAdjustsFontSizeToFitWidth>("setAdjustsFontSizeToFitWidth:");
    c.method<&UILabel::minimumScaleFactor>("minimumScaleFactor");
    c.method<&UILabel::setMinimumScaleFactor>("setMinimumScaleFactor:");)

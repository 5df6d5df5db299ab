#include "uikit/image_view.h"

#include <algorithm>

using objc::operator""_sel;

UIImageView::UIImageView() { setUserInteractionEnabled(false); }

std::shared_ptr<UIImageView> UIImageView::createWithImage(const std::shared_ptr<UIImage>& image)
{
    return objc::msgSend<std::shared_ptr<UIImageView>>(objc::alloc<UIImageView>(), "initWithImage:"_sel, image);
}

objc::id UIImageView::initWithImage(const std::shared_ptr<UIImage>& image)
{
    image_ = image;
    setFrame({CGPointZero, image ? image->size() : CGSizeZero});
    return self();
}

CGSize UIImageView::sizeThatFits(CGSize) const { return image_ ? image_->size() : CGSizeZero; }

CGRect UIImageView::imageRect() const
{
    if (!image_)
        return CGRectZero;
    const CGRect b = bounds();
    const CGSize s = image_->size();
    auto centred = [&](CGSize size) {
        return CGRect{{b.origin.x + (b.size.width - size.width) / 2, b.origin.y + (b.size.height - size.height) / 2},
                      size};
    };
    switch (contentMode()) {
    case UIViewContentMode::ScaleToFill:
    case UIViewContentMode::Redraw:
        return b;
    case UIViewContentMode::ScaleAspectFit:
    case UIViewContentMode::ScaleAspectFill: {
        if (s.width <= 0 || s.height <= 0)
            return centred(CGSizeZero);
        const CGFloat sx = b.size.width / s.width, sy = b.size.height / s.height;
        const CGFloat scale = contentMode() == UIViewContentMode::ScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
        return centred({s.width * scale, s.height * scale});
    }
    case UIViewContentMode::Center:
        return centred(s);
    case UIViewContentMode::Top:
        return {{centred(s).origin.x, b.origin.y}, s};
    case UIViewContentMode::Bottom:
        return {{centred(s).origin.x, CGRectGetMaxY(b) - s.height}, s};
    case UIViewContentMode::Left:
        return {{b.origin.x, centred(s).origin.y}, s};
    case UIViewContentMode::Right:
        return {{CGRectGetMaxX(b) - s.width, centred(s).origin.y}, s};
    }
    return b;
}

std::shared_ptr<UIColor> UIImageView::templateTintColor() const
{
    if (!image_ || image_->renderingMode() != UIImageRenderingMode::AlwaysTemplate)
        return nullptr;
    return tintColor();
}

OBJC_REGISTER(UIImageView,
    c.method<&UIImageView::initWithImage>("initWithImage:");
    c.method<&UIImageView::image>("image");
    c.method<&UIImageView::setImage>("setImage:");)

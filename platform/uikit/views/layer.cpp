#include "uikit/layer.h"

#include "uikit/bezier_path.h"
#include "uikit/view.h"

#include <algorithm>

CALayer::~CALayer()
{
    for (auto& sublayer : sublayers_)
        sublayer->superlayer_ = nullptr;
}

std::shared_ptr<CALayer> CALayer::layer()
{
    return std::make_shared<CALayer>();
}

void CALayer::setFrame(CGRect frame)
{
    if (view_) {
        view_->setFrame(frame);
        return;
    }
    origin_ = frame.origin;
    bounds_ = CGRectMake(0, 0, frame.size.width, frame.size.height);
    position_ = {frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2};
}

void CALayer::setBackgroundColor(CGColorRef color)
{
    auto made = color ? std::make_shared<UIColor>(color->red, color->green, color->blue, color->alpha) : nullptr;
    if (view_)
        view_->setBackgroundColor(std::move(made));
    else
        backgroundColor_ = std::move(made);
}

void CALayer::setOpacity(float opacity)
{
    if (view_)
        view_->setAlpha(opacity);
    else
        opacity_ = opacity;
}

void CALayer::setHidden(bool hidden)
{
    if (view_)
        view_->setHidden(hidden);
    else
        hidden_ = hidden;
}

bool CALayer::isAncestorOf(const CALayer* layer) const
{
    for (const CALayer* l = layer; l; l = l->superlayer_) {
        if (l == this)
            return true;
    }
    return false;
}

void CALayer::addSublayer(std::shared_ptr<CALayer> layer)
{
    insertSublayerAtIndex(std::move(layer), static_cast<unsigned>(sublayers_.size()));
}

void CALayer::insertSublayerAtIndex(std::shared_ptr<CALayer> layer, unsigned index)
{
    // Refusing a cycle keeps the tree a tree: a layer holding its own ancestor would never be freed.
    if (!layer || layer->isAncestorOf(this))
        return;
    layer->removeFromSuperlayer();
    const std::size_t at = std::min<std::size_t>(index, sublayers_.size());
    layer->superlayer_ = this;
    sublayers_.insert(sublayers_.begin() + static_cast<std::ptrdiff_t>(at), std::move(layer));
}

void CALayer::removeFromSuperlayer()
{
    CALayer* parent = superlayer_;
    if (!parent)
        return;
    superlayer_ = nullptr;
    auto& list = parent->sublayers_;
    auto it = std::find_if(list.begin(), list.end(), [this](const auto& l) { return l.get() == this; });
    if (it != list.end())
        list.erase(it); // may release this layer: nothing after this line touches it
}

std::shared_ptr<CAShapeLayer> CAShapeLayer::layer()
{
    return std::make_shared<CAShapeLayer>();
}

std::shared_ptr<CAGradientLayer> CAGradientLayer::layer()
{
    return std::make_shared<CAGradientLayer>();
}

OBJC_REGISTER(CALayer,
    c.classMethod<&CALayer::layer>("layer");
    c.method<&CALayer::frame>("frame");
    c.method<&CALayer::setFrame>("setFrame:");
    c.method<&CALayer::bounds>("bounds");
    c.method<&CALayer::cornerRadius>("cornerRadius");
    c.method<&CALayer::setCornerRadius>("setCornerRadius:");
    c.method<&CALayer::masksToBounds>("masksToBounds");
    c.method<&CALayer::setMasksToBounds>("setMasksToBounds:");
    c.method<&CALayer::borderWidth>("borderWidth");
    c.method<&CALayer::setBorderWidth>("setBorderWidth:");
    c.method<&CALayer::shadowOffset>("shadowOffset");
    c.method<&CALayer::setShadowOffset>("setShadowOffset:");
    c.method<&CALayer::shadowOpacity>("shadowOpacity");
    c.method<&CALayer::setShadowOpacity>("setShadowOpacity:");
    c.method<&CALayer::shadowRadius>("shadowRadius");
    c.method<&CALayer::setShadowRadius>("setShadowRadius:");
    c.method<&CALayer::opacity>("opacity");
    c.method<&CALayer::setOpacity>("setOpacity:");
    c.method<&CALayer::isHidden>("isHidden");
    c.method<&CALayer::setHidden>("setHidden:");
    c.method<&CALayer::mask>("mask");
    c.method<&CALayer::setMask>("setMask:");
    c.method<&CALayer::addSublayer>("addSublayer:");
    c.method<&CALayer::insertSublayerAtIndex>("insertSublayer:atIndex:");
    c.method<&CALayer::removeFromSuperlayer>("removeFromSuperlayer");)
OBJC_REGISTER(CAShapeLayer,
    c.classMethod<&CAShapeLayer::layer>("layer");
    c.method<&CAShapeLayer::path>("path");
    c.method<&CAShapeLayer::setPath>("setPath:");)
OBJC_REGISTER(CAGradientLayer,
    c.classMethod<&CAGradientLayer::layer>("layer");
    c.method<&CAGradientLayer::startPoint>("startPoint");
    c.method<&CAGradientLayer::setStartPoint>("setStartPoint:");
    c.method<&CAGradientLayer::endPoint>("endPoint");
    c.method<&CAGradientLayer::setEndPoint>("setEndPoint:");)

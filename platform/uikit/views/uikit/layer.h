// Layers: the visual properties of a view (or of a stand-alone layer such as a mask or a
// gradient). The renderer reads them; nothing here draws.
#pragma once

#include "objc/objc.h"
#include "uikit/color.h"
#include "uikit/geometry.h"

#include <memory>
#include <string>
#include <vector>

class UIImage;
class UIBezierPath;
class UIView;

// Ownership: a layer owns its sublayers and its mask; its superlayer and its view are not
// retained. A layer holds its geometry (frame, bounds, position), opacity, hidden state and
// background colour, also for a view: the view reads them here and is their only writer, so
// setting one of them on a view's layer goes through the view (whose setters subclasses may
// override).
class CALayer : public objc::Object {
    OBJC_CLASS(CALayer, objc::Object)
public:
    ~CALayer() override;
    static std::shared_ptr<CALayer> layer(); // [CALayer layer]

    // A view's layer has the view's frame, bounds (whose origin is a scroll offset) and
    // centre; a layer of its own has bounds at the origin, as large as its frame.
    CGRect frame() const { return {origin_, bounds_.size}; }
    void setFrame(CGRect frame);
    CGRect bounds() const { return bounds_; }
    CGPoint position() const { return position_; }

    // The compositing filter by name ("multiplyBlendMode", "screenBlendMode", ...); empty: none.
    const std::string& compositingFilter() const { return compositingFilter_; }
    void setCompositingFilter(std::string filter) { compositingFilter_ = std::move(filter); }

    CGFloat cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(CGFloat radius) { cornerRadius_ = radius; }
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks) { masksToBounds_ = masks; }
    CGFloat borderWidth() const { return borderWidth_; }
    void setBorderWidth(CGFloat width) { borderWidth_ = width; }
    const CGColorRef& borderColor() const { return borderColor_; }
    void setBorderColor(CGColorRef color) { borderColor_ = std::move(color); }
    CGColorRef backgroundColor() const { return backgroundColor_ ? backgroundColor_->CGColor() : nullptr; }
    void setBackgroundColor(CGColorRef color);

    const CGColorRef& shadowColor() const { return shadowColor_; }
    void setShadowColor(CGColorRef color) { shadowColor_ = std::move(color); }
    CGSize shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(CGSize offset) { shadowOffset_ = offset; }
    float shadowOpacity() const { return shadowOpacity_; }
    void setShadowOpacity(float opacity) { shadowOpacity_ = opacity; }
    CGFloat shadowRadius() const { return shadowRadius_; }
    void setShadowRadius(CGFloat radius) { shadowRadius_ = radius; }

    float opacity() const { return static_cast<float>(opacity_); }
    void setOpacity(float opacity);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);

    // The image the layer shows, stretched to its bounds (the default contents gravity).
    const std::shared_ptr<UIImage>& contents() const { return contents_; }
    void setContents(std::shared_ptr<UIImage> image) { contents_ = std::move(image); }

    // The layer whose alpha (or, for a shape layer, whose path) decides what of this one shows.
    const std::shared_ptr<CALayer>& mask() const { return mask_; }
    void setMask(std::shared_ptr<CALayer> mask) { mask_ = std::move(mask); }

    // A view's layer is a sublayer of its superview's layer, in subview order; layers added
    // directly keep their place among them, so the layer tree alone describes the picture.
    const std::vector<std::shared_ptr<CALayer>>& sublayers() const { return sublayers_; }
    // Adding a layer takes it from its previous superlayer; nil, the layer itself or one of its
    // ancestors is refused (nothing changes).
    void addSublayer(std::shared_ptr<CALayer> layer);
    // An index past the end appends.
    void insertSublayerAtIndex(std::shared_ptr<CALayer> layer, unsigned index);
    void removeFromSuperlayer();
    CALayer* superlayer() const { return superlayer_; }

    // The view this layer belongs to, if any (not retained).
    UIView* delegateView() const { return view_; }
    void setDelegateView(UIView* view) { view_ = view; }

private:
    // The view writes its state straight into its layer, and reads it from there.
    friend class UIView;
    bool isAncestorOf(const CALayer* layer) const;

    // The frame's origin as last set: kept beside the position so that a frame reads back
    // exactly as it was written (no rounding through the centre).
    CGPoint origin_{};
    CGRect bounds_{};
    CGPoint position_{};
    std::string compositingFilter_;
    CGFloat cornerRadius_ = 0;
    bool masksToBounds_ = false;
    CGFloat borderWidth_ = 0;
    CGColorRef borderColor_ = std::make_shared<CGColor>(CGColor{0, 0, 0, 1});
    // A view's colour object itself, so that the view hands back the very colour it was given.
    std::shared_ptr<UIColor> backgroundColor_;
    CGColorRef shadowColor_ = std::make_shared<CGColor>(CGColor{0, 0, 0, 1});
    CGSize shadowOffset_{0, -3};
    float shadowOpacity_ = 0;
    CGFloat shadowRadius_ = 3;
    // A view's alpha, read back as it was written (a layer's opacity is a float).
    CGFloat opacity_ = 1;
    bool hidden_ = false;
    std::shared_ptr<UIImage> contents_;
    std::shared_ptr<CALayer> mask_;
    std::vector<std::shared_ptr<CALayer>> sublayers_;
    CALayer* superlayer_ = nullptr;
    UIView* view_ = nullptr;
};

// A layer that fills (and, as a mask, admits) the inside of a path.
class CAShapeLayer : public CALayer {
    OBJC_CLASS(CAShapeLayer, CALayer)
public:
    static std::shared_ptr<CAShapeLayer> layer();
    const std::shared_ptr<UIBezierPath>& path() const { return path_; }
    void setPath(std::shared_ptr<UIBezierPath> path) { path_ = std::move(path); }
    const CGColorRef& fillColor() const { return fillColor_; }
    void setFillColor(CGColorRef color) { fillColor_ = std::move(color); }

private:
    std::shared_ptr<UIBezierPath> path_;
    CGColorRef fillColor_ = std::make_shared<CGColor>(CGColor{0, 0, 0, 1});
};

// A linear gradient of its colours, spread evenly from startPoint to endPoint (unit
// coordinates of the layer's bounds; by default top centre to bottom centre).
class CAGradientLayer : public CALayer {
    OBJC_CLASS(CAGradientLayer, CALayer)
public:
    static std::shared_ptr<CAGradientLayer> layer();
    const std::vector<CGColorRef>& colors() const { return colors_; }
    void setColors(std::vector<CGColorRef> colors) { colors_ = std::move(colors); }
    CGPoint startPoint() const { return startPoint_; }
    void setStartPoint(CGPoint p) { startPoint_ = p; }
    CGPoint endPoint() const { return endPoint_; }
    void setEndPoint(CGPoint p) { endPoint_ = p; }

private:
    std::vector<CGColorRef> colors_;
    CGPoint startPoint_{0.5, 0};
    CGPoint endPoint_{0.5, 1};
};

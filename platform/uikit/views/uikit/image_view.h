// Image views: an image placed in the bounds by the content mode, drawn in the tint colour
// when the image is a template. The renderer draws image() in imageRect().
#pragma once

#include "uikit/image.h"
#include "uikit/view.h"

class UIImageView : public UIView {
    OBJC_CLASS(UIImageView, UIView)
public:
    // Image views take no touches by default.
    UIImageView();

    // An image view framed to the image's size at the origin, through the runtime
    // (alloc, then initWithImage:).
    static std::shared_ptr<UIImageView> createWithImage(const std::shared_ptr<UIImage>& image);
    // Runtime selector "initWithImage:". A nil image gives a zero frame.
    virtual objc::id initWithImage(const std::shared_ptr<UIImage>& image);

    const std::shared_ptr<UIImage>& image() const { return image_; }
    void setImage(std::shared_ptr<UIImage> image) { image_ = std::move(image); }

    // The image's own size (zero without image).
    CGSize sizeThatFits(CGSize size) const override;

    // Where the image is drawn in the bounds: ScaleToFill and Redraw stretch it over the
    // bounds; AspectFit / AspectFill scale it to fit inside / cover the bounds, centred; the
    // other modes keep its size: Center centres it, Top / Bottom / Left / Right put it
    // against that edge, centred along it. Zero without image.
    CGRect imageRect() const;
    // The colour the image is drawn in when it is a template (rendering mode AlwaysTemplate):
    // the view's tint colour. Nil when the image keeps its own colours.
    std::shared_ptr<UIColor> templateTintColor() const;

private:
    std::shared_ptr<UIImage> image_;
};

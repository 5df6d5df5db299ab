// The platform's private blur view: it blurs what lies behind it, tinted, and always fills its
// superview (when added, and whenever the superview's size changes or it is laid out), so
// callers never give it a frame. The renderer draws the blur from blurRadius() and the
// input settings.
#pragma once

#include "uikit/color.h"
#include "uikit/view.h"

#include <memory>
#include <string>

class NSString;

// The tint laid over the blur.
class _UIBackdropViewSettings : public objc::Object {
    OBJC_CLASS(_UIBackdropViewSettings, objc::Object)
public:
    const std::shared_ptr<UIColor>& colorTint() const { return colorTint_; }
    void setColorTint(std::shared_ptr<UIColor> color) { colorTint_ = std::move(color); }
    // Clamped to 0 ... 1.
    double colorTintAlpha() const { return colorTintAlpha_; }
    void setColorTintAlpha(double alpha);

private:
    std::shared_ptr<UIColor> colorTint_;
    double colorTintAlpha_ = 0;
};

class _UIBackdropView : public UIView {
    OBJC_CLASS(_UIBackdropView, UIView)
public:
    _UIBackdropView();

    // alloc, then initWithStyle:, through the runtime.
    static std::shared_ptr<_UIBackdropView> createWithStyle(long style);
    // Runtime selector "initWithStyle:". The style picks the initial tint: 2 is dark (black
    // at 0.4), 1 and 0 are light (white at 0.7 and 0.3); others have no tint. The blur
    // radius starts at 20 points.
    virtual objc::id initWithStyle(long style);
    long style() const { return style_; }

    const std::shared_ptr<_UIBackdropViewSettings>& inputSettings() const { return settings_; }

    // Radius of the blur in points; negative values count as 0.
    double blurRadius() const { return blurRadius_; }
    void setBlurRadius(double radius) { blurRadius_ = radius > 0 ? radius : 0; }
    bool blurRadiusSetOnce() const { return blurRadiusSetOnce_; }
    void setBlurRadiusSetOnce(bool once) { blurRadiusSetOnce_ = once; }
    // "default", "low", ... as given; empty gives "default".
    const std::string& blurQuality() const { return blurQuality_; }
    void setBlurQuality(std::string quality) { blurQuality_ = quality.empty() ? "default" : std::move(quality); }
    // The same through the runtime ("blurQuality", "setBlurQuality:"), where the quality is a
    // string object; nil gives "default".
    std::shared_ptr<NSString> blurQualityString() const;
    void setBlurQualityString(const std::shared_ptr<NSString>& quality);

    // Inside a superview the frame is always the superview's bounds, whatever is asked.
    void setFrame(CGRect frame) override;
    void didMoveToSuperview() override;
    void resizeWithOldSuperviewSize(CGSize oldSize) override;
    void layoutSubviews() override;

private:
    void fillSuperview();

    long style_ = 0;
    std::shared_ptr<_UIBackdropViewSettings> settings_ = std::make_shared<_UIBackdropViewSettings>();
    double blurRadius_ = 20;
    bool blurRadiusSetOnce_ = false;
    std::string blurQuality_ = "default";
};

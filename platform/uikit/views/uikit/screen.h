// The device's screen: its size in points and its scale (pixels per point).
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"
#include "uikit/screen_scale.h"

#include <memory>

class UIScreen : public objc::Object {
    OBJC_CLASS(UIScreen, objc::Object)
public:
    // One per process.
    static std::shared_ptr<UIScreen> mainScreen();

    // The main screen scale of the graphics layer (2.0) on the simulated device.
    CGFloat scale() const { return scale_; }
    // (0, 0, 320, 568) on the simulated device.
    CGRect bounds() const { return bounds_; }
    // The simulated device may stand for another screen. A scale of 0 or less is refused.
    void setScale(CGFloat scale);
    void setBounds(CGRect bounds) { bounds_ = CGRectStandardize(bounds); }

private:
    CGFloat scale_ = kUIMainScreenScale;
    CGRect bounds_ = CGRectMake(0, 0, 320, 568);
};

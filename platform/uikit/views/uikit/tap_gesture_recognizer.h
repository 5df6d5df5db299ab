// A recogniser of a number of quick taps in one place.
#pragma once

#include "uikit/gesture_recognizer.h"

class UITapGestureRecognizer : public UIGestureRecognizer {
    OBJC_CLASS(UITapGestureRecognizer, UIGestureRecognizer)
public:
    static std::shared_ptr<UITapGestureRecognizer> create(const objc::id& target, objc::SEL action)
    {
        return UIGestureRecognizer::create<UITapGestureRecognizer>(target, action);
    }

    // At least 1: asking for 0 taps gives 1.
    unsigned long numberOfTapsRequired() const { return numberOfTapsRequired_; }
    void setNumberOfTapsRequired(unsigned long taps) { numberOfTapsRequired_ = taps == 0 ? 1 : taps; }
    unsigned long numberOfTouchesRequired() const { return numberOfTouchesRequired_; }
    void setNumberOfTouchesRequired(unsigned long touches) { numberOfTouchesRequired_ = touches == 0 ? 1 : touches; }

private:
    unsigned long numberOfTapsRequired_ = 1;
    unsigned long numberOfTouchesRequired_ = 1;
};

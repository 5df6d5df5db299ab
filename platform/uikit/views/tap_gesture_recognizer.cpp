#include "uikit/tap_gesture_recognizer.h"

OBJC_REGISTER(UITapGestureRecognizer,
    c.method<&UITapGestureRecognizer::numberOfTapsRequired>("numberOfTapsRequired");
    c.method<&UITapGestureRecognizer::setNumberOfTapsRequired>("setNumberOfTapsRequired:");
    c.method<&UITapGestureRecognizer::numberOfTouchesRequired>("numberOfTouchesRequired");
    c.method<&UITapGestureRecognizer::setNumberOfTouchesRequired>("setNumberOfTouchesRequired:");)

// A widget plug-in for the tests: its principal view class, registered when the bundle loads.
#include "uikit/view.h"

class TestWidgetView : public UIView {
    OBJC_CLASS(TestWidgetView, UIView)
};

OBJC_REGISTER(TestWidgetView)

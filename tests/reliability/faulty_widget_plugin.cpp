// Plug-in classes that fail, for the reliability tests: each bundle's Info.plist names one as
// its principal class.
//   ThrowingWidgetView   a view whose initialiser throws
//   CrashingWidgetView   a view whose layout (the code that puts its drawing in place) crashes
//                        the process (an abort, which the sanitizers leave to the system too)
//   FaultyWidgetHelper   a class that is not a view at all
#include "uikit/view.h"

#include <cstdlib>
#include <stdexcept>

class ThrowingWidgetView : public UIView {
    OBJC_CLASS(ThrowingWidgetView, UIView)
public:
    objc::id initWithFrame(CGRect) override { throw std::runtime_error("the widget cannot start"); }
};

class CrashingWidgetView : public UIView {
    OBJC_CLASS(CrashingWidgetView, UIView)
public:
    void layoutSubviews() override { std::abort(); }
};

class FaultyWidgetHelper : public objc::Object {
    OBJC_CLASS(FaultyWidgetHelper, objc::Object)
};

OBJC_REGISTER(ThrowingWidgetView)
OBJC_REGISTER(CrashingWidgetView)
OBJC_REGISTER(FaultyWidgetHelper)

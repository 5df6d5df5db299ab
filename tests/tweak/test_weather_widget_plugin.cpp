// A weather-like widget plug-in for the tests: its view answers the weather-only messages and
// keeps what it was sent, readable through the runtime ("calls"). The bundle also carries a
// class that is no view, for bundles that name it as their principal class.
#include "foundation/ns_string.h"
#include "uikit/layer.h"
#include "uikit/view.h"

class TestWeatherWidgetView : public UIView {
    OBJC_CLASS(TestWeatherWidgetView, UIView)
public:
    void setBlendLayer(const std::shared_ptr<CALayer>& layer) { calls_ += layer ? "blend(layer) " : "blend(nil) "; }
    void reloadCells() { calls_ += "reload "; }
    objc::id calls() const { return NSStr(calls_); }

private:
    std::string calls_;
};

class TestWidgetHelper : public objc::Object {
    OBJC_CLASS(TestWidgetHelper, objc::Object)
};

OBJC_REGISTER(TestWeatherWidgetView,
    c.method<&TestWeatherWidgetView::setBlendLayer>("setBlendLayer:");
    c.method<&TestWeatherWidgetView::reloadCells>("reloadCells");
    c.method<&TestWeatherWidgetView::calls>("calls");)
OBJC_REGISTER(TestWidgetHelper)

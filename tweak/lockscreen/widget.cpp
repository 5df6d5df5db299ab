#include "tweak/lockscreen/widget.h"

#include "foundation/log.h"
#include "tweak/core/status_text.h"
#include "uikit/layer.h"

#include <exception>

using namespace objc;

OBJC_REGISTER(VTWidget,
    c.method<&VTWidget::initWithFrame>("initWithFrame:");
    c.method<&VTWidget::updateView>("updateView");
    c.method<&VTWidget::layoutSubviews>("layoutSubviews");
    c.method<&VTWidget::reloadWeatherInfo>("reloadWeatherInfo");
    c.method<&VTWidget::popLayer>("popLayer");
    c.method<&VTWidget::setPopLayer>("setPopLayer:");
    c.method<&VTWidget::widgetClass>("widgetClass");
    c.method<&VTWidget::setWidgetClass>("setWidgetClass:");
    c.method<&VTWidget::pluginView>("pluginView");
    c.method<&VTWidget::setPluginView>("setPluginView:");)

id VTWidget::initWithFrame(CGRect frame)
{
    return UIView::initWithFrame(frame);
}

std::shared_ptr<UIView> VTWidget::makePluginView() const
{
    // A principal class that is no view (a bundle whose first class is a helper) cannot be
    // shown: the area stays empty, as for a missing plug-in, rather than stopping the host.
    if (!widgetClass_ || !widgetClass_->isSubclassOf(UIView::class_()))
        return nullptr;
    // A plug-in whose view cannot be made (its initialiser throws) leaves the area empty too;
    // unlike a missing plug-in it is a fault of the plug-in, so it is logged.
    try {
        const id instance = msgSend<id>(widgetClass_, "alloc"_sel);
        return std::dynamic_pointer_cast<UIView>(msgSend<id>(instance, "initWithFrame:"_sel, bounds()));
    } catch (const std::exception& error) {
        NSLog("Vantorel: the plug-in view %s could not be made: %s", class_getName(widgetClass_), error.what());
    } catch (...) {
        NSLog("Vantorel: the plug-in view %s could not be made", class_getName(widgetClass_));
    }
    return nullptr;
}

void VTWidget::updateView()
{
    if (!pluginView_)
        pluginView_ = makePluginView();
    if (!pluginView_)
        return;
    msgSend(pluginView_, "setFrame:"_sel, bounds());
    addSubview(pluginView_); // already a subview: only brought to the front
}

void VTWidget::layoutSubviews()
{
    UIView::layoutSubviews();
    if (pluginView_)
        msgSend(pluginView_, "setFrame:"_sel, bounds());
}

void VTWidget::reloadWeatherInfo()
{
    didUpdateWeather();
    // Only the weather plug-in answers these. The host asks while its SelectedWidget setting
    // reads "Weather", but a settings reload can say so while this widget still shows another
    // plug-in; that plug-in is left alone.
    msgSendIfResponds(pluginView_, "setBlendLayer:"_sel, popLayer_);
    msgSendIfResponds(pluginView_, "reloadCells"_sel);
}

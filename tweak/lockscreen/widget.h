// VTWidget: the widget area's host view. It makes its plug-in's view once, from the plug-in's
// principal class, keeps it at its own bounds, and passes the weather refresh on to it.
//
// Ownership: the widget owns its plug-in view (a subview, also held as pluginView) and holds its
// popLayer strongly; the plug-in class is a class object of the runtime. The host owns the widget
// (widgetHost) and makes a new one to show another plug-in.
#pragma once

#include "objc/objc.h"
#include "uikit/view.h"

#include <memory>

class CALayer;

class VTWidget : public UIView {
    OBJC_CLASS(VTWidget, UIView)
public:
    // Only the view itself: the plug-in view waits for the first updateView.
    objc::id initWithFrame(CGRect frame) override;

    // Makes the plug-in view at the first call, then sizes it to the bounds and puts it on top.
    void updateView();
    void layoutSubviews() override;
    // Rereads the city weather file, then hands the plug-in view the blend layer and has it
    // reload, each only when the view answers the message.
    void reloadWeatherInfo();

    const std::shared_ptr<CALayer>& popLayer() const { return popLayer_; }
    void setPopLayer(std::shared_ptr<CALayer> layer) { popLayer_ = std::move(layer); }
    objc::Class widgetClass() const { return widgetClass_; }
    void setWidgetClass(objc::Class cls) { widgetClass_ = cls; }
    const std::shared_ptr<UIView>& pluginView() const { return pluginView_; }
    void setPluginView(std::shared_ptr<UIView> view) { pluginView_ = std::move(view); }

private:
    std::shared_ptr<UIView> makePluginView() const;

    std::shared_ptr<CALayer> popLayer_;
    objc::Class widgetClass_ = nullptr;
    std::shared_ptr<UIView> pluginView_;
};

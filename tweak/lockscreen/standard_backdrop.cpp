#include "tweak/lockscreen/standard_backdrop.h"

#include "tweak/core/settings.h"
#include "uikit/backdrop_view.h"
#include "uikit/color.h"

namespace vantorel {

std::shared_ptr<_UIBackdropView> makeStandardBackdrop()
{
    auto backdrop = _UIBackdropView::createWithStyle(2);
    if (backdrop)
        configureStandardBackdrop(*backdrop);
    return backdrop;
}

void configureStandardBackdrop(_UIBackdropView& backdrop)
{
    backdrop.inputSettings()->setColorTint(UIColor::blackColor());
    backdrop.inputSettings()->setColorTintAlpha(0.4);
    backdrop.setBlurRadiusSetOnce(true);
    backdrop.setBlurRadius(4.0);
    backdrop.setBlurQuality("default");
}

std::shared_ptr<UIView> makeBlurredPanel(CGRect frame)
{
    auto panel = UIView::create<UIView>(frame);
    auto backdrop = makeStandardBackdrop();
    if (!panel || !backdrop)
        return panel;
    panel->insertSubviewAtIndex(backdrop, 0);
    // Sized once, from what the backdrop fills at this moment: a panel made with a zero frame
    // (the tab) keeps a tint without area.
    auto tint = UIView::create<UIView>(backdrop->bounds());
    tint->setBackgroundColor(settings.backgroundBlurColor);
    tint->setAlpha(settings.backgroundBlurAlpha);
    backdrop->addSubview(tint);
    return panel;
}

} // namespace vantorel

// The one blur recipe of the dashboard: every blurred panel and the lock screen's backdrop are
// the platform's private blur view in its dark style, black tint at 0.4, radius 4.
#pragma once

#include "uikit/geometry.h"

#include <memory>

class UIView;
class _UIBackdropView;

namespace vantorel {

// A new blur view (style 2), configured.
std::shared_ptr<_UIBackdropView> makeStandardBackdrop();
// Applies the recipe (again) to an existing blur view.
void configureStandardBackdrop(_UIBackdropView& backdrop);

// A plain view with a standard backdrop behind its content and, inside the backdrop, a tint
// view of the "backgroundBlurColor" setting at "backgroundBlurAlpha". The backdrop follows the
// panel's size by itself; the tint view keeps the size the panel has now.
std::shared_ptr<UIView> makeBlurredPanel(CGRect frame);

} // namespace vantorel

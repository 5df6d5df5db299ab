// What views of the toolkit's own kinds show inside their bounds beyond what every layer
// shows: a label's text, an image view's image. (A button shows its title through its title
// label, a subview; the blur backdrop is drawn by the renderer itself.)
#pragma once

#include <cairo.h>

class UIView;

namespace uikit {

// Draws the view's own content at the opacity; views of other kinds have none.
void drawViewContent(cairo_t* cr, const UIView& view, double alpha);
// Whether drawViewContent would draw anything for the view.
bool hasViewContent(const UIView& view);

} // namespace uikit

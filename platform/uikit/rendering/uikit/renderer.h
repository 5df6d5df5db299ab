// The renderer: draws a view tree, with the layers around it, into a Cairo image surface. It is
// the one place that knows how things look; views and layers only hold state, which the
// renderer reads, dispatching on the kind of view (label, image view, blur backdrop, ...).
//
// What is honoured: frame, bounds (a scroll view's offset), sublayer and subview order, hidden,
// opacity multiplied down the tree, clipping (masksToBounds / clipsToBounds, to the rounded
// bounds), background colours, corner radius, borders (inside the bounds), shadows, masks (a
// shape layer admits its path's inside, any other layer admits by its alpha), compositing
// filters with a Cairo operator, layer contents stretched to the bounds, gradient and shape
// layers, label text, image views, and the blur backdrop: what was drawn behind it is blurred
// inside its bounds, then its tint is laid over.
#pragma once

#include "uikit/geometry.h"

#include <cairo.h>

class UIView;

namespace uikit {

// Draws the view's bounds and everything inside them into an ARGB32 image surface with `scale`
// pixels per point, the bounds' top-left corner at the surface's top-left pixel; what the
// surface already holds stays beneath. A hidden root draws nothing. False when the surface is
// not an ARGB32 image surface or the scale is not a positive finite number.
bool renderView(const UIView& view, cairo_surface_t* surface, CGFloat scale);

} // namespace uikit

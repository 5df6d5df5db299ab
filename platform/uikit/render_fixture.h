// View trees described in JSON, for pictures of the toolkit in tests and reviews (see the
// render_fixture tool). A fixture is an object: an optional "scale" (pixels per point, default
// 2) and a "root" view; an object without "root" is itself the root view.
//
// A view is an object; every key is optional:
//   "type"        "view" (default), "label", "image", "button", "backdrop" or "scroll"
//   "frame"       [x, y, width, height] in points
//   "offset"      [x, y]: the bounds origin (a scroll view's content offset)
//   "background", "alpha", "hidden", "clipsToBounds", "tint" (the tint colour)
//   "cornerRadius", "masksToBounds", "compositingFilter" (e.g. "multiplyBlendMode")
//   "border"      {"width": n, "color": c}
//   "shadow"      {"color": c, "opacity": n, "radius": n, "offset": [dx, dy]}
//   "gradient"    {"colors": [c, ...], "start": [x, y], "end": [x, y]}: a gradient layer
//                 filling the view, below its subviews
//   "contents"    an image shown by the view's layer, stretched to its bounds
//   "mask"        {"path": {"rect": [x, y, w, h], "radius": r, "corners": ["topLeft", ...]}}
//                 or {"oval": [x, y, w, h]} or {"image": image, "frame": [x, y, w, h]}
//   "subviews"    [view, ...], back to front
// Labels: "text", "font" ({"name": face, "size": n}, or "system" / "bold" / "ultralight"
// with "fontSize"), "textColor", "alignment" ("left", "center", "right"), "lines",
// "minimumScaleFactor" (the text then shrinks to fit its width).
// Image views: "image", "contentMode" ("scaleToFill", "aspectFit", "aspectFill", "center",
// "top", "bottom", "left", "right"), "template" (draw the image's alpha in the tint colour).
// Buttons: "title", "titleColor". Backdrops fill their superview and start as the standard
// backdrop (blur radius 4, black tint at 0.4): "blurRadius", "tintColor", "tintAlpha".
// Colours: "#rrggbb", "#rrggbbaa", [r, g, b] or [r, g, b, a] in 0 ... 1, or a name ("black",
// "white", "red", "green", "blue", "gray", "lightGray", "clear").
// Images: a PNG path relative to the fixture's folder (inside it), or a generated picture
// {"generate": "disc" | "rect" | "stripes", "size": [w, h], "color": c, "colors": [c1, c2],
// "stripe": width in points, "scale": n}.
//
// Values of the wrong kind, unknown types or names and missing pictures are reported as
// warnings and leave the property at its default; only an unreadable or malformed file, or
// one without a root view object, fails.
#pragma once

#include "uikit/geometry.h"

#include <memory>
#include <string>
#include <vector>

class UIView;

namespace uikit {

struct RenderFixture {
    std::shared_ptr<UIView> root; // nil when the fixture could not be read
    CGFloat scale = 2;
    std::string error;                 // why there is no root
    std::vector<std::string> warnings; // what was ignored
};

// Reads a fixture from a host path and builds its view tree.
RenderFixture loadRenderFixture(const std::string& hostPath);
// Builds a view tree from fixture text; relative image paths are read from `folder`.
RenderFixture parseRenderFixture(const std::string& json, const std::string& folder);

} // namespace uikit

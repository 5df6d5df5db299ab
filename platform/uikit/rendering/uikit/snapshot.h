// Pictures of views: a view tree drawn to an image, or to a PNG file, at the screen's scale.
// Paths here are host paths (the machine's own file system: test output, pictures for review),
// never device paths; nothing is mapped under the device root.
#pragma once

#include "uikit/geometry.h"

#include <memory>
#include <string>

class UIImage;
class UIView;

// The view's bounds and everything inside them, drawn as the renderer draws them (see
// renderer.h), as an image of that size in points at the given scale (0, negative or not
// finite: the main screen's, 2.0). The tree is drawn as it stands: lay it out first.
// Nil for a nil view, an empty or non-finite size, or a picture too large to make
// (more than 32767 pixels along a side).
std::shared_ptr<UIImage> snapshotImage(const UIView* view, CGFloat scale = 2.0);

// The same picture at the main screen's scale written as a PNG to a host path. False when
// there is no picture (see above) or the file cannot be written; the folder must exist.
bool snapshot(const UIView* view, const std::string& hostPath);

#include "uikit/render_content.h"

#include "uikit/color.h"
#include "uikit/font.h"
#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/render_paint.h"
#include "uikit/text_layout.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace uikit {

namespace {

// A label keeps to its lines: one line unless told otherwise, ending in an ellipsis when the
// text is wider than the bounds; the block of lines is centred vertically in the bounds.
void drawLabel(cairo_t* cr, const UILabel& label, double alpha)
{
    std::string text = label.text();
    const CGRect b = label.bounds();
    // A label without area has no backing to draw into.
    if (text.empty() || !isDrawable(b) || CGRectIsEmpty(b))
        return;
    const long lines = label.numberOfLines();
    if (lines == 1) {
        // A single-line label shows the text up to its first line break.
        const std::size_t lineEnd = text.find_first_of("\r\n");
        if (lineEnd != std::string::npos)
            text.erase(lineEnd);
    }
    const NSStringAttributes attributes = label.textAttributes();
    const KeptTextLayout& laid = keptTextLayout(cr, text, attributes, b.size.width, lines);
    const CGFloat y = b.origin.y + (b.size.height - laid.size.height) / 2;
    if (attributes.foregroundColor)
        setSourceColor(cr, *attributes.foregroundColor, alpha);
    else
        cairo_set_source_rgba(cr, 0, 0, 0, alpha);
    cairo_move_to(cr, b.origin.x, y);
    pango_cairo_show_layout(cr, laid.layout.get());
    cairo_new_path(cr);
}

void drawImageView(cairo_t* cr, const UIImageView& view, double alpha)
{
    if (!view.image())
        return;
    const auto tint = view.templateTintColor();
    drawImage(cr, *view.image(), view.imageRect(), alpha, tint.get());
}

} // namespace

void drawViewContent(cairo_t* cr, const UIView& view, double alpha)
{
    if (const auto* label = dynamic_cast<const UILabel*>(&view))
        drawLabel(cr, *label, alpha);
    else if (const auto* imageView = dynamic_cast<const UIImageView*>(&view))
        drawImageView(cr, *imageView, alpha);
}

bool hasViewContent(const UIView& view)
{
    if (const auto* label = dynamic_cast<const UILabel*>(&view))
        return !label->text().empty();
    if (const auto* imageView = dynamic_cast<const UIImageView*>(&view))
        return imageView->image() != nullptr;
    return false;
}

} // namespace uikit

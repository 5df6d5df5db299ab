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
#include <unordered_map>

namespace uikit {

namespace {

// Labels keep their laid-out text between frames: Pango shapes text slowly, and a label shows the
// same text frame after frame. What a layout depends on: the text, the face, the alignment, the
// width, the lines, and the context's scale (its glyphs are made for it).
struct LabelLayoutKey {
    std::string text;
    std::string family;
    int weight = 0;
    bool italic = false;
    CGFloat pointSize = 0;
    NSTextAlignment alignment = NSTextAlignment::Left;
    CGFloat width = 0;
    long lines = 0;
    double xx = 0, yx = 0, xy = 0, yy = 0;
    bool operator==(const LabelLayoutKey&) const = default;
};

struct LabelLayoutKeyHash {
    std::size_t operator()(const LabelLayoutKey& k) const
    {
        std::size_t h = std::hash<std::string>()(k.text);
        const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
        mix(std::hash<std::string>()(k.family));
        mix(std::hash<int>()(k.weight));
        mix(k.italic);
        mix(std::hash<CGFloat>()(k.pointSize));
        mix(static_cast<std::size_t>(k.alignment));
        mix(std::hash<CGFloat>()(k.width));
        mix(std::hash<long>()(k.lines));
        for (double v : {k.xx, k.yx, k.xy, k.yy})
            mix(std::hash<double>()(v));
        return h;
    }
};

struct LabelLayout {
    LayoutPtr layout;
    CGSize size{};
};

// The layout of a label's text, made as drawLabel needs it or kept from before (per thread, the
// last few hundred).
const LabelLayout& labelLayout(cairo_t* cr, const std::string& text, const NSStringAttributes& attributes,
                               CGFloat width, long lines)
{
    constexpr std::size_t kKept = 256;
    thread_local std::unordered_map<LabelLayoutKey, LabelLayout, LabelLayoutKeyHash> kept;
    const auto font = attributes.font ? attributes.font : UIFont::systemFontOfSize(12);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    LabelLayoutKey key{text,  font->family(), font->weight(), font->italic(), font->pointSize(), attributes.alignment,
                       width, lines,          m.xx,           m.yx,           m.xy,              m.yy};
    if (auto found = kept.find(key); found != kept.end())
        return found->second;
    LayoutPtr layout = makeTextLayout(cr, text, attributes, width);
    if (width > 0 && lines > 0) {
        // A negative height counts lines (0 lines: as many as the text needs, no ellipsis).
        pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
        pango_layout_set_height(layout.get(), static_cast<int>(-std::min<long>(lines, 100000)));
    }
    const CGSize size = layoutSize(layout.get());
    if (kept.size() >= kKept)
        kept.clear();
    return kept.emplace(std::move(key), LabelLayout{std::move(layout), size}).first->second;
}

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
    const LabelLayout& laid = labelLayout(cr, text, attributes, b.size.width, lines);
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

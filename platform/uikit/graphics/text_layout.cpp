#include "uikit/text_layout.h"

#include "uikit/font.h"

#include <algorithm>
#include <cmath>
#include <glib.h>
#include <tuple>
#include <unordered_map>

namespace uikit {

namespace {

PangoAlignment pangoAlignment(NSTextAlignment alignment)
{
    switch (alignment) {
    case NSTextAlignment::Center: return PANGO_ALIGN_CENTER;
    case NSTextAlignment::Right: return PANGO_ALIGN_RIGHT;
    default: return PANGO_ALIGN_LEFT;
    }
}

// Hinting snaps outlines and advances to whole device pixels, which would make a text's size in
// points differ between a 1× and a 2× context; metrics are kept unhinted and positions unrounded.
void configureContext(PangoContext* context)
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
}

struct MeasuringContext {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    ~MeasuringContext()
    {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
};

} // namespace

FontDescriptionPtr fontDescription(const UIFont& font)
{
    FontDescriptionPtr description(pango_font_description_new());
    pango_font_description_set_family(description.get(), font.family().c_str());
    pango_font_description_set_weight(description.get(), static_cast<PangoWeight>(font.weight()));
    pango_font_description_set_style(description.get(), font.italic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    const double size = font.pointSize() > 0 ? font.pointSize() : 0;
    pango_font_description_set_absolute_size(description.get(), size * PANGO_SCALE);
    return description;
}

std::string sanitizedUTF8(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    const char* p = text.data();
    const char* end = p + text.size();
    static constexpr char kReplacement[] = "\xEF\xBF\xBD";
    while (p < end) {
        const char* validEnd = nullptr;
        // g_utf8_validate_len stops at the first invalid byte; a NUL counts as invalid there.
        g_utf8_validate_len(p, static_cast<gsize>(end - p), &validEnd);
        result.append(p, validEnd);
        if (validEnd >= end)
            break;
        result += kReplacement;
        // Skip the one offending byte and any continuation bytes that cannot start a character.
        p = validEnd + 1;
        while (p < end && (static_cast<unsigned char>(*p) & 0xC0) == 0x80)
            ++p;
    }
    return result;
}

LayoutPtr makeTextLayout(cairo_t* cr, const std::string& text, const NSStringAttributes& attributes,
                         CGFloat width)
{
    LayoutPtr layout(pango_cairo_create_layout(cr));
    configureContext(pango_layout_get_context(layout.get()));
    pango_layout_context_changed(layout.get());

    const auto font = attributes.font ? attributes.font : UIFont::systemFontOfSize(12);
    const FontDescriptionPtr description = fontDescription(*font);
    pango_layout_set_font_description(layout.get(), description.get());

    if (width > 0 && std::isfinite(width)) {
        pango_layout_set_width(layout.get(), static_cast<int>(std::min(width * PANGO_SCALE, double(G_MAXINT / 2))));
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    }
    pango_layout_set_alignment(layout.get(), pangoAlignment(attributes.alignment));
    pango_layout_set_justify(layout.get(), attributes.alignment == NSTextAlignment::Justified);

    const std::string clean = sanitizedUTF8(text);
    pango_layout_set_text(layout.get(), clean.data(), static_cast<int>(clean.size()));
    return layout;
}

cairo_t* measuringContext()
{
    static thread_local MeasuringContext context;
    cairo_new_path(context.cr);
    cairo_identity_matrix(context.cr);
    return context.cr;
}

CGSize layoutSize(PangoLayout* layout)
{
    PangoRectangle logical{};
    pango_layout_get_extents(layout, nullptr, &logical);
    return CGSizeMake(static_cast<CGFloat>(logical.width) / PANGO_SCALE,
                      static_cast<CGFloat>(logical.height) / PANGO_SCALE);
}

namespace {

// What a measurement depends on: the text, the face, the size, the alignment and the width.
// What text measures and lays out by: the text, the face, the alignment and the wrapping width.
struct TextKey {
    std::string text;
    std::string family;
    int weight = 0;
    bool italic = false;
    CGFloat pointSize = 0;
    NSTextAlignment alignment = NSTextAlignment::Left;
    CGFloat width = 0;
    bool operator==(const TextKey&) const = default;
};

void mixHash(std::size_t& h, std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); }

struct TextKeyHash {
    std::size_t operator()(const TextKey& k) const
    {
        std::size_t h = std::hash<std::string>()(k.text);
        mixHash(h, std::hash<std::string>()(k.family));
        mixHash(h, std::hash<int>()(k.weight));
        mixHash(h, k.italic);
        mixHash(h, std::hash<CGFloat>()(k.pointSize));
        mixHash(h, static_cast<std::size_t>(k.alignment));
        mixHash(h, std::hash<CGFloat>()(k.width));
        return h;
    }
};

TextKey textKey(const std::string& text, const NSStringAttributes& attributes, CGFloat width)
{
    const auto font = attributes.font ? attributes.font : UIFont::systemFontOfSize(12);
    return {text, font->family(), font->weight(), font->italic(), font->pointSize(), attributes.alignment, width};
}

} // namespace

CGSize measuredTextSize(const std::string& text, const NSStringAttributes& attributes, CGFloat width)
{
    constexpr std::size_t kKept = 4096;
    thread_local std::unordered_map<TextKey, CGSize, TextKeyHash> kept;
    // Widths that do not wrap all measure alike.
    TextKey key = textKey(text, attributes, width > 0 && std::isfinite(width) ? width : 0);
    if (auto found = kept.find(key); found != kept.end())
        return found->second;
    const LayoutPtr layout = makeTextLayout(measuringContext(), text, attributes, width);
    const CGSize size = layoutSize(layout.get());
    if (kept.size() >= kKept)
        kept.clear();
    kept.emplace(std::move(key), size);
    return size;
}

namespace {

// What a kept layout depends on beyond its text: the lines, and the context's scale (its glyphs
// are made for it).
struct TextLayoutKey {
    TextKey text;
    long lines = 0;
    double xx = 0, yx = 0, xy = 0, yy = 0;
    bool operator==(const TextLayoutKey&) const = default;
};

struct TextLayoutKeyHash {
    std::size_t operator()(const TextLayoutKey& k) const
    {
        std::size_t h = TextKeyHash()(k.text);
        mixHash(h, std::hash<long>()(k.lines));
        for (double v : {k.xx, k.yx, k.xy, k.yy})
            mixHash(h, std::hash<double>()(v));
        return h;
    }
};

} // namespace

const KeptTextLayout& keptTextLayout(cairo_t* cr, const std::string& text, const NSStringAttributes& attributes,
                                     CGFloat width, long lines)
{
    constexpr std::size_t kKept = 256;
    thread_local std::unordered_map<TextLayoutKey, KeptTextLayout, TextLayoutKeyHash> kept;
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    TextLayoutKey key{textKey(text, attributes, width), lines, m.xx, m.yx, m.xy, m.yy};
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
    return kept.emplace(std::move(key), KeptTextLayout{std::move(layout), size}).first->second;
}

} // namespace uikit

// Pango layouts for the toolkit's text: one place that turns a font, attributes and a width into
// a layout, with hinting off so that text measures the same in points at every scale.
#pragma once

#include "uikit/drawing.h"

#include <cairo.h>
#include <memory>
#include <pango/pangocairo.h>
#include <string>

class UIFont;

namespace uikit {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
struct PangoFontDescriptionFree {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectUnref>;
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, PangoFontDescriptionFree>;

// Family, weight, style and absolute size (one Pango unit per point of user space).
FontDescriptionPtr fontDescription(const UIFont& font);

// Text made safe for Pango: invalid UTF-8 sequences and NUL bytes become U+FFFD.
std::string sanitizedUTF8(const std::string& text);

// A layout for drawing into cr (whose user space is in points). A width of 0 or less means no
// wrapping; a positive width wraps at word boundaries, and inside words that do not fit.
LayoutPtr makeTextLayout(cairo_t* cr, const std::string& text, const NSStringAttributes& attributes,
                         CGFloat width);

// A Cairo context on a tiny surface, for measuring text and testing paths on this thread.
cairo_t* measuringContext();

// Logical size of a layout in points.
CGSize layoutSize(PangoLayout* layout);

// A layout of the text as makeTextLayout makes it, with at most `lines` lines (0: as many as it
// needs) ending in an ellipsis, and its logical size. Each thread keeps the last few hundred it
// made, by text, face, alignment, width, lines and the context's scale: Pango shapes text slowly,
// and labels and badges draw the same texts again and again. The layout stays valid until the
// next call on this thread.
struct KeptTextLayout {
    LayoutPtr layout;
    CGSize size{};
};
const KeptTextLayout& keptTextLayout(cairo_t* cr, const std::string& text, const NSStringAttributes& attributes,
                                     CGFloat width, long lines);

// The logical size of the text laid out as makeTextLayout would lay it out. Text measures the
// same every time, so each thread keeps the sizes it measured (the last few thousand): a
// layout pass over labels that did not change shapes no text.
CGSize measuredTextSize(const std::string& text, const NSStringAttributes& attributes, CGFloat width);

} // namespace uikit

#include "uikit/render_fixture.h"

#include "uikit/backdrop_view.h"
#include "uikit/bezier_path.h"
#include "uikit/button.h"
#include "uikit/color.h"
#include "uikit/font.h"
#include "uikit/image.h"
#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/layer.h"
#include "uikit/scroll_view.h"
#include "uikit/view.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cairo.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <optional>
#include <sstream>

namespace uikit {

namespace {

using nlohmann::json;

// Deeper nesting is refused: a hostile fixture must not exhaust the stack.
constexpr int kMaxDepth = 200;
constexpr int kMaxViews = 20000;
// Generated pictures stay small.
constexpr double kMaxGeneratedPixels = 4096;

class Builder {
public:
    Builder(std::string folder, std::vector<std::string>& warnings) : folder_(std::move(folder)), warnings_(warnings) {}

    std::shared_ptr<UIView> view(const json& j, const std::string& where, int depth)
    {
        if (!j.is_object()) {
            warn(where, "a view must be an object");
            return nullptr;
        }
        if (depth > kMaxDepth || ++viewCount_ > kMaxViews) {
            warn(where, "too many or too deeply nested views; the rest is left out");
            return nullptr;
        }
        const std::string type = string(j, "type", where).value_or("view");
        const CGRect frame = rect(j, "frame", where).value_or(CGRectZero);
        std::shared_ptr<UIView> v;
        if (type == "label")
            v = label(j, frame, where);
        else if (type == "image")
            v = imageView(j, frame, where);
        else if (type == "button")
            v = button(j, frame, where);
        else if (type == "backdrop")
            v = backdrop(j, where);
        else if (type == "scroll")
            v = UIView::create<UIScrollView>(frame);
        else {
            if (type != "view")
                warn(where, "unknown type \"" + type + "\", drawn as a plain view");
            v = UIView::create(frame);
        }
        if (!v)
            return nullptr;
        common(*v, j, where);
        if (const json* subviews = member(j, "subviews")) {
            if (!subviews->is_array()) {
                warn(where + ".subviews", "must be an array");
            } else {
                for (std::size_t i = 0; i < subviews->size(); ++i)
                    if (auto sub = view((*subviews)[i], where + ".subviews[" + std::to_string(i) + "]", depth + 1))
                        v->addSubview(sub);
            }
        }
        return v;
    }

private:
    void warn(const std::string& where, const std::string& what) { warnings_.push_back(where + ": " + what); }

    static const json* member(const json& j, const char* key)
    {
        const auto it = j.find(key);
        return it == j.end() ? nullptr : &*it;
    }

    std::optional<double> number(const json& j, const char* key, const std::string& where)
    {
        const json* v = member(j, key);
        if (!v)
            return std::nullopt;
        if (!v->is_number() || !std::isfinite(v->get<double>())) {
            warn(where + "." + key, "must be a finite number");
            return std::nullopt;
        }
        return v->get<double>();
    }

    std::optional<bool> boolean(const json& j, const char* key, const std::string& where)
    {
        const json* v = member(j, key);
        if (!v)
            return std::nullopt;
        if (!v->is_boolean()) {
            warn(where + "." + key, "must be true or false");
            return std::nullopt;
        }
        return v->get<bool>();
    }

    std::optional<std::string> string(const json& j, const char* key, const std::string& where)
    {
        const json* v = member(j, key);
        if (!v)
            return std::nullopt;
        if (!v->is_string()) {
            warn(where + "." + key, "must be a string");
            return std::nullopt;
        }
        return v->get<std::string>();
    }

    // An array of exactly n finite numbers.
    std::optional<std::vector<double>> numbers(const json& j, const char* key, std::size_t n, const std::string& where)
    {
        const json* v = member(j, key);
        if (!v)
            return std::nullopt;
        bool ok = v->is_array() && v->size() == n;
        std::vector<double> out;
        for (std::size_t i = 0; ok && i < n; ++i) {
            ok = (*v)[i].is_number() && std::isfinite((*v)[i].get<double>());
            if (ok)
                out.push_back((*v)[i].get<double>());
        }
        if (!ok) {
            warn(where + "." + key, "must be an array of " + std::to_string(n) + " finite numbers");
            return std::nullopt;
        }
        return out;
    }

    std::optional<CGRect> rect(const json& j, const char* key, const std::string& where)
    {
        const auto v = numbers(j, key, 4, where);
        if (!v)
            return std::nullopt;
        if ((*v)[2] < 0 || (*v)[3] < 0) {
            warn(where + "." + key, "width and height must not be negative");
            return std::nullopt;
        }
        return CGRectMake((*v)[0], (*v)[1], (*v)[2], (*v)[3]);
    }

    std::optional<CGPoint> point(const json& j, const char* key, const std::string& where)
    {
        const auto v = numbers(j, key, 2, where);
        return v ? std::optional(CGPointMake((*v)[0], (*v)[1])) : std::nullopt;
    }

    std::shared_ptr<UIColor> colorValue(const json& v, const std::string& where)
    {
        if (v.is_string()) {
            const std::string s = v.get<std::string>();
            if (!s.empty() && s[0] == '#' && (s.size() == 7 || s.size() == 9) &&
                s.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos) {
                auto byte = [&](std::size_t at) { return std::stoi(s.substr(at, 2), nullptr, 16) / 255.0; };
                return UIColor::colorWithRedGreenBlueAlpha(byte(1), byte(3), byte(5), s.size() == 9 ? byte(7) : 1.0);
            }
            static const std::pair<const char*, std::array<double, 4>> kNames[] = {
                {"black", {0, 0, 0, 1}},      {"white", {1, 1, 1, 1}},  {"red", {1, 0, 0, 1}},
                {"green", {0, 1, 0, 1}},      {"blue", {0, 0, 1, 1}},   {"gray", {0.5, 0.5, 0.5, 1}},
                {"lightGray", {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}}, {"clear", {0, 0, 0, 0}},
            };
            for (const auto& [name, c] : kNames)
                if (s == name)
                    return UIColor::colorWithRedGreenBlueAlpha(c[0], c[1], c[2], c[3]);
        } else if (v.is_array() && (v.size() == 3 || v.size() == 4)) {
            double c[4] = {0, 0, 0, 1};
            bool ok = true;
            for (std::size_t i = 0; i < v.size(); ++i) {
                ok = ok && v[i].is_number() && std::isfinite(v[i].get<double>());
                if (ok)
                    c[i] = std::clamp(v[i].get<double>(), 0.0, 1.0);
            }
            if (ok)
                return UIColor::colorWithRedGreenBlueAlpha(c[0], c[1], c[2], c[3]);
        }
        warn(where, "not a colour");
        return nullptr;
    }

    std::shared_ptr<UIColor> color(const json& j, const char* key, const std::string& where)
    {
        const json* v = member(j, key);
        return v ? colorValue(*v, where + "." + key) : nullptr;
    }

    std::shared_ptr<UIImage> generated(const json& picture, const std::string& where)
    {
        const std::string kind = string(picture, "generate", where).value_or("");
        const auto size = numbers(picture, "size", 2, where).value_or(std::vector<double>{16, 16});
        const double scale = std::clamp(number(picture, "scale", where).value_or(2.0), 0.5, 8.0);
        const double pw = std::ceil(size[0] * scale), ph = std::ceil(size[1] * scale);
        if (!(pw >= 1 && ph >= 1 && pw <= kMaxGeneratedPixels && ph <= kMaxGeneratedPixels)) {
            warn(where + ".size", "a generated picture must have 1 to 4096 pixels along each side");
            return nullptr;
        }
        cairo_surface_t* surface =
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(pw), static_cast<int>(ph));
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, scale, scale);
        auto source = [&](const std::shared_ptr<UIColor>& c) {
            if (c)
                cairo_set_source_rgba(cr, c->red(), c->green(), c->blue(), c->alpha());
            else
                cairo_set_source_rgba(cr, 0, 0, 0, 1);
        };
        if (kind == "disc") {
            source(color(picture, "color", where));
            cairo_save(cr);
            cairo_translate(cr, size[0] / 2, size[1] / 2);
            cairo_scale(cr, size[0] / 2, size[1] / 2);
            cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
            cairo_restore(cr);
            cairo_fill(cr);
        } else if (kind == "rect") {
            source(color(picture, "color", where));
            cairo_paint(cr);
        } else if (kind == "stripes") {
            std::shared_ptr<UIColor> colors[2] = {UIColor::blackColor(), UIColor::whiteColor()};
            if (const json* list = member(picture, "colors"); list && list->is_array() && list->size() == 2) {
                for (int i = 0; i < 2; ++i)
                    if (auto c = colorValue((*list)[i], where + ".colors"))
                        colors[i] = c;
            } else if (list) {
                warn(where + ".colors", "must be an array of two colours");
            }
            const double stripe = std::max(number(picture, "stripe", where).value_or(4.0), 0.5);
            const bool horizontal = string(picture, "direction", where).value_or("vertical") == "horizontal";
            const double length = horizontal ? size[1] : size[0];
            for (int i = 0; i * stripe < length; ++i) {
                source(colors[i % 2]);
                if (horizontal)
                    cairo_rectangle(cr, 0, i * stripe, size[0], stripe);
                else
                    cairo_rectangle(cr, i * stripe, 0, stripe, size[1]);
                cairo_fill(cr);
            }
        } else {
            warn(where + ".generate", "unknown picture \"" + kind + "\" (disc, rect or stripes)");
            cairo_destroy(cr);
            cairo_surface_destroy(surface);
            return nullptr;
        }
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        return UIImage::imageWithSurface(surface, scale);
    }

    // A PNG inside the fixture's folder; paths that leave it are refused.
    std::shared_ptr<UIImage> file(const std::string& name, double scale, const std::string& where)
    {
        const std::filesystem::path relative = std::filesystem::path(name).lexically_normal();
        if (name.empty() || relative.is_absolute() || relative.has_root_name() ||
            (!relative.empty() && *relative.begin() == "..")) {
            warn(where, "picture paths must stay inside the fixture's folder");
            return nullptr;
        }
        const std::string path = (std::filesystem::path(folder_) / relative).string();
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) {
            warn(where, "no picture at " + path);
            return nullptr;
        }
        cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
        if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(surface);
            warn(where, "not a readable PNG: " + path);
            return nullptr;
        }
        return UIImage::imageWithSurface(surface, scale);
    }

    std::shared_ptr<UIImage> image(const json& j, const char* key, const std::string& where)
    {
        const json* v = member(j, key);
        if (!v)
            return nullptr;
        const std::string at = where + "." + key;
        if (v->is_string()) {
            const std::string name = v->get<std::string>();
            const bool retina = name.size() > 7 && name.compare(name.size() - 7, 7, "@2x.png") == 0;
            return file(name, retina ? 2 : 1, at);
        }
        if (v->is_object()) {
            if (member(*v, "generate"))
                return generated(*v, at);
            if (const auto name = string(*v, "file", at))
                return file(*name, std::clamp(number(*v, "scale", at).value_or(1.0), 0.5, 8.0), at);
        }
        warn(at, "must be a file name or a picture description");
        return nullptr;
    }

    std::shared_ptr<UIFont> font(const json& j, const std::string& where)
    {
        const json* v = member(j, "font");
        const double size = number(j, "fontSize", where).value_or(17);
        if (!v)
            return nullptr;
        if (v->is_string()) {
            const std::string name = v->get<std::string>();
            if (name == "system")
                return UIFont::systemFontOfSize(size);
            if (name == "bold")
                return UIFont::boldSystemFontOfSize(size);
            if (name == "ultralight")
                return UIFont::fontWithNameSize(".HelveticaNeueInterface-UltraLightP2", size);
            if (auto f = UIFont::fontWithNameSize(name, size))
                return f;
        } else if (v->is_object()) {
            const double pointSize = number(*v, "size", where + ".font").value_or(size);
            if (auto f = UIFont::fontWithNameSize(string(*v, "name", where + ".font").value_or(""), pointSize))
                return f;
        }
        warn(where + ".font", "unknown font; the system font is used");
        return nullptr;
    }

    std::shared_ptr<UIView> label(const json& j, CGRect frame, const std::string& where)
    {
        auto l = UIView::create<UILabel>(frame);
        if (auto f = font(j, where))
            l->setFont(f);
        if (auto text = string(j, "text", where))
            l->setText(*text);
        if (auto c = color(j, "textColor", where))
            l->setTextColor(c);
        if (auto a = string(j, "alignment", where)) {
            if (*a == "center")
                l->setTextAlignment(NSTextAlignment::Center);
            else if (*a == "right")
                l->setTextAlignment(NSTextAlignment::Right);
            else if (*a != "left")
                warn(where + ".alignment", "must be left, center or right");
        }
        if (auto lines = number(j, "lines", where))
            l->setNumberOfLines(static_cast<long>(std::clamp(*lines, 0.0, 1e6)));
        if (auto factor = number(j, "minimumScaleFactor", where)) {
            l->setAdjustsFontSizeToFitWidth(true);
            l->setMinimumScaleFactor(*factor);
        }
        return l;
    }

    std::shared_ptr<UIView> imageView(const json& j, CGRect frame, const std::string& where)
    {
        auto v = UIView::create<UIImageView>(frame);
        auto picture = image(j, "image", where);
        if (picture && boolean(j, "template", where).value_or(false))
            picture = picture->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
        v->setImage(picture);
        if (auto mode = string(j, "contentMode", where)) {
            static const std::pair<const char*, UIViewContentMode> kModes[] = {
                {"scaleToFill", UIViewContentMode::ScaleToFill}, {"aspectFit", UIViewContentMode::ScaleAspectFit},
                {"aspectFill", UIViewContentMode::ScaleAspectFill}, {"center", UIViewContentMode::Center},
                {"top", UIViewContentMode::Top}, {"bottom", UIViewContentMode::Bottom},
                {"left", UIViewContentMode::Left}, {"right", UIViewContentMode::Right},
            };
            bool known = false;
            for (const auto& [name, m] : kModes)
                if (*mode == name) {
                    v->setContentMode(m);
                    known = true;
                }
            if (!known)
                warn(where + ".contentMode", "unknown content mode \"" + *mode + "\"");
        }
        return v;
    }

    std::shared_ptr<UIView> button(const json& j, CGRect frame, const std::string& where)
    {
        auto b = UIButton::buttonWithType(UIButtonTypeCustom);
        b->setFrame(frame);
        if (auto title = string(j, "title", where))
            b->setTitleForState(*title, UIControlStateNormal);
        if (auto c = color(j, "titleColor", where))
            b->setTitleColorForState(c, UIControlStateNormal);
        return b;
    }

    // The standard backdrop unless the fixture says otherwise.
    std::shared_ptr<UIView> backdrop(const json& j, const std::string& where)
    {
        auto b = _UIBackdropView::createWithStyle(2);
        b->inputSettings()->setColorTint(UIColor::blackColor());
        b->inputSettings()->setColorTintAlpha(0.4);
        b->setBlurRadiusSetOnce(true);
        b->setBlurRadius(4.0);
        b->setBlurQuality("default");
        if (auto radius = number(j, "blurRadius", where))
            b->setBlurRadius(*radius);
        if (auto c = color(j, "tintColor", where))
            b->inputSettings()->setColorTint(c);
        if (auto alpha = number(j, "tintAlpha", where))
            b->inputSettings()->setColorTintAlpha(*alpha);
        return b;
    }

    std::shared_ptr<CAShapeLayer> maskPath(const json& j, const std::string& where)
    {
        std::shared_ptr<UIBezierPath> path;
        if (const json* p = member(j, "path")) {
            const auto r = rect(*p, "rect", where + ".path");
            if (!r)
                return nullptr;
            const double radius = std::max(number(*p, "radius", where + ".path").value_or(0), 0.0);
            unsigned long corners = 0;
            if (const json* list = member(*p, "corners"); list && list->is_array()) {
                for (const auto& c : *list) {
                    const std::string name = c.is_string() ? c.get<std::string>() : "";
                    static const std::pair<const char*, unsigned long> kCorners[] = {
                        {"topLeft", UIRectCornerTopLeft}, {"topRight", UIRectCornerTopRight},
                        {"bottomLeft", UIRectCornerBottomLeft}, {"bottomRight", UIRectCornerBottomRight},
                    };
                    bool known = false;
                    for (const auto& [cornerName, bit] : kCorners)
                        if (name == cornerName) {
                            corners |= bit;
                            known = true;
                        }
                    if (!known)
                        warn(where + ".path.corners", "unknown corner \"" + name + "\"");
                }
            } else {
                corners = UIRectCornerAllCorners;
            }
            path = UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(*r, corners,
                                                                                      CGSizeMake(radius, radius));
        } else if (const auto oval = rect(j, "oval", where)) {
            path = UIBezierPath::bezierPathWithOvalInRect(*oval);
        } else {
            return nullptr;
        }
        auto shape = CAShapeLayer::layer();
        shape->setPath(path);
        return shape;
    }

    void mask(UIView& v, const json& j, const std::string& where)
    {
        if (!j.is_object()) {
            warn(where, "must be an object");
            return;
        }
        if (auto shape = maskPath(j, where)) {
            v.layer()->setMask(shape);
            return;
        }
        if (member(j, "image")) {
            auto layer = CALayer::layer();
            layer->setFrame(rect(j, "frame", where).value_or(v.bounds()));
            layer->setContents(image(j, "image", where));
            v.layer()->setMask(layer);
            return;
        }
        warn(where, "a mask needs a \"path\", an \"oval\" or an \"image\"");
    }

    void common(UIView& v, const json& j, const std::string& where)
    {
        if (auto offset = point(j, "offset", where)) {
            CGRect b = v.bounds();
            b.origin = *offset;
            v.setBounds(b);
        }
        if (auto c = color(j, "background", where))
            v.setBackgroundColor(c);
        if (auto a = number(j, "alpha", where))
            v.setAlpha(*a);
        if (auto h = boolean(j, "hidden", where))
            v.setHidden(*h);
        if (auto clips = boolean(j, "clipsToBounds", where))
            v.setClipsToBounds(*clips);
        if (auto c = color(j, "tint", where))
            v.setTintColor(c);
        CALayer& layer = *v.layer();
        if (auto r = number(j, "cornerRadius", where))
            layer.setCornerRadius(*r);
        if (auto m = boolean(j, "masksToBounds", where))
            layer.setMasksToBounds(*m);
        if (auto f = string(j, "compositingFilter", where))
            layer.setCompositingFilter(*f);
        if (const json* border = member(j, "border")) {
            const std::string at = where + ".border";
            if (auto width = number(*border, "width", at))
                layer.setBorderWidth(*width);
            if (auto c = color(*border, "color", at))
                layer.setBorderColor(c->CGColor());
        }
        if (const json* shadow = member(j, "shadow")) {
            const std::string at = where + ".shadow";
            if (auto c = color(*shadow, "color", at))
                layer.setShadowColor(c->CGColor());
            layer.setShadowOpacity(static_cast<float>(number(*shadow, "opacity", at).value_or(1)));
            if (auto r = number(*shadow, "radius", at))
                layer.setShadowRadius(*r);
            if (auto o = point(*shadow, "offset", at))
                layer.setShadowOffset(CGSizeMake(o->x, o->y));
        }
        if (const json* g = member(j, "gradient")) {
            const std::string at = where + ".gradient";
            auto gradient = CAGradientLayer::layer();
            gradient->setFrame(CGRectMake(0, 0, v.bounds().size.width, v.bounds().size.height));
            std::vector<CGColorRef> colors;
            if (const json* list = member(*g, "colors"); list && list->is_array())
                for (std::size_t i = 0; i < list->size(); ++i)
                    if (auto c = colorValue((*list)[i], at + ".colors[" + std::to_string(i) + "]"))
                        colors.push_back(c->CGColor());
            gradient->setColors(std::move(colors));
            if (auto s = point(*g, "start", at))
                gradient->setStartPoint(*s);
            if (auto e = point(*g, "end", at))
                gradient->setEndPoint(*e);
            layer.insertSublayerAtIndex(gradient, 0);
        }
        if (member(j, "contents"))
            layer.setContents(image(j, "contents", where));
        if (const json* m = member(j, "mask"))
            mask(v, *m, where + ".mask");
    }

    std::string folder_;
    std::vector<std::string>& warnings_;
    int viewCount_ = 0;
};

} // namespace

RenderFixture parseRenderFixture(const std::string& text, const std::string& folder)
{
    RenderFixture fixture;
    const json document = json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        fixture.error = "not valid JSON";
        return fixture;
    }
    if (!document.is_object()) {
        fixture.error = "a fixture must be a JSON object";
        return fixture;
    }
    Builder builder(folder, fixture.warnings);
    const auto scale = document.find("scale");
    if (scale != document.end()) {
        if (scale->is_number() && std::isfinite(scale->get<double>()) && scale->get<double>() > 0 &&
            scale->get<double>() <= 8)
            fixture.scale = scale->get<double>();
        else
            fixture.warnings.push_back("scale: must be a number above 0 and at most 8; 2 is used");
    }
    const auto root = document.find("root");
    const json& rootView = root != document.end() ? *root : document;
    fixture.root = builder.view(rootView, "root", 0);
    if (!fixture.root) {
        fixture.error = "no root view";
        return fixture;
    }
    fixture.root->layoutIfNeeded();
    return fixture;
}

RenderFixture loadRenderFixture(const std::string& hostPath)
{
    std::error_code error;
    std::ifstream in(hostPath, std::ios::binary);
    if (!std::filesystem::is_regular_file(hostPath, error) || !in) {
        RenderFixture fixture;
        fixture.error = "cannot read " + hostPath;
        return fixture;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseRenderFixture(text.str(), std::filesystem::path(hostPath).parent_path().string());
}

} // namespace uikit

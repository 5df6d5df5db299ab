// The host's now-playing lock-screen plug-in: the artwork of what is playing, shown on the lock
// screen while media plays. The class exists only once this shared object is loaded from
// "/System/Library/SpringBoardPlugins/NowPlayingArtLockScreen.lockbundle/NowPlayingArtLockScreen".
#include "uikit/color.h"
#include "uikit/drawing.h"
#include "uikit/font.h"
#include "uikit/image.h"
#include "uikit/view.h"

namespace {

// Artwork stand-in: a warm gradient square with a note, as a player shows for a track without
// cover art.
std::shared_ptr<UIImage> drawArtwork(CGSize size)
{
    if (size.width <= 0 || size.height <= 0)
        return nullptr;
    UIGraphicsBeginImageContextWithOptions(size, true, 0);
    cairo_t* cr = UIGraphicsGetCurrentContext();
    if (!cr) {
        UIGraphicsEndImageContext();
        return nullptr;
    }
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, size.width, size.height);
    cairo_pattern_add_color_stop_rgb(gradient, 0, 0.93, 0.36, 0.33);
    cairo_pattern_add_color_stop_rgb(gradient, 1, 0.42, 0.19, 0.60);
    cairo_set_source(cr, gradient);
    cairo_paint(cr);
    cairo_pattern_destroy(gradient);

    NSStringAttributes attributes;
    attributes.font = UIFont::systemFontOfSize(size.height * 0.45);
    attributes.foregroundColor = UIColor::colorWithWhiteAlpha(1, 0.85);
    attributes.alignment = NSTextAlignment::Center;
    const std::string note = "\u266A";
    const CGSize text = NSStringSizeWithAttributes(note, attributes);
    NSStringDrawInRect(note, CGRectMake(0, (size.height - text.height) / 2, size.width, text.height), attributes);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

} // namespace

// Registered under the host's name "_NowPlayingArtView" (a leading underscore and capital is
// reserved for C++ names).
class NowPlayingArtView : public UIView {
    OBJC_CLASS(NowPlayingArtView, UIView)
public:
    objc::id initWithFrame(CGRect frame) override
    {
        if (!UIView::initWithFrame(frame))
            return nullptr;
        layer()->setContents(drawArtwork(frame.size));
        layer()->setCornerRadius(4);
        setClipsToBounds(true);
        return self();
    }
};

OBJC_REGISTER_NAMED(NowPlayingArtView, "_NowPlayingArtView",
    c.method<&NowPlayingArtView::initWithFrame>("initWithFrame:");)

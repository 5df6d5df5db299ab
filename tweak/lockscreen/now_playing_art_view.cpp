#include "tweak/lockscreen/now_playing_art_view.h"

#include "tweak/core/hook_table.h"
#include "uikit/view.h"

constinit objc::id nowPlayingArtView;

namespace vantorel::hooks::_NowPlayingArtView {

objc::id initWithFrame(objc::Object* self, objc::SEL cmd, CGRect frame)
{
    objc::id view = callHost<&initWithFrame>(self, cmd, frame);
    nowPlayingArtView = view;
    if (auto* artwork = dynamic_cast<UIView*>(view.get()))
        artwork->setHidden(true);
    return view;
}

} // namespace vantorel::hooks::_NowPlayingArtView

#include "uikit/screen.h"

std::shared_ptr<UIScreen> UIScreen::mainScreen()
{
    static const auto screen = std::make_shared<UIScreen>();
    return screen;
}

void UIScreen::setScale(CGFloat scale)
{
    if (scale > 0)
        scale_ = scale;
}

OBJC_REGISTER(UIScreen,
    c.classMethod<&UIScreen::mainScreen>("mainScreen");
    c.method<&UIScreen::scale>("scale");
    c.method<&UIScreen::bounds>("bounds");)

// WeatherImageLoader: the condition pictures of the weather framework, by condition code.
// Each picture is 30 × 30 points at the screen's scale, white on transparent, drawn once per
// process and then handed out as the same object.
#pragma once

#include "objc/objc.h"

#include <memory>

class UIImage;

class WeatherImageLoader : public objc::Object {
    OBJC_CLASS(WeatherImageLoader, objc::Object)
public:
    // conditionImageWithConditionIndex: (class method). Codes 0 to 47 have their own
    // pictures; every other code gets the not-available picture.
    static std::shared_ptr<UIImage> conditionImageWithConditionIndex(long code);
};

#include "weather/weather_image_loader.h"

#include "uikit/drawing.h"
#include "uikit/image.h"
#include "uikit/screen_scale.h"
#include "weather/condition_codes.h"
#include "weather/condition_pictures.h"

#include <array>
#include <mutex>

OBJC_REGISTER(WeatherImageLoader,
    c.classMethod<&WeatherImageLoader::conditionImageWithConditionIndex>("conditionImageWithConditionIndex:");)

namespace {

std::shared_ptr<UIImage> drawPicture(long code)
{
    using weather::kConditionPictureSize;
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(kConditionPictureSize, kConditionPictureSize), false,
                                           UIMainScreenScale());
    weather::drawConditionPicture(UIGraphicsGetCurrentContext(), code);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

} // namespace

std::shared_ptr<UIImage> WeatherImageLoader::conditionImageWithConditionIndex(long code)
{
    // Index 48 holds the not-available picture.
    static std::array<std::shared_ptr<UIImage>, weather::kLastConditionCode + 2> pictures;
    static std::mutex lock;
    const auto slot = static_cast<std::size_t>(weather::isConditionCode(code) ? code : weather::kLastConditionCode + 1);
    std::lock_guard guard(lock);
    if (!pictures[slot])
        pictures[slot] = drawPicture(weather::isConditionCode(code) ? code : -1);
    return pictures[slot];
}

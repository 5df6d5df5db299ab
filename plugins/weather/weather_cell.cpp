#include "weather_cell.h"

#include "uikit/image_view.h"
#include "uikit/label.h"

OBJC_REGISTER(WeatherCell,
    c.method<&WeatherCell::initWithFrame>("initWithFrame:");
    c.method<&WeatherCell::timeLabel>("timeLabel");
    c.method<&WeatherCell::setTimeLabel>("setTimeLabel:");
    c.method<&WeatherCell::tempLabel>("tempLabel");
    c.method<&WeatherCell::setTempLabel>("setTempLabel:");
    c.method<&WeatherCell::conditionImageView>("conditionImageView");
    c.method<&WeatherCell::setConditionImageView>("setConditionImageView:");)

namespace {

constexpr CGFloat kRowHeight = 25;
constexpr CGFloat kTimePointSize = 18;
constexpr CGFloat kTempPointSize = 17.5;
// An hour text such as "12AM" may not shrink below this size to fit the tile.
constexpr CGFloat kSmallestTimePointSize = 10;

// The ultra-light interface face; the plain system face where the platform lacks it.
std::shared_ptr<UIFont> tileFont(CGFloat size)
{
    auto font = UIFont::fontWithNameSize(".HelveticaNeueInterface-UltraLightP2", size);
    return font ? font : UIFont::systemFontOfSize(size);
}

std::shared_ptr<UILabel> whiteCentredLabel(CGRect frame, CGFloat pointSize)
{
    auto label = UIView::create<UILabel>(frame);
    label->setFont(tileFont(pointSize));
    label->setBackgroundColor(UIColor::clearColor());
    label->setTextColor(UIColor::whiteColor());
    label->setTextAlignment(NSTextAlignment::Center);
    return label;
}

} // namespace

objc::id WeatherCell::initWithFrame(CGRect frame)
{
    objc::id made = UICollectionViewCell::initWithFrame(frame);
    if (!made)
        return nullptr;
    const CGFloat width = frame.size.width;

    timeLabel_ = whiteCentredLabel(CGRectMake(0, 0, width, kRowHeight), kTimePointSize);
    timeLabel_->setNumberOfLines(1);
    timeLabel_->setAdjustsFontSizeToFitWidth(true);
    timeLabel_->setMinimumScaleFactor(kSmallestTimePointSize / timeLabel_->font()->pointSize());
    addSubview(timeLabel_);

    conditionImageView_ = UIView::create<UIImageView>(CGRectMake(0, 30, width, kRowHeight));
    conditionImageView_->setContentMode(UIViewContentMode::Center);
    addSubview(conditionImageView_);

    tempLabel_ = whiteCentredLabel(CGRectMake(0, 60, width, kRowHeight), kTempPointSize);
    addSubview(tempLabel_);
    return made;
}

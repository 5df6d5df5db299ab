#include "tweak/lockscreen/weather_slide.h"

#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "tweak/core/localization.h"
#include "tweak/core/settings.h"
#include "tweak/core/status_text.h"
#include "uikit/image_view.h"
#include "uikit/label.h"

using namespace objc;

OBJC_REGISTER(VTWeatherSlide,
    c.ivar<&VTWeatherSlide::borderLayer>("borderLayer");
    c.ivar<&VTWeatherSlide::timeLabel>("timeLabel");
    c.ivar<&VTWeatherSlide::conditionImg>("conditionImg");
    c.ivar<&VTWeatherSlide::tempLabel>("tempLabel");
    c.method<&VTWeatherSlide::initWithFrame>("initWithFrame:");
    c.method<&VTWeatherSlide::loadStage>("loadStage");
    c.method<&VTWeatherSlide::update>("update");
    c.method<&VTWeatherSlide::hourlyForcast>("hourlyForcast");
    c.method<&VTWeatherSlide::setHourlyForcast>("setHourlyForcast:");
    c.method<&VTWeatherSlide::popLayerFilter>("popLayerFilter");
    c.method<&VTWeatherSlide::setPopLayerFilter>("setPopLayerFilter:");
    c.method<&VTWeatherSlide::index>("index");
    c.method<&VTWeatherSlide::setIndex>("setIndex:");)

namespace {

constexpr CGFloat kRowHeight = 50;
constexpr CGFloat kRowStep = 30; // the rows overlap: the bottom one ends at 110
constexpr CGFloat kPointSize = 17.5;

std::shared_ptr<NSMutableArray> currentForecasts()
{
    auto list = std::dynamic_pointer_cast<NSArray>(msgSend<id>(currentCity, "hourlyForecasts"_sel));
    return list ? NSMutableArray::arrayWithArray(list) : nullptr;
}

Class weatherImageLoader()
{
    static Class loader = nullptr;
    if (!loader)
        loader = objc_getClass("WeatherImageLoader");
    return loader;
}

std::shared_ptr<UIFont> slideFont()
{
    auto font = UIFont::fontWithNameSize(".HelveticaNeueInterface-UltraLightP2", kPointSize);
    return font ? font : UIFont::systemFontOfSize(kPointSize);
}

std::shared_ptr<UILabel> makeRowLabel(CGFloat y, CGFloat width)
{
    auto label = UIView::create<UILabel>(CGRectMake(0, y, width, kRowHeight));
    label->setFont(slideFont());
    label->setBackgroundColor(UIColor::clearColor());
    label->setTextColor(vantorel::settings.textColor);
    label->setTextAlignment(NSTextAlignment::Center);
    return label;
}

std::string textOf(const id& object)
{
    auto text = std::dynamic_pointer_cast<NSString>(object);
    return text ? text->string() : std::string();
}

} // namespace

id VTWeatherSlide::initWithFrame(CGRect frame)
{
    id made = UIView::initWithFrame(frame);
    if (!made)
        return nullptr;
    msgSend(this, "loadStage"_sel);
    hourlyForcast_ = currentForecasts();
    return made;
}

void VTWeatherSlide::loadStage()
{
    const CGFloat width = frame().size.width;
    const auto& textColor = vantorel::settings.textColor;

    borderLayer = UIView::create<UIView>(bounds());
    CALayer* border = borderLayer->layer();
    border->setCompositingFilter(popLayerFilter_ ? popLayerFilter_->compositingFilter() : std::string());
    border->setBorderWidth(2.0);
    border->setCornerRadius(4.0);
    border->setBorderColor(textColor ? textColor->colorWithAlphaComponent(0.2)->CGColor() : nullptr);
    insertSubviewAtIndex(borderLayer, 0);

    timeLabel = makeRowLabel(0, width);
    addSubview(timeLabel);

    conditionImg = UIView::create<UIImageView>(CGRectMake(0, kRowStep, width, kRowHeight));
    conditionImg->setContentMode(UIViewContentMode::Center);
    addSubview(conditionImg);

    tempLabel = makeRowLabel(2 * kRowStep, width);
    addSubview(tempLabel);

    msgSend(this, "update"_sel);
}

void VTWeatherSlide::update()
{
    hourlyForcast_ = currentForecasts();
    // An index the list does not reach is treated like no list at all: nothing is read past
    // its end, and the slide keeps what it shows.
    if (!hourlyForcast_ || index_ >= hourlyForcast_->count())
        return;

    const CGFloat width = frame().size.width;
    borderLayer->setFrame(bounds());
    timeLabel->setFrame(CGRectMake(0, 0, width, kRowHeight));
    conditionImg->setFrame(CGRectMake(0, kRowStep, width, kRowHeight));
    tempLabel->setFrame(CGRectMake(0, 2 * kRowStep, width, kRowHeight));

    const id entry = hourlyForcast_->objectAtIndex(index_);
    timeLabel->setText(index_ == 0 ? textOrEmpty(nowString) : textOf(msgSend<id>(entry, "time"_sel)));
    conditionImg->setImage(msgSend<std::shared_ptr<UIImage>>(weatherImageLoader(), "conditionImageWithConditionIndex:"_sel,
                                                             msgSend<long>(entry, "conditionCode"_sel)));
    tempLabel->setText(textOf(msgSend<id>(entry, "detail"_sel)));
}

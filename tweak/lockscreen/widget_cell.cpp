#include "tweak/lockscreen/widget_cell.h"

#include "foundation/ns_bundle.h"
#include "uikit/image_view.h"
#include "uikit/label.h"
#include "uikit/tap_gesture_recognizer.h"

using namespace objc;

OBJC_REGISTER(WidgetCell,
    c.method<&WidgetCell::initWithFrame>("initWithFrame:");
    c.method<&WidgetCell::bundleClass>("bundleClass");
    c.method<&WidgetCell::setBundleClass>("setBundleClass:");
    c.method<&WidgetCell::bundle>("bundle");
    c.method<&WidgetCell::setBundle>("setBundle:");
    c.method<&WidgetCell::timeLabel>("timeLabel");
    c.method<&WidgetCell::setTimeLabel>("setTimeLabel:");
    c.method<&WidgetCell::conditionImageView>("conditionImageView");
    c.method<&WidgetCell::setConditionImageView>("setConditionImageView:");
    c.method<&WidgetCell::tempLabel>("tempLabel");
    c.method<&WidgetCell::setTempLabel>("setTempLabel:");)

namespace {

constexpr const char* kTileFont = ".HelveticaNeueInterface-UltraLightP2";

std::shared_ptr<UILabel> tileLabel(CGRect frame, CGFloat pointSize)
{
    auto label = UIView::create<UILabel>(frame);
    label->setFont(UIFont::fontWithNameSize(kTileFont, pointSize));
    label->setBackgroundColor(UIColor::clearColor());
    label->setTextColor(UIColor::whiteColor());
    label->setTextAlignment(NSTextAlignment::Center);
    return label;
}

} // namespace

id WidgetCell::initWithFrame(CGRect frame)
{
    id made = UICollectionViewCell::initWithFrame(frame);
    if (!made)
        return nullptr;
    const CGFloat width = frame.size.width;

    timeLabel_ = tileLabel(CGRectMake(0, 0, width, 25), 10);
    timeLabel_->setNumberOfLines(1);
    timeLabel_->setAdjustsFontSizeToFitWidth(true);
    timeLabel_->setMinimumScaleFactor(10 / timeLabel_->font()->pointSize());
    addSubview(timeLabel_);

    conditionImageView_ = UIView::create<UIImageView>(CGRectMake(0, 30, width, 25));
    conditionImageView_->setContentMode(UIViewContentMode::Center);
    addSubview(conditionImageView_);

    tempLabel_ = tileLabel(CGRectMake(0, 60, width, 25), 17.5);
    addSubview(tempLabel_);
    return made;
}

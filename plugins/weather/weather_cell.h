// WeatherCell: one tile of the forecast grid — the hour on top, the condition picture in the
// middle, the temperature below, each a 25-point row across the whole tile. The rows sit on
// the cell itself, not on its content view, in that order.
//
// Ownership: the cell owns its three subviews.
#pragma once

#include "uikit/collection_view_cell.h"

#include <memory>

class UIImageView;
class UILabel;

class WeatherCell : public UICollectionViewCell {
    OBJC_CLASS(WeatherCell, UICollectionViewCell)
public:
    objc::id initWithFrame(CGRect frame) override;

    const std::shared_ptr<UILabel>& timeLabel() const { return timeLabel_; }
    void setTimeLabel(const std::shared_ptr<UILabel>& label) { timeLabel_ = label; }
    const std::shared_ptr<UILabel>& tempLabel() const { return tempLabel_; }
    void setTempLabel(const std::shared_ptr<UILabel>& label) { tempLabel_ = label; }
    const std::shared_ptr<UIImageView>& conditionImageView() const { return conditionImageView_; }
    void setConditionImageView(const std::shared_ptr<UIImageView>& view) { conditionImageView_ = view; }

private:
    std::shared_ptr<UILabel> timeLabel_;
    std::shared_ptr<UILabel> tempLabel_;
    std::shared_ptr<UIImageView> conditionImageView_;
};

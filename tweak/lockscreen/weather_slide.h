// VTWeatherSlide: a bordered card for one hour of the current city's forecast — the hour (the
// localised word for "now" on the first entry), the condition picture and the entry's detail
// text, in three centred rows at 0, 30 and 60 points, each 50 high. `index` picks the entry;
// the owner calls update after changing it. Colours follow the textColor setting as it was
// when the slide was built.
//
// Ownership: the slide owns its four subviews, its copy of the forecast list and its
// popLayerFilter.
#pragma once

#include "uikit/view.h"

#include <cstdint>
#include <memory>

class CALayer;
class NSMutableArray;
class UIImageView;
class UILabel;

class VTWeatherSlide : public UIView {
    OBJC_CLASS(VTWeatherSlide, UIView)
public:
    objc::id initWithFrame(CGRect frame) override;

    // Builds the border view and the three rows, then update.
    void loadStage();
    // Reloads the list from the current city and shows the entry at index. Without a list,
    // with an empty one, or with index past its end, the rows keep their frames and texts.
    void update();

    const std::shared_ptr<NSMutableArray>& hourlyForcast() const { return hourlyForcast_; }
    void setHourlyForcast(const std::shared_ptr<NSMutableArray>& list) { hourlyForcast_ = list; }
    const std::shared_ptr<CALayer>& popLayerFilter() const { return popLayerFilter_; }
    void setPopLayerFilter(const std::shared_ptr<CALayer>& layer) { popLayerFilter_ = layer; }
    std::uint64_t index() const { return index_; }
    void setIndex(std::uint64_t index) { index_ = index; }

private:
    // Reached by name through the runtime.
    std::shared_ptr<UIView> borderLayer; // a view, despite the name: it draws the card's border
    std::shared_ptr<UILabel> timeLabel;
    std::shared_ptr<UIImageView> conditionImg;
    std::shared_ptr<UILabel> tempLabel;

    std::shared_ptr<NSMutableArray> hourlyForcast_;
    std::shared_ptr<CALayer> popLayerFilter_;
    std::uint64_t index_ = 0;
};

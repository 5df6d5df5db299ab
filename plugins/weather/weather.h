// Weather: the hourly-forecast widget, principal class of "Weather.bundle". A grid of tiles
// (hour, condition picture, temperature) for every hourly forecast of the city in the city
// weather file. The file is read when the view is made and again at each reloadCells, which
// the widget host sends; the view does not listen for weather updates itself.
//
// Ownership: the view owns its collection view and is that view's data source and delegate
// (held weakly there). The blend layer belongs to the host; the view keeps a strong reference
// and only reads its compositing filter.
#pragma once

#include "uikit/view.h"

#include <memory>

class CALayer;
class NSArray;
class NSIndexPath;
class NSString;
class UICollectionView;

class Weather : public UIView {
    OBJC_CLASS(Weather, UIView)
public:
    // Reads the forecast and builds the grid over the whole view.
    objc::id initWithFrame(CGRect frame) override;

    // Rereads the city weather file into localCity and hourlyForcast (both nil without a file).
    void updateWeather();
    // updateWeather, then the grid shows the new list.
    void reloadCells();
    // "15:00" -> "3PM" in the device's locale; nil for text that is no "HH:mm" time.
    std::shared_ptr<NSString> convertTimeFromMilitary(const std::shared_ptr<NSString>& time) const;

    // The grid's data source and flow-layout delegate.
    long collectionViewNumberOfItemsInSection(const objc::id& collectionView, long section) const;
    objc::id collectionViewCellForItemAtIndexPath(const objc::id& collectionView,
                                                  const std::shared_ptr<NSIndexPath>& indexPath);
    CGSize collectionViewLayoutSizeForItemAtIndexPath(const objc::id& collectionView, const objc::id& layout,
                                                      const std::shared_ptr<NSIndexPath>& indexPath) const;
    UIEdgeInsets collectionViewLayoutInsetForSectionAtIndex(const objc::id& collectionView, const objc::id& layout,
                                                            long section) const;
    CGFloat collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex(const objc::id& collectionView,
                                                                         const objc::id& layout, long section) const;

    const std::shared_ptr<CALayer>& blendLayer() const { return blendLayer_; }
    void setBlendLayer(const std::shared_ptr<CALayer>& layer) { blendLayer_ = layer; }
    const std::shared_ptr<UICollectionView>& weatherSlides() const { return weatherSlides_; }
    void setWeatherSlides(const std::shared_ptr<UICollectionView>& view) { weatherSlides_ = view; }
    const std::shared_ptr<NSArray>& hourlyForcast() const { return hourlyForcast_; }
    void setHourlyForcast(const std::shared_ptr<NSArray>& forecasts) { hourlyForcast_ = forecasts; }

private:
    // The forecast of the item, or nil when the list no longer has it.
    objc::id forecastAt(long item) const;

    objc::id localCity;    // the city last read from the file, or nil
    objc::id weatherPrefs; // the weather framework's shared store, fetched on first use
    std::shared_ptr<CALayer> blendLayer_;
    std::shared_ptr<UICollectionView> weatherSlides_;
    std::shared_ptr<NSArray> hourlyForcast_;
};

#include "weather.h"

#include "weather_cell.h"

#include "common/city_file.h"
#include "common/support_paths.h"
#include "foundation/calendar.h"
#include "foundation/date_formatter.h"
#include "foundation/locale.h"
#include "foundation/ns_array.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_string.h"
#include "foundation/timezone.h"
#include "uikit/collection_view.h"
#include "uikit/image_view.h"
#include "uikit/index_path.h"
#include "uikit/label.h"

using objc::operator""_sel;

// Registered before WeatherCell (this file is linked first): the bundle's first class is its
// principal class.
OBJC_REGISTER(Weather,
    c.ivar<&Weather::localCity>("localCity");
    c.ivar<&Weather::weatherPrefs>("weatherPrefs");
    c.method<&Weather::initWithFrame>("initWithFrame:");
    c.method<&Weather::updateWeather>("updateWeather");
    c.method<&Weather::reloadCells>("reloadCells");
    c.method<&Weather::convertTimeFromMilitary>("convertTimeFromMilitary:");
    c.method<&Weather::collectionViewNumberOfItemsInSection>("collectionView:numberOfItemsInSection:");
    c.method<&Weather::collectionViewCellForItemAtIndexPath>("collectionView:cellForItemAtIndexPath:");
    c.method<&Weather::collectionViewLayoutSizeForItemAtIndexPath>("collectionView:layout:sizeForItemAtIndexPath:");
    c.method<&Weather::collectionViewLayoutInsetForSectionAtIndex>("collectionView:layout:insetForSectionAtIndex:");
    c.method<&Weather::collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex>(
        "collectionView:layout:minimumInteritemSpacingForSectionAtIndex:");
    c.method<&Weather::blendLayer>("blendLayer");
    c.method<&Weather::setBlendLayer>("setBlendLayer:");
    c.method<&Weather::weatherSlides>("weatherSlides");
    c.method<&Weather::setWeatherSlides>("setWeatherSlides:");
    c.method<&Weather::hourlyForcast>("hourlyForcast");
    c.method<&Weather::setHourlyForcast>("setHourlyForcast:");)

namespace {

constexpr const char* kCellIdentifier = "cellIdentifier";
constexpr CGSize kTileSize{60, 100};
constexpr CGFloat kTileInset = 10;
constexpr CGFloat kTileCornerRadius = 5;

// Both ends of the conversion work in one fixed zone, so that an hour of the day comes back as
// the same hour whatever the device's zone did on the day the parsed time falls on.
std::shared_ptr<NSTimeZone> wallClockZone()
{
    static const auto zone = NSTimeZone::timeZoneWithName("UTC");
    return zone;
}

// The weather service writes its hours in a fixed 24-hour form; read with the POSIX locale so
// that no device setting (a 12-hour preference, another calendar) can change how it parses.
const NSDateFormatter& militaryTimeParser()
{
    static const auto parser = [] {
        auto formatter = std::make_shared<NSDateFormatter>();
        formatter->setLocale(NSLocale::localeWithLocaleIdentifier("en_US_POSIX"));
        formatter->setCalendar(NSCalendar::calendarWithIdentifier(NSCalendarIdentifierGregorian));
        formatter->setTimeZone(wallClockZone());
        formatter->setDateFormat("HH:mm");
        return formatter;
    }();
    return *parser;
}

objc::Class weatherImageLoader()
{
    static objc::Class loader = nullptr;
    if (!loader)
        loader = objc::objc_getClass("WeatherImageLoader");
    return loader;
}

std::string textOf(const objc::id& object)
{
    auto text = std::dynamic_pointer_cast<NSString>(object);
    return text ? text->string() : std::string();
}

} // namespace

objc::id Weather::initWithFrame(CGRect frame)
{
    objc::id made = UIView::initWithFrame(frame);
    if (!made)
        return nullptr;
    updateWeather();

    // Tile size, insets and spacing come from the delegate answers below.
    auto layout = std::make_shared<UICollectionViewFlowLayout>();
    weatherSlides_ = objc::msgSend<std::shared_ptr<UICollectionView>>(
        objc::alloc<UICollectionView>(), "initWithFrame:collectionViewLayout:"_sel, bounds(), layout);
    if (!weatherSlides_)
        return made;
    // The host sizes this view to its widget area at each layout pass; the grid follows.
    weatherSlides_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    weatherSlides_->setDataSource(self());
    weatherSlides_->setDelegate(self());
    weatherSlides_->setBackgroundColor(UIColor::clearColor());
    weatherSlides_->registerClassForCellWithReuseIdentifier(WeatherCell::class_(), kCellIdentifier);
    addSubview(weatherSlides_);
    return made;
}

void Weather::updateWeather()
{
    if (!weatherPrefs)
        weatherPrefs = vantorel::weatherStore();
    auto dictionary = NSDictionary::dictionaryWithContentsOfFile(vantorel::CityFile);
    localCity = objc::msgSend<objc::id>(weatherPrefs, "cityFromPreferencesDictionary:"_sel, dictionary);
    hourlyForcast_ = std::dynamic_pointer_cast<NSArray>(objc::msgSend<objc::id>(localCity, "hourlyForecasts"_sel));
}

void Weather::reloadCells()
{
    updateWeather();
    objc::msgSend(weatherSlides_, "reloadData"_sel);
}

std::shared_ptr<NSString> Weather::convertTimeFromMilitary(const std::shared_ptr<NSString>& time) const
{
    if (!time)
        return nullptr;
    auto date = militaryTimeParser().dateFromString(time->string());
    if (!date)
        return nullptr;
    // The device's locale, read now: its own hour form and day-period markers ("3PM", "3오후").
    auto output = std::make_shared<NSDateFormatter>();
    output->setTimeZone(wallClockZone());
    output->setDateFormat("ha");
    return NSStr(output->stringFromDate(date));
}

long Weather::collectionViewNumberOfItemsInSection(const objc::id&, long) const
{
    return hourlyForcast_ ? static_cast<long>(hourlyForcast_->count()) : 0;
}

objc::id Weather::forecastAt(long item) const
{
    return hourlyForcast_ && item >= 0 ? hourlyForcast_->objectAtIndex(static_cast<unsigned long>(item)) : nullptr;
}

objc::id Weather::collectionViewCellForItemAtIndexPath(const objc::id& collectionView,
                                                       const std::shared_ptr<NSIndexPath>& indexPath)
{
    auto grid = std::dynamic_pointer_cast<UICollectionView>(collectionView);
    if (!grid || !indexPath)
        return nullptr;
    auto cell = std::dynamic_pointer_cast<WeatherCell>(
        grid->dequeueReusableCellWithReuseIdentifierForIndexPath(kCellIdentifier, indexPath));
    if (!cell)
        return nullptr;

    // A list replaced without a reload may be shorter than the grid thinks: such a tile stays blank.
    const objc::id forecast = forecastAt(indexPath->item());
    auto hour = convertTimeFromMilitary(std::dynamic_pointer_cast<NSString>(objc::msgSend<objc::id>(forecast, "time"_sel)));
    cell->timeLabel()->setText(hour ? hour->string() : std::string());
    cell->tempLabel()->setText(textOf(objc::msgSend<objc::id>(forecast, "detail"_sel)));
    const long code = objc::msgSend<long>(forecast, "conditionCode"_sel);
    cell->conditionImageView()->setImage(forecast ? objc::msgSend<std::shared_ptr<UIImage>>(
        weatherImageLoader(), "conditionImageWithConditionIndex:"_sel, code) : nullptr);

    // Tiles made before the host handed over its layer blend normally.
    cell->layer()->setCompositingFilter(blendLayer_ ? blendLayer_->compositingFilter() : std::string());
    cell->layer()->setCornerRadius(kTileCornerRadius);
    cell->setBackgroundColor(UIColor::colorWithWhiteAlpha(1, 0.1));
    return cell;
}

CGSize Weather::collectionViewLayoutSizeForItemAtIndexPath(const objc::id&, const objc::id&,
                                                           const std::shared_ptr<NSIndexPath>&) const
{
    return kTileSize;
}

UIEdgeInsets Weather::collectionViewLayoutInsetForSectionAtIndex(const objc::id&, const objc::id&, long) const
{
    return UIEdgeInsetsMake(kTileInset, kTileInset, kTileInset, kTileInset);
}

CGFloat Weather::collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex(const objc::id&, const objc::id&,
                                                                              long) const
{
    return 0;
}

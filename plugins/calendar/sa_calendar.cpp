#include "sa_calendar.h"

#include "date_util.h"
#include "sa_calendar_cell.h"

#include "uikit/drawing.h"
#include "uikit/font.h"
#include "uikit/index_path.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace objc;

OBJC_REGISTER(SACalendar,
    c.method<&SACalendar::initWithFrameMonthYearScrollDirectionPagingEnabled>(
        "initWithFrame:month:year:scrollDirection:pagingEnabled:");
    c.method<&SACalendar::initWithFrameMonthYear>("initWithFrame:month:year:");
    c.method<&SACalendar::initWithFrameScrollDirectionPagingEnabled>("initWithFrame:scrollDirection:pagingEnabled:");
    c.method<&SACalendar::delegate>("delegate");
    c.method<&SACalendar::setDelegate>("setDelegate:");
    c.method<&SACalendar::controllerAtIndex>("controllerAtIndex:");
    c.method<&SACalendar::monthToLoad>("monthToLoad:");
    c.method<&SACalendar::yearToLoad>("yearToLoad:");
    c.method<&SACalendar::collectionViewNumberOfItemsInSection>("collectionView:numberOfItemsInSection:");
    c.method<&SACalendar::collectionViewCellForItemAtIndexPath>("collectionView:cellForItemAtIndexPath:");
    c.method<&SACalendar::collectionViewLayoutSizeForItemAtIndexPath>("collectionView:layout:sizeForItemAtIndexPath:");
    c.method<&SACalendar::collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex>(
        "collectionView:layout:minimumInteritemSpacingForSectionAtIndex:");
    c.method<&SACalendar::collectionViewLayoutMinimumLineSpacingForSectionAtIndex>(
        "collectionView:layout:minimumLineSpacingForSectionAtIndex:");
    c.method<&SACalendar::collectionViewLayoutInsetForSectionAtIndex>("collectionView:layout:insetForSectionAtIndex:");
    c.method<&SACalendar::collectionViewDidSelectItemAtIndexPath>("collectionView:didSelectItemAtIndexPath:");)

namespace {

constexpr const char* kCellIdentifier = "cellIdentifier";
// A first weekday that puts no date in the grid (a month without a 1st to place).
constexpr int kNoColumn = static_cast<int>(SACalendar::kCellsPerGrid);

int intValueOf(const std::shared_ptr<NSString>& text) { return text ? text->intValue() : 0; }

// The integer part of a length; 0 for what is no length (not finite, not positive), and no
// more than any screen could hold.
long wholePoints(double length) { return std::isfinite(length) && length > 0 ? static_cast<long>(std::min(length, 1e7)) : 0; }

std::string title(int month, int year)
{
    const std::shared_ptr<NSString> name = DateUtil::getMonthString(month);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04i", year);
    return (name ? name->string() : std::string()) + " " + digits;
}

} // namespace

// --- Creation ---------------------------------------------------------------------------------

id SACalendar::initWithFrameMonthYearScrollDirectionPagingEnabled(CGRect frame, int month, int year,
                                                                  int scrollDirection, bool pagingEnabled)
{
    id made = UIView::initWithFrame(frame);
    if (!made)
        return nullptr;
    controllers_.clear();
    calendars_.clear();
    monthLabels_.clear();
    state_ = -1;
    scroll_state_ = 0;
    selectedRow_ = -1;
    current_date_ = intValueOf(DateUtil::getCurrentDate());
    current_month_ = intValueOf(DateUtil::getCurrentMonth());
    current_year_ = intValueOf(DateUtil::getCurrentYear());
    if (month == 0 && year == 0) {
        month_ = current_month_;
        year_ = current_year_;
    } else {
        // A month outside 1 to 12 counts on from the year (13 of 2026 is January 2027), so
        // every later step stays within the months the date operations know.
        const long months = static_cast<long>(year) * 12 + (month - 1);
        const long wholeYears = months >= 0 ? months / 12 : -((-months + 11) / 12);
        year_ = static_cast<int>(wholeYears);
        month_ = static_cast<int>(months - wholeYears * 12) + 1;
    }
    sampleLineHeight_ = NSStringSizeWithAttributes("STRING", {UIFont::systemFontOfSize(12), nullptr}).height;

    const CGSize size = frame.size;
    auto scroll = objc::alloc<QPLazyScrollView>();
    if (scroll && scroll->initWithFrameAndDirectionDirectionCircularScrollPaging(
                      CGRectMake(0, 0, size.width, size.height), static_cast<unsigned int>(scrollDirection), true,
                      pagingEnabled))
        scrollView_ = scroll;
    setBackgroundColor(UIColor::blackColor());
    if (!scrollView_)
        return made;
    const std::weak_ptr<Object> weakSelf = weak_from_this();
    scrollView_->setDataSource([weakSelf](unsigned long index) -> std::shared_ptr<UIViewController> {
        auto me = std::static_pointer_cast<SACalendar>(weakSelf.lock());
        return me ? me->controllerAtIndex(static_cast<long>(index)) : nullptr;
    });
    scrollView_->setNumberOfPages(kPages);
    addSubview(scrollView_);
    return made;
}

id SACalendar::initWithFrame(CGRect frame) { return initWithFrameMonthYearScrollDirectionPagingEnabled(frame, 0, 0, 0, true); }

id SACalendar::initWithFrameMonthYear(CGRect frame, int month, int year)
{
    return initWithFrameMonthYearScrollDirectionPagingEnabled(frame, month, year, 0, true);
}

id SACalendar::initWithFrameScrollDirectionPagingEnabled(CGRect frame, int scrollDirection, bool pagingEnabled)
{
    return initWithFrameMonthYearScrollDirectionPagingEnabled(frame, 0, 0, scrollDirection, pagingEnabled);
}

void SACalendar::setDelegate(const id& delegate)
{
    delegate_ = delegate;
    reportDisplayedMonth();
}

void SACalendar::reportDisplayedMonth()
{
    msgSendIfResponds(delegate(), sacalendar::didDisplaySelector(), self(), month_, year_);
}

// --- Months -----------------------------------------------------------------------------------

SACalendar::MonthYear SACalendar::monthBefore(MonthYear m)
{
    return m.month == 1 ? MonthYear{12, m.year - 1} : MonthYear{m.month - 1, m.year};
}

SACalendar::MonthYear SACalendar::monthAfter(MonthYear m)
{
    return m.month == 12 ? MonthYear{1, m.year + 1} : MonthYear{m.month + 1, m.year};
}

SACalendar::MonthYear SACalendar::monthOfPage(long page) const
{
    if (page < 0 || page >= kPages)
        return {}; // no month: an empty grid
    // The current month stands on page (scroll_state + 2) mod 3, its successor on the page
    // after it and its predecessor on the page before it.
    const long currentPage = (scroll_state_ + 2) % kPages;
    if (page == currentPage)
        return {month_, year_};
    if (page == (currentPage + 1) % kPages)
        return {next_month_, next_year_};
    return {prev_month_, prev_year_};
}

int SACalendar::monthToLoad(int page) const { return monthOfPage(page).month; }
int SACalendar::yearToLoad(int page) const { return monthOfPage(page).year; }

void SACalendar::stepMonth(long requestedPage)
{
    // A forward page change asks first for the page the last batch ended on.
    scrollLeft_ = requestedPage != previousIndex_;
    const MonthYear now = scrollLeft_ ? monthBefore({month_, year_}) : monthAfter({month_, year_});
    month_ = now.month;
    year_ = now.year;
}

void SACalendar::stepScrollState()
{
    scroll_state_ = scrollLeft_ ? (scroll_state_ + kPages - 1) % kPages : (scroll_state_ + 1) % kPages;
}

// --- Pages ------------------------------------------------------------------------------------

std::shared_ptr<UIViewController> SACalendar::controllerAtIndex(long index)
{
    switch (state_) {
    case -1:
        state_ = 1;
        break;
    case 0:
        stepMonth(index);
        selectedRow_ = -1;
        state_ = 1;
        break;
    case 1: {
        const MonthYear before = monthBefore({month_, year_});
        prev_month_ = before.month;
        prev_year_ = before.year;
        state_ = 2;
        break;
    }
    default: {
        const MonthYear after = monthAfter({month_, year_});
        next_month_ = after.month;
        next_year_ = after.year;
        stepScrollState();
        reportDisplayedMonth();
        state_ = 0;
        break;
    }
    }
    previousIndex_ = static_cast<int>(index);
    if (auto grid = calendarForPage(index))
        grid->reloadData();
    if (auto controller = controllerForPage(index))
        return controller;
    return buildPage(index);
}

std::shared_ptr<UIViewController> SACalendar::buildPage(long page)
{
    auto controller = UIViewController::create();
    if (!controller || !controller->view())
        return nullptr;
    controller->view()->setBackgroundColor(UIColor::whiteColor());

    const CGSize size = frame().size;
    headerSize_ = static_cast<int>(wholePoints(size.height / 7.0));

    auto layout = std::make_shared<UICollectionViewFlowLayout>();
    layout->setItemSize(size); // the layout answers below decide the real sizes
    auto grid = objc::alloc<UICollectionView>();
    if (!grid || !grid->initWithFrameCollectionViewLayout(
                     CGRectMake(0, headerSize_, size.width, size.height - headerSize_), layout))
        return nullptr;
    grid->setDataSource(self());
    grid->setDelegate(self());
    grid->setScrollEnabled(false);
    grid->registerClassForCellWithReuseIdentifier(SACalendarCell::class_(), kCellIdentifier);
    grid->setBackgroundColor(UIColor::whiteColor());
    grid->setTag(page);

    auto label = UIView::create<UILabel>(CGRectMake(0, 0, size.width, headerSize_));
    label->setTextAlignment(NSTextAlignment::Center);
    label->setTextColor(UIColor::redColor());
    label->setFont(UIFont::systemFontOfSize(fontSizeForLine(0.4, headerSize_)));
    label->setText(title(month_, year_));

    controller->view()->addSubview(label);
    controller->view()->addSubview(grid);
    calendars_[page] = grid;
    controllers_[page] = controller;
    monthLabels_[page] = label;
    return controller;
}

std::shared_ptr<UIViewController> SACalendar::controllerForPage(long page) const
{
    const auto found = controllers_.find(page);
    return found == controllers_.end() ? nullptr : found->second;
}

std::shared_ptr<UICollectionView> SACalendar::calendarForPage(long page) const
{
    const auto found = calendars_.find(page);
    return found == calendars_.end() ? nullptr : found->second;
}

std::shared_ptr<UILabel> SACalendar::monthLabelForPage(long page) const
{
    const auto found = monthLabels_.find(page);
    return found == monthLabels_.end() ? nullptr : found->second;
}

int SACalendar::firstDayOfPage(long page) const
{
    const auto found = firstDayOfPage_.find(page);
    return found == firstDayOfPage_.end() ? -1 : found->second;
}

long SACalendar::pageOfGrid(const std::shared_ptr<UICollectionView>& grid) const
{
    if (!grid)
        return -1;
    const auto found = calendars_.find(grid->tag());
    return found != calendars_.end() && found->second == grid ? grid->tag() : -1;
}

CGFloat SACalendar::fontSizeForLine(double share, double band) const
{
    if (!(sampleLineHeight_ > 0) || !std::isfinite(band) || band < 0 || band > 1e7)
        return share * band;
    // The platform's font arithmetic runs in single precision.
    const float perPoint = static_cast<float>(12.0 / sampleLineHeight_);
    const float scaled = static_cast<float>(band) * perPoint;
    return share * scaled;
}

// --- Grids ------------------------------------------------------------------------------------

long SACalendar::collectionViewNumberOfItemsInSection(const std::shared_ptr<UICollectionView>& grid, long section)
{
    const long page = pageOfGrid(grid);
    if (page < 0)
        return 0;
    const MonthYear shown = monthOfPage(page);
    const std::shared_ptr<NSString> weekday = DateUtil::getDayOfDateMonthYear(1, shown.month, shown.year);
    const auto column = weekday ? std::find(daysInWeeks_.begin(), daysInWeeks_.end(), weekday->string()) : daysInWeeks_.end();
    firstDay_ = column == daysInWeeks_.end() ? kNoColumn : static_cast<int>(column - daysInWeeks_.begin());
    firstDayOfPage_[page] = firstDay_;
    if (auto label = monthLabelForPage(page))
        label->setText(title(shown.month, shown.year));
    return kCellsPerGrid;
}

id SACalendar::collectionViewCellForItemAtIndexPath(const std::shared_ptr<UICollectionView>& grid,
                                                    const std::shared_ptr<NSIndexPath>& indexPath)
{
    if (!grid || !indexPath)
        return nullptr;
    auto cell = std::dynamic_pointer_cast<SACalendarCell>(
        grid->dequeueReusableCellWithReuseIdentifierForIndexPath(kCellIdentifier, indexPath));
    if (!cell)
        return nullptr;
    const long page = pageOfGrid(grid);
    const MonthYear shown = monthOfPage(page);
    const int days = DateUtil::getDaysInMonthYear(shown.month, shown.year);
    // A page whose grid was not counted has no column for its 1st.
    const int first = page < 0 || firstDayOfPage(page) < 0 ? kNoColumn : firstDayOfPage(page);
    const long r = indexPath->item();

    if (r < first || r >= first + days) {
        cell->selectedView()->setHidden(true);
        cell->circleView()->setHidden(true);
        cell->dateLabel()->setHidden(true);
        cell->topLineView()->setHidden(true);
        return cell;
    }
    cell->dateLabel()->setHidden(false);
    cell->topLineView()->setHidden(false);
    cell->circleView()->setHidden(true);
    const int day = static_cast<int>(r) + 1 - first;

    const CGFloat size = fontSizeForLine(0.3, cellSize_.height);
    const auto regular = UIFont::systemFontOfSize(size);
    const auto bold = UIFont::boldSystemFontOfSize(size);
    const auto& label = cell->dateLabel();
    const bool today = day == current_date_ && shown.month == current_month_ && shown.year == current_year_;
    if (today) {
        cell->circleView()->setHidden(false);
        label->setTextColor(UIColor::whiteColor());
        label->setFont(bold);
    } else {
        label->setFont(regular);
        label->setTextColor(UIColor::blackColor());
    }
    if (r == selectedRow_) {
        cell->selectedView()->setHidden(false);
        label->setTextColor(UIColor::whiteColor());
        label->setFont(bold);
    } else {
        cell->selectedView()->setHidden(true);
        if (!today) {
            label->setFont(regular);
            label->setTextColor(UIColor::blackColor());
        }
    }
    label->setText(std::to_string(day));
    return cell;
}

CGSize SACalendar::collectionViewLayoutSizeForItemAtIndexPath(const std::shared_ptr<UICollectionView>& grid,
                                                              const id& layout,
                                                              const std::shared_ptr<NSIndexPath>& indexPath)
{
    const CGSize size = frame().size;
    cellSize_ = CGSizeMake(wholePoints(size.width) / 7, wholePoints(size.height - headerSize_) / 6);
    return cellSize_;
}

CGFloat SACalendar::collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex(
    const std::shared_ptr<UICollectionView>& grid, const id& layout, long section)
{
    return 0;
}

CGFloat SACalendar::collectionViewLayoutMinimumLineSpacingForSectionAtIndex(const std::shared_ptr<UICollectionView>& grid,
                                                                            const id& layout, long section)
{
    return 0;
}

UIEdgeInsets SACalendar::collectionViewLayoutInsetForSectionAtIndex(const std::shared_ptr<UICollectionView>& grid,
                                                                    const id& layout, long section)
{
    const CGFloat side = (wholePoints(frame().size.width) % 7) / 4;
    return UIEdgeInsetsMake(0, side, 0, side);
}

void SACalendar::collectionViewDidSelectItemAtIndexPath(const std::shared_ptr<UICollectionView>& grid,
                                                        const std::shared_ptr<NSIndexPath>& indexPath)
{
    const long page = pageOfGrid(grid);
    if (page < 0 || !indexPath)
        return;
    const MonthYear shown = monthOfPage(page);
    const int days = DateUtil::getDaysInMonthYear(shown.month, shown.year);
    const int first = firstDayOfPage(page);
    const long r = indexPath->item();
    if (first >= 0 && r >= first && r < first + days) {
        msgSendIfResponds(delegate(), sacalendar::didSelectSelector(), self(), static_cast<int>(r) + 1 - first, month_,
                          year_);
        selectedRow_ = static_cast<int>(r);
    } else {
        selectedRow_ = -1;
    }
    grid->reloadData();
}

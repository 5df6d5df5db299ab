// SACalendar: an endless sequence of month pages. Three pages live in a QPLazyScrollView with
// circular scrolling; as the user scrolls, the calendar keeps track of which month each page
// shows. A page is a red title (month and year) over a 7 × 6 grid of day cells, Sunday first.
// Today's date is marked red, a tapped date black; displayed months and tapped dates go to an
// optional SACalendarDelegate.
//
// The scroll view asks for pages in batches of three per page change (current, previous, next);
// `state` counts through a batch, the first request of a batch steps the month (forward when it
// asks for the page the last batch ended on), the last one moves `scroll_state`, which says on
// which page the current month stands:
//   scroll_state   page 0     page 1     page 2
//        0         next       previous   current
//        1         current    next       previous
//        2         previous   current    next
//
// Ownership: the calendar owns its scroll view (as a subview), the page controllers, grids and
// title labels; the delegate is held weakly.
#pragma once

#include "qp_lazy_scroll_view.h"
#include "sa_calendar_delegate.h"

#include "uikit/collection_view.h"
#include "uikit/label.h"

#include <array>
#include <map>
#include <memory>
#include <string>

class NSIndexPath;
class UIFont;

class SACalendar : public UIView {
    OBJC_CLASS(SACalendar, UIView)
public:
    static constexpr int kPages = 3;
    static constexpr long kCellsPerGrid = 42; // six weeks of seven days

    // Month and year both 0 mean today's month. Direction 0 scrolls horizontally, any other
    // value vertically.
    objc::id initWithFrameMonthYearScrollDirectionPagingEnabled(CGRect frame, int month, int year, int scrollDirection,
                                                                bool pagingEnabled);
    // Today's month, horizontal, paging on.
    objc::id initWithFrame(CGRect frame) override;
    objc::id initWithFrameMonthYear(CGRect frame, int month, int year);
    objc::id initWithFrameScrollDirectionPagingEnabled(CGRect frame, int scrollDirection, bool pagingEnabled);

    objc::id delegate() const { return delegate_.lock(); }
    // Setting the delegate tells the new one the current month at once.
    void setDelegate(const objc::id& delegate);

    // The scroll view's data source: the page's controller, built on its first request.
    std::shared_ptr<UIViewController> controllerAtIndex(long index);
    // The month and year the page shows.
    int monthToLoad(int page) const;
    int yearToLoad(int page) const;

    // --- Grid data source and layout answers (section 0) ----------------------------------
    long collectionViewNumberOfItemsInSection(const std::shared_ptr<UICollectionView>& grid, long section);
    objc::id collectionViewCellForItemAtIndexPath(const std::shared_ptr<UICollectionView>& grid,
                                                  const std::shared_ptr<NSIndexPath>& indexPath);
    CGSize collectionViewLayoutSizeForItemAtIndexPath(const std::shared_ptr<UICollectionView>& grid, const objc::id& layout,
                                                      const std::shared_ptr<NSIndexPath>& indexPath);
    CGFloat collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex(const std::shared_ptr<UICollectionView>& grid,
                                                                         const objc::id& layout, long section);
    CGFloat collectionViewLayoutMinimumLineSpacingForSectionAtIndex(const std::shared_ptr<UICollectionView>& grid,
                                                                    const objc::id& layout, long section);
    UIEdgeInsets collectionViewLayoutInsetForSectionAtIndex(const std::shared_ptr<UICollectionView>& grid,
                                                            const objc::id& layout, long section);
    void collectionViewDidSelectItemAtIndexPath(const std::shared_ptr<UICollectionView>& grid,
                                                const std::shared_ptr<NSIndexPath>& indexPath);

    // --- State, read-only -----------------------------------------------------------------
    const std::shared_ptr<QPLazyScrollView>& scrollView() const { return scrollView_; }
    // nil until the page was first requested.
    std::shared_ptr<UIViewController> controllerForPage(long page) const;
    std::shared_ptr<UICollectionView> calendarForPage(long page) const;
    std::shared_ptr<UILabel> monthLabelForPage(long page) const;
    int month() const { return month_; }
    int year() const { return year_; }
    int prevMonth() const { return prev_month_; }
    int prevYear() const { return prev_year_; }
    int nextMonth() const { return next_month_; }
    int nextYear() const { return next_year_; }
    int currentDate() const { return current_date_; }
    int currentMonth() const { return current_month_; }
    int currentYear() const { return current_year_; }
    int state() const { return state_; }
    int scrollState() const { return scroll_state_; }
    int previousIndex() const { return previousIndex_; }
    bool scrollLeft() const { return scrollLeft_; }
    // Column (0 = Sunday) of the 1st of the month whose grid was counted last.
    int firstDay() const { return firstDay_; }
    // The same for the page's own month; -1 before its grid was counted.
    int firstDayOfPage(long page) const;
    CGSize cellSize() const { return cellSize_; }
    int selectedRow() const { return selectedRow_; }
    int headerSize() const { return headerSize_; }

private:
    struct MonthYear {
        int month = 0, year = 0;
    };
    static MonthYear monthBefore(MonthYear m);
    static MonthYear monthAfter(MonthYear m);
    MonthYear monthOfPage(long page) const;
    void stepMonth(long requestedPage);
    void stepScrollState();
    std::shared_ptr<UIViewController> buildPage(long page);
    // The page a grid belongs to (its tag), or -1 for a grid that is not one of ours.
    long pageOfGrid(const std::shared_ptr<UICollectionView>& grid) const;
    // The system font size whose line is `share` of `band` points high, scaled from the
    // height of a sample line in the 12-point system font.
    CGFloat fontSizeForLine(double share, double band) const;
    void reportDisplayedMonth();

    std::shared_ptr<QPLazyScrollView> scrollView_;
    std::map<long, std::shared_ptr<UIViewController>> controllers_;
    std::map<long, std::shared_ptr<UICollectionView>> calendars_;
    std::map<long, std::shared_ptr<UILabel>> monthLabels_;
    int year_ = 0, month_ = 0;
    int prev_year_ = 0, prev_month_ = 0;
    int next_year_ = 0, next_month_ = 0;
    int current_date_ = 0, current_month_ = 0, current_year_ = 0;
    int state_ = -1;
    int scroll_state_ = 0;
    int previousIndex_ = 0;
    bool scrollLeft_ = false;
    int firstDay_ = 0;
    // Each page's own first weekday: a tap or a cell reads its page's, whichever grid was
    // counted last.
    std::map<long, int> firstDayOfPage_;
    std::array<std::string, 7> daysInWeeks_{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    CGSize cellSize_{};
    int selectedRow_ = -1;
    int headerSize_ = 0;
    // Height of "STRING" in the 12-point system font: the yardstick of both font sizes.
    double sampleLineHeight_ = 0;
    std::weak_ptr<objc::Object> delegate_;
};

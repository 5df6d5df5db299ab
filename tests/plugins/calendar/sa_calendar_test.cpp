#include "calendar_fixture.h"
#include "sa_calendar.h"
#include "sa_calendar_cell.h"

#include "uikit/drag_simulator.h"
#include "uikit/font.h"
#include "uikit/index_path.h"
#include "uikit/touch_simulator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace objc;

namespace {

// Writes down what a calendar tells its delegate.
class CalendarRecorder : public Object {
    OBJC_CLASS(CalendarRecorder, Object)
public:
    void displayed(const id&, int month, int year) { calls.push_back("show " + std::to_string(month) + "/" + std::to_string(year)); }
    void selected(const id&, int day, int month, int year)
    {
        calls.push_back("tap " + std::to_string(day) + "." + std::to_string(month) + "." + std::to_string(year));
    }
    std::vector<std::string> take() { return std::exchange(calls, {}); }
    std::vector<std::string> calls;
};

} // namespace

OBJC_REGISTER(CalendarRecorder,
    c.method<&CalendarRecorder::displayed>("SACalendar:didDisplayCalendarForMonth:year:");
    c.method<&CalendarRecorder::selected>("SACalendar:didSelectDate:month:year:");)

namespace {

class SACalendarTest : public CalendarTest {
protected:
    // A calendar laid out as the host would show it, vertical and without paging.
    static std::shared_ptr<SACalendar> make(CGSize size, int month = 0, int year = 0)
    {
        auto calendar = objc::alloc<SACalendar>();
        calendar->initWithFrameMonthYearScrollDirectionPagingEnabled(CGRect{{0, 0}, size}, month, year, 1, false);
        calendar->layoutIfNeeded();
        return calendar;
    }

    static std::shared_ptr<SACalendarCell> cell(const SACalendar& calendar, long page, long item)
    {
        return std::dynamic_pointer_cast<SACalendarCell>(
            calendar.calendarForPage(page)->cellForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(item, 0)));
    }

    // The 42 positions of a page's grid: the shown day number, or "" for an empty cell.
    static std::vector<std::string> grid(const SACalendar& calendar, long page)
    {
        std::vector<std::string> out;
        for (long item = 0; item < SACalendar::kCellsPerGrid; ++item) {
            auto c = cell(calendar, page, item);
            out.push_back(!c ? "?" : c->dateLabel()->isHidden() ? "" : c->dateLabel()->text());
        }
        return out;
    }

    static std::vector<std::string> titles(const SACalendar& calendar)
    {
        std::vector<std::string> out;
        for (long page = 0; page < SACalendar::kPages; ++page)
            out.push_back(calendar.monthLabelForPage(page)->text());
        return out;
    }

    // The look of a cell: which discs show, the label's colour and weight.
    static std::string look(const SACalendarCell& c)
    {
        if (c.dateLabel()->isHidden())
            return c.topLineView()->isHidden() && c.circleView()->isHidden() && c.selectedView()->isHidden() ? "empty" : "?";
        std::string s = c.dateLabel()->text();
        s += c.dateLabel()->textColor()->isEqual(UIColor::whiteColor().get()) ? " white" : " black";
        s += c.dateLabel()->font()->weight() >= 700 ? " bold" : " regular";
        if (!c.circleView()->isHidden())
            s += " red";
        if (!c.selectedView()->isHidden())
            s += " black-disc";
        return s;
    }
};

} // namespace

TEST_F(SACalendarTest, DayCellsBuildTheirDiscsFromTheLabel)
{
    const struct {
        CGSize size;
        CGRect label, disc;
        double radius;
    } rows[] = {
        {{45, 30}, {{0, 0}, {45, 21}}, {{14.1, 2.0999999999999996}, {16, 16}}, 8},
        {{40, 100}, {{0, 0}, {40, 70}}, {{3.999999999999999, 19}, {32, 32}}, 16},
        {{46, 37}, {{0, 0}, {46, 25.9}}, {{12.64, 2.5899999999999994}, {20, 20}}, 10},
    };
    for (const auto& row : rows) {
        auto c = UIView::create<SACalendarCell>(CGRect{{0, 0}, row.size});
        ASSERT_TRUE(c);
        EXPECT_EQ(c->dateLabel()->frame(), row.label);
        EXPECT_DOUBLE_EQ(c->circleView()->frame().origin.x, row.disc.origin.x) << row.size.width;
        EXPECT_DOUBLE_EQ(c->circleView()->frame().origin.y, row.disc.origin.y) << row.size.width;
        EXPECT_EQ(c->circleView()->frame().size, row.disc.size);
        EXPECT_EQ(c->selectedView()->frame(), c->circleView()->frame());
        EXPECT_EQ(c->circleView()->layer()->cornerRadius(), row.radius);
        EXPECT_EQ(c->selectedView()->layer()->cornerRadius(), row.radius);
        EXPECT_EQ(c->topLineView()->frame(), CGRectMake(-1, 0, row.size.width + 2, 1));
        EXPECT_EQ(c->dateLabel()->textAlignment(), NSTextAlignment::Center);
        // Back to front after the cell's content view: line, red disc, black disc, label.
        const auto& subviews = c->subviews();
        ASSERT_EQ(subviews.size(), 5u);
        EXPECT_EQ(subviews[1], c->topLineView());
        EXPECT_EQ(subviews[2], c->circleView());
        EXPECT_EQ(subviews[3], c->selectedView());
        EXPECT_EQ(subviews[4], c->dateLabel());
        EXPECT_TRUE(c->circleView()->backgroundColor()->isEqual(UIColor::redColor().get()));
        EXPECT_TRUE(c->selectedView()->backgroundColor()->isEqual(UIColor::blackColor().get()));
        EXPECT_TRUE(c->topLineView()->backgroundColor()->isEqual(UIColor::lightGrayColor().get()));
    }
}

TEST_F(SACalendarTest, PagesOf320By210HaveTheirGeometryAndFonts)
{
    auto calendar = make({320, 210});
    EXPECT_EQ(calendar->headerSize(), 30);
    EXPECT_EQ(calendar->cellSize(), CGSizeMake(45, 30));
    EXPECT_EQ(calendar->scrollView()->frame(), CGRectMake(0, 0, 320, 210));
    EXPECT_EQ(calendar->scrollView()->direction(), QPLazyScrollViewDirectionVertical);
    EXPECT_TRUE(calendar->scrollView()->circularScrollEnabled());
    EXPECT_FALSE(calendar->scrollView()->isPagingEnabled());
    for (long page = 0; page < SACalendar::kPages; ++page) {
        auto grid = calendar->calendarForPage(page);
        EXPECT_EQ(grid->frame(), CGRectMake(0, 30, 320, 180));
        EXPECT_EQ(grid->tag(), page);
        EXPECT_FALSE(grid->isScrollEnabled());
        EXPECT_EQ(calendar->monthLabelForPage(page)->frame(), CGRectMake(0, 0, 320, 30));
    }
    // Side insets of one point: the first column starts there, the last ends one point short.
    auto grid = calendar->calendarForPage(0);
    EXPECT_EQ(grid->layoutAttributesForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(0, 0))->frame,
              CGRectMake(1, 0, 45, 30));
    EXPECT_EQ(CGRectGetMaxX(grid->layoutAttributesForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(6, 0))->frame), 319);
    EXPECT_EQ(grid->layoutAttributesForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(41, 0))->frame.origin.y, 150);
    // Fonts sized so that a title line is 0.4 of the band and a date line 0.3 of the cell.
    EXPECT_NEAR(calendar->monthLabelForPage(0)->font()->lineHeight(), 12, 0.05);
    EXPECT_NEAR(cell(*calendar, 0, 10)->dateLabel()->font()->lineHeight(), 9, 0.05);

    // Sizes that are no sizes make empty pages, not a crash.
    for (const CGSize odd : {CGSizeMake(0, 0), CGSizeMake(5, 3), CGSizeMake(INFINITY, NAN)}) {
        auto other = make(odd);
        EXPECT_EQ(other->headerSize(), 0);
        EXPECT_EQ(titles(*other).front(), "March 2026");
    }
}

TEST_F(SACalendarTest, EachMonthStartsInTheColumnOfItsWeekday)
{
    const struct {
        const char* zone;
        int month, year, firstColumn, days;
    } rows[] = {
        {"Europe/Berlin", 3, 2026, 0, 31},   {"Europe/Berlin", 2, 2026, 0, 28}, {"Europe/Berlin", 1, 2026, 4, 31},
        {"Europe/Berlin", 2, 2024, 4, 29},   {"Europe/Berlin", 2, 2100, 1, 28},
        {"America/Asuncion", 10, 2023, 0, 31}, // a month whose first midnight the zone skips
    };
    for (const auto& row : rows) {
        foundation::setDeviceTimeZone(row.zone);
        auto calendar = make({320, 210}, row.month, row.year);
        const std::vector<std::string> shown = grid(*calendar, 0);
        for (long item = 0; item < SACalendar::kCellsPerGrid; ++item) {
            const long day = item + 1 - row.firstColumn;
            EXPECT_EQ(shown[item], day >= 1 && day <= row.days ? std::to_string(day) : "")
                << row.month << "/" << row.year << " position " << item;
        }
        EXPECT_EQ(calendar->firstDayOfPage(0), row.firstColumn);
    }
}

TEST_F(SACalendarTest, ACalendarOpensOnTodaysMonthWithTodayMarked)
{
    auto calendar = make({320, 210});
    EXPECT_EQ(titles(*calendar), (std::vector<std::string>{"March 2026", "April 2026", "February 2026"}));
    EXPECT_EQ(calendar->scrollState(), 1);
    EXPECT_EQ(calendar->state(), 0);
    EXPECT_EQ(calendar->previousIndex(), 1);
    EXPECT_EQ(calendar->scrollView()->currentPage(), 0u);
    EXPECT_EQ(look(*cell(*calendar, 0, 14)), "15 white bold red");
    EXPECT_EQ(look(*cell(*calendar, 0, 13)), "14 black regular");
    EXPECT_EQ(look(*cell(*calendar, 0, 40)), "empty");
    EXPECT_EQ(look(*cell(*calendar, 1, 17)), "15 black regular") << "15 April is not today";
    EXPECT_TRUE(calendar->backgroundColor()->isEqual(UIColor::blackColor().get()));
    EXPECT_TRUE(calendar->controllerForPage(0)->view()->backgroundColor()->isEqual(UIColor::whiteColor().get()));

    const struct {
        int month, year;
        std::vector<std::string> titles;
    } rows[] = {
        {12, 2026, {"December 2026", "January 2027", "November 2026"}},
        {1, 2026, {"January 2026", "February 2026", "December 2025"}},
        {13, 2026, {"January 2027", "February 2027", "December 2026"}}, // counts on into the next year
    };
    for (const auto& row : rows) {
        auto other = make({320, 210}, row.month, row.year);
        EXPECT_EQ(titles(*other), row.titles) << row.month << "/" << row.year;
    }
}

TEST_F(SACalendarTest, ScrollingAWholePageStepsTheMonthInBatchesOfThreeRequests)
{
    auto calendar = make({320, 210});
    auto recorder = std::make_shared<CalendarRecorder>();
    calendar->setDelegate(recorder);
    EXPECT_EQ(recorder->take(), (std::vector<std::string>{"show 3/2026"})) << "told at once";
    std::vector<unsigned long> requests;
    const QPLazyScrollViewDataSource original = calendar->scrollView()->dataSource();
    calendar->scrollView()->setDataSource([&](unsigned long page) {
        requests.push_back(page);
        return original(page);
    });

    // Each row is one drag by a whole page: a finger moving up shows the next month.
    const struct {
        CGFloat finger;
        std::vector<unsigned long> requests;
        int scrollState;
        const char* shown;
        std::vector<std::string> titles;
    } rows[] = {
        {-210, {1, 0, 2}, 2, "show 4/2026", {"March 2026", "April 2026", "May 2026"}},
        {-210, {2, 1, 0}, 0, "show 5/2026", {"June 2026", "April 2026", "May 2026"}},
        {+210, {1, 0, 2}, 2, "show 4/2026", {"March 2026", "April 2026", "May 2026"}},
        {+210, {0, 2, 1}, 1, "show 3/2026", {"March 2026", "April 2026", "February 2026"}},
        {+210, {2, 1, 0}, 0, "show 2/2026", {"March 2026", "January 2026", "February 2026"}},
    };
    for (const auto& row : rows) {
        simulateDrag(calendar->scrollView().get(), {0, row.finger}, false);
        calendar->layoutIfNeeded();
        EXPECT_EQ(requests, row.requests) << row.shown;
        EXPECT_EQ(calendar->scrollState(), row.scrollState) << row.shown;
        EXPECT_EQ(recorder->take(), std::vector<std::string>{row.shown});
        EXPECT_EQ(titles(*calendar), row.titles) << row.shown;
        requests.clear();
    }
    EXPECT_EQ(look(*cell(*calendar, 2, 14)), "15 black regular") << "today is not in February";

    // December turns into January of the next year, and back.
    auto december = make({320, 210}, 12, 2026);
    simulateDrag(december->scrollView().get(), {0, -210}, false);
    december->layoutIfNeeded();
    EXPECT_EQ(december->month(), 1);
    EXPECT_EQ(december->year(), 2027);
    EXPECT_EQ(titles(*december), (std::vector<std::string>{"December 2026", "January 2027", "February 2027"}));
    simulateDrag(december->scrollView().get(), {0, 210}, false);
    simulateDrag(december->scrollView().get(), {0, 210}, false);
    EXPECT_EQ(december->month(), 11);
    EXPECT_EQ(december->year(), 2026);
}

TEST_F(SACalendarTest, ATapMarksItsPagesDateUntilTheNextPageChange)
{
    auto calendar = make({320, 210});
    auto recorder = std::make_shared<CalendarRecorder>();
    calendar->setDelegate(recorder);
    recorder->take();
    // The grids were counted current, previous, next: the last count was April's (a Wednesday),
    // yet March's grid keeps its own first column.
    EXPECT_EQ(calendar->firstDay(), 3);

    // Row 2, column 6 of March is the 21st; row 5, column 0 is empty; row 2, column 0 the 15th.
    const auto centre = [](long item) { return CGPointMake(1 + (item % 7) * 45.5 + 22, 30 + (item / 7) * 30 + 15); };
    const struct {
        long item;
        std::vector<std::string> told;
        int selectedRow;
        const char* look;
    } taps[] = {
        {20, {"tap 21.3.2026"}, 20, "21 white bold black-disc"},
        {35, {}, -1, "empty"},
        {14, {"tap 15.3.2026"}, 14, "15 white bold red black-disc"},
    };
    for (const auto& tap : taps) {
        EXPECT_EQ(simulateTap(calendar.get(), centre(tap.item)), SimulatedTapResult::Handled);
        calendar->layoutIfNeeded();
        EXPECT_EQ(recorder->take(), tap.told) << tap.item;
        EXPECT_EQ(calendar->selectedRow(), tap.selectedRow);
        EXPECT_EQ(look(*cell(*calendar, 0, tap.item)), tap.look);
    }
    EXPECT_EQ(look(*cell(*calendar, 0, 20)), "21 black regular") << "one mark at a time";

    simulateDrag(calendar->scrollView().get(), {0, -210}, false);
    simulateDrag(calendar->scrollView().get(), {0, 210}, false);
    calendar->layoutIfNeeded();
    EXPECT_EQ(recorder->take(), (std::vector<std::string>{"show 4/2026", "show 3/2026"}));
    EXPECT_EQ(calendar->selectedRow(), -1);
    EXPECT_EQ(look(*cell(*calendar, 0, 14)), "15 white bold red");

    // Setting the delegate again reports the month shown; clearing it tells nobody.
    calendar->setDelegate(recorder);
    EXPECT_EQ(recorder->take(), (std::vector<std::string>{"show 3/2026"}));
    msgSend(calendar, "setDelegate:"_sel, id());
    EXPECT_EQ(calendar->delegate(), nullptr);
    EXPECT_TRUE(recorder->take().empty());
}

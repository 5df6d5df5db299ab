#include "foundation/ns_array.h"
#include "uikit/drag_simulator.h"
#include "uikit/index_path.h"
#include "uikit/label.h"
#include "uikit/table_view.h"
#include "uikit/table_view_cell.h"
#include "uikit/tap_gesture_recognizer.h"
#include "uikit/touch_simulator.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <vector>

using namespace objc;

namespace {

// A host object that is both data source and delegate of its table, as the lock screen's list is.
class ListHost : public Object {
    OBJC_CLASS(ListHost, Object)
public:
    long sections(const id&) { return static_cast<long>(counts.size()); }
    long rows(const id&, long section) { return counts.at(static_cast<std::size_t>(section)); }
    id cell(const id& table, const std::shared_ptr<NSIndexPath>& path)
    {
        auto cell = std::static_pointer_cast<UITableView>(table)->dequeueReusableCellWithIdentifier("row");
        if (!cell) {
            cell = UITableViewCell::create(UITableViewCell::class_(), UITableViewCellStyleDefault, "row");
            ++made;
        }
        cell->textLabel()->setText("row " + std::to_string(path->row()));
        return cell;
    }
    void didSelect(const id&, const std::shared_ptr<NSIndexPath>& path) { selected.push_back(path->row()); }
    void rowTapped() { ++taps; }

    std::vector<long> counts{4};
    int taps = 0;
    int made = 0;
    std::vector<long> selected;
};

// The same host sizing its rows and listening to the end of drags.
class SizedListHost : public ListHost {
    OBJC_CLASS(SizedListHost, ListHost)
public:
    CGFloat height(const id&, const std::shared_ptr<NSIndexPath>& path)
    {
        ++heightQueries;
        return heights.at(static_cast<std::size_t>(path->row()));
    }
    void didEndDragging(const id& scroll, bool decelerate)
    {
        endDragOffsets.push_back(static_cast<UIScrollView*>(scroll.get())->contentOffset());
        endDragDecelerate.push_back(decelerate);
    }

    std::vector<CGFloat> heights{44, 0, 100, 20};
    int heightQueries = 0;
    std::vector<CGPoint> endDragOffsets;
    std::vector<bool> endDragDecelerate;
};

// A host class whose methods a hook replaces.
class HookedListHost : public SizedListHost {
    OBJC_CLASS(HookedListHost, SizedListHost)
};

// A settings-like row that builds its own look in its initialiser.
class SwitchRow : public UITableViewCell {
    OBJC_CLASS(SwitchRow, UITableViewCell)
public:
    id initWithStyleReuseIdentifier(long style, const std::shared_ptr<NSString>& identifier) override
    {
        id made = UITableViewCell::initWithStyleReuseIdentifier(UITableViewCellStyleValue1, identifier);
        askedStyle = style;
        return made;
    }
    long askedStyle = -1;
};

// A row class whose initialiser a hook replaces.
class HookedRow : public UITableViewCell {
    OBJC_CLASS(HookedRow, UITableViewCell)
};

} // namespace

OBJC_REGISTER(ListHost,
    c.method<&ListHost::sections>("numberOfSectionsInTableView:");
    c.method<&ListHost::rows>("tableView:numberOfRowsInSection:");
    c.method<&ListHost::cell>("tableView:cellForRowAtIndexPath:");
    c.method<&ListHost::didSelect>("tableView:didSelectRowAtIndexPath:");
    c.method<&ListHost::rowTapped>("rowTapped");)
OBJC_REGISTER(SizedListHost,
    c.method<&SizedListHost::height>("tableView:heightForRowAtIndexPath:");
    c.method<&SizedListHost::didEndDragging>("scrollViewDidEndDragging:willDecelerate:");)
OBJC_REGISTER(HookedListHost)
OBJC_REGISTER(SwitchRow)
OBJC_REGISTER(HookedRow)

namespace {

std::shared_ptr<UITableView> makeTable(CGRect frame, const id& host)
{
    auto table = msgSend<std::shared_ptr<UITableView>>(objc::alloc<UITableView>(), "initWithFrame:style:"_sel, frame,
                                                       long{UITableViewStylePlain});
    msgSend(table, "setDataSource:"_sel, host);
    msgSend(table, "setDelegate:"_sel, host);
    return table;
}

std::shared_ptr<NSIndexPath> row(long r, long section = 0) { return NSIndexPath::indexPathForRowInSection(r, section); }

// The hook of the tests below: hides row 0, makes every other row one point taller.
double (*previousHeight)(Object*, SEL, const ObjectRef&, const ObjectRef&) = nullptr;
double hookedHeight(Object* self, SEL cmd, const ObjectRef& table, const ObjectRef& path)
{
    if (static_cast<NSIndexPath*>(path.get())->row() == 0)
        return 0;
    return previousHeight(self, cmd, table, path) + 1;
}

// The hook a lock-screen integration puts on the list's end of drag: it runs first and calls through.
void (*previousEndDragging)(Object*, SEL, const ObjectRef&, bool) = nullptr;
std::vector<CGFloat> offsetsSeenByHook;
void hookedEndDragging(Object* self, SEL cmd, const ObjectRef& scroll, bool decelerate)
{
    offsetsSeenByHook.push_back(static_cast<UIScrollView*>(scroll.get())->contentOffset().y);
    previousEndDragging(self, cmd, scroll, decelerate);
}

id (*previousRowInit)(Object*, SEL, long, const ObjectRef&) = nullptr;
id hookedRowInit(Object* self, SEL cmd, long style, const ObjectRef& identifier)
{
    id made = previousRowInit(self, cmd, UITableViewCellStyleSubtitle, identifier);
    if (auto cell = std::dynamic_pointer_cast<UITableViewCell>(made))
        cell->setAccessoryType(UITableViewCellAccessoryCheckmark);
    return made;
}

} // namespace

TEST(TableView, RowsStackWithTheDelegatesHeightsAndEmptyRowsTakeNoRoom)
{
    auto host = std::make_shared<SizedListHost>();
    auto table = makeTable(CGRectMake(0, 0, 320, 480), host);
    table->layoutIfNeeded();

    EXPECT_EQ(table->rectForRowAtIndexPath(row(0)), CGRectMake(0, 0, 320, 44));
    EXPECT_EQ(table->rectForRowAtIndexPath(row(1)), CGRectMake(0, 44, 320, 0));
    EXPECT_EQ(table->rectForRowAtIndexPath(row(2)), CGRectMake(0, 44, 320, 100));
    EXPECT_EQ(table->rectForRowAtIndexPath(row(3)), CGRectMake(0, 144, 320, 20));
    EXPECT_EQ(table->rectForRowAtIndexPath(row(4)), CGRectZero);
    EXPECT_EQ(table->rectForRowAtIndexPath(nullptr), CGRectZero);
    EXPECT_EQ(table->contentSize(), (CGSize{320, 164}));

    EXPECT_EQ(table->visibleCells().size(), 3u);
    EXPECT_EQ(table->cellForRowAtIndexPath(row(1)), nullptr);
    auto third = table->cellForRowAtIndexPath(row(2));
    ASSERT_TRUE(third);
    EXPECT_EQ(third->frame(), CGRectMake(0, 44, 320, 100));
    EXPECT_EQ(third->textLabel()->text(), "row 2");
    EXPECT_EQ(third->superview(), table.get());
    EXPECT_EQ(table->indexPathForCell(third)->row(), 2);
    EXPECT_EQ(table->indexPathForRowAtPoint({10, 44})->row(), 2);
    EXPECT_EQ(table->indexPathForRowAtPoint({10, 163})->row(), 3);
    EXPECT_EQ(table->indexPathForRowAtPoint({10, 164}), nullptr);

    // Heights are asked once per reload.
    const int asked = host->heightQueries;
    table->layoutIfNeeded();
    table->visibleCells();
    EXPECT_EQ(host->heightQueries, asked);
    host->heights = {10, 10, 10, 10};
    table->reloadData();
    EXPECT_EQ(table->rectForRowAtIndexPath(row(3)), CGRectMake(0, 30, 320, 10));
    EXPECT_EQ(table->visibleCells().size(), 4u);

    // Heights that are no lengths take no room.
    host->heights = {-5, std::nan(""), 30, std::numeric_limits<double>::infinity()};
    table->reloadData();
    table->layoutIfNeeded();
    EXPECT_EQ(table->rectForRowAtIndexPath(row(2)), CGRectMake(0, 0, 320, 30));
    EXPECT_EQ(table->contentSize().height, 30);
}

TEST(TableView, InsertedAndDeletedRowsAskOnlyTheNewHeightsAndTheOthersMove)
{
    auto host = std::make_shared<SizedListHost>();
    host->heights = {10, 20, 30, 40};
    auto table = makeTable(CGRectMake(0, 0, 320, 480), host);
    table->layoutIfNeeded();
    const auto first = table->cellForRowAtIndexPath(row(0));
    const auto second = table->cellForRowAtIndexPath(row(1));
    table->selectRowAtIndexPathAnimatedScrollPosition(row(2), false, 0);
    const int asked = host->heightQueries;
    const int made = host->made;
    const auto paths = [](std::vector<id> list) { return NSArray::arrayWithObjects(std::move(list)); };

    // A row first: only its height is asked, the others move down with their cells and selection.
    host->counts = {5};
    host->heights = {5, 10, 20, 30, 40};
    msgSend(table, "insertRowsAtIndexPaths:withRowAnimation:"_sel, paths({row(0)}), 0L);
    table->layoutIfNeeded();
    EXPECT_EQ(host->heightQueries, asked + 1);
    EXPECT_EQ(table->rectForRowAtIndexPath(row(4)), CGRectMake(0, 65, 320, 40));
    EXPECT_EQ(table->contentSize().height, 105);
    EXPECT_EQ(table->cellForRowAtIndexPath(row(2)), second);
    EXPECT_EQ(second->frame(), CGRectMake(0, 15, 320, 20));
    EXPECT_EQ(table->indexPathForSelectedRow()->row(), 3);
    EXPECT_EQ(host->made, made + 1); // the new row's cell only

    // Two rows out: nothing is asked, the rows after them move up.
    host->counts = {3};
    host->heights = {10, 30, 40};
    msgSend(table, "deleteRowsAtIndexPaths:withRowAnimation:"_sel, paths({row(2), row(0)}), 0L);
    table->layoutIfNeeded();
    EXPECT_EQ(host->heightQueries, asked + 1);
    EXPECT_EQ(table->rectForRowAtIndexPath(row(2)), CGRectMake(0, 40, 320, 40));
    EXPECT_EQ(table->contentSize().height, 80);
    EXPECT_EQ(table->cellForRowAtIndexPath(row(0)), first);
    EXPECT_EQ(table->indexPathForSelectedRow()->row(), 1);

    // A change the data source's counts do not agree with reloads everything.
    host->counts = {4};
    host->heights = {1, 1, 1, 1};
    msgSend(table, "insertRowsAtIndexPaths:withRowAnimation:"_sel, paths({row(9)}), 0L);
    table->layoutIfNeeded();
    EXPECT_EQ(table->contentSize().height, 4);
    EXPECT_EQ(table->indexPathForSelectedRow(), nullptr);
}

TEST(TableView, AHeightMethodReplacedOnTheHostClassIsTheOneTheTableUses)
{
    MSHookMessageEx(HookedListHost::class_(), "tableView:heightForRowAtIndexPath:"_sel, &hookedHeight, &previousHeight);
    ASSERT_NE(previousHeight, nullptr);
    auto host = std::make_shared<HookedListHost>();
    auto table = makeTable(CGRectMake(0, 0, 320, 480), host);
    EXPECT_EQ(table->rectForRowAtIndexPath(row(0)), CGRectMake(0, 0, 320, 0));
    EXPECT_EQ(table->rectForRowAtIndexPath(row(2)), CGRectMake(0, 1, 320, 101));
    EXPECT_EQ(table->contentSize().height, 0.0); // no layout pass yet
    table->layoutIfNeeded();
    EXPECT_EQ(table->contentSize().height, 1 + 101 + 21);
    EXPECT_EQ(table->visibleCells().size(), 3u);
    EXPECT_EQ(table->cellForRowAtIndexPath(row(0)), nullptr);

    // The class the hook was not installed on keeps its own heights.
    auto plainHost = std::make_shared<SizedListHost>();
    auto plain = makeTable(CGRectMake(0, 0, 320, 480), plainHost);
    EXPECT_EQ(plain->rectForRowAtIndexPath(row(2)), CGRectMake(0, 44, 320, 100));
}

TEST(TableView, UnsizedRowsTakeTheRowHeightSectionAfterSection)
{
    auto host = std::make_shared<ListHost>();
    host->counts = {2, 3};
    auto table = makeTable(CGRectMake(0, 0, 320, 480), host);
    EXPECT_EQ(table->rowHeight(), 44);
    EXPECT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(1), 3);
    EXPECT_EQ(table->numberOfRowsInSection(2), 0);
    EXPECT_EQ(table->rectForRowAtIndexPath(row(0, 1)), CGRectMake(0, 88, 320, 44));
    EXPECT_EQ(table->cellForRowAtIndexPath(row(2, 1))->textLabel()->text(), "row 2");
    table->setRowHeight(30);
    EXPECT_EQ(table->rectForRowAtIndexPath(row(2, 1)), CGRectMake(0, 120, 320, 30));

    // No data source, no rows.
    table->setDataSource(nullptr);
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 0);
    EXPECT_TRUE(table->visibleCells().empty());
    EXPECT_TRUE(table->subviews().empty());
}

TEST(TableView, ReloadingReusesCellsWithoutGrowth)
{
    auto host = std::make_shared<ListHost>();
    host->counts = {6};
    auto table = makeTable(CGRectMake(0, 0, 320, 480), host);
    table->layoutIfNeeded();
    EXPECT_EQ(host->made, 6);
    for (int round = 0; round < 100; ++round) {
        table->reloadData();
        table->layoutIfNeeded();
    }
    EXPECT_EQ(host->made, 6);
    EXPECT_EQ(table->subviews().size(), 6u);
    EXPECT_EQ(table->reusableCellCount("row"), 0u);

    host->counts = {1};
    table->reloadData();
    table->layoutIfNeeded();
    EXPECT_EQ(table->subviews().size(), 1u);
    EXPECT_EQ(table->reusableCellCount("row"), 5u);
}

TEST(TableView, ScrollingShowsOtherRowsWithRecycledCells)
{
    auto host = std::make_shared<ListHost>();
    host->counts = {30};
    auto table = makeTable(CGRectMake(0, 0, 320, 200), host);
    table->layoutIfNeeded();
    auto paths = table->indexPathsForVisibleRows();
    ASSERT_EQ(paths.size(), 5u);
    EXPECT_EQ(paths.back()->row(), 4);

    table->setContentOffset({0, 440});
    table->layoutIfNeeded();
    paths = table->indexPathsForVisibleRows();
    ASSERT_EQ(paths.size(), 5u);
    EXPECT_EQ(paths.front()->row(), 10);
    EXPECT_EQ(paths.back()->row(), 14);
    EXPECT_EQ(host->made, 5);
    EXPECT_EQ(table->cellForRowAtIndexPath(row(12))->textLabel()->text(), "row 12");
}

TEST(TableView, PullingTheListDownReachesTheReplacedEndOfDragWithTheOffsetMoved)
{
    MSHookMessageEx(HookedListHost::class_(), "scrollViewDidEndDragging:willDecelerate:"_sel, &hookedEndDragging,
                    &previousEndDragging);
    auto host = std::make_shared<HookedListHost>();
    host->heights = {44, 44, 44, 44};
    auto table = makeTable(CGRectMake(0, 0, 320, 480), host);
    table->layoutIfNeeded();

    // Four rows do not fill the table, yet it can be pulled down.
    offsetsSeenByHook.clear();
    simulateDrag(table.get(), {0, 90}, false);
    EXPECT_EQ(offsetsSeenByHook, std::vector<CGFloat>{-90});
    ASSERT_EQ(host->endDragOffsets.size(), 1u);
    EXPECT_EQ(host->endDragOffsets[0].y, -90);
    EXPECT_EQ(host->endDragDecelerate, std::vector<bool>{false});
    EXPECT_EQ(table->contentOffset(), (CGPoint{0, 0}));

    // Pushing it up instead is no pull-down.
    simulateDrag(table.get(), {0, -30}, true);
    EXPECT_GT(offsetsSeenByHook.back(), 0);
    EXPECT_EQ(host->endDragDecelerate.back(), true);
}

TEST(TableView, ATapOnARowSelectsItUnlessARecogniserTakesIt)
{
    auto host = std::make_shared<SizedListHost>();
    auto table = makeTable(CGRectMake(0, 0, 320, 480), host);
    auto root = UIView::create(CGRectMake(0, 0, 320, 480));
    root->addSubview(table);
    root->layoutIfNeeded();

    EXPECT_EQ(simulateTap(root.get(), {100, 60}), SimulatedTapResult::Handled);
    EXPECT_EQ(host->selected, std::vector<long>{2});
    EXPECT_EQ(table->indexPathForSelectedRow()->row(), 2);
    EXPECT_TRUE(table->cellForRowAtIndexPath(row(2))->isSelected());

    // Below the last row nothing is selected.
    EXPECT_EQ(simulateTap(root.get(), {100, 300}), SimulatedTapResult::Unhandled);
    EXPECT_EQ(host->selected.size(), 1u);

    // A row with its own tap recogniser keeps the tap.
    auto first = table->cellForRowAtIndexPath(row(0));
    auto recogniser = UITapGestureRecognizer::create(host, "rowTapped"_sel);
    first->addGestureRecognizer(recogniser);
    EXPECT_EQ(simulateTap(root.get(), {100, 10}), SimulatedTapResult::Recognized);
    EXPECT_EQ(host->taps, 1);
    EXPECT_EQ(host->selected.size(), 1u);
    first->removeGestureRecognizer(recogniser.get());

    // Scrolled content is hit where it is shown.
    host->heights = {200, 200, 200, 200};
    table->reloadData();
    table->setContentOffset({0, 300});
    root->layoutIfNeeded();
    EXPECT_EQ(simulateTap(root.get(), {100, 10}), SimulatedTapResult::Handled);
    EXPECT_EQ(host->selected.back(), 1);
}

TEST(TableViewCell, RegisteredClassesAreMadeThroughTheRuntimeInitialiser)
{
    auto host = std::make_shared<ListHost>();
    auto table = makeTable(CGRectMake(0, 0, 320, 480), host);
    table->registerClassForCellReuseIdentifier(SwitchRow::class_(), "switch");
    auto cell = std::dynamic_pointer_cast<SwitchRow>(table->dequeueReusableCellWithIdentifier("switch"));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->askedStyle, UITableViewCellStyleDefault);
    EXPECT_EQ(cell->style(), UITableViewCellStyleValue1);
    EXPECT_EQ(cell->reuseIdentifier(), "switch");
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("unknown"), nullptr);

    // The runtime selector answers with the C++ override, so hooks and subclasses meet there.
    auto direct = msgSend<std::shared_ptr<SwitchRow>>(objc::alloc<SwitchRow>(), "initWithStyle:reuseIdentifier:"_sel,
                                                      long{UITableViewCellStyleSubtitle}, NSStr("x"));
    EXPECT_EQ(direct->askedStyle, UITableViewCellStyleSubtitle);
    EXPECT_EQ(direct->reuseIdentifier(), "x");

    // A replaced initialiser runs for cells the table makes.
    MSHookMessageEx(HookedRow::class_(), "initWithStyle:reuseIdentifier:"_sel, &hookedRowInit, &previousRowInit);
    table->registerClassForCellReuseIdentifier(HookedRow::class_(), "hooked");
    auto hooked = table->dequeueReusableCellWithIdentifier("hooked");
    ASSERT_TRUE(std::dynamic_pointer_cast<HookedRow>(hooked));
    EXPECT_EQ(hooked->style(), UITableViewCellStyleSubtitle);
    EXPECT_EQ(hooked->accessoryType(), UITableViewCellAccessoryCheckmark);
    EXPECT_EQ(hooked->reuseIdentifier(), "hooked");

    // Classes that are no cells make nothing.
    EXPECT_EQ(UITableViewCell::create(UIView::class_(), 0, "row"), nullptr);
    table->registerClassForCellReuseIdentifier(UIView::class_(), "switch");
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("switch"), nullptr);
}

TEST(TableViewCell, StylesGiveTheirLabelsAndPlaceThem)
{
    auto plain = UITableViewCell::create(UITableViewCell::class_(), UITableViewCellStyleDefault, "a");
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->textLabel());
    EXPECT_TRUE(plain->imageView());
    EXPECT_EQ(plain->detailTextLabel(), nullptr);
    EXPECT_EQ(plain->frame(), CGRectMake(0, 0, 320, 44));
    EXPECT_EQ(plain->separatorInset(), UIEdgeInsetsMake(0, 15, 0, 0));
    plain->layoutIfNeeded();
    EXPECT_EQ(plain->textLabel()->frame(), CGRectMake(15, 0, 290, 44));
    EXPECT_EQ(plain->textLabel()->superview(), plain->contentView().get());

    auto value = UITableViewCell::create(UITableViewCell::class_(), UITableViewCellStyleValue1, "b");
    value->textLabel()->setText("Glyph colour");
    value->detailTextLabel()->setText("#FFFFFF");
    value->setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    value->layoutIfNeeded();
    EXPECT_EQ(value->contentView()->frame(), CGRectMake(0, 0, 320 - UITableViewCell::kAccessoryWidth, 44));
    const CGRect detail = value->detailTextLabel()->frame();
    EXPECT_GT(detail.size.width, 0);
    EXPECT_DOUBLE_EQ(CGRectGetMaxX(detail), 320 - UITableViewCell::kAccessoryWidth - 15);
    EXPECT_LT(CGRectGetMaxX(value->textLabel()->frame()), detail.origin.x);

    auto subtitle = UITableViewCell::create(UITableViewCell::class_(), UITableViewCellStyleSubtitle, "c");
    subtitle->setFrame(CGRectMake(0, 0, 320, 60));
    subtitle->layoutIfNeeded();
    const CGRect title = subtitle->textLabel()->frame(), below = subtitle->detailTextLabel()->frame();
    EXPECT_DOUBLE_EQ(CGRectGetMaxY(title), below.origin.y);
    EXPECT_NEAR(title.origin.y, 60 - CGRectGetMaxY(below), 1e-9); // centred together

    // Unknown styles are the default one; reuse clears the selection.
    auto odd = UITableViewCell::create(UITableViewCell::class_(), 42, "d");
    EXPECT_EQ(odd->style(), UITableViewCellStyleDefault);
    odd->setSelected(true);
    msgSend(odd, "prepareForReuse"_sel);
    EXPECT_FALSE(odd->isSelected());
}

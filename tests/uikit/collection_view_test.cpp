#include "uikit/collection_view.h"
#include "uikit/collection_view_cell.h"
#include "uikit/index_path.h"
#include "uikit/tap_gesture_recognizer.h"
#include "uikit/touch_simulator.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace objc;

namespace {

// A tile that remembers how it was made and how often it was recycled.
class Tile : public UICollectionViewCell {
    OBJC_CLASS(Tile, UICollectionViewCell)
public:
    id initWithFrame(CGRect frame) override
    {
        ++made;
        initFrame = frame;
        return UICollectionViewCell::initWithFrame(frame);
    }
    void prepareForReuse() override
    {
        UICollectionViewCell::prepareForReuse();
        ++reused;
    }
    static inline int made = 0;
    CGRect initFrame{};
    int reused = 0;
    long shownItem = -1;
};

// The data source and delegate of a grid of tiles, like a widget's grid.
class TileGrid : public Object {
    OBJC_CLASS(TileGrid, Object)
public:
    long items(const id&, long) { ++countQueries; return count; }
    id cell(const id& view, const std::shared_ptr<NSIndexPath>& path)
    {
        auto grid = std::static_pointer_cast<UICollectionView>(view);
        auto tile = std::dynamic_pointer_cast<Tile>(grid->dequeueReusableCellWithReuseIdentifierForIndexPath(identifier, path));
        if (tile)
            tile->shownItem = path->item();
        order.push_back(countQueries);
        return tile;
    }
    void didSelect(const id&, const std::shared_ptr<NSIndexPath>& path) { selected.push_back(path->item()); }
    void tileTapped() { ++tileTaps; }

    long count = 7;
    std::string identifier = "cellIdentifier";
    int countQueries = 0;
    std::vector<int> order; // count queries seen by each cell request
    std::vector<long> selected;
    int tileTaps = 0;
};

// Answers cells it made itself (not dequeued), or objects that are no cells.
class CarelessGrid : public Object {
    OBJC_CLASS(CarelessGrid, Object)
public:
    long items(const id&, long) { return 3; }
    id cell(const id&, const std::shared_ptr<NSIndexPath>& path)
    {
        if (path->item() == 1)
            return std::make_shared<Object>();
        return UIView::create<UICollectionViewCell>(CGRectMake(0, 0, 10, 10));
    }
};

} // namespace

OBJC_REGISTER(Tile)
OBJC_REGISTER(TileGrid,
    c.method<&TileGrid::items>("collectionView:numberOfItemsInSection:");
    c.method<&TileGrid::cell>("collectionView:cellForItemAtIndexPath:");
    c.method<&TileGrid::didSelect>("collectionView:didSelectItemAtIndexPath:");
    c.method<&TileGrid::tileTapped>("tileTapped");)
OBJC_REGISTER(CarelessGrid,
    c.method<&CarelessGrid::items>("collectionView:numberOfItemsInSection:");
    c.method<&CarelessGrid::cell>("collectionView:cellForItemAtIndexPath:");)

namespace {

struct GridFixture : ::testing::Test {
    std::shared_ptr<UICollectionViewFlowLayout> layout = std::make_shared<UICollectionViewFlowLayout>();
    std::shared_ptr<TileGrid> grid = std::make_shared<TileGrid>();
    std::shared_ptr<UICollectionView> view;

    GridFixture()
    {
        Tile::made = 0;
        layout->setItemSize({60, 100});
        layout->setSectionInset(UIEdgeInsetsMake(10, 10, 10, 10));
        layout->setMinimumInteritemSpacing(0);
        view = std::make_shared<UICollectionView>();
        view->initWithFrameCollectionViewLayout(CGRectMake(0, 0, 300, 400), layout);
        view->setDataSource(grid);
        view->setDelegate(grid);
        view->registerClassForCellWithReuseIdentifier(Tile::class_(), "cellIdentifier");
    }
    std::shared_ptr<Tile> tileAt(long item)
    {
        return std::dynamic_pointer_cast<Tile>(view->cellForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(item, 0)));
    }
};

} // namespace

TEST_F(GridFixture, CellsAreMadeThroughInitWithFrameWithTheirItemsFrameAndBecomeSubviews)
{
    view->layoutIfNeeded();
    const auto cells = view->visibleCells();
    ASSERT_EQ(cells.size(), 7u);
    EXPECT_EQ(Tile::made, 7);
    for (long i = 0; i < 7; ++i) {
        auto tile = tileAt(i);
        ASSERT_TRUE(tile) << i;
        const auto attributes = view->layoutAttributesForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(i, 0));
        EXPECT_EQ(tile->initFrame, attributes->frame);
        EXPECT_EQ(tile->frame(), attributes->frame);
        EXPECT_EQ(tile->superview(), view.get());
        EXPECT_EQ(tile->shownItem, i);
        EXPECT_EQ(tile->reuseIdentifier(), "cellIdentifier");
        EXPECT_TRUE(view->indexPathForCell(tile)->isEqual(NSIndexPath::indexPathForItemInSection(i, 0).get()));
        ASSERT_TRUE(tile->contentView());
        EXPECT_EQ(tile->contentView()->frame(), CGRectMake(0, 0, 60, 100));
    }
    EXPECT_EQ(view->subviews().size(), 7u);
    EXPECT_EQ(view->contentSize(), (CGSize{300, 230}));
    // The count is asked before the cells of the pass.
    EXPECT_EQ(grid->order, std::vector<int>(7, 1));
}

TEST_F(GridFixture, ReloadingReusesTheSameCellsWithoutGrowth)
{
    view->layoutIfNeeded();
    std::set<UICollectionViewCell*> first;
    for (const auto& cell : view->visibleCells())
        first.insert(cell.get());
    for (int round = 0; round < 100; ++round) {
        view->reloadData();
        EXPECT_TRUE(view->needsLayout());
        view->layoutIfNeeded();
    }
    EXPECT_EQ(view->subviews().size(), 7u);
    EXPECT_EQ(Tile::made, 7);
    EXPECT_EQ(grid->countQueries, 101);
    std::set<UICollectionViewCell*> last;
    for (const auto& cell : view->visibleCells())
        last.insert(cell.get());
    EXPECT_EQ(first, last);
    EXPECT_EQ(tileAt(0)->reused, 100);
    EXPECT_EQ(view->reusableCellCount("cellIdentifier"), 0u);

    // Fewer items after a reload: the spare cells wait for reuse, off the view.
    grid->count = 2;
    view->reloadData();
    view->layoutIfNeeded();
    EXPECT_EQ(view->subviews().size(), 2u);
    EXPECT_EQ(view->reusableCellCount("cellIdentifier"), 5u);
    EXPECT_EQ(view->numberOfItemsInSection(0), 2);
}

TEST_F(GridFixture, OnlyItemsOnScreenHaveCellsAndScrolledOffCellsAreReused)
{
    grid->count = 40; // ten lines of 110 points
    view->layoutIfNeeded();
    // Lines at 10, 120, 230, 340 overlap the first 400 points.
    EXPECT_EQ(view->visibleCells().size(), 16u);
    EXPECT_EQ(view->cellForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(20, 0)), nullptr);
    EXPECT_EQ(view->contentSize().height, 10 + 10 * 100 + 9 * 10 + 10);

    view->setContentOffset({0, 600});
    view->layoutIfNeeded();
    // Lines at 560 (items 20-23) to 890 (items 32-35) overlap 600...1000.
    auto visible = view->indexPathsForVisibleItems();
    ASSERT_EQ(visible.size(), 16u);
    EXPECT_EQ(visible.front()->item(), 20);
    EXPECT_EQ(visible.back()->item(), 35);
    EXPECT_EQ(Tile::made, 16);
    EXPECT_EQ(tileAt(20)->shownItem, 20);
    EXPECT_EQ(tileAt(0), nullptr);
    EXPECT_EQ(view->subviews().size(), 16u);
}

TEST_F(GridFixture, ItemsAreFoundByPointAndCellsBySelection)
{
    view->layoutIfNeeded();
    EXPECT_EQ(view->indexPathForItemAtPoint({15, 15})->item(), 0);
    EXPECT_EQ(view->indexPathForItemAtPoint({15, 125})->item(), 4);
    EXPECT_EQ(view->indexPathForItemAtPoint({5, 5}), nullptr);
    EXPECT_EQ(view->indexPathForItemAtPoint({250, 125}), nullptr);

    view->selectItemAtIndexPathAnimatedScrollPosition(NSIndexPath::indexPathForItemInSection(2, 0), false, 0);
    EXPECT_TRUE(tileAt(2)->isSelected());
    view->selectItemAtIndexPathAnimatedScrollPosition(NSIndexPath::indexPathForItemInSection(3, 0), false, 0);
    EXPECT_FALSE(tileAt(2)->isSelected());
    EXPECT_TRUE(tileAt(3)->isSelected());
    ASSERT_EQ(view->indexPathsForSelectedItems().size(), 1u);
    EXPECT_TRUE(grid->selected.empty()); // selection from code is not reported
    view->selectItemAtIndexPathAnimatedScrollPosition(NSIndexPath::indexPathForItemInSection(99, 0), false, 0);
    ASSERT_EQ(view->indexPathsForSelectedItems().size(), 1u);

    // A reload clears the selection and the recycled cell forgets it.
    view->reloadData();
    view->layoutIfNeeded();
    EXPECT_TRUE(view->indexPathsForSelectedItems().empty());
    for (const auto& cell : view->visibleCells())
        EXPECT_FALSE(cell->isSelected());
}

TEST_F(GridFixture, TheUserSelectingAnItemIsReportedToTheDelegate)
{
    view->layoutIfNeeded();
    EXPECT_TRUE(view->selectItemByUser(NSIndexPath::indexPathForItemInSection(5, 0)));
    EXPECT_EQ(grid->selected, std::vector<long>{5});
    EXPECT_TRUE(tileAt(5)->isSelected());
    // A point between tiles or selection switched off selects nothing.
    EXPECT_FALSE(view->handleSimulatedTap({5, 5}));
    EXPECT_TRUE(view->handleSimulatedTap({90, 15}));
    EXPECT_EQ(grid->selected, (std::vector<long>{5, 1}));
    view->setAllowsSelection(false);
    EXPECT_FALSE(view->handleSimulatedTap({90, 15}));
    EXPECT_EQ(grid->selected.size(), 2u);
}

TEST_F(GridFixture, ASimulatedTapOnATileSelectsItUnlessTheTileHasARecogniser)
{
    grid->count = 40;
    auto root = UIView::create(CGRectMake(0, 0, 300, 400));
    root->addSubview(view);
    root->layoutIfNeeded();

    EXPECT_EQ(simulateTap(root.get(), {100, 130}), SimulatedTapResult::Handled);
    EXPECT_EQ(grid->selected, std::vector<long>{5});
    EXPECT_TRUE(tileAt(5)->isSelected());

    // A tile with a tap recogniser (as a widget chooser's tiles have) keeps its taps.
    auto tile = tileAt(6);
    auto recogniser = UITapGestureRecognizer::create(grid, "tileTapped"_sel);
    tile->addGestureRecognizer(recogniser);
    EXPECT_EQ(simulateTap(root.get(), {170, 130}), SimulatedTapResult::Recognized);
    EXPECT_EQ(grid->tileTaps, 1);
    EXPECT_EQ(grid->selected.size(), 1u);
    tile->removeGestureRecognizer(recogniser.get());

    // After scrolling, the tap lands on the item shown under the finger.
    view->setContentOffset({0, 600});
    root->layoutIfNeeded();
    EXPECT_EQ(simulateTap(root.get(), {15, 15}), SimulatedTapResult::Handled);
    EXPECT_EQ(grid->selected.back(), 20);
    EXPECT_EQ(simulateTap(root.get(), {295, 15}), SimulatedTapResult::Unhandled);
}

TEST_F(GridFixture, UnregisteredIdentifiersAndCarelessSourcesShowNoCellsButDoNotStop)
{
    grid->identifier = "nobody";
    view->layoutIfNeeded();
    EXPECT_TRUE(view->visibleCells().empty());
    EXPECT_EQ(view->dequeueReusableCellWithReuseIdentifierForIndexPath("nobody", nullptr), nullptr);

    // Registering something that is no cell class removes the registration.
    view->registerClassForCellWithReuseIdentifier(UIView::class_(), "cellIdentifier");
    grid->identifier = "cellIdentifier";
    view->reloadData();
    EXPECT_TRUE(view->visibleCells().empty());

    auto careless = std::make_shared<CarelessGrid>();
    view->setDataSource(careless);
    for (int round = 0; round < 5; ++round) {
        view->reloadData();
        view->layoutIfNeeded();
    }
    // Items 0 and 2 show the cells made on the spot; item 1 answered no cell.
    EXPECT_EQ(view->visibleCells().size(), 2u);
    EXPECT_EQ(view->subviews().size(), 2u);
    EXPECT_EQ(view->reusableCellCount(""), 0u);
}

TEST_F(GridFixture, TheDataSourceIsNotRetainedAndTheLayoutFollowsItsView)
{
    std::weak_ptr<TileGrid> watch = grid;
    grid.reset();
    EXPECT_TRUE(watch.expired());
    view->reloadData();
    view->layoutIfNeeded();
    EXPECT_TRUE(view->visibleCells().empty());
    EXPECT_EQ(layout->collectionView(), view.get());
    view.reset();
    EXPECT_EQ(layout->collectionView(), nullptr);
}

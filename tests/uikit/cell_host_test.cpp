// The cell host's own rules, which tables and collection views both follow: bounded counts,
// retiring and reusing cells, selection, and the layout pass guard.
#include "uikit/cell_host.h"
#include "uikit/collection_view_cell.h"
#include "uikit/index_path.h"
#include "uikit/scroll_view.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <set>
#include <vector>

using namespace objc;
using uikit::CellHost;
using uikit::CellKey;

namespace {

class HostedCell : public UICollectionViewCell {
    OBJC_CLASS(HostedCell, UICollectionViewCell)
public:
    void prepareForReuse() override
    {
        UICollectionViewCell::prepareForReuse();
        ++prepared;
    }
    void setSelected(bool selected) override
    {
        UICollectionViewCell::setSelected(selected);
        told.push_back(selected);
    }
    int prepared = 0;
    std::vector<bool> told;
};

// Answers what its fields say; a cell is handed out for a key only when one is set for it.
class CellSource : public Object {
    OBJC_CLASS(CellSource, Object)
public:
    long sections(const id&) { return sectionCount; }
    long items(const id&, long) { return itemCount; }
    id cell(const id&, const std::shared_ptr<NSIndexPath>& path)
    {
        const auto found = cells.find({path->section(), path->item()});
        return found == cells.end() ? nullptr : found->second;
    }
    bool shouldSelect(const id&, const std::shared_ptr<NSIndexPath>&) { return allowed; }
    void didSelect(const id&, const std::shared_ptr<NSIndexPath>& path) { selected.push_back(path->item()); }

    long sectionCount = 1;
    long itemCount = 3;
    std::map<CellKey, std::shared_ptr<HostedCell>> cells;
    bool allowed = true;
    std::vector<long> selected;
};

// Answers no message at all.
class SilentSource : public Object {
    OBJC_CLASS(SilentSource, Object)
};

} // namespace

OBJC_REGISTER(HostedCell)
OBJC_REGISTER(CellSource,
    c.method<&CellSource::sections>("numberOfSectionsInCellSource:");
    c.method<&CellSource::items>("cellSource:numberOfItemsInSection:");
    c.method<&CellSource::cell>("cellSource:cellForItemAtIndexPath:");
    c.method<&CellSource::shouldSelect>("cellSource:shouldSelectItemAtIndexPath:");
    c.method<&CellSource::didSelect>("cellSource:didSelectItemAtIndexPath:");)
OBJC_REGISTER(SilentSource)

namespace {

uikit::CellMessages messages(bool asksShouldSelect)
{
    return {"numberOfSectionsInCellSource:"_sel, "cellSource:numberOfItemsInSection:"_sel,
            "cellSource:cellForItemAtIndexPath:"_sel,
            asksShouldSelect ? "cellSource:shouldSelectItemAtIndexPath:"_sel : nullptr,
            "cellSource:didSelectItemAtIndexPath:"_sel};
}

struct Hosted {
    explicit Hosted(bool asksShouldSelect = true)
        : host(*view, messages(asksShouldSelect), [this](long) { return source->itemCount; })
    {
        view->initWithFrame(CGRectMake(0, 0, 100, 100));
        host.setDataSource(source);
        view->setDelegate(source);
    }
    std::shared_ptr<HostedCell> makeCell(const std::string& identifier)
    {
        auto cell = UIView::create<HostedCell>(CGRectZero);
        cell->setReuseIdentifier(identifier);
        return cell;
    }
    std::shared_ptr<UIScrollView> view = std::make_shared<UIScrollView>();
    std::shared_ptr<CellSource> source = std::make_shared<CellSource>();
    CellHost<UICollectionViewCell> host;
};

std::shared_ptr<NSIndexPath> item(long i) { return NSIndexPath::indexPathForItemInSection(i, 0); }

std::set<CellKey> keys(std::initializer_list<long> items)
{
    std::set<CellKey> result;
    for (long i : items)
        result.insert({0, i});
    return result;
}

} // namespace

TEST(CellHost, AskedCountsAreBoundedAndDefaultToOneSection)
{
    constexpr long kHuge = std::numeric_limits<long>::max();
    struct Case {
        const char* what;
        long sections;
        long items;
        std::vector<long> counts;
    };
    for (const Case& c : std::vector<Case>{
             {"plain", 2, 3, {3, 3}},
             {"negative sections", -3, 3, {}},
             {"negative items", 2, -5, {0, 0}},
             {"items beyond the budget", 3, kHuge, {1'000'000, 0, 0}},
             {"sections beyond the bound", kHuge, 0, std::vector<long>(100'000, 0)},
         }) {
        Hosted hosted;
        hosted.source->sectionCount = c.sections;
        hosted.source->itemCount = c.items;
        EXPECT_EQ(hosted.host.askItemCounts(), c.counts) << c.what;
    }
    Hosted silent;
    silent.host.setDataSource(std::make_shared<SilentSource>());
    EXPECT_EQ(silent.host.dataSource(), nullptr); // not retained
    const auto kept = std::make_shared<SilentSource>();
    silent.host.setDataSource(kept);
    EXPECT_EQ(silent.host.askItemCounts(), std::vector<long>{0});
    silent.host.setDataSource(nullptr);
    EXPECT_TRUE(silent.host.askItemCounts().empty());
}

TEST(CellHost, RetiredCellsWaitForReuseUnlessShownElsewhereOrUnnamed)
{
    Hosted hosted;
    const auto shared = hosted.makeCell("tile");
    std::weak_ptr<HostedCell> unnamed = hosted.source->cells[{0, 2}] = hosted.makeCell("");
    hosted.source->cells[{0, 0}] = shared;
    hosted.source->cells[{0, 1}] = shared; // one cell handed out for two items
    const auto place = [&](std::initializer_list<long> items) {
        std::vector<uikit::CellPlacement> placements;
        for (long i : items)
            placements.push_back({{0, i}, CGRectMake(0, 10.0 * i, 100, 10)});
        hosted.host.show(placements);
    };

    place({0, 1, 2});
    EXPECT_EQ(hosted.host.cells().size(), 3u);
    EXPECT_EQ(shared->superview(), hosted.view.get());
    EXPECT_EQ(shared->frame(), CGRectMake(0, 10, 100, 10)); // the last place it stands at
    hosted.source->cells.erase({0, 2});

    place({0});
    EXPECT_EQ(shared->superview(), hosted.view.get());
    EXPECT_EQ(hosted.host.reusableCellCount("tile"), 0u);
    EXPECT_TRUE(unnamed.expired());
    EXPECT_EQ(hosted.host.indexPathForCell(shared)->item(), 0);

    place({});
    EXPECT_EQ(shared->superview(), nullptr);
    EXPECT_EQ(hosted.host.reusableCellCount("tile"), 1u);
    EXPECT_EQ(hosted.host.takeReusableCell("tile"), shared);
    EXPECT_EQ(shared->prepared, 1);
    EXPECT_EQ(hosted.host.takeReusableCell("tile"), nullptr);

    // Only the host's kind of cell is registered.
    hosted.host.registerClass(HostedCell::class_(), "tile");
    EXPECT_EQ(hosted.host.registeredClass("tile"), HostedCell::class_());
    hosted.host.registerClass(UIView::class_(), "tile");
    EXPECT_EQ(hosted.host.registeredClass("tile"), nullptr);
}

TEST(CellHost, SelectionFollowsTheViewsRulesAndReachesShownCells)
{
    for (const bool multiple : {false, true}) {
        Hosted hosted;
        hosted.host.setAllowsMultipleSelection(multiple);
        const auto first = hosted.source->cells[{0, 0}] = hosted.makeCell("tile");
        hosted.host.show({{{0, 0}, CGRectMake(0, 0, 100, 10)}});

        hosted.host.select(item(0));
        hosted.host.select(item(1));
        EXPECT_EQ(hosted.host.selection(), multiple ? keys({0, 1}) : keys({1})) << multiple;
        const std::vector<bool> told = multiple ? std::vector<bool>{false, true} : std::vector<bool>{false, true, false};
        EXPECT_EQ(first->told, told);
        for (const auto& refused : {item(3), item(-1), std::shared_ptr<NSIndexPath>()})
            hosted.host.select(refused);
        EXPECT_EQ(hosted.host.selection(), multiple ? keys({0, 1}) : keys({1}));

        hosted.host.reload(); // clears the selection without telling the cells
        EXPECT_TRUE(hosted.host.selection().empty());
        EXPECT_EQ(first->told.size(), multiple ? 2u : 3u);
    }

    // A tap asks the delegate only when the view names the question.
    for (const bool asks : {true, false}) {
        Hosted hosted(asks);
        hosted.source->allowed = false;
        EXPECT_EQ(hosted.host.selectByUser(item(2)), !asks);
        EXPECT_EQ(hosted.source->selected, asks ? std::vector<long>() : std::vector<long>(1, 2));
        hosted.host.setAllowsSelection(false);
        EXPECT_FALSE(hosted.host.selectByUser(item(1)));
        hosted.host.select(item(1));
        EXPECT_EQ(hosted.host.selection(), asks ? keys({}) : keys({2}));
    }
}

TEST(CellHost, ALayoutPassDoesNotNestAndKeepsItsViewAlive)
{
    Hosted hosted;
    std::weak_ptr<UIScrollView> view = hosted.view;
    {
        const auto pass = hosted.host.startLayout();
        EXPECT_TRUE(pass);
        EXPECT_FALSE(hosted.host.startLayout());
        hosted.view.reset();
        EXPECT_FALSE(view.expired());
    }
    EXPECT_TRUE(view.expired());
}

#include "uikit/collection_view.h"
#include "uikit/flow_layout.h"
#include "uikit/index_path.h"

#include <gtest/gtest.h>

#include <vector>

using namespace objc;

namespace {

// A data source with a fixed number of items per section and no cells (layout only).
class CountingSource : public Object {
    OBJC_CLASS(CountingSource, Object)
public:
    long sections(const id&) { return static_cast<long>(counts.size()); }
    long items(const id&, long section) { return counts.at(static_cast<std::size_t>(section)); }
    std::vector<long> counts;
};

// A flow-layout delegate answering sizes per item and metrics per section.
class SizingDelegate : public Object {
    OBJC_CLASS(SizingDelegate, Object)
public:
    CGSize size(const id&, const id& layout, const std::shared_ptr<NSIndexPath>& path)
    {
        EXPECT_TRUE(std::dynamic_pointer_cast<UICollectionViewFlowLayout>(layout));
        return sizes.at(static_cast<std::size_t>(path->section())).at(static_cast<std::size_t>(path->item()));
    }
    UIEdgeInsets inset(const id&, const id&, long) { return UIEdgeInsetsMake(5, 20, 5, 20); }
    CGFloat interitem(const id&, const id&, long) { return 10; }
    CGFloat line(const id&, const id&, long) { return 4; }
    std::vector<std::vector<CGSize>> sizes;
};

} // namespace

OBJC_REGISTER(CountingSource,
    c.method<&CountingSource::sections>("numberOfSectionsInCollectionView:");
    c.method<&CountingSource::items>("collectionView:numberOfItemsInSection:");)
OBJC_REGISTER(SizingDelegate,
    c.method<&SizingDelegate::size>("collectionView:layout:sizeForItemAtIndexPath:");
    c.method<&SizingDelegate::inset>("collectionView:layout:insetForSectionAtIndex:");
    c.method<&SizingDelegate::interitem>("collectionView:layout:minimumInteritemSpacingForSectionAtIndex:");
    c.method<&SizingDelegate::line>("collectionView:layout:minimumLineSpacingForSectionAtIndex:");)

namespace {

struct FlowFixture : ::testing::Test {
    std::shared_ptr<UICollectionViewFlowLayout> layout = std::make_shared<UICollectionViewFlowLayout>();
    std::shared_ptr<CountingSource> source = std::make_shared<CountingSource>();
    std::shared_ptr<UICollectionView> view;

    void make(CGRect frame, std::vector<long> counts)
    {
        source->counts = std::move(counts);
        view = msgSend<std::shared_ptr<UICollectionView>>(objc::alloc<UICollectionView>(),
                                                          "initWithFrame:collectionViewLayout:"_sel, frame, layout);
        ASSERT_TRUE(view);
        view->setDataSource(source);
        view->layoutIfNeeded();
    }
    CGRect frameOf(long item, long section = 0)
    {
        auto attributes = view->layoutAttributesForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(item, section));
        EXPECT_TRUE(attributes.has_value()) << "item " << item << " of section " << section;
        return attributes ? attributes->frame : CGRect{};
    }
};

void expectRect(CGRect actual, CGRect expected)
{
    EXPECT_NEAR(actual.origin.x, expected.origin.x, 1e-9);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, 1e-9);
    EXPECT_NEAR(actual.size.width, expected.size.width, 1e-9);
    EXPECT_NEAR(actual.size.height, expected.size.height, 1e-9);
}

} // namespace

TEST_F(FlowFixture, DefaultsAreThePlatformOnes)
{
    EXPECT_EQ(layout->itemSize(), (CGSize{50, 50}));
    EXPECT_EQ(layout->minimumInteritemSpacing(), 10);
    EXPECT_EQ(layout->minimumLineSpacing(), 10);
    EXPECT_EQ(layout->sectionInset(), UIEdgeInsets{});
    EXPECT_EQ(layout->scrollDirection(), UICollectionViewScrollDirectionVertical);
}

TEST_F(FlowFixture, FourTilesFitAThreeHundredPointLineAndSevenTakeTwoLines)
{
    layout->setItemSize({60, 100});
    layout->setSectionInset(UIEdgeInsetsMake(10, 10, 10, 10));
    layout->setMinimumInteritemSpacing(0);
    make(CGRectMake(0, 0, 300, 400), {7});

    // The full first line is justified from the left inset to the right one.
    const CGFloat gap = 40.0 / 3;
    for (long i = 0; i < 4; ++i)
        expectRect(frameOf(i), CGRectMake(10 + i * (60 + gap), 10, 60, 100));
    EXPECT_NEAR(CGRectGetMaxX(frameOf(3)), 290, 1e-9);
    // The last line keeps the minimum spacing, from the left inset.
    for (long i = 4; i < 7; ++i)
        expectRect(frameOf(i), CGRectMake(10 + (i - 4) * 60, 10 + 100 + 10, 60, 100));
    EXPECT_EQ(view->contentSize(), (CGSize{300, 230}));
    EXPECT_FALSE(view->layoutAttributesForItemAtIndexPath(NSIndexPath::indexPathForItemInSection(7, 0)).has_value());
}

TEST_F(FlowFixture, DelegateSizesInsetsAndSpacingsShapeEachLineAndSection)
{
    auto sizing = std::make_shared<SizingDelegate>();
    sizing->sizes = {{{50, 30}, {60, 40}, {40, 20}, {100, 10}, {30, 30}}, {{70, 20}, {70, 20}}};
    // Nothing the layout holds itself is used once the delegate answers.
    layout->setItemSize({1, 1});
    layout->setSectionInset(UIEdgeInsetsMake(90, 90, 90, 90));
    make(CGRectMake(0, 0, 200, 100), {5, 2});
    view->setDelegate(sizing);
    view->reloadData();
    view->layoutIfNeeded();

    // Lines are 160 wide. Line 1: items 0 and 1, justified, 40 high, the shorter item centred.
    expectRect(frameOf(0), CGRectMake(20, 10, 50, 30));
    expectRect(frameOf(1), CGRectMake(120, 5, 60, 40));
    // Line 2 after the line spacing: items 2 and 3 justified (gap 20), 20 high.
    expectRect(frameOf(2), CGRectMake(20, 49, 40, 20));
    expectRect(frameOf(3), CGRectMake(80, 54, 100, 10));
    // Line 3: the single last item at the left inset.
    expectRect(frameOf(4), CGRectMake(20, 73, 30, 30));
    // The second section starts after the first one's bottom inset, with its own top inset;
    // its only line is its last, so it keeps the minimum spacing.
    expectRect(frameOf(0, 1), CGRectMake(20, 113, 70, 20));
    expectRect(frameOf(1, 1), CGRectMake(100, 113, 70, 20));
    EXPECT_EQ(view->contentSize(), (CGSize{200, 138}));
}

TEST_F(FlowFixture, HorizontalLayoutsFillColumnsTopToBottom)
{
    layout->setScrollDirection(UICollectionViewScrollDirectionHorizontal);
    layout->setSectionInset(UIEdgeInsetsMake(10, 10, 10, 10));
    layout->setMinimumInteritemSpacing(0);
    make(CGRectMake(0, 0, 100, 200), {7});

    // Columns hold three 50-point items in 180 points; full columns are justified.
    for (long i = 0; i < 3; ++i)
        expectRect(frameOf(i), CGRectMake(10, 10 + i * 65, 50, 50));
    for (long i = 3; i < 6; ++i)
        expectRect(frameOf(i), CGRectMake(70, 10 + (i - 3) * 65, 50, 50));
    expectRect(frameOf(6), CGRectMake(130, 10, 50, 50));
    EXPECT_EQ(view->contentSize(), (CGSize{190, 200}));
}

TEST_F(FlowFixture, ChangingTheLayoutOrTheSizeLaysOutAnew)
{
    make(CGRectMake(0, 0, 130, 300), {3});
    // 50 + 10 + 50 fit 130; the third item goes to the next line.
    expectRect(frameOf(2), CGRectMake(0, 60, 50, 50));
    view->setFrame(CGRectMake(0, 0, 170, 300));
    view->layoutIfNeeded();
    expectRect(frameOf(2), CGRectMake(120, 0, 50, 50));
    layout->setItemSize({100, 20});
    view->layoutIfNeeded();
    expectRect(frameOf(1), CGRectMake(0, 30, 100, 20));
    EXPECT_EQ(view->contentSize(), (CGSize{170, 80}));
}

TEST_F(FlowFixture, EmptySectionsTakeNoRoomAndWildAnswersAreTamed)
{
    layout->setSectionInset(UIEdgeInsetsMake(10, 0, 10, 0));
    make(CGRectMake(0, 0, 100, 100), {0, 1, -5});
    EXPECT_EQ(view->numberOfSections(), 3);
    EXPECT_EQ(view->numberOfItemsInSection(2), 0);
    EXPECT_EQ(view->numberOfItemsInSection(7), 0);
    expectRect(frameOf(0, 1), CGRectMake(0, 10, 50, 50));
    EXPECT_EQ(view->contentSize(), (CGSize{100, 70}));

    // Negative sizes count as nothing; an item wider than the view gets a line of its own.
    layout->setItemSize({-20, 30});
    view->layoutIfNeeded();
    expectRect(frameOf(0, 1), CGRectMake(0, 10, 0, 30));
    layout->setItemSize({400, 30});
    source->counts = {2};
    view->reloadData();
    view->layoutIfNeeded();
    expectRect(frameOf(0), CGRectMake(0, 10, 400, 30));
    expectRect(frameOf(1), CGRectMake(0, 50, 400, 30));
}

TEST_F(FlowFixture, WithoutADataSourceThereIsNothingToLayOut)
{
    make(CGRectMake(0, 0, 100, 100), {3});
    view->setDataSource(nullptr);
    view->reloadData();
    EXPECT_EQ(view->numberOfSections(), 0);
    view->layoutIfNeeded();
    EXPECT_EQ(view->contentSize(), (CGSize{100, 0}));
}

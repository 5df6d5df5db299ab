#include "uikit/flow_layout.h"

#include "uikit/collection_view.h"
#include "uikit/index_path.h"

#include <algorithm>
#include <cmath>

using namespace objc;

OBJC_REGISTER(UICollectionViewFlowLayout,
    c.method<&UICollectionViewFlowLayout::itemSize>("itemSize");
    c.method<&UICollectionViewFlowLayout::setItemSize>("setItemSize:");
    c.method<&UICollectionViewFlowLayout::minimumInteritemSpacing>("minimumInteritemSpacing");
    c.method<&UICollectionViewFlowLayout::setMinimumInteritemSpacing>("setMinimumInteritemSpacing:");
    c.method<&UICollectionViewFlowLayout::minimumLineSpacing>("minimumLineSpacing");
    c.method<&UICollectionViewFlowLayout::setMinimumLineSpacing>("setMinimumLineSpacing:");
    c.method<&UICollectionViewFlowLayout::sectionInset>("sectionInset");
    c.method<&UICollectionViewFlowLayout::setSectionInset>("setSectionInset:");
    c.method<&UICollectionViewFlowLayout::scrollDirection>("scrollDirection");
    c.method<&UICollectionViewFlowLayout::setScrollDirection>("setScrollDirection:");
    c.method<&UICollectionViewFlowLayout::invalidateLayout>("invalidateLayout");
    c.method<&UICollectionViewFlowLayout::prepareLayout>("prepareLayout");
    c.method<&UICollectionViewFlowLayout::collectionViewContentSize>("collectionViewContentSize");)

namespace {

// Negative, NaN or infinite answers from a delegate count as nothing.
CGFloat sane(CGFloat value) { return std::isfinite(value) && value > 0 ? value : 0.0; }

// Sizes along the two axes of a flow: "along" runs with the scroll direction (from line to
// line), "across" runs within a line.
struct Extent {
    CGFloat across = 0, along = 0;
};

// Tolerance for sums of fractional widths that fit exactly.
constexpr CGFloat kFitSlack = 1e-9;

} // namespace

struct UICollectionViewFlowLayout::SectionMetrics {
    UIEdgeInsets inset;
    CGFloat interitem = 0;
    CGFloat line = 0;
};

void UICollectionViewFlowLayout::setCollectionView(UICollectionView* view)
{
    collectionView_ = view;
    invalidateLayout();
}

UICollectionViewFlowLayout::SectionMetrics UICollectionViewFlowLayout::metricsForSection(const id& delegate,
                                                                                         const id& view, long section)
{
    SectionMetrics m{sectionInset_, minimumInteritemSpacing_, minimumLineSpacing_};
    const id layout = self();
    if (respondsToSelector(delegate.get(), "collectionView:layout:insetForSectionAtIndex:"_sel))
        m.inset = msgSend<UIEdgeInsets>(delegate, "collectionView:layout:insetForSectionAtIndex:"_sel, view, layout, section);
    if (respondsToSelector(delegate.get(), "collectionView:layout:minimumInteritemSpacingForSectionAtIndex:"_sel))
        m.interitem = msgSend<CGFloat>(delegate, "collectionView:layout:minimumInteritemSpacingForSectionAtIndex:"_sel,
                                       view, layout, section);
    if (respondsToSelector(delegate.get(), "collectionView:layout:minimumLineSpacingForSectionAtIndex:"_sel))
        m.line = msgSend<CGFloat>(delegate, "collectionView:layout:minimumLineSpacingForSectionAtIndex:"_sel, view,
                                  layout, section);
    // Insets may be negative (content drawn outside the edges); they only need to be numbers.
    for (CGFloat* side : {&m.inset.top, &m.inset.left, &m.inset.bottom, &m.inset.right})
        if (!std::isfinite(*side))
            *side = 0;
    m.interitem = sane(m.interitem);
    m.line = sane(m.line);
    return m;
}

CGSize UICollectionViewFlowLayout::sizeForItem(const id& delegate, const id& view, long section, long item)
{
    CGSize size = itemSize_;
    if (respondsToSelector(delegate.get(), "collectionView:layout:sizeForItemAtIndexPath:"_sel))
        size = msgSend<CGSize>(delegate, "collectionView:layout:sizeForItemAtIndexPath:"_sel, view, self(),
                               NSIndexPath::indexPathForItemInSection(item, section));
    return {sane(size.width), sane(size.height)};
}

void UICollectionViewFlowLayout::prepareLayout()
{
    if (!collectionView_) {
        sections_.clear();
        contentSize_ = {};
        valid_ = true;
        return;
    }
    const CGSize room = collectionView_->bounds().size;
    if (valid_ && room == preparedForSize_)
        return;
    const bool horizontal = isHorizontal();
    const id view = collectionView_->self();
    const id delegate = collectionView_->delegate();

    // Everything below is written for vertical scrolling; these swap the axes for horizontal.
    const auto extentOf = [&](CGSize s) { return horizontal ? Extent{s.height, s.width} : Extent{s.width, s.height}; };
    const auto rectAt = [&](CGFloat across, CGFloat along, Extent e) {
        return horizontal ? CGRectMake(along, across, e.along, e.across) : CGRectMake(across, along, e.across, e.along);
    };
    const CGFloat roomAcross = horizontal ? room.height : room.width;

    const long sectionCount = collectionView_->numberOfSections();
    std::vector<std::vector<UICollectionViewLayoutAttributes>> sections(static_cast<std::size_t>(sectionCount));
    CGFloat along = 0;
    for (long s = 0; s < sectionCount; ++s) {
        const long count = collectionView_->numberOfItemsInSection(s);
        if (count <= 0)
            continue;
        const SectionMetrics m = metricsForSection(delegate, view, s);
        const CGFloat startAcross = horizontal ? m.inset.top : m.inset.left;
        const CGFloat available = roomAcross - startAcross - (horizontal ? m.inset.bottom : m.inset.right);
        std::vector<Extent> extents(static_cast<std::size_t>(count));
        for (long i = 0; i < count; ++i)
            extents[static_cast<std::size_t>(i)] = extentOf(sizeForItem(delegate, view, s, i));

        auto& items = sections[static_cast<std::size_t>(s)];
        items.reserve(extents.size());
        along += horizontal ? m.inset.left : m.inset.top;
        std::size_t first = 0;
        while (first < extents.size()) {
            CGFloat used = extents[first].across, tallest = extents[first].along;
            std::size_t end = first + 1;
            while (end < extents.size() && used + m.interitem + extents[end].across <= available + kFitSlack) {
                used += m.interitem + extents[end].across;
                tallest = std::max(tallest, extents[end].along);
                ++end;
            }
            const std::size_t inLine = end - first;
            CGFloat gap = m.interitem;
            if (end < extents.size() && inLine > 1)
                gap += (available - used) / static_cast<CGFloat>(inLine - 1);
            CGFloat across = startAcross;
            for (std::size_t k = first; k < end; ++k) {
                const Extent e = extents[k];
                items.push_back({s, static_cast<long>(k), rectAt(across, along + (tallest - e.along) / 2, e)});
                across += e.across + gap;
            }
            along += tallest;
            first = end;
            if (first < extents.size())
                along += m.line;
        }
        along += horizontal ? m.inset.right : m.inset.bottom;
    }

    sections_ = std::move(sections);
    contentSize_ = horizontal ? CGSize{along, room.height} : CGSize{room.width, along};
    preparedForSize_ = room;
    valid_ = true;
}

const UICollectionViewLayoutAttributes* UICollectionViewFlowLayout::layoutAttributesForItem(long section,
                                                                                          long item) const
{
    if (section < 0 || item < 0 || static_cast<std::size_t>(section) >= sections_.size())
        return nullptr;
    const auto& items = sections_[static_cast<std::size_t>(section)];
    return static_cast<std::size_t>(item) < items.size() ? &items[static_cast<std::size_t>(item)] : nullptr;
}

std::vector<UICollectionViewLayoutAttributes> UICollectionViewFlowLayout::layoutAttributesForElementsInRect(CGRect rect) const
{
    std::vector<UICollectionViewLayoutAttributes> found;
    for (const auto& items : sections_)
        for (const auto& attributes : items)
            if (CGRectIntersectsRect(attributes.frame, rect))
                found.push_back(attributes);
    return found;
}

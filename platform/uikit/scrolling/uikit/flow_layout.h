// The flow layout of collection views: items fill lines across the scroll direction, lines
// follow one another along it, sections follow one another with their insets. Sizes, insets
// and spacings come from the collection view's delegate where it answers the flow-layout
// messages, otherwise from the layout's own values.
//
// Lines (vertical scrolling; columns for horizontal scrolling, top to bottom, are the same
// with the axes swapped): a line takes items while their widths plus the minimum spacing
// between them fit the width less the section's side insets (a first item too wide for any
// line still gets a line of its own). A line that is followed by another and holds several
// items is justified: its leftover width is shared evenly between its gaps, so it runs from
// the left inset to the right one. The last line of a section keeps the minimum spacing and
// starts at the left inset, and so does a line holding one item. A line is as high as its
// tallest item; shorter items are centred in it. Sections without items take no room.
//
// Ownership: a layout serves one collection view at a time, which it does not retain.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

#include <memory>
#include <vector>

class NSIndexPath;
class UICollectionView;

enum UICollectionViewScrollDirection : long {
    UICollectionViewScrollDirectionVertical = 0,
    UICollectionViewScrollDirectionHorizontal = 1,
};

// Where one item sits in the collection view's content.
struct UICollectionViewLayoutAttributes {
    long section = 0;
    long item = 0;
    CGRect frame{};
};

class UICollectionViewFlowLayout : public objc::Object {
    OBJC_CLASS(UICollectionViewFlowLayout, objc::Object)
public:
    CGSize itemSize() const { return itemSize_; }
    void setItemSize(CGSize size) { itemSize_ = size; invalidateLayout(); }
    CGFloat minimumInteritemSpacing() const { return minimumInteritemSpacing_; }
    void setMinimumInteritemSpacing(CGFloat spacing) { minimumInteritemSpacing_ = spacing; invalidateLayout(); }
    CGFloat minimumLineSpacing() const { return minimumLineSpacing_; }
    void setMinimumLineSpacing(CGFloat spacing) { minimumLineSpacing_ = spacing; invalidateLayout(); }
    UIEdgeInsets sectionInset() const { return sectionInset_; }
    void setSectionInset(UIEdgeInsets inset) { sectionInset_ = inset; invalidateLayout(); }
    // UICollectionViewScrollDirection; any value but horizontal (1) means vertical.
    long scrollDirection() const { return scrollDirection_; }
    void setScrollDirection(long direction) { scrollDirection_ = direction; invalidateLayout(); }
    bool isHorizontal() const { return scrollDirection_ == UICollectionViewScrollDirectionHorizontal; }

    UICollectionView* collectionView() const { return collectionView_; }
    // Set by the collection view that takes the layout (and cleared when it lets go).
    void setCollectionView(UICollectionView* view);

    // The next use computes every frame anew (the data or the delegate's answers changed).
    void invalidateLayout() { valid_ = false; }
    // Runtime selector "prepareLayout": computes every item's frame from the collection
    // view's item counts and bounds size, asking its delegate. Does nothing while the last
    // result still holds.
    virtual void prepareLayout();
    CGSize collectionViewContentSize() const { return contentSize_; }

    // nullptr for an item the layout does not have.
    const UICollectionViewLayoutAttributes* layoutAttributesForItem(long section, long item) const;
    // Every item whose frame overlaps the rectangle, in section and item order.
    std::vector<UICollectionViewLayoutAttributes> layoutAttributesForElementsInRect(CGRect rect) const;

private:
    struct SectionMetrics;
    SectionMetrics metricsForSection(const objc::id& delegate, const objc::id& view, long section);
    CGSize sizeForItem(const objc::id& delegate, const objc::id& view, long section, long item);

    CGSize itemSize_{50, 50};
    CGFloat minimumInteritemSpacing_ = 10;
    CGFloat minimumLineSpacing_ = 10;
    UIEdgeInsets sectionInset_{};
    long scrollDirection_ = UICollectionViewScrollDirectionVertical;

    UICollectionView* collectionView_ = nullptr;
    bool valid_ = false;
    CGSize preparedForSize_{};
    CGSize contentSize_{};
    std::vector<std::vector<UICollectionViewLayoutAttributes>> sections_;
};

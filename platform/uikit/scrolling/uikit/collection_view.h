// Collection views: a scroll view showing items in sections, placed by a flow layout, each
// item shown by a cell that the data source configures. Only items on screen have cells;
// cells that leave the screen or are released by reloadData are kept for reuse under their
// reuse identifier.
//
// The data source and the delegate are asked through the runtime, and only for what they
// answer:
//   data source  "numberOfSectionsInCollectionView:" (default 1),
//                "collectionView:numberOfItemsInSection:" (default 0),
//                "collectionView:cellForItemAtIndexPath:" (no answer or nil: the item shows no cell);
//   delegate     the scroll view messages, the flow layout's size, inset and spacing messages,
//                "collectionView:shouldSelectItemAtIndexPath:" (default YES) and
//                "collectionView:didSelectItemAtIndexPath:".
// The item counts are asked once per reloadData, at the next layout pass, just before the
// cells of that pass; nil data source: no sections.
//
// Ownership: the collection view owns its layout and its cells (shown and reusable); the data
// source and the delegate are not retained.
#pragma once

#include "uikit/cell_host.h"
#include "uikit/flow_layout.h"
#include "uikit/scroll_view.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSIndexPath;
class UICollectionViewCell;

class UICollectionView : public UIScrollView {
    OBJC_CLASS(UICollectionView, UIScrollView)
public:
    UICollectionView();
    ~UICollectionView() override;

    // Runtime selector "initWithFrame:collectionViewLayout:". A nil layout gets a new flow layout.
    virtual objc::id initWithFrameCollectionViewLayout(CGRect frame, std::shared_ptr<UICollectionViewFlowLayout> layout);
    // With a new flow layout.
    objc::id initWithFrame(CGRect frame) override;

    const std::shared_ptr<UICollectionViewFlowLayout>& collectionViewLayout() const { return layout_; }
    void setCollectionViewLayout(std::shared_ptr<UICollectionViewFlowLayout> layout);
    objc::id dataSource() const { return cells_.dataSource(); }
    void setDataSource(const objc::id& dataSource) { cells_.setDataSource(dataSource); }

    // --- Cells --------------------------------------------------------------------------
    // Cells for the identifier are made from the class (a UICollectionViewCell or a subclass;
    // any other class, or nil, removes the registration).
    void registerClassForCellWithReuseIdentifier(objc::Class cellClass, const std::string& identifier);
    // A cell kept for reuse under the identifier (after "prepareForReuse"), or else a new one
    // of the registered class made through the runtime: alloc, then "initWithFrame:" with the
    // item's frame. nil when nothing is registered under the identifier.
    std::shared_ptr<UICollectionViewCell> dequeueReusableCellWithReuseIdentifierForIndexPath(
        const std::string& identifier, const std::shared_ptr<NSIndexPath>& indexPath);
    // How many cells wait for reuse under the identifier.
    std::size_t reusableCellCount(const std::string& identifier) const { return cells_.reusableCellCount(identifier); }
    // The index path a shown cell stands at, or nil (no layout pass first).
    std::shared_ptr<NSIndexPath> indexPathForCell(const std::shared_ptr<UICollectionViewCell>& cell)
    {
        return cells_.indexPathForCell(cell);
    }

    // --- Data ---------------------------------------------------------------------------
    // Runtime selector "reloadData": every shown cell goes back for reuse, the selection is
    // cleared, and the next layout pass asks the data source again.
    virtual void reloadData();
    long numberOfSections();
    long numberOfItemsInSection(long section);

    // The queries below lay the view out first when something changed since the last pass.
    std::shared_ptr<UICollectionViewCell> cellForItemAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath)
    {
        return laidOut().cellAt(indexPath);
    }
    std::vector<std::shared_ptr<UICollectionViewCell>> visibleCells() { return laidOut().cells(); }
    std::vector<std::shared_ptr<NSIndexPath>> indexPathsForVisibleItems() { return laidOut().indexPaths(); }
    // The item whose frame contains the point (in content coordinates), or nil.
    std::shared_ptr<NSIndexPath> indexPathForItemAtPoint(CGPoint point);
    std::optional<UICollectionViewLayoutAttributes> layoutAttributesForItemAtIndexPath(
        const std::shared_ptr<NSIndexPath>& indexPath);

    // --- Selection ----------------------------------------------------------------------
    bool allowsSelection() const { return cells_.allowsSelection(); }
    void setAllowsSelection(bool on) { cells_.setAllowsSelection(on); }
    bool allowsMultipleSelection() const { return cells_.allowsMultipleSelection(); }
    void setAllowsMultipleSelection(bool on) { cells_.setAllowsMultipleSelection(on); }
    // Selects without telling the delegate (as the platform does for calls from code). The
    // scroll position is accepted and not used: the view does not scroll to the item.
    void selectItemAtIndexPathAnimatedScrollPosition(const std::shared_ptr<NSIndexPath>& indexPath, bool animated,
                                                     unsigned long scrollPosition);
    void deselectItemAtIndexPathAnimated(const std::shared_ptr<NSIndexPath>& indexPath, bool animated);
    std::vector<std::shared_ptr<NSIndexPath>> indexPathsForSelectedItems() const;
    // What a tap on the item does: asks "collectionView:shouldSelectItemAtIndexPath:", selects
    // the item and reports "collectionView:didSelectItemAtIndexPath:". False when selection is
    // off, the item does not exist or the delegate declined.
    bool selectItemByUser(const std::shared_ptr<NSIndexPath>& indexPath) { return cells_.selectByUser(indexPath); }

    // --- Layout and events --------------------------------------------------------------
    // Places a cell over every item that overlaps the visible bounds and retires the others.
    void layoutSubviews() override;
    // A tap that no gesture recogniser took selects the item under it.
    bool handleSimulatedTap(CGPoint pointInSelf) override;

private:
    void ensureCounts();
    void layoutCells();
    // The cells after a layout pass, when one was due.
    uikit::CellHost<UICollectionViewCell>& laidOut() { layoutCells(); return cells_; }
    // The layout's attributes of the item, or nil.
    const UICollectionViewLayoutAttributes* attributesAt(const std::shared_ptr<NSIndexPath>& indexPath) const;

    std::shared_ptr<UICollectionViewFlowLayout> layout_;
    std::optional<std::vector<long>> itemCounts_;
    uikit::CellHost<UICollectionViewCell> cells_;
};

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

#include "uikit/flow_layout.h"
#include "uikit/scroll_view.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class NSIndexPath;
class UICollectionViewCell;

class UICollectionView : public UIScrollView {
    OBJC_CLASS(UICollectionView, UIScrollView)
public:
    ~UICollectionView() override;

    // Runtime selector "initWithFrame:collectionViewLayout:". A nil layout gets a new flow layout.
    virtual objc::id initWithFrameCollectionViewLayout(CGRect frame, std::shared_ptr<UICollectionViewFlowLayout> layout);
    // With a new flow layout.
    objc::id initWithFrame(CGRect frame) override;

    const std::shared_ptr<UICollectionViewFlowLayout>& collectionViewLayout() const { return layout_; }
    void setCollectionViewLayout(std::shared_ptr<UICollectionViewFlowLayout> layout);
    objc::id dataSource() const { return dataSource_.lock(); }
    void setDataSource(const objc::id& dataSource) { dataSource_ = dataSource; }

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
    std::size_t reusableCellCount(const std::string& identifier) const;

    // --- Data ---------------------------------------------------------------------------
    // Runtime selector "reloadData": every shown cell goes back for reuse, the selection is
    // cleared, and the next layout pass asks the data source again.
    virtual void reloadData();
    long numberOfSections();
    long numberOfItemsInSection(long section);

    // The queries below lay the view out first when something changed since the last pass.
    std::shared_ptr<UICollectionViewCell> cellForItemAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath);
    std::vector<std::shared_ptr<UICollectionViewCell>> visibleCells();
    std::vector<std::shared_ptr<NSIndexPath>> indexPathsForVisibleItems();
    std::shared_ptr<NSIndexPath> indexPathForCell(const std::shared_ptr<UICollectionViewCell>& cell);
    // The item whose frame contains the point (in content coordinates), or nil.
    std::shared_ptr<NSIndexPath> indexPathForItemAtPoint(CGPoint point);
    std::optional<UICollectionViewLayoutAttributes> layoutAttributesForItemAtIndexPath(
        const std::shared_ptr<NSIndexPath>& indexPath);

    // --- Selection ----------------------------------------------------------------------
    bool allowsSelection() const { return allowsSelection_; }
    void setAllowsSelection(bool on) { allowsSelection_ = on; }
    bool allowsMultipleSelection() const { return allowsMultipleSelection_; }
    void setAllowsMultipleSelection(bool on) { allowsMultipleSelection_ = on; }
    // Selects without telling the delegate (as the platform does for calls from code). The
    // scroll position is accepted and not used: the view does not scroll to the item.
    void selectItemAtIndexPathAnimatedScrollPosition(const std::shared_ptr<NSIndexPath>& indexPath, bool animated,
                                                     unsigned long scrollPosition);
    void deselectItemAtIndexPathAnimated(const std::shared_ptr<NSIndexPath>& indexPath, bool animated);
    std::vector<std::shared_ptr<NSIndexPath>> indexPathsForSelectedItems() const;
    // What a tap on the item does: asks "collectionView:shouldSelectItemAtIndexPath:", selects
    // the item and reports "collectionView:didSelectItemAtIndexPath:". False when selection is
    // off, the item does not exist or the delegate declined.
    bool selectItemByUser(const std::shared_ptr<NSIndexPath>& indexPath);

    // --- Layout and events --------------------------------------------------------------
    // Places a cell over every item that overlaps the visible bounds and retires the others.
    void layoutSubviews() override;
    // A tap that no gesture recogniser took selects the item under it.
    bool handleSimulatedTap(CGPoint pointInSelf) override;

private:
    using ItemKey = std::pair<long, long>; // section, item

    void ensureCounts();
    void layoutCells();
    void retireCell(const ItemKey& key);
    std::shared_ptr<UICollectionViewCell> cellFromDataSource(const objc::id& dataSource, const ItemKey& key);
    void applySelection(const ItemKey& key, bool selected);
    std::optional<ItemKey> keyOf(const std::shared_ptr<NSIndexPath>& indexPath);

    std::shared_ptr<UICollectionViewFlowLayout> layout_;
    std::weak_ptr<objc::Object> dataSource_;
    std::map<std::string, objc::Class> registeredClasses_;
    std::map<std::string, std::vector<std::shared_ptr<UICollectionViewCell>>> reusableCells_;
    std::map<ItemKey, std::shared_ptr<UICollectionViewCell>> visibleCells_;
    std::set<ItemKey> selectedItems_;
    std::optional<std::vector<long>> itemCounts_;
    bool allowsSelection_ = true;
    bool allowsMultipleSelection_ = false;
    bool layingOut_ = false;
};

// WidgetSelector: the chooser of the all-widgets mode. A grid with one tile per installed
// plug-in (every "*.bundle" in the plug-ins folder, listed once when the chooser is made);
// choosing a tile loads its bundle and hands its principal class to the delegate, which shows
// it in a new widget.
//
// The chooser is its grid's data source and flow-layout delegate. Ownership: it owns its grid
// (a subview, also held as bundleView) and its name list; the delegate is not retained.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"
#include "uikit/view.h"

#include <memory>
#include <string>

class NSIndexPath;
class NSMutableArray;
class UICollectionView;
class UICollectionViewCell;
class UICollectionViewFlowLayout;
class WidgetCell;

class WidgetSelector : public UIView {
    OBJC_CLASS(WidgetSelector, UIView)
public:
    static constexpr const char* cellIdentifier = "cellIdentifier";

    // Lists the plug-ins and builds the grid; nil, with nothing built, when the view is not made.
    objc::id initWithFrame(CGRect frame) override;
    // Fits the grid to the chooser's bounds and reloads it from the same list.
    void updateView();

    objc::id delegate() const { return delegate_.lock(); }
    void setDelegate(const objc::id& delegate) { delegate_ = delegate; }
    const std::shared_ptr<NSMutableArray>& allBundleNames() const { return allBundleNames_; }
    void setAllBundleNames(std::shared_ptr<NSMutableArray> names) { allBundleNames_ = std::move(names); }
    const std::shared_ptr<UICollectionView>& bundleView() const { return bundleView_; }
    void setBundleView(std::shared_ptr<UICollectionView> view) { bundleView_ = std::move(view); }

    // Data source and flow-layout delegate of the grid.
    long collectionViewNumberOfItemsInSection(const objc::id& collectionView, long section);
    objc::id collectionViewCellForItemAtIndexPath(const objc::id& collectionView,
                                                  const std::shared_ptr<NSIndexPath>& indexPath);
    CGSize collectionViewLayoutSizeForItemAtIndexPath(const objc::id& collectionView, const objc::id& layout,
                                                      const std::shared_ptr<NSIndexPath>& indexPath);
    UIEdgeInsets collectionViewLayoutInsetForSectionAtIndex(const objc::id& collectionView, const objc::id& layout,
                                                            long section);
    CGFloat collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex(const objc::id& collectionView,
                                                                         const objc::id& layout, long section);
    void collectionViewDidSelectItemAtIndexPath(const objc::id& collectionView,
                                                const std::shared_ptr<NSIndexPath>& indexPath);

    // Action of every tile's tap recogniser: chooses the recogniser's tile.
    void selectedWidget(const objc::id& recognizer);

private:
    std::string bundleNameAt(long row) const;
    // Loads the tile's bundle, then tells the delegate its class.
    void choose(const WidgetCell& cell);

    std::weak_ptr<objc::Object> delegate_;
    std::shared_ptr<NSMutableArray> allBundleNames_;
    std::shared_ptr<UICollectionView> bundleView_;
};

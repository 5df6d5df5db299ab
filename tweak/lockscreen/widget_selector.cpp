#include "tweak/lockscreen/widget_selector.h"

#include "common/support_paths.h"
#include "foundation/ns_array.h"
#include "foundation/ns_bundle.h"
#include "foundation/ns_file_manager.h"
#include "foundation/ns_string.h"
#include "tweak/lockscreen/widget_cell.h"
#include "tweak/lockscreen/widget_selector_delegate.h"
#include "uikit/collection_view.h"
#include "uikit/flow_layout.h"
#include "uikit/image.h"
#include "uikit/image_view.h"
#include "uikit/index_path.h"
#include "uikit/label.h"
#include "uikit/tap_gesture_recognizer.h"

using namespace objc;

OBJC_REGISTER(WidgetSelector,
    c.method<&WidgetSelector::initWithFrame>("initWithFrame:");
    c.method<&WidgetSelector::updateView>("updateView");
    c.method<&WidgetSelector::delegate>("delegate");
    c.method<&WidgetSelector::setDelegate>("setDelegate:");
    c.method<&WidgetSelector::allBundleNames>("allBundleNames");
    c.method<&WidgetSelector::setAllBundleNames>("setAllBundleNames:");
    c.method<&WidgetSelector::bundleView>("bundleView");
    c.method<&WidgetSelector::setBundleView>("setBundleView:");
    c.method<&WidgetSelector::collectionViewNumberOfItemsInSection>("collectionView:numberOfItemsInSection:");
    c.method<&WidgetSelector::collectionViewCellForItemAtIndexPath>("collectionView:cellForItemAtIndexPath:");
    c.method<&WidgetSelector::collectionViewLayoutSizeForItemAtIndexPath>("collectionView:layout:sizeForItemAtIndexPath:");
    c.method<&WidgetSelector::collectionViewLayoutInsetForSectionAtIndex>("collectionView:layout:insetForSectionAtIndex:");
    c.method<&WidgetSelector::collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex>(
        "collectionView:layout:minimumInteritemSpacingForSectionAtIndex:");
    c.method<&WidgetSelector::collectionViewDidSelectItemAtIndexPath>("collectionView:didSelectItemAtIndexPath:");
    c.method<&WidgetSelector::selectedWidget>("selectedWidget:");)

namespace {

// The plug-in names: every entry of the plug-ins folder ending in ".bundle" (exactly that
// case), without the extension, in the order the folder lists them.
std::shared_ptr<NSMutableArray> installedPluginNames()
{
    auto names = NSMutableArray::array();
    const auto entries = NSFileManager::defaultManager()->contentsOfDirectoryAtPath(vantorel::PluginsFolder);
    if (!entries)
        return names;
    for (const id& entry : *entries) {
        auto name = std::dynamic_pointer_cast<NSString>(entry);
        if (name && name->hasSuffix(".bundle"))
            names->addObject(name->stringByDeletingPathExtension());
    }
    return names;
}

} // namespace

id WidgetSelector::initWithFrame(CGRect frame)
{
    id made = UIView::initWithFrame(frame);
    if (!made)
        return nullptr;
    allBundleNames_ = installedPluginNames();

    auto layout = std::make_shared<UICollectionViewFlowLayout>();
    bundleView_ = std::dynamic_pointer_cast<UICollectionView>(
        msgSend<id>(objc::alloc<UICollectionView>(), "initWithFrame:collectionViewLayout:"_sel, bounds(), layout));
    if (!bundleView_)
        return made;
    bundleView_->setDataSource(self());
    bundleView_->setDelegate(self());
    bundleView_->setBackgroundColor(UIColor::clearColor());
    bundleView_->registerClassForCellWithReuseIdentifier(WidgetCell::class_(), cellIdentifier);
    addSubview(bundleView_);
    return made;
}

void WidgetSelector::updateView()
{
    if (!bundleView_)
        return;
    bundleView_->setFrame(bounds());
    msgSend(bundleView_, "reloadData"_sel);
}

std::string WidgetSelector::bundleNameAt(long row) const
{
    if (!allBundleNames_ || row < 0)
        return {};
    const auto name = std::dynamic_pointer_cast<NSString>(allBundleNames_->objectAtIndex(static_cast<unsigned long>(row)));
    return name ? name->string() : std::string();
}

// --- Grid ---------------------------------------------------------------------------------------

long WidgetSelector::collectionViewNumberOfItemsInSection(const id&, long)
{
    return allBundleNames_ ? static_cast<long>(allBundleNames_->count()) : 0;
}

id WidgetSelector::collectionViewCellForItemAtIndexPath(const id& collectionView,
                                                        const std::shared_ptr<NSIndexPath>& indexPath)
{
    auto grid = std::dynamic_pointer_cast<UICollectionView>(collectionView);
    auto cell = grid ? std::dynamic_pointer_cast<WidgetCell>(
                           grid->dequeueReusableCellWithReuseIdentifierForIndexPath(cellIdentifier, indexPath))
                     : nullptr;
    if (!cell || !indexPath)
        return cell;
    cell->setUserInteractionEnabled(true);

    const std::string name = bundleNameAt(indexPath->item());
    cell->timeLabel()->setText(name);
    // Names come from the folder listing (one path component each); anything that could
    // still leave the plug-ins folder opens nothing.
    const bool openable = vantorel::isSafeFolderName(name);
    cell->conditionImageView()->setImage(openable ? UIImage::imageWithContentsOfFile(vantorel::pluginIconPath(name))
                                                  : nullptr);
    cell->setBundle(openable ? NSBundle::bundleWithPath(vantorel::pluginBundlePath(name)) : nullptr);
    cell->setBundleClass(cell->bundle() ? cell->bundle()->principalClass() : nullptr);

    cell->layer()->setCornerRadius(5);
    cell->setBackgroundColor(UIColor::colorWithWhiteAlpha(1, 0.1));

    // Tiles are configured again at every reload; one recogniser per tile is enough, and more
    // would choose once for each of them.
    if (!cell->chooserTap()) {
        auto tap = UITapGestureRecognizer::create(self(), "selectedWidget:"_sel);
        tap->setNumberOfTapsRequired(1);
        cell->addGestureRecognizer(tap);
        cell->setChooserTap(tap);
    }
    return cell;
}

CGSize WidgetSelector::collectionViewLayoutSizeForItemAtIndexPath(const id&, const id&,
                                                                  const std::shared_ptr<NSIndexPath>&)
{
    return CGSizeMake(60, 100);
}

UIEdgeInsets WidgetSelector::collectionViewLayoutInsetForSectionAtIndex(const id&, const id&, long)
{
    return UIEdgeInsetsMake(10, 10, 10, 10);
}

CGFloat WidgetSelector::collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex(const id&, const id&, long)
{
    return 0;
}

// --- Choosing -----------------------------------------------------------------------------------

void WidgetSelector::collectionViewDidSelectItemAtIndexPath(const id& collectionView,
                                                            const std::shared_ptr<NSIndexPath>& indexPath)
{
    auto grid = std::dynamic_pointer_cast<UICollectionView>(collectionView);
    if (auto cell = grid ? std::dynamic_pointer_cast<WidgetCell>(grid->cellForItemAtIndexPath(indexPath)) : nullptr)
        choose(*cell);
}

void WidgetSelector::selectedWidget(const id& recognizer)
{
    auto tap = std::dynamic_pointer_cast<UIGestureRecognizer>(recognizer);
    if (auto* cell = tap ? dynamic_cast<WidgetCell*>(tap->view()) : nullptr)
        choose(*cell);
}

void WidgetSelector::choose(const WidgetCell& cell)
{
    // Taken first: the delegate may reload or drop the grid and with it the tile.
    const std::shared_ptr<NSBundle> bundle = cell.bundle();
    const Class chosen = cell.bundleClass();
    msgSend<bool>(bundle, "load"_sel);
    WidgetSelectorDelegate::sendSelectedWidgetClass(delegate(), chosen);
}

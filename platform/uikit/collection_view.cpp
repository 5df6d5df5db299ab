#include "uikit/collection_view.h"

#include "uikit/collection_view_cell.h"
#include "uikit/index_path.h"

#include <algorithm>

using namespace objc;

OBJC_REGISTER(UICollectionView,
    c.method<&UICollectionView::initWithFrameCollectionViewLayout>("initWithFrame:collectionViewLayout:");
    c.method<&UICollectionView::collectionViewLayout>("collectionViewLayout");
    c.method<&UICollectionView::setCollectionViewLayout>("setCollectionViewLayout:");
    c.method<&UICollectionView::dataSource>("dataSource");
    c.method<&UICollectionView::setDataSource>("setDataSource:");
    c.method<&UICollectionView::reloadData>("reloadData");
    c.method<&UICollectionView::numberOfSections>("numberOfSections");
    c.method<&UICollectionView::numberOfItemsInSection>("numberOfItemsInSection:");
    c.method<&UICollectionView::cellForItemAtIndexPath>("cellForItemAtIndexPath:");
    c.method<&UICollectionView::indexPathForCell>("indexPathForCell:");
    c.method<&UICollectionView::indexPathForItemAtPoint>("indexPathForItemAtPoint:");
    c.method<&UICollectionView::selectItemAtIndexPathAnimatedScrollPosition>("selectItemAtIndexPath:animated:scrollPosition:");
    c.method<&UICollectionView::deselectItemAtIndexPathAnimated>("deselectItemAtIndexPath:animated:");
    c.method<&UICollectionView::allowsSelection>("allowsSelection");
    c.method<&UICollectionView::setAllowsSelection>("setAllowsSelection:");)

namespace {
// Bounds on what a data source can make the view hold, so that a wild count cannot exhaust
// memory: further sections and items are not shown.
constexpr long kMaxSections = 100'000;
constexpr long kMaxItems = 1'000'000;
} // namespace

UICollectionView::~UICollectionView()
{
    if (layout_ && layout_->collectionView() == this)
        layout_->setCollectionView(nullptr);
}

id UICollectionView::initWithFrameCollectionViewLayout(CGRect frame, std::shared_ptr<UICollectionViewFlowLayout> layout)
{
    id made = UIScrollView::initWithFrame(frame);
    if (!made)
        return nullptr;
    setCollectionViewLayout(layout ? std::move(layout) : std::make_shared<UICollectionViewFlowLayout>());
    return made;
}

id UICollectionView::initWithFrame(CGRect frame)
{
    return initWithFrameCollectionViewLayout(frame, nullptr);
}

void UICollectionView::setCollectionViewLayout(std::shared_ptr<UICollectionViewFlowLayout> layout)
{
    if (!layout)
        return; // a collection view always has a layout
    if (layout_ && layout_->collectionView() == this)
        layout_->setCollectionView(nullptr);
    layout_ = std::move(layout);
    layout_->setCollectionView(this);
    setNeedsLayout();
}

// --- Cells ------------------------------------------------------------------------------------

void UICollectionView::registerClassForCellWithReuseIdentifier(Class cellClass, const std::string& identifier)
{
    const Class cellBase = UICollectionViewCell::class_();
    if (cellClass && cellClass->isSubclassOf(cellBase))
        registeredClasses_[identifier] = cellClass;
    else
        registeredClasses_.erase(identifier);
}

std::shared_ptr<UICollectionViewCell> UICollectionView::dequeueReusableCellWithReuseIdentifierForIndexPath(
    const std::string& identifier, const std::shared_ptr<NSIndexPath>& indexPath)
{
    CGRect frame{};
    if (auto key = keyOf(indexPath))
        if (const auto* attributes = layout_ ? layout_->layoutAttributesForItem(key->first, key->second) : nullptr)
            frame = attributes->frame;

    if (auto pool = reusableCells_.find(identifier); pool != reusableCells_.end() && !pool->second.empty()) {
        std::shared_ptr<UICollectionViewCell> cell = std::move(pool->second.back());
        pool->second.pop_back();
        msgSend(cell, "prepareForReuse"_sel);
        cell->setFrame(frame);
        return cell;
    }
    const auto registered = registeredClasses_.find(identifier);
    if (registered == registeredClasses_.end())
        return nullptr;
    id instance = registered->second->createInstance();
    if (!instance)
        return nullptr;
    auto cell = std::dynamic_pointer_cast<UICollectionViewCell>(msgSend<id>(instance, "initWithFrame:"_sel, frame));
    if (cell)
        cell->setReuseIdentifier(identifier);
    return cell;
}

std::size_t UICollectionView::reusableCellCount(const std::string& identifier) const
{
    const auto pool = reusableCells_.find(identifier);
    return pool == reusableCells_.end() ? 0 : pool->second.size();
}

void UICollectionView::retireCell(const ItemKey& key)
{
    const auto found = visibleCells_.find(key);
    if (found == visibleCells_.end())
        return;
    std::shared_ptr<UICollectionViewCell> cell = std::move(found->second);
    visibleCells_.erase(found);
    if (!cell)
        return;
    // A data source may hand out one cell for several items; it stays while any of them shows.
    for (const auto& [other, shown] : visibleCells_)
        if (shown == cell)
            return;
    cell->removeFromSuperview();
    // Cells that did not come from dequeueing have no identifier and are simply released.
    if (cell->reuseIdentifier().empty())
        return;
    auto& pool = reusableCells_[cell->reuseIdentifier()];
    if (std::find(pool.begin(), pool.end(), cell) == pool.end())
        pool.push_back(std::move(cell));
}

// --- Data -------------------------------------------------------------------------------------

void UICollectionView::reloadData()
{
    std::vector<ItemKey> shown;
    for (const auto& entry : visibleCells_)
        shown.push_back(entry.first);
    for (const auto& key : shown)
        retireCell(key);
    selectedItems_.clear();
    itemCounts_.reset();
    if (layout_)
        layout_->invalidateLayout();
    setNeedsLayout();
}

void UICollectionView::ensureCounts()
{
    if (itemCounts_)
        return;
    itemCounts_.emplace();
    const id source = dataSource_.lock();
    if (!source)
        return;
    const id me = self();
    long sections = 1;
    if (respondsToSelector(source.get(), "numberOfSectionsInCollectionView:"_sel))
        sections = std::clamp(msgSend<long>(source, "numberOfSectionsInCollectionView:"_sel, me), 0L, kMaxSections);
    const bool answersItems = respondsToSelector(source.get(), "collectionView:numberOfItemsInSection:"_sel);
    long budget = kMaxItems;
    std::vector<long> counts;
    for (long s = 0; s < sections; ++s) {
        long count = answersItems ? msgSend<long>(source, "collectionView:numberOfItemsInSection:"_sel, me, s) : 0;
        count = std::clamp(count, 0L, budget);
        budget -= count;
        counts.push_back(count);
    }
    itemCounts_ = std::move(counts);
}

long UICollectionView::numberOfSections()
{
    ensureCounts();
    return static_cast<long>(itemCounts_->size());
}

long UICollectionView::numberOfItemsInSection(long section)
{
    ensureCounts();
    if (section < 0 || static_cast<std::size_t>(section) >= itemCounts_->size())
        return 0;
    return (*itemCounts_)[static_cast<std::size_t>(section)];
}

std::optional<UICollectionView::ItemKey> UICollectionView::keyOf(const std::shared_ptr<NSIndexPath>& indexPath)
{
    if (!indexPath)
        return std::nullopt;
    return ItemKey{indexPath->section(), indexPath->item()};
}

// --- Layout -----------------------------------------------------------------------------------

void UICollectionView::layoutSubviews()
{
    UIScrollView::layoutSubviews();
    layoutCells();
}

std::shared_ptr<UICollectionViewCell> UICollectionView::cellFromDataSource(const id& source, const ItemKey& key)
{
    if (!respondsToSelector(source.get(), "collectionView:cellForItemAtIndexPath:"_sel))
        return nullptr;
    const id answer = msgSend<id>(source, "collectionView:cellForItemAtIndexPath:"_sel, self(),
                                  NSIndexPath::indexPathForItemInSection(key.second, key.first));
    return std::dynamic_pointer_cast<UICollectionViewCell>(answer);
}

void UICollectionView::layoutCells()
{
    if (layingOut_ || !layout_)
        return;
    layingOut_ = true;
    // Keeps the view alive should a data source drop the last reference meanwhile.
    const id keepAlive = weak_from_this().lock();
    ensureCounts();
    msgSend(layout_, "prepareLayout"_sel);
    setContentSize(layout_->collectionViewContentSize());

    const std::vector<UICollectionViewLayoutAttributes> wanted =
        layout_->layoutAttributesForElementsInRect(CGRect{contentOffset(), bounds().size});
    std::set<ItemKey> wantedKeys;
    for (const auto& attributes : wanted)
        wantedKeys.insert({attributes.section, attributes.item});
    std::vector<ItemKey> leaving;
    for (const auto& entry : visibleCells_)
        if (!wantedKeys.count(entry.first))
            leaving.push_back(entry.first);
    for (const auto& key : leaving)
        retireCell(key);

    const id source = dataSource_.lock();
    for (const auto& attributes : wanted) {
        const ItemKey key{attributes.section, attributes.item};
        std::shared_ptr<UICollectionViewCell> cell;
        if (auto shown = visibleCells_.find(key); shown != visibleCells_.end()) {
            cell = shown->second;
        } else {
            cell = source ? cellFromDataSource(source, key) : nullptr;
            if (!cell)
                continue;
            visibleCells_[key] = cell;
            cell->setSelected(selectedItems_.count(key) > 0);
        }
        cell->setFrame(attributes.frame);
        if (cell->superview() != this)
            addSubview(cell);
    }
    layingOut_ = false;
}

std::shared_ptr<UICollectionViewCell> UICollectionView::cellForItemAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath)
{
    layoutCells();
    const auto key = keyOf(indexPath);
    if (!key)
        return nullptr;
    const auto found = visibleCells_.find(*key);
    return found == visibleCells_.end() ? nullptr : found->second;
}

std::vector<std::shared_ptr<UICollectionViewCell>> UICollectionView::visibleCells()
{
    layoutCells();
    std::vector<std::shared_ptr<UICollectionViewCell>> cells;
    for (const auto& entry : visibleCells_)
        cells.push_back(entry.second);
    return cells;
}

std::vector<std::shared_ptr<NSIndexPath>> UICollectionView::indexPathsForVisibleItems()
{
    layoutCells();
    std::vector<std::shared_ptr<NSIndexPath>> paths;
    for (const auto& entry : visibleCells_)
        paths.push_back(NSIndexPath::indexPathForItemInSection(entry.first.second, entry.first.first));
    return paths;
}

std::shared_ptr<NSIndexPath> UICollectionView::indexPathForCell(const std::shared_ptr<UICollectionViewCell>& cell)
{
    if (!cell)
        return nullptr;
    for (const auto& [key, shown] : visibleCells_)
        if (shown == cell)
            return NSIndexPath::indexPathForItemInSection(key.second, key.first);
    return nullptr;
}

std::shared_ptr<NSIndexPath> UICollectionView::indexPathForItemAtPoint(CGPoint point)
{
    layoutCells();
    for (const auto& attributes : layout_->layoutAttributesForElementsInRect(CGRectMake(point.x, point.y, 1e-6, 1e-6)))
        if (CGRectContainsPoint(attributes.frame, point))
            return NSIndexPath::indexPathForItemInSection(attributes.item, attributes.section);
    return nullptr;
}

std::optional<UICollectionViewLayoutAttributes> UICollectionView::layoutAttributesForItemAtIndexPath(
    const std::shared_ptr<NSIndexPath>& indexPath)
{
    layoutCells();
    const auto key = keyOf(indexPath);
    const auto* attributes = key && layout_ ? layout_->layoutAttributesForItem(key->first, key->second) : nullptr;
    if (!attributes)
        return std::nullopt;
    return *attributes;
}

// --- Selection --------------------------------------------------------------------------------

void UICollectionView::applySelection(const ItemKey& key, bool selected)
{
    if (selected)
        selectedItems_.insert(key);
    else
        selectedItems_.erase(key);
    if (auto shown = visibleCells_.find(key); shown != visibleCells_.end())
        msgSend(shown->second, "setSelected:"_sel, selected);
}

void UICollectionView::selectItemAtIndexPathAnimatedScrollPosition(const std::shared_ptr<NSIndexPath>& indexPath,
                                                                   bool animated, unsigned long scrollPosition)
{
    const auto key = keyOf(indexPath);
    if (!key || !allowsSelection_ || key->second < 0 || key->second >= numberOfItemsInSection(key->first))
        return;
    if (!allowsMultipleSelection_) {
        const std::set<ItemKey> previous = selectedItems_;
        for (const auto& other : previous)
            if (other != *key)
                applySelection(other, false);
    }
    applySelection(*key, true);
}

void UICollectionView::deselectItemAtIndexPathAnimated(const std::shared_ptr<NSIndexPath>& indexPath, bool animated)
{
    if (const auto key = keyOf(indexPath))
        applySelection(*key, false);
}

std::vector<std::shared_ptr<NSIndexPath>> UICollectionView::indexPathsForSelectedItems() const
{
    std::vector<std::shared_ptr<NSIndexPath>> paths;
    for (const auto& key : selectedItems_)
        paths.push_back(NSIndexPath::indexPathForItemInSection(key.second, key.first));
    return paths;
}

bool UICollectionView::selectItemByUser(const std::shared_ptr<NSIndexPath>& indexPath)
{
    const auto key = keyOf(indexPath);
    if (!key || !allowsSelection_ || key->second < 0 || key->second >= numberOfItemsInSection(key->first))
        return false;
    const id me = self();
    const id target = delegate();
    if (respondsToSelector(target.get(), "collectionView:shouldSelectItemAtIndexPath:"_sel) &&
        !msgSend<bool>(target, "collectionView:shouldSelectItemAtIndexPath:"_sel, me, indexPath))
        return false;
    selectItemAtIndexPathAnimatedScrollPosition(indexPath, false, 0);
    msgSendIfResponds(target, "collectionView:didSelectItemAtIndexPath:"_sel, me, indexPath);
    return true;
}

bool UICollectionView::handleSimulatedTap(CGPoint pointInSelf)
{
    const auto indexPath = indexPathForItemAtPoint(pointInSelf);
    return indexPath && selectItemByUser(indexPath);
}

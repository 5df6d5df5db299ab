#include "uikit/cell_host.h"

#include "uikit/collection_view_cell.h"
#include "uikit/index_path.h"
#include "uikit/scroll_view.h"
#include "uikit/table_view_cell.h"

#include <algorithm>

using namespace objc;

namespace uikit {

namespace {
// Bounds on what a data source can make a view hold: further sections and items are not shown.
constexpr long kMaxSections = 100'000;
constexpr long kMaxItems = 1'000'000;
} // namespace

template <class Cell>
CellHost<Cell>::CellHost(UIScrollView& view, const CellMessages& messages, ItemCount itemsInSection)
    : view_(view), messages_(messages), itemsInSection_(std::move(itemsInSection))
{
}

template <class Cell>
std::optional<CellKey> CellHost<Cell>::keyOf(const std::shared_ptr<NSIndexPath>& indexPath)
{
    if (!indexPath)
        return std::nullopt;
    return CellKey{indexPath->section(), indexPath->row()};
}

template <class Cell>
std::shared_ptr<NSIndexPath> CellHost<Cell>::indexPathOf(const CellKey& key)
{
    return NSIndexPath::indexPathForRowInSection(key.second, key.first);
}

// --- Data source ------------------------------------------------------------------------------

template <class Cell>
std::vector<long> CellHost<Cell>::askItemCounts() const
{
    const id source = dataSource_.lock();
    if (!source)
        return {};
    const id me = view_.self();
    long sections = 1;
    if (respondsToSelector(source.get(), messages_.numberOfSections))
        sections = std::clamp(msgSend<long>(source, messages_.numberOfSections, me), 0L, kMaxSections);
    const bool answersItems = respondsToSelector(source.get(), messages_.numberOfItems);
    long budget = kMaxItems;
    std::vector<long> counts;
    for (long s = 0; s < sections; ++s) {
        long count = answersItems ? msgSend<long>(source, messages_.numberOfItems, me, s) : 0;
        count = std::clamp(count, 0L, budget);
        budget -= count;
        counts.push_back(count);
    }
    return counts;
}

// --- Reuse ------------------------------------------------------------------------------------

template <class Cell>
void CellHost<Cell>::registerClass(Class cellClass, const std::string& identifier)
{
    if (cellClass && cellClass->isSubclassOf(Cell::class_()))
        registeredClasses_[identifier] = cellClass;
    else
        registeredClasses_.erase(identifier);
}

template <class Cell>
Class CellHost<Cell>::registeredClass(const std::string& identifier) const
{
    const auto registered = registeredClasses_.find(identifier);
    return registered == registeredClasses_.end() ? nullptr : registered->second;
}

template <class Cell>
std::shared_ptr<Cell> CellHost<Cell>::takeReusableCell(const std::string& identifier)
{
    const auto pool = reusableCells_.find(identifier);
    if (pool == reusableCells_.end() || pool->second.empty())
        return nullptr;
    std::shared_ptr<Cell> cell = std::move(pool->second.back());
    pool->second.pop_back();
    msgSend(cell, "prepareForReuse"_sel);
    return cell;
}

template <class Cell>
std::size_t CellHost<Cell>::reusableCellCount(const std::string& identifier) const
{
    const auto pool = reusableCells_.find(identifier);
    return pool == reusableCells_.end() ? 0 : pool->second.size();
}

template <class Cell>
void CellHost<Cell>::retire(const CellKey& key)
{
    const auto found = shownCells_.find(key);
    if (found == shownCells_.end())
        return;
    std::shared_ptr<Cell> cell = std::move(found->second);
    shownCells_.erase(found);
    if (!cell)
        return;
    // A data source may hand out one cell for several items; it stays while any of them shows.
    for (const auto& [other, shown] : shownCells_)
        if (shown == cell)
            return;
    cell->removeFromSuperview();
    // Cells made without a reuse identifier are simply released.
    if (cell->reuseIdentifier().empty())
        return;
    auto& pool = reusableCells_[cell->reuseIdentifier()];
    if (std::find(pool.begin(), pool.end(), cell) == pool.end())
        pool.push_back(std::move(cell));
}

// --- Shown cells ------------------------------------------------------------------------------

template <class Cell>
std::shared_ptr<Cell> CellHost<Cell>::cellAt(const std::shared_ptr<NSIndexPath>& indexPath) const
{
    const auto key = keyOf(indexPath);
    if (!key)
        return nullptr;
    const auto found = shownCells_.find(*key);
    return found == shownCells_.end() ? nullptr : found->second;
}

template <class Cell>
std::vector<std::shared_ptr<Cell>> CellHost<Cell>::cells() const
{
    std::vector<std::shared_ptr<Cell>> cells;
    for (const auto& entry : shownCells_)
        cells.push_back(entry.second);
    return cells;
}

template <class Cell>
std::vector<std::shared_ptr<NSIndexPath>> CellHost<Cell>::indexPaths() const
{
    std::vector<std::shared_ptr<NSIndexPath>> paths;
    for (const auto& entry : shownCells_)
        paths.push_back(indexPathOf(entry.first));
    return paths;
}

template <class Cell>
std::shared_ptr<NSIndexPath> CellHost<Cell>::indexPathForCell(const std::shared_ptr<Cell>& cell) const
{
    if (!cell)
        return nullptr;
    for (const auto& [key, shown] : shownCells_)
        if (shown == cell)
            return indexPathOf(key);
    return nullptr;
}

template <class Cell>
void CellHost<Cell>::reload()
{
    std::vector<CellKey> shown;
    for (const auto& entry : shownCells_)
        shown.push_back(entry.first);
    for (const auto& key : shown)
        retire(key);
    selection_.clear();
}

template <class Cell>
void CellHost<Cell>::shiftItems(long section, long first, long delta)
{
    const auto moved = [&](const CellKey& key) { return key.first == section && key.second >= first; };
    // Keys are taken out and put back in an order in which no key meets one not yet moved.
    std::vector<typename std::map<CellKey, std::shared_ptr<Cell>>::node_type> cells;
    for (auto it = shownCells_.lower_bound({section, first}); it != shownCells_.end() && moved(it->first);)
        cells.push_back(shownCells_.extract(it++));
    for (auto& node : cells) {
        node.key().second += delta;
        shownCells_.insert(std::move(node));
    }
    std::vector<CellKey> selected;
    for (auto it = selection_.lower_bound({section, first}); it != selection_.end() && moved(*it);)
        selected.push_back(selection_.extract(it++).value());
    for (auto key : selected) {
        key.second += delta;
        selection_.insert(key);
    }
}

template <class Cell>
void CellHost<Cell>::insertItem(const CellKey& key)
{
    shiftItems(key.first, key.second, +1);
}

template <class Cell>
void CellHost<Cell>::deleteItem(const CellKey& key)
{
    retire(key);
    selection_.erase(key);
    shiftItems(key.first, key.second + 1, -1);
}

// --- Layout -----------------------------------------------------------------------------------

template <class Cell>
CellHost<Cell>::LayoutPass::LayoutPass(CellHost& host)
{
    if (host.layingOut_)
        return;
    host_ = &host;
    host.layingOut_ = true;
    keepAlive_ = host.view_.weak_from_this().lock();
}

template <class Cell>
CellHost<Cell>::LayoutPass::~LayoutPass()
{
    // Before keepAlive_ goes: it may hold the last reference to the host's view.
    if (host_)
        host_->layingOut_ = false;
}

template <class Cell>
std::shared_ptr<Cell> CellHost<Cell>::cellFromDataSource(const id& source, const CellKey& key)
{
    if (!respondsToSelector(source.get(), messages_.cellForItem))
        return nullptr;
    const id answer = msgSend<id>(source, messages_.cellForItem, view_.self(), indexPathOf(key));
    return std::dynamic_pointer_cast<Cell>(answer);
}

template <class Cell>
void CellHost<Cell>::show(const std::vector<CellPlacement>& placements)
{
    // Most passes place the items already shown, in order: then no cell leaves.
    const bool sameItems = placements.size() == shownCells_.size() &&
                           std::equal(placements.begin(), placements.end(), shownCells_.begin(),
                                      [](const CellPlacement& p, const auto& shown) { return p.key == shown.first; });
    if (!sameItems) {
        std::set<CellKey> wanted;
        for (const auto& placement : placements)
            wanted.insert(placement.key);
        std::vector<CellKey> leaving;
        for (const auto& entry : shownCells_)
            if (!wanted.count(entry.first))
                leaving.push_back(entry.first);
        for (const auto& key : leaving)
            retire(key);
    }

    id source;
    bool sourceAsked = false;
    for (const auto& [key, frame] : placements) {
        std::shared_ptr<Cell> cell;
        if (auto shown = shownCells_.find(key); shown != shownCells_.end()) {
            cell = shown->second;
        } else {
            if (!sourceAsked) {
                source = dataSource_.lock();
                sourceAsked = true;
            }
            cell = source ? cellFromDataSource(source, key) : nullptr;
            if (!cell)
                continue;
            shownCells_[key] = cell;
            cell->setSelected(selection_.count(key) > 0);
        }
        cell->setFrame(frame);
        if (cell->superview() != &view_)
            view_.addSubview(cell);
    }
}

// --- Selection --------------------------------------------------------------------------------

template <class Cell>
std::optional<CellKey> CellHost<Cell>::selectableKey(const std::shared_ptr<NSIndexPath>& indexPath) const
{
    const auto key = keyOf(indexPath);
    if (!key || !allowsSelection_ || key->second < 0 || key->second >= itemsInSection_(key->first))
        return std::nullopt;
    return key;
}

template <class Cell>
void CellHost<Cell>::applySelection(const CellKey& key, bool selected)
{
    if (selected)
        selection_.insert(key);
    else
        selection_.erase(key);
    if (auto shown = shownCells_.find(key); shown != shownCells_.end())
        msgSend(shown->second, "setSelected:"_sel, selected);
}

template <class Cell>
void CellHost<Cell>::select(const std::shared_ptr<NSIndexPath>& indexPath)
{
    const auto key = selectableKey(indexPath);
    if (!key)
        return;
    if (!allowsMultipleSelection_) {
        const std::set<CellKey> previous = selection_;
        for (const auto& other : previous)
            if (other != *key)
                applySelection(other, false);
    }
    applySelection(*key, true);
}

template <class Cell>
void CellHost<Cell>::deselect(const std::shared_ptr<NSIndexPath>& indexPath)
{
    if (const auto key = keyOf(indexPath))
        applySelection(*key, false);
}

template <class Cell>
bool CellHost<Cell>::selectByUser(const std::shared_ptr<NSIndexPath>& indexPath)
{
    if (!selectableKey(indexPath))
        return false;
    const id me = view_.self();
    const id target = view_.delegate();
    if (messages_.shouldSelect && respondsToSelector(target.get(), messages_.shouldSelect) &&
        !msgSend<bool>(target, messages_.shouldSelect, me, indexPath))
        return false;
    select(indexPath);
    msgSendIfResponds(target, messages_.didSelect, me, indexPath);
    return true;
}

template class CellHost<UITableViewCell>;
template class CellHost<UICollectionViewCell>;

} // namespace uikit

#include "uikit/table_view.h"

#include "uikit/index_path.h"
#include "uikit/table_view_cell.h"

#include <algorithm>
#include <cmath>

using namespace objc;

OBJC_REGISTER(UITableView,
    c.method<&UITableView::initWithFrameStyle>("initWithFrame:style:");
    c.method<&UITableView::style>("style");
    c.method<&UITableView::dataSource>("dataSource");
    c.method<&UITableView::setDataSource>("setDataSource:");
    c.method<&UITableView::rowHeight>("rowHeight");
    c.method<&UITableView::setRowHeight>("setRowHeight:");
    c.method<&UITableView::reloadData>("reloadData");
    c.method<&UITableView::numberOfSections>("numberOfSections");
    c.method<&UITableView::numberOfRowsInSection>("numberOfRowsInSection:");
    c.method<&UITableView::rectForRowAtIndexPath>("rectForRowAtIndexPath:");
    c.method<&UITableView::cellForRowAtIndexPath>("cellForRowAtIndexPath:");
    c.method<&UITableView::indexPathForCell>("indexPathForCell:");
    c.method<&UITableView::indexPathForRowAtPoint>("indexPathForRowAtPoint:");
    c.method<&UITableView::indexPathForSelectedRow>("indexPathForSelectedRow");
    c.method<&UITableView::selectRowAtIndexPathAnimatedScrollPosition>("selectRowAtIndexPath:animated:scrollPosition:");
    c.method<&UITableView::deselectRowAtIndexPathAnimated>("deselectRowAtIndexPath:animated:");
    c.method<&UITableView::allowsSelection>("allowsSelection");
    c.method<&UITableView::setAllowsSelection>("setAllowsSelection:");)

namespace {
// Bounds on what a data source can make the table hold, so that a wild count cannot exhaust
// memory: further sections and rows are not shown.
constexpr long kMaxSections = 100'000;
constexpr long kMaxRows = 1'000'000;

CGFloat sane(CGFloat value) { return std::isfinite(value) && value > 0 ? value : 0.0; }
} // namespace

id UITableView::initWithFrameStyle(CGRect frame, long style)
{
    id made = UIScrollView::initWithFrame(frame);
    if (!made)
        return nullptr;
    style_ = style == UITableViewStyleGrouped ? UITableViewStyleGrouped : UITableViewStylePlain;
    setAlwaysBounceVertical(true);
    return made;
}

id UITableView::initWithFrame(CGRect frame) { return initWithFrameStyle(frame, UITableViewStylePlain); }

void UITableView::setRowHeight(CGFloat height)
{
    rowHeight_ = sane(height);
    geometry_.reset();
    setNeedsLayout();
}

// --- Cells ------------------------------------------------------------------------------------

void UITableView::registerClassForCellReuseIdentifier(Class cellClass, const std::string& identifier)
{
    if (cellClass && cellClass->isSubclassOf(UITableViewCell::class_()))
        registeredClasses_[identifier] = cellClass;
    else
        registeredClasses_.erase(identifier);
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    if (auto pool = reusableCells_.find(identifier); pool != reusableCells_.end() && !pool->second.empty()) {
        std::shared_ptr<UITableViewCell> cell = std::move(pool->second.back());
        pool->second.pop_back();
        msgSend(cell, "prepareForReuse"_sel);
        return cell;
    }
    const auto registered = registeredClasses_.find(identifier);
    if (registered == registeredClasses_.end())
        return nullptr;
    return UITableViewCell::create(registered->second, UITableViewCellStyleDefault, identifier);
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCellWithIdentifierForIndexPath(
    const std::string& identifier, const std::shared_ptr<NSIndexPath>& indexPath)
{
    auto cell = dequeueReusableCellWithIdentifier(identifier);
    if (const auto key = keyOf(indexPath); cell && key)
        cell->setFrame(rectFor(*key));
    return cell;
}

std::size_t UITableView::reusableCellCount(const std::string& identifier) const
{
    const auto pool = reusableCells_.find(identifier);
    return pool == reusableCells_.end() ? 0 : pool->second.size();
}

void UITableView::retireCell(const RowKey& key)
{
    const auto found = visibleCells_.find(key);
    if (found == visibleCells_.end())
        return;
    std::shared_ptr<UITableViewCell> cell = std::move(found->second);
    visibleCells_.erase(found);
    if (!cell)
        return;
    // A data source may hand out one cell for several rows; it stays while any of them shows.
    for (const auto& [other, shown] : visibleCells_)
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

// --- Data -------------------------------------------------------------------------------------

void UITableView::reloadData()
{
    std::vector<RowKey> shown;
    for (const auto& entry : visibleCells_)
        shown.push_back(entry.first);
    for (const auto& key : shown)
        retireCell(key);
    selectedRow_.reset();
    geometry_.reset();
    setNeedsLayout();
}

const UITableView::Geometry& UITableView::geometry()
{
    if (geometry_)
        return *geometry_;
    geometry_.emplace();
    const id me = self();
    const id source = dataSource_.lock();
    long sections = source ? 1 : 0;
    if (respondsToSelector(source.get(), "numberOfSectionsInTableView:"_sel))
        sections = std::clamp(msgSend<long>(source, "numberOfSectionsInTableView:"_sel, me), 0L, kMaxSections);
    const bool answersRows = respondsToSelector(source.get(), "tableView:numberOfRowsInSection:"_sel);
    long budget = kMaxRows;
    std::vector<long> counts;
    for (long s = 0; s < sections; ++s) {
        long count = answersRows ? msgSend<long>(source, "tableView:numberOfRowsInSection:"_sel, me, s) : 0;
        count = std::clamp(count, 0L, budget);
        budget -= count;
        counts.push_back(count);
    }

    const id target = delegate();
    const bool answersHeights = respondsToSelector(target.get(), "tableView:heightForRowAtIndexPath:"_sel);
    Geometry built;
    for (long s = 0; s < static_cast<long>(counts.size()); ++s) {
        auto& rows = built.rows.emplace_back();
        rows.reserve(static_cast<std::size_t>(counts[static_cast<std::size_t>(s)]));
        for (long r = 0; r < counts[static_cast<std::size_t>(s)]; ++r) {
            const CGFloat height =
                answersHeights ? sane(msgSend<CGFloat>(target, "tableView:heightForRowAtIndexPath:"_sel, me,
                                                       NSIndexPath::indexPathForRowInSection(r, s)))
                               : rowHeight_;
            rows.emplace_back(built.height, height);
            built.height += height;
        }
    }
    // A delegate may have reloaded the table while answering; the last answers win.
    geometry_ = std::move(built);
    return *geometry_;
}

long UITableView::numberOfSections() { return static_cast<long>(geometry().rows.size()); }

long UITableView::numberOfRowsInSection(long section)
{
    const auto& rows = geometry().rows;
    if (section < 0 || static_cast<std::size_t>(section) >= rows.size())
        return 0;
    return static_cast<long>(rows[static_cast<std::size_t>(section)].size());
}

std::optional<UITableView::RowKey> UITableView::keyOf(const std::shared_ptr<NSIndexPath>& indexPath) const
{
    if (!indexPath)
        return std::nullopt;
    return RowKey{indexPath->section(), indexPath->row()};
}

CGRect UITableView::rectFor(const RowKey& key)
{
    const auto& rows = geometry().rows;
    if (key.first < 0 || key.second < 0 || static_cast<std::size_t>(key.first) >= rows.size())
        return CGRectZero;
    const auto& section = rows[static_cast<std::size_t>(key.first)];
    if (static_cast<std::size_t>(key.second) >= section.size())
        return CGRectZero;
    const auto [top, height] = section[static_cast<std::size_t>(key.second)];
    return CGRectMake(0, top, bounds().size.width, height);
}

CGRect UITableView::rectForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath)
{
    const auto key = keyOf(indexPath);
    return key ? rectFor(*key) : CGRectZero;
}

// --- Layout -----------------------------------------------------------------------------------

void UITableView::layoutSubviews()
{
    UIScrollView::layoutSubviews();
    layoutCells();
}

std::shared_ptr<UITableViewCell> UITableView::cellFromDataSource(const id& source, const RowKey& key)
{
    if (!respondsToSelector(source.get(), "tableView:cellForRowAtIndexPath:"_sel))
        return nullptr;
    const id answer = msgSend<id>(source, "tableView:cellForRowAtIndexPath:"_sel, self(),
                                  NSIndexPath::indexPathForRowInSection(key.second, key.first));
    return std::dynamic_pointer_cast<UITableViewCell>(answer);
}

void UITableView::layoutCells()
{
    if (layingOut_)
        return;
    layingOut_ = true;
    // Keeps the table alive should a data source drop the last reference meanwhile.
    const id keepAlive = weak_from_this().lock();
    const Geometry& rows = geometry();
    setContentSize({bounds().size.width, rows.height});

    const CGRect visible{contentOffset(), bounds().size};
    std::vector<std::pair<RowKey, CGRect>> wanted;
    for (long s = 0; s < static_cast<long>(rows.rows.size()); ++s) {
        const auto& section = rows.rows[static_cast<std::size_t>(s)];
        for (long r = 0; r < static_cast<long>(section.size()); ++r) {
            const auto [top, height] = section[static_cast<std::size_t>(r)];
            const CGRect rect = CGRectMake(0, top, bounds().size.width, height);
            if (CGRectIntersectsRect(rect, visible))
                wanted.push_back({{s, r}, rect});
        }
    }
    std::set<RowKey> wantedKeys;
    for (const auto& entry : wanted)
        wantedKeys.insert(entry.first);
    std::vector<RowKey> leaving;
    for (const auto& entry : visibleCells_)
        if (!wantedKeys.count(entry.first))
            leaving.push_back(entry.first);
    for (const auto& key : leaving)
        retireCell(key);

    const id source = dataSource_.lock();
    for (const auto& [key, rect] : wanted) {
        std::shared_ptr<UITableViewCell> cell;
        if (auto shown = visibleCells_.find(key); shown != visibleCells_.end()) {
            cell = shown->second;
        } else {
            cell = source ? cellFromDataSource(source, key) : nullptr;
            if (!cell)
                continue;
            visibleCells_[key] = cell;
            cell->setSelected(selectedRow_ == key);
        }
        cell->setFrame(rect);
        if (cell->superview() != this)
            addSubview(cell);
    }
    layingOut_ = false;
}

std::shared_ptr<UITableViewCell> UITableView::cellForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath)
{
    layoutCells();
    const auto key = keyOf(indexPath);
    if (!key)
        return nullptr;
    const auto found = visibleCells_.find(*key);
    return found == visibleCells_.end() ? nullptr : found->second;
}

std::vector<std::shared_ptr<UITableViewCell>> UITableView::visibleCells()
{
    layoutCells();
    std::vector<std::shared_ptr<UITableViewCell>> cells;
    for (const auto& entry : visibleCells_)
        cells.push_back(entry.second);
    return cells;
}

std::vector<std::shared_ptr<NSIndexPath>> UITableView::indexPathsForVisibleRows()
{
    layoutCells();
    std::vector<std::shared_ptr<NSIndexPath>> paths;
    for (const auto& entry : visibleCells_)
        paths.push_back(NSIndexPath::indexPathForRowInSection(entry.first.second, entry.first.first));
    return paths;
}

std::shared_ptr<NSIndexPath> UITableView::indexPathForCell(const std::shared_ptr<UITableViewCell>& cell)
{
    if (!cell)
        return nullptr;
    for (const auto& [key, shown] : visibleCells_)
        if (shown == cell)
            return NSIndexPath::indexPathForRowInSection(key.second, key.first);
    return nullptr;
}

std::shared_ptr<NSIndexPath> UITableView::indexPathForRowAtPoint(CGPoint point)
{
    if (point.x < 0 || point.x >= bounds().size.width)
        return nullptr;
    const auto& rows = geometry().rows;
    for (long s = 0; s < static_cast<long>(rows.size()); ++s) {
        const auto& section = rows[static_cast<std::size_t>(s)];
        // Rows are sorted by their tops: the last row starting at or above the point.
        const auto after = std::upper_bound(section.begin(), section.end(), point.y,
                                            [](CGFloat y, const auto& row) { return y < row.first; });
        for (auto it = after; it != section.begin();) {
            --it;
            if (point.y < it->first + it->second)
                return NSIndexPath::indexPathForRowInSection(static_cast<long>(it - section.begin()), s);
            if (it->second > 0)
                break;
        }
    }
    return nullptr;
}

// --- Selection --------------------------------------------------------------------------------

void UITableView::selectRowAtIndexPathAnimatedScrollPosition(const std::shared_ptr<NSIndexPath>& indexPath,
                                                             bool animated, long scrollPosition)
{
    const auto key = keyOf(indexPath);
    if (!key || !allowsSelection_ || key->second < 0 || key->second >= numberOfRowsInSection(key->first))
        return;
    if (selectedRow_ && *selectedRow_ != *key)
        deselectRowAtIndexPathAnimated(NSIndexPath::indexPathForRowInSection(selectedRow_->second, selectedRow_->first),
                                       animated);
    selectedRow_ = key;
    if (auto shown = visibleCells_.find(*key); shown != visibleCells_.end())
        msgSend(shown->second, "setSelected:"_sel, true);
}

void UITableView::deselectRowAtIndexPathAnimated(const std::shared_ptr<NSIndexPath>& indexPath, bool animated)
{
    const auto key = keyOf(indexPath);
    if (!key)
        return;
    if (selectedRow_ == key)
        selectedRow_.reset();
    if (auto shown = visibleCells_.find(*key); shown != visibleCells_.end())
        msgSend(shown->second, "setSelected:"_sel, false);
}

std::shared_ptr<NSIndexPath> UITableView::indexPathForSelectedRow() const
{
    return selectedRow_ ? NSIndexPath::indexPathForRowInSection(selectedRow_->second, selectedRow_->first) : nullptr;
}

bool UITableView::selectRowByUser(const std::shared_ptr<NSIndexPath>& indexPath)
{
    const auto key = keyOf(indexPath);
    if (!key || !allowsSelection_ || key->second < 0 || key->second >= numberOfRowsInSection(key->first))
        return false;
    selectRowAtIndexPathAnimatedScrollPosition(indexPath, false, 0);
    msgSendIfResponds(delegate(), "tableView:didSelectRowAtIndexPath:"_sel, id(self()), indexPath);
    return true;
}

bool UITableView::handleSimulatedTap(CGPoint pointInSelf)
{
    const auto indexPath = indexPathForRowAtPoint(pointInSelf);
    return indexPath && selectRowByUser(indexPath);
}

#include "uikit/table_view.h"

#include "foundation/ns_array.h"
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
    c.method<&UITableView::insertRowsAtIndexPathsWithRowAnimation>("insertRowsAtIndexPaths:withRowAnimation:");
    c.method<&UITableView::deleteRowsAtIndexPathsWithRowAnimation>("deleteRowsAtIndexPaths:withRowAnimation:");
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
CGFloat sane(CGFloat value) { return std::isfinite(value) && value > 0 ? value : 0.0; }
} // namespace

UITableView::UITableView()
    : cells_(*this,
             {"numberOfSectionsInTableView:"_sel, "tableView:numberOfRowsInSection:"_sel,
              "tableView:cellForRowAtIndexPath:"_sel, nullptr, "tableView:didSelectRowAtIndexPath:"_sel},
             [this](long section) { return numberOfRowsInSection(section); })
{
}

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
    ++geometryChanges_;
    setNeedsLayout();
}

// --- Cells ------------------------------------------------------------------------------------

void UITableView::registerClassForCellReuseIdentifier(Class cellClass, const std::string& identifier)
{
    cells_.registerClass(cellClass, identifier);
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    if (auto cell = cells_.takeReusableCell(identifier))
        return cell;
    const Class registered = cells_.registeredClass(identifier);
    return registered ? UITableViewCell::create(registered, UITableViewCellStyleDefault, identifier) : nullptr;
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCellWithIdentifierForIndexPath(
    const std::string& identifier, const std::shared_ptr<NSIndexPath>& indexPath)
{
    auto cell = dequeueReusableCellWithIdentifier(identifier);
    if (cell && indexPath)
        cell->setFrame(rectForRowAtIndexPath(indexPath));
    return cell;
}

// --- Data -------------------------------------------------------------------------------------

void UITableView::reloadData()
{
    cells_.reload();
    geometry_.reset();
    ++geometryChanges_;
    setNeedsLayout();
}

namespace {

// The rows named by the array, each once, in order; entries that are no index paths are left out.
std::vector<uikit::CellKey> rowKeys(const std::shared_ptr<NSArray>& indexPaths)
{
    std::vector<uikit::CellKey> keys;
    if (!indexPaths)
        return keys;
    for (const auto& entry : *indexPaths)
        if (const auto key = uikit::CellHost<UITableViewCell>::keyOf(std::dynamic_pointer_cast<NSIndexPath>(entry)))
            keys.push_back(*key);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

} // namespace

bool UITableView::countsAgree(const std::vector<uikit::CellKey>& rows, long change)
{
    const auto& sections = geometry_->rows;
    const id source = cells_.dataSource();
    const bool answersRows = respondsToSelector(source.get(), "tableView:numberOfRowsInSection:"_sel);
    const id me = self();
    for (auto first = rows.begin(); first != rows.end();) {
        const long section = first->first;
        const auto last = std::find_if(first, rows.end(), [section](const auto& key) { return key.first != section; });
        if (section < 0 || static_cast<std::size_t>(section) >= sections.size())
            return false;
        const long expected = static_cast<long>(sections[static_cast<std::size_t>(section)].size()) +
                              change * static_cast<long>(last - first);
        const long asked = answersRows ? msgSend<long>(source, "tableView:numberOfRowsInSection:"_sel, me, section) : 0;
        if (asked != expected || first->second < 0 || (last - 1)->second >= std::max(expected, expected - change))
            return false;
        first = last;
    }
    return true;
}

CGFloat UITableView::askHeight(const id& target, bool answersHeights, long section, long row)
{
    if (!answersHeights)
        return rowHeight_;
    return sane(msgSend<CGFloat>(target, "tableView:heightForRowAtIndexPath:"_sel, self(),
                                 NSIndexPath::indexPathForRowInSection(row, section)));
}

bool UITableView::insertIntoGeometry(const std::vector<uikit::CellKey>& rows)
{
    if (!countsAgree(rows, +1))
        return false;
    // Heights first: a delegate answering may reload the table, which makes the update moot.
    const id target = delegate();
    const bool answersHeights = respondsToSelector(target.get(), "tableView:heightForRowAtIndexPath:"_sel);
    const unsigned long changes = geometryChanges_;
    std::vector<CGFloat> heights;
    for (const auto& [section, row] : rows)
        heights.push_back(askHeight(target, answersHeights, section, row));
    if (geometryChanges_ != changes || !geometry_)
        return true;
    // In order: each row is inserted where it stands once the rows before it are in.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto [section, row] = rows[i];
        auto& list = geometry_->rows[static_cast<std::size_t>(section)];
        const CGFloat top = topOfRow(section, row);
        list.insert(list.begin() + row, {top, heights[i]});
        shiftTops(section, row + 1, heights[i]);
        geometry_->height += heights[i];
        cells_.insertItem(rows[i]);
    }
    return true;
}

bool UITableView::deleteFromGeometry(const std::vector<uikit::CellKey>& rows)
{
    if (!countsAgree(rows, -1))
        return false;
    // From the last: each row is still where it was named.
    for (auto key = rows.rbegin(); key != rows.rend(); ++key) {
        auto& list = geometry_->rows[static_cast<std::size_t>(key->first)];
        const CGFloat height = list[static_cast<std::size_t>(key->second)].second;
        list.erase(list.begin() + key->second);
        shiftTops(key->first, key->second, -height);
        geometry_->height -= height;
        cells_.deleteItem(*key);
    }
    return true;
}

CGFloat UITableView::topOfRow(long section, long row) const
{
    // Where the row at that place starts now: the top of the row there, else the end of the
    // rows before it (in this section or the ones above).
    for (long s = section; s >= 0; --s) {
        const auto& list = geometry_->rows[static_cast<std::size_t>(s)];
        const auto end = s == section ? std::min<std::size_t>(static_cast<std::size_t>(row), list.size()) : list.size();
        if (s == section && end < list.size())
            return list[end].first;
        if (end > 0)
            return list[end - 1].first + list[end - 1].second;
    }
    return 0;
}

void UITableView::shiftTops(long section, long firstRow, CGFloat delta)
{
    // Rows stack section after section: every row from there on moves.
    auto& sections = geometry_->rows;
    for (auto s = static_cast<std::size_t>(section); s < sections.size(); ++s)
        for (auto r = s == static_cast<std::size_t>(section) ? static_cast<std::size_t>(firstRow) : 0;
             r < sections[s].size(); ++r)
            sections[s][r].first += delta;
}

void UITableView::insertRowsAtIndexPathsWithRowAnimation(const std::shared_ptr<NSArray>& indexPaths, long)
{
    const auto rows = rowKeys(indexPaths);
    if (geometry_ && !insertIntoGeometry(rows))
        return reloadData();
    // Without cached geometry the next use asks for everything anyway.
    setNeedsLayout();
}

void UITableView::deleteRowsAtIndexPathsWithRowAnimation(const std::shared_ptr<NSArray>& indexPaths, long)
{
    const auto rows = rowKeys(indexPaths);
    if (geometry_ && !deleteFromGeometry(rows))
        return reloadData();
    setNeedsLayout();
}

const UITableView::Geometry& UITableView::geometry()
{
    if (geometry_)
        return *geometry_;
    // Assigned, not emplaced: clang rules on Geometry's default constructor before the class is complete.
    geometry_ = Geometry{};
    ++geometryChanges_;
    const std::vector<long> counts = cells_.askItemCounts();

    const id me = self();
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

long UITableView::numberOfRowsInSection(long section)
{
    const auto& rows = geometry().rows;
    if (section < 0 || static_cast<std::size_t>(section) >= rows.size())
        return 0;
    return static_cast<long>(rows[static_cast<std::size_t>(section)].size());
}

CGRect UITableView::rectFor(const uikit::CellKey& key)
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
    const auto key = uikit::CellHost<UITableViewCell>::keyOf(indexPath);
    return key ? rectFor(*key) : CGRectZero;
}

// --- Layout -----------------------------------------------------------------------------------

void UITableView::layoutSubviews()
{
    UIScrollView::layoutSubviews();
    layoutCells();
}

void UITableView::layoutCells()
{
    const auto pass = cells_.startLayout();
    if (!pass)
        return;
    const Geometry& rows = geometry();
    setContentSize({bounds().size.width, rows.height});

    const CGRect visible{contentOffset(), bounds().size};
    std::vector<uikit::CellPlacement> wanted;
    for (long s = 0; s < static_cast<long>(rows.rows.size()); ++s) {
        const auto& section = rows.rows[static_cast<std::size_t>(s)];
        // Rows stack: the ends of the rows only grow, so the first one ending below the top of
        // what is visible is found by halving, and the rows after it until the bottom are shown.
        const auto first = std::partition_point(section.begin(), section.end(), [&](const auto& row) {
            return row.first + row.second <= CGRectGetMinY(visible);
        });
        for (auto it = first; it != section.end() && it->first < CGRectGetMaxY(visible); ++it) {
            const CGRect rect = CGRectMake(0, it->first, bounds().size.width, it->second);
            if (CGRectIntersectsRect(rect, visible))
                wanted.push_back({{s, static_cast<long>(it - section.begin())}, rect});
        }
    }
    cells_.show(wanted);
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
    cells_.select(indexPath);
}

void UITableView::deselectRowAtIndexPathAnimated(const std::shared_ptr<NSIndexPath>& indexPath, bool animated)
{
    cells_.deselect(indexPath);
}

std::shared_ptr<NSIndexPath> UITableView::indexPathForSelectedRow() const
{
    const auto& selection = cells_.selection();
    return selection.empty() ? nullptr : uikit::CellHost<UITableViewCell>::indexPathOf(*selection.begin());
}

bool UITableView::handleSimulatedTap(CGPoint pointInSelf)
{
    const auto indexPath = indexPathForRowAtPoint(pointInSelf);
    return indexPath && selectRowByUser(indexPath);
}

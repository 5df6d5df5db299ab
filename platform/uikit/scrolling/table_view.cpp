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
    setNeedsLayout();
}

const UITableView::Geometry& UITableView::geometry()
{
    if (geometry_)
        return *geometry_;
    // Assigned, not emplaced: clang rules on Geometry's default constructor before the class is complete.
    geometry_ = Geometry{};
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
        for (long r = 0; r < static_cast<long>(section.size()); ++r) {
            const auto [top, height] = section[static_cast<std::size_t>(r)];
            const CGRect rect = CGRectMake(0, top, bounds().size.width, height);
            if (CGRectIntersectsRect(rect, visible))
                wanted.push_back({{s, r}, rect});
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

// Table views: a scroll view showing rows stacked top to bottom, section after section, each
// row as tall as the delegate says and shown by a cell the data source configures. Only rows
// on screen have cells; cells that leave the screen or are released by reloadData are kept for
// reuse under their reuse identifier.
//
// The data source and the delegate are asked through the runtime (so a replacement installed
// on their class answers), and only for what they answer:
//   data source  "numberOfSectionsInTableView:" (default 1),
//                "tableView:numberOfRowsInSection:" (default 0),
//                "tableView:cellForRowAtIndexPath:" (no answer or nil: the row shows no cell);
//   delegate     the scroll view messages, "tableView:heightForRowAtIndexPath:" (default
//                rowHeight), "tableView:didSelectRowAtIndexPath:".
// Counts and heights are asked once per reloadData, at the next use; inserting rows asks only
// the new rows' heights, and deleting rows asks nothing (the other rows keep theirs and move).
// A row of height 0 takes no room and gets no cell. The table bounces vertically even when its rows are few, so a
// short list can still be pulled down.
//
// Ownership: the table owns its cells (shown and reusable); the data source and the delegate
// are not retained.
#pragma once

#include "uikit/cell_host.h"
#include "uikit/scroll_view.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class NSArray;
class NSIndexPath;
class UITableViewCell;

enum UITableViewStyle : long {
    UITableViewStylePlain = 0,
    UITableViewStyleGrouped = 1,
};

class UITableView : public UIScrollView {
    OBJC_CLASS(UITableView, UIScrollView)
public:
    UITableView();

    // Runtime selector "initWithFrame:style:".
    virtual objc::id initWithFrameStyle(CGRect frame, long style);
    // A plain table.
    objc::id initWithFrame(CGRect frame) override;

    long style() const { return style_; }
    objc::id dataSource() const { return cells_.dataSource(); }
    void setDataSource(const objc::id& dataSource) { cells_.setDataSource(dataSource); }
    // The height of rows the delegate does not size (44 points).
    CGFloat rowHeight() const { return rowHeight_; }
    void setRowHeight(CGFloat height);

    // --- Cells --------------------------------------------------------------------------
    // A cell kept for reuse under the identifier (after "prepareForReuse"); else, when a class
    // is registered for it, a new one made through the runtime (alloc, then
    // "initWithStyle:reuseIdentifier:" with the default style); else nil.
    std::shared_ptr<UITableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
    // The same, for callers that name the row (the row's cell then has the row's frame).
    std::shared_ptr<UITableViewCell> dequeueReusableCellWithIdentifierForIndexPath(
        const std::string& identifier, const std::shared_ptr<NSIndexPath>& indexPath);
    // Cells for the identifier are made from the class (a UITableViewCell or a subclass; any
    // other class, or nil, removes the registration).
    void registerClassForCellReuseIdentifier(objc::Class cellClass, const std::string& identifier);
    std::size_t reusableCellCount(const std::string& identifier) const { return cells_.reusableCellCount(identifier); }
    // The index path a shown cell stands at, or nil (no layout pass first).
    std::shared_ptr<NSIndexPath> indexPathForCell(const std::shared_ptr<UITableViewCell>& cell)
    {
        return cells_.indexPathForCell(cell);
    }

    // --- Data ---------------------------------------------------------------------------
    // Runtime selector "reloadData": every shown cell goes back for reuse, the selection is
    // cleared, and counts and heights are asked again.
    virtual void reloadData();
    // Runtime selectors "insertRowsAtIndexPaths:withRowAnimation:" and
    // "deleteRowsAtIndexPaths:withRowAnimation:" (an NSArray of index paths; the animation is not
    // shown). The data source has already changed: inserted rows are named as they are after the
    // change, deleted ones as they were before it. The shown cells and the selection of the rows
    // that move go with them. When the data source's counts do not agree with the change, the
    // table reloads instead.
    void insertRowsAtIndexPathsWithRowAnimation(const std::shared_ptr<NSArray>& indexPaths, long animation);
    void deleteRowsAtIndexPathsWithRowAnimation(const std::shared_ptr<NSArray>& indexPaths, long animation);
    long numberOfSections() { return static_cast<long>(geometry().rows.size()); }
    long numberOfRowsInSection(long section);
    // (0, top, table width, height); the zero rectangle for a row the table does not have.
    CGRect rectForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath);

    // The queries below lay the view out first when something changed since the last pass.
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath)
    {
        return laidOut().cellAt(indexPath);
    }
    std::vector<std::shared_ptr<UITableViewCell>> visibleCells() { return laidOut().cells(); }
    std::vector<std::shared_ptr<NSIndexPath>> indexPathsForVisibleRows() { return laidOut().indexPaths(); }
    // The row whose rectangle contains the point (in content coordinates), or nil.
    std::shared_ptr<NSIndexPath> indexPathForRowAtPoint(CGPoint point);

    // --- Selection ----------------------------------------------------------------------
    bool allowsSelection() const { return cells_.allowsSelection(); }
    void setAllowsSelection(bool on) { cells_.setAllowsSelection(on); }
    // Selects (one row at a time) without telling the delegate. The scroll position is not used.
    void selectRowAtIndexPathAnimatedScrollPosition(const std::shared_ptr<NSIndexPath>& indexPath, bool animated,
                                                    long scrollPosition);
    void deselectRowAtIndexPathAnimated(const std::shared_ptr<NSIndexPath>& indexPath, bool animated);
    std::shared_ptr<NSIndexPath> indexPathForSelectedRow() const;
    // What a tap on the row does: selects it and reports "tableView:didSelectRowAtIndexPath:".
    // False when selection is off or the row does not exist.
    bool selectRowByUser(const std::shared_ptr<NSIndexPath>& indexPath) { return cells_.selectByUser(indexPath); }

    // --- Layout and events --------------------------------------------------------------
    // Places a cell over every row that overlaps the visible bounds and retires the others.
    void layoutSubviews() override;
    // A tap that no gesture recogniser or control took selects the row under it.
    bool handleSimulatedTap(CGPoint pointInSelf) override;

private:
    struct Geometry {
        // Per section: each row's top and height.
        std::vector<std::vector<std::pair<CGFloat, CGFloat>>> rows;
        CGFloat height = 0;
    };

    const Geometry& geometry();
    // The height of a row as the delegate (or rowHeight) says.
    CGFloat askHeight(const objc::id& target, bool answersHeights, long section, long row);
    // Inserted rows (sorted) or deleted ones applied to the cached geometry; false when the data
    // source's counts disagree with the change.
    bool insertIntoGeometry(const std::vector<uikit::CellKey>& rows);
    bool deleteFromGeometry(const std::vector<uikit::CellKey>& rows);
    bool countsAgree(const std::vector<uikit::CellKey>& rows, long change);
    CGFloat topOfRow(long section, long row) const;
    void shiftTops(long section, long firstRow, CGFloat delta);
    void layoutCells();
    // The cells after a layout pass, when one was due.
    uikit::CellHost<UITableViewCell>& laidOut() { layoutCells(); return cells_; }
    CGRect rectFor(const uikit::CellKey& key);

    long style_ = UITableViewStylePlain;
    CGFloat rowHeight_ = 44;
    std::optional<Geometry> geometry_;
    // Counts each geometry made or dropped, so that an update can tell whether a delegate
    // answering it reloaded the table meanwhile.
    unsigned long geometryChanges_ = 0;
    uikit::CellHost<UITableViewCell> cells_;
};

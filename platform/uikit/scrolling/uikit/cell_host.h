// The cell bookkeeping that every list-like scroll view shares (tables and collection views):
// the data source, which cell shows which index path, the pools of cells kept for reuse by
// identifier and the classes registered to make new ones, the selection, and the guard that
// keeps a layout pass from running inside itself. The view that owns a host supplies only its
// geometry: how many items each section holds, where each lies and which ones the visible
// bounds overlap.
//
// The host talks to the data source and the delegate through the runtime with the messages its
// view names (CellMessages), so a replacement installed on their class answers.
//
// Ownership: the host is a member of its view and places cells in it; it owns the cells it
// shows and keeps for reuse. The data source is not retained.
#pragma once

#include "uikit/geometry.h"

#include "objc/objc.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class NSIndexPath;
class UIScrollView;

namespace uikit {

// Section, then row (tables) or item (collection views).
using CellKey = std::pair<long, long>;

// What a view's data source and delegate are asked, by selector.
struct CellMessages {
    objc::SEL numberOfSections;  // data source, "numberOf…In…View:"
    objc::SEL numberOfItems;     // data source, "…View:numberOf…InSection:"
    objc::SEL cellForItem;       // data source, "…View:cellFor…AtIndexPath:"
    objc::SEL shouldSelect;      // delegate, may be nullptr: the view does not ask
    objc::SEL didSelect;         // delegate
};

// A place for one cell: the item and its frame in content coordinates.
struct CellPlacement {
    CellKey key;
    CGRect frame;
};

template <class Cell>
class CellHost {
public:
    // The view counts the items of a section for the host (from what the view caches).
    using ItemCount = std::function<long(long section)>;

    CellHost(UIScrollView& view, const CellMessages& messages, ItemCount itemsInSection);
    CellHost(const CellHost&) = delete;
    CellHost& operator=(const CellHost&) = delete;

    static std::optional<CellKey> keyOf(const std::shared_ptr<NSIndexPath>& indexPath);
    static std::shared_ptr<NSIndexPath> indexPathOf(const CellKey& key);

    // --- Data source --------------------------------------------------------------------
    objc::id dataSource() const { return dataSource_.lock(); }
    void setDataSource(const objc::id& dataSource) { dataSource_ = dataSource; }
    // Asks the data source for its sections and their item counts, bounded so that a wild
    // count cannot exhaust memory. No data source: no sections; one that does not say: one
    // section of no items.
    std::vector<long> askItemCounts() const;

    // --- Reuse --------------------------------------------------------------------------
    // Registers the class (Cell or a subclass) for the identifier; any other class, or nil,
    // removes the registration.
    void registerClass(objc::Class cellClass, const std::string& identifier);
    objc::Class registeredClass(const std::string& identifier) const;
    // A cell kept for reuse under the identifier, after "prepareForReuse"; nil when none waits.
    std::shared_ptr<Cell> takeReusableCell(const std::string& identifier);
    std::size_t reusableCellCount(const std::string& identifier) const;

    // --- Shown cells --------------------------------------------------------------------
    std::shared_ptr<Cell> cellAt(const std::shared_ptr<NSIndexPath>& indexPath) const;
    std::vector<std::shared_ptr<Cell>> cells() const;
    std::vector<std::shared_ptr<NSIndexPath>> indexPaths() const;
    std::shared_ptr<NSIndexPath> indexPathForCell(const std::shared_ptr<Cell>& cell) const;
    // What reloading does to the cells: every shown one goes back for reuse, the selection is
    // cleared (without telling the cells).
    void reload();
    // An item inserted at the key: the shown cells and the selection of the items from there on
    // in its section move one item on.
    void insertItem(const CellKey& key);
    // The item at the key deleted: its cell goes back for reuse, it leaves the selection, and the
    // shown cells and the selection of the items after it in its section move one item back.
    void deleteItem(const CellKey& key);

    // --- Layout -------------------------------------------------------------------------
    // One layout pass, while it lives: false when a pass is already running (a data source or
    // delegate answering from inside the pass). It keeps the view alive meanwhile, should an
    // answer drop the last reference.
    class LayoutPass {
    public:
        explicit LayoutPass(CellHost& host);
        ~LayoutPass();
        LayoutPass(const LayoutPass&) = delete;
        LayoutPass& operator=(const LayoutPass&) = delete;
        explicit operator bool() const { return host_ != nullptr; }

    private:
        objc::id keepAlive_;
        CellHost* host_ = nullptr;
    };
    LayoutPass startLayout() { return LayoutPass(*this); }
    // Shows a cell at each placement, in order: the one already there, else one from the data
    // source (no answer or nil: none). Cells at places not listed are retired first.
    void show(const std::vector<CellPlacement>& placements);

    // --- Selection ----------------------------------------------------------------------
    bool allowsSelection() const { return allowsSelection_; }
    void setAllowsSelection(bool on) { allowsSelection_ = on; }
    bool allowsMultipleSelection() const { return allowsMultipleSelection_; }
    void setAllowsMultipleSelection(bool on) { allowsMultipleSelection_ = on; }
    const std::set<CellKey>& selection() const { return selection_; }
    // Selects the item without telling the delegate (the others leave the selection unless
    // several may be selected). Nothing when selection is off or the item does not exist.
    void select(const std::shared_ptr<NSIndexPath>& indexPath);
    void deselect(const std::shared_ptr<NSIndexPath>& indexPath);
    // What a tap on the item does: asks the delegate whether it may (when the view names that
    // message), selects it and tells the delegate. False when selection is off, the item does
    // not exist or the delegate declined.
    bool selectByUser(const std::shared_ptr<NSIndexPath>& indexPath);

private:
    std::optional<CellKey> selectableKey(const std::shared_ptr<NSIndexPath>& indexPath) const;
    void applySelection(const CellKey& key, bool selected);
    void retire(const CellKey& key);
    // Moves the items of the section from the first one on by delta (+1 or -1).
    void shiftItems(long section, long first, long delta);
    std::shared_ptr<Cell> cellFromDataSource(const objc::id& source, const CellKey& key);

    UIScrollView& view_;
    CellMessages messages_;
    ItemCount itemsInSection_;
    std::weak_ptr<objc::Object> dataSource_;
    std::map<std::string, objc::Class> registeredClasses_;
    std::map<std::string, std::vector<std::shared_ptr<Cell>>> reusableCells_;
    std::map<CellKey, std::shared_ptr<Cell>> shownCells_;
    std::set<CellKey> selection_;
    bool allowsSelection_ = true;
    bool allowsMultipleSelection_ = false;
    bool layingOut_ = false;
};

} // namespace uikit

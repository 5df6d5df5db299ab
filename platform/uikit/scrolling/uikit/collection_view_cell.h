// The cell of a collection view: a view the collection view makes from a registered class,
// places over one item, and reuses for another item once the first leaves the screen or the
// data is reloaded. Subclasses add their own subviews (to the cell or to its content view).
//
// Ownership: the cell owns its content view; the collection view that made it owns the cell
// while it shows it or keeps it for reuse.
#pragma once

#include "uikit/view.h"

#include <memory>
#include <string>

class UICollectionViewCell : public UIView {
    OBJC_CLASS(UICollectionViewCell, UIView)
public:
    // Also makes the content view, filling the cell and following its size.
    objc::id initWithFrame(CGRect frame) override;

    const std::shared_ptr<UIView>& contentView() const { return contentView_; }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    // Set by the collection view that makes the cell.
    void setReuseIdentifier(std::string identifier) { reuseIdentifier_ = std::move(identifier); }

    // Runtime selector "prepareForReuse": sent by the collection view before the cell is handed
    // out again. Clears the selection; subclasses reset what they showed.
    virtual void prepareForReuse();

    bool isSelected() const { return selected_; }
    // Runtime selectors "isSelected" / "setSelected:".
    virtual void setSelected(bool selected) { selected_ = selected; }
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted) { highlighted_ = highlighted; }

private:
    std::shared_ptr<UIView> contentView_;
    std::string reuseIdentifier_;
    bool selected_ = false;
    bool highlighted_ = false;
};

// The cell of a table view: a row's view with a title label, an optional detail label and an
// image view, laid out by the cell's style, plus an accessory mark at the right edge. Settings
// rows and host rows derive from it and add their own subviews to the content view.
//
// Ownership: the cell owns its content view and labels; the table that shows it or keeps it
// for reuse owns the cell.
#pragma once

#include "foundation/ns_string.h"
#include "uikit/view.h"

#include <memory>
#include <string>

class UIImageView;
class UILabel;

enum UITableViewCellStyle : long {
    UITableViewCellStyleDefault = 0,  // title only
    UITableViewCellStyleValue1 = 1,   // title on the left, detail on the right
    UITableViewCellStyleValue2 = 2,   // small right-aligned title, detail after it
    UITableViewCellStyleSubtitle = 3, // title over a smaller detail
};

enum UITableViewCellAccessoryType : long {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator = 1,
    UITableViewCellAccessoryDetailDisclosureButton = 2,
    UITableViewCellAccessoryCheckmark = 3,
    UITableViewCellAccessoryDetailButton = 4,
};

class UITableViewCell : public UIView {
    OBJC_CLASS(UITableViewCell, UIView)
public:
    // Makes a cell of the class (UITableViewCell or a subclass) through the runtime: alloc,
    // then "initWithStyle:reuseIdentifier:". Nil for any other class or a failed initialiser.
    static std::shared_ptr<UITableViewCell> create(objc::Class cellClass, long style, const std::string& reuseIdentifier);

    // Runtime selector "initWithStyle:reuseIdentifier:". Builds the content view and the labels
    // of the style, in a 320 × 44 frame. An unknown style counts as the default one; a nil
    // identifier as the empty one (such a cell is not kept for reuse).
    virtual objc::id initWithStyleReuseIdentifier(long style, const std::shared_ptr<NSString>& reuseIdentifier);
    // A default-style cell without reuse identifier, framed as given.
    objc::id initWithFrame(CGRect frame) override;

    long style() const { return style_; }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    const std::shared_ptr<UIView>& contentView() const { return contentView_; }
    const std::shared_ptr<UILabel>& textLabel() const { return textLabel_; }
    // Nil for the default style.
    const std::shared_ptr<UILabel>& detailTextLabel() const { return detailTextLabel_; }
    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }

    long accessoryType() const { return accessoryType_; }
    void setAccessoryType(long type) { accessoryType_ = type; setNeedsLayout(); }
    // Where the separator line under the row starts and ends (left 15 points by default).
    UIEdgeInsets separatorInset() const { return separatorInset_; }
    void setSeparatorInset(UIEdgeInsets inset) { separatorInset_ = inset; }

    bool isSelected() const { return selected_; }
    // Runtime selectors "isSelected" / "setSelected:".
    virtual void setSelected(bool selected) { selected_ = selected; }
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted) { highlighted_ = highlighted; }

    // Runtime selector "prepareForReuse": sent by the table before the cell is handed out
    // again. Clears the selection; subclasses reset what they showed.
    virtual void prepareForReuse();

    // The accessory takes this much of the right edge; the content view has the rest.
    static constexpr CGFloat kAccessoryWidth = 38;
    // Places the content view beside the accessory and the labels and image in it.
    void layoutSubviews() override;

private:
    std::shared_ptr<UIView> contentView_;
    std::shared_ptr<UILabel> textLabel_;
    std::shared_ptr<UILabel> detailTextLabel_;
    std::shared_ptr<UIImageView> imageView_;
    long style_ = UITableViewCellStyleDefault;
    std::string reuseIdentifier_;
    long accessoryType_ = UITableViewCellAccessoryNone;
    UIEdgeInsets separatorInset_{0, 15, 0, 0};
    bool selected_ = false;
    bool highlighted_ = false;
};

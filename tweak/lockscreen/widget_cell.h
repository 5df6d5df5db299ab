// WidgetCell: one tile of the widget chooser: the plug-in's name over its icon, and the
// plug-in's bundle and principal class, which choosing the tile hands on.
//
// Ownership: the tile owns its labels and image view (subviews) and holds its bundle strongly;
// the class is a class object of the runtime. The chooser's tap recogniser belongs to the tile
// (as every view owns its recognisers); the tile only remembers it, not retained.
#pragma once

#include "uikit/collection_view_cell.h"

#include <memory>

class NSBundle;
class UIImageView;
class UILabel;
class UITapGestureRecognizer;

class WidgetCell : public UICollectionViewCell {
    OBJC_CLASS(WidgetCell, UICollectionViewCell)
public:
    // Builds the name label, the icon view and the empty bottom label for the cell's width.
    objc::id initWithFrame(CGRect frame) override;

    objc::Class bundleClass() const { return bundleClass_; }
    void setBundleClass(objc::Class cls) { bundleClass_ = cls; }
    const std::shared_ptr<NSBundle>& bundle() const { return bundle_; }
    void setBundle(std::shared_ptr<NSBundle> bundle) { bundle_ = std::move(bundle); }
    const std::shared_ptr<UILabel>& timeLabel() const { return timeLabel_; }
    void setTimeLabel(std::shared_ptr<UILabel> label) { timeLabel_ = std::move(label); }
    const std::shared_ptr<UIImageView>& conditionImageView() const { return conditionImageView_; }
    void setConditionImageView(std::shared_ptr<UIImageView> view) { conditionImageView_ = std::move(view); }
    const std::shared_ptr<UILabel>& tempLabel() const { return tempLabel_; }
    void setTempLabel(std::shared_ptr<UILabel> label) { tempLabel_ = std::move(label); }

    // The chooser's tap recogniser once it is attached, so that a tile configured again (on
    // every layout pass) keeps the one it has.
    std::shared_ptr<UITapGestureRecognizer> chooserTap() const { return chooserTap_.lock(); }
    void setChooserTap(const std::shared_ptr<UITapGestureRecognizer>& tap) { chooserTap_ = tap; }

private:
    objc::Class bundleClass_ = nullptr;
    std::shared_ptr<NSBundle> bundle_;
    std::shared_ptr<UILabel> timeLabel_;
    std::shared_ptr<UIImageView> conditionImageView_;
    std::shared_ptr<UILabel> tempLabel_;
    std::weak_ptr<UITapGestureRecognizer> chooserTap_;
};

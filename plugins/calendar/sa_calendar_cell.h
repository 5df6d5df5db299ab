// SACalendarCell: one day of the month grid. A white cell with a thin grey line along its top,
// the day number in its upper part and two discs behind the number: red for today, black for
// the tapped date (drawn over the red one). The cell only builds these views, once, from its
// frame; the grid decides for every use which of them show and how the number looks.
//
// Ownership: the cell owns its four views through its subview list and the properties below.
#pragma once

#include "uikit/collection_view_cell.h"
#include "uikit/label.h"

#include <memory>

class SACalendarCell : public UICollectionViewCell {
    OBJC_CLASS(SACalendarCell, UICollectionViewCell)
public:
    objc::id initWithFrame(CGRect frame) override;

    const std::shared_ptr<UIView>& topLineView() const { return topLineView_; }
    const std::shared_ptr<UIView>& circleView() const { return circleView_; }
    const std::shared_ptr<UIView>& selectedView() const { return selectedView_; }
    const std::shared_ptr<UILabel>& dateLabel() const { return dateLabel_; }

private:
    std::shared_ptr<UIView> topLineView_;
    std::shared_ptr<UIView> circleView_;
    std::shared_ptr<UIView> selectedView_;
    std::shared_ptr<UILabel> dateLabel_;
};

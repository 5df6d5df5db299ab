#include "sa_calendar_cell.h"

using namespace objc;

OBJC_REGISTER(SACalendarCell,
    c.method<&SACalendarCell::topLineView>("topLineView");
    c.method<&SACalendarCell::circleView>("circleView");
    c.method<&SACalendarCell::selectedView>("selectedView");
    c.method<&SACalendarCell::dateLabel>("dateLabel");)

namespace {

// The discs fill this share of the label's shorter side.
constexpr double kDiscShare = 0.8;

std::shared_ptr<UIView> disc(CGRect frame, int cornerRadius, std::shared_ptr<UIColor> colour)
{
    auto view = UIView::create(frame);
    view->layer()->setCornerRadius(cornerRadius);
    view->setBackgroundColor(std::move(colour));
    return view;
}

} // namespace

id SACalendarCell::initWithFrame(CGRect frame)
{
    id made = UICollectionViewCell::initWithFrame(frame);
    if (!made)
        return nullptr;
    setBackgroundColor(UIColor::whiteColor());
    const CGFloat w = frame.size.width, h = frame.size.height;

    // The line reaches one point past each side, so neighbouring cells join without a gap.
    topLineView_ = UIView::create(CGRectMake(-1, 0, w + 2, 1));
    topLineView_->setBackgroundColor(UIColor::lightGrayColor());

    dateLabel_ = UIView::create<UILabel>(CGRectMake(0, 0, w, 0.7 * h));
    dateLabel_->setTextAlignment(NSTextAlignment::Center);

    // The discs are centred on the label, sized by its shorter side.
    const CGFloat lw = dateLabel_->frame().size.width, lh = dateLabel_->frame().size.height;
    CGFloat d, x, y;
    if (lw > lh) {
        d = kDiscShare * lh;
        x = (lw - d) / 2;
        y = (1 - kDiscShare) * lh / 2;
    } else {
        d = kDiscShare * lw;
        x = (1 - kDiscShare) * lw / 2;
        y = (lh - d) / 2;
    }
    const int side = static_cast<int>(d);
    const CGRect discFrame = CGRectMake(x, y, side, side);
    circleView_ = disc(discFrame, side / 2, UIColor::redColor());
    selectedView_ = disc(discFrame, side / 2, UIColor::blackColor());

    addSubview(topLineView_);
    addSubview(circleView_);
    addSubview(selectedView_);
    addSubview(dateLabel_);
    return made;
}

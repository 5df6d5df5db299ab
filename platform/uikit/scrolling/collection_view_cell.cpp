#include "uikit/collection_view_cell.h"

using namespace objc;

OBJC_REGISTER(UICollectionViewCell,
    c.method<&UICollectionViewCell::contentView>("contentView");
    c.method<&UICollectionViewCell::prepareForReuse>("prepareForReuse");
    c.method<&UICollectionViewCell::isSelected>("isSelected");
    c.method<&UICollectionViewCell::setSelected>("setSelected:");
    c.method<&UICollectionViewCell::isHighlighted>("isHighlighted");
    c.method<&UICollectionViewCell::setHighlighted>("setHighlighted:");)

id UICollectionViewCell::initWithFrame(CGRect frame)
{
    id made = UIView::initWithFrame(frame);
    if (!made)
        return nullptr;
    contentView_ = UIView::create(bounds());
    if (contentView_) {
        contentView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        addSubview(contentView_);
    }
    return made;
}

void UICollectionViewCell::prepareForReuse()
{
    setSelected(false);
    setHighlighted(false);
}

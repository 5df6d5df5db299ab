#include "uikit/table_view_cell.h"

#include "uikit/image_view.h"
#include "uikit/label.h"

#include <algorithm>

using namespace objc;

namespace {

constexpr CGFloat kMargin = 15;
constexpr CGFloat kGap = 8;
// Value2 cells give their title a fixed column.
constexpr CGFloat kTitleColumn = 70;

CGFloat lineHeightOf(const UILabel& label)
{
    const CGSize fitted = label.sizeThatFits({0, 0});
    if (fitted.height > 0)
        return fitted.height;
    return label.font() ? label.font()->lineHeight() : 0;
}

} // namespace

OBJC_REGISTER(UITableViewCell,
    c.method<&UITableViewCell::initWithStyleReuseIdentifier>("initWithStyle:reuseIdentifier:");
    c.method<&UITableViewCell::contentView>("contentView");
    c.method<&UITableViewCell::textLabel>("textLabel");
    c.method<&UITableViewCell::detailTextLabel>("detailTextLabel");
    c.method<&UITableViewCell::imageView>("imageView");
    c.method<&UITableViewCell::accessoryType>("accessoryType");
    c.method<&UITableViewCell::setAccessoryType>("setAccessoryType:");
    c.method<&UITableViewCell::separatorInset>("separatorInset");
    c.method<&UITableViewCell::setSeparatorInset>("setSeparatorInset:");
    c.method<&UITableViewCell::isSelected>("isSelected");
    c.method<&UITableViewCell::setSelected>("setSelected:");
    c.method<&UITableViewCell::isHighlighted>("isHighlighted");
    c.method<&UITableViewCell::setHighlighted>("setHighlighted:");
    c.method<&UITableViewCell::prepareForReuse>("prepareForReuse");)

std::shared_ptr<UITableViewCell> UITableViewCell::create(Class cellClass, long style, const std::string& reuseIdentifier)
{
    if (!cellClass || !cellClass->isSubclassOf(UITableViewCell::class_()))
        return nullptr;
    id instance = cellClass->createInstance();
    if (!instance)
        return nullptr;
    return std::dynamic_pointer_cast<UITableViewCell>(
        msgSend<id>(instance, "initWithStyle:reuseIdentifier:"_sel, style, NSStr(reuseIdentifier)));
}

id UITableViewCell::initWithStyleReuseIdentifier(long style, const std::shared_ptr<NSString>& reuseIdentifier)
{
    id made = UIView::initWithFrame(CGRectMake(0, 0, 320, 44));
    if (!made)
        return nullptr;
    style_ = style >= UITableViewCellStyleDefault && style <= UITableViewCellStyleSubtitle ? style
                                                                                          : UITableViewCellStyleDefault;
    reuseIdentifier_ = reuseIdentifier ? reuseIdentifier->string() : std::string();

    contentView_ = UIView::create(bounds());
    imageView_ = UIView::create<UIImageView>(CGRectZero);
    textLabel_ = UIView::create<UILabel>(CGRectZero);
    if (style_ != UITableViewCellStyleDefault)
        detailTextLabel_ = UIView::create<UILabel>(CGRectZero);
    if (!contentView_ || !imageView_ || !textLabel_ || (style_ != UITableViewCellStyleDefault && !detailTextLabel_))
        return nullptr;
    addSubview(contentView_);
    contentView_->addSubview(imageView_);
    contentView_->addSubview(textLabel_);

    switch (style_) {
    case UITableViewCellStyleValue1:
        detailTextLabel_->setTextColor(UIColor::grayColor());
        detailTextLabel_->setTextAlignment(NSTextAlignment::Right);
        break;
    case UITableViewCellStyleValue2:
        textLabel_->setFont(UIFont::boldSystemFontOfSize(15));
        textLabel_->setTextColor(tintColor());
        textLabel_->setTextAlignment(NSTextAlignment::Right);
        detailTextLabel_->setFont(UIFont::systemFontOfSize(15));
        break;
    case UITableViewCellStyleSubtitle:
        detailTextLabel_->setFont(UIFont::systemFontOfSize(12));
        break;
    default:
        break;
    }
    if (detailTextLabel_)
        contentView_->addSubview(detailTextLabel_);
    return made;
}

id UITableViewCell::initWithFrame(CGRect frame)
{
    id made = initWithStyleReuseIdentifier(UITableViewCellStyleDefault, nullptr);
    if (made)
        setFrame(frame);
    return made;
}

void UITableViewCell::prepareForReuse()
{
    setSelected(false);
    setHighlighted(false);
}

void UITableViewCell::layoutSubviews()
{
    UIView::layoutSubviews();
    if (!contentView_ || !imageView_ || !textLabel_ || (style_ != UITableViewCellStyleDefault && !detailTextLabel_))
        return; // an initialiser that failed half-way
    const CGSize size = bounds().size;
    const CGFloat accessory = accessoryType_ != UITableViewCellAccessoryNone ? kAccessoryWidth : 0;
    const CGFloat width = std::max<CGFloat>(0, size.width - accessory);
    const CGFloat height = size.height;
    contentView_->setFrame(CGRectMake(0, 0, width, height));

    CGFloat x = kMargin;
    if (const auto& image = imageView_->image()) {
        const CGSize side{std::min(image->size().width, height), std::min(image->size().height, height)};
        imageView_->setFrame(CGRectMake(kMargin, (height - side.height) / 2, side.width, side.height));
        x += side.width + kMargin;
    } else {
        imageView_->setFrame(CGRectMake(kMargin, height / 2, 0, 0));
    }
    const CGFloat right = std::max(x, width - kMargin);

    switch (style_) {
    case UITableViewCellStyleValue1: {
        const CGFloat detailWidth = std::min(detailTextLabel_->sizeThatFits({0, 0}).width, right - x);
        detailTextLabel_->setFrame(CGRectMake(right - detailWidth, 0, detailWidth, height));
        textLabel_->setFrame(CGRectMake(x, 0, std::max<CGFloat>(0, right - detailWidth - kGap - x), height));
        break;
    }
    case UITableViewCellStyleValue2: {
        const CGFloat column = std::min(kTitleColumn, right - x);
        textLabel_->setFrame(CGRectMake(x, 0, column, height));
        const CGFloat detailX = std::min(right, x + column + kGap);
        detailTextLabel_->setFrame(CGRectMake(detailX, 0, right - detailX, height));
        break;
    }
    case UITableViewCellStyleSubtitle: {
        const CGFloat titleHeight = lineHeightOf(*textLabel_), detailHeight = lineHeightOf(*detailTextLabel_);
        const CGFloat top = (height - titleHeight - detailHeight) / 2;
        textLabel_->setFrame(CGRectMake(x, top, right - x, titleHeight));
        detailTextLabel_->setFrame(CGRectMake(x, top + titleHeight, right - x, detailHeight));
        break;
    }
    default:
        textLabel_->setFrame(CGRectMake(x, 0, right - x, height));
        break;
    }
}

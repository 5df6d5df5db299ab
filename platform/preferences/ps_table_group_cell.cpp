#include "preferences/ps_table_group_cell.h"

#include "preferences/ps_table_cell.h"
#include "uikit/label.h"

#include <algorithm>
#include <cctype>

OBJC_REGISTER(PSTableGroupCell)

namespace {
constexpr CGFloat kMargin = 15;
constexpr CGFloat kTitledHeader = 50;
constexpr CGFloat kPlainGap = 30;
constexpr CGFloat kFontSize = 13;

NSStringAttributes footerAttributes()
{
    return {UIFont::systemFontOfSize(kFontSize), nullptr, NSTextAlignment::Left};
}
} // namespace

std::string PSTableGroupCell::textOf(const std::shared_ptr<PSSpecifier>& group, Part part)
{
    if (!group)
        return {};
    if (part == Part::Footer)
        return group->stringProperty("footerText");
    std::string title = group->name();
    // Group titles read in capitals; only ASCII letters change, other text stays as written.
    std::transform(title.begin(), title.end(), title.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return title;
}

std::shared_ptr<PSTableGroupCell> PSTableGroupCell::create(const std::shared_ptr<PSSpecifier>& group, Part part)
{
    auto cell = std::dynamic_pointer_cast<PSTableGroupCell>(
        UITableViewCell::create(PSTableGroupCell::class_(), UITableViewCellStyleDefault, ""));
    if (!cell)
        return nullptr;
    cell->part_ = part;
    cell->setBackgroundColor(UIColor::clearColor());
    cell->setUserInteractionEnabled(false);
    const auto& label = cell->textLabel();
    label->setText(textOf(group, part));
    label->setFont(UIFont::systemFontOfSize(kFontSize));
    label->setTextColor(UIColor::colorWithRedGreenBlueAlpha(0.43, 0.43, 0.45, 1));
    label->setNumberOfLines(part == Part::Footer ? 0 : 1);
    return cell;
}

CGFloat PSTableGroupCell::heightFor(const std::shared_ptr<PSSpecifier>& group, Part part, bool firstGroup, CGFloat width)
{
    const std::string text = textOf(group, part);
    if (part == Part::Footer) {
        if (text.empty())
            return 0;
        return NSStringBoundingSize(text, std::max<CGFloat>(1, width - 2 * kMargin), footerAttributes()).height + 12;
    }
    if (!text.empty())
        return kTitledHeader;
    return firstGroup ? 0 : kPlainGap;
}

void PSTableGroupCell::layoutSubviews()
{
    UITableViewCell::layoutSubviews();
    const CGSize size = bounds().size;
    const auto& label = textLabel();
    if (part_ == Part::Header) {
        // The title sits on the group's top edge.
        const CGFloat line = label->sizeThatFits({0, 0}).height;
        label->setFrame(CGRectMake(kMargin, size.height - line - 7, size.width - 2 * kMargin, line));
    } else {
        label->setFrame(CGRectMake(kMargin, 6, size.width - 2 * kMargin, size.height - 6));
    }
}

#include "prefs/color_picker.h"

#include "common/hex_colors.h"
#include "foundation/ns_string.h"
#include "uikit/alert_controller.h"
#include "uikit/collection_view_cell.h"
#include "uikit/index_path.h"

using namespace objc;

OBJC_REGISTER(ColorPicker,
    c.method<&ColorPicker::delegate>("delegate");
    c.method<&ColorPicker::setDelegate>("setDelegate:");
    c.method<&ColorPicker::possibleColors>("possibleColors");
    c.method<&ColorPicker::setPossibleColors>("setPossibleColors:");
    c.method<&ColorPicker::possibleColorButtons>("possibleColorButtons");
    c.method<&ColorPicker::setPossibleColorButtons>("setPossibleColorButtons:");
    c.method<&ColorPicker::colorCollection>("colorCollection");
    c.method<&ColorPicker::setColorCollection>("setColorCollection:");
    c.method<&ColorPicker::collectionViewNumberOfItemsInSection>("collectionView:numberOfItemsInSection:");
    c.method<&ColorPicker::collectionViewCellForItemAtIndexPath>("collectionView:cellForItemAtIndexPath:");
    c.method<&ColorPicker::collectionViewLayoutSizeForItemAtIndexPath>("collectionView:layout:sizeForItemAtIndexPath:");
    c.method<&ColorPicker::collectionViewLayoutInsetForSectionAtIndex>("collectionView:layout:insetForSectionAtIndex:");
    c.method<&ColorPicker::collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex>(
        "collectionView:layout:minimumInteritemSpacingForSectionAtIndex:");
    c.method<&ColorPicker::colorPicked>("colorPicked:");
    c.method<&ColorPicker::returnToParentWithButton>("returnToParentWithButton:");)

namespace {

constexpr const char* kCellIdentifier = "cellIdentifier";
constexpr CGFloat kItem = 50;
constexpr CGFloat kInset = 10;

// The text without its first character (one UTF-8 sequence, whatever it is).
std::string withoutFirstCharacter(const std::string& text)
{
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return text.substr(std::min(length, text.size()));
}

bool onlyHexDigits(const std::string& text)
{
    return text.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
}

} // namespace

std::vector<float> ColorPicker::paletteHues()
{
    std::vector<float> hues;
    const float step = 0.01f;
    for (float hue = 0.0f; hue < 1.0f; hue += step)
        hues.push_back(hue);
    return hues;
}

std::shared_ptr<UIButton> ColorPicker::paletteButton(const std::shared_ptr<UIColor>& color)
{
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectZero);
    button->setBackgroundColor(color);
    button->addTargetActionForControlEvents(self(), "colorPicked:"_sel, UIControlEventTouchUpInside);
    return button;
}

void ColorPicker::viewDidLoad()
{
    UIViewController::viewDidLoad();
    const auto& root = view();
    root->setBackgroundColor(UIColor::clearColor());
    setEdgesForExtendedLayout(UIRectEdgeNone);

    auto layout = std::make_shared<UICollectionViewFlowLayout>();
    colorCollection_ = msgSend<std::shared_ptr<UICollectionView>>(
        alloc<UICollectionView>(), "initWithFrame:collectionViewLayout:"_sel, root->bounds(), layout);
    colorCollection_->setDataSource(self());
    colorCollection_->setDelegate(self());
    colorCollection_->setBackgroundColor(UIColor::clearColor());
    colorCollection_->registerClassForCellWithReuseIdentifier(UICollectionViewCell::class_(), kCellIdentifier);
    // The picker is shown over the list, which is shorter than the screen: the grid follows.
    colorCollection_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    root->addSubview(colorCollection_);

    possibleColors_ = NSMutableArray::array();
    possibleColorButtons_ = NSMutableArray::array();
    for (float hue : paletteHues())
        possibleColors_->addObject(UIColor::colorWithHueSaturationBrightnessAlpha(hue, 1.0, 1.0, 1.0));
    for (const id& color : *possibleColors_)
        possibleColorButtons_->addObject(paletteButton(std::static_pointer_cast<UIColor>(color)));
    possibleColorButtons_->addObject(paletteButton(UIColor::whiteColor()));
    possibleColorButtons_->addObject(paletteButton(UIColor::blackColor()));

    auto hex = UIButton::buttonWithType(UIButtonTypeCustom);
    hex->setFrame(CGRectZero);
    hex->setBackgroundColor(root->backgroundColor());
    hex->setTitleForState("Hex", UIControlStateNormal);
    hex->setTitleColorForState(root->tintColor(), UIControlStateNormal);
    hex->addTargetActionForControlEvents(self(), "returnToParentWithButton:"_sel, UIControlEventTouchUpInside);
    possibleColorButtons_->addObject(hex);
}

long ColorPicker::collectionViewNumberOfItemsInSection(const id&, long)
{
    return possibleColorButtons_ ? static_cast<long>(possibleColorButtons_->count()) : 0;
}

id ColorPicker::collectionViewCellForItemAtIndexPath(const id& grid, const std::shared_ptr<NSIndexPath>& indexPath)
{
    auto collection = std::dynamic_pointer_cast<UICollectionView>(grid);
    auto cell = collection ? collection->dequeueReusableCellWithReuseIdentifierForIndexPath(kCellIdentifier, indexPath)
                           : nullptr;
    auto button = std::dynamic_pointer_cast<UIButton>(
        possibleColorButtons_ ? possibleColorButtons_->objectAtIndex(static_cast<unsigned long>(indexPath->item()))
                              : nullptr);
    if (!cell || !button)
        return cell;
    // A reused cell still holds the button of the item it showed before; only one may show.
    for (const auto& sub : std::vector(cell->subviews()))
        if (sub != button && std::dynamic_pointer_cast<UIButton>(sub))
            sub->removeFromSuperview();
    button->setFrame(cell->bounds());
    button->layer()->setCornerRadius(button->bounds().size.width / 2);
    cell->addSubview(button);
    return cell;
}

CGSize ColorPicker::collectionViewLayoutSizeForItemAtIndexPath(const id&, const id&, const std::shared_ptr<NSIndexPath>&)
{
    return {kItem, kItem};
}

UIEdgeInsets ColorPicker::collectionViewLayoutInsetForSectionAtIndex(const id&, const id&, long)
{
    return {kInset, kInset, kInset, kInset};
}

CGFloat ColorPicker::collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex(const id&, const id&, long)
{
    return 0;
}

void ColorPicker::colorPicked(const std::shared_ptr<UIButton>& button)
{
    const auto keep = selfAs<ColorPicker>();
    msgSendIfResponds(delegate(), "userSelectedColor:"_sel, button ? button->backgroundColor() : nullptr);
    dismissViewControllerAnimatedCompletion(true, nullptr);
}

void ColorPicker::returnToParentWithButton(const std::shared_ptr<UIButton>&)
{
    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle("Hex Color", "Ex. (#ffffff)",
                                                                                  UIAlertControllerStyleAlert);
    alert->addTextFieldWithConfigurationHandler([](const std::shared_ptr<UITextField>& field) {
        field->setKeyboardType(UIKeyboardTypeDefault);
    });
    // The actions belong to the alert: they reach it, and the picker, without holding them.
    std::weak_ptr<UIAlertController> weakAlert = alert;
    std::weak_ptr<ColorPicker> weakPicker = selfAs<ColorPicker>();
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler("Cancel", UIAlertActionStyleCancel, nullptr));
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
        "Save", UIAlertActionStyleDefault, [weakAlert, weakPicker](const std::shared_ptr<UIAlertAction>&) {
            const auto shown = weakAlert.lock();
            const auto picker = weakPicker.lock();
            if (shown && picker && !shown->textFields().empty())
                picker->hexEntered(shown->textFields().front()->text(), shown->textFields().front());
        }));
    presentViewControllerAnimatedCompletion(alert, true, nullptr);
}

void ColorPicker::hexEntered(const std::string& text, const std::shared_ptr<UITextField>& field)
{
    // Seven characters: a leading mark (any one) and six digits.
    if (NSStr(text)->length() == 7) {
        const std::string digits = withoutFirstCharacter(text);
        field->setText(digits);
        if (onlyHexDigits(digits)) {
            auto button = UIButton::buttonWithType(UIButtonTypeCustom);
            button->setBackgroundColor(HexColors::colorWithHexString(digits));
            colorPicked(button);
            return;
        }
    }
    auto refusal = UIAlertController::alertControllerWithTitleMessagePreferredStyle("ColorPicker", "Not a hex value",
                                                                                    UIAlertControllerStyleAlert);
    refusal->addAction(UIAlertAction::actionWithTitleStyleHandler("OK", UIAlertActionStyleDefault, nullptr));
    presentViewControllerAnimatedCompletion(refusal, true, nullptr);
}

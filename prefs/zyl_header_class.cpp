#include "prefs/zyl_header_class.h"

#include "common/hex_colors.h"
#include "foundation/value_reading.h"
#include "uikit/image.h"

using namespace objc;

OBJC_REGISTER(ZylHeaderClass,
    c.ivar<&ZylHeaderClass::height>("height");
    c.ivar<&ZylHeaderClass::mainView>("mainView");
    c.ivar<&ZylHeaderClass::colorWith>("colorWith");
    c.ivar<&ZylHeaderClass::gradient>("gradient");
    c.ivar<&ZylHeaderClass::maskLayer>("maskLayer");)

id ZylHeaderClass::initWithStyleReuseIdentifierSpecifier(long, const std::shared_ptr<NSString>& reuseIdentifier,
                                                         const std::shared_ptr<PSSpecifier>& specifier)
{
    id made = PSTableCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyleValue1, reuseIdentifier, specifier);
    if (!made)
        return nullptr;
    setBackgroundColor(UIColor::clearColor());
    contentView()->setBackgroundColor(UIColor::clearColor());
    // Single precision, widened, as heights are read.
    height = specifier ? static_cast<double>(foundation::floatValueOf(specifier->propertyForKey("height")).value_or(0)) : 0;

    const CGFloat width = frame().size.width;
    mainView = UIView::create(CGRectMake(0, 0, width, height));
    colorWith = UIView::create(mainView->bounds());
    mainView->addSubview(colorWith);

    gradient = CAGradientLayer::layer();
    gradient->setFrame(colorWith->bounds());
    std::vector<CGColorRef> colours;
    if (auto entries = specifier ? std::dynamic_pointer_cast<NSArray>(specifier->propertyForKey("headerColours")) : nullptr)
        for (const id& entry : *entries)
            if (auto hex = std::dynamic_pointer_cast<NSString>(entry))
                if (auto colour = HexColors::colorWithHexString(hex->string()))
                    colours.push_back(colour->CGColor());
    gradient->setColors(std::move(colours));
    colorWith->layer()->insertSublayerAtIndex(gradient, 0);

    maskLayer = CALayer::layer();
    maskLayer->setFrame(colorWith->bounds());
    const std::string picture = specifier ? specifier->stringProperty("headerImage") : std::string();
    // A picture name that leaves the bundle's folder names no picture.
    if (!picture.empty() && picture.find('/') == std::string::npos && picture != "." && picture != "..")
        maskLayer->setContents(UIImage::imageWithContentsOfFile(std::string(kBundlePath) + "/" + picture));

    mainView->layer()->setMask(maskLayer);
    contentView()->addSubview(mainView);
    setSeparatorInset({0, bounds().size.width, 0, 0});
    return made;
}

void ZylHeaderClass::layoutSubviews()
{
    // Only the banner is placed: the row has no title, value or marks to lay out.
    if (!mainView)
        return;
    mainView->setFrame(CGRectMake(0, 0, frame().size.width, height));
    colorWith->setFrame(mainView->bounds());
    gradient->setFrame(colorWith->bounds());
    maskLayer->setFrame(colorWith->bounds());
}

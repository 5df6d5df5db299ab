// Fonts: a face and a point size, resolved through fontconfig for Pango.
#pragma once

#include "objc/objc.h"
#include "uikit/geometry.h"

#include <memory>
#include <string>

class UIFont : public objc::Object {
    OBJC_CLASS(UIFont, objc::Object)
public:
    UIFont() = default;

    static std::shared_ptr<UIFont> systemFontOfSize(CGFloat size);
    static std::shared_ptr<UIFont> boldSystemFontOfSize(CGFloat size);
    // The platform's face names. ".HelveticaNeueInterface-UltraLightP2" is the ultra-light
    // interface face (DejaVu Sans ExtraLight here). An unknown name gives nil.
    static std::shared_ptr<UIFont> fontWithNameSize(const std::string& name, CGFloat size);

    std::shared_ptr<UIFont> fontWithSize(CGFloat size) const;
    CGFloat pointSize() const { return pointSize_; }
    const std::string& fontName() const { return name_; }
    // Line height in points as Pango lays out one line of this font.
    CGFloat lineHeight() const;
    // The Pango font description: family, weight and size (in points, as absolute size).
    std::string pangoDescription() const;
    std::string description() const override;

    const std::string& family() const { return family_; }
    int weight() const { return weight_; } // Pango weight: 200 extra-light, 400 normal, 700 bold
    bool italic() const { return italic_; }

private:
    std::string name_;
    std::string family_;
    int weight_ = 400;
    bool italic_ = false;
    CGFloat pointSize_ = 12;
};

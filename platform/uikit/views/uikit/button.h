// Buttons: a control with a title (and title colour) per control state, shown by its title
// label, a subview that fills the button.
#pragma once

#include "uikit/control.h"
#include "uikit/label.h"

#include <map>
#include <string>

enum UIButtonType : long {
    UIButtonTypeCustom = 0,
    UIButtonTypeSystem = 1,
    UIButtonTypeDetailDisclosure = 2,
    UIButtonTypeInfoLight = 3,
    UIButtonTypeInfoDark = 4,
    UIButtonTypeContactAdd = 5,
};

class UIButton : public UIControl {
    OBJC_CLASS(UIButton, UIControl)
public:
    UIButton();

    // A button of the type with a zero frame, made through the runtime. 0 is the plain
    // (custom) button.
    static std::shared_ptr<UIButton> buttonWithType(long type);
    long buttonType() const { return buttonType_; }

    // A state without its own title or colour uses the normal state's.
    void setTitleForState(const std::string& title, unsigned long state);
    std::string titleForState(unsigned long state) const;
    // Nil removes the state's own colour. Without any, the title is white on a plain button
    // and in the tint colour on the other types.
    void setTitleColorForState(std::shared_ptr<UIColor> color, unsigned long state);
    std::shared_ptr<UIColor> titleColorForState(unsigned long state) const;
    std::string currentTitle() const { return titleForState(state()); }
    std::shared_ptr<UIColor> currentTitleColor() const { return titleColorForState(state()); }

    const std::shared_ptr<UILabel>& titleLabel() const { return titleLabel_; }

    void layoutSubviews() override;
    // The title's size (zero without title).
    CGSize sizeThatFits(CGSize size) const override;

protected:
    void stateDidChange() override { updateTitleLabel(); }

private:
    void updateTitleLabel();

    long buttonType_ = UIButtonTypeCustom;
    std::map<unsigned long, std::string> titles_;
    std::map<unsigned long, std::shared_ptr<UIColor>> titleColors_;
    std::shared_ptr<UILabel> titleLabel_;
};

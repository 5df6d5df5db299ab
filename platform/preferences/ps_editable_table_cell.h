// Text rows: the title on the left, an editable field on the right. When editing ends the text
// is written (a string) through the specifier's setter; "placeholder" gives the field's hint.
#pragma once

#include "preferences/ps_table_cell.h"
#include "uikit/text_field.h"

class UILabel;

class PSEditableTableCell : public PSTableCell {
    OBJC_CLASS(PSEditableTableCell, PSTableCell)
public:
    objc::id initWithStyleReuseIdentifierSpecifier(long style, const std::shared_ptr<NSString>& reuseIdentifier,
                                                   const std::shared_ptr<PSSpecifier>& specifier) override;

    // The value's text (a number's too); nothing for nil.
    void setValue(const objc::id& value) override;
    // Runtime selector "textField".
    const std::shared_ptr<UITextField>& textField() const { return field_; }

    void layoutSubviews() override;

private:
    // Runtime selectors "_editingChanged:" and "_editingEnded:".
    void editingChanged(const objc::id& sender);
    void editingEnded(const objc::id& sender);

    std::shared_ptr<UITextField> field_;
    // The renderer draws labels, not fields: the field's text (or its placeholder) is shown here.
    std::shared_ptr<UILabel> shown_;
};

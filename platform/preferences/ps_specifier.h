// Specifiers: one row of a Settings list (or the start of a group of rows) — its kind, its title,
// the controller that reads and writes its value, and its properties dictionary, which holds
// every entry the row was described with ("key", "default", "PostNotification", ...).
//
// Ownership: the specifier owns its properties; its target (the list controller) is not retained.
#pragma once

#include "foundation/ns_array.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_string.h"
#include "objc/objc.h"

#include <memory>
#include <string>

enum PSCellType : long {
    PSGroupCell = 0,
    PSLinkCell = 1,       // opens another page (or whatever the controller does with it)
    PSLinkListCell = 2,   // a choice among values, picked on a page of its own
    PSListItemCell = 3,   // one value of such a page
    PSTitleValueCell = 4, // a title and a value to read
    PSSliderCell = 5,
    PSSwitchCell = 6,
    PSStaticTextCell = 7,
    PSEditTextCell = 8,
    PSButtonCell = 13,
};

class PSSpecifier : public objc::Object {
    OBJC_CLASS(PSSpecifier, objc::Object)
public:
    // +preferenceSpecifierNamed:target:set:get:detail:cell:edit:
    static std::shared_ptr<PSSpecifier> preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        const std::string& name, const objc::id& target, objc::SEL setter, objc::SEL getter, objc::Class detail,
        long cell, objc::Class edit);
    static std::shared_ptr<PSSpecifier> groupSpecifierWithName(const std::string& name);
    // The kind named in a specifier list ("PSSwitchCell", ...); -1 for a name it does not know.
    static long cellTypeFromString(const std::string& name);

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    // "id" when given, else the name.
    const std::string& identifier() const { return identifier_.empty() ? name_ : identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    long cellType() const { return cellType_; }
    void setCellType(long type) { cellType_ = type; }

    objc::id target() const { return target_.lock(); }
    void setTarget(const objc::id& target) { target_ = target; }
    // Sent to the target: the getter takes the specifier when its name ends in ':'; the setter
    // takes the value and the specifier; the action takes the specifier or nothing.
    objc::SEL getter() const { return getter_; }
    objc::SEL setter() const { return setter_; }
    void setGetterSetter(objc::SEL getter, objc::SEL setter) { getter_ = getter, setter_ = setter; }
    objc::SEL action() const { return action_; }
    void setAction(objc::SEL action) { action_ = action; }
    // The page a link row opens, and the table cell class a row is shown with (nil: the
    // kind's own).
    objc::Class detailControllerClass() const { return detail_; }
    void setDetailControllerClass(objc::Class cls) { detail_ = cls; }
    objc::Class cellClass() const { return cellClass_; }
    void setCellClass(objc::Class cls) { cellClass_ = cls; }

    const std::shared_ptr<NSMutableDictionary>& properties() const { return properties_; }
    void setProperties(std::shared_ptr<NSMutableDictionary> properties);
    objc::id propertyForKey(const std::shared_ptr<NSString>& key) const;
    objc::id propertyForKey(std::string_view key) const { return properties_->objectForKey(key); }
    // A nil value removes the property.
    void setPropertyForKey(const objc::id& value, const std::shared_ptr<NSString>& key);
    void setPropertyForKey(const objc::id& value, std::string key) { properties_->setObjectForKey(value, std::move(key)); }
    // The property as text ("" when absent or not a string or number).
    std::string stringProperty(std::string_view key) const;

    // The values of a choice row and their titles, in order: "validValues" / "validTitles",
    // or the answers of the target's "valuesDataSource" / "titlesDataSource" methods, asked
    // afresh each time (the target may fill its lists after the rows were made). Titles that
    // are missing show their value.
    std::shared_ptr<NSArray> values() const;
    std::shared_ptr<NSArray> titles() const;
    void setValuesTitles(const std::shared_ptr<NSArray>& values, const std::shared_ptr<NSArray>& titles);
    // The title shown for a value: its title when the value is one of values(), else its text.
    std::string titleForValue(const objc::id& value) const;

    // Sends the getter to the target: nil without one.
    objc::id performGetter();
    // Sends the setter to the target with the value and this specifier; nothing without one.
    void performSetter(const objc::id& value);

    std::string description() const override { return "PSSpecifier <" + name_ + ">"; }

private:
    std::shared_ptr<NSArray> listFrom(std::string_view arrayKey, std::string_view sourceKey) const;

    std::string name_;
    std::string identifier_;
    long cellType_ = PSGroupCell;
    std::weak_ptr<objc::Object> target_;
    objc::SEL getter_ = nullptr;
    objc::SEL setter_ = nullptr;
    objc::SEL action_ = nullptr;
    objc::Class detail_ = nullptr;
    objc::Class cellClass_ = nullptr;
    std::shared_ptr<NSMutableDictionary> properties_ = std::make_shared<NSMutableDictionary>();
};

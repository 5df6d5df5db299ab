#include "preferences/ps_specifier_list.h"

#include "foundation/value_reading.h"
#include "preferences/ps_specifier.h"

using namespace objc;

namespace {

std::string text(const std::shared_ptr<NSDictionary>& item, std::string_view key)
{
    auto value = std::dynamic_pointer_cast<NSString>(item->objectForKey(key));
    return value ? value->string() : std::string();
}

SEL selectorOrNull(const std::string& name) { return name.empty() ? nullptr : sel_registerName(name); }

Class classOrNull(const std::string& name) { return name.empty() ? nullptr : objc_getClass(name); }

std::shared_ptr<PSSpecifier> specifierFrom(const std::shared_ptr<NSDictionary>& item, const id& target)
{
    const Class cellClass = classOrNull(text(item, "cellClass"));
    long kind = PSSpecifier::cellTypeFromString(text(item, "cell"));
    if (kind < 0) {
        if (!cellClass)
            return nullptr;
        kind = PSStaticTextCell; // a custom row that names no kind shows itself
    }
    auto specifier = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        text(item, "label"), target, nullptr, nullptr, classOrNull(text(item, "detail")), kind, nullptr);
    specifier->setIdentifier(text(item, "id"));
    specifier->setProperties(NSMutableDictionary::dictionaryWithDictionary(item));
    specifier->setCellClass(cellClass);
    specifier->setAction(selectorOrNull(text(item, "action")));

    SEL getter = selectorOrNull(text(item, "get"));
    SEL setter = selectorOrNull(text(item, "set"));
    if (kind != PSGroupCell && !text(item, "key").empty()) {
        if (!getter)
            getter = "readPreferenceValue:"_sel;
        if (!setter)
            setter = "setPreferenceValue:specifier:"_sel;
    }
    specifier->setGetterSetter(getter, setter);
    return specifier;
}

} // namespace

namespace preferences {

std::shared_ptr<NSMutableArray> specifiersFromPlist(const std::shared_ptr<NSDictionary>& plist, const id& target)
{
    auto rows = NSMutableArray::array();
    auto items = plist ? std::dynamic_pointer_cast<NSArray>(plist->objectForKey("items")) : nullptr;
    if (!items)
        return rows;
    for (const id& entry : *items) {
        if (auto item = std::dynamic_pointer_cast<NSDictionary>(entry))
            rows->addObject(specifierFrom(item, target));
    }
    return rows;
}

} // namespace preferences

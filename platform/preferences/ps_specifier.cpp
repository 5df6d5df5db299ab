#include "preferences/ps_specifier.h"

#include "foundation/value_reading.h"
#include "preferences/ps_target_call.h"

#include <array>
#include <utility>

using namespace objc;

OBJC_REGISTER(PSSpecifier,
    c.method<&PSSpecifier::properties>("properties");
    c.method<&PSSpecifier::setProperties>("setProperties:");
    c.method<static_cast<id (PSSpecifier::*)(const std::shared_ptr<NSString>&) const>(&PSSpecifier::propertyForKey)>(
        "propertyForKey:");
    c.method<static_cast<void (PSSpecifier::*)(const id&, const std::shared_ptr<NSString>&)>(
        &PSSpecifier::setPropertyForKey)>("setProperty:forKey:");
    c.method<&PSSpecifier::cellType>("cellType");
    c.method<&PSSpecifier::setCellType>("setCellType:");
    c.method<&PSSpecifier::target>("target");
    c.method<&PSSpecifier::setTarget>("setTarget:");
    c.method<&PSSpecifier::values>("values");
    c.method<&PSSpecifier::titles>("titles");
    c.method<&PSSpecifier::setValuesTitles>("setValues:titles:");)

namespace {

constexpr std::array<std::pair<const char*, PSCellType>, 10> kCellNames{{
    {"PSGroupCell", PSGroupCell},
    {"PSLinkCell", PSLinkCell},
    {"PSLinkListCell", PSLinkListCell},
    {"PSListItemCell", PSListItemCell},
    {"PSTitleValueCell", PSTitleValueCell},
    {"PSSliderCell", PSSliderCell},
    {"PSSwitchCell", PSSwitchCell},
    {"PSStaticTextCell", PSStaticTextCell},
    {"PSEditTextCell", PSEditTextCell},
    {"PSButtonCell", PSButtonCell},
}};

} // namespace

std::shared_ptr<PSSpecifier> PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
    const std::string& name, const id& target, SEL setter, SEL getter, Class detail, long cell, Class edit)
{
    auto specifier = alloc<PSSpecifier>();
    specifier->name_ = name;
    specifier->target_ = target;
    specifier->setter_ = setter;
    specifier->getter_ = getter;
    specifier->detail_ = detail;
    specifier->cellType_ = cell;
    return specifier;
}

std::shared_ptr<PSSpecifier> PSSpecifier::groupSpecifierWithName(const std::string& name)
{
    return preferenceSpecifierNamedTargetSetGetDetailCellEdit(name, nullptr, nullptr, nullptr, nullptr, PSGroupCell,
                                                              nullptr);
}

long PSSpecifier::cellTypeFromString(const std::string& name)
{
    for (const auto& [text, type] : kCellNames)
        if (name == text)
            return type;
    return -1;
}

void PSSpecifier::setProperties(std::shared_ptr<NSMutableDictionary> properties)
{
    properties_ = properties ? std::move(properties) : std::make_shared<NSMutableDictionary>();
}

id PSSpecifier::propertyForKey(const std::shared_ptr<NSString>& key) const
{
    return key ? properties_->objectForKey(key->string()) : nullptr;
}

void PSSpecifier::setPropertyForKey(const id& value, const std::shared_ptr<NSString>& key)
{
    if (key)
        properties_->setObjectForKey(value, key->string());
}

std::string PSSpecifier::stringProperty(std::string_view key) const
{
    return foundation::stringValueOf(propertyForKey(key)).value_or("");
}

std::shared_ptr<NSArray> PSSpecifier::listFrom(std::string_view arrayKey, std::string_view sourceKey) const
{
    if (const std::string source = stringProperty(sourceKey); !source.empty())
        return std::dynamic_pointer_cast<NSArray>(preferences::callGetter(target(), sel_registerName(source), nullptr));
    return std::dynamic_pointer_cast<NSArray>(propertyForKey(arrayKey));
}

std::shared_ptr<NSArray> PSSpecifier::values() const
{
    auto list = listFrom("validValues", "valuesDataSource");
    return list ? list : NSArray::array();
}

std::shared_ptr<NSArray> PSSpecifier::titles() const
{
    auto list = listFrom("validTitles", "titlesDataSource");
    return list ? list : values();
}

void PSSpecifier::setValuesTitles(const std::shared_ptr<NSArray>& values, const std::shared_ptr<NSArray>& titles)
{
    properties_->removeObjectForKey("valuesDataSource");
    properties_->removeObjectForKey("titlesDataSource");
    setPropertyForKey(values, "validValues");
    setPropertyForKey(titles, "validTitles");
}

std::string PSSpecifier::titleForValue(const id& value) const
{
    const auto list = values();
    const auto names = titles();
    if (const unsigned long index = list->indexOfObject(value); index != NSNotFound)
        if (auto title = foundation::stringValueOf(names->objectAtIndex(index)))
            return *title;
    return foundation::stringValueOf(value).value_or("");
}

id PSSpecifier::performGetter() { return preferences::callGetter(target(), getter_, selfAs<PSSpecifier>()); }

void PSSpecifier::performSetter(const id& value)
{
    preferences::callSetter(target(), setter_, value, selfAs<PSSpecifier>());
}

#include "foundation/ns_dictionary.h"

#include "foundation/collection_depth.h"
#include "foundation/ns_array.h"
#include "foundation/ns_string.h"
#include "foundation/property_list.h"

namespace {

std::string_view pathText(const std::shared_ptr<NSString>& path) { return path ? std::string_view(path->string()) : std::string_view(); }

} // namespace

NSDictionary::NSDictionary(std::vector<Entry> entries)
{
    for (auto& [key, value] : entries)
        set(std::move(key), std::move(value));
}

std::shared_ptr<NSDictionary> NSDictionary::dictionary() { return std::make_shared<NSDictionary>(); }

std::shared_ptr<NSDictionary> NSDictionary::dictionaryWithDictionary(const std::shared_ptr<NSDictionary>& other)
{
    return std::make_shared<NSDictionary>(other ? other->entries_ : std::vector<Entry>());
}

std::shared_ptr<NSDictionary> NSDictionary::dictionaryWithContentsOfFile(std::string_view devicePath)
{
    return std::dynamic_pointer_cast<NSDictionary>(
        foundation::readPropertyListFile(devicePath, foundation::PropertyListContainers::Immutable));
}

std::shared_ptr<NSDictionary> NSDictionary::dictionaryWithContentsOfFile(const std::shared_ptr<NSString>& devicePath)
{
    return dictionaryWithContentsOfFile(pathText(devicePath));
}

objc::id NSDictionary::objectForKey(std::string_view key) const
{
    auto found = index_.find(key);
    return found == index_.end() ? nullptr : entries_[found->second].second;
}

objc::id NSDictionary::objectForKey(const std::shared_ptr<NSString>& key) const
{
    return key ? objectForKey(std::string_view(key->string())) : nullptr;
}

std::shared_ptr<NSArray> NSDictionary::allKeys() const
{
    std::vector<objc::id> keys;
    keys.reserve(entries_.size());
    for (const auto& entry : entries_)
        keys.push_back(NSStr(entry.first));
    return NSArray::arrayWithObjects(std::move(keys));
}

std::shared_ptr<NSArray> NSDictionary::allValues() const
{
    std::vector<objc::id> values;
    values.reserve(entries_.size());
    for (const auto& entry : entries_)
        values.push_back(entry.second);
    return NSArray::arrayWithObjects(std::move(values));
}

bool NSDictionary::writeToFileAtomically(std::string_view devicePath, bool atomically) const
{
    return foundation::writePropertyListFile(this, devicePath, atomically);
}

bool NSDictionary::writeToFileAtomically(const std::shared_ptr<NSString>& devicePath, bool atomically) const
{
    return writeToFileAtomically(pathText(devicePath), atomically);
}

std::string NSDictionary::description() const
{
    foundation::detail::CollectionDepth depth;
    if (depth.tooDeep())
        return "{...}";
    std::string text = "{";
    for (std::size_t i = 0; i < entries_.size(); ++i)
        text += (i ? "; " : "") + entries_[i].first + " = " + entries_[i].second->description();
    return text + "}";
}

bool NSDictionary::isEqual(const objc::Object* other) const
{
    if (other == this)
        return true;
    auto* dictionary = dynamic_cast<const NSDictionary*>(other);
    if (!dictionary || dictionary->entries_.size() != entries_.size())
        return false;
    foundation::detail::CollectionDepth depth;
    if (depth.tooDeep())
        return false;
    for (const auto& [key, value] : entries_) {
        objc::id theirs = dictionary->objectForKey(key);
        if (!theirs || !value->isEqual(theirs.get()))
            return false;
    }
    return true;
}

void NSDictionary::set(std::string key, objc::id value)
{
    if (!value) {
        remove(key);
        return;
    }
    if (auto found = index_.find(key); found != index_.end()) {
        entries_[found->second].second = std::move(value);
        return;
    }
    index_.emplace(key, entries_.size());
    entries_.emplace_back(std::move(key), std::move(value));
}

void NSDictionary::remove(std::string_view key)
{
    auto found = index_.find(key);
    if (found == index_.end())
        return;
    const std::size_t position = found->second;
    index_.erase(found);
    // Released last: the value's destructor may look at this dictionary again.
    objc::id removed = std::move(entries_[position].second);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& [name, slot] : index_)
        if (slot > position)
            --slot;
}

void NSDictionary::clear()
{
    entries_.clear();
    index_.clear();
}

// --- NSMutableDictionary -------------------------------------------------------------------

std::shared_ptr<NSMutableDictionary> NSMutableDictionary::dictionary() { return std::make_shared<NSMutableDictionary>(); }

std::shared_ptr<NSMutableDictionary> NSMutableDictionary::dictionaryWithDictionary(const std::shared_ptr<NSDictionary>& other)
{
    auto result = std::make_shared<NSMutableDictionary>();
    result->addEntriesFromDictionary(other);
    return result;
}

std::shared_ptr<NSMutableDictionary> NSMutableDictionary::dictionaryWithContentsOfFile(std::string_view devicePath)
{
    return std::dynamic_pointer_cast<NSMutableDictionary>(
        foundation::readPropertyListFile(devicePath, foundation::PropertyListContainers::Mutable));
}

std::shared_ptr<NSMutableDictionary> NSMutableDictionary::dictionaryWithContentsOfFile(
    const std::shared_ptr<NSString>& devicePath)
{
    return dictionaryWithContentsOfFile(pathText(devicePath));
}

void NSMutableDictionary::setObjectForKey(const objc::id& value, const std::shared_ptr<NSString>& key)
{
    if (key)
        set(key->string(), value);
}

void NSMutableDictionary::removeObjectForKey(const std::shared_ptr<NSString>& key)
{
    if (key)
        remove(key->string());
}

void NSMutableDictionary::addEntriesFromDictionary(const std::shared_ptr<NSDictionary>& other)
{
    if (!other || other.get() == this)
        return;
    for (const auto& [key, value] : *other)
        set(key, value);
}

namespace {
using StringArg = const std::shared_ptr<NSString>&;
}

OBJC_REGISTER(NSDictionary,
    c.classMethod<static_cast<std::shared_ptr<NSDictionary> (*)()>(&NSDictionary::dictionary)>("dictionary");
    c.classMethod<static_cast<std::shared_ptr<NSDictionary> (*)(StringArg)>(&NSDictionary::dictionaryWithContentsOfFile)>(
        "dictionaryWithContentsOfFile:");
    c.method<&NSDictionary::count>("count");
    c.method<static_cast<objc::id (NSDictionary::*)(StringArg) const>(&NSDictionary::objectForKey)>("objectForKey:");
    c.method<&NSDictionary::allKeys>("allKeys");
    c.method<&NSDictionary::allValues>("allValues");
    c.method<static_cast<bool (NSDictionary::*)(StringArg, bool) const>(&NSDictionary::writeToFileAtomically)>(
        "writeToFile:atomically:");)

OBJC_REGISTER(NSMutableDictionary,
    c.classMethod<static_cast<std::shared_ptr<NSMutableDictionary> (*)()>(&NSMutableDictionary::dictionary)>("dictionary");
    c.classMethod<static_cast<std::shared_ptr<NSMutableDictionary> (*)(StringArg)>(
        &NSMutableDictionary::dictionaryWithContentsOfFile)>("dictionaryWithContentsOfFile:");
    c.method<static_cast<void (NSMutableDictionary::*)(const objc::id&, StringArg)>(
        &NSMutableDictionary::setObjectForKey)>("setObject:forKey:");
    c.method<static_cast<void (NSMutableDictionary::*)(StringArg)>(&NSMutableDictionary::removeObjectForKey)>(
        "removeObjectForKey:");
    c.method<&NSMutableDictionary::removeAllObjects>("removeAllObjects");
    c.method<&NSMutableDictionary::addEntriesFromDictionary>("addEntriesFromDictionary:");)

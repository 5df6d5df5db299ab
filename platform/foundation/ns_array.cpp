#include "foundation/ns_array.h"

#include "foundation/collection_depth.h"
#include "foundation/ns_string.h"
#include "foundation/property_list.h"

#include <algorithm>

namespace {

std::vector<objc::id> withoutNil(std::vector<objc::id> objects)
{
    std::erase(objects, nullptr);
    return objects;
}

std::string_view pathText(const std::shared_ptr<NSString>& path) { return path ? std::string_view(path->string()) : std::string_view(); }

} // namespace

NSArray::NSArray(std::vector<objc::id> objects) : objects_(withoutNil(std::move(objects))) {}

std::shared_ptr<NSArray> NSArray::array() { return std::make_shared<NSArray>(); }

std::shared_ptr<NSArray> NSArray::arrayWithObjects(std::vector<objc::id> objects)
{
    return std::make_shared<NSArray>(std::move(objects));
}

std::shared_ptr<NSArray> NSArray::arrayWithArray(const std::shared_ptr<NSArray>& other)
{
    return std::make_shared<NSArray>(other ? other->objects_ : std::vector<objc::id>());
}

std::shared_ptr<NSArray> NSArray::arrayWithContentsOfFile(std::string_view devicePath)
{
    return std::dynamic_pointer_cast<NSArray>(
        foundation::readPropertyListFile(devicePath, foundation::PropertyListContainers::Immutable));
}

std::shared_ptr<NSArray> NSArray::arrayWithContentsOfFile(const std::shared_ptr<NSString>& devicePath)
{
    return arrayWithContentsOfFile(pathText(devicePath));
}

unsigned long NSArray::indexOfObject(const objc::id& object) const
{
    if (!object)
        return NSNotFound;
    auto found = std::find_if(objects_.begin(), objects_.end(), [&](const objc::id& o) { return object->isEqual(o.get()); });
    return found == objects_.end() ? NSNotFound : static_cast<unsigned long>(found - objects_.begin());
}

bool NSArray::writeToFileAtomically(std::string_view devicePath, bool atomically) const
{
    return foundation::writePropertyListFile(this, devicePath, atomically);
}

bool NSArray::writeToFileAtomically(const std::shared_ptr<NSString>& devicePath, bool atomically) const
{
    return writeToFileAtomically(pathText(devicePath), atomically);
}

std::string NSArray::description() const
{
    foundation::detail::CollectionDepth depth;
    if (depth.tooDeep())
        return "(...)";
    std::string text = "(";
    for (std::size_t i = 0; i < objects_.size(); ++i)
        text += (i ? ", " : "") + objects_[i]->description();
    return text + ")";
}

bool NSArray::isEqual(const objc::Object* other) const
{
    if (other == this)
        return true;
    auto* array = dynamic_cast<const NSArray*>(other);
    if (!array || array->objects_.size() != objects_.size())
        return false;
    foundation::detail::CollectionDepth depth;
    if (depth.tooDeep())
        return false;
    for (std::size_t i = 0; i < objects_.size(); ++i)
        if (!objects_[i]->isEqual(array->objects_[i].get()))
            return false;
    return true;
}

// --- NSMutableArray ------------------------------------------------------------------------

std::shared_ptr<NSMutableArray> NSMutableArray::array() { return std::make_shared<NSMutableArray>(); }

std::shared_ptr<NSMutableArray> NSMutableArray::arrayWithObjects(std::vector<objc::id> objects)
{
    return std::make_shared<NSMutableArray>(std::move(objects));
}

std::shared_ptr<NSMutableArray> NSMutableArray::arrayWithArray(const std::shared_ptr<NSArray>& other)
{
    return std::make_shared<NSMutableArray>(other ? other->objects() : std::vector<objc::id>());
}

std::shared_ptr<NSMutableArray> NSMutableArray::arrayWithContentsOfFile(std::string_view devicePath)
{
    return std::dynamic_pointer_cast<NSMutableArray>(
        foundation::readPropertyListFile(devicePath, foundation::PropertyListContainers::Mutable));
}

std::shared_ptr<NSMutableArray> NSMutableArray::arrayWithContentsOfFile(const std::shared_ptr<NSString>& devicePath)
{
    return arrayWithContentsOfFile(pathText(devicePath));
}

void NSMutableArray::addObject(const objc::id& object)
{
    if (object)
        objects_.push_back(object);
}

void NSMutableArray::insertObjectAtIndex(const objc::id& object, unsigned long index)
{
    if (!object)
        return;
    objects_.insert(objects_.begin() + static_cast<std::ptrdiff_t>(std::min<unsigned long>(index, objects_.size())), object);
}

void NSMutableArray::removeObject(const objc::id& object)
{
    if (!object)
        return;
    // The argument may itself be an element: hold it while the list changes.
    const objc::id keep = object;
    std::erase_if(objects_, [&](const objc::id& o) { return keep->isEqual(o.get()); });
}

void NSMutableArray::removeObjectAtIndex(unsigned long index)
{
    if (index < objects_.size())
        objects_.erase(objects_.begin() + static_cast<std::ptrdiff_t>(index));
}

void NSMutableArray::addObjectsFromArray(const std::shared_ptr<NSArray>& other)
{
    if (!other)
        return;
    // Copied first: the other array may be this one.
    const std::vector<objc::id> added = other->objects();
    objects_.insert(objects_.end(), added.begin(), added.end());
}

namespace {
using PathArg = const std::shared_ptr<NSString>&;
}

OBJC_REGISTER(NSArray,
    c.classMethod<static_cast<std::shared_ptr<NSArray> (*)()>(&NSArray::array)>("array");
    c.classMethod<static_cast<std::shared_ptr<NSArray> (*)(PathArg)>(&NSArray::arrayWithContentsOfFile)>(
        "arrayWithContentsOfFile:");
    c.method<&NSArray::count>("count");
    c.method<&NSArray::objectAtIndex>("objectAtIndex:");
    c.method<&NSArray::firstObject>("firstObject");
    c.method<&NSArray::lastObject>("lastObject");
    c.method<&NSArray::indexOfObject>("indexOfObject:");
    c.method<&NSArray::containsObject>("containsObject:");
    c.method<static_cast<bool (NSArray::*)(PathArg, bool) const>(&NSArray::writeToFileAtomically)>(
        "writeToFile:atomically:");)

OBJC_REGISTER(NSMutableArray,
    c.classMethod<static_cast<std::shared_ptr<NSMutableArray> (*)()>(&NSMutableArray::array)>("array");
    c.classMethod<static_cast<std::shared_ptr<NSMutableArray> (*)(PathArg)>(&NSMutableArray::arrayWithContentsOfFile)>(
        "arrayWithContentsOfFile:");
    c.method<&NSMutableArray::addObject>("addObject:");
    c.method<&NSMutableArray::insertObjectAtIndex>("insertObject:atIndex:");
    c.method<&NSMutableArray::removeObject>("removeObject:");
    c.method<&NSMutableArray::removeObjectAtIndex>("removeObjectAtIndex:");
    c.method<&NSMutableArray::removeAllObjects>("removeAllObjects");
    c.method<&NSMutableArray::addObjectsFromArray>("addObjectsFromArray:");)

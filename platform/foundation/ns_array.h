// NSArray and NSMutableArray: ordered lists of objects, held strongly. A mutable array is
// shared by reference: everyone holding it sees the same list. Nil is never an element.
//
// Iterators and objects() are invalidated by any change to a mutable array; copy the list
// first when the loop may change it.
#pragma once

#include "objc/objc.h"

#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class NSString;

// The index reported for an object that is not in the list.
inline constexpr unsigned long NSNotFound = static_cast<unsigned long>(std::numeric_limits<long>::max());

class NSArray : public objc::Object {
    OBJC_CLASS(NSArray, objc::Object)
public:
    using const_iterator = std::vector<objc::id>::const_iterator;

    NSArray() = default;
    // Nil entries are left out.
    explicit NSArray(std::vector<objc::id> objects);

    static std::shared_ptr<NSArray> array();
    static std::shared_ptr<NSArray> arrayWithObjects(std::vector<objc::id> objects);
    static std::shared_ptr<NSArray> arrayWithArray(const std::shared_ptr<NSArray>& other);
    // The array in the property-list file at the device path; nil when the file is missing,
    // unreadable, not a property list or its root is not an array.
    static std::shared_ptr<NSArray> arrayWithContentsOfFile(std::string_view devicePath);
    static std::shared_ptr<NSArray> arrayWithContentsOfFile(const std::shared_ptr<NSString>& devicePath);

    unsigned long count() const { return objects_.size(); }
    // Nil when the index is out of range.
    objc::id objectAtIndex(unsigned long index) const { return index < objects_.size() ? objects_[index] : nullptr; }
    objc::id firstObject() const { return objects_.empty() ? nullptr : objects_.front(); }
    objc::id lastObject() const { return objects_.empty() ? nullptr : objects_.back(); }
    // By isEqual; NSNotFound when absent (and for nil).
    unsigned long indexOfObject(const objc::id& object) const;
    bool containsObject(const objc::id& object) const { return indexOfObject(object) != NSNotFound; }

    const_iterator begin() const { return objects_.begin(); }
    const_iterator end() const { return objects_.end(); }
    const std::vector<objc::id>& objects() const { return objects_; }

    // Writes the array as an XML property list (see NSDictionary::writeToFileAtomically).
    bool writeToFileAtomically(std::string_view devicePath, bool atomically) const;
    bool writeToFileAtomically(const std::shared_ptr<NSString>& devicePath, bool atomically) const;

    std::string description() const override;
    // Equal when both hold equal objects in the same order.
    bool isEqual(const objc::Object* other) const override;
    std::size_t hash() const override { return objects_.size(); }

protected:
    std::vector<objc::id> objects_;
};

class NSMutableArray : public NSArray {
    OBJC_CLASS(NSMutableArray, NSArray)
public:
    using NSArray::NSArray;

    static std::shared_ptr<NSMutableArray> array();
    static std::shared_ptr<NSMutableArray> arrayWithObjects(std::vector<objc::id> objects);
    static std::shared_ptr<NSMutableArray> arrayWithArray(const std::shared_ptr<NSArray>& other);
    // As NSArray's, with every array and dictionary inside mutable too.
    static std::shared_ptr<NSMutableArray> arrayWithContentsOfFile(std::string_view devicePath);
    static std::shared_ptr<NSMutableArray> arrayWithContentsOfFile(const std::shared_ptr<NSString>& devicePath);

    // Adding nil does nothing.
    void addObject(const objc::id& object);
    // An index past the end appends, so the object is never dropped.
    void insertObjectAtIndex(const objc::id& object, unsigned long index);
    // Removes every element equal (isEqual) to the object.
    void removeObject(const objc::id& object);
    // An index out of range changes nothing.
    void removeObjectAtIndex(unsigned long index);
    void removeAllObjects() { objects_.clear(); }
    void addObjectsFromArray(const std::shared_ptr<NSArray>& other);
};

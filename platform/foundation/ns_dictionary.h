// NSDictionary and NSMutableDictionary: objects under string keys, kept in the order the keys
// were first added (property lists only have string keys). Nil is never a value.
//
// Iterators are invalidated by any change to a mutable dictionary.
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class NSArray;
class NSString;

class NSDictionary : public objc::Object {
    OBJC_CLASS(NSDictionary, objc::Object)
public:
    using Entry = std::pair<std::string, objc::id>;
    using const_iterator = std::vector<Entry>::const_iterator;

    NSDictionary() = default;
    // Later duplicates of a key replace the earlier value in its place; nil values are left out.
    explicit NSDictionary(std::vector<Entry> entries);

    static std::shared_ptr<NSDictionary> dictionary();
    static std::shared_ptr<NSDictionary> dictionaryWithDictionary(const std::shared_ptr<NSDictionary>& other);
    // The dictionary in the property-list file (XML or binary) at the device path; nil when the
    // file is missing, unreadable, malformed, too large or too deeply nested, or its root is
    // not a dictionary.
    static std::shared_ptr<NSDictionary> dictionaryWithContentsOfFile(std::string_view devicePath);
    static std::shared_ptr<NSDictionary> dictionaryWithContentsOfFile(const std::shared_ptr<NSString>& devicePath);

    unsigned long count() const { return entries_.size(); }
    // Nil when absent (and for a nil key).
    objc::id objectForKey(std::string_view key) const;
    objc::id objectForKey(const std::shared_ptr<NSString>& key) const;
    // NSString keys and the values, both in key order.
    std::shared_ptr<NSArray> allKeys() const;
    std::shared_ptr<NSArray> allValues() const;

    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }

    // Writes the dictionary as an XML property list. Atomically: into a temporary file in the
    // same folder, flushed to disk, then renamed over the target, so readers see the old file
    // or the new one whole. False when the folder is missing or not writable or a value cannot
    // be stored in a property list; the old file is then left as it was.
    bool writeToFileAtomically(std::string_view devicePath, bool atomically) const;
    bool writeToFileAtomically(const std::shared_ptr<NSString>& devicePath, bool atomically) const;

    std::string description() const override;
    // Equal when both hold the same keys with equal values, in any order.
    bool isEqual(const objc::Object* other) const override;
    std::size_t hash() const override { return entries_.size(); }

protected:
    void set(std::string key, objc::id value);
    void remove(std::string_view key);
    void clear();

private:
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>()(key); }
    };

    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t, KeyHash, std::equal_to<>> index_;
};

class NSMutableDictionary : public NSDictionary {
    OBJC_CLASS(NSMutableDictionary, NSDictionary)
public:
    using NSDictionary::NSDictionary;

    static std::shared_ptr<NSMutableDictionary> dictionary();
    static std::shared_ptr<NSMutableDictionary> dictionaryWithDictionary(const std::shared_ptr<NSDictionary>& other);
    // As NSDictionary's, with every array and dictionary inside mutable too.
    static std::shared_ptr<NSMutableDictionary> dictionaryWithContentsOfFile(std::string_view devicePath);
    static std::shared_ptr<NSMutableDictionary> dictionaryWithContentsOfFile(const std::shared_ptr<NSString>& devicePath);

    // A new key goes last; an existing key keeps its place. A nil value removes the key.
    void setObjectForKey(const objc::id& value, std::string key) { set(std::move(key), value); }
    // A nil key does nothing.
    void setObjectForKey(const objc::id& value, const std::shared_ptr<NSString>& key);
    void removeObjectForKey(std::string_view key) { remove(key); }
    void removeObjectForKey(const std::shared_ptr<NSString>& key);
    void removeAllObjects() { clear(); }
    void addEntriesFromDictionary(const std::shared_ptr<NSDictionary>& other);
};

// Property lists: the platform's file format for settings and for records exchanged between
// processes. Read (XML or binary) by readers of our own that no bytes can crash (see
// property_list_reading.h); written (XML or binary) with libplist.
//
// Types: dictionary <-> NSDictionary, array <-> NSArray, string <-> NSString, integer <->
// NSNumber integer, real <-> NSNumber real, boolean <-> NSNumber bool, data <-> NSData. A date
// is read as an NSNumber real of seconds since 1970-01-01 UTC (and so written back as a real);
// entries of other kinds (keyed-archive UIDs) are left out.
#pragma once

#include "objc/objc.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

enum class PropertyListContainers { Immutable, Mutable };
enum class PropertyListFormat { Xml, Binary };

// Arrays and dictionaries nest at most this deep, in both directions.
inline constexpr int kPropertyListMaxDepth = 512;
// Files larger than this are not read.
inline constexpr std::size_t kPropertyListMaxBytes = 32u << 20;

// The root object of an encoded property list; nil when the bytes are not a property list,
// are truncated, nest too deep, or hold a string or key that is not valid UTF-8 or holds a
// NUL. With Mutable, every array and dictionary is mutable.
objc::id propertyListFromBytes(std::string_view encoded, PropertyListContainers containers);
// The same for the file at a device path; nil also when it is missing, not a regular file,
// unreadable or larger than kPropertyListMaxBytes.
objc::id readPropertyListFile(std::string_view devicePath, PropertyListContainers containers);

// The encoded form; nullopt when the value is nil, holds an object of another kind, contains
// itself, nests too deep, or holds text that is not valid UTF-8, holds a NUL or (for XML) a
// control character that XML cannot carry.
std::optional<std::string> encodePropertyList(const objc::Object* root, PropertyListFormat format);
// Writes the XML form to the file at a device path (see writeHostFile for atomically).
// False when the value cannot be encoded or the file cannot be written.
bool writePropertyListFile(const objc::Object* root, std::string_view devicePath, bool atomically);

} // namespace foundation

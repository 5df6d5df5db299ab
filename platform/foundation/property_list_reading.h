// What the XML and the binary property-list readers share. Both read outside data (files other
// processes wrote, or anyone could have): they walk the encoding with a stack of their own
// instead of recursing, stop at kPropertyListMaxDepth, and refuse a whole list for any
// malformed part, so that no input can exhaust the stack, trip an assertion or come back half
// read.
#pragma once

#include "foundation/ns_dictionary.h"
#include "foundation/property_list.h"

#include <string_view>
#include <vector>

namespace foundation::detail {

// Seconds from the Unix epoch to the platform's reference date (2001-01-01 UTC), the epoch
// of property-list dates.
inline constexpr double kReferenceDateSince1970 = 978307200.0;

// The list's containers, of the mutable kinds when asked for.
objc::id makePropertyListArray(std::vector<objc::id> objects, PropertyListContainers containers);
objc::id makePropertyListDictionary(std::vector<NSDictionary::Entry> entries, PropertyListContainers containers);

// The root object of an XML property list ("<?xml ...><plist version="1.0">...</plist>", or a
// bare value element); nil when the text is not one.
objc::id readXmlPropertyList(std::string_view xml, PropertyListContainers containers);
// The root object of a binary property list ("bplist00"); nil when the bytes are not one, and
// for a root of a kind that is left out.
objc::id readBinaryPropertyList(std::string_view bytes, PropertyListContainers containers);

} // namespace foundation::detail

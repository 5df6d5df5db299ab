// Any bytes through the property-list reader, with both kinds of containers. Whatever it reads
// must be writable, and read back to a value that writes the same binary list again.
#include "foundation/property_list.h"

#include <cstdint>
#include <string_view>

using foundation::PropertyListContainers;
using foundation::PropertyListFormat;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (auto containers : {PropertyListContainers::Immutable, PropertyListContainers::Mutable}) {
        const objc::id value = foundation::propertyListFromBytes(bytes, containers);
        if (!value)
            continue;
        const auto binary = foundation::encodePropertyList(value.get(), PropertyListFormat::Binary);
        if (!binary)
            __builtin_trap(); // read but not writable: reader and writer disagree on a limit
        const objc::id again = foundation::propertyListFromBytes(*binary, containers);
        if (!again || foundation::encodePropertyList(again.get(), PropertyListFormat::Binary) != binary)
            __builtin_trap();
        // XML cannot carry every string (control characters); what it carries must read back.
        if (const auto xml = foundation::encodePropertyList(value.get(), PropertyListFormat::Xml))
            if (!foundation::propertyListFromBytes(*xml, containers))
                __builtin_trap();
    }
    return 0;
}

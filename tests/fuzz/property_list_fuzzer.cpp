// Any bytes through the property-list reader, with both kinds of containers. Whatever it reads
// must be writable, and its own binary list must read back to the same value.
#include "foundation/ns_array.h"
#include "foundation/ns_dictionary.h"
#include "foundation/property_list.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

using foundation::PropertyListContainers;
using foundation::PropertyListFormat;

namespace {

[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "property_list_fuzzer: %s\n", why);
    std::abort();
}

// Whether the value holds more than `limit` objects. libplist's binary writer slows down
// with the square of a list's size, so lists that share members into a large tree (which the
// reader allows) are only read, not written back.
bool larger(const objc::id& value, std::size_t limit)
{
    std::vector<const objc::Object*> pending{value.get()};
    std::size_t seen = 0;
    while (!pending.empty()) {
        const objc::Object* object = pending.back();
        pending.pop_back();
        if (++seen > limit)
            return true;
        if (auto* array = dynamic_cast<const NSArray*>(object))
            for (const objc::id& member : *array)
                pending.push_back(member.get());
        else if (auto* dictionary = dynamic_cast<const NSDictionary*>(object))
            for (const auto& entry : *dictionary)
                pending.push_back(entry.second.get());
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (auto containers : {PropertyListContainers::Immutable, PropertyListContainers::Mutable}) {
        const objc::id value = foundation::propertyListFromBytes(bytes, containers);
        if (!value || larger(value, 20000))
            continue;
        const auto binary = foundation::encodePropertyList(value.get(), PropertyListFormat::Binary);
        if (!binary)
            fail("read but not writable in binary");
        const objc::id again = foundation::propertyListFromBytes(*binary, containers);
        if (!again)
            fail("its own binary list does not read back");
        // (The bytes may differ: libplist shares equal members by where they lie in memory.)
        if (again->description() != value->description())
            fail("read back, it is another value");
        // XML cannot carry every string (control characters); what it carries must read back.
        if (const auto xml = foundation::encodePropertyList(value.get(), PropertyListFormat::Xml))
            if (!foundation::propertyListFromBytes(*xml, containers))
                fail("its own XML list does not read back");
    }
    return 0;
}

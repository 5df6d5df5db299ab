#include "foundation/property_list_reading.h"

#include "foundation/ns_array.h"

namespace foundation::detail {

objc::id makePropertyListArray(std::vector<objc::id> objects, PropertyListContainers containers)
{
    if (containers == PropertyListContainers::Mutable)
        return std::make_shared<NSMutableArray>(std::move(objects));
    return std::make_shared<NSArray>(std::move(objects));
}

objc::id makePropertyListDictionary(std::vector<NSDictionary::Entry> entries, PropertyListContainers containers)
{
    if (containers == PropertyListContainers::Mutable)
        return std::make_shared<NSMutableDictionary>(std::move(entries));
    return std::make_shared<NSDictionary>(std::move(entries));
}

} // namespace foundation::detail

#include "foundation/property_list.h"

#include "foundation/confined_path.h"
#include "foundation/host_file.h"
#include "foundation/ns_array.h"
#include "foundation/ns_data.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"
#include "foundation/property_list_reading.h"
#include "foundation/property_list_text.h"

#include <plist/plist.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace foundation {

namespace {

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistNode = std::unique_ptr<void, PlistFree>;

// --- Writing ---------------------------------------------------------------------------------

class Writer {
public:
    explicit Writer(PropertyListFormat format) : xml_(format == PropertyListFormat::Xml) {}

    // Nil when the value cannot be written.
    PlistNode convert(const objc::Object* object, int depth)
    {
        if (auto* text = dynamic_cast<const NSString*>(object))
            return storableText(text->string()) ? PlistNode(plist_new_string(text->UTF8String())) : nullptr;
        if (auto* number = dynamic_cast<const NSNumber*>(object)) {
            if (number->isBool())
                return PlistNode(plist_new_bool(number->boolValue() ? 1 : 0));
            if (number->isInteger())
                return PlistNode(plist_new_uint(static_cast<std::uint64_t>(static_cast<std::int64_t>(number->longValue()))));
            return PlistNode(plist_new_real(number->doubleValue()));
        }
        if (auto* data = dynamic_cast<const NSData*>(object))
            return PlistNode(plist_new_data(reinterpret_cast<const char*>(data->bytes()), data->length()));
        auto* dictionary = dynamic_cast<const NSDictionary*>(object);
        auto* array = dynamic_cast<const NSArray*>(object);
        if ((!dictionary && !array) || depth >= kPropertyListMaxDepth || onPath(object))
            return nullptr;
        path_.push_back(object);
        PlistNode node = dictionary ? convertDictionary(*dictionary, depth + 1) : convertArray(*array, depth + 1);
        path_.pop_back();
        return node;
    }

private:
    bool storableText(std::string_view text) const
    {
        if (!detail::isPropertyListText(text))
            return false;
        for (const char c : text) {
            if (xml_ && static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                return false;
        }
        return true;
    }

    bool onPath(const objc::Object* object) const
    {
        for (const objc::Object* o : path_)
            if (o == object)
                return true;
        return false;
    }

    PlistNode convertDictionary(const NSDictionary& dictionary, int depth)
    {
        PlistNode node(plist_new_dict());
        for (const auto& [key, value] : dictionary) {
            if (!storableText(key))
                return nullptr;
            PlistNode item = convert(value.get(), depth);
            if (!item)
                return nullptr;
            plist_dict_set_item(node.get(), key.c_str(), item.release());
        }
        return node;
    }

    PlistNode convertArray(const NSArray& array, int depth)
    {
        PlistNode node(plist_new_array());
        for (const objc::id& value : array) {
            PlistNode item = convert(value.get(), depth);
            if (!item)
                return nullptr;
            plist_array_append_item(node.get(), item.release());
        }
        return node;
    }

    bool xml_;
    std::vector<const objc::Object*> path_; // containers being written, to refuse cycles
};

} // namespace

objc::id propertyListFromBytes(std::string_view encoded, PropertyListContainers containers)
{
    // libplist only writes: its readers recurse and assert on bytes they do not expect.
    if (encoded.starts_with("bplist00"))
        return detail::readBinaryPropertyList(encoded, containers);
    return detail::readXmlPropertyList(encoded, containers);
}

objc::id readPropertyListFile(std::string_view devicePath, PropertyListContainers containers)
{
    const std::string host = confinedHostPath(devicePath);
    if (host.empty())
        return nullptr;
    const std::optional<std::string> contents = readHostFile(host, kPropertyListMaxBytes);
    return contents ? propertyListFromBytes(*contents, containers) : nullptr;
}

std::optional<std::string> encodePropertyList(const objc::Object* root, PropertyListFormat format)
{
    if (!root)
        return std::nullopt;
    PlistNode node = Writer(format).convert(root, 0);
    if (!node)
        return std::nullopt;
    char* raw = nullptr;
    std::uint32_t length = 0;
    if (format == PropertyListFormat::Xml)
        plist_to_xml(node.get(), &raw, &length);
    else
        plist_to_bin(node.get(), &raw, &length);
    if (!raw)
        return std::nullopt;
    std::string encoded(raw, length);
    if (format == PropertyListFormat::Xml)
        plist_to_xml_free(raw);
    else
        plist_to_bin_free(raw);
    return encoded;
}

bool writePropertyListFile(const objc::Object* root, std::string_view devicePath, bool atomically)
{
    const std::string host = confinedHostPath(devicePath);
    if (host.empty())
        return false;
    const std::optional<std::string> encoded = encodePropertyList(root, PropertyListFormat::Xml);
    return encoded && writeHostFile(host, *encoded, atomically);
}

} // namespace foundation

#include "foundation/property_list.h"

#include "foundation/confined_path.h"
#include "foundation/host_file.h"
#include "foundation/ns_array.h"
#include "foundation/ns_data.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"
#include "foundation/property_list_nesting.h"

#include <plist/plist.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

namespace foundation {

namespace {

// Seconds from the Unix epoch to the platform's reference date (2001-01-01 UTC), the epoch
// of property-list dates.
constexpr double kReferenceDateSince1970 = 978307200.0;

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistNode = std::unique_ptr<void, PlistFree>;

struct MallocFree {
    void operator()(void* p) const { std::free(p); }
};

// --- Reading ---------------------------------------------------------------------------------

class Reader {
public:
    explicit Reader(PropertyListContainers containers) : mutableContainers_(containers == PropertyListContainers::Mutable) {}

    // Nil for a node of a kind that is left out; failed() tells when the whole list is refused.
    objc::id convert(plist_t node, int depth)
    {
        switch (plist_get_node_type(node)) {
        case PLIST_DICT:
            return depth < kPropertyListMaxDepth ? dictionary(node, depth + 1) : fail();
        case PLIST_ARRAY:
            return depth < kPropertyListMaxDepth ? array(node, depth + 1) : fail();
        case PLIST_STRING: {
            std::uint64_t length = 0;
            const char* text = plist_get_string_ptr(node, &length);
            return NSStr(text ? std::string(text, length) : std::string());
        }
        case PLIST_UINT: {
            std::uint64_t value = 0;
            plist_get_uint_val(node, &value);
            // Stored as the two's-complement bits of a signed integer.
            return NSNumber::numberWithLong(static_cast<long>(static_cast<std::int64_t>(value)));
        }
        case PLIST_REAL: {
            double value = 0;
            plist_get_real_val(node, &value);
            return NSNumber::numberWithDouble(value);
        }
        case PLIST_BOOLEAN: {
            std::uint8_t value = 0;
            plist_get_bool_val(node, &value);
            return NSNumber::numberWithBool(value != 0);
        }
        case PLIST_DATA: {
            std::uint64_t length = 0;
            const char* bytes = plist_get_data_ptr(node, &length);
            return NSData::dataWithBytes(bytes, bytes ? length : 0);
        }
        case PLIST_DATE: {
            std::int32_t seconds = 0, microseconds = 0;
            plist_get_date_val(node, &seconds, &microseconds);
            return NSNumber::numberWithDouble(kReferenceDateSince1970 + seconds + microseconds / 1e6);
        }
        default:
            return nullptr;
        }
    }

    bool failed() const { return failed_; }

private:
    objc::id fail()
    {
        failed_ = true;
        return nullptr;
    }

    objc::id dictionary(plist_t node, int depth)
    {
        std::vector<NSDictionary::Entry> entries;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        std::unique_ptr<void, MallocFree> ownIter(iter);
        for (;;) {
            char* rawKey = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iter, &rawKey, &value);
            std::unique_ptr<char, MallocFree> key(rawKey);
            if (!value)
                break;
            objc::id object = convert(value, depth);
            if (failed_)
                return nullptr;
            if (object && key)
                entries.emplace_back(key.get(), std::move(object));
        }
        if (mutableContainers_)
            return std::make_shared<NSMutableDictionary>(std::move(entries));
        return std::make_shared<NSDictionary>(std::move(entries));
    }

    objc::id array(plist_t node, int depth)
    {
        std::vector<objc::id> objects;
        objects.reserve(plist_array_get_size(node));
        plist_array_iter iter = nullptr;
        plist_array_new_iter(node, &iter);
        std::unique_ptr<void, MallocFree> ownIter(iter);
        for (;;) {
            plist_t item = nullptr;
            plist_array_next_item(node, iter, &item);
            if (!item)
                break;
            objc::id object = convert(item, depth);
            if (failed_)
                return nullptr;
            if (object)
                objects.push_back(std::move(object));
        }
        if (mutableContainers_)
            return std::make_shared<NSMutableArray>(std::move(objects));
        return std::make_shared<NSArray>(std::move(objects));
    }

    bool mutableContainers_;
    bool failed_ = false;
};

// --- Writing ---------------------------------------------------------------------------------

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t width = 0;
        std::uint32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            width = 2, code = lead & 0x1F;
        else if (lead >= 0xE0 && lead <= 0xEF)
            width = 3, code = lead & 0x0F;
        else if (lead >= 0xF0 && lead <= 0xF4)
            width = 4, code = lead & 0x07;
        else
            return false;
        if (text.size() - i < width)
            return false;
        for (std::size_t k = 1; k < width; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        const bool overlong = (width == 3 && code < 0x800) || (width == 4 && code < 0x10000);
        if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += width;
    }
    return true;
}

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
        if (!isValidUtf8(text))
            return false;
        for (const char c : text) {
            if (c == '\0')
                return false;
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
    if (encoded.empty() || encoded.size() > std::numeric_limits<std::uint32_t>::max())
        return nullptr;
    if (!propertyListNestingWithin(encoded, kPropertyListMaxDepth))
        return nullptr;
    plist_t raw = nullptr;
    plist_from_memory(encoded.data(), static_cast<std::uint32_t>(encoded.size()), &raw);
    PlistNode root(raw);
    if (!root)
        return nullptr;
    Reader reader(containers);
    objc::id result = reader.convert(root.get(), 0);
    return reader.failed() ? nullptr : result;
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

// The binary property-list reader ("bplist00"). The file ends in a trailer that points to a
// table of object offsets; arrays, sets and dictionaries refer to their members by index into
// that table. Members are walked with an explicit stack, every offset and length is checked
// against the part of the file that holds objects, a container met again on its own path is a
// loop, and since members may be shared (a small file could describe a huge tree), a list may
// expand to at most 2^18 members (or as many as it has bytes, if more) and copy at most
// 64 MiB of keys (or its size). Strings and scalars are decoded once per
// object and shared; containers are made afresh wherever they appear, so that mutable ones
// stay independent.
#include "foundation/property_list_reading.h"
#include "foundation/property_list_text.h"

#include "foundation/ns_data.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace foundation::detail {

namespace {

constexpr std::string_view kMagic = "bplist00";
constexpr std::size_t kTrailerSize = 32;
constexpr std::uint64_t kMemberBudget = 1u << 18;
constexpr std::uint64_t kKeyBudget = 64u << 20;

enum Marker : unsigned {
    kSimple = 0x0, // null, false, true, fill
    kInteger = 0x1,
    kReal = 0x2,
    kDate = 0x3,
    kData = 0x4,
    kAsciiString = 0x5,
    kUtf16String = 0x6,
    kUid = 0x8,
    kArray = 0xA,
    kOrderedSet = 0xB,
    kSet = 0xC,
    kDictionary = 0xD,
};

class BinaryReader {
public:
    BinaryReader(std::string_view bytes, PropertyListContainers containers) : bytes_(bytes), containers_(containers) {}

    objc::id read()
    {
        if (!readTrailer())
            return nullptr;
        if (!isContainer(topObject_)) {
            objc::id value;
            return scalar(topObject_, &value) ? value : nullptr;
        }
        onPath_.assign(objectCount_, false);
        // Bounds that do not depend on how compactly the list was written: writers share equal
        // members (libplist shares equal containers too), so a sound list can be far smaller
        // than the tree it holds.
        budget_ = std::max<std::uint64_t>(bytes_.size(), kMemberBudget);
        keyBudget_ = std::max<std::uint64_t>(bytes_.size(), kKeyBudget);
        std::vector<Open> open;
        if (!enter(topObject_, open))
            return nullptr;
        while (!open.empty()) {
            Open& container = open.back();
            if (container.next == container.count) {
                objc::id value = container.dictionary
                                     ? makePropertyListDictionary(std::move(container.entries), containers_)
                                     : makePropertyListArray(std::move(container.objects), containers_);
                onPath_[container.object] = false;
                open.pop_back();
                if (open.empty())
                    return value;
                place(open.back(), std::move(value));
                continue;
            }
            if (budget_ == 0)
                return nullptr;
            --budget_;
            const std::uint64_t index = container.next++;
            std::uint64_t member = 0;
            if (container.dictionary) {
                std::uint64_t key = 0;
                if (!reference(container.references + index * refSize_, &key) || !keyText(key, &container.key))
                    return nullptr;
                if (!reference(container.references + (container.count + index) * refSize_, &member))
                    return nullptr;
            } else if (!reference(container.references + index * refSize_, &member)) {
                return nullptr;
            }
            if (isContainer(member)) {
                if (onPath_[member] || !enter(member, open))
                    return nullptr;
                continue;
            }
            objc::id value;
            if (!scalar(member, &value))
                return nullptr;
            place(container, std::move(value));
        }
        return nullptr;
    }

private:
    // A container being read: its member references and what has been made of them so far.
    struct Open {
        std::uint64_t object = 0;
        bool dictionary = false;
        std::uint64_t references = 0; // offset of the first member reference
        std::uint64_t count = 0;      // members (for a dictionary: entries)
        std::uint64_t next = 0;
        std::vector<objc::id> objects;
        std::vector<NSDictionary::Entry> entries;
        std::string key; // the key of the entry whose value is being read
    };

    static void place(Open& container, objc::id value)
    {
        if (!value) // a kind that is left out
            return;
        if (container.dictionary)
            container.entries.emplace_back(std::move(container.key), std::move(value));
        else
            container.objects.push_back(std::move(value));
    }

    bool readUnsigned(std::uint64_t offset, unsigned width, std::uint64_t* value) const
    {
        if (width == 0 || width > 8 || offset > bytes_.size() || bytes_.size() - offset < width)
            return false;
        std::uint64_t result = 0;
        for (unsigned k = 0; k < width; ++k)
            result = (result << 8) | static_cast<unsigned char>(bytes_[offset + k]);
        *value = result;
        return true;
    }

    bool readTrailer()
    {
        if (!bytes_.starts_with(kMagic) || bytes_.size() < kMagic.size() + 1 + kTrailerSize)
            return false;
        const std::uint64_t trailer = bytes_.size() - kTrailerSize;
        offsetSize_ = static_cast<unsigned char>(bytes_[trailer + 6]);
        refSize_ = static_cast<unsigned char>(bytes_[trailer + 7]);
        std::uint64_t tableOffset = 0;
        if (!readUnsigned(trailer + 8, 8, &objectCount_) || !readUnsigned(trailer + 16, 8, &topObject_) ||
            !readUnsigned(trailer + 24, 8, &tableOffset))
            return false;
        if (offsetSize_ == 0 || offsetSize_ > 8 || refSize_ == 0 || refSize_ > 8)
            return false;
        if (objectCount_ == 0 || topObject_ >= objectCount_ || tableOffset <= kMagic.size() || tableOffset > trailer ||
            objectCount_ > (trailer - tableOffset) / offsetSize_)
            return false;
        tableOffset_ = tableOffset;
        return true;
    }

    // Where an object starts; false for an index or offset outside the objects.
    bool objectOffset(std::uint64_t object, std::uint64_t* offset) const
    {
        return object < objectCount_ && readUnsigned(tableOffset_ + object * offsetSize_, offsetSize_, offset) &&
               *offset >= kMagic.size() && *offset < tableOffset_;
    }

    bool reference(std::uint64_t offset, std::uint64_t* object) const
    {
        return offset < tableOffset_ && readUnsigned(offset, refSize_, object) && *object < objectCount_;
    }

    bool isContainer(std::uint64_t object) const
    {
        std::uint64_t offset = 0;
        if (!objectOffset(object, &offset))
            return false; // and scalar() refuses it
        const unsigned type = static_cast<unsigned char>(bytes_[offset]) >> 4;
        return type == kArray || type == kOrderedSet || type == kSet || type == kDictionary;
    }

    // The member or byte count after an object's marker, and where its contents start: the
    // marker's low half, or 0xF and an integer object holding the count. The contents, of
    // count units of unitSize bytes, must end before the offset table.
    bool contents(std::uint64_t offset, std::uint64_t unitSize, std::uint64_t* count, std::uint64_t* start) const
    {
        const auto marker = static_cast<unsigned char>(bytes_[offset]);
        *count = marker & 0xF;
        *start = offset + 1;
        if (*count == 0xF) {
            if (*start >= tableOffset_)
                return false;
            const auto intMarker = static_cast<unsigned char>(bytes_[*start]);
            if ((intMarker >> 4) != kInteger || (intMarker & 0xF) > 3)
                return false;
            const unsigned width = 1u << (intMarker & 0xF);
            if (!readUnsigned(*start + 1, width, count))
                return false;
            *start += 1 + width;
        }
        return *start <= tableOffset_ && *count <= (tableOffset_ - *start) / unitSize;
    }

    bool enter(std::uint64_t object, std::vector<Open>& open)
    {
        if (open.size() >= static_cast<std::size_t>(kPropertyListMaxDepth))
            return false;
        std::uint64_t offset = 0;
        if (!objectOffset(object, &offset))
            return false;
        Open container;
        container.object = object;
        container.dictionary = static_cast<unsigned char>(bytes_[offset]) >> 4 == kDictionary;
        if (!contents(offset, std::uint64_t{refSize_} * (container.dictionary ? 2 : 1), &container.count,
                      &container.references))
            return false;
        onPath_[object] = true;
        open.push_back(std::move(container));
        return true;
    }

    // A string object's text: ASCII or UTF-16, valid and without NUL.
    bool text(std::uint64_t object, std::string* text) const
    {
        std::uint64_t offset = 0, count = 0, start = 0;
        if (!objectOffset(object, &offset))
            return false;
        const unsigned type = static_cast<unsigned char>(bytes_[offset]) >> 4;
        if (type == kAsciiString) {
            if (!contents(offset, 1, &count, &start))
                return false;
            *text = std::string(bytes_.substr(start, count));
            return isPropertyListText(*text);
        }
        if (type != kUtf16String || !contents(offset, 2, &count, &start))
            return false;
        text->clear();
        for (std::uint64_t i = 0; i < count; ++i) {
            std::uint64_t unit = 0;
            readUnsigned(start + 2 * i, 2, &unit);
            char32_t code = static_cast<char32_t>(unit);
            if (unit >= 0xDC00 && unit <= 0xDFFF)
                return false;
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                std::uint64_t low = 0;
                if (++i == count || !readUnsigned(start + 2 * i, 2, &low) || low < 0xDC00 || low > 0xDFFF)
                    return false;
                code = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
            }
            if (code == 0)
                return false;
            appendUtf8(*text, code);
        }
        return true;
    }

    bool keyText(std::uint64_t object, std::string* key)
    {
        auto known = keys_.find(object);
        if (known == keys_.end()) {
            std::string decoded;
            if (!text(object, &decoded))
                return false;
            known = keys_.emplace(object, std::move(decoded)).first;
        }
        if (known->second.size() > keyBudget_)
            return false;
        keyBudget_ -= known->second.size();
        *key = known->second;
        return true;
    }

    // Any object that is not a container; nil for the kinds that are left out (null, fill,
    // keyed-archive UIDs).
    bool scalar(std::uint64_t object, objc::id* value)
    {
        if (auto known = scalars_.find(object); known != scalars_.end()) {
            *value = known->second;
            return true;
        }
        std::uint64_t offset = 0;
        if (!objectOffset(object, &offset))
            return false;
        const auto marker = static_cast<unsigned char>(bytes_[offset]);
        const unsigned info = marker & 0xF;
        std::uint64_t bits = 0, count = 0, start = 0;
        switch (marker >> 4) {
        case kSimple:
            if (info == 0x8 || info == 0x9)
                *value = NSNumber::numberWithBool(info == 0x9);
            else if (info != 0x0 && info != 0xF)
                return false;
            break;
        case kInteger: {
            // 1, 2 and 4 bytes are unsigned, 8 bytes signed; of 16 bytes the low 8 count.
            const unsigned width = info <= 3 ? 1u << info : 16;
            if (info > 4 || offset + 1 + width > tableOffset_ || !readUnsigned(offset + 1 + width - std::min(width, 8u), std::min(width, 8u), &bits))
                return false;
            *value = NSNumber::numberWithLong(static_cast<long>(static_cast<std::int64_t>(bits)));
            break;
        }
        case kReal:
            if ((info != 2 && info != 3) || offset + 1 + (1u << info) > tableOffset_ || !readUnsigned(offset + 1, 1u << info, &bits))
                return false;
            *value = NSNumber::numberWithDouble(info == 2 ? static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(bits)))
                                                          : std::bit_cast<double>(bits));
            break;
        case kDate:
            if (info != 3 || offset + 9 > tableOffset_ || !readUnsigned(offset + 1, 8, &bits))
                return false;
            *value = NSNumber::numberWithDouble(kReferenceDateSince1970 + std::bit_cast<double>(bits));
            break;
        case kData:
            if (!contents(offset, 1, &count, &start))
                return false;
            *value = NSData::dataWithBytes(bytes_.substr(start, count));
            break;
        case kAsciiString:
        case kUtf16String: {
            std::string string;
            if (!text(object, &string))
                return false;
            *value = NSStr(std::move(string));
            break;
        }
        case kUid:
            if (offset + 1 + info + 1 > tableOffset_)
                return false;
            break;
        default:
            return false;
        }
        scalars_.emplace(object, *value);
        return true;
    }

    std::string_view bytes_;
    PropertyListContainers containers_;
    unsigned offsetSize_ = 0;
    unsigned refSize_ = 0;
    std::uint64_t objectCount_ = 0;
    std::uint64_t topObject_ = 0;
    std::uint64_t tableOffset_ = 0; // the objects lie between the magic and the offset table
    std::uint64_t budget_ = 0;      // members still allowed
    std::uint64_t keyBudget_ = 0;   // bytes of dictionary keys still allowed to be copied
    std::vector<bool> onPath_;
    std::unordered_map<std::uint64_t, objc::id> scalars_;
    std::unordered_map<std::uint64_t, std::string> keys_;
};

} // namespace

objc::id readBinaryPropertyList(std::string_view bytes, PropertyListContainers containers)
{
    return BinaryReader(bytes, containers).read();
}

} // namespace foundation::detail

#include "foundation/property_list_nesting.h"

#include <cstdint>
#include <vector>

namespace foundation {

namespace {

constexpr std::string_view kBinaryMagic = "bplist00";

bool isNameEnd(char c) { return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool xmlNestingWithin(std::string_view xml, int maxDepth)
{
    int depth = 0;
    std::size_t i = 0;
    while ((i = xml.find('<', i)) != std::string_view::npos) {
        const std::string_view rest = xml.substr(i);
        if (rest.starts_with("<!--") || rest.starts_with("<![CDATA[")) {
            const std::string_view close = rest[2] == '-' ? "-->" : "]]>";
            const std::size_t end = xml.find(close, i + 4);
            if (end == std::string_view::npos)
                return false;
            i = end + close.size();
            continue;
        }
        const bool closing = rest.size() > 1 && rest[1] == '/';
        const std::string_view name = rest.substr(closing ? 2 : 1);
        for (std::string_view container : {std::string_view("array"), std::string_view("dict")}) {
            if (!name.starts_with(container) || name.size() <= container.size() || !isNameEnd(name[container.size()]))
                continue;
            const std::size_t tagEnd = xml.find('>', i);
            if (tagEnd == std::string_view::npos)
                return false;
            if (closing)
                depth = depth > 0 ? depth - 1 : 0;
            else if (xml[tagEnd - 1] != '/' && ++depth > maxDepth)
                return false;
        }
        ++i;
    }
    return true;
}

// The structure of a binary list: a trailer at the end points to a table of object offsets;
// arrays, sets and dictionaries refer to their members by index into that table.
class BinaryWalk {
public:
    explicit BinaryWalk(std::string_view bytes) : bytes_(bytes) {}

    bool nestingWithin(int maxDepth)
    {
        if (!readTrailer())
            return false;
        // Per object: 0 unvisited, kOnPath while its members are walked, else 1 + its height.
        std::vector<std::uint16_t> state(objectCount_, 0);
        struct Frame {
            std::uint64_t object;
            std::uint64_t refsStart; // byte offset of the member references
            std::uint64_t refCount;
            std::uint64_t next = 0;
            int height = 0; // tallest member so far
        };
        std::vector<Frame> path;
        auto enter = [&](std::uint64_t object) -> bool {
            Frame frame{object, 0, 0};
            if (!containerRefs(object, &frame.refsStart, &frame.refCount))
                return false;
            state[object] = kOnPath;
            path.push_back(frame);
            return static_cast<int>(path.size()) <= maxDepth;
        };
        if (isContainer(topObject_) && !enter(topObject_))
            return false;
        while (!path.empty()) {
            Frame& frame = path.back();
            if (frame.next == frame.refCount) {
                const int height = frame.height + 1;
                state[frame.object] = static_cast<std::uint16_t>(height + 1);
                path.pop_back();
                if (!path.empty() && height > path.back().height)
                    path.back().height = height;
                continue;
            }
            std::uint64_t member = 0;
            if (!readUnsigned(frame.refsStart + frame.next * refSize_, refSize_, &member) || member >= objectCount_)
                return false;
            ++frame.next;
            if (!isContainer(member))
                continue;
            if (state[member] == kOnPath)
                return false;
            if (state[member] != 0) {
                const int height = state[member] - 1;
                if (static_cast<int>(path.size()) + height > maxDepth)
                    return false;
                if (height > frame.height)
                    frame.height = height;
                continue;
            }
            if (!enter(member))
                return false;
        }
        return true;
    }

private:
    static constexpr std::uint16_t kOnPath = 0xFFFF;

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
        if (bytes_.size() < kBinaryMagic.size() + 32)
            return false;
        const std::uint64_t trailer = bytes_.size() - 32;
        offsetSize_ = static_cast<unsigned char>(bytes_[trailer + 6]);
        refSize_ = static_cast<unsigned char>(bytes_[trailer + 7]);
        std::uint64_t tableOffset = 0;
        if (!readUnsigned(trailer + 8, 8, &objectCount_) || !readUnsigned(trailer + 16, 8, &topObject_) ||
            !readUnsigned(trailer + 24, 8, &tableOffset))
            return false;
        if (offsetSize_ == 0 || offsetSize_ > 8 || refSize_ == 0 || refSize_ > 8)
            return false;
        if (objectCount_ == 0 || topObject_ >= objectCount_ || tableOffset > trailer ||
            objectCount_ > (trailer - tableOffset) / offsetSize_)
            return false;
        tableOffset_ = tableOffset;
        objectsEnd_ = tableOffset;
        // More objects than a 16-bit height table can mark would need more file than allowed.
        return objectCount_ <= bytes_.size();
    }

    bool objectOffset(std::uint64_t object, std::uint64_t* offset) const
    {
        return readUnsigned(tableOffset_ + object * offsetSize_, offsetSize_, offset) && *offset < objectsEnd_;
    }

    bool isContainer(std::uint64_t object) const
    {
        std::uint64_t offset = 0;
        if (!objectOffset(object, &offset))
            return true; // reported as broken by containerRefs
        const unsigned type = static_cast<unsigned char>(bytes_[offset]) >> 4;
        return type == 0xA || type == 0xC || type == 0xD;
    }

    bool containerRefs(std::uint64_t object, std::uint64_t* refsStart, std::uint64_t* refCount) const
    {
        std::uint64_t offset = 0;
        if (!objectOffset(object, &offset))
            return false;
        const auto marker = static_cast<unsigned char>(bytes_[offset]);
        std::uint64_t count = marker & 0xF;
        std::uint64_t position = offset + 1;
        if (count == 0xF) {
            if (position >= objectsEnd_)
                return false;
            const auto intMarker = static_cast<unsigned char>(bytes_[position]);
            if ((intMarker >> 4) != 0x1 || (intMarker & 0xF) > 3)
                return false;
            const unsigned width = 1u << (intMarker & 0xF);
            if (!readUnsigned(position + 1, width, &count))
                return false;
            position += 1 + width;
        }
        const std::uint64_t refs = (marker >> 4) == 0xD ? 2 : 1;
        if (position > objectsEnd_ || count > (objectsEnd_ - position) / refSize_ / refs)
            return false;
        // A dictionary's keys are walked too: the parser reads a key before it checks that
        // the key is a string.
        *refsStart = position;
        *refCount = count * refs;
        return true;
    }

    std::string_view bytes_;
    unsigned offsetSize_ = 0;
    unsigned refSize_ = 0;
    std::uint64_t objectCount_ = 0;
    std::uint64_t topObject_ = 0;
    std::uint64_t tableOffset_ = 0;
    std::uint64_t objectsEnd_ = 0;
};

} // namespace

bool propertyListNestingWithin(std::string_view encoded, int maxDepth)
{
    if (encoded.starts_with(kBinaryMagic))
        return BinaryWalk(encoded).nestingWithin(maxDepth);
    return xmlNestingWithin(encoded, maxDepth);
}

} // namespace foundation

// The XML property-list reader. It reads the grammar it checks: one pass over the text with an
// explicit stack of open containers, so nesting is counted on exactly the elements that build
// values (a '>' inside an attribute value or a "<!--" inside a DOCTYPE cannot hide one), and
// nothing recurses. Entities are the five predefined ones and character references only; a
// DOCTYPE's internal subset is skipped, never expanded.
#include "foundation/property_list_reading.h"
#include "foundation/property_list_text.h"

#include "foundation/ns_data.h"
#include "foundation/ns_number.h"
#include "foundation/ns_string.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace foundation::detail {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(std::string_view text, std::string_view lower)
{
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lower[i])
            return false;
    }
    return true;
}

// A character XML may carry at all (its Char production).
bool isXmlChar(std::uint32_t code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// Decimal, or hexadecimal after "0x", with an optional sign. Integers are 64-bit: a negative
// one down to the smallest signed value, a positive one up to the largest unsigned value, kept
// as the same 64 bits.
std::optional<long> integerValue(std::string_view text)
{
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (!negative)
        return static_cast<long>(static_cast<std::int64_t>(magnitude));
    if (magnitude > (std::uint64_t{1} << 63))
        return std::nullopt;
    return static_cast<long>(static_cast<std::int64_t>(~magnitude + 1));
}

std::optional<double> realValue(std::string_view text)
{
    text = trimmed(text);
    bool negative = false;
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (equalsIgnoringCase(digits, "nan"))
        return std::numeric_limits<double>::quiet_NaN();
    if (equalsIgnoringCase(digits, "inf") || equalsIgnoringCase(digits, "infinity"))
        return negative ? -HUGE_VAL : HUGE_VAL;
    if (digits.empty() || !(std::isdigit(static_cast<unsigned char>(digits.front())) || digits.front() == '.'))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (end != digits.data() + digits.size())
        return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // Too large becomes infinite, too small becomes zero, as a C reader would have it.
        const std::size_t exponent = digits.find_first_of("eE");
        const bool tiny = exponent != std::string_view::npos && exponent + 1 < digits.size() && digits[exponent + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    } else if (error != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

// "2001-01-01T00:01:40Z", optionally with fractions of a second, as seconds since 1970 UTC.
std::optional<double> dateValue(std::string_view text)
{
    text = trimmed(text);
    auto number = [&](std::size_t at, std::size_t width, int low, int high) -> std::optional<int> {
        if (at + width > text.size())
            return std::nullopt;
        int value = 0;
        for (std::size_t i = at; i < at + width; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        return value >= low && value <= high ? std::optional<int>(value) : std::nullopt;
    };
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':' ||
        text.back() != 'Z')
        return std::nullopt;
    const auto year = number(0, 4, 0, 9999), month = number(5, 2, 1, 12), day = number(8, 2, 1, 31);
    const auto hour = number(11, 2, 0, 23), minute = number(14, 2, 0, 59), second = number(17, 2, 0, 60);
    if (!year || !month || !day || !hour || !minute || !second)
        return std::nullopt;
    static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
    if (*day > kDaysInMonth[*month - 1] || (*month == 2 && *day == 29 && !leap))
        return std::nullopt;
    double fraction = 0;
    if (text.size() > 20) {
        const std::string_view rest = text.substr(19, text.size() - 20);
        if (rest.size() < 2 || rest[0] != '.')
            return std::nullopt;
        double scale = 0.1;
        for (char c : rest.substr(1)) {
            if (c < '0' || c > '9')
                return std::nullopt;
            fraction += (c - '0') * scale;
            scale /= 10;
        }
    }
    // Days from 1970-01-01 in the proleptic Gregorian calendar.
    const int y = *year - (*month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (*month + (*month > 2 ? -3 : 9)) + 2) / 5 + *day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long days = static_cast<long>(era) * 146097 + dayOfEra - 719468;
    return static_cast<double>(days) * 86400 + *hour * 3600 + *minute * 60 + *second + fraction;
}

std::optional<std::string> base64Bytes(std::string_view text)
{
    std::string bytes;
    std::uint32_t bits = 0;
    int count = 0;
    bool padding = false;
    for (char c : text) {
        if (isSpace(c))
            continue;
        if (c == '=') {
            padding = true;
            continue;
        }
        int value = -1;
        if (c >= 'A' && c <= 'Z')
            value = c - 'A';
        else if (c >= 'a' && c <= 'z')
            value = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            value = c - '0' + 52;
        else if (c == '+')
            value = 62;
        else if (c == '/')
            value = 63;
        if (value < 0 || padding)
            return std::nullopt;
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        if (++count == 4) {
            bytes += static_cast<char>((bits >> 16) & 0xFF);
            bytes += static_cast<char>((bits >> 8) & 0xFF);
            bytes += static_cast<char>(bits & 0xFF);
            bits = 0;
            count = 0;
        }
    }
    if (count == 1)
        return std::nullopt;
    if (count == 2)
        bytes += static_cast<char>((bits >> 4) & 0xFF);
    if (count == 3) {
        bytes += static_cast<char>((bits >> 10) & 0xFF);
        bytes += static_cast<char>((bits >> 2) & 0xFF);
    }
    return bytes;
}

class XmlReader {
public:
    XmlReader(std::string_view xml, PropertyListContainers containers) : xml_(xml), containers_(containers) {}

    objc::id read()
    {
        if (at("\xEF\xBB\xBF"))
            pos_ += 3;
        if (!skipProlog())
            return nullptr;
        std::optional<objc::id> root = readRoot();
        if (!root || !skipMisc() || pos_ != xml_.size())
            return nullptr;
        return *root;
    }

private:
    struct Tag {
        std::string_view name;
        bool closing = false;
        bool empty = false; // "<name/>"
    };

    // An open element that holds values: the plist wrapper (one value at most), an array or a
    // dictionary (with the key read last, waiting for its value).
    struct Open {
        enum class Kind { Plist, Array, Dictionary };
        explicit Open(Kind k) : kind(k) {}
        Kind kind;
        std::vector<objc::id> objects;
        std::vector<NSDictionary::Entry> entries;
        std::optional<std::string> key;
    };

    bool at(std::string_view text) const { return xml_.substr(pos_).starts_with(text); }

    bool skipPast(std::string_view terminator, std::size_t from)
    {
        const std::size_t end = xml_.find(terminator, from);
        if (end == std::string_view::npos)
            return false;
        pos_ = end + terminator.size();
        return true;
    }

    void skipSpace()
    {
        while (pos_ < xml_.size() && isSpace(xml_[pos_]))
            ++pos_;
    }

    // White space, comments and processing instructions; false on an unterminated one.
    bool skipMisc()
    {
        for (;;) {
            skipSpace();
            if (at("<!--")) {
                if (!skipPast("-->", pos_ + 4))
                    return false;
            } else if (at("<?")) {
                if (!skipPast("?>", pos_ + 2))
                    return false;
            } else {
                return true;
            }
        }
    }

    bool skipQuoted()
    {
        const char quote = xml_[pos_];
        const std::size_t end = xml_.find(quote, pos_ + 1);
        if (end == std::string_view::npos)
            return false;
        pos_ = end + 1;
        return true;
    }

    // "<!DOCTYPE name ... [internal subset]>": quoted literals, comments and processing
    // instructions are skipped whole, so a '>' or ']' inside them ends nothing.
    bool skipDoctype()
    {
        pos_ += 9;
        bool inSubset = false;
        while (pos_ < xml_.size()) {
            const char c = xml_[pos_];
            if (c == '"' || c == '\'') {
                if (!skipQuoted())
                    return false;
            } else if (inSubset && at("<!--")) {
                if (!skipPast("-->", pos_ + 4))
                    return false;
            } else if (inSubset && at("<?")) {
                if (!skipPast("?>", pos_ + 2))
                    return false;
            } else if (c == '[' && !inSubset) {
                inSubset = true;
                ++pos_;
            } else if (c == ']' && inSubset) {
                inSubset = false;
                ++pos_;
            } else if (c == '>' && !inSubset) {
                ++pos_;
                return true;
            } else {
                ++pos_;
            }
        }
        return false;
    }

    bool skipProlog()
    {
        bool sawDoctype = false;
        for (;;) {
            if (!skipMisc())
                return false;
            if (!at("<!DOCTYPE"))
                return true;
            if (sawDoctype || !skipDoctype())
                return false;
            sawDoctype = true;
        }
    }

    // A start or end tag at '<'. Attributes are read (their values may hold '>') and ignored.
    bool readTag(Tag* tag)
    {
        ++pos_;
        tag->closing = pos_ < xml_.size() && xml_[pos_] == '/';
        if (tag->closing)
            ++pos_;
        const std::size_t nameStart = pos_;
        while (pos_ < xml_.size() && !isSpace(xml_[pos_]) && xml_[pos_] != '>' && xml_[pos_] != '/' && xml_[pos_] != '<')
            ++pos_;
        tag->name = xml_.substr(nameStart, pos_ - nameStart);
        if (tag->name.empty())
            return false;
        for (;;) {
            skipSpace();
            if (pos_ >= xml_.size())
                return false;
            if (xml_[pos_] == '>') {
                ++pos_;
                return true;
            }
            if (tag->closing)
                return false;
            if (at("/>")) {
                tag->empty = true;
                pos_ += 2;
                return true;
            }
            const std::size_t attributeStart = pos_;
            while (pos_ < xml_.size() && !isSpace(xml_[pos_]) && xml_[pos_] != '=' && xml_[pos_] != '>' &&
                   xml_[pos_] != '/' && xml_[pos_] != '<')
                ++pos_;
            if (pos_ == attributeStart)
                return false;
            skipSpace();
            if (pos_ >= xml_.size() || xml_[pos_] != '=')
                return false;
            ++pos_;
            skipSpace();
            if (pos_ >= xml_.size() || (xml_[pos_] != '"' && xml_[pos_] != '\'') || !skipQuoted())
                return false;
        }
    }

    // "&lt;" and the other predefined entities, "&#65;", "&#x41;".
    bool readReference(std::string* text)
    {
        const std::size_t end = xml_.find(';', pos_);
        if (end == std::string_view::npos || end - pos_ > 12)
            return false;
        const std::string_view name = xml_.substr(pos_ + 1, end - pos_ - 1);
        pos_ = end + 1;
        static constexpr std::pair<std::string_view, char> kPredefined[] = {
            {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
        for (const auto& [entity, c] : kPredefined) {
            if (name == entity) {
                *text += c;
                return true;
            }
        }
        if (name.size() < 2 || name[0] != '#')
            return false;
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (digits.empty() || error != std::errc() || last != digits.data() + digits.size() || !isXmlChar(code))
            return false;
        appendUtf8(*text, code);
        return true;
    }

    // The character data of a value element up to its end tag, with references resolved and
    // CDATA sections taken as they stand. No element may open inside it.
    bool readText(std::string_view element, std::string* text)
    {
        for (;;) {
            const std::size_t special = xml_.find_first_of("<&", pos_);
            if (special == std::string_view::npos)
                return false;
            for (std::size_t i = pos_; i < special; ++i) {
                const auto c = static_cast<unsigned char>(xml_[i]);
                if (c < 0x20 && !isSpace(static_cast<char>(c)))
                    return false;
            }
            text->append(xml_.substr(pos_, special - pos_));
            pos_ = special;
            if (xml_[pos_] == '&') {
                if (!readReference(text))
                    return false;
            } else if (at("<!--")) {
                if (!skipPast("-->", pos_ + 4))
                    return false;
            } else if (at("<![CDATA[")) {
                const std::size_t start = pos_ + 9;
                if (!skipPast("]]>", start))
                    return false;
                const std::string_view raw = xml_.substr(start, pos_ - 3 - start);
                for (char c : raw)
                    if (static_cast<unsigned char>(c) < 0x20 && !isSpace(c))
                        return false;
                text->append(raw);
            } else if (at("<?")) {
                if (!skipPast("?>", pos_ + 2))
                    return false;
            } else {
                Tag tag;
                return at("</") && readTag(&tag) && tag.name == element;
            }
        }
    }

    // The value of a leaf element whose text has been read; nullopt when the text does not fit.
    std::optional<objc::id> leafValue(std::string_view element, const std::string& text) const
    {
        if (element == "string")
            return isPropertyListText(text) ? std::optional<objc::id>(NSStr(text)) : std::nullopt;
        if (element == "integer") {
            if (auto value = integerValue(text))
                return NSNumber::numberWithLong(*value);
        } else if (element == "real") {
            if (auto value = realValue(text))
                return NSNumber::numberWithDouble(*value);
        } else if (element == "date") {
            if (auto value = dateValue(text))
                return NSNumber::numberWithDouble(*value);
        } else if (element == "data") {
            if (auto bytes = base64Bytes(text))
                return NSData::dataWithBytes(*bytes);
        } else if (element == "true" || element == "false") {
            if (trimmed(text).empty())
                return NSNumber::numberWithBool(element == "true");
        }
        return std::nullopt;
    }

    static bool isLeaf(std::string_view name)
    {
        for (std::string_view leaf : {"string", "integer", "real", "date", "data", "true", "false"})
            if (name == leaf)
                return true;
        return false;
    }

    // Adds a finished value to the innermost open element; false when it has no place there.
    bool place(std::vector<Open>& open, objc::id value)
    {
        Open& parent = open.back();
        switch (parent.kind) {
        case Open::Kind::Plist:
            if (!parent.objects.empty())
                return false;
            parent.objects.push_back(std::move(value));
            return true;
        case Open::Kind::Array:
            parent.objects.push_back(std::move(value));
            return true;
        case Open::Kind::Dictionary:
            if (!parent.key)
                return false;
            parent.entries.emplace_back(std::move(*parent.key), std::move(value));
            parent.key.reset();
            return true;
        }
        return false;
    }

    objc::id close(Open& element) const
    {
        switch (element.kind) {
        case Open::Kind::Array:
            return makePropertyListArray(std::move(element.objects), containers_);
        case Open::Kind::Dictionary:
            return makePropertyListDictionary(std::move(element.entries), containers_);
        case Open::Kind::Plist:
            break;
        }
        return element.objects.empty() ? nullptr : element.objects.front();
    }

    static std::string_view nameOf(Open::Kind kind)
    {
        return kind == Open::Kind::Plist ? "plist" : kind == Open::Kind::Array ? "array" : "dict";
    }

    // The root element and everything in it; nullopt when malformed. The plist wrapper may
    // hold no value, which reads as nil.
    std::optional<objc::id> readRoot()
    {
        std::vector<Open> open;
        int depth = 0; // open arrays and dictionaries
        for (;;) {
            if (!skipMisc() || pos_ >= xml_.size() || xml_[pos_] != '<' || at("<!"))
                return std::nullopt;
            Tag tag;
            if (!readTag(&tag))
                return std::nullopt;
            objc::id value;
            if (tag.closing) {
                if (open.empty() || nameOf(open.back().kind) != tag.name || open.back().key)
                    return std::nullopt;
                if (open.back().kind != Open::Kind::Plist)
                    --depth;
                value = close(open.back());
                open.pop_back();
                if (open.empty())
                    return value;
                if (!place(open, std::move(value)))
                    return std::nullopt;
                continue;
            }
            if (tag.name == "plist" && open.empty()) {
                if (tag.empty)
                    return objc::id();
                open.emplace_back(Open::Kind::Plist);
                continue;
            }
            if (tag.name == "key") {
                std::string key;
                if (open.empty() || open.back().kind != Open::Kind::Dictionary || open.back().key ||
                    (!tag.empty && !readText(tag.name, &key)) || !isPropertyListText(key))
                    return std::nullopt;
                open.back().key = std::move(key);
                continue;
            }
            if (tag.name == "array" || tag.name == "dict") {
                const auto kind = tag.name == "array" ? Open::Kind::Array : Open::Kind::Dictionary;
                if (depth >= kPropertyListMaxDepth)
                    return std::nullopt;
                if (!tag.empty) {
                    if (!open.empty() && open.back().kind == Open::Kind::Dictionary && !open.back().key)
                        return std::nullopt;
                    open.emplace_back(kind);
                    ++depth;
                    continue;
                }
                Open none(kind);
                value = close(none);
            } else if (isLeaf(tag.name)) {
                std::string text;
                if (!tag.empty && !readText(tag.name, &text))
                    return std::nullopt;
                std::optional<objc::id> leaf = leafValue(tag.name, text);
                if (!leaf)
                    return std::nullopt;
                value = std::move(*leaf);
            } else {
                return std::nullopt;
            }
            if (open.empty())
                return value;
            if (!place(open, std::move(value)))
                return std::nullopt;
        }
    }

    std::string_view xml_;
    std::size_t pos_ = 0;
    PropertyListContainers containers_;
};

} // namespace

objc::id readXmlPropertyList(std::string_view xml, PropertyListContainers containers)
{
    return XmlReader(xml, containers).read();
}

} // namespace foundation::detail

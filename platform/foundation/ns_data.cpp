#include "foundation/ns_data.h"

std::shared_ptr<NSData> NSData::dataWithBytes(const void* bytes, std::size_t length)
{
    auto* first = static_cast<const std::uint8_t*>(bytes);
    return std::make_shared<NSData>(first ? std::vector<std::uint8_t>(first, first + length) : std::vector<std::uint8_t>());
}

std::string NSData::description() const
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text = "<";
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (i && i % 4 == 0)
            text += ' ';
        text += digits[bytes_[i] >> 4];
        text += digits[bytes_[i] & 0xF];
    }
    return text + ">";
}

bool NSData::isEqual(const objc::Object* other) const
{
    auto* data = dynamic_cast<const NSData*>(other);
    return data && data->bytes_ == bytes_;
}

std::size_t NSData::hash() const
{
    return std::hash<std::string_view>()(std::string_view(reinterpret_cast<const char*>(bytes_.data()), bytes_.size()));
}

OBJC_REGISTER(NSData, c.method<&NSData::length>("length");)

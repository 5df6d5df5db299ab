// NSData: an immutable run of bytes, compared by content (property-list <data>).
#pragma once

#include "objc/objc.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class NSData : public objc::Object {
    OBJC_CLASS(NSData, objc::Object)
public:
    NSData() = default;
    explicit NSData(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    static std::shared_ptr<NSData> dataWithBytes(const void* bytes, std::size_t length);
    static std::shared_ptr<NSData> dataWithBytes(std::string_view bytes) { return dataWithBytes(bytes.data(), bytes.size()); }

    unsigned long length() const { return bytes_.size(); }
    const std::uint8_t* bytes() const { return bytes_.data(); }
    const std::vector<std::uint8_t>& byteVector() const { return bytes_; }

    // "<0a1b2c3d 4e>": hexadecimal, in groups of four bytes.
    std::string description() const override;
    bool isEqual(const objc::Object* other) const override;
    std::size_t hash() const override;

private:
    std::vector<std::uint8_t> bytes_;
};

// NSDate: one instant, immutable, as seconds since the Unix epoch on the platform's clock.
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string>

using NSTimeInterval = double;

// Seconds between the Unix epoch and the platform's reference date, 2001-01-01 00:00:00 UTC.
inline constexpr NSTimeInterval NSTimeIntervalSince1970 = 978307200.0;

class NSDate : public objc::Object {
    OBJC_CLASS(NSDate, objc::Object)
public:
    // alloc/init gives the current instant, like +date.
    NSDate();
    explicit NSDate(NSTimeInterval secondsSince1970) : since1970_(secondsSince1970) {}

    static std::shared_ptr<NSDate> date();
    static std::shared_ptr<NSDate> dateWithTimeIntervalSince1970(NSTimeInterval seconds);
    static std::shared_ptr<NSDate> dateWithTimeIntervalSinceNow(NSTimeInterval seconds);
    static std::shared_ptr<NSDate> dateWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds);
    static std::shared_ptr<NSDate> distantPast();
    static std::shared_ptr<NSDate> distantFuture();

    NSTimeInterval timeIntervalSince1970() const { return since1970_; }
    NSTimeInterval timeIntervalSinceReferenceDate() const { return since1970_ - NSTimeIntervalSince1970; }
    NSTimeInterval timeIntervalSinceNow() const;
    // Receiver minus other; a nil other counts as the epoch.
    NSTimeInterval timeIntervalSinceDate(const std::shared_ptr<NSDate>& other) const;
    std::shared_ptr<NSDate> dateByAddingTimeInterval(NSTimeInterval seconds) const;

    // -1 when the receiver is earlier, 0 when equal, 1 when later (a nil other is earlier than
    // every date).
    long compare(const std::shared_ptr<NSDate>& other) const;
    bool isEqualToDate(const std::shared_ptr<NSDate>& other) const { return other && other->since1970_ == since1970_; }
    // The earlier (later) of the two; the receiver when other is nil.
    std::shared_ptr<NSDate> earlierDate(const std::shared_ptr<NSDate>& other);
    std::shared_ptr<NSDate> laterDate(const std::shared_ptr<NSDate>& other);

    // "2026-01-01 12:00:00 +0000" (UTC).
    std::string description() const override;
    bool isEqual(const objc::Object* other) const override;
    std::size_t hash() const override { return std::hash<double>()(since1970_); }

private:
    NSTimeInterval since1970_ = 0;
};

// The system log. Each line goes to syslog (under the program's name), is appended to the device
// log file "/var/log/vantorel.log" (one line per entry, with the process name and id), and is
// kept in this process's sink, which tests read.
#pragma once

#include "objc/objc.h"

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace foundation {

// The device path of the log file shared by every process of the device.
inline constexpr const char* kDeviceLogPath = "/var/log/vantorel.log";

// Logs one entry. Line breaks inside it are written as "\n" so that an entry stays one line in
// syslog and in the file; the sink keeps the entry as given. Safe from any thread.
void log(const std::string& line);

// The latest entries this process has logged (the last thousand or so), oldest first.
std::vector<std::string> logSink();
void clearLogSink();

// One argument of format(): a number, a text, an object or a pointer.
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Floating, Text, Object, Pointer };

    template <class T>
        requires std::is_integral_v<T>
    FormatArg(T value)
        : kind_(std::is_signed_v<T> || std::is_same_v<T, bool> ? Kind::Signed : Kind::Unsigned),
          signed_(static_cast<long long>(value)), unsigned_(static_cast<unsigned long long>(value))
    {
    }
    template <class T>
        requires std::is_floating_point_v<T>
    FormatArg(T value) : kind_(Kind::Floating), floating_(static_cast<double>(value))
    {
    }
    FormatArg(const char* text) : kind_(Kind::Text), text_(text ? text : "(null)") {}
    FormatArg(const std::string& text) : kind_(Kind::Text), text_(text) {}
    FormatArg(std::string_view text) : kind_(Kind::Text), text_(text) {}
    template <class T>
        requires std::is_base_of_v<objc::Object, T>
    FormatArg(const std::shared_ptr<T>& object) : kind_(Kind::Object), text_(object ? object->description() : "(null)")
    {
    }
    FormatArg(std::nullptr_t) : kind_(Kind::Object), text_("(null)") {}
    FormatArg(const void* pointer) : kind_(Kind::Pointer), pointer_(pointer) {}

    Kind kind() const { return kind_; }
    long long asSigned() const { return signed_; }
    unsigned long long asUnsigned() const { return unsigned_; }
    double asFloating() const { return floating_; }
    const std::string& text() const { return text_; }
    const void* pointer() const { return pointer_; }

private:
    Kind kind_;
    long long signed_ = 0;
    unsigned long long unsigned_ = 0;
    double floating_ = 0;
    std::string text_;
    const void* pointer_ = nullptr;
};

// printf-style formatting that cannot go wrong on the argument types: "%@" prints an object's
// description ("(null)" for nil); %d %i %u %x %X %o %c, %f %e %g %a, %s and %p take flags, width,
// precision and length modifiers (the modifiers are not needed: each argument knows its type).
// A number meets a text conversion as its decimal text and the other way round; a text meets a
// number conversion as itself. A missing argument prints "(missing)"; extra ones are ignored.
std::string formatList(std::string_view format, const std::vector<FormatArg>& args);

template <class... Args>
std::string format(std::string_view fmt, const Args&... args)
{
    return formatList(fmt, {FormatArg(args)...});
}

} // namespace foundation

// NSLog: format and log in one call.
template <class... Args>
void NSLog(std::string_view format, const Args&... args)
{
    foundation::log(foundation::format(format, args...));
}

#include "foundation/log.h"

#include "foundation/clock.h"
#include "foundation/device_path.h"

#include <fcntl.h>
#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <deque>
#include <filesystem>
#include <mutex>

namespace foundation {

namespace {

std::mutex& sinkLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

// The latest entries only: a program that runs for months (the weather daemon) must not grow
// with every line it has ever logged.
constexpr std::size_t kSinkEntries = 1024;

std::deque<std::string>& sink()
{
    static auto* lines = new std::deque<std::string>;
    return *lines;
}

std::string oneLine(const std::string& entry)
{
    std::string out;
    out.reserve(entry.size());
    for (char c : entry) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\0')
            out += "\\0";
        else
            out += c;
    }
    return out;
}

std::string timestamp()
{
    const double t = now();
    const auto whole = static_cast<std::time_t>(std::floor(t));
    const int millis = static_cast<int>((t - std::floor(t)) * 1000.0);
    std::tm utc{};
    gmtime_r(&whole, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, millis);
    return text;
}

// One write() per entry on an O_APPEND descriptor: lines of several processes never interleave.
void appendToDeviceLog(const std::string& line)
{
    const std::string path = hostPath(kDeviceLogPath);
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 && errno == ENOENT) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    }
    if (fd < 0)
        return; // a device without a writable log folder still logs to syslog and the sink
    const std::string record = timestamp() + " " + program_invocation_short_name + "[" +
                               std::to_string(::getpid()) + "]: " + line + "\n";
    [[maybe_unused]] ssize_t written = ::write(fd, record.data(), record.size());
    ::close(fd);
}

} // namespace

void log(const std::string& entry)
{
    const std::string line = oneLine(entry);
    std::lock_guard guard(sinkLock());
    sink().push_back(entry);
    if (sink().size() > kSinkEntries)
        sink().pop_front();
    static const bool opened = (::openlog(program_invocation_short_name, LOG_PID, LOG_USER), true);
    (void)opened;
    ::syslog(LOG_NOTICE, "%s", line.c_str());
    appendToDeviceLog(line);
}

std::vector<std::string> logSink()
{
    std::lock_guard guard(sinkLock());
    return {sink().begin(), sink().end()};
}

void clearLogSink()
{
    std::lock_guard guard(sinkLock());
    sink().clear();
}

namespace {

std::string printfOne(const std::string& spec, auto value)
{
    const int size = std::snprintf(nullptr, 0, spec.c_str(), value);
    if (size <= 0)
        return {};
    std::string out(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), spec.c_str(), value);
    out.resize(static_cast<std::size_t>(size));
    return out;
}

std::string decimalText(const FormatArg& arg)
{
    switch (arg.kind()) {
    case FormatArg::Kind::Signed: return std::to_string(arg.asSigned());
    case FormatArg::Kind::Unsigned: return std::to_string(arg.asUnsigned());
    case FormatArg::Kind::Floating: return printfOne("%g", arg.asFloating());
    case FormatArg::Kind::Pointer: return printfOne("%p", arg.pointer());
    default: return arg.text();
    }
}

// Doubles outside long long's range (or NaN) cannot be converted without undefined behaviour.
bool fitsInteger(double value) { return value >= -9.2e18 && value <= 9.2e18; }

std::string convert(const std::string& flags, char conversion, const FormatArg& arg)
{
    const std::string spec = "%" + flags;
    using Kind = FormatArg::Kind;
    switch (conversion) {
    case 'd':
    case 'i':
        if (arg.kind() == Kind::Signed || arg.kind() == Kind::Unsigned)
            return printfOne(spec + "lld", arg.asSigned());
        if (arg.kind() == Kind::Floating && fitsInteger(arg.asFloating()))
            return printfOne(spec + "lld", static_cast<long long>(arg.asFloating()));
        break;
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        if (arg.kind() == Kind::Signed || arg.kind() == Kind::Unsigned)
            return printfOne(spec + "ll" + conversion, arg.asUnsigned());
        if (arg.kind() == Kind::Floating && fitsInteger(arg.asFloating()))
            return printfOne(spec + "ll" + conversion, static_cast<unsigned long long>(static_cast<long long>(arg.asFloating())));
        break;
    case 'c':
        if (arg.kind() == Kind::Signed || arg.kind() == Kind::Unsigned)
            return printfOne(spec + "c", static_cast<int>(static_cast<unsigned char>(arg.asUnsigned())));
        break;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        if (arg.kind() == Kind::Floating)
            return printfOne(spec + conversion, arg.asFloating());
        if (arg.kind() == Kind::Signed)
            return printfOne(spec + conversion, static_cast<double>(arg.asSigned()));
        if (arg.kind() == Kind::Unsigned)
            return printfOne(spec + conversion, static_cast<double>(arg.asUnsigned()));
        break;
    case 'p':
        if (arg.kind() == Kind::Pointer)
            return printfOne(spec + "p", arg.pointer());
        break;
    default: // 's' and '@'
        break;
    }
    return printfOne(spec + "s", decimalText(arg).c_str());
}

} // namespace

std::string formatList(std::string_view fmt, const std::vector<FormatArg>& args)
{
    static constexpr std::string_view kFlags = "-+ #0'";
    static constexpr std::string_view kLength = "hlLqjzt";
    static constexpr std::string_view kConversions = "diuxXocfFeEgGaAsp@";
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') {
            out += fmt[i];
            continue;
        }
        if (i + 1 < fmt.size() && fmt[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // %[flags][width][.precision][length]conversion; width and precision are capped so that
        // a hostile format cannot ask for gigabytes.
        std::size_t j = i + 1;
        std::string flags;
        while (j < fmt.size() && kFlags.find(fmt[j]) != std::string_view::npos)
            flags += fmt[j++];
        auto digits = [&] {
            std::string d;
            while (j < fmt.size() && fmt[j] >= '0' && fmt[j] <= '9')
                d += fmt[j++];
            return d.size() > 4 ? std::string("9999") : d;
        };
        flags += digits();
        if (j < fmt.size() && fmt[j] == '.') {
            ++j;
            flags += "." + digits();
        }
        while (j < fmt.size() && kLength.find(fmt[j]) != std::string_view::npos)
            ++j;
        if (j >= fmt.size() || kConversions.find(fmt[j]) == std::string_view::npos) {
            // Not a conversion we know: keep the text as written.
            out.append(fmt.substr(i, j - i));
            i = j - 1;
            continue;
        }
        if (next < args.size())
            out += convert(flags, fmt[j], args[next++]);
        else
            out += "(missing)";
        i = j;
    }
    return out;
}

} // namespace foundation

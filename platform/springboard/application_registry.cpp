#include "springboard/application_registry.h"

#include "foundation/device_path.h"
#include "foundation/ns_array.h"
#include "foundation/ns_dictionary.h"
#include "foundation/ns_string.h"
#include "springboard/icon_drawing.h"
#include "uikit/image.h"
#include "uikit/screen_scale.h"

#include <array>
#include <cctype>
#include <optional>

namespace springboard {

namespace {

std::optional<std::string> textFor(const std::shared_ptr<NSDictionary>& entry, const char* key)
{
    if (auto text = std::dynamic_pointer_cast<NSString>(entry->objectForKey(key)))
        return text->string();
    return std::nullopt;
}

// "RRGGBB" -> components; nullopt unless exactly six hexadecimal digits.
std::optional<std::array<double, 3>> colourFromHex(const std::string& hex)
{
    if (hex.size() != 6)
        return std::nullopt;
    std::array<double, 3> rgb{};
    for (std::size_t i = 0; i < 3; ++i) {
        int value = 0;
        for (std::size_t j = 0; j < 2; ++j) {
            const char c = hex[i * 2 + j];
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return std::nullopt;
            value = value * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10);
        }
        rgb[i] = value / 255.0;
    }
    return rgb;
}

// The first character of the name (whole UTF-8 sequence), upper-cased when it is ASCII.
std::string initialOf(const std::string& name)
{
    if (name.empty())
        return {};
    std::size_t length = 1;
    while (length < name.size() && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
        ++length;
    std::string initial = name.substr(0, length);
    if (length == 1)
        initial[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(initial[0])));
    return initial;
}

InstalledApplication makeApplication(std::string identifier, std::string name, const std::string& hex,
                                     std::optional<std::string> glyph = std::nullopt)
{
    InstalledApplication app;
    app.bundleIdentifier = std::move(identifier);
    app.displayName = name.empty() ? app.bundleIdentifier : std::move(name);
    app.glyph = glyph ? *glyph : initialOf(app.displayName);
    if (auto rgb = colourFromHex(hex)) {
        app.red = (*rgb)[0];
        app.green = (*rgb)[1];
        app.blue = (*rgb)[2];
    }
    return app;
}

struct Current {
    std::string hostPath; // the registry file the loaded registry belongs to
    std::unique_ptr<ApplicationRegistry> registry;
};

Current& current()
{
    static Current c;
    return c;
}

} // namespace

std::vector<InstalledApplication> ApplicationRegistry::builtInApplications()
{
    return {
        makeApplication("com.apple.MobileSMS", "Messages", "34C759"),
        makeApplication("com.apple.mobilemail", "Mail", "1A82FB"),
        makeApplication("com.apple.mobilecal", "Calendar", "FF3B30"),
        makeApplication("com.apple.mobilephone", "Phone", "4CD964"),
        makeApplication("com.apple.reminders", "Reminders", "FF9500"),
        makeApplication("com.apple.mobilesafari", "Safari", "007AFF"),
        makeApplication("com.apple.mobileslideshow", "Photos", "FFCC00"),
        makeApplication("com.apple.weather", "Weather", "54C7FC"),
        makeApplication("com.apple.Music", "Music", "FC3158"),
        makeApplication("com.apple.MobileAddressBook", "Contacts", "8E8E93"),
        makeApplication("com.facebook.Facebook", "Facebook", "3B5998", "f"),
        makeApplication("com.atebits.Tweetie2", "Twitter", "1DA1F2"),
        makeApplication("net.whatsapp.WhatsApp", "WhatsApp", "25D366"),
        makeApplication("com.burbn.instagram", "Instagram", "C13584"),
    };
}

std::unique_ptr<ApplicationRegistry> ApplicationRegistry::readFromFile(const std::string& devicePath)
{
    auto root = NSDictionary::dictionaryWithContentsOfFile(devicePath);
    if (!root)
        return nullptr;
    auto list = std::dynamic_pointer_cast<NSArray>(root->objectForKey("Applications"));
    if (!list)
        return nullptr;
    std::vector<InstalledApplication> applications;
    for (const objc::id& value : *list) {
        auto entry = std::dynamic_pointer_cast<NSDictionary>(value);
        if (!entry)
            continue;
        auto identifier = textFor(entry, "CFBundleIdentifier");
        if (!identifier || identifier->empty())
            continue;
        applications.push_back(makeApplication(*identifier, textFor(entry, "CFBundleDisplayName").value_or(""),
                                               textFor(entry, "IconColor").value_or(""), textFor(entry, "IconGlyph")));
    }
    return std::make_unique<ApplicationRegistry>(std::move(applications));
}

ApplicationRegistry& ApplicationRegistry::current()
{
    Current& c = springboard::current();
    const std::string path = foundation::hostPath(kPath);
    if (!c.registry || c.hostPath != path) {
        c.registry = readFromFile(kPath);
        if (!c.registry)
            c.registry = std::make_unique<ApplicationRegistry>(builtInApplications());
        c.hostPath = path;
    }
    return *c.registry;
}

void ApplicationRegistry::reload() { springboard::current().registry.reset(); }

const InstalledApplication* ApplicationRegistry::application(const std::string& bundleIdentifier) const
{
    for (const auto& app : applications_) {
        if (app.bundleIdentifier == bundleIdentifier)
            return &app;
    }
    return nullptr;
}

std::shared_ptr<UIImage> ApplicationRegistry::iconImage(const std::string& bundleIdentifier, long format, CGFloat scale)
{
    if (scale <= 0)
        scale = UIMainScreenScale();
    const InstalledApplication* app = application(bundleIdentifier);
    // Every identifier that is not installed shares the one generic picture.
    auto key = std::make_tuple(app ? bundleIdentifier : std::string(), format, scale);
    if (auto found = icons_.find(key); found != icons_.end())
        return found->second;
    auto image = app ? drawApplicationIcon(*app, format, scale) : drawGenericApplicationIcon(format, scale);
    icons_.emplace(std::move(key), image);
    return image;
}

} // namespace springboard

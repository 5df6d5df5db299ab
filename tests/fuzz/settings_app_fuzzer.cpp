// Any bytes as the Settings application's command stream, one command a line, against the
// Vantorel preference bundle with its shipped list. Every command is answered with "ok ..." or
// "error ...", and whatever the commands did, the settings file stays a dictionary. ("snapshot"
// and "wait" are left out: they write anywhere on the machine and wait in real time.)
#include "foundation/ns_dictionary.h"
#include "preferences/preferences_commands.h"

#include "preferences_bundle.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>

namespace {

[[noreturn]] void fail(const char* why, const std::string& line)
{
    std::fprintf(stderr, "settings_app_fuzzer: %s: %s\n", why, line.c_str());
    std::abort();
}

std::string firstWord(const std::string& line)
{
    std::vector<std::string> words;
    if (!PreferencesCommands::split(line, words) || words.empty())
        return {};
    std::string word = words.front();
    for (char& c : word)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::installPreferenceBundle();
    const std::string settingsFile = "/User/Library/Preferences/com.vantorel.prefs.plist";
    fuzzing::removeFile(settingsFile);

    PreferencesApp app("Vantorel");
    PreferencesCommands commands(app);
    std::istringstream input{std::string(fuzzing::bytesOf(data, size))};
    int count = 0;
    for (std::string line; std::getline(input, line) && count < 64 && !commands.quitRequested(); ++count) {
        const std::string verb = firstWord(line);
        if (verb == "snapshot" || verb == "wait")
            continue;
        const std::string answer = commands.execute(line);
        if (!answer.starts_with("ok") && !answer.starts_with("error "))
            fail("an answer that is neither ok nor error", line);
    }
    struct stat written {};
    if (::stat(fuzzing::hostPath(settingsFile).c_str(), &written) == 0 &&
        !NSDictionary::dictionaryWithContentsOfFile(settingsFile))
        fail("the settings file is no longer a dictionary", "");
    fuzzing::closeEverything(app);
    return 0;
}

// Any bytes as the chosen language's file: every text is read or absent, the greetings are
// composed from whatever the file holds, and the sentences that use the texts can be made.
#include "common/support_paths.h"
#include "foundation/ns_dictionary.h"
#include "tweak/core/localization.h"
#include "tweak/core/settings.h"
#include "tweak/core/status_text.h"

#include "fuzz_device.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "localization_fuzzer: %s\n", why);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool started = [] {
        fuzzing::deviceRoot();
        loadSettings(); // no settings file: the name is the PAL_STRNG text, the folder "English"
        return true;
    }();
    (void)started;
    vantorel::settings.nameIsDefault = true;
    fuzzing::writeFile(vantorel::localizationFilePath("English"), fuzzing::bytesOf(data, size));
    generateLocalizations();

    const auto table = NSDictionary::dictionaryWithContentsOfFile(vantorel::localizationFilePath("English"));
    if (!table && (palString || itsString || notAvString))
        fail("a file that is no dictionary gave texts");
    const std::string name = textOrEmpty(palString);
    for (const LocalizedText* greeting : {&morningString, &afternoonString, &eveningString, &nightString})
        if (!*greeting || !greeting->value().ends_with(", " + name + "."))
            fail("a greeting does not end with the name");
    for (long code = -2; code <= 49; ++code)
        conditionWordForCode(code);
    dateStatusString();
    getTempString();
    return 0;
}

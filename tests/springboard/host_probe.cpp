// A library that tests inject into the real host program (its file name puts it after the
// libraries it looks at). It sees the host process from the inside, as an injected library does,
// and reports in files of the device root:
//
// At start, each line of "/var/tmp/HostProbe.ask" is answered in "/var/tmp/HostProbe.answers"
// with "<line> = yes" or "<line> = no":
//   open <device path>              loads the file as a library loads a companion (yes: loaded)
//   class <Class>                   the runtime knows the class by name
//   ivar <Class> <name>             the class has the instance variable
//   method <Class> <selector>       the class's instances answer the selector
//   classmethod <Class> <selector>  the class itself answers the selector
// A class written "<Class>+<selector>" stands for the class of what the class answers to that
// selector (the class of a shared instance); "<a>|<b>" asks for either selector.
//
// Each "VTdidUpdateWeather" appends the injected library's weather sentence to
// "/var/tmp/HostProbe.sentences".
#include "foundation/device_path.h"
#include "foundation/loader.h"
#include "foundation/notification_center.h"
#include "objc/objc.h"

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace {

using namespace objc;

objc::Class receiverClass(const std::string& name)
{
    const auto plus = name.find('+');
    Class cls = objc_getClass(name.substr(0, plus));
    if (!cls || plus == std::string::npos)
        return cls;
    const SEL sel = sel_registerName(name.substr(plus + 1).c_str());
    if (!class_getClassMethod(cls, sel))
        return nullptr;
    const id shared = msgSend<id>(cls, sel);
    return shared ? object_getClass(shared.get()) : nullptr;
}

bool anyOf(const std::string& selectors, const std::function<bool(SEL)>& answers)
{
    std::istringstream alternatives(selectors);
    for (std::string one; std::getline(alternatives, one, '|');)
        if (answers(sel_registerName(one.c_str())))
            return true;
    return false;
}

bool answer(const std::string& question)
{
    std::istringstream words(question);
    std::string kind, owner, member;
    words >> kind >> owner >> member;
    if (kind == "open")
        return foundation::dlopen(owner.c_str(), RTLD_NOW) != nullptr;
    Class cls = receiverClass(owner);
    if (!cls)
        return false;
    if (kind == "class")
        return true;
    if (kind == "ivar")
        return class_getInstanceVariable(cls, member) != nullptr;
    if (kind == "method")
        return anyOf(member, [cls](SEL sel) { return class_getInstanceMethod(cls, sel) != nullptr; });
    if (kind == "classmethod")
        return anyOf(member, [cls](SEL sel) { return class_getClassMethod(cls, sel) != nullptr; });
    return false;
}

void weatherUpdated(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    // getTempString(), found by its symbol when it is wanted: the library may load after this one.
    using Sentence = std::string (*)();
    const auto sentence = reinterpret_cast<Sentence>(dlsym(RTLD_DEFAULT, "_Z13getTempStringB5cxx11v"));
    const std::filesystem::path file = foundation::hostPath("/var/tmp/HostProbe.sentences");
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    std::ofstream(file, std::ios::app)
        << (sentence ? sentence() : std::string("<no library>")) << "\n";
}

[[gnu::constructor]] void probeStarted()
{
    std::ifstream questions(foundation::hostPath("/var/tmp/HostProbe.ask"));
    std::ofstream answers(foundation::hostPath("/var/tmp/HostProbe.answers"));
    for (std::string line; std::getline(questions, line);)
        answers << line << " = " << (answer(line) ? "yes" : "no") << "\n";
    // An observer of its own: the library observes the same name with none.
    static int observer;
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &observer, &weatherUpdated,
                                    CFSTR("VTdidUpdateWeather"), nullptr, 0);
}

} // namespace

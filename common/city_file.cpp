#include "common/city_file.h"

#include "common/support_paths.h"
#include "foundation/ns_dictionary.h"

namespace vantorel {

objc::id weatherStore()
{
    static objc::Class storeClass = nullptr;
    if (!storeClass)
        storeClass = objc::objc_getClass("WeatherPreferences");
    return storeClass ? objc::msgSend<objc::id>(storeClass, objc::sel_registerName("sharedPreferences")) : nullptr;
}

objc::id readCityFile()
{
    auto dictionary = NSDictionary::dictionaryWithContentsOfFile(std::string(CityFile));
    return objc::msgSend<objc::id>(weatherStore(), objc::sel_registerName("cityFromPreferencesDictionary:"),
                                   dictionary);
}

bool writeCityFile(const objc::id& city)
{
    auto dictionary = std::dynamic_pointer_cast<NSDictionary>(objc::msgSend<objc::id>(
        weatherStore(), objc::sel_registerName("preferencesDictionaryForCity:"), city));
    return dictionary && dictionary->writeToFileAtomically(std::string(CityFile), true);
}

} // namespace vantorel

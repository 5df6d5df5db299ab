// Helpers shared by the weather tests: a location object like the location framework's, and a
// scoped setting of the simulated device's environment.
#pragma once

#include "objc/objc.h"
#include "weather/weather_coordinates.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace weathertest {

// Answers "coordinate" under the platform's coordinate encoding, as CLLocation does.
class PhoneLocation : public objc::Object {
    OBJC_CLASS(PhoneLocation, objc::Object)
public:
    PhoneLocation() = default;
    PhoneLocation(double latitude, double longitude) : where_{latitude, longitude} {}
    weather::WeatherCoordinates coordinate() const { return where_; }

private:
    weather::WeatherCoordinates where_;
};

// Sets (or, with nullopt, removes) an environment variable until the end of the scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const std::optional<std::string>& value) : name_(std::move(name))
    {
        if (const char* old = std::getenv(name_.c_str()))
            previous_ = old;
        if (value)
            setenv(name_.c_str(), value->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ~ScopedEnvironment()
    {
        if (previous_)
            setenv(name_.c_str(), previous_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

} // namespace weathertest

// The simulated device's own weather service: answers the daemon's forecast requests on
// 127.0.0.1 in the weather service's format, with the weather a scenario or the live page set
// ("weather 21.5 sunny"). Used only when the device is told to; otherwise the daemon keeps the
// weather service of the device settings (the offline one by default).
#pragma once

#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace sim {

// The condition words a scenario may use, each with the weather service's code for it.
struct ConditionWord {
    const char* word;
    int serviceCode;
};
const std::vector<ConditionWord>& conditionWords();
std::optional<int> serviceCodeForWord(const std::string& word);

class WeatherAnswers {
public:
    WeatherAnswers();
    ~WeatherAnswers();
    WeatherAnswers(const WeatherAnswers&) = delete;
    WeatherAnswers& operator=(const WeatherAnswers&) = delete;

    // "http://127.0.0.1:<port>"
    std::string baseURL() const;
    // From now on: the current weather, and twelve hours from `start` (device time) that drift
    // from it by a degree or two.
    void setCurrent(double celsius, int serviceCode, std::time_t start);

private:
    std::string answer() const;

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex lock_;
    double celsius_ = 18;
    int code_ = 1;
    std::time_t start_ = 0;
};

} // namespace sim

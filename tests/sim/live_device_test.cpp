// The live device in a real browser: headless Chromium, driven through ChromeDriver, opens the
// page, taps an icon on the screen and sees the screen change, posts a notification from the
// form and the badge appears. Bad requests are refused with a reason.
#include "../support/child_process.h"
#include "../support/support.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <chrono>
#include <filesystem>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

// The share of reddish pixels of a PNG screen (at twice the point size) over a rectangle in points.
double redShare(const std::string& png, double x, double y, double w, double h)
{
    struct Reader {
        const std::string* bytes;
        std::size_t at = 0;
    } reader{&png};
    auto read = [](void* closure, unsigned char* data, unsigned int length) {
        auto* r = static_cast<Reader*>(closure);
        if (r->at + length > r->bytes->size())
            return CAIRO_STATUS_READ_ERROR;
        std::memcpy(data, r->bytes->data() + r->at, length);
        r->at += length;
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(read, &reader);
    int hits = 0, all = 0;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        const auto* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        for (int py = int(y * 2); py < int((y + h) * 2); ++py)
            for (int px = int(x * 2); px < int((x + w) * 2); ++px, ++all) {
                const auto* p = data + py * stride + px * 4;
                hits += p[2] > 180 && p[1] < 90 && p[0] < 90;
            }
    }
    cairo_surface_destroy(surface);
    return all ? double(hits) / all : 0;
}

// A minimal WebDriver client for ChromeDriver.
class Browser {
public:
    explicit Browser(int port) : driver_("127.0.0.1", port) { driver_.set_read_timeout(60); }

    bool start(const std::string& profile)
    {
        const json capabilities{
            {"capabilities",
             {{"alwaysMatch",
               {{"browserName", "chrome"},
                {"goog:chromeOptions",
                 {{"binary", "/usr/bin/chromium"},
                  {"args",
                   {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                    "--disable-background-networking", "--disable-component-update", "--disable-sync",
                    "--window-size=1400,1600", "--user-data-dir=" + profile}}}}}}}}};
        for (int i = 0; i < 100 && session_.empty(); ++i) {
            if (const auto answer = call("POST", "/session", capabilities); answer.contains("value") &&
                                                                             answer["value"].contains("sessionId"))
                session_ = answer["value"]["sessionId"];
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return !session_.empty();
    }
    ~Browser()
    {
        if (!session_.empty())
            driver_.Delete("/session/" + session_);
    }

    json call(const std::string& method, const std::string& path, const json& body = json::object())
    {
        const auto result = method == "GET" ? driver_.Get(path) : driver_.Post(path, body.dump(), "application/json");
        return result ? json::parse(result->body, nullptr, false) : json::object();
    }
    json session(const std::string& method, const std::string& path, const json& body = json::object())
    {
        return call(method, "/session/" + session_ + path, body);
    }
    std::string element(const std::string& css)
    {
        const auto answer = session("POST", "/element", {{"using", "css selector"}, {"value", css}});
        return answer.contains("value") && answer["value"].is_object() && !answer["value"].empty()
                   ? answer["value"].begin().value().get<std::string>()
                   : std::string();
    }
    json script(const std::string& code) { return session("POST", "/execute/sync", {{"script", code}, {"args", json::array()}})["value"]; }
    std::string screenshot(const std::string& element) { return session("GET", "/element/" + element + "/screenshot")["value"]; }
    // Waits until the script answers true.
    bool until(const std::string& code, double seconds = 15)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            if (script(code) == true)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    // A click at a point of an element, in CSS pixels from its top-left corner.
    void clickAt(const json& rect, double x, double y)
    {
        const json pointer{{"type", "pointer"},
                           {"id", "mouse"},
                           {"parameters", {{"pointerType", "mouse"}}},
                           {"actions",
                            {{{"type", "pointerMove"}, {"origin", "viewport"},
                              {"x", int(rect["x"].get<double>() + x)}, {"y", int(rect["y"].get<double>() + y)}},
                             {{"type", "pointerDown"}, {"button", 0}},
                             {{"type", "pointerUp"}, {"button", 0}}}}};
        session("POST", "/actions", {{"actions", json::array({pointer})}});
    }

private:
    httplib::Client driver_;
    std::string session_;
};

TEST(LiveDeviceTest, ABrowserTapsTheScreenAndPostsANotification)
{
    const std::string folder = testing::TempDir() + "vantorel-live-" + std::to_string(::getpid());
    testsupport::ChildProcess device({testsupport::buildDir() + "/bin/vantorel-device", "--build", testsupport::buildDir(),
                                      "--root", folder + "/root", "--screens", folder + "/screens", "--live"});
    int port = 0;
    while (const auto line = device.readLine(60))
        if (std::sscanf(line->c_str(), "live device at http://127.0.0.1:%d/", &port) == 1)
            break;
    ASSERT_GT(port, 0) << "the live device did not start";
    const std::string page = "http://127.0.0.1:" + std::to_string(port) + "/";

    // Bad requests are refused with a reason, and the device goes on.
    httplib::Client http("127.0.0.1", port);
    for (const char* bad : {"tap 9999 1", "dance", "post", "settings", "snapshot \x01"}) {
        const auto answer = http.Post("/event", bad, "text/plain");
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 400) << bad;
        EXPECT_NE(json::parse(answer->body).value("error", "").find("expected"), std::string::npos) << answer->body;
    }
    EXPECT_EQ(http.Post("/event", std::string(5000, 'x'), "text/plain")->status, 413);

    const int driverPort = freePort();
    testsupport::ChildProcess driver({"/usr/bin/chromedriver", "--port=" + std::to_string(driverPort)});
    ASSERT_TRUE(driver.started()) << "chromedriver is missing: scripts/bootstrap installs it";
    Browser browser(driverPort);
    ASSERT_TRUE(browser.start(folder + "/profile"));
    browser.session("POST", "/url", {{"url", page}});
    ASSERT_TRUE(browser.until("const s = document.getElementById('screen'); return s.complete && s.naturalWidth === 640;"));
    const std::string screen = browser.element("#screen");
    const json rect = browser.session("GET", "/element/" + screen + "/rect")["value"];
    const std::string closed = browser.screenshot(screen);

    // The notifications icon sits at (282, 253) in points: twice that on the page.
    browser.clickAt(rect, 564, 506);
    ASSERT_TRUE(browser.until("return document.getElementById('status').textContent.startsWith('✓ tap');"))
        << browser.script("return document.getElementById('status').textContent;");
    ASSERT_TRUE(browser.until("const s = document.getElementById('screen'); return s.complete && s.naturalWidth === 640;"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_NE(browser.screenshot(screen), closed) << "the screen did not change after the tap";

    // The form's defaults post a message from Messages: its icon comes with the badge "1".
    EXPECT_LT(redShare(http.Get("/screen.png")->body, 168, 262, 24, 16), 0.05);
    browser.session("POST", "/element/" + browser.element("#post") + "/click");
    ASSERT_TRUE(browser.until("return document.getElementById('status').textContent.startsWith('✓ post');"));
    EXPECT_GT(redShare(http.Get("/screen.png")->body, 168, 262, 24, 16), 0.3);
    EXPECT_NE(json::parse(http.Get("/state")->body).value("state", "").find("items=1"), std::string::npos);

    ::kill(device.pid(), SIGTERM);
    EXPECT_EQ(device.wait(20), 0);
    fs::remove_all(folder);
}

} // namespace

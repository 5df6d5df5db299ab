// The simulated device end to end: the runner boots a device root, the daemon and the host run
// as their own processes, a short scenario plays, and the pictures and the host's state say what
// a user would have seen.
#include "../support/child_process.h"
#include "../support/support.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

namespace fs = std::filesystem;

namespace {

// A snapshot's pixels, read by screen point (the pictures are at twice the point size).
class Picture {
public:
    explicit Picture(const std::string& path)
        : surface_(cairo_image_surface_create_from_png(path.c_str()), cairo_surface_destroy)
    {
    }
    bool loaded() const { return cairo_surface_status(surface_.get()) == CAIRO_STATUS_SUCCESS; }

    // Mean brightness (0..255) and the share of pixels passing `test` over a rectangle in points.
    template <class Test>
    double share(double x, double y, double w, double h, Test test) const
    {
        int hits = 0, all = 0;
        visit(x, y, w, h, [&](int r, int g, int b) {
            hits += test(r, g, b) ? 1 : 0;
            ++all;
        });
        return all ? double(hits) / all : 0;
    }
    double brightness(double x, double y, double w, double h) const
    {
        double sum = 0;
        int all = 0;
        visit(x, y, w, h, [&](int r, int g, int b) {
            sum += (r + g + b) / 3.0;
            ++all;
        });
        return all ? sum / all : 0;
    }

private:
    template <class F>
    void visit(double x, double y, double w, double h, F f) const
    {
        cairo_surface_flush(surface_.get());
        const auto* data = cairo_image_surface_get_data(surface_.get());
        const int stride = cairo_image_surface_get_stride(surface_.get());
        const int width = cairo_image_surface_get_width(surface_.get());
        const int height = cairo_image_surface_get_height(surface_.get());
        for (int py = int(y * 2); py < int((y + h) * 2) && py < height; ++py)
            for (int px = int(x * 2); px < int((x + w) * 2) && px < width; ++px) {
                const auto* p = data + py * stride + px * 4;
                f(p[2], p[1], p[0]);
            }
    }
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface_;
};

bool red(int r, int g, int b) { return r > 180 && g < 90 && b < 90; }
bool white(int r, int g, int b) { return r > 215 && g > 215 && b > 215; }

struct Played {
    int status = -1;
    std::vector<std::string> output;
    std::map<std::string, std::string> stateOf;  // snapshot file name -> host state after it
};

class DeviceTest : public ::testing::Test {
protected:
    std::string folder = testing::TempDir() + "vantorel-device-" + std::to_string(::getpid());

    void TearDown() override { fs::remove_all(folder); }

    Played play(const std::string& scenario)
    {
        fs::create_directories(folder);
        std::ofstream(folder + "/scenario.txt") << scenario;
        testsupport::ChildProcess runner({testsupport::buildDir() + "/bin/vantorel-device", "--build",
                                          testsupport::buildDir(), "--root", folder + "/root", "--screens",
                                          folder + "/screens", folder + "/scenario.txt"});
        Played run;
        std::string lastShot;
        while (const auto line = runner.readLine(60)) {
            run.output.push_back(*line);
            if (line->find(".png") != std::string::npos && line->rfind("  /", 0) == 0)
                lastShot = fs::path(line->substr(2)).filename().string();
            else if (line->rfind("  state ", 0) == 0)
                run.stateOf[lastShot] = line->substr(8);
        }
        run.status = runner.wait(30).value_or(-1);
        return run;
    }
    Picture shot(const std::string& name) const { return Picture(folder + "/screens/" + name); }
};

TEST_F(DeviceTest, AShortMorningShowsGreetingBadgesAndTheOpenedPanel)
{
    const Played run = play("clock 2026-12-09 08:10\n"
                         "layout\n"
                         "snapshot greeting\n"
                         "post com.apple.MobileSMS Anna | one\n"
                         "post com.apple.MobileSMS Anna | two\n"
                         "post com.apple.mobilemail Tom | three\n"
                         "layout\n"
                         "snapshot badges\n"
                         "tap notifications\n"
                         "snapshot open\n");
    ASSERT_EQ(run.status, 0) << testing::PrintToString(run.output);
    EXPECT_NE(run.stateOf.at("01-greeting.png").find("labels=[\"Good Morning, Pal.\""), std::string::npos);
    EXPECT_NE(run.stateOf.at("02-badges.png").find("items=3"), std::string::npos);

    // The greeting line: light ultra-light letters across the top of the dashboard.
    const Picture greeting = shot("01-greeting.png");
    ASSERT_TRUE(greeting.loaded());
    EXPECT_GT(greeting.share(0, 170, 320, 40, white), 0.02);

    // Two icons in the hub (76, 250, 168, 100), centred: at x 100 and 160, each with a red badge
    // on its top-right corner holding white digits.
    const Picture badges = shot("02-badges.png");
    for (double corner : {150.0, 210.0}) {
        EXPECT_GT(badges.share(corner - 12, 260, 24, 24, red), 0.3) << "badge at " << corner;
        EXPECT_GT(badges.share(corner - 5, 265, 10, 14, white), 0.1) << "digits at " << corner;
    }
    EXPECT_LT(badges.share(20, 260, 50, 24, red), 0.01);

    // The tab joins the tapped notifications icon to its panel: the blur's dark tint behind the
    // icon, where the closed dashboard showed the bare background.
    const Picture open = shot("03-open.png");
    EXPECT_LT(open.brightness(258, 229, 6, 40), badges.brightness(258, 229, 6, 40) - 8);
    EXPECT_NEAR(open.brightness(60, 229, 6, 40), badges.brightness(60, 229, 6, 40), 4);
}

TEST_F(DeviceTest, TheLockScreenKeepsTheLastWeatherWhileTheDaemonIsDown)
{
    const Played run = play("clock 2026-12-09 14:00\n"
                         "weather 21.5 sunny\n"
                         "layout\n"
                         "snapshot fetched\n"
                         "daemon stop\n"
                         "+600 layout\n"
                         "snapshot daemon down\n"
                         "daemon start\n"
                         "weather -3 snow\n"
                         "layout\n"
                         "snapshot daemon back\n");
    ASSERT_EQ(run.status, 0) << testing::PrintToString(run.output);
    EXPECT_NE(run.stateOf.at("01-fetched.png").find("It's 21.5° C and Sunny currently."), std::string::npos)
        << run.stateOf.at("01-fetched.png");
    EXPECT_NE(run.stateOf.at("02-daemon-down.png").find("It's 21.5° C and Sunny currently."), std::string::npos);
    EXPECT_NE(run.stateOf.at("03-daemon-back.png").find("It's -3° C and Snowing currently."), std::string::npos)
        << run.stateOf.at("03-daemon-back.png");
}

TEST_F(DeviceTest, AWrongScenarioNamesItsLineAndStartsNothing)
{
    const Played run = play("clock 07:00\ntap 400 10\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(fs::exists(folder + "/root"));
}

} // namespace

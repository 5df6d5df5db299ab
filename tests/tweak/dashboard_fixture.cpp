#include "dashboard_fixture.h"

#include "foundation/clock.h"
#include "foundation/ns_dictionary.h"
#include "foundation/timezone.h"
#include "support/support.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;
using namespace objc;

namespace dashboardtest {

namespace {

constexpr double kJanuary1 = 1767225600; // 2026-01-01 00:00 UTC

} // namespace

DashboardTest::DashboardTest()
{
    foundation::setDeviceTimeZone("UTC");
    setTime(5, 9, 41);
    const std::string plugin = SpringBoard::kNowPlayingPluginPath;
    fs::create_directories(fs::path(device.host(plugin)).parent_path());
    fs::copy_file(testsupport::buildDir() + "/device" + plugin, device.host(plugin), fs::copy_options::overwrite_existing);
    installPlugin("Calendar");
}

DashboardTest::~DashboardTest()
{
    host.reset();
    foundation::useRealClock();
}

void DashboardTest::start(const std::string& settingsEntries)
{
    writeSettings(settingsEntries);
    api = DashboardTestApi::start();
    ASSERT_TRUE(api) << "the library cannot be loaded";
    host = std::make_unique<SpringBoard>();
}

void DashboardTest::setTime(int day, int hour, int minute)
{
    foundation::useVirtualClock(kJanuary1 + (day - 1) * 86400.0 + hour * 3600.0 + minute * 60.0);
}

void DashboardTest::tapIcon(const UIView* view, int taps) const
{
    ASSERT_TRUE(view);
    const CGRect b = view->bounds();
    host->tap(view->convertPointToView(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)), nullptr), taps);
}

unsigned long DashboardTest::hubIconCount() const
{
    auto icons = std::dynamic_pointer_cast<NSDictionary>(msgSend<id>(api->appsHub(), "iconImgViews"_sel));
    return icons ? icons->count() : 0;
}

void DashboardTest::tapHubIcon(const std::string& identifier) const
{
    auto icons = std::dynamic_pointer_cast<NSDictionary>(msgSend<id>(api->appsHub(), "iconImgViews"_sel));
    ASSERT_TRUE(icons);
    tapIcon(asView(icons->objectForKey(identifier)), 1);
}

UIView* asView(const id& object) { return dynamic_cast<UIView*>(object.get()); }

namespace {

bool sameShape(const UIImage& a, const UIImage& b)
{
    return a.pixelWidth() == b.pixelWidth() && a.pixelHeight() == b.pixelHeight() && a.scale() == b.scale();
}

// Calls the function with each pair of pixels (ARGB32, native order).
template <class F>
void eachPixelPair(const UIImage& a, const UIImage& b, F f)
{
    cairo_surface_flush(a.surface());
    cairo_surface_flush(b.surface());
    const unsigned char* da = cairo_image_surface_get_data(a.surface());
    const unsigned char* db = cairo_image_surface_get_data(b.surface());
    const int sa = cairo_image_surface_get_stride(a.surface());
    const int sb = cairo_image_surface_get_stride(b.surface());
    for (int y = 0; y < a.pixelHeight(); ++y)
        for (int x = 0; x < a.pixelWidth(); ++x)
            f(da + y * sa + 4 * x, db + y * sb + 4 * x);
}

} // namespace

bool samePixels(const UIImage& a, const UIImage& b)
{
    if (!sameShape(a, b))
        return false;
    bool same = true;
    eachPixelPair(a, b, [&](const unsigned char* p, const unsigned char* q) { same = same && !std::memcmp(p, q, 4); });
    return same;
}

double differingShare(const UIImage& a, const UIImage& b, int tolerance)
{
    if (!sameShape(a, b) || a.pixelWidth() == 0 || a.pixelHeight() == 0)
        return 1;
    long differing = 0;
    eachPixelPair(a, b, [&](const unsigned char* p, const unsigned char* q) {
        for (int c = 0; c < 4; ++c) {
            if (std::abs(p[c] - q[c]) > tolerance) {
                ++differing;
                return;
            }
        }
    });
    return static_cast<double>(differing) / (static_cast<double>(a.pixelWidth()) * a.pixelHeight());
}

} // namespace dashboardtest

// The settings list and the colour picker as pictures, against the reviewed references in
// tests/prefs/reference/. The pictures of this run are left in the build folder
// (prefs-screens/) to look at; a missing reference is written there for review and fails.
#include "prefs/prefs_fixture.h"

#include "support/support.h"
#include "uikit/image.h"
#include "uikit/snapshot.h"

#include <gtest/gtest.h>

#include <cairo.h>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The share of pixels that differ by more than a small amount in any channel (text edges may
// shift by a shade between font builds); 1 when the sizes differ or a picture is missing.
double differingShare(cairo_surface_t* a, cairo_surface_t* b)
{
    if (cairo_surface_status(a) != CAIRO_STATUS_SUCCESS || cairo_surface_status(b) != CAIRO_STATUS_SUCCESS)
        return 1;
    const int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
    if (w != cairo_image_surface_get_width(b) || h != cairo_image_surface_get_height(b) || w == 0 || h == 0)
        return 1;
    cairo_surface_flush(a);
    cairo_surface_flush(b);
    long differing = 0;
    for (int y = 0; y < h; ++y) {
        const auto* rowA = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(a) + y * cairo_image_surface_get_stride(a));
        const auto* rowB = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(b) + y * cairo_image_surface_get_stride(b));
        for (int x = 0; x < w; ++x)
            for (int shift = 0; shift < 32; shift += 8)
                if (std::abs(int((rowA[x] >> shift) & 0xff) - int((rowB[x] >> shift) & 0xff)) > 24) {
                    ++differing;
                    break;
                }
    }
    return double(differing) / (double(w) * h);
}

using PrefsPicturesTest = prefstest::PrefsTest;

} // namespace

TEST_F(PrefsPicturesTest, TheListAndThePickerLookAsReviewed)
{
    writeSettings("<key>Name</key><string>Ada</string><key>blurEnabled</key><true/>");
    start();
    const fs::path out = fs::path(testsupport::buildDir()) / "prefs-screens";
    fs::create_directories(out);
    const struct {
        const char* name;
        std::vector<std::string> steps;
    } pictures[] = {{"settings_list", {}}, {"color_picker", {"tap textColorRow"}}};
    for (const auto& picture : pictures) {
        runAll(picture.steps);
        app->layOut();
        const auto shot = snapshotImage(app->window().get());
        ASSERT_TRUE(shot);
        const std::string made = (out / (std::string(picture.name) + ".png")).string();
        ASSERT_TRUE(shot->writePNG(made));
        const std::string reference = std::string(VANTOREL_PREFS_REFERENCE) + "/" + picture.name + ".png";
        cairo_surface_t* expected = cairo_image_surface_create_from_png(reference.c_str());
        EXPECT_LT(differingShare(shot->surface(), expected), 0.01) << made << " differs from " << reference;
        cairo_surface_destroy(expected);
    }
}

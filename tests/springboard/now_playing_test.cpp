// The now-playing artwork class belongs to the host's plug-in: it exists only once the plug-in's
// shared object is loaded, and the host makes its artwork view from it when media plays.
#include "springboard_fixture.h"

#include "springboard/springboard.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

class SpringBoardNowPlaying : public sbtest::SpringBoardTest {};

int checkClassAppearsOnlyWithItsSharedObject(const std::string& pluginHostPath)
{
    if (objc::objc_getClass("_NowPlayingArtView")) {
        std::fprintf(stderr, "present before loading\n");
        return 2;
    }
    if (!dlopen(pluginHostPath.c_str(), RTLD_NOW)) {
        std::fprintf(stderr, "cannot load: %s\n", dlerror());
        return 3;
    }
    objc::Class art = objc::objc_getClass("_NowPlayingArtView");
    if (!art || art->superclass() != UIView::class_()) {
        std::fprintf(stderr, "absent after loading\n");
        return 4;
    }
    return 0;
}

// Runs in a fresh process (the "threadsafe" death-test style starts the test program again), so
// that no earlier test of this process has loaded the plug-in. That process ends without
// unwinding, so it takes its own device root away first.
[[noreturn]] void classAppearsOnlyWithItsSharedObject(const testsupport::TemporaryDeviceRoot& device)
{
    const int status = checkClassAppearsOnlyWithItsSharedObject(device.host(SpringBoard::kNowPlayingPluginPath));
    std::error_code ignored;
    std::filesystem::remove_all(device.path(), ignored);
    std::_Exit(status);
}

} // namespace

TEST_F(SpringBoardNowPlaying, ArtViewClassExistsOnlyOnceItsSharedObjectIsLoaded)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    installNowPlayingPlugin();
    EXPECT_EXIT(classAppearsOnlyWithItsSharedObject(device),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(SpringBoardNowPlaying, MediaShowsAnArtworkViewWithRealPixelsAndRequestsTheUnderlay)
{
    installNowPlayingPlugin();
    SpringBoard sb;
    EXPECT_FALSE(sb.isContentUnderlayShown());
    auto art = sb.startMedia();
    ASSERT_NE(art, nullptr);
    EXPECT_EQ(art, sb.mediaView());
    EXPECT_EQ(art->superview(), sb.rootView());
    EXPECT_EQ(art->frame(), CGRectMake(40, 160, 240, 240));
    ASSERT_NE(art->layer()->contents(), nullptr);
    EXPECT_EQ(art->layer()->contents()->pixelWidth(), 480);
    EXPECT_TRUE(sb.isContentUnderlayShown());

    // A second track makes a new view in place of the first.
    auto next = sb.startMedia();
    EXPECT_NE(next, art);
    EXPECT_EQ(art->superview(), nullptr);

    sb.stopMedia();
    EXPECT_EQ(sb.mediaView(), nullptr);
    EXPECT_FALSE(sb.isContentUnderlayShown());
}

TEST_F(SpringBoardNowPlaying, WithoutThePluginMediaShowsNothing)
{
    SpringBoard sb;
    if (objc::objc_getClass("_NowPlayingArtView"))
        GTEST_SKIP() << "an earlier test of this process loaded the plug-in";
    EXPECT_EQ(sb.startMedia(), nullptr);
    EXPECT_FALSE(sb.isContentUnderlayShown());
}

#include "uikit/application.h"
#include "uikit/index_path.h"
#include "uikit/screen.h"

#include <gtest/gtest.h>

#include <unordered_set>

using objc::operator""_sel;

TEST(Application, OpensAddressesOfInstalledSchemesAndTheWeb)
{
    auto app = UIApplication::sharedApplication();
    EXPECT_EQ(app, UIApplication::sharedApplication());
    EXPECT_EQ(objc::msgSend<objc::id>(UIApplication::class_(), "sharedApplication"_sel), app);
    app->clearOpenedURLs();
    app->setInstalledURLSchemes({"Twitter"});

    EXPECT_FALSE(app->canOpenURL("tweetbot://"));
    EXPECT_FALSE(app->canOpenURL("twitterrific://"));
    EXPECT_TRUE(app->canOpenURL("twitter://"));
    EXPECT_TRUE(app->canOpenURL("TWITTER://user?screen_name=x"));
    EXPECT_TRUE(app->canOpenURL("https://example.org/someone"));
    EXPECT_TRUE(app->canOpenURL("http://example.org"));
    for (const char* bad : {"", "twitter", "://x", "1twitter://", "twit ter://", ":"})
        EXPECT_FALSE(app->canOpenURL(bad)) << bad;

    std::vector<std::string> seen;
    app->setOpenURLHandler([&](const std::string& url) { seen.push_back(url); });
    EXPECT_FALSE(app->openURL("tweetbot:///user_profile/someone"));
    EXPECT_TRUE(app->openURL("twitter://user?screen_name=someone"));
    EXPECT_EQ(app->openedURLs(), std::vector<std::string>{"twitter://user?screen_name=someone"});
    EXPECT_EQ(seen, app->openedURLs());

    app->setInstalledURLSchemes({});
    EXPECT_FALSE(app->canOpenURL("twitter://"));
    app->setOpenURLHandler(nullptr);
    app->clearOpenedURLs();
}

TEST(Application, RelaunchGoesToTheHostsHandlerThroughTheRuntime)
{
    auto app = UIApplication::sharedApplication();
    objc::msgSend(app, "_relaunchSpringBoardNow"_sel); // no handler: nothing happens
    int relaunches = 0;
    app->setRelaunchHandler([&] { ++relaunches; });
    objc::msgSend(app, "_relaunchSpringBoardNow"_sel);
    EXPECT_EQ(relaunches, 1);
    app->setRelaunchHandler(nullptr);
}

TEST(Screen, TheSimulatedPhoneScreen)
{
    auto screen = UIScreen::mainScreen();
    EXPECT_EQ(objc::msgSend<double>(objc::msgSend<objc::id>(UIScreen::class_(), "mainScreen"_sel), "scale"_sel), 2.0);
    EXPECT_EQ(screen->bounds(), CGRectMake(0, 0, 320, 568));
    screen->setScale(0);
    EXPECT_EQ(screen->scale(), 2.0);
}

TEST(IndexPath, EqualByValueWhateverTheSpelling)
{
    auto a = NSIndexPath::indexPathForRowInSection(3, 1);
    auto b = NSIndexPath::indexPathForItemInSection(3, 1);
    auto c = objc::msgSend<std::shared_ptr<NSIndexPath>>(NSIndexPath::class_(), "indexPathForRow:inSection:"_sel, 4L, 1L);
    EXPECT_NE(a, b);
    EXPECT_TRUE(a->isEqual(b.get()));
    EXPECT_EQ(a->hash(), b->hash());
    EXPECT_FALSE(a->isEqual(c.get()));
    EXPECT_FALSE(a->isEqual(nullptr));
    EXPECT_EQ(b->row(), 3);
    EXPECT_EQ(objc::msgSend<long>(c, "item"_sel), 4);
    EXPECT_EQ(objc::msgSend<long>(c, "section"_sel), 1);
    EXPECT_EQ(a->compare(*c), -1);
    EXPECT_EQ(c->compare(*a), 1);
    EXPECT_EQ(NSIndexPath::indexPathForRowInSection(9, 0)->compare(*a), -1);

    std::unordered_set<std::size_t> hashes;
    for (long s = 0; s < 10; ++s)
        for (long r = 0; r < 10; ++r)
            hashes.insert(NSIndexPath::indexPathForRowInSection(r, s)->hash());
    EXPECT_EQ(hashes.size(), 100u);
}

// The host program: start-up with the substrate loader, commands on its standard input, and
// relaunching under the supervisor.
#include "springboard_fixture.h"

#include "springboard/host_process.h"
#include "support/child_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>


using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

using Child = testsupport::ChildProcess;

class SpringBoardHostProgram : public sbtest::SpringBoardTest {
protected:
    // The process id from the start-up line "ready <pid>".
    static std::string readyPid(Child& child)
    {
        const auto line = child.readLine().value_or("");
        EXPECT_THAT(line, StartsWith("ready "));
        return line.size() > 6 ? line.substr(6) : "";
    }

    std::vector<std::string> tweakStarts() const
    {
        std::ifstream in(device.host("/var/tmp/SBTestTweakAlpha.log"));
        std::vector<std::string> pids;
        for (std::string line; std::getline(in, line);)
            pids.push_back(line);
        return pids;
    }
};

} // namespace

TEST_F(SpringBoardHostProgram, AnswersEachCommandWithOneLine)
{
    installNowPlayingPlugin();
    Child host({sbtest::builtProgram("springboard")});
    ASSERT_TRUE(host.started());
    readyPid(host);

    EXPECT_EQ(host.ask("bulletin com.apple.MobileSMS Anna | Dinner at eight?"), "ok");
    EXPECT_EQ(host.ask("alert Low Battery"), "ok");
    EXPECT_EQ(host.ask("card com.apple.Passbook Boarding pass"), "ok");
    // A line longer than the host reads is refused whole, not cut and run.
    const std::string overlong(springboard::LineReader::kMaxLineLength, 'x');
    for (const std::string& line : {"bulletin com.apple.MobileSMS " + overlong, "alert " + overlong + overlong})
        EXPECT_THAT(host.ask(line), StartsWith("error command longer than"));
    const std::string state = host.ask("state");
    EXPECT_THAT(state, StartsWith("state items=3 screen=on idle="));
    EXPECT_THAT(state, HasSubstr(" underlay=1 media=0 rows=3 labels=["));
    EXPECT_THAT(state, testing::EndsWith(" ok"));

    EXPECT_EQ(host.ask("remove 1"), "ok");
    EXPECT_THAT(host.ask("remove 7"), StartsWith("error"));
    EXPECT_THAT(host.ask("remove one"), StartsWith("error"));
    EXPECT_THAT(host.ask("frobnicate now"), StartsWith("error unknown command"));
    EXPECT_THAT(host.ask("tap 10"), StartsWith("error"));
    EXPECT_THAT(host.ask("tap 10 nan"), StartsWith("error"));
    EXPECT_THAT(host.ask(""), StartsWith("error"));
    EXPECT_EQ(host.ask("tap 160 300 2"), "ok");
    EXPECT_EQ(host.ask("drag 0 80 decelerate"), "ok");
    EXPECT_EQ(host.ask("media"), "ok");
    EXPECT_EQ(host.ask("home"), "ok");
    EXPECT_EQ(host.ask("screen off"), "ok");
    EXPECT_THAT(host.ask("state"), HasSubstr("items=2 screen=off idle=off"));
    EXPECT_EQ(host.ask("screen on"), "ok");
    EXPECT_EQ(host.ask("layout"), "ok");
    EXPECT_EQ(host.ask("clear"), "ok");
    EXPECT_THAT(host.ask("state"), HasSubstr("items=0 screen=on idle=awake idleDisabled=0 underlay=1 media=1 rows=0"));
    EXPECT_EQ(host.ask("teardown"), "ok");
    EXPECT_EQ(host.ask("quit"), "ok");
    EXPECT_EQ(host.wait(), 0);
}

TEST_F(SpringBoardHostProgram, OnTheDevicesVirtualClockTheIdleTimerTurnsTheScreenOff)
{
    Child host({sbtest::builtProgram("springboard")});
    ASSERT_TRUE(host.started());
    readyPid(host);
    EXPECT_EQ(host.ask("clock 1767261600"), "ok");
    EXPECT_EQ(host.ask("wait 7"), "ok");
    EXPECT_THAT(host.ask("state"), HasSubstr("screen=on idle=awake"));
    EXPECT_EQ(host.ask("wait 1.5"), "ok");
    EXPECT_THAT(host.ask("state"), HasSubstr("screen=on idle=dimmed"));
    EXPECT_EQ(host.ask("wait 2"), "ok");
    EXPECT_THAT(host.ask("state"), HasSubstr("screen=off idle=off"));
    EXPECT_THAT(host.ask("clock -5"), StartsWith("error"));
    EXPECT_THAT(host.ask("wait forever"), StartsWith("error"));
    EXPECT_EQ(host.ask("quit"), "ok");
    EXPECT_EQ(host.wait(), 0);
}

TEST_F(SpringBoardHostProgram, ReadsItsInputInBlocksAndAnswersInOrder)
{
    Child host({sbtest::builtProgram("springboard")});
    ASSERT_TRUE(host.started());
    readyPid(host);
    const std::string commands = "wait 1\nalert Low Battery\nstate\n";
    host.send(commands.substr(0, commands.size() - 1));
    // While the host waits, the commands behind the first one are already read.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (host.unreadInput() == static_cast<int>(commands.size()) && std::chrono::steady_clock::now() < deadline)
        ::usleep(1000);
    EXPECT_EQ(host.unreadInput(), 0);
    EXPECT_EQ(host.readLine(), "ok");
    EXPECT_EQ(host.readLine(), "ok");
    EXPECT_THAT(host.readLine().value_or(""), StartsWith("state items=1 "));
    EXPECT_EQ(host.ask("quit"), "ok");
    EXPECT_EQ(host.wait(), 0);
}

TEST_F(SpringBoardHostProgram, EndOfInputEndsTheHost)
{
    Child host({sbtest::builtProgram("springboard")});
    ASSERT_TRUE(host.started());
    readyPid(host);
    host.closeInput();
    EXPECT_EQ(host.wait(), 0);
}

TEST_F(SpringBoardHostProgram, RelaunchEndsTheProcessWithTheRelaunchStatus)
{
    Child host({sbtest::builtProgram("springboard")});
    ASSERT_TRUE(host.started());
    readyPid(host);
    EXPECT_EQ(host.ask("relaunch"), "ok");
    EXPECT_EQ(host.wait(), springboard::kRelaunchExitStatus);
}

TEST_F(SpringBoardHostProgram, SupervisorStartsANewHostThatLoadsItsLibrariesAgain)
{
    installSubstrateLibrary("libSBTestTweakAlpha.so", "Alpha", sbtest::filterPlist("Bundles", "com.apple.springboard"));
    installSubstrateLibrary("libSBTestTweakBeta.so", "Beta", sbtest::filterPlist("Bundles", "com.apple.Preferences"));
    Child supervisor({sbtest::builtProgram("springboard-supervisor"), sbtest::builtProgram("springboard")});
    ASSERT_TRUE(supervisor.started());
    const std::string first = readyPid(supervisor);
    EXPECT_EQ(supervisor.ask("bulletin com.apple.mobilemail Tom | Invoice"), "ok");
    EXPECT_THAT(supervisor.ask("state"), StartsWith("state items=1 "));

    // Commands sent right behind the relaunch (read by the old process in the same block) wait
    // for the new process, in order.
    supervisor.send("relaunch\nalert Low Battery\nstate\nrelaunch\nstate");
    EXPECT_EQ(supervisor.readLine(), "ok");
    const std::string second = readyPid(supervisor);
    EXPECT_NE(second, first);
    EXPECT_EQ(supervisor.readLine(), "ok");
    EXPECT_THAT(supervisor.readLine().value_or(""), StartsWith("state items=1 "));
    EXPECT_EQ(supervisor.readLine(), "ok");
    const std::string third = readyPid(supervisor);
    EXPECT_THAT(supervisor.readLine().value_or(""), StartsWith("state items=0 "));

    EXPECT_EQ(supervisor.ask("quit"), "ok");
    EXPECT_EQ(supervisor.wait(), 0);
    EXPECT_EQ(tweakStarts(), (std::vector<std::string>{first, second, third}));
    EXPECT_FALSE(std::ifstream(device.host("/var/tmp/SBTestTweakBeta.log")).good());
}

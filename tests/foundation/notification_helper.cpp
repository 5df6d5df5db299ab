// A second process for the notification tests. It inherits the device root and the session bus
// of the test that starts it.
//
//   notification_helper observe SENTINEL NAME...  observe the names and the sentinel; print
//       "ready", then "got NAME" (and log "received NAME") for each delivery; exit 0 once the
//       sentinel arrives, 2 when it has not come within 10 seconds
//   notification_helper post NAME...              post the names in order and exit
//   notification_helper local NAME                observe and post NAME; print
//       "delivered N inside-post M" after its run loop has had time to deliver
#include "foundation/log.h"
#include "foundation/notification_center.h"
#include "foundation/runloop.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string sentinel;
bool sentinelSeen = false;
int deliveries = 0;

void received(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef)
{
    std::printf("got %s\n", name);
    std::fflush(stdout);
    foundation::log(std::string("received ") + name);
    ++deliveries;
    if (name == sentinel)
        sentinelSeen = true;
}

int observe(const std::vector<std::string>& args)
{
    if (args.empty())
        return 64;
    sentinel = args[0];
    auto center = CFNotificationCenterGetDarwinNotifyCenter();
    for (const auto& name : args)
        CFNotificationCenterAddObserver(center, nullptr, &received, name, nullptr, 0);
    std::printf("ready\n");
    std::fflush(stdout);
    return NSRunLoop::mainRunLoop()->runUntil([] { return sentinelSeen; }, 10) ? 0 : 2;
}

int post(const std::vector<std::string>& args)
{
    for (const auto& name : args)
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name, nullptr, nullptr, true);
    return 0;
}

int local(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return 64;
    auto center = CFNotificationCenterGetDarwinNotifyCenter();
    CFNotificationCenterAddObserver(center, nullptr, &received, args[0], nullptr, 0);
    CFNotificationCenterPostNotification(center, args[0], nullptr, nullptr, true);
    const int insidePost = deliveries;
    auto loop = NSRunLoop::mainRunLoop();
    loop->runUntil([] { return deliveries > 0; }, 5);
    loop->runForSeconds(0.2);
    std::printf("delivered %d inside-post %d\n", deliveries, insidePost);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 64;
    const std::string mode = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (mode == "observe")
        return observe(args);
    if (mode == "post")
        return post(args);
    if (mode == "local")
        return local(args);
    return 64;
}

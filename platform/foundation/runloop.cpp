#include "foundation/runloop.h"

#include "foundation/clock.h"
#include "foundation/date.h"
#include "foundation/timer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

double steadySeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// poll() takes milliseconds; round up so that a wait never ends just before its deadline and
// spins through empty passes.
int toPollMilliseconds(double seconds)
{
    constexpr double kLongest = 3600.0;
    if (!(seconds > 0))
        return 0;
    return static_cast<int>(std::ceil(std::min(seconds, kLongest) * 1000.0));
}

} // namespace

NSRunLoop::NSRunLoop(Private) : wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (wakeFd_ < 0)
        objc::fatal("the main run loop cannot make its wake-up eventfd");
}

NSRunLoop::~NSRunLoop()
{
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
}

std::shared_ptr<NSRunLoop> NSRunLoop::mainRunLoop()
{
    // Never destroyed: timers and observers may still point at it while statics are torn down.
    static auto* loop = new std::shared_ptr<NSRunLoop>(std::make_shared<NSRunLoop>(Private{}));
    return *loop;
}

void NSRunLoop::run()
{
    for (;;)
        runOnce(3600.0);
}

void NSRunLoop::runUntilDate(const std::shared_ptr<NSDate>& limit)
{
    if (limit)
        runForSeconds(limit->timeIntervalSince1970() - foundation::now());
}

void NSRunLoop::runForSeconds(double seconds)
{
    if (std::isnan(seconds))
        return;
    const double deadline = steadySeconds() + seconds;
    for (double left = seconds; left > 0; left = deadline - steadySeconds())
        runOnce(left);
}

bool NSRunLoop::runUntil(const std::function<bool()>& condition, double realTimeoutSeconds)
{
    const double deadline = steadySeconds() + realTimeoutSeconds;
    while (!condition()) {
        const double left = deadline - steadySeconds();
        if (!(left > 0))
            return condition();
        runOnce(left);
    }
    return true;
}

bool NSRunLoop::runOnce(double timeoutSeconds)
{
    // Timers scheduled while this pass runs (a perform with delay 0 made by a timer or a bus
    // callback) wait for the next pass.
    const std::uint64_t scheduledBy = order_;
    const bool virtualClock = foundation::isVirtualClock();

    double wait = std::isnan(timeoutSeconds) ? 0 : timeoutSeconds;
    bool workWaiting = false;
    {
        std::lock_guard guard(workLock_);
        workWaiting = !work_.empty();
    }
    if (workWaiting || earliestTimer(foundation::now(), scheduledBy))
        wait = 0;
    else if (auto next = earliestTimer(std::numeric_limits<double>::infinity(), scheduledBy); next && !virtualClock)
        wait = std::min(wait, next->due_ - foundation::now());

    std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
    std::vector<SourceToken> tokens;
    for (const Source& s : sources_) {
        fds.push_back({s.source.fd, s.source.events ? s.source.events() : short(POLLIN), 0});
        tokens.push_back(s.token);
        if (s.source.timeout)
            wait = std::min(wait, s.source.timeout());
    }

    bool did = false;
    if (::poll(fds.data(), fds.size(), toPollMilliseconds(wait)) < 0 && errno != EINTR)
        objc::fatal("the main run loop cannot poll its sources");
    if (fds[0].revents)
        drainWake();
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        // A dispatch may remove sources, including ones not yet visited.
        auto it = std::find_if(sources_.begin(), sources_.end(), [&](const Source& s) { return s.token == tokens[i]; });
        if (it == sources_.end())
            continue;
        const bool due = it->source.timeout && it->source.timeout() <= 0;
        if (fds[i + 1].revents || due) {
            auto dispatch = it->source.dispatch;
            if (dispatch)
                dispatch();
            did = true;
        }
    }
    did |= runHandedBackWork();
    while (auto timer = earliestTimer(foundation::now(), scheduledBy)) {
        fireTimer(timer);
        did = true;
    }
    return did;
}

void NSRunLoop::addTimer(const std::shared_ptr<NSTimer>& timer)
{
    if (!timer || !timer->valid_ || timer->runLoop_ == this)
        return;
    timer->runLoop_ = this;
    timer->order_ = ++order_;
    timers_.push_back(timer);
}

void NSRunLoop::removeTimer(const NSTimer* timer)
{
    std::erase_if(timers_, [&](const std::shared_ptr<NSTimer>& t) { return t.get() == timer; });
}

std::shared_ptr<NSTimer> NSRunLoop::earliestTimer(double dueBy, std::uint64_t scheduledBy) const
{
    std::shared_ptr<NSTimer> best;
    for (const auto& t : timers_) {
        if (t->due_ > dueBy || t->order_ > scheduledBy)
            continue;
        if (!best || t->due_ < best->due_ || (t->due_ == best->due_ && t->order_ < best->order_))
            best = t;
    }
    return best;
}

void NSRunLoop::fireTimer(const std::shared_ptr<NSTimer>& timer)
{
    if (timer->repeats_) {
        // The next firing counts from this one's due time, not from when it ran, so a late pass
        // adds no drift; firings a late pass missed entirely are skipped, not run in a burst.
        const double current = foundation::now();
        double next = timer->due_ + timer->interval_;
        if (next <= current)
            next = timer->due_ + timer->interval_ * (std::floor((current - timer->due_) / timer->interval_) + 1);
        timer->due_ = next;
        timer->order_ = ++order_;
        timer->sendAction();
    } else {
        removeTimer(timer.get());
        timer->runLoop_ = nullptr;
        timer->sendAction();
        timer->invalidate();
    }
}

void NSRunLoop::fireTimersDueBy(double limit, const std::function<void(double)>& setClock)
{
    // Work already handed back to the main thread is due at once, before any later timer.
    for (;;) {
        const bool ranWork = runHandedBackWork();
        if (auto timer = earliestTimer(limit, std::numeric_limits<std::uint64_t>::max())) {
            setClock(timer->due_);
            fireTimer(timer);
        } else if (!ranWork) {
            break;
        }
    }
}

NSRunLoop::SourceToken NSRunLoop::addFileSource(FileSource source)
{
    const SourceToken token = nextToken_++;
    sources_.push_back({token, std::move(source)});
    return token;
}

void NSRunLoop::removeFileSource(SourceToken token)
{
    std::erase_if(sources_, [&](const Source& s) { return s.token == token; });
}

void NSRunLoop::performOnMainThread(std::function<void()> work)
{
    if (!work)
        return;
    {
        std::lock_guard guard(workLock_);
        work_.push_back(std::move(work));
    }
    wake();
}

bool NSRunLoop::runHandedBackWork()
{
    std::vector<std::function<void()>> batch;
    {
        std::lock_guard guard(workLock_);
        batch.swap(work_);
    }
    for (auto& work : batch)
        work();
    return !batch.empty();
}

void NSRunLoop::wake()
{
    const std::uint64_t one = 1;
    // A full counter (EAGAIN) already means "wake up"; nothing is lost.
    [[maybe_unused]] ssize_t written = ::write(wakeFd_, &one, sizeof one);
}

void NSRunLoop::drainWake()
{
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t got = ::read(wakeFd_, &count, sizeof count);
}

namespace foundation {

void performOnMainThread(std::function<void()> work) { NSRunLoop::mainRunLoop()->performOnMainThread(std::move(work)); }

} // namespace foundation

OBJC_REGISTER(NSRunLoop,
    c.classMethod<&NSRunLoop::mainRunLoop>("mainRunLoop");
    c.classMethod<&NSRunLoop::currentRunLoop>("currentRunLoop");
    c.method<&NSRunLoop::run>("run");
    c.method<&NSRunLoop::runUntilDate>("runUntilDate:");
    c.method<&NSRunLoop::addTimerForMode>("addTimer:forMode:");)

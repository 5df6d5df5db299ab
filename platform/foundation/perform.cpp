#include "foundation/perform.h"

#include "foundation/clock.h"
#include "foundation/runloop.h"
#include "foundation/timer.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace foundation {

namespace {

struct Request {
    std::shared_ptr<NSTimer> timer;
    objc::id target;
    objc::SEL selector = nullptr;
    objc::id object;
};

// Main-thread only, like the run loop that sends them.
std::vector<Request>& requests()
{
    static auto* list = new std::vector<Request>;
    return *list;
}

void cancelWhere(const std::function<bool(const Request&)>& matches)
{
    std::vector<std::shared_ptr<NSTimer>> cancelled;
    std::erase_if(requests(), [&](const Request& r) {
        if (!matches(r))
            return false;
        cancelled.push_back(r.timer);
        return true;
    });
    for (auto& timer : cancelled)
        timer->invalidate();
}

void performThunk(objc::Object* self, objc::SEL, objc::SEL selector, const objc::ObjectRef& object, double delay)
{
    performSelectorWithObjectAfterDelay(self ? self->self() : nullptr, selector, object.strong(), delay);
}

void cancelThunk(objc::Object*, objc::SEL, const objc::ObjectRef& target)
{
    cancelPreviousPerformRequestsWithTarget(target.strong());
}

// The category on NSObject: every object and every class answers these by name.
[[maybe_unused]] const bool categoryInstalled = [] {
    objc::Class root = objc::Object::class_();
    objc::class_addMethod(root, objc::sel_registerName("performSelector:withObject:afterDelay:"),
                          reinterpret_cast<objc::IMP>(&performThunk), objc::methodEncoding<void, objc::SEL, objc::id, double>());
    objc::class_addMethod(root->metaClass(), objc::sel_registerName("cancelPreviousPerformRequestsWithTarget:"),
                          reinterpret_cast<objc::IMP>(&cancelThunk), objc::methodEncoding<void, objc::id>());
    return true;
}();

} // namespace

void performSelectorWithObjectAfterDelay(const objc::id& target, objc::SEL selector, const objc::id& object, double delay)
{
    if (!target || !selector)
        return;
    // NaN and negative delays mean "as soon as possible"; an infinite one never comes.
    const double due = now() + (delay > 0 ? delay : 0);
    auto timer = NSTimer::timerWithFireTimeBlock(due, [](const std::shared_ptr<NSTimer>& timer) {
        auto& list = requests();
        auto it = std::find_if(list.begin(), list.end(), [&](const Request& r) { return r.timer == timer; });
        if (it == list.end())
            return;
        Request request = std::move(*it);
        list.erase(it);
        objc::sendAction(request.target, request.selector, request.object);
    });
    // A request whose timer was invalidated from outside will never run: let it go.
    std::erase_if(requests(), [](const Request& r) { return !r.timer->isValid(); });
    requests().push_back({timer, target, selector, object});
    NSRunLoop::mainRunLoop()->addTimer(timer);
}

void cancelPreviousPerformRequestsWithTarget(const objc::id& target)
{
    if (target)
        cancelWhere([&](const Request& r) { return r.target == target; });
}

void cancelPreviousPerformRequestsWithTargetSelectorObject(const objc::id& target, objc::SEL selector,
                                                           const objc::id& object)
{
    if (!target)
        return;
    cancelWhere([&](const Request& r) {
        const bool sameObject = r.object == object || (r.object && object && r.object->isEqual(object.get()));
        return r.target == target && r.selector == selector && sameObject;
    });
}

} // namespace foundation

#include "uikit/touch_simulator.h"

#include "uikit/control.h"
#include "uikit/tap_gesture_recognizer.h"
#include "uikit/text_field.h"
#include "uikit/view.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

namespace {

// One recogniser's progress through a tap sequence.
struct Tracker {
    enum class State { Counting, Waiting, Recognized, Failed };
    std::shared_ptr<UITapGestureRecognizer> recognizer;
    unsigned long count = 0;
    State state = State::Counting;

    unsigned long required() const { return recognizer->numberOfTapsRequired(); }
    bool undecided() const { return state == State::Counting || state == State::Waiting; }
};

class TapSequence {
public:
    TapSequence(std::vector<Tracker> trackers, CGPoint location) : trackers_(std::move(trackers)), location_(location)
    {
        // Recognisers that need more taps are decided first, so that at the tap where both a
        // double and a single tap complete, the double tap wins.
        order_.resize(trackers_.size());
        std::iota(order_.begin(), order_.end(), std::size_t{0});
        std::stable_sort(order_.begin(), order_.end(),
                         [this](std::size_t a, std::size_t b) { return trackers_[a].required() > trackers_[b].required(); });
    }

    void tap()
    {
        for (auto& t : trackers_) {
            if (t.state == Tracker::State::Recognized || t.state == Tracker::State::Failed) {
                t.state = Tracker::State::Counting;
                t.count = 0;
            }
        }
        for (auto& t : trackers_) {
            if (t.state == Tracker::State::Counting)
                ++t.count;
        }
        for (std::size_t i : order_) {
            Tracker& t = trackers_[i];
            if (t.state == Tracker::State::Counting && t.count == t.required())
                t.state = Tracker::State::Waiting; // decided by settle()
        }
        settle();
    }

    void end()
    {
        for (auto& t : trackers_) {
            if (t.state == Tracker::State::Counting)
                t.state = Tracker::State::Failed;
        }
        settle();
    }

    bool touchesCancelled() const { return cancelled_; }
    bool anyRecognized() const { return recognized_; }

private:
    const Tracker* trackerOf(const UIGestureRecognizer* r) const
    {
        for (const auto& t : trackers_) {
            if (t.recognizer.get() == r)
                return &t;
        }
        return nullptr;
    }

    // Resolves waiting recognisers until nothing changes.
    void settle()
    {
        for (bool changed = true; changed;) {
            changed = false;
            for (std::size_t i : order_) {
                Tracker& t = trackers_[i];
                if (t.state != Tracker::State::Waiting)
                    continue;
                bool blocked = false, beaten = false;
                for (const auto& other : t.recognizer->failureRequirements()) {
                    // A recogniser outside the sequence never sees the taps: it cannot block.
                    if (const Tracker* o = trackerOf(other.get())) {
                        blocked |= o->undecided();
                        beaten |= o->state == Tracker::State::Recognized;
                    }
                }
                if (beaten) {
                    t.state = Tracker::State::Failed;
                    changed = true;
                } else if (!blocked) {
                    recognize(i);
                    changed = true;
                }
            }
        }
    }

    void recognize(std::size_t index)
    {
        Tracker& winner = trackers_[index];
        winner.state = Tracker::State::Recognized;
        for (std::size_t i = 0; i < trackers_.size(); ++i) {
            Tracker& t = trackers_[i];
            if (i != index && t.undecided() && t.required() <= winner.required())
                t.state = Tracker::State::Failed;
        }
        recognized_ = true;
        cancelled_ |= winner.recognizer->cancelsTouchesInView();
        winner.recognizer->recognizeAt(location_);
    }

    std::vector<Tracker> trackers_;
    std::vector<std::size_t> order_;
    CGPoint location_;
    bool recognized_ = false;
    bool cancelled_ = false;
};

} // namespace

SimulatedTapResult simulateTap(UIView* root, CGPoint pointInRoot, int taps)
{
    if (!root || taps < 1)
        return SimulatedTapResult::NoView;
    UIView* hit = root->hitTest(pointInRoot);
    if (!hit)
        return SimulatedTapResult::NoView;

    // Actions may take views out of the tree: hold the chain for the whole sequence.
    std::vector<std::shared_ptr<UIView>> chain;
    for (UIView* v = hit;; v = v->superview()) {
        chain.push_back(v->selfAs<UIView>());
        if (v == root || !v->superview())
            break;
    }

    std::vector<Tracker> trackers;
    for (const auto& view : chain) {
        for (const auto& r : view->gestureRecognizers()) {
            auto tap = std::dynamic_pointer_cast<UITapGestureRecognizer>(r);
            if (tap && tap->isEnabled() && tap->numberOfTouchesRequired() == 1)
                trackers.push_back({tap});
        }
    }
    TapSequence sequence(std::move(trackers), root->convertPointToView(pointInRoot, nullptr));
    for (int i = 0; i < taps; ++i)
        sequence.tap();
    sequence.end();
    if (sequence.touchesCancelled())
        return SimulatedTapResult::Recognized;

    for (const auto& view : chain) {
        auto control = std::dynamic_pointer_cast<UIControl>(view);
        if (!control)
            continue;
        if (!control->isEnabled())
            return sequence.anyRecognized() ? SimulatedTapResult::Recognized : SimulatedTapResult::Control;
        for (int i = 0; i < taps; ++i) {
            control->setHighlighted(true);
            control->sendActionsForControlEvents(UIControlEventTouchDown);
            control->setHighlighted(false);
            control->sendActionsForControlEvents(UIControlEventTouchUpInside);
        }
        return SimulatedTapResult::Control;
    }

    bool handled = false;
    for (int i = 0; i < taps; ++i) {
        for (const auto& view : chain) {
            if (view->handleSimulatedTap(view->convertPointFromView(pointInRoot, root))) {
                handled = true;
                break;
            }
        }
    }
    if (handled)
        return SimulatedTapResult::Handled;
    return sequence.anyRecognized() ? SimulatedTapResult::Recognized : SimulatedTapResult::Unhandled;
}

void simulateTyping(UITextField* field, const std::string& text)
{
    if (!field)
        return;
    const auto keep = field->selfAs<UITextField>();
    field->sendActionsForControlEvents(UIControlEventEditingDidBegin);
    field->setText(field->text() + text);
    field->sendActionsForControlEvents(UIControlEventEditingChanged);
    field->sendActionsForControlEvents(UIControlEventEditingDidEnd);
}

// The host's text interface for the simulated device: one command per line, one answer line per
// command, ending in "ok" or starting with "error".
//
//   bulletin <sectionID> <title...> [| <message...>]   a bulletin from the application
//   card <identifier> [title...]                        a card
//   alert <title...>                                    a system alert
//   remove <index>                                      takes the item at the index (0: newest)
//   home | lock                                         presses the home or the lock button
//   screen off | screen on
//   teardown | clear                                    the lock screen goes away; items move on
//                                                       to the notification centre
//   media                                               media starts playing
//   layout                                              a layout pass over the whole screen
//   tap <x> <y> [taps]                                  taps at a point of the screen
//   drag <dx> <dy> [decelerate]                         drags the notification table
//   swipe <x> <y> <dx> <dy>                             swipes the scroll view under the point
//   clock <epoch seconds>                               sets the platform's clock (from then on
//                                                       virtual: time moves only by wait) and
//                                                       starts the idle countdown over
//   wait <seconds>                                      lets time pass: runs the main run loop
//                                                       for a while, or advances the virtual clock
//   snapshot <host path>                                writes a PNG of the screen
//   state                                               "state key=value ... ok" (see describeState)
//   views                                               "views <JSON list> ok": what is visible
//                                                       (springboard/view_listing.h)
//   relaunch                                            restarts the host (UIApplication)
//   quit                                                ends the host
//
// Numbers that do not parse, missing arguments, unknown commands and out-of-range indices get
// an "error ..." answer and change nothing. A command during which something else relaunches
// the host (an injected library's restart) gets no answer: the new process's "ready" line
// follows instead.
#pragma once

#include <functional>
#include <string>

class SpringBoard;
class UIView;

class SBCommandInterpreter {
public:
    enum class Outcome { Continue, Quit, Relaunch };
    struct Answer {
        std::string line;
        Outcome outcome = Outcome::Continue;
    };
    using Snapshotter = std::function<bool(const UIView* view, const std::string& hostPath)>;

    explicit SBCommandInterpreter(SpringBoard& springBoard) : springBoard_(springBoard) {}

    // Runs the command. Quit and Relaunch are left to the caller, after it has written the answer.
    Answer execute(const std::string& line);
    // "items=<n> screen=on|off idle=awake|dimmed|off idleDisabled=0|1 underlay=0|1 media=0|1
    //  rows=<n> labels=[\"...\", ...]" — the labels are the texts of the labels an injected
    //  library put into the list view's container, front to back, JSON-quoted.
    std::string describeState() const;
    // Without a snapshotter the snapshot command answers an error.
    void setSnapshotter(Snapshotter snapshotter) { snapshotter_ = std::move(snapshotter); }

private:
    SpringBoard& springBoard_;
    Snapshotter snapshotter_;
};

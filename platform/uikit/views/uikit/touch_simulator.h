// Simulated touches for tests and the simulated device: taps on a view tree and typing into
// text fields.
//
// A tap sequence (simulateTap) is delivered in this order:
//  1. The root is hit-tested at the point; without a hit view nothing happens.
//  2. The tap recognisers of the hit view and of its ancestors up to the root (nearest view
//     first; on one view in the order they were added) that are enabled and require one
//     touch take part. The taps of the sequence all land on these views.
//  3. Each tap counts for every recogniser that is counting. One that reaches its number of
//     taps recognises and fires, unless it requires the failure of another one taking part
//     that is still undecided: then it waits, and fires once that one fails, or fails once
//     that one recognises. When one recognises, every other undecided one that needs as many
//     taps or fewer fails; at each tap those that need more taps are decided first, and among
//     equals the nearest. One that has recognised or failed counts afresh from the next tap.
//     When the sequence ends, the ones still counting fail (releasing those waiting for them).
//     So, with the one-tap recogniser requiring the two-tap one to fail, a single tap fires
//     only the one-tap action and a double tap only the two-tap action; without that
//     requirement a double tap fires the one-tap action after the first tap and the two-tap
//     action after the second.
//  4. If no recogniser that cancels touches in its view recognised, every tap goes to the hit
//     view or its nearest ancestor that is a UIControl: an enabled control gets TouchDown and
//     TouchUpInside, a disabled one swallows the tap.
//  5. Without such a control, each tap goes to handleSimulatedTap of the hit view and its
//     ancestors up to the root, nearest first, until one answers true.
#pragma once

#include "uikit/geometry.h"

#include <string>

class UIView;
class UITextField;

enum class SimulatedTapResult {
    NoView,       // nothing was hit (or the root was nil, or fewer than one tap was asked for)
    Recognized,   // a gesture recogniser took the taps
    Control,      // a control took them (a disabled one does nothing with them)
    Handled,      // a view's handleSimulatedTap took them
    Unhandled,    // a view was hit but nothing used the taps
};

// `pointInRoot` is in the root's own coordinates (its bounds).
SimulatedTapResult simulateTap(UIView* root, CGPoint pointInRoot, int taps = 1);

// Types text at the end of the field's text: EditingDidBegin, then EditingChanged once the
// text is in, then EditingDidEnd. A nil field does nothing.
void simulateTyping(UITextField* field, const std::string& text);

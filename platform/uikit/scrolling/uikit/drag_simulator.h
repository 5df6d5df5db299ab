// Simulated finger drags on scroll views, for tests and the simulated device: they stand in
// for the pan gesture of a real touch screen and drive the same delegate messages in the same
// order.
//
// The translation is the finger's movement. The content follows the finger, so the content
// offset moves the opposite way: a finger moving down by 80 points (translation y = +80) from
// the top of a list pulls it down past its top, to content offset y = -80.
#pragma once

#include "uikit/geometry.h"

class UIScrollView;

// A drag in ten equal steps, each relative to the offset the previous step left (so a delegate
// that re-centres the content during the drag keeps its re-centring), each step sending
// scrollViewDidScroll: when the offset changes:
//   scrollViewWillBeginDragging:, the steps, scrollViewDidEndDragging:willDecelerate:, then
//   with decelerate: scrollViewWillBeginDecelerating:, a coast of a quarter of the drag more
//   in the same direction (kept within the content range), scrollViewDidEndDecelerating:.
// Axes the view cannot scroll along do not move. Without bouncing every step is kept within
// the content range; with bouncing the drag may pass the ends, and the content comes back
// after the finger lifts. With paging the content ends on a page (the bounds size): the
// nearest one, or with deceleration the next one in the drag's direction. Without
// deceleration the coming back (or the snap to a page) follows scrollViewDidEndDragging:
// and is reported by scrollViewDidScroll: alone. A nil view or one whose scrolling is off
// does nothing.
void simulateDrag(UIScrollView* scrollView, CGPoint translation, bool decelerate);

// A scripted scroll to the offset in ten equal steps, each sending scrollViewDidScroll:,
// without drag messages, not clamped, whether or not scrolling is enabled. The steps are
// relative like a drag's, so the scroll ends exactly on the offset unless the delegate moves
// the content meanwhile.
void simulateScrollTo(UIScrollView* scrollView, CGPoint offset);

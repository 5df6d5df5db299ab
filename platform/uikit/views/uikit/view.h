// Views: a tree of rectangles with visual state. The toolkit calls the methods a host or its
// injected library may replace (initWithFrame:, layoutSubviews, ...) through the runtime; the
// rest are plain C++ calls. Drawing lives in the renderer, not here.
//
// Ownership: a view owns its subviews (strong), its gesture recognisers and its layer; its
// superview, its view controller and gesture targets are not retained. The view's layer is a
// sublayer of its superview's layer and holds the view's frame, bounds, centre, alpha, hidden
// state and background colour: the view reads them there and is the only one writing them.
#pragma once

#include "uikit/color.h"
#include "uikit/geometry.h"
#include "uikit/layer.h"
#include "uikit/responder.h"

#include <functional>
#include <memory>
#include <vector>

class UIGestureRecognizer;
class UIViewController;
class UIWindow;

enum UIViewAutoresizing : unsigned long {
    UIViewAutoresizingNone = 0,
    UIViewAutoresizingFlexibleLeftMargin = 1 << 0,
    UIViewAutoresizingFlexibleWidth = 1 << 1,
    UIViewAutoresizingFlexibleRightMargin = 1 << 2,
    UIViewAutoresizingFlexibleTopMargin = 1 << 3,
    UIViewAutoresizingFlexibleHeight = 1 << 4,
    UIViewAutoresizingFlexibleBottomMargin = 1 << 5,
};

enum class UIViewContentMode : long {
    ScaleToFill = 0,
    ScaleAspectFit = 1,
    ScaleAspectFill = 2,
    Redraw = 3,
    Center = 4,
    Top = 5,
    Bottom = 6,
    Left = 7,
    Right = 8,
};

class UIView : public UIResponder {
    OBJC_CLASS(UIView, UIResponder)
public:
    UIView();
    ~UIView() override;

    // Makes a view of class T through the runtime (alloc, then initWithFrame:), so that a
    // replaced initWithFrame: runs.
    template <class T = UIView>
    static std::shared_ptr<T> create(CGRect frame)
    {
        return objc::msgSend<std::shared_ptr<T>>(objc::alloc<T>(), objc::sel_registerName("initWithFrame:"), frame);
    }

    // Runtime selectors "initWithFrame:" and "init". Return self (or nil on failure).
    virtual objc::id initWithFrame(CGRect frame);
    objc::id init() override;

    // --- Geometry -----------------------------------------------------------------------
    CGRect frame() const;
    virtual void setFrame(CGRect frame);
    CGRect bounds() const { return layer_->bounds_; }
    virtual void setBounds(CGRect bounds);
    CGPoint center() const;
    void setCenter(CGPoint center);
    // Both views must be in one tree; a view of another tree is treated as if both roots
    // shared one coordinate space.
    CGPoint convertPointToView(CGPoint point, const UIView* view) const; // nil view: the root
    CGRect convertRectToView(CGRect rect, const UIView* view) const;
    CGPoint convertPointFromView(CGPoint point, const UIView* view) const; // nil view: the root
    CGRect convertRectFromView(CGRect rect, const UIView* view) const;
    // Runtime selector "sizeThatFits:". A plain view answers its current size.
    virtual CGSize sizeThatFits(CGSize size) const;
    // Runtime selector "sizeToFit": the size that fits, keeping the frame's origin.
    void sizeToFit();

    unsigned long autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(unsigned long mask) { autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool on) { autoresizesSubviews_ = on; }
    // Called on every subview when this view's size changes. The default applies the
    // autoresizing mask (when the superview autoresizes its subviews): the flexible parts of
    // each axis share the change in proportion to their current lengths, equally when all
    // of them are zero.
    virtual void resizeWithOldSuperviewSize(CGSize oldSize);

    // --- Visual state -------------------------------------------------------------------
    bool isHidden() const { return layer_->hidden_; }
    virtual void setHidden(bool hidden);
    CGFloat alpha() const { return layer_->opacity_; }
    virtual void setAlpha(CGFloat alpha);
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips) { clipsToBounds_ = clips; }
    const std::shared_ptr<UIColor>& backgroundColor() const { return layer_->backgroundColor_; }
    virtual void setBackgroundColor(std::shared_ptr<UIColor> color);
    // The tint colour: the view's own, else the superview's, else the system tint.
    std::shared_ptr<UIColor> tintColor() const;
    virtual void setTintColor(std::shared_ptr<UIColor> color);
    UIViewContentMode contentMode() const { return contentMode_; }
    void setContentMode(UIViewContentMode mode) { contentMode_ = mode; }
    long tag() const { return tag_; }
    void setTag(long tag) { tag_ = tag; }
    std::shared_ptr<UIView> viewWithTag(long tag);
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    CALayer* layer() const { return layer_.get(); }
    const std::shared_ptr<CALayer>& layerPtr() const { return layer_; }

    // --- Hierarchy ----------------------------------------------------------------------
    // Subviews are kept back to front: index 0 is drawn first, the last one is on top.
    UIView* superview() const { return superview_; }
    const std::vector<std::shared_ptr<UIView>>& subviews() const { return subviews_; }
    // The window at the root of this view's tree, if the root is one.
    UIWindow* window() const;
    // Adding a view that is already a subview brings it to the front. A view that has another
    // superview leaves it first. Nil, the view itself or one of its ancestors is refused
    // (nothing changes). Moving to a new superview sends the view willMoveToSuperview: before
    // and didMoveToSuperview after; reordering under the same superview sends neither.
    void addSubview(const std::shared_ptr<UIView>& view);
    // The index is clamped to 0 ... number of subviews (counted without the view itself).
    void insertSubviewAtIndex(const std::shared_ptr<UIView>& view, long index);
    // A sibling that is not a subview of this view: the view is added on top.
    void insertSubviewBelowSubview(const std::shared_ptr<UIView>& view, const UIView* sibling);
    void insertSubviewAboveSubview(const std::shared_ptr<UIView>& view, const UIView* sibling);
    // Sends the superview willRemoveSubview:, the view willMoveToSuperview: nil, then
    // didMoveToSuperview. Without a superview nothing happens.
    void removeFromSuperview();
    // A view that is not a subview is ignored.
    void bringSubviewToFront(const UIView* view);
    void sendSubviewToBack(const UIView* view);
    // True for the view itself too.
    bool isDescendantOfView(const UIView* view) const;
    virtual void didMoveToSuperview() {}
    virtual void willMoveToSuperview(UIView* newSuperview) {}
    virtual void didAddSubview(UIView* subview) {}
    virtual void willRemoveSubview(UIView* subview) {}

    // --- Layout -------------------------------------------------------------------------
    // Runtime selector "layoutSubviews". The toolkit's layout pass sends it through the
    // runtime, so replacements installed on a class apply.
    virtual void layoutSubviews() {}
    // A view is marked when made, when its size changes and when its subviews change; the
    // views above it learn that something below them waits, so a layout pass walks only down to
    // the marked views.
    void setNeedsLayout();
    bool needsLayout() const { return needsLayout_; }
    // Lays out this view (when marked) and then its subviews, in subview order.
    void layoutIfNeeded();

    // --- Events -------------------------------------------------------------------------
    // The deepest visible, interactive view containing the point (in this view's
    // coordinates). Hidden views, views below alpha 0.01 and views without user interaction
    // are skipped with their subviews.
    virtual UIView* hitTest(CGPoint point);
    virtual bool pointInside(CGPoint point) const;
    // A recogniser belongs to one view at a time: adding it here takes it from its former view.
    void addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
    void removeGestureRecognizer(const UIGestureRecognizer* recognizer);
    const std::vector<std::shared_ptr<UIGestureRecognizer>>& gestureRecognizers() const { return gestureRecognizers_; }
    // A tap that no gesture recogniser or control took (see touch_simulator.h). The point is in
    // this view's coordinates; answer true when the tap was used. Collection views select
    // their items here.
    virtual bool handleSimulatedTap(CGPoint pointInSelf) { return false; }

    UIResponder* nextResponder() const override;
    // Set by a view controller for its root view (not retained).
    void setViewController(UIViewController* controller) { viewController_ = controller; }
    UIViewController* viewController() const { return viewController_; }

    // --- Animation ----------------------------------------------------------------------
    // The block runs at once (the delay too is not waited for); the completion (if any)
    // receives finished = true.
    static void animateWithDurationAnimations(double duration, const std::function<void()>& animations);
    static void animateWithDurationAnimationsCompletion(double duration, const std::function<void()>& animations,
                                                        const std::function<void(bool)>& completion);
    static void animateWithDurationDelayOptionsAnimationsCompletion(double duration, double delay,
                                                                    unsigned long options,
                                                                    const std::function<void()>& animations,
                                                                    const std::function<void(bool)>& completion);
    // Watchers of animations (a device's timeline, tests): each is told the duration of every
    // animation block before the block runs. Adding gives a token (never 0) for removing; an
    // empty function is not added and gets 0.
    using AnimationObserver = std::function<void(double duration)>;
    static long addAnimationObserver(AnimationObserver observer);
    static void removeAnimationObserver(long token);

private:
    void resizeSubviews(CGSize oldSize);
    // Puts the view at the index among the subviews (clamped), moving it from wherever it is.
    void placeSubview(std::shared_ptr<UIView> view, long index);
    // Inserts the subview's layer into this view's layer just below the next subview's layer.
    void placeSublayerOf(UIView* subview);
    long indexOfSubview(const UIView* view) const;
    // Writes the geometry into the layer and, when the size changed, marks the view for layout
    // and resizes the subviews.
    void place(CGPoint origin, CGRect bounds, CGPoint center);

    unsigned long autoresizingMask_ = UIViewAutoresizingNone;
    bool autoresizesSubviews_ = true;
    bool clipsToBounds_ = false;
    std::shared_ptr<UIColor> tintColor_;
    UIViewContentMode contentMode_ = UIViewContentMode::ScaleToFill;
    long tag_ = 0;
    bool userInteractionEnabled_ = true;
    bool needsLayout_ = true;
    // Some view below this one is marked (or was when this was last laid out).
    bool layoutBelow_ = false;
    std::shared_ptr<CALayer> layer_;
    UIView* superview_ = nullptr;
    std::vector<std::shared_ptr<UIView>> subviews_;
    // Counts the changes of subviews_, so that a layout pass can tell whether the subviews it
    // is visiting may have moved meanwhile.
    unsigned subviewsVersion_ = 0;
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers_;
    UIViewController* viewController_ = nullptr;
};

#include "uikit/view.h"

#include "uikit/gesture_recognizer.h"
#include "uikit/view_controller.h"
#include "uikit/window.h"

#include <algorithm>
#include <deque>
#include <climits>

using objc::operator""_sel;

namespace {

// Watchers of animation blocks, by token, in the order they were added.
std::vector<std::pair<long, UIView::AnimationObserver>>& animationObservers()
{
    static std::vector<std::pair<long, UIView::AnimationObserver>> observers;
    return observers;
}

void runAnimation(double duration, const std::function<void()>& block, const std::function<void(bool)>& completion)
{
    // A copy: a watcher may add or remove watchers while it is told.
    const auto observers = animationObservers();
    for (const auto& [token, observer] : observers)
        observer(duration);
    if (block)
        block();
    if (completion)
        completion(true);
}

// A point of the view's coordinates in the coordinates of the root of its tree.
CGPoint toRoot(const UIView* view, CGPoint p)
{
    for (const UIView* v = view; v->superview(); v = v->superview()) {
        const CGRect frame = v->frame();
        const CGRect bounds = v->bounds();
        p = {frame.origin.x + p.x - bounds.origin.x, frame.origin.y + p.y - bounds.origin.y};
    }
    return p;
}

CGPoint fromRoot(const UIView* view, CGPoint p)
{
    if (!view->superview())
        return p;
    p = fromRoot(view->superview(), p);
    const CGRect frame = view->frame();
    const CGRect bounds = view->bounds();
    return {p.x - frame.origin.x + bounds.origin.x, p.y - frame.origin.y + bounds.origin.y};
}

// One axis of autoresizing: the flexible parts share the change of the superview's length.
void resizeAxis(CGFloat& position, CGFloat& length, CGFloat oldExtent, CGFloat newExtent, bool flexibleLead,
                bool flexibleLength, bool flexibleTrail)
{
    const CGFloat delta = newExtent - oldExtent;
    const int flexible = int(flexibleLead) + int(flexibleLength) + int(flexibleTrail);
    if (delta == 0 || flexible == 0)
        return;
    const CGFloat trail = oldExtent - position - length;
    CGFloat leadShare = 0, lengthShare = 0;
    if (flexible == 1) {
        // The one flexible part takes the whole change, exactly.
        leadShare = flexibleLead ? delta : 0;
        lengthShare = flexibleLength ? delta : 0;
    } else {
        const CGFloat sum = (flexibleLead ? position : 0) + (flexibleLength ? length : 0) + (flexibleTrail ? trail : 0);
        auto share = [&](bool on, CGFloat part) -> CGFloat {
            if (!on)
                return 0;
            return sum > 0 ? delta * part / sum : delta / flexible;
        };
        leadShare = share(flexibleLead, position);
        lengthShare = share(flexibleLength, length);
    }
    position += leadShare;
    length = std::max<CGFloat>(0, length + lengthShare);
}

} // namespace

UIView::UIView() : layer_(std::make_shared<CALayer>())
{
    layer_->setDelegateView(this);
}


UIView::~UIView()
{
    for (auto& sub : subviews_)
        sub->superview_ = nullptr;
    for (auto& recognizer : gestureRecognizers_)
        recognizer->setView(nullptr);
    layer_->setDelegateView(nullptr);
}

objc::id UIView::initWithFrame(CGRect frame)
{
    setFrame(frame);
    return self();
}

objc::id UIView::init() { return objc::msgSend<objc::id>(this, "initWithFrame:"_sel, CGRectZero); }

// --- Geometry -----------------------------------------------------------------------------

CGRect UIView::frame() const { return layer_->frame(); }

void UIView::place(CGPoint origin, CGRect bounds, CGPoint center)
{
    const CGSize oldSize = layer_->bounds_.size;
    layer_->origin_ = origin;
    layer_->bounds_ = bounds;
    layer_->position_ = center;
    if (oldSize != bounds.size) {
        setNeedsLayout();
        resizeSubviews(oldSize);
    }
}

void UIView::setFrame(CGRect frame)
{
    frame = CGRectStandardize(frame);
    place(frame.origin, {layer_->bounds_.origin, frame.size},
          {frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2});
}

void UIView::setBounds(CGRect bounds)
{
    bounds = CGRectStandardize(bounds);
    // The centre stays where it is; the frame grows or shrinks around it.
    const CGPoint center = layer_->position_;
    place({center.x - bounds.size.width / 2, center.y - bounds.size.height / 2}, bounds, center);
}

CGPoint UIView::center() const { return layer_->position_; }

void UIView::setCenter(CGPoint center)
{
    const CGSize size = layer_->bounds_.size;
    place({center.x - size.width / 2, center.y - size.height / 2}, layer_->bounds_, center);
}

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const
{
    const CGPoint inRoot = toRoot(this, point);
    return view ? fromRoot(view, inRoot) : inRoot;
}

CGRect UIView::convertRectToView(CGRect rect, const UIView* view) const
{
    rect = CGRectStandardize(rect);
    return {convertPointToView(rect.origin, view), rect.size};
}

CGPoint UIView::convertPointFromView(CGPoint point, const UIView* view) const
{
    const CGPoint inRoot = view ? toRoot(view, point) : point;
    return fromRoot(this, inRoot);
}

CGRect UIView::convertRectFromView(CGRect rect, const UIView* view) const
{
    rect = CGRectStandardize(rect);
    return {convertPointFromView(rect.origin, view), rect.size};
}

CGSize UIView::sizeThatFits(CGSize) const { return bounds().size; }

void UIView::sizeToFit()
{
    const CGSize size = objc::msgSend<CGSize>(this, "sizeThatFits:"_sel, bounds().size);
    setFrame({frame().origin, size});
}

void UIView::resizeSubviews(CGSize oldSize)
{
    if (oldSize == bounds().size)
        return;
    const auto subviews = subviews_; // a resize may rearrange the hierarchy
    for (const auto& sub : subviews) {
        if (sub->superview_ == this)
            sub->resizeWithOldSuperviewSize(oldSize);
    }
}

void UIView::resizeWithOldSuperviewSize(CGSize oldSize)
{
    if (!superview_ || !superview_->autoresizesSubviews_ || autoresizingMask_ == UIViewAutoresizingNone)
        return;
    const CGSize newSize = superview_->bounds().size;
    CGRect f = frame();
    const unsigned long m = autoresizingMask_;
    resizeAxis(f.origin.x, f.size.width, oldSize.width, newSize.width, m & UIViewAutoresizingFlexibleLeftMargin,
               m & UIViewAutoresizingFlexibleWidth, m & UIViewAutoresizingFlexibleRightMargin);
    resizeAxis(f.origin.y, f.size.height, oldSize.height, newSize.height, m & UIViewAutoresizingFlexibleTopMargin,
               m & UIViewAutoresizingFlexibleHeight, m & UIViewAutoresizingFlexibleBottomMargin);
    if (f != frame())
        objc::msgSend(this, "setFrame:"_sel, f);
}

// --- Visual state -------------------------------------------------------------------------

void UIView::setHidden(bool hidden) { layer_->hidden_ = hidden; }

void UIView::setAlpha(CGFloat alpha) { layer_->opacity_ = std::isnan(alpha) ? 1.0 : std::clamp<CGFloat>(alpha, 0, 1); }

void UIView::setBackgroundColor(std::shared_ptr<UIColor> color) { layer_->backgroundColor_ = std::move(color); }

std::shared_ptr<UIColor> UIView::tintColor() const
{
    for (const UIView* v = this; v; v = v->superview_) {
        if (v->tintColor_)
            return v->tintColor_;
    }
    static const auto systemTint = UIColor::colorWithRedGreenBlueAlpha(0, 0.478, 1, 1);
    return systemTint;
}

void UIView::setTintColor(std::shared_ptr<UIColor> color) { tintColor_ = std::move(color); }

std::shared_ptr<UIView> UIView::viewWithTag(long tag)
{
    if (tag_ == tag)
        return selfAs<UIView>();
    for (const auto& sub : subviews_) {
        if (auto found = sub->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

// --- Hierarchy ----------------------------------------------------------------------------

UIWindow* UIView::window() const
{
    const UIView* root = this;
    while (root->superview_)
        root = root->superview_;
    return dynamic_cast<UIWindow*>(const_cast<UIView*>(root));
}

long UIView::indexOfSubview(const UIView* view) const
{
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [view](const auto& s) { return s.get() == view; });
    return it == subviews_.end() ? -1 : static_cast<long>(it - subviews_.begin());
}

bool UIView::isDescendantOfView(const UIView* view) const
{
    if (!view)
        return false;
    for (const UIView* v = this; v; v = v->superview_) {
        if (v == view)
            return true;
    }
    return false;
}

void UIView::placeSublayerOf(UIView* subview)
{
    const std::shared_ptr<CALayer> layer = subview->layer_;
    layer->removeFromSuperlayer();
    const auto& sublayers = layer_->sublayers();
    for (long i = indexOfSubview(subview) + 1; i < static_cast<long>(subviews_.size()); ++i) {
        const CALayer* above = subviews_[static_cast<std::size_t>(i)]->layer();
        auto it = std::find_if(sublayers.begin(), sublayers.end(), [above](const auto& l) { return l.get() == above; });
        if (it != sublayers.end()) {
            layer_->insertSublayerAtIndex(layer, static_cast<unsigned>(it - sublayers.begin()));
            return;
        }
    }
    layer_->addSublayer(layer);
}

void UIView::placeSubview(std::shared_ptr<UIView> view, long index)
{
    // Taken by value: the caller's reference may be an element of subviews_, erased below.
    // A view inside itself would make a cycle of strong references and endless walks.
    if (!view || isDescendantOfView(view.get()))
        return;
    auto clampIndex = [this](long i) { return std::clamp<long>(i, 0, static_cast<long>(subviews_.size())); };

    ++subviewsVersion_;
    if (view->superview_ == this) {
        subviews_.erase(subviews_.begin() + indexOfSubview(view.get()));
        subviews_.insert(subviews_.begin() + clampIndex(index), view);
        placeSublayerOf(view.get());
        return;
    }

    view->willMoveToSuperview(this);
    if (UIView* old = view->superview_) {
        old->willRemoveSubview(view.get());
        if (long at = old->indexOfSubview(view.get()); at >= 0)
            old->subviews_.erase(old->subviews_.begin() + at);
        ++old->subviewsVersion_;
        view->layer_->removeFromSuperlayer();
        view->superview_ = nullptr;
        old->setNeedsLayout();
    }
    subviews_.insert(subviews_.begin() + clampIndex(index), view);
    view->superview_ = this;
    placeSublayerOf(view.get());
    setNeedsLayout();
    view->didMoveToSuperview();
    didAddSubview(view.get());
}

void UIView::addSubview(const std::shared_ptr<UIView>& view) { placeSubview(view, LONG_MAX); }

void UIView::insertSubviewAtIndex(const std::shared_ptr<UIView>& view, long index) { placeSubview(view, index); }

void UIView::insertSubviewBelowSubview(const std::shared_ptr<UIView>& view, const UIView* sibling)
{
    if (!view || view.get() == sibling)
        return;
    long at = indexOfSubview(sibling);
    if (at < 0)
        return addSubview(view);
    // Indexes count the subviews without the moved view.
    if (view->superview_ == this && indexOfSubview(view.get()) < at)
        --at;
    placeSubview(view, at);
}

void UIView::insertSubviewAboveSubview(const std::shared_ptr<UIView>& view, const UIView* sibling)
{
    if (!view || view.get() == sibling)
        return;
    long at = indexOfSubview(sibling);
    if (at < 0)
        return addSubview(view);
    if (view->superview_ == this && indexOfSubview(view.get()) < at)
        --at;
    placeSubview(view, at + 1);
}

void UIView::removeFromSuperview()
{
    UIView* parent = superview_;
    if (!parent)
        return;
    const auto keep = selfAs<UIView>();
    parent->willRemoveSubview(this);
    willMoveToSuperview(nullptr);
    if (superview_ != parent)
        return; // a callback moved the view already
    if (long at = parent->indexOfSubview(this); at >= 0) {
        parent->subviews_.erase(parent->subviews_.begin() + at);
        ++parent->subviewsVersion_;
    }
    layer_->removeFromSuperlayer();
    superview_ = nullptr;
    parent->setNeedsLayout();
    didMoveToSuperview();
}

void UIView::bringSubviewToFront(const UIView* view)
{
    const long at = indexOfSubview(view);
    if (at < 0)
        return;
    placeSubview(subviews_[static_cast<std::size_t>(at)], LONG_MAX);
}

void UIView::sendSubviewToBack(const UIView* view)
{
    const long at = indexOfSubview(view);
    if (at < 0)
        return;
    placeSubview(subviews_[static_cast<std::size_t>(at)], 0);
}

// --- Layout -------------------------------------------------------------------------------

namespace {

// The subviews a pass visits are listed before it visits them (a layoutSubviews may add or
// remove views). Each nesting level of passes keeps its list between passes, so that a pass
// over an unchanged tree allocates nothing; the views stay held by their superview.
struct SubviewLists {
    std::deque<std::vector<UIView*>> levels;
    std::size_t depth = 0;
};

class SubviewList {
public:
    explicit SubviewList(const std::vector<std::shared_ptr<UIView>>& subviews)
    {
        if (lists().levels.size() <= lists().depth)
            lists().levels.emplace_back();
        list_ = &lists().levels[lists().depth++];
        list_->clear();
        for (const auto& view : subviews)
            list_->push_back(view.get());
    }
    ~SubviewList() { --lists().depth; }
    SubviewList(const SubviewList&) = delete;
    SubviewList& operator=(const SubviewList&) = delete;
    const std::vector<UIView*>& views() const { return *list_; }

private:
    static SubviewLists& lists()
    {
        thread_local SubviewLists shared;
        return shared;
    }
    std::vector<UIView*>* list_;
};

} // namespace

void UIView::setNeedsLayout()
{
    needsLayout_ = true;
    for (UIView* above = superview_; above && !above->layoutBelow_; above = above->superview_)
        above->layoutBelow_ = true;
}

void UIView::layoutIfNeeded()
{
    if (!needsLayout_ && !layoutBelow_)
        return;
    layoutBelow_ = false;
    const auto keep = selfAs<UIView>(); // a replaced layoutSubviews may drop the last reference
    if (needsLayout_) {
        needsLayout_ = false;
        objc::msgSend(this, "layoutSubviews"_sel);
    }
    if (subviews_.empty())
        return;
    const SubviewList subviews(subviews_);
    const unsigned version = subviewsVersion_;
    for (UIView* sub : subviews.views()) {
        // While this view's subviews stay as listed, each listed view is still held here. Once
        // they changed, a listed view is visited only while it is still a subview here (it may
        // be gone: it is looked for among the subviews, not followed).
        if (subviewsVersion_ != version &&
            std::none_of(subviews_.begin(), subviews_.end(), [sub](const auto& view) { return view.get() == sub; }))
            continue;
        if (sub->superview_ == this)
            sub->layoutIfNeeded();
    }
}

// --- Events -------------------------------------------------------------------------------

UIView* UIView::hitTest(CGPoint point)
{
    if (isHidden() || alpha() < 0.01 || !userInteractionEnabled_ || !pointInside(point))
        return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        UIView* sub = it->get();
        const CGRect frame = sub->frame();
        const CGPoint inSub{point.x - frame.origin.x + sub->bounds().origin.x,
                            point.y - frame.origin.y + sub->bounds().origin.y};
        if (UIView* hit = sub->hitTest(inSub))
            return hit;
    }
    return this;
}

bool UIView::pointInside(CGPoint point) const { return CGRectContainsPoint(bounds(), point); }

void UIView::addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer)
{
    if (!recognizer || recognizer->view() == this)
        return;
    if (UIView* former = recognizer->view())
        former->removeGestureRecognizer(recognizer.get());
    gestureRecognizers_.push_back(recognizer);
    recognizer->setView(this);
}

void UIView::removeGestureRecognizer(const UIGestureRecognizer* recognizer)
{
    auto it = std::find_if(gestureRecognizers_.begin(), gestureRecognizers_.end(),
                           [recognizer](const auto& r) { return r.get() == recognizer; });
    if (it == gestureRecognizers_.end())
        return;
    const auto keep = *it;
    gestureRecognizers_.erase(it);
    keep->setView(nullptr);
}

UIResponder* UIView::nextResponder() const
{
    if (viewController_)
        return viewController_;
    return superview_;
}

// --- Animation ----------------------------------------------------------------------------

void UIView::animateWithDurationAnimations(double duration, const std::function<void()>& block)
{
    runAnimation(duration, block, nullptr);
}

void UIView::animateWithDurationAnimationsCompletion(double duration, const std::function<void()>& block,
                                                     const std::function<void(bool)>& completion)
{
    runAnimation(duration, block, completion);
}

void UIView::animateWithDurationDelayOptionsAnimationsCompletion(double duration, double, unsigned long,
                                                                 const std::function<void()>& block,
                                                                 const std::function<void(bool)>& completion)
{
    runAnimation(duration, block, completion);
}

long UIView::addAnimationObserver(AnimationObserver observer)
{
    static long lastToken = 0;
    if (!observer)
        return 0;
    animationObservers().emplace_back(++lastToken, std::move(observer));
    return lastToken;
}

void UIView::removeAnimationObserver(long token)
{
    std::erase_if(animationObservers(), [token](const auto& entry) { return entry.first == token; });
}

OBJC_REGISTER(UIView,
    c.method<&UIView::initWithFrame>("initWithFrame:");
    c.method<&UIView::init>("init");
    c.method<&UIView::layoutSubviews>("layoutSubviews");
    c.method<&UIView::setNeedsLayout>("setNeedsLayout");
    c.method<&UIView::layoutIfNeeded>("layoutIfNeeded");
    c.method<&UIView::frame>("frame");
    c.method<&UIView::setFrame>("setFrame:");
    c.method<&UIView::bounds>("bounds");
    c.method<&UIView::setBounds>("setBounds:");
    c.method<&UIView::center>("center");
    c.method<&UIView::setCenter>("setCenter:");
    c.method<&UIView::sizeThatFits>("sizeThatFits:");
    c.method<&UIView::sizeToFit>("sizeToFit");
    c.method<&UIView::isHidden>("isHidden");
    c.method<&UIView::setHidden>("setHidden:");
    c.method<&UIView::alpha>("alpha");
    c.method<&UIView::setAlpha>("setAlpha:");
    c.method<&UIView::backgroundColor>("backgroundColor");
    c.method<&UIView::setBackgroundColor>("setBackgroundColor:");
    c.method<&UIView::tintColor>("tintColor");
    c.method<&UIView::setTintColor>("setTintColor:");
    c.method<&UIView::clipsToBounds>("clipsToBounds");
    c.method<&UIView::setClipsToBounds>("setClipsToBounds:");
    c.method<&UIView::isUserInteractionEnabled>("isUserInteractionEnabled");
    c.method<&UIView::setUserInteractionEnabled>("setUserInteractionEnabled:");
    c.method<&UIView::tag>("tag");
    c.method<&UIView::setTag>("setTag:");
    c.method<&UIView::layerPtr>("layer");
    c.method<&UIView::addSubview>("addSubview:");
    c.method<&UIView::insertSubviewAtIndex>("insertSubview:atIndex:");
    c.method<&UIView::removeFromSuperview>("removeFromSuperview");
    c.method<&UIView::addGestureRecognizer>("addGestureRecognizer:");)

#include "uikit/backdrop_view.h"
#include "uikit/view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using objc::operator""_sel;

namespace {

std::vector<std::string> layoutTrace;

class ContainerView : public UIView {
    OBJC_CLASS(ContainerView, UIView)
public:
    void layoutSubviews() override { layoutTrace.push_back("container"); }
};

class HookedListView : public ContainerView {
    OBJC_CLASS(HookedListView, ContainerView)
};

void (*previousLayout)(objc::Object*, objc::SEL);
void replacedLayout(objc::Object* self, objc::SEL cmd)
{
    previousLayout(self, cmd);
    layoutTrace.push_back("hook");
}

} // namespace

OBJC_REGISTER(ContainerView)
OBJC_REGISTER(HookedListView)

TEST(ViewLayout, TheLayoutPassSendsLayoutSubviewsThroughTheRuntimeSoHooksRun)
{
    objc::MSHookMessageEx(HookedListView::class_(), "layoutSubviews"_sel, &replacedLayout, &previousLayout);
    ASSERT_NE(previousLayout, nullptr);

    auto root = UIView::create<ContainerView>(CGRectMake(0, 0, 100, 100));
    auto list = UIView::create<HookedListView>(CGRectMake(0, 0, 50, 50));
    root->addSubview(list);
    layoutTrace.clear();
    root->layoutIfNeeded();
    EXPECT_EQ(layoutTrace, (std::vector<std::string>{"container", "container", "hook"}));

    // Nothing is marked any more: a second pass lays out nothing.
    layoutTrace.clear();
    root->layoutIfNeeded();
    EXPECT_TRUE(layoutTrace.empty());

    // A size change marks the view; a move does not.
    list->setFrame(CGRectMake(10, 10, 50, 50));
    root->layoutIfNeeded();
    EXPECT_TRUE(layoutTrace.empty());
    list->setFrame(CGRectMake(10, 10, 60, 50));
    root->layoutIfNeeded();
    EXPECT_EQ(layoutTrace, (std::vector<std::string>{"container", "hook"}));
    layoutTrace.clear();
    objc::msgSend(list, "setNeedsLayout"_sel);
    objc::msgSend(list, "layoutIfNeeded"_sel);
    EXPECT_EQ(layoutTrace, (std::vector<std::string>{"container", "hook"}));
}

TEST(ViewLayout, AutoresizingSharesTheChangeAmongFlexibleParts)
{
    auto parent = UIView::create(CGRectMake(0, 0, 100, 100));
    auto fixed = UIView::create(CGRectMake(10, 10, 20, 20));
    auto stretchy = UIView::create(CGRectMake(10, 10, 80, 80));
    stretchy->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    auto pinnedRight = UIView::create(CGRectMake(70, 10, 20, 20));
    pinnedRight->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin);
    auto centred = UIView::create(CGRectMake(40, 40, 20, 20));
    centred->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin |
                                 UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin);
    for (const auto& v : {fixed, stretchy, pinnedRight, centred})
        parent->addSubview(v);

    parent->setFrame(CGRectMake(0, 0, 200, 150));
    EXPECT_EQ(fixed->frame(), CGRectMake(10, 10, 20, 20));
    EXPECT_EQ(stretchy->frame(), CGRectMake(10, 10, 180, 130));
    EXPECT_EQ(pinnedRight->frame(), CGRectMake(170, 10, 20, 20));
    EXPECT_EQ(centred->frame(), CGRectMake(90, 65, 20, 20));

    // Shrinking below the margins leaves an empty size, never a negative one.
    parent->setFrame(CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(stretchy->frame().size, CGSizeMake(0, 0));

    // A parent that does not autoresize leaves its subviews alone.
    parent->setAutoresizesSubviews(false);
    parent->setFrame(CGRectMake(0, 0, 300, 300));
    EXPECT_EQ(pinnedRight->frame().size, CGSizeMake(20, 20));
    EXPECT_EQ(stretchy->frame().size, CGSizeMake(0, 0));
}

TEST(Backdrop, FillsItsPanelWheneverThePanelChangesEvenFromAZeroFrame)
{
    // The standard recipe: the backdrop never gets a frame of its own.
    auto backdrop = _UIBackdropView::createWithStyle(2);
    auto settings = backdrop->inputSettings();
    settings->setColorTint(UIColor::blackColor());
    settings->setColorTintAlpha(0.4);
    backdrop->setBlurRadiusSetOnce(true);
    backdrop->setBlurRadius(4.0);
    backdrop->setBlurQuality("default");

    auto panel = UIView::create(CGRectMake(0, 130, 320, 300));
    panel->insertSubviewAtIndex(backdrop, 0);
    EXPECT_EQ(backdrop->frame(), CGRectMake(0, 0, 320, 300));
    auto tint = UIView::create(backdrop->bounds());
    backdrop->addSubview(tint);

    panel->setFrame(CGRectMake(0, 130, 320, 170));
    EXPECT_EQ(backdrop->frame(), CGRectMake(0, 0, 320, 170));
    // The tint view was sized once and keeps that size.
    EXPECT_EQ(tint->frame(), CGRectMake(0, 0, 320, 300));

    // A tab made with a zero frame: the backdrop follows once the tab gets a size.
    auto tab = UIView::create(CGRectZero);
    auto tabBackdrop = _UIBackdropView::createWithStyle(2);
    tab->insertSubviewAtIndex(tabBackdrop, 0);
    auto tabTint = UIView::create(tabBackdrop->bounds());
    tabBackdrop->addSubview(tabTint);
    tab->setFrame(CGRectMake(12, 77, 52, 150));
    EXPECT_EQ(tabBackdrop->frame(), CGRectMake(0, 0, 52, 150));
    EXPECT_EQ(tabTint->frame(), CGRectZero);
    tab->setAutoresizesSubviews(false); // still filled: the backdrop does not rely on autoresizing
    tab->setBounds(CGRectMake(0, 0, 1, 1));
    EXPECT_EQ(tabBackdrop->frame(), CGRectMake(0, 0, 1, 1));
    tabBackdrop->setFrame(CGRectMake(5, 5, 500, 500)); // asked-for frames do not stick
    EXPECT_EQ(tabBackdrop->frame(), CGRectMake(0, 0, 1, 1));

    // Moving to another superview fills that one.
    auto other = UIView::create(CGRectMake(0, 0, 90, 40));
    other->addSubview(tabBackdrop);
    EXPECT_EQ(tabBackdrop->frame(), CGRectMake(0, 0, 90, 40));
}

TEST(Backdrop, SettingsThroughTheRuntimeByClassName)
{
    objc::Class cls = objc::objc_getClass("_UIBackdropView");
    ASSERT_NE(cls, nullptr);
    objc::id backdrop = objc::msgSend<objc::id>(objc::msgSend<objc::id>(cls, "alloc"_sel), "initWithStyle:"_sel, 2L);
    ASSERT_TRUE(backdrop);
    objc::id settings = objc::msgSend<objc::id>(backdrop, "inputSettings"_sel);
    objc::msgSend(settings, "setColorTint:"_sel, UIColor::blackColor());
    objc::msgSend(settings, "setColorTintAlpha:"_sel, 0.4);
    objc::msgSend(backdrop, "setBlurRadiusSetOnce:"_sel, true);
    objc::msgSend(backdrop, "setBlurRadius:"_sel, 4.0);
    auto typed = std::dynamic_pointer_cast<_UIBackdropView>(backdrop);
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->style(), 2);
    EXPECT_EQ(typed->blurRadius(), 4.0);
    EXPECT_TRUE(typed->blurRadiusSetOnce());
    EXPECT_EQ(typed->blurQuality(), "default");
    EXPECT_EQ(typed->inputSettings()->colorTintAlpha(), 0.4);
    EXPECT_EQ(typed->inputSettings()->colorTint(), UIColor::blackColor());
    typed->setBlurRadius(-3);
    EXPECT_EQ(typed->blurRadius(), 0);
    typed->inputSettings()->setColorTintAlpha(3);
    EXPECT_EQ(typed->inputSettings()->colorTintAlpha(), 1);
}

#include "objc/objc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace objc;

namespace {

std::vector<std::string> trace;

// A host-like hierarchy: the base defines layout as a C++ virtual, registered once.
class HostView : public Object {
    OBJC_CLASS(HostView, Object)
    virtual void layoutSubviews() { trace.push_back("HostView.layout"); }
    virtual long rowHeight(long row) { return 10 * row; }
    // The toolkit's layout pass: goes through the runtime so that hooks apply.
    void layoutIfNeeded() { msgSend(this, "layoutSubviews"_sel); }
};

class ListView : public HostView {
    OBJC_CLASS(ListView, HostView)
    void layoutSubviews() override
    {
        HostView::layoutSubviews();
        trace.push_back("ListView.layout");
    }
};

class PocketView : public HostView {
    OBJC_CLASS(PocketView, HostView)
};

class CardView : public HostView {
    OBJC_CLASS(CardView, HostView)
};

} // namespace

OBJC_REGISTER(HostView,
    c.method<&HostView::layoutSubviews>("layoutSubviews");
    c.method<&HostView::rowHeight>("rowHeight:");)
OBJC_REGISTER(ListView)
OBJC_REGISTER(PocketView)
OBJC_REGISTER(CardView, c.method<&CardView::layoutSubviews>("layoutSubviews");)

namespace {
void (*previousListLayout)(Object*, SEL);
void replacedListLayout(Object* self, SEL cmd)
{
    previousListLayout(self, cmd);
    trace.push_back("hook.layout");
}

long (*previousRowHeight)(Object*, SEL, long);
long replacedRowHeight(Object* self, SEL cmd, long row) { return previousRowHeight(self, cmd, row) + 1; }

void (*firstCardLayout)(Object*, SEL);
void (*secondCardLayout)(Object*, SEL);
void cardHookOne(Object* self, SEL cmd)
{
    firstCardLayout(self, cmd);
    trace.push_back("card.one");
}
void cardHookTwo(Object* self, SEL cmd)
{
    secondCardLayout(self, cmd);
    trace.push_back("card.two");
}
} // namespace

TEST(Hooks, InheritedMethodHookedOnSubclassCallsPreviousFirstAndKeepsVirtualOverride)
{
    trace.clear();
    // ListView only inherits the runtime method; its C++ override is reached through the thunk.
    EXPECT_EQ(ListView::class_()->ownMethod("layoutSubviews"_sel), nullptr);
    MSHookMessageEx(ListView::class_(), "layoutSubviews"_sel, &replacedListLayout, &previousListLayout);
    ASSERT_NE(previousListLayout, nullptr);
    EXPECT_EQ(reinterpret_cast<IMP>(previousListLayout), class_getMethodImplementation(HostView::class_(), "layoutSubviews"_sel));

    auto list = std::make_shared<ListView>();
    list->layoutIfNeeded();
    EXPECT_EQ(trace, (std::vector<std::string>{"HostView.layout", "ListView.layout", "hook.layout"}));

    // The sibling and the base keep their own behaviour.
    trace.clear();
    std::make_shared<PocketView>()->layoutIfNeeded();
    std::make_shared<HostView>()->layoutIfNeeded();
    EXPECT_EQ(trace, (std::vector<std::string>{"HostView.layout", "HostView.layout"}));
}

TEST(Hooks, MethodDefinedOnTheClassIsReplacedWithArgumentsAndResult)
{
    MSHookMessageEx(HostView::class_(), "rowHeight:"_sel, &replacedRowHeight, &previousRowHeight);
    auto view = std::make_shared<HostView>();
    EXPECT_EQ(msgSend<long>(view, "rowHeight:"_sel, 4L), 41);
    // Subclasses that inherit the method see the replacement too.
    EXPECT_EQ(msgSend<long>(std::make_shared<PocketView>(), "rowHeight:"_sel, 2L), 21);
}

TEST(Hooks, TwoHooksStackedOnOneSelectorBothRun)
{
    trace.clear();
    MSHookMessageEx(CardView::class_(), "layoutSubviews"_sel, &cardHookOne, &firstCardLayout);
    MSHookMessageEx(CardView::class_(), "layoutSubviews"_sel, &cardHookTwo, &secondCardLayout);
    EXPECT_EQ(reinterpret_cast<IMP>(secondCardLayout), reinterpret_cast<IMP>(&cardHookOne));
    std::make_shared<CardView>()->layoutIfNeeded();
    EXPECT_EQ(trace, (std::vector<std::string>{"HostView.layout", "card.one", "card.two"}));
}

TEST(Hooks, NilClassOrUnknownSelectorInstallsNothing)
{
    IMP previous = reinterpret_cast<IMP>(&cardHookOne);
    MSHookMessageEx(nullptr, "layoutSubviews"_sel, reinterpret_cast<IMP>(&cardHookTwo), &previous);
    EXPECT_EQ(previous, nullptr);
    previous = reinterpret_cast<IMP>(&cardHookOne);
    MSHookMessageEx(PocketView::class_(), "noSuchMethod"_sel, reinterpret_cast<IMP>(&cardHookTwo), &previous);
    EXPECT_EQ(previous, nullptr);
    EXPECT_FALSE(respondsToSelector(std::make_shared<PocketView>().get(), "noSuchMethod"_sel));
}

TEST(HooksDeathTest, ReplacementWithTheWrongSignatureIsRefusedAtInstallTime)
{
    long (*previous)(Object*, SEL, long) = nullptr;
    auto wrong = +[](Object*, SEL, long) -> long { return 0; };
    EXPECT_DEATH(MSHookMessageEx(PocketView::class_(), "layoutSubviews"_sel, wrong, &previous), "PocketView layoutSubviews");
}

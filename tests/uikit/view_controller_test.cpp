#include "uikit/alert_controller.h"
#include "uikit/bar_button_item.h"
#include "uikit/touch_simulator.h"
#include "uikit/view_controller.h"
#include "uikit/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using objc::operator""_sel;

namespace {

class PickerController : public UIViewController {
    OBJC_CLASS(PickerController, UIViewController)
public:
    int loads = 0;
    std::vector<std::string> appearance;
    std::shared_ptr<UIView> grid;
    void viewDidLoad() override
    {
        ++loads;
        grid = UIView::create(view()->bounds());
        view()->addSubview(grid);
    }
    void viewWillAppear(bool) override { appearance.push_back("willAppear"); }
    void viewDidDisappear(bool) override { appearance.push_back("didDisappear"); }
};

class ListController : public UIViewController {
    OBJC_CLASS(ListController, UIViewController)
public:
    int respringAlerts = 0;
    void respringAlert() { ++respringAlerts; }
};

int hookedLoads = 0;
void (*previousViewDidLoad)(objc::Object*, objc::SEL);
void countingViewDidLoad(objc::Object* self, objc::SEL cmd)
{
    ++hookedLoads;
    previousViewDidLoad(self, cmd);
}

} // namespace

OBJC_REGISTER(PickerController)
OBJC_REGISTER(ListController, c.method<&ListController::respringAlert>("respringAlert");)

TEST(ViewController, TheViewLoadsOnceThroughTheRuntime)
{
    objc::MSHookMessageEx(PickerController::class_(), "viewDidLoad"_sel, &countingViewDidLoad, &previousViewDidLoad);
    auto picker = UIViewController::create<PickerController>();
    EXPECT_FALSE(picker->isViewLoaded());
    const auto& view = picker->view();
    ASSERT_TRUE(view);
    EXPECT_EQ(picker->view(), view);
    EXPECT_EQ(picker->loads, 1);
    EXPECT_EQ(hookedLoads, 1);
    EXPECT_EQ(view->frame(), CGRectMake(0, 0, 320, 568));
    EXPECT_EQ(view->viewController(), picker.get());
    EXPECT_EQ(objc::msgSend<objc::id>(picker, "view"_sel), view);
    objc::msgSend(picker, "didReceiveMemoryWarning"_sel);
    EXPECT_EQ(picker->loads, 1);
}

TEST(ViewController, PresentationOverTheCurrentContextAndDismissal)
{
    auto window = UIView::create<UIWindow>(CGRectMake(0, 0, 320, 568));
    auto list = UIViewController::create<ListController>();
    window->setRootViewController(list);
    auto picker = UIViewController::create<PickerController>();
    picker->setProvidesPresentationContextTransitionStyle(true);
    picker->setDefinesPresentationContext(true);
    picker->setModalPresentationStyle(UIModalPresentationOverCurrentContext);

    bool completed = false;
    list->presentViewControllerAnimatedCompletion(picker, true, [&] { completed = true; });
    EXPECT_TRUE(completed);
    EXPECT_EQ(list->presentedViewController(), picker);
    EXPECT_EQ(picker->presentingViewController(), list.get());
    EXPECT_EQ(picker->loads, 1);
    EXPECT_EQ(picker->view()->superview(), window.get());
    EXPECT_EQ(window->subviews().back(), picker->view());

    // A second presentation while one is shown is refused, as is presenting the presenter.
    auto other = UIViewController::create<PickerController>();
    completed = false;
    list->presentViewControllerAnimatedCompletion(other, false, [&] { completed = true; });
    EXPECT_FALSE(completed);
    picker->presentViewControllerAnimatedCompletion(list, false, nullptr);
    EXPECT_EQ(list->presentingViewController(), nullptr);

    // The presented controller dismisses itself through its presenter.
    picker->dismissViewControllerAnimatedCompletion(true, [&] { completed = true; });
    EXPECT_TRUE(completed);
    EXPECT_EQ(list->presentedViewController(), nullptr);
    EXPECT_EQ(picker->presentingViewController(), nullptr);
    EXPECT_EQ(picker->view()->superview(), nullptr);
    EXPECT_EQ(picker->appearance, (std::vector<std::string>{"willAppear", "didDisappear"}));
}

TEST(Alerts, ChoosingAnActionDismissesTheAlertThenRunsItsHandlerWithTheFieldText)
{
    auto window = UIView::create<UIWindow>(CGRectMake(0, 0, 320, 568));
    auto list = UIViewController::create<ListController>();
    window->setRootViewController(list);

    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle("Enter Name", "", 1);
    std::vector<std::string> log;
    alert->addTextFieldWithConfigurationHandler([](const std::shared_ptr<UITextField>& field) {
        field->setPlaceholder("Name");
    });
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler("Cancel", UIAlertActionStyleDefault, nullptr));
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
        "Save", UIAlertActionStyleDefault, [&](const std::shared_ptr<UIAlertAction>& action) {
            log.push_back(action->title() + ":" + alert->textFields().at(0)->text());
            log.push_back(list->presentedViewController() ? "still presented" : "dismissed");
        }));
    ASSERT_EQ(alert->textFields().size(), 1u);
    EXPECT_EQ(alert->textFields()[0]->keyboardType(), UIKeyboardTypeDefault);
    EXPECT_EQ(alert->actions().size(), 2u);

    list->presentViewControllerAnimatedCompletion(alert, true, nullptr);
    simulateTyping(alert->textFields()[0].get(), "Abby");
    EXPECT_TRUE(alert->invokeActionWithTitle("Save"));
    EXPECT_EQ(log, (std::vector<std::string>{"Save:Abby", "dismissed"}));
    EXPECT_FALSE(alert->invokeActionWithTitle("Nope"));
    EXPECT_FALSE(alert->invokeActionAtIndex(5));

    // The alert's own buttons invoke the actions when tapped.
    log.clear();
    list->presentViewControllerAnimatedCompletion(alert, true, nullptr);
    const UIView* saveButton = nullptr;
    std::vector<const UIView*> pending{alert->view().get()};
    while (!pending.empty()) {
        const UIView* v = pending.back();
        pending.pop_back();
        if (auto* b = dynamic_cast<const UIButton*>(v); b && b->currentTitle() == "Save")
            saveButton = b;
        for (const auto& s : v->subviews())
            pending.push_back(s.get());
    }
    ASSERT_NE(saveButton, nullptr);
    const CGRect inWindow = saveButton->convertRectToView(saveButton->bounds(), nullptr);
    EXPECT_EQ(simulateTap(window.get(), CGPointMake(CGRectGetMidX(inWindow), CGRectGetMidY(inWindow))),
              SimulatedTapResult::Control);
    EXPECT_EQ(log, (std::vector<std::string>{"Save:Abby", "dismissed"}));
}

TEST(BarButtonItems, PressingSendsTheActionToAWeakTarget)
{
    auto list = UIViewController::create<ListController>();
    auto item = UIBarButtonItem::create("Respring", UIBarButtonItemStylePlain, list, "respringAlert"_sel);
    list->navigationItem()->setLeftBarButtonItem(item);
    EXPECT_EQ(list->navigationItem()->leftBarButtonItem()->title(), "Respring");
    EXPECT_TRUE(list->navigationItem()->leftBarButtonItem()->press());
    EXPECT_EQ(list->respringAlerts, 1);
    item->setEnabled(false);
    EXPECT_FALSE(item->press());
    item->setEnabled(true);
    list.reset();
    EXPECT_EQ(item->target(), nullptr);
    EXPECT_FALSE(item->press());
}

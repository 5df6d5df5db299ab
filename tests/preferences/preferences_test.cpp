// The Settings application's framework: specifier lists, the list page's groups and rows, and
// what each kind of row does when the user acts on it, on a page of the test's own.
#include "foundation/ns_number.h"
#include "foundation/property_list.h"
#include "foundation/value_reading.h"
#include "preferences/ps_editable_table_cell.h"
#include "preferences/ps_list_controller.h"
#include "preferences/ps_root_controller.h"
#include "preferences/ps_slider_table_cell.h"
#include "preferences/ps_specifier_list.h"
#include "preferences/ps_switch_table_cell.h"
#include "uikit/index_path.h"
#include "uikit/screen.h"
#include "uikit/touch_simulator.h"
#include "uikit/window.h"

#include <gtest/gtest.h>

#include <map>

using namespace objc;

namespace {

std::shared_ptr<NSDictionary> listOf(const std::string& items)
{
    return std::dynamic_pointer_cast<NSDictionary>(foundation::propertyListFromBytes(
        "<plist version=\"1.0\"><dict><key>items</key><array>" + items + "</array></dict></plist>",
        foundation::PropertyListContainers::Immutable));
}

// A page whose values live in memory; its choices are filled only after its rows are made.
class TestPage : public PSListController {
    OBJC_CLASS(TestPage, PSListController)
public:
    std::shared_ptr<NSMutableArray> specifiers() override
    {
        if (!_specifiers) {
            _specifiers = preferences::specifiersFromPlist(list, self());
            choices = NSMutableArray::arrayWithObjects({NSStr("red"), NSStr("green")});
        }
        return _specifiers;
    }
    id readPreferenceValue(const std::shared_ptr<PSSpecifier>& s) override
    {
        const auto found = values.find(s->stringProperty("key"));
        return found != values.end() ? found->second : s->propertyForKey("default");
    }
    void setPreferenceValueSpecifier(const id& value, const std::shared_ptr<PSSpecifier>& s) override
    {
        values[s->stringProperty("key")] = value;
    }
    std::shared_ptr<NSMutableArray> choiceValues() { return choices; }
    void act() { acted.push_back("act"); }
    void actWith(const std::shared_ptr<PSSpecifier>& s) { acted.push_back(s->name()); }

    std::shared_ptr<NSDictionary> list;
    std::shared_ptr<NSMutableArray> choices;
    std::map<std::string, id> values;
    std::vector<std::string> acted;
};

} // namespace

OBJC_REGISTER(TestPage,
    c.method<&TestPage::choiceValues>("choiceValues");
    c.method<&TestPage::act>("act");
    c.method<&TestPage::actWith>("actWith:");)

TEST(SpecifierList, EveryKindGetsItsAccessorsAndUnusableItemsAreLeftOut)
{
    const auto rows = preferences::specifiersFromPlist(
        listOf("<dict><key>cell</key><string>PSGroupCell</string><key>label</key><string>G</string></dict>"
               "<string>not a row</string>"
               "<dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>S</string>"
               "<key>key</key><string>s</string></dict>"
               "<dict><key>cell</key><string>PSNoSuchCell</string><key>label</key><string>gone</string></dict>"
               "<dict><key>cell</key><string>PSTitleValueCell</string><key>label</key><string>T</string>"
               "<key>get</key><string>getName</string><key>action</key><string>changeName</string></dict>"
               "<dict><key>cellClass</key><string>PSTableCell</string><key>label</key><string>C</string>"
               "<key>key</key><string>c</string><key>set</key><string>store:specifier:</string></dict>"),
        nullptr);
    struct Expected {
        const char* name;
        long kind;
        const char* getter;
        const char* setter;
        const char* action;
    };
    const Expected expected[] = {
        {"G", PSGroupCell, nullptr, nullptr, nullptr},
        {"S", PSSwitchCell, "readPreferenceValue:", "setPreferenceValue:specifier:", nullptr},
        {"T", PSTitleValueCell, "getName", nullptr, "changeName"},
        {"C", PSStaticTextCell, "readPreferenceValue:", "store:specifier:", nullptr},
    };
    ASSERT_EQ(rows->count(), std::size(expected));
    const auto name = [](SEL sel) { return sel ? std::string(sel_getName(sel)) : std::string("-"); };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto row = std::static_pointer_cast<PSSpecifier>(rows->objectAtIndex(i));
        const Expected& e = expected[i];
        EXPECT_EQ(row->name(), e.name);
        EXPECT_EQ(row->cellType(), e.kind) << e.name;
        EXPECT_EQ(name(row->getter()), e.getter ? e.getter : "-") << e.name;
        EXPECT_EQ(name(row->setter()), e.setter ? e.setter : "-") << e.name;
        EXPECT_EQ(name(row->action()), e.action ? e.action : "-") << e.name;
    }
    EXPECT_EQ(std::static_pointer_cast<PSSpecifier>(rows->objectAtIndex(3))->cellClass(), PSTableCell::class_());
    EXPECT_EQ(preferences::specifiersFromPlist(nullptr, nullptr)->count(), 0u);
}

class PageTest : public ::testing::Test {
protected:
    void show(const std::string& items)
    {
        page = UIViewController::create<TestPage>();
        page->list = listOf(items);
        page->setTitle("Test");
        window = UIView::create<UIWindow>(UIScreen::mainScreen()->bounds());
        root = UIViewController::create<PSRootController>();
        window->setRootViewController(root);
        root->pushController(page);
        window->layoutIfNeeded();
    }
    template <class Cell = PSTableCell>
    std::shared_ptr<Cell> cell(const std::string& name)
    {
        return std::dynamic_pointer_cast<Cell>(page->cellForSpecifier(page->specifierForID(name)));
    }
    void tapCentreOf(const UIView& view)
    {
        window->layoutIfNeeded();
        const CGRect r = view.convertRectToView(view.bounds(), nullptr);
        simulateTap(window.get(), {r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2});
        window->layoutIfNeeded();
    }

    std::shared_ptr<TestPage> page;
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<PSRootController> root;
};

TEST_F(PageTest, GroupsBecomeSectionsWithTitleAndFooterRows)
{
    show("<dict><key>cell</key><string>PSStaticTextCell</string><key>label</key><string>loose</string>"
         "<key>height</key><string>80</string></dict>"
         "<dict><key>cell</key><string>PSGroupCell</string><key>label</key><string>First</string>"
         "<key>footerText</key><string>Below the first group.</string></dict>"
         "<dict><key>cell</key><string>PSStaticTextCell</string><key>label</key><string>a</string></dict>"
         "<dict><key>cell</key><string>PSStaticTextCell</string><key>label</key><string>b</string></dict>"
         "<dict><key>cell</key><string>PSGroupCell</string></dict>");
    const auto table = page->table();
    ASSERT_EQ(page->numberOfSectionsInTableView(table), 3);
    // Rows before any group stand alone; a group adds its title row and its footer row.
    const std::vector<long> rows = {1, 4, 2};
    for (long s = 0; s < 3; ++s)
        EXPECT_EQ(page->tableViewNumberOfRowsInSection(table, s), rows[static_cast<std::size_t>(s)]);
    const auto at = [](long row, long section) { return NSIndexPath::indexPathForRowInSection(row, section); };
    EXPECT_EQ(page->specifierAtIndexPath(at(0, 1)), nullptr);
    EXPECT_EQ(page->specifierAtIndexPath(at(1, 1))->name(), "a");
    EXPECT_EQ(page->specifierAtIndexPath(at(3, 1)), nullptr);
    EXPECT_EQ(page->tableViewHeightForRowAtIndexPath(table, at(0, 0)), 80); // its own "height"
    EXPECT_EQ(page->tableViewHeightForRowAtIndexPath(table, at(1, 1)), 44);
    EXPECT_GT(page->tableViewHeightForRowAtIndexPath(table, at(0, 1)), 0);  // titled
    EXPECT_GT(page->tableViewHeightForRowAtIndexPath(table, at(3, 1)), 0);  // footer text
    EXPECT_GT(page->tableViewHeightForRowAtIndexPath(table, at(0, 2)), 0);  // a plain gap
    EXPECT_EQ(page->tableViewHeightForRowAtIndexPath(table, at(1, 2)), 0);  // no footer
    EXPECT_EQ(page->indexPathForSpecifier(page->specifierForID("b"))->row(), 2);
}

TEST_F(PageTest, EveryKindOfRowWritesThroughItsSetterOrRunsItsAction)
{
    show("<dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>switch</string>"
         "<key>key</key><string>on</string><key>default</key><true/></dict>"
         "<dict><key>cell</key><string>PSSliderCell</string><key>label</key><string>slider</string>"
         "<key>key</key><string>level</string><key>min</key><real>1</real><key>max</key><real>3</real></dict>"
         "<dict><key>cell</key><string>PSEditTextCell</string><key>label</key><string>text</string>"
         "<key>key</key><string>words</string></dict>"
         "<dict><key>cell</key><string>PSLinkListCell</string><key>label</key><string>choice</string>"
         "<key>key</key><string>colour</string><key>default</key><string>green</string>"
         "<key>valuesDataSource</key><string>choiceValues</string></dict>"
         "<dict><key>cell</key><string>PSButtonCell</string><key>label</key><string>button</string>"
         "<key>action</key><string>actWith:</string></dict>"
         "<dict><key>cell</key><string>PSButtonCell</string><key>label</key><string>plain</string>"
         "<key>action</key><string>act</string></dict>"
         "<dict><key>cell</key><string>PSTitleValueCell</string><key>label</key><string>broken</string>"
         "<key>get</key><string>noSuchGetter</string><key>action</key><string>noSuch:action:</string></dict>");

    EXPECT_TRUE(cell<PSSwitchTableCell>("switch")->control()->isOn()); // the default, read through the getter
    tapCentreOf(*cell<PSSwitchTableCell>("switch")->control());
    EXPECT_EQ(foundation::boolValueOf(page->values["on"]), false);

    const auto slider = cell<PSSliderTableCell>("slider")->control();
    EXPECT_EQ(slider->value(), 1.0f); // nothing stored: the minimum
    slider->setValue(9);
    slider->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(foundation::floatValueOf(page->values["level"]), 3.0f); // held to the range

    simulateTyping(cell<PSEditableTableCell>("text")->textField().get(), "hello");
    EXPECT_EQ(foundation::stringValueOf(page->values["words"]), "hello");

    // The choice page lists the values the data source gives now, the stored one ticked.
    EXPECT_EQ(cell("choice")->detailTextLabel()->text(), "green");
    tapCentreOf(*cell("choice"));
    auto choices = std::dynamic_pointer_cast<PSListController>(root->topController());
    ASSERT_TRUE(choices && choices != page);
    ASSERT_EQ(choices->rowSpecifiers().size(), 2u);
    const auto red = choices->rowSpecifiers()[0], green = choices->rowSpecifiers()[1];
    const auto ticked = [&](const std::shared_ptr<PSSpecifier>& item) {
        return std::static_pointer_cast<PSTableCell>(choices->cellForSpecifier(item))->isChecked();
    };
    EXPECT_FALSE(ticked(red));
    EXPECT_TRUE(ticked(green));
    tapCentreOf(*choices->cellForSpecifier(red));
    EXPECT_EQ(foundation::stringValueOf(page->values["colour"]), "red");
    EXPECT_TRUE(ticked(red));
    EXPECT_FALSE(ticked(green));
    root->popController();
    window->layoutIfNeeded();
    EXPECT_EQ(cell("choice")->detailTextLabel()->text(), "red"); // read again on the way back

    for (const char* name : {"button", "plain", "broken"})
        tapCentreOf(*cell(name));
    EXPECT_EQ(page->acted, (std::vector<std::string>{"button", "act"}));
    EXPECT_EQ(cell("broken")->detailTextLabel()->text(), ""); // a getter nobody answers shows nothing
}

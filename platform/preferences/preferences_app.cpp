#include "preferences/preferences_app.h"

#include "foundation/ns_bundle.h"
#include "foundation/runloop.h"
#include "foundation/value_reading.h"
#include "preferences/ps_editable_table_cell.h"
#include "preferences/ps_slider_table_cell.h"
#include "preferences/ps_switch_table_cell.h"
#include "uikit/alert_controller.h"
#include "uikit/collection_view.h"
#include "uikit/collection_view_cell.h"
#include "uikit/index_path.h"
#include "uikit/label.h"
#include "uikit/screen.h"
#include "uikit/snapshot.h"
#include "uikit/touch_simulator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

using namespace objc;

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::shared_ptr<UICollectionView> findGrid(const std::shared_ptr<UIView>& view)
{
    if (!view)
        return nullptr;
    if (auto grid = std::dynamic_pointer_cast<UICollectionView>(view))
        return grid;
    for (const auto& sub : view->subviews())
        if (auto grid = findGrid(sub))
            return grid;
    return nullptr;
}

// Scrolls so that the rectangle (in content coordinates) is inside the visible bounds.
void scrollToShow(UIScrollView& scroll, CGRect rect)
{
    CGPoint offset = scroll.contentOffset();
    const CGFloat height = scroll.bounds().size.height;
    if (rect.origin.y < offset.y)
        offset.y = rect.origin.y;
    else if (rect.origin.y + rect.size.height > offset.y + height)
        offset.y = rect.origin.y + rect.size.height - height;
    scroll.setContentOffset(scroll.clampedContentOffset(offset));
    scroll.layoutIfNeeded();
}

} // namespace

PreferencesApp::PreferencesApp(const std::string& bundleName)
{
    window_ = UIView::create<UIWindow>(UIScreen::mainScreen()->bounds());
    root_ = UIViewController::create<PSRootController>();
    window_->setRootViewController(root_);
    window_->makeKeyAndVisible();

    const std::string path = std::string(kBundleFolder) + bundleName + ".bundle";
    auto bundle = bundleName.find('/') == std::string::npos ? NSBundle::bundleWithPath(path) : nullptr;
    if (!bundle) {
        failure_ = "no preference bundle at " + path;
        return;
    }
    if (!bundle->load()) {
        failure_ = "the preference bundle at " + path + " does not load";
        return;
    }
    const Class principal = bundle->principalClass();
    if (!principal || !principal->isSubclassOf(PSListController::class_())) {
        failure_ = "the preference bundle at " + path + " has no list controller";
        return;
    }
    auto page = std::dynamic_pointer_cast<PSListController>(msgSend<id>(principal->createInstance(), "init"_sel));
    if (!page) {
        failure_ = "the preference bundle's list controller did not start";
        return;
    }
    page->setBundle(bundle);
    if (page->title().empty()) {
        auto name = std::dynamic_pointer_cast<NSString>(bundle->objectForInfoDictionaryKey("CFBundleDisplayName"));
        page->setTitle(name ? name->string() : bundleName);
    }
    root_->pushController(page);
    layOut();
}

PreferencesApp::~PreferencesApp()
{
    // Pages go before the window, so that nothing presented outlives its presenter's screen.
    if (root_)
        if (auto top = root_->topController(); top && top->presentedViewController())
            top->dismissViewControllerAnimatedCompletion(false, nullptr);
}

std::shared_ptr<PSListController> PreferencesApp::firstPage() const
{
    const auto& pages = root_->controllers();
    return pages.empty() ? nullptr : std::dynamic_pointer_cast<PSListController>(pages.front());
}

std::shared_ptr<PSListController> PreferencesApp::topPage() const
{
    return std::dynamic_pointer_cast<PSListController>(root_->topController());
}

std::shared_ptr<UIViewController> PreferencesApp::presentedController() const
{
    std::shared_ptr<UIViewController> shown;
    for (auto c = root_->topController() ? root_->topController()->presentedViewController() : nullptr; c;
         c = c->presentedViewController())
        shown = c;
    return shown;
}

std::shared_ptr<UIAlertController> PreferencesApp::openAlert() const
{
    return std::dynamic_pointer_cast<UIAlertController>(presentedController());
}

std::shared_ptr<UICollectionView> PreferencesApp::openGrid() const
{
    std::shared_ptr<UICollectionView> grid;
    for (auto c = root_->topController() ? root_->topController()->presentedViewController() : nullptr; c;
         c = c->presentedViewController())
        if (c->isViewLoaded())
            if (auto found = findGrid(c->view()))
                grid = found;
    return grid;
}

std::string PreferencesApp::rowTitle(const std::shared_ptr<PSSpecifier>& row)
{
    if (!row)
        return {};
    if (!row->name().empty())
        return row->name();
    if (std::string label = row->stringProperty("keyLabel"); !label.empty())
        return label;
    return row->stringProperty("key");
}

std::shared_ptr<PSSpecifier> PreferencesApp::findRow(const std::string& name) const
{
    const auto page = topPage();
    if (!page || name.empty())
        return nullptr;
    for (const auto& row : page->rowSpecifiers()) {
        for (const std::string& known : {row->name(), row->stringProperty("keyLabel"), row->stringProperty("key"),
                                         row->identifier()})
            if (!known.empty() && sameIgnoringCase(known, name))
                return row;
    }
    return nullptr;
}

std::string PreferencesApp::shownValue(const std::shared_ptr<PSSpecifier>& row) const
{
    const auto page = topPage();
    const auto cell = page ? page->cellForSpecifier(row) : nullptr;
    if (auto toggle = std::dynamic_pointer_cast<PSSwitchTableCell>(cell))
        return toggle->control()->isOn() ? "on" : "off";
    if (auto slider = std::dynamic_pointer_cast<PSSliderTableCell>(cell)) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(slider->control()->value()));
        return text;
    }
    if (auto field = std::dynamic_pointer_cast<PSEditableTableCell>(cell))
        return field->textField()->text();
    if (cell && cell->detailTextLabel())
        return cell->detailTextLabel()->text();
    return {};
}

void PreferencesApp::layOut()
{
    root_->updateNavigationBar();
    window_->layoutIfNeeded();
}

bool PreferencesApp::tapView(const UIView* view)
{
    layOut();
    if (!view || view->window() != window_.get())
        return false;
    const CGRect frame = view->convertRectToView(view->bounds(), nullptr);
    simulateTap(window_.get(), {frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2});
    settle();
    layOut();
    return true;
}

bool PreferencesApp::tapRow(const std::shared_ptr<PSSpecifier>& row)
{
    const auto page = topPage();
    const auto path = page ? page->indexPathForSpecifier(row) : nullptr;
    if (!path)
        return false;
    layOut();
    const auto table = page->table();
    scrollToShow(*table, table->rectForRowAtIndexPath(path));
    const auto cell = table->cellForRowAtIndexPath(path);
    return cell && tapView(cell.get());
}

bool PreferencesApp::tapGridItem(long item)
{
    const auto grid = openGrid();
    if (!grid || item < 0 || item >= grid->numberOfItemsInSection(0))
        return false;
    layOut();
    const auto path = NSIndexPath::indexPathForItemInSection(item, 0);
    if (const auto placed = grid->layoutAttributesForItemAtIndexPath(path))
        scrollToShow(*grid, placed->frame);
    const auto cell = grid->cellForItemAtIndexPath(path);
    return cell && tapView(cell.get());
}

void PreferencesApp::settle()
{
    // Bounded, so that work that keeps rescheduling itself cannot hold a command for ever.
    for (int pass = 0; pass < 1000 && NSRunLoop::mainRunLoop()->runOnce(0); ++pass) {
    }
}

bool PreferencesApp::snapshot(const std::string& hostPath)
{
    layOut();
    return ::snapshot(window_.get(), hostPath);
}

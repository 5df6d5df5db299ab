#include "prefs/vantorel_list_controller.h"

#include "common/hex_colors.h"
#include "common/support_paths.h"
#include "foundation/notification_center.h"
#include "foundation/ns_file_manager.h"
#include "foundation/perform.h"
#include "foundation/value_reading.h"
#include "prefs/color_picker_cell.h"
#include "prefs/settings_file.h"
#include "uikit/alert_controller.h"
#include "uikit/application.h"
#include "uikit/bar_button_item.h"
#include "uikit/index_path.h"

#include <array>
#include <utility>

using namespace objc;

OBJC_REGISTER(VantorelListController,
    c.method<&VantorelListController::widgetValues>("widgetValues");
    c.method<&VantorelListController::widgetTitles>("widgetTitles");
    c.method<&VantorelListController::dataValues>("dataValues");
    c.method<&VantorelListController::dataTitles>("dataTitles");
    c.method<&VantorelListController::getName>("getName");
    c.method<&VantorelListController::getNameValue>("getNameValue:");
    c.method<&VantorelListController::changeName>("changeName");
    c.method<&VantorelListController::respringAlert>("respringAlert");
    c.method<&VantorelListController::respringNeededActivate>("respringNeededActivate");
    c.method<&VantorelListController::twitterOpen>("twitterOpen:");
    c.method<&VantorelListController::showColorPicker>("showColorPicker");
    c.method<&VantorelListController::userSelectedColor>("userSelectedColor:");
    c.method<&VantorelListController::localizationFolders>("localizationFolders");
    c.method<&VantorelListController::setLocalizationFolders>("setLocalizationFolders:");
    c.method<&VantorelListController::allBundles>("allBundles");
    c.method<&VantorelListController::setAllBundles>("setAllBundles:");
    c.method<&VantorelListController::stringName>("stringName");
    c.method<&VantorelListController::setStringName>("setStringName:");
    c.method<&VantorelListController::picker>("picker");
    c.method<&VantorelListController::setPicker>("setPicker:");
    c.method<&VantorelListController::indexPathCurrent>("indexPathCurrent");
    c.method<&VantorelListController::setIndexPathCurrent>("setIndexPathCurrent:");
    c.ivar<&VantorelListController::colorBlur>("colorBlur");)

namespace {

void postDarwin(const std::string& name)
{
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name, nullptr, nullptr, true);
}

// The names of the entries of a folder that pass the test, in listing order.
template <class Keep>
std::shared_ptr<NSMutableArray> entriesOf(std::string_view folder, Keep keep)
{
    auto found = NSMutableArray::array();
    if (auto entries = NSFileManager::defaultManager()->contentsOfDirectoryAtPath(folder))
        for (const id& entry : *entries)
            if (auto name = std::dynamic_pointer_cast<NSString>(entry))
                if (auto kept = keep(name))
                    found->addObject(kept);
    return found;
}

} // namespace

std::shared_ptr<NSMutableArray> VantorelListController::specifiers()
{
    if (_specifiers)
        return _specifiers;
    _specifiers = loadSpecifiersFromPlistNameTarget(NSStr("Vantorel"), self());

    const auto file = vantorel::prefs::readSettingsFile();
    stringName_ = std::dynamic_pointer_cast<NSString>(file->objectForKey("Name"));
    colorBlur = _UIBackdropView::createWithStyle(2);
    picker_ = UIViewController::create<ColorPicker>();

    const std::string languages(vantorel::LanguageSupportFolder);
    localizationFolders_ = entriesOf(languages, [&](const std::shared_ptr<NSString>& name) -> id {
        bool isDirectory = false;
        const bool exists =
            NSFileManager::defaultManager()->fileExistsAtPathIsDirectory(languages + name->string(), &isDirectory);
        return exists && isDirectory ? name : nullptr;
    });
    allBundles_ = entriesOf(vantorel::PluginsFolder, [](const std::shared_ptr<NSString>& name) -> id {
        return name->hasSuffix(".bundle") ? name->stringByDeletingPathExtension() : nullptr;
    });
    return _specifiers;
}

id VantorelListController::readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier)
{
    if (!specifier)
        return nullptr;
    if (id stored = vantorel::prefs::readSettingsFile()->objectForKey(specifier->stringProperty("key")))
        return stored;
    return specifier->propertyForKey("default");
}

void VantorelListController::setPreferenceValueSpecifier(const id& value, const std::shared_ptr<PSSpecifier>& specifier)
{
    if (!specifier)
        return;
    const std::string key = specifier->stringProperty("key");
    const bool written = !key.empty() && vantorel::prefs::writeSetting(key, value);
    reloadSpecifier(specifier);
    if (!written)
        return;
    const std::string notification = specifier->stringProperty("PostNotification");
    if (notification == "loadVantorelS")
        respringNeededActivate();
    if (!notification.empty())
        postDarwin(notification);
}

id VantorelListController::getNameValue(const std::shared_ptr<PSSpecifier>& specifier)
{
    return specifier ? specifier->propertyForKey("name") : nullptr;
}

void VantorelListController::respringNeededActivate()
{
    navigationItem()->setLeftBarButtonItem(
        UIBarButtonItem::create("Respring", UIBarButtonItemStylePlain, self(), "respringAlert"_sel));
}

void VantorelListController::respringAlert()
{
    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle("Vantorel", "Respring Now?",
                                                                                  UIAlertControllerStyleAlert);
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
        "OK", UIAlertActionStyleDefault, [](const std::shared_ptr<UIAlertAction>&) { postDarwin("RespringVT"); }));
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler("Cancel", UIAlertActionStyleDefault, nullptr));
    presentViewControllerAnimatedCompletion(alert, true, nullptr);
}

void VantorelListController::changeName()
{
    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle("Enter Name", "",
                                                                                  UIAlertControllerStyleAlert);
    alert->addTextFieldWithConfigurationHandler([](const std::shared_ptr<UITextField>& field) {
        field->setKeyboardType(UIKeyboardTypeDefault);
    });
    std::weak_ptr<UIAlertController> weakAlert = alert;
    std::weak_ptr<VantorelListController> weakSelf = selfAs<VantorelListController>();
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler("Cancel", UIAlertActionStyleCancel, nullptr));
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
        "Save", UIAlertActionStyleDefault, [weakAlert, weakSelf](const std::shared_ptr<UIAlertAction>&) {
            const auto shown = weakAlert.lock();
            const auto controller = weakSelf.lock();
            if (shown && controller && !shown->textFields().empty())
                controller->nameEntered(shown->textFields().front()->text());
        }));
    presentViewControllerAnimatedCompletion(alert, true, nullptr);
}

void VantorelListController::nameEntered(const std::string& name)
{
    const auto keep = selfAs<VantorelListController>();
    // The library takes a new name only when the host restarts: no notification, the restart
    // is offered instead — once the name is really stored.
    const bool written = vantorel::prefs::writeSetting("Name", NSStr(name));
    stringName_ = written ? NSStr(name) : std::dynamic_pointer_cast<NSString>(vantorel::prefs::storedSetting("Name"));
    reloadSpecifiers();
    if (written)
        respringAlert();
}

void VantorelListController::twitterOpen(const std::shared_ptr<PSSpecifier>& specifier)
{
    const std::string name = specifier ? specifier->stringProperty("twitterName") : std::string();
    static constexpr std::array<std::pair<const char*, const char*>, 3> kClients{{
        {"tweetbot://", "tweetbot:///user_profile/"},
        {"twitterrific://", "twitterrific:///profile?screen_name="},
        {"twitter://", "twitter://user?screen_name="},
    }};
    const auto application = UIApplication::sharedApplication();
    for (const auto& [probe, address] : kClients) {
        if (application->canOpenURL(probe)) {
            application->openURL(address + name);
            return;
        }
    }
    application->openURL(kWebProfilePrefix + name);
}

void VantorelListController::tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& table,
                                                              const std::shared_ptr<NSIndexPath>& indexPath)
{
    const auto cell = table ? table->cellForRowAtIndexPath(indexPath) : nullptr;
    if (!cell || !cell->isKindOfClass(ColorPickerCell::class_())) {
        PSListController::tableViewDidSelectRowAtIndexPath(table, indexPath);
        return;
    }
    indexPathCurrent_ = indexPath;
    colorBlur->inputSettings()->setColorTint(UIColor::blackColor());
    colorBlur->inputSettings()->setColorTintAlpha(0.4);
    colorBlur->setBlurRadiusSetOnce(true);
    colorBlur->setBlurRadius(4);
    colorBlur->setBlurQuality("default");
    picker_->view()->setBackgroundColor(UIColor::clearColor());
    picker_->setProvidesPresentationContextTransitionStyle(true);
    picker_->setDefinesPresentationContext(true);
    picker_->setModalPresentationStyle(UIModalPresentationOverCurrentContext);
    picker_->setDelegate(self());
    picker_->view()->insertSubviewAtIndex(colorBlur, 0);
    // Shown on the next pass of the run loop, once the tap has been handled.
    foundation::performSelectorWithObjectAfterDelay(self(), "showColorPicker"_sel, nullptr, 0);
}

void VantorelListController::showColorPicker() { presentViewControllerAnimatedCompletion(picker_, true, nullptr); }

void VantorelListController::userSelectedColor(const std::shared_ptr<UIColor>& color)
{
    const auto hex = HexColors::hexValuesFromUIColor(color);
    if (!hex)
        return;
    auto cell = table()->cellForRowAtIndexPath(indexPathCurrent_);
    // A row scrolled out of sight still has its cell: the choice is not lost with the view.
    if (!cell)
        cell = cellForSpecifier(specifierAtIndexPath(indexPathCurrent_));
    if (!cell)
        return;
    msgSendIfResponds(cell, "saveCellWithColor:"_sel, NSStr(*hex));
    // The restart is offered for a colour that is really stored; the library reads it at its
    // next settings load.
    const auto row = specifierAtIndexPath(indexPathCurrent_);
    const auto stored =
        row ? std::dynamic_pointer_cast<NSString>(vantorel::prefs::storedSetting(row->stringProperty("key"))) : nullptr;
    if (stored && stored->isEqualToString(*hex))
        respringNeededActivate();
}

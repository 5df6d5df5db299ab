// The root page of the preference bundle: the settings list. Every row reads the settings file
// afresh and writes changes straight back to it (settings_file.h), then tells the library
// ("loadVantorelS" to reload its settings; "RespringVT" to restart the lock-screen host). It
// also asks for the user's name, opens the colour picker for the colour rows, offers the
// restart and opens the developer's profile, and lists the installed languages and plug-ins
// for their choice rows.
//
// Ownership: the controller owns its picker, the picker's backdrop and its lists; the picker
// knows the controller as its delegate without retaining it.
#pragma once

#include "prefs/color_picker.h"
#include "prefs/color_picker_delegate.h"
#include "preferences/ps_list_controller.h"
#include "uikit/backdrop_view.h"

#include <memory>
#include <string>

class NSIndexPath;

class VantorelListController : public PSListController, public ColorPickerDelegate {
    OBJC_CLASS(VantorelListController, PSListController)
public:
    // Where the profile row's name goes after the probes of the installed clients fail.
    static constexpr const char* kWebProfilePrefix = "https://profiles.example.org/";

    // Built once: the rows of the bundle's "Vantorel" list, the name, the picker and its
    // backdrop, and the language and plug-in folders as they are now.
    std::shared_ptr<NSMutableArray> specifiers() override;

    // The file's value for the row's "key", else the row's "default".
    objc::id readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier) override;
    // Writes the value under the row's key; once it is written, shows the restart button for
    // "loadVantorelS" and posts the row's "PostNotification". A write that fails posts nothing;
    // either way the row then shows what the file holds.
    void setPreferenceValueSpecifier(const objc::id& value, const std::shared_ptr<PSSpecifier>& specifier) override;

    // Values and titles of the plug-in and language choices (the same lists).
    std::shared_ptr<NSMutableArray> widgetValues() { return allBundles_; }
    std::shared_ptr<NSMutableArray> widgetTitles() { return allBundles_; }
    std::shared_ptr<NSMutableArray> dataValues() { return localizationFolders_; }
    std::shared_ptr<NSMutableArray> dataTitles() { return localizationFolders_; }
    std::shared_ptr<NSString> getName() { return stringName_; }
    objc::id getNameValue(const std::shared_ptr<PSSpecifier>& specifier);

    // Actions of the rows and of the restart button.
    void changeName();
    void respringAlert();
    void respringNeededActivate();
    void twitterOpen(const std::shared_ptr<PSSpecifier>& specifier);

    // Colour rows open the picker; the others are handled as by any list.
    void tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& table,
                                          const std::shared_ptr<NSIndexPath>& indexPath) override;
    void showColorPicker();
    // Saves the colour into the row that opened the picker; the restart button follows once
    // it is stored.
    void userSelectedColor(const std::shared_ptr<UIColor>& color) override;

    const std::shared_ptr<NSMutableArray>& localizationFolders() const { return localizationFolders_; }
    void setLocalizationFolders(std::shared_ptr<NSMutableArray> folders) { localizationFolders_ = std::move(folders); }
    const std::shared_ptr<NSMutableArray>& allBundles() const { return allBundles_; }
    void setAllBundles(std::shared_ptr<NSMutableArray> bundles) { allBundles_ = std::move(bundles); }
    const std::shared_ptr<NSString>& stringName() const { return stringName_; }
    void setStringName(std::shared_ptr<NSString> name) { stringName_ = std::move(name); }
    const std::shared_ptr<ColorPicker>& picker() const { return picker_; }
    void setPicker(std::shared_ptr<ColorPicker> picker) { picker_ = std::move(picker); }
    const std::shared_ptr<NSIndexPath>& indexPathCurrent() const { return indexPathCurrent_; }
    void setIndexPathCurrent(std::shared_ptr<NSIndexPath> path) { indexPathCurrent_ = std::move(path); }

private:
    void nameEntered(const std::string& name);

    std::shared_ptr<NSMutableArray> localizationFolders_;
    std::shared_ptr<NSMutableArray> allBundles_;
    std::shared_ptr<NSString> stringName_;
    std::shared_ptr<ColorPicker> picker_;
    std::shared_ptr<NSIndexPath> indexPathCurrent_;
    std::shared_ptr<_UIBackdropView> colorBlur;
};

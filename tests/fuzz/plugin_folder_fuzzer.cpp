// Any plug-ins folder: the entries it lists and the Info.plist its bundles carry, read by the
// settings load (the selected plug-in) and by the lock screen's chooser (every bundle), each
// chosen plug-in then shown in a widget as the host shows it. Bundles may carry a real plug-in
// executable, so Info.plist names what is loaded and which class is shown.
//
// Input: entry lines, a blank line, then the Info.plist bytes. An entry line is
//   <folder>            a folder in the plug-ins folder
//   <folder>/Info.plist the Info.plist bytes in it
//   <folder>/<file>     the plug-in executable (a real loadable bundle) under that name
//   -<name>             a plain file in the plug-ins folder
// Each input gets a device root of its own: a bundle's Info.plist is read when its folder is
// first opened.
#include "common/support_paths.h"
#include "foundation/device_path.h"
#include "foundation/ns_array.h"
#include "tweak/core/settings.h"
#include "tweak/lockscreen/widget.h"
#include "tweak/lockscreen/widget_cell.h"
#include "tweak/lockscreen/widget_selector.h"
#include "uikit/collection_view.h"
#include "uikit/index_path.h"

#include "fuzz_device.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "plugin_folder_fuzzer: %s\n", why);
    std::abort();
}

bool plainName(const std::string& name)
{
    return !name.empty() && name.size() < 200 && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

// Lays the folder out; the first folder's name, for the settings file.
std::string layOut(std::string_view input, const fs::path& plugins, const fs::path& executable)
{
    const auto blank = input.find("\n\n");
    const std::string_view info = blank == std::string_view::npos ? std::string_view() : input.substr(blank + 2);
    std::istringstream entries(std::string(input.substr(0, blank)));
    std::string first;
    std::error_code ignored;
    for (std::string line; std::getline(entries, line);) {
        if (line.starts_with("-")) {
            if (plainName(line.substr(1)))
                std::ofstream(plugins / line.substr(1));
            continue;
        }
        const auto slash = line.find('/');
        const std::string folder = line.substr(0, slash);
        if (!plainName(folder))
            continue;
        fs::create_directories(plugins / folder, ignored);
        if (first.empty())
            first = folder;
        if (slash == std::string::npos)
            continue;
        const std::string file = line.substr(slash + 1);
        if (!plainName(file))
            continue;
        if (file == "Info.plist")
            std::ofstream(plugins / folder / file, std::ios::binary).write(info.data(), static_cast<std::streamsize>(info.size()));
        else
            fs::create_hard_link(executable, plugins / folder / file, ignored);
    }
    return first.ends_with(".bundle") ? first.substr(0, first.size() - 7) : first;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fs::path base = fuzzing::deviceRoot();
    // One copy of a real plug-in executable, hard-linked into bundles: the loader sees one file.
    static const fs::path executable = [] {
        fuzzing::copyStaged(vantorel::pluginBundlePath("Calendar"));
        return fs::path(fuzzing::hostPath(vantorel::pluginBundlePath("Calendar") + "/Calendar"));
    }();
    static unsigned long inputs = 0;
    const fs::path root = base / ("input-" + std::to_string(++inputs));
    const fs::path plugins = root / std::string(vantorel::PluginsFolder).substr(1);
    std::error_code ignored;
    fs::create_directories(plugins, ignored);
    foundation::setDeviceRoot(root.string());

    const std::string selected = layOut(fuzzing::bytesOf(data, size), plugins, executable);
    if (!selected.empty())
        fuzzing::writeFile(vantorel::SettingsFile, "<plist><dict><key>SelectedWidget</key><string>" + selected +
                                                       "</string></dict></plist>");
    loadSettings();

    auto chooser = std::make_shared<WidgetSelector>();
    chooser->initWithFrame({0, 0, 300, 220});
    chooser->updateView();
    chooser->layoutIfNeeded();
    const auto grid = chooser->bundleView();
    const long items = grid ? grid->numberOfItemsInSection(0) : 0;
    if (items != static_cast<long>(chooser->allBundleNames()->count()))
        fail("the grid does not show every plug-in");

    std::vector<objc::Class> chosen{vantorel::settings.selectedWidgetClass};
    const auto choose = [&](objc::Class cls) {
        if (std::find(chosen.begin(), chosen.end(), cls) == chosen.end())
            chosen.push_back(cls); // each class is shown once: a view of it is what is under test
    };
    for (long item = 0; item < items; ++item) {
        const auto path = NSIndexPath::indexPathForItemInSection(item, 0);
        if (const auto placed = grid->layoutAttributesForItemAtIndexPath(path))
            grid->setContentOffset(grid->clampedContentOffset({0, placed->frame.origin.y}));
        grid->layoutIfNeeded();
        if (auto cell = std::dynamic_pointer_cast<WidgetCell>(grid->cellForItemAtIndexPath(path))) {
            chooser->collectionViewDidSelectItemAtIndexPath(grid, path);
            choose(cell->bundleClass());
        }
    }
    for (const objc::Class cls : chosen) {
        auto widget = std::make_shared<VTWidget>();
        widget->initWithFrame({0, 0, 300, 220});
        widget->setWidgetClass(cls);
        widget->updateView();
        widget->setFrame({0, 0, 280, 200});
        widget->layoutIfNeeded();
        if (widget->pluginView() && widget->pluginView()->frame().size.width != 280)
            fail("the plug-in view does not follow the widget");
    }

    foundation::setDeviceRoot(base.string());
    fs::remove_all(root, ignored);
    return 0;
}

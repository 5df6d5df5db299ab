#include "sim/view_finder.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <vector>

namespace sim {

namespace {

struct Seen {
    std::string cls;
    double x, y, w, h;
    long parent;
    std::string text;
    ScreenPoint centre() const { return {x + w / 2, y + h / 2}; }
};

std::vector<Seen> parse(const std::string& answer)
{
    std::vector<Seen> views;
    const auto open = answer.find('[');
    const auto close = answer.rfind(']');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return views;
    const auto list = nlohmann::json::parse(answer.substr(open, close - open + 1), nullptr, false);
    if (!list.is_array())
        return views;
    for (const auto& v : list) {
        if (!v.is_object())
            continue;
        views.push_back({v.value("class", ""), v.value("x", 0.0), v.value("y", 0.0), v.value("w", 0.0),
                         v.value("h", 0.0), v.value("parent", -1L), v.value("text", "")});
    }
    return views;
}

bool inside(const std::vector<Seen>& views, const Seen& view, const char* cls)
{
    for (long p = view.parent; p >= 0 && p < static_cast<long>(views.size()); p = views[p].parent)
        if (views[p].cls == cls)
            return true;
    return false;
}

} // namespace

std::optional<ScreenPoint> findView(const std::string& answer, const std::string& name)
{
    const auto views = parse(answer);
    std::vector<const Seen*> found;
    if (name == "widgets" || name == "notifications") {
        for (const auto& v : views)
            if (v.cls == "UIImageView" && v.w == 32 && v.h == 32 && !inside(views, v, "VTAppsView") &&
                (name == "widgets") == (v.centre().x < kScreenWidth / 2))
                found.push_back(&v);
    } else if (name.rfind("hub:", 0) == 0) {
        const std::size_t n = std::stoul(name.substr(4));
        std::vector<const Seen*> icons;
        for (std::size_t i = 0; i < views.size(); ++i) {
            const auto& v = views[i];
            if (v.cls == "UIImageView" && v.parent >= 0 && views[v.parent].cls == "VTAppsView")
                icons.push_back(&v);
        }
        std::sort(icons.begin(), icons.end(), [](const Seen* a, const Seen* b) { return a->x < b->x; });
        if (n >= 1 && n <= icons.size())
            found.push_back(icons[n - 1]);
    } else if (name == "greeting" || name == "weather") {
        std::vector<const Seen*> labels;
        for (const auto& v : views)
            if (v.cls == "UILabel" && !inside(views, v, "UITableView") && !v.text.empty())
                labels.push_back(&v);
        std::sort(labels.begin(), labels.end(), [](const Seen* a, const Seen* b) { return a->y < b->y; });
        const std::size_t index = name == "greeting" ? 0 : 1;
        if (index < labels.size())
            found.push_back(labels[index]);
    } else if (name == "widget-area") {
        for (const auto& v : views)
            if (v.cls == "VTWidget" || v.cls == "WidgetSelector")
                found.push_back(&v);
    } else if (name.rfind("tile:", 0) == 0) {
        const std::string plugin = name.substr(5);
        for (const auto& v : views)
            if (v.cls == "UILabel" && v.text == plugin && inside(views, v, "WidgetCell"))
                for (long p = v.parent; p >= 0; p = views[p].parent)
                    if (views[p].cls == "WidgetCell") {
                        found.push_back(&views[p]);
                        break;
                    }
    } else if (name == "table") {
        for (const auto& v : views)
            if (v.cls == "UITableView" || v.cls.find("TableView") != std::string::npos)
                found.push_back(&v);
    }
    if (found.empty())
        return std::nullopt;
    return found.front()->centre();
}

} // namespace sim

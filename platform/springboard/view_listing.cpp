#include "springboard/view_listing.h"

#include "uikit/label.h"
#include "uikit/view.h"

#include <nlohmann/json.hpp>

namespace {

// Below this opacity a view takes no touches and shows nothing.
constexpr double kVisibleAlpha = 0.01;

void list(const UIView* view, long parent, nlohmann::json& out)
{
    if (view->isHidden() || view->alpha() < kVisibleAlpha)
        return;
    const CGRect frame = view->convertRectToView(view->bounds(), nullptr);
    nlohmann::json entry{{"class", objc::class_getName(view->isa())},
                         {"x", frame.origin.x},
                         {"y", frame.origin.y},
                         {"w", frame.size.width},
                         {"h", frame.size.height},
                         {"parent", parent}};
    if (auto label = dynamic_cast<const UILabel*>(view))
        entry["text"] = label->text();
    const long index = static_cast<long>(out.size());
    out.push_back(std::move(entry));
    for (const auto& sub : view->subviews())
        list(sub.get(), index, out);
}

} // namespace

std::string listVisibleViews(const UIView* root)
{
    nlohmann::json out = nlohmann::json::array();
    if (root)
        list(root, -1, out);
    return out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

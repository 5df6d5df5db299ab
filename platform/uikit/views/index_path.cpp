#include "uikit/index_path.h"

#include <functional>

std::shared_ptr<NSIndexPath> NSIndexPath::indexPathForRowInSection(long row, long section)
{
    auto path = objc::alloc<NSIndexPath>();
    path->row_ = row;
    path->section_ = section;
    return path;
}

std::shared_ptr<NSIndexPath> NSIndexPath::indexPathForItemInSection(long item, long section)
{
    return indexPathForRowInSection(item, section);
}

long NSIndexPath::compare(const NSIndexPath& other) const
{
    if (section_ != other.section_)
        return section_ < other.section_ ? -1 : 1;
    if (row_ != other.row_)
        return row_ < other.row_ ? -1 : 1;
    return 0;
}

bool NSIndexPath::isEqual(const objc::Object* other) const
{
    const auto* path = dynamic_cast<const NSIndexPath*>(other);
    return path && compare(*path) == 0;
}

std::size_t NSIndexPath::hash() const
{
    const std::size_t h = std::hash<long>()(section_);
    return h ^ (std::hash<long>()(row_) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

std::string NSIndexPath::description() const
{
    return "<NSIndexPath: {" + std::to_string(section_) + ", " + std::to_string(row_) + "}>";
}

OBJC_REGISTER(NSIndexPath,
    c.classMethod<&NSIndexPath::indexPathForRowInSection>("indexPathForRow:inSection:");
    c.classMethod<&NSIndexPath::indexPathForItemInSection>("indexPathForItem:inSection:");
    c.method<&NSIndexPath::row>("row");
    c.method<&NSIndexPath::item>("item");
    c.method<&NSIndexPath::section>("section");)

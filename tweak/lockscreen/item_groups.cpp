#include "tweak/lockscreen/item_groups.h"

#include <cstdint>

namespace vantorel {

namespace {

std::size_t hashOf(const objc::Object* item, std::size_t mask)
{
    // Objects are at least 16-byte aligned: the low bits carry nothing.
    return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(item) >> 4) * 0x9E3779B97F4A7C15ull) & mask;
}

} // namespace

long ItemGroups::count(const NSArray& items, const NSString& identifier, const Identify& identify)
{
    if (remembered_ > 2 * items.count() + 16)
        forgetAll();
    const int wanted = intern(identifier.string());
    long n = 0;
    for (const objc::id& item : items)
        if (item && groupOf(item, identify) == wanted)
            ++n;
    return n;
}

int ItemGroups::groupOf(const objc::id& item, const Identify& identify)
{
    if (2 * (remembered_ + 1) > slots_.size())
        grow();
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hashOf(item.get(), mask);
    while (slots_[at].item) {
        if (slots_[at].item.get() == item.get())
            return slots_[at].group;
        at = (at + 1) & mask;
    }
    const std::shared_ptr<NSString> found = identify(item);
    const int group = found ? intern(found->string()) : kNoGroup;
    slots_[at] = {item, group};
    ++remembered_;
    return group;
}

int ItemGroups::intern(const std::string& identifier)
{
    return groups_.try_emplace(identifier, static_cast<int>(groups_.size())).first->second;
}

void ItemGroups::forgetAll()
{
    slots_.clear();
    groups_.clear();
    remembered_ = 0;
}

void ItemGroups::grow()
{
    std::vector<Slot> old(std::max<std::size_t>(64, slots_.size() * 2));
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (auto& slot : old) {
        if (!slot.item)
            continue;
        std::size_t at = hashOf(slot.item.get(), mask);
        while (slots_[at].item)
            at = (at + 1) & mask;
        slots_[at] = std::move(slot);
    }
}

} // namespace vantorel

// The group of each pending item, remembered, so that counting a group's items is one pass
// over the host's list that asks no item again. A host item keeps its group for as long as it
// lives (the host has no way to change a bulletin's section, a card's identifier or an alert's
// title), so an item's group is asked once, the first time a pass meets it.
//
// Remembered items are held strongly: no new item can come to share the address of one that
// is remembered. Items that left the list are forgotten together, when the remembered ones
// outnumber the listed ones twice over, so what is held stays within twice the list.
#pragma once

#include "foundation/ns_array.h"
#include "foundation/ns_string.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vantorel {

class ItemGroups {
public:
    // What an item's group is: nil for an item that has none (it belongs to no group).
    using Identify = std::function<std::shared_ptr<NSString>(const objc::id& item)>;

    // The listed items whose group is the identifier.
    long count(const NSArray& items, const NSString& identifier, const Identify& identify);

private:
    static constexpr int kNoGroup = -1;
    static constexpr int kUnknown = -2;
    struct Slot {
        objc::id item;
        int group = kUnknown;
    };

    int groupOf(const objc::id& item, const Identify& identify);
    int intern(const std::string& identifier);
    void forgetAll();
    void grow();

    // Open addressing on the item's address, at most half full.
    std::vector<Slot> slots_;
    std::size_t remembered_ = 0;
    std::unordered_map<std::string, int> groups_;
};

} // namespace vantorel

// Collections may contain themselves (a mutable array added to itself); description and
// equality walk nested collections only this deep, so such a value cannot exhaust the stack.
#pragma once

namespace foundation::detail {

class CollectionDepth {
public:
    static constexpr int kLimit = 256;

    CollectionDepth() { ++depth(); }
    ~CollectionDepth() { --depth(); }
    CollectionDepth(const CollectionDepth&) = delete;
    CollectionDepth& operator=(const CollectionDepth&) = delete;

    bool tooDeep() const { return depth() > kLimit; }

private:
    static int& depth()
    {
        thread_local int value = 0;
        return value;
    }
};

} // namespace foundation::detail

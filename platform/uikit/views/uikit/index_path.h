// Index paths: a section and a row (or item) in a table or collection view. Equal paths are
// equal objects (isEqual, hash), so they can key dictionaries.
#pragma once

#include "objc/objc.h"

#include <memory>

class NSIndexPath : public objc::Object {
    OBJC_CLASS(NSIndexPath, objc::Object)
public:
    static std::shared_ptr<NSIndexPath> indexPathForRowInSection(long row, long section);
    static std::shared_ptr<NSIndexPath> indexPathForItemInSection(long item, long section);

    long section() const { return section_; }
    // Row and item are the same index: tables name it row, collection views item.
    long row() const { return row_; }
    long item() const { return row_; }

    // -1, 0 or 1: by section, then by row.
    long compare(const NSIndexPath& other) const;
    bool isEqual(const objc::Object* other) const override;
    std::size_t hash() const override;
    std::string description() const override;

private:
    long section_ = 0;
    long row_ = 0;
};

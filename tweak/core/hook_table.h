// The methods the library replaces or adds on the host's classes: 19 rows, installed in this
// order at start-up when the library is enabled. A replace row hands the host's previous
// implementation to its own saved slot (written once, before the replacement can run); an add
// row adds a method with its type encoding.
#pragma once

#include "objc/objc.h"

#include <array>
#include <string_view>

namespace vantorel {

struct HookRow {
    enum class Kind { Replace, Add };
    const char* className;
    const char* selector;
    Kind kind;
    objc::IMP implementation;
    objc::IMP* savedSlot;  // replace rows only
    const char* encoding;  // add rows only
};

// The table, in order of installation.
const std::array<HookRow, 19>& hookTable();
// Installs every row: classes by name, MSHookMessageEx for replace rows, class_addMethod for
// add rows (its result ignored). A missing class leaves its row's slot empty.
void installHookTable();

} // namespace vantorel

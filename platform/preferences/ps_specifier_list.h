// Specifier lists: the property-list form of a Settings page, as bundles ship it. The root is a
// dictionary whose "items" array describes the rows in order, each a dictionary:
//
//   "cell"       the kind: PSGroupCell, PSSwitchCell, PSLinkListCell, PSTitleValueCell,
//                PSEditTextCell, PSSliderCell, PSButtonCell, PSLinkCell, PSStaticTextCell
//   "label"      the title;  "id"  an identifier (the title when absent)
//   "key"        the settings key; a row with a key reads and writes it through the target's
//                "readPreferenceValue:" / "setPreferenceValue:specifier:" unless "get" / "set"
//                name other methods
//   "action"     the method a tap sends to the target (with the specifier when it takes one)
//   "cellClass"  a PSTableCell subclass, by name, that shows the row
//   "detail"     the controller class, by name, that a link row opens
//   "validValues"/"validTitles" or "valuesDataSource"/"titlesDataSource": a choice row's values
//
// Every entry (these and any other) is kept in the row's properties dictionary.
#pragma once

#include "foundation/ns_array.h"
#include "foundation/ns_dictionary.h"
#include "objc/objc.h"

namespace preferences {

// The rows of a specifier list; entries that are not dictionaries or name no known kind (and
// no cell class) are left out. An absent or malformed "items" gives no rows.
std::shared_ptr<NSMutableArray> specifiersFromPlist(const std::shared_ptr<NSDictionary>& plist, const objc::id& target);

} // namespace preferences

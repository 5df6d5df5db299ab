// A look at encoded property lists before they are parsed: the parser descends recursively, so
// a file nested thousands of levels deep would overflow the stack. This walk needs no stack of
// its own and turns such files (and binary ones whose object graph loops) away.
#pragma once

#include <string_view>

namespace foundation {

// True when the arrays and dictionaries of the XML or binary property list nest at most
// maxDepth deep. False for deeper lists, for binary lists whose structure is broken or loops,
// and for XML with an unterminated comment or CDATA section.
bool propertyListNestingWithin(std::string_view encoded, int maxDepth);

} // namespace foundation

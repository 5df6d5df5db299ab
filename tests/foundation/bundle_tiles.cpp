// A bundle executable without a declared principal class: its first class is the one found.
#include "objc/objc.h"

class TileFirst : public objc::Object {
    OBJC_CLASS(TileFirst, objc::Object)
    int answer() const { return 10; }
};

class TileSecond : public objc::Object {
    OBJC_CLASS(TileSecond, objc::Object)
};

OBJC_REGISTER(TileFirst, c.method<&TileFirst::answer>("answer");)
OBJC_REGISTER(TileSecond)

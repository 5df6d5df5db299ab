// The responder chain: a view answers to its view controller (for a controller's root view) or
// to its superview; a controller answers to the superview of its view.
#pragma once

#include "objc/objc.h"

class UIResponder : public objc::Object {
    OBJC_CLASS(UIResponder, objc::Object)
public:
    // Not retained: the chain is walked, never owned.
    virtual UIResponder* nextResponder() const { return nullptr; }
};

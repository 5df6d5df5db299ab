// What the colour picker tells the one who opened it: the colour the user picked. The picker
// sends "userSelectedColor:" through the runtime, and only to a delegate that answers it.
#pragma once

#include "uikit/color.h"

#include <memory>

class ColorPickerDelegate {
public:
    virtual ~ColorPickerDelegate() = default;
    // Runtime selector "userSelectedColor:" ("v@:@").
    virtual void userSelectedColor(const std::shared_ptr<UIColor>& color) = 0;
};

#include "uikit/responder.h"

OBJC_REGISTER(UIResponder)

// The object runtime: everything the platform and the system need from it.
#pragma once

#include "class.h"
#include "class_builder.h"
#include "hook.h"
#include "message.h"
#include "object.h"
#include "selector.h"

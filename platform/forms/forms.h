#pragma once
// The forms runtime: everything a form, a view or a test needs.
//
//  - types.h          colours, fonts, key codes, message-box and property enums
//  - controls.h       the controls and their properties
//  - control_array.h  indexed control arrays, with gaps
//  - form.h           the form base class and its lifecycle
//  - runtime.h        the runtime: forms, focus, events, keys, timers,
//                     message boxes, the view's interfaces (EventLoop,
//                     MessageBoxes, Observer) and the user's input
//  - test_driver.h    the headless driver for tests

#include "platform/forms/control_array.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/runtime.h"
#include "platform/forms/test_driver.h"
#include "platform/forms/types.h"

#pragma once
// For tests only (header only, needs GoogleTest): makes every failure the
// driver detects fail the running test.
//
//     forms::Runtime rt;
//     forms::TestDriver ui(rt);
//     forms::fail_test_on_driver_failure(ui);

#include <gtest/gtest.h>

#include "platform/forms/test_driver.h"

namespace forms {

inline void fail_test_on_driver_failure(TestDriver& driver) {
  driver.set_failure_handler([](const std::string& message) { ADD_FAILURE() << message; });
}

}  // namespace forms

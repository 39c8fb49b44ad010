// Assertions on a platform::Status by its log line, so that a failure prints the cause and its
// detail, and an expected failure is checked down to the detail.
#pragma once

#include "platform/status.h"

#include <gtest/gtest.h>

#define ASSERT_OK(expr) ASSERT_EQ("ok", platform::LogLine(expr))
#define EXPECT_OK(expr) EXPECT_EQ("ok", platform::LogLine(expr))

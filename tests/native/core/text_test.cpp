#include <gtest/gtest.h>

#include "pure/text.h"

TEST(Text, Placeholder) { EXPECT_EQ(TrimView(" a "), "a"); }

#include <gtest/gtest.h>

TEST(Build, TestRunnerWorks)
{
    EXPECT_EQ(1 + 1, 2);
}

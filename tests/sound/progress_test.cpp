#include "sound/progress.h"

#include <gtest/gtest.h>

using namespace zerkavi;

TEST(Progress, ElapsedTextAndBar) {
    EXPECT_EQ(elapsedText(0), "00.00.000");
    EXPECT_EQ(elapsedText(65250), "01.05.250");
    EXPECT_EQ(elapsedText(59999), "00.59.999");
    EXPECT_EQ(elapsedText(600000 + 7), "10.00.007");
    EXPECT_EQ(progressWidth(122, 1000, 0), 0);
    EXPECT_EQ(progressWidth(122, 1000, 1000), 122);
    EXPECT_EQ(progressWidth(100, 1000, 5), 0);  // 0.5 -> 0
    EXPECT_EQ(progressWidth(100, 1000, 15), 2); // 1.5 -> 2
    EXPECT_EQ(progressWidth(100, 0, 15), 0);
}

// The whole-number cursor coordinates handed to the mouse-position callback:
// the disabled cursor is unbounded, so positions past the range of int are
// held at its ends instead of being cast.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(CursorCoordinate, IsTruncatedAndHeldWithinInt)
{
    constexpr int lowest = std::numeric_limits<int>::min(), highest = std::numeric_limits<int>::max();
    constexpr double infinity = std::numeric_limits<double>::infinity();
    const std::pair<double, int> cases[] = {
        {0.0, 0},          {12.7, 12},        {-12.7, -12},          {2147483647.9, highest}, {2147483648.0, highest},
        {1e12, highest},   {infinity, highest}, {-2147483648.9, lowest}, {-1e12, lowest},       {-infinity, lowest},
        {std::nan(""), 0}};
    for (const auto& [position, reported] : cases)
        EXPECT_EQ(sys::cursorCoordinate(position), reported) << position;
}

// The tests' keyboard holds every key code from 0 to the last, and a code
// outside that range is ignored rather than written past the table.
TEST(TestKeys, HoldEveryCodeFromZeroToTheLastAndIgnoreOthers)
{
    sys::testReleaseAllKeys();
    for (int key : {0, sys::keyLast}) {
        sys::testSetKey(key, true);
        EXPECT_EQ(glfwGetKey(key), GLFW_PRESS) << key;
    }
    for (int key : {-1, sys::keyLast + 1, 1 << 28}) {
        sys::testSetKey(key, true);
        EXPECT_EQ(glfwGetKey(key), GLFW_RELEASE) << key;
    }
    sys::testUseRealKeys();
}

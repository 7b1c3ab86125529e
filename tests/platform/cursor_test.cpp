// The whole-number cursor coordinates handed to the mouse-position callback:
// the disabled cursor is unbounded, so positions past the range of int are
// held at its ends instead of being cast.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr int lowest = std::numeric_limits<int>::min();
constexpr int highest = std::numeric_limits<int>::max();
constexpr double infinity = std::numeric_limits<double>::infinity();

struct CursorCase {
    double position;
    int reported;
};

class CursorCoordinate : public ::testing::TestWithParam<CursorCase> {};

TEST_P(CursorCoordinate, IsTruncatedAndHeldWithinInt)
{
    EXPECT_EQ(sys::cursorCoordinate(GetParam().position), GetParam().reported) << GetParam().position;
}

INSTANTIATE_TEST_SUITE_P(
    Positions, CursorCoordinate,
    ::testing::Values(CursorCase{0.0, 0}, CursorCase{12.7, 12}, CursorCase{-12.7, -12},
                      CursorCase{2147483647.9, highest}, CursorCase{2147483648.0, highest},
                      CursorCase{1e12, highest}, CursorCase{infinity, highest},
                      CursorCase{-2147483648.9, lowest}, CursorCase{-1e12, lowest},
                      CursorCase{-infinity, lowest}, CursorCase{std::nan(""), 0}));

}  // namespace

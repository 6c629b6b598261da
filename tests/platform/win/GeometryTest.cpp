#include "platform/win/Geometry.h"

#include <gtest/gtest.h>

TEST(Geometry, IntersectionOfDisjointOrEmptyRectanglesIsEmptyAndZero) {
  TRect r{1, 1, 1, 1};
  EXPECT_TRUE(IntersectRect(r, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
  EXPECT_EQ(r, Rect(5, 5, 10, 10));
  EXPECT_FALSE(IntersectRect(r, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));  // touching edges
  EXPECT_EQ(r, TRect{});
  EXPECT_FALSE(IntersectRect(r, Rect(0, 0, 10, 10), Rect(3, 3, 3, 8)));  // empty operand
  EXPECT_EQ(r, TRect{});
}

TEST(Geometry, PointsOnTheRightAndBottomEdgesAreOutside) {
  TRect r = Rect(0, 0, 10, 5);
  EXPECT_TRUE(PtInRect(r, {0, 0}));
  EXPECT_TRUE(PtInRect(r, {9, 4}));
  EXPECT_FALSE(PtInRect(r, {10, 4}));
  EXPECT_FALSE(PtInRect(r, {9, 5}));
  EXPECT_FALSE(PtInRect(Rect(5, 5, 0, 0), {2, 2}));  // inverted rectangles hold nothing
}

TEST(Geometry, UnionSkipsEmptyRectanglesAndOffsetMovesBothCorners) {
  TRect r;
  EXPECT_TRUE(UnionRect(r, Rect(0, 0, 0, 0), Rect(2, 3, 4, 5)));
  EXPECT_EQ(r, Rect(2, 3, 4, 5));
  EXPECT_TRUE(UnionRect(r, Rect(0, 0, 1, 1), Rect(2, 3, 4, 5)));
  EXPECT_EQ(r, Rect(0, 0, 4, 5));
  OffsetRect(r, -1, 2);
  EXPECT_EQ(r, Rect(-1, 2, 3, 7));
}

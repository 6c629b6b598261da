// The geometry of the layout commands, where an off-by-one is easy and a clerk sees it at once:
// gaps that do not divide, elements out of order, resizes that would vanish an element.

#include <gtest/gtest.h>

#include <vector>

#include "design/select/DsnAlign.h"

namespace {

TRect Box(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

TEST(AlignTest, DistributingGivesEqualGapsInPositionOrderWithTheLeftoverToTheFirstGaps) {
  // Selection order is not position order: the first selected stands in the middle.
  const std::vector<TRect> boxes{Box(50, 0, 10, 5), Box(0, 7, 20, 5), Box(103, 3, 7, 5), Box(30, 9, 5, 5)};
  const std::vector<TRect> done = AlignedBounds(alSpaceHorz, boxes);
  // Between 20 and 103 stand 10 + 5 pixels of elements: 68 free over 3 gaps, 23 + 23 + 22.
  EXPECT_EQ(done[1].Left, 0) << "the first by position stays";
  EXPECT_EQ(done[2].Left, 103) << "the last by position stays";
  EXPECT_EQ(done[3].Left, 20 + 23);
  EXPECT_EQ(done[0].Left, 20 + 23 + 5 + 23);
  EXPECT_EQ(done[2].Left - done[0].Right, 22);
  for (size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_EQ(done[i].Top, boxes[i].Top) << "nothing moves the other way";
    EXPECT_EQ(done[i].Width(), boxes[i].Width());
  }
  EXPECT_EQ(AlignedBounds(alSpaceVert, {Box(0, 0, 5, 5), Box(0, 9, 5, 5)})[1].Top, 9) << "two are not distributed";
}

TEST(AlignTest, AligningTakesTheFirstSelectedAndResizingNeverLeavesLessThanAPixel) {
  const std::vector<TRect> boxes{Box(40, 40, 20, 10), Box(0, 0, 8, 4), Box(100, 90, 30, 30)};
  EXPECT_EQ(AlignedBounds(alRightEdges, boxes)[2].Right, 60);
  EXPECT_EQ(AlignedBounds(alHorzCenters, boxes)[1].Left, 46);
  EXPECT_EQ(AlignedBounds(alVertCenters, boxes)[2].Top, 30);
  EXPECT_EQ(AlignedBounds(alSameHeight, boxes)[1], Box(0, 0, 8, 10));
  EXPECT_EQ(NudgedBounds(Box(13, 5, 20, 10), 1, -1, false, 8, 8), Box(21, -3, 20, 10)) << "the offset from the grid stays";
  EXPECT_EQ(NudgedBounds(Box(13, 5, 20, 10), -3, -2, true, 8, 8), Box(13, 5, 1, 1)) << "never below a pixel";
  EXPECT_EQ(NudgedBounds(Box(13, 5, 20, 10), 1, 0, true, 0, 0), Box(13, 5, 21, 10)) << "no grid: a pixel";
}

}  // namespace

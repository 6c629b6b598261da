#pragma once
// The geometry of the layout commands on a selection: align to the first element, distribute
// with equal gaps, make the same size, and the arrow keys' moves and resizes. Pure functions on
// bounds; the register applies them to its targets.

#include <string>
#include <vector>

#include "platform/rtl/Types.h"

enum TAlignCommand {
  alLeftEdges,
  alRightEdges,
  alTopEdges,
  alBottomEdges,
  alHorzCenters,  // the centres on one vertical line
  alVertCenters,  // the centres on one horizontal line
  alSpaceHorz,
  alSpaceVert,
  alSameWidth,
  alSameHeight,
};
constexpr int kAlignCommandCount = alSameHeight + 1;

// The command's text in the menus, which also names its undo step.
std::string AlignCaption(TAlignCommand command);
// Whether the command does anything for `count` selected elements: two or more; three or more to
// distribute.
bool AlignApplies(TAlignCommand command, int count);
// The bounds after the command, for `bounds` in selection order: the first element is the one the
// others align to. Distributing keeps the first and last (by position) where they are and gives
// equal gaps between the edges of neighbours; the pixels that do not divide go to the first gaps.
std::vector<TRect> AlignedBounds(TAlignCommand command, const std::vector<TRect>& bounds);
// The bounds after an arrow key: moved by (dx, dy) steps of (stepX, stepY) pixels, or, with
// `resize`, the width and height changed by as much, never below one pixel. A step of 0 or less
// counts as one pixel.
TRect NudgedBounds(const TRect& bounds, int dx, int dy, bool resize, int stepX, int stepY);

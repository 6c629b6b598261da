#pragma once
// The rectangle helpers of the window services. They follow the platform's rules: a rectangle
// whose right is not greater than its left (or bottom than its top) is empty.

#include "platform/rtl/Types.h"

bool SetRect(TRect& rect, int left, int top, int right, int bottom);
bool SetRectEmpty(TRect& rect);
// The overlap of a and b; false and an all-zero rectangle when they don't overlap.
bool IntersectRect(TRect& result, const TRect& a, const TRect& b);
// The smallest rectangle holding both; empty rectangles are ignored.
bool UnionRect(TRect& result, const TRect& a, const TRect& b);
bool OffsetRect(TRect& rect, int dx, int dy);
bool InflateRect(TRect& rect, int dx, int dy);
bool PtInRect(const TRect& rect, const TPoint& point);  // right and bottom edges excluded
bool IsRectEmpty(const TRect& rect);
bool EqualRect(const TRect& a, const TRect& b);

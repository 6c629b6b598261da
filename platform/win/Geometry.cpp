#include "platform/win/Geometry.h"

#include <algorithm>

bool SetRect(TRect& rect, int left, int top, int right, int bottom) {
  rect = {left, top, right, bottom};
  return true;
}

bool SetRectEmpty(TRect& rect) {
  rect = {};
  return true;
}

bool IsRectEmpty(const TRect& rect) { return rect.Right <= rect.Left || rect.Bottom <= rect.Top; }

bool IntersectRect(TRect& result, const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  if (IsRectEmpty(a) || IsRectEmpty(b) || IsRectEmpty(r)) {
    result = {};
    return false;
  }
  result = r;
  return true;
}

bool UnionRect(TRect& result, const TRect& a, const TRect& b) {
  if (IsRectEmpty(a)) result = b;
  else if (IsRectEmpty(b)) result = a;
  else
    result = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
              std::max(a.Bottom, b.Bottom)};
  if (IsRectEmpty(result)) {
    result = {};
    return false;
  }
  return true;
}

bool OffsetRect(TRect& rect, int dx, int dy) {
  rect.Left += dx;
  rect.Right += dx;
  rect.Top += dy;
  rect.Bottom += dy;
  return true;
}

bool InflateRect(TRect& rect, int dx, int dy) {
  rect.Left -= dx;
  rect.Right += dx;
  rect.Top -= dy;
  rect.Bottom += dy;
  return true;
}

bool PtInRect(const TRect& rect, const TPoint& point) {
  return point.X >= rect.Left && point.X < rect.Right && point.Y >= rect.Top && point.Y < rect.Bottom;
}

bool EqualRect(const TRect& a, const TRect& b) { return a == b; }

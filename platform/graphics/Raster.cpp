#include "platform/graphics/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace raster {

bool Dash::Next() {
  if (pattern_.empty()) return true;
  bool on = index_ % 2 == 0;
  if (--left_ <= 0) {
    index_ = (index_ + 1) % pattern_.size();
    left_ = pattern_[index_];
  }
  return on;
}

void Dash::Skip(int64_t count) {
  if (pattern_.empty() || count <= 0) return;
  int64_t period = 0;
  for (int length : pattern_) period += length;
  for (int64_t i = count % period; i > 0; --i) Next();
}

namespace {

void AddPixel(int x, int y, std::vector<Span>& out) {
  if (!out.empty()) {
    Span& last = out.back();
    if (last.Y == y && last.X + last.Width == x) {
      ++last.Width;
      return;
    }
    if (last.Y == y && last.X - 1 == x) {
      --last.X;
      ++last.Width;
      return;
    }
  }
  out.push_back({x, y, 1});
}

}  // namespace

void TraceLine(TPoint from, TPoint to, Dash& dash, const TRect& visible, std::vector<Span>& out) {
  int64_t dx = int64_t{to.X} - from.X;
  int64_t dy = int64_t{to.Y} - from.Y;
  int64_t major = std::max(std::llabs(dx), std::llabs(dy));
  if (major == 0) return;
  // Step i lies at from + i/major of the way, each coordinate rounded half away from the start;
  // along the major axis that is exactly i pixels from the start.
  auto along = [major](int64_t start, int64_t delta, int64_t i) {
    // Coordinates span 33 bits, so the product needs more than 64.
    auto offset = static_cast<int64_t>((__int128{2} * i * std::llabs(delta) + major) / (__int128{2} * major));
    return start + (delta < 0 ? -offset : offset);
  };
  bool xMajor = std::llabs(dx) >= std::llabs(dy);
  int64_t start = xMajor ? from.X : from.Y;
  int64_t sign = (xMajor ? dx : dy) < 0 ? -1 : 1;
  int64_t low = xMajor ? visible.Left : visible.Top;
  int64_t high = xMajor ? visible.Right : visible.Bottom;  // exclusive
  int64_t first = sign > 0 ? low - start : start - high + 1;
  int64_t last = sign > 0 ? high - start : start - low + 1;  // exclusive
  first = std::max<int64_t>(first, 0);
  last = std::min(last, major);
  if (first >= last) {
    dash.Skip(major);
    return;
  }
  dash.Skip(first);
  for (int64_t i = first; i < last; ++i) {
    int64_t x = along(from.X, dx, i);
    int64_t y = along(from.Y, dy, i);
    if (dash.Next()) AddPixel(static_cast<int>(x), static_cast<int>(y), out);
  }
  dash.Skip(major - last);
}

std::vector<Row> EllipseRows(const TRect& box, int from, int to) {
  int64_t width = int64_t{box.Right} - box.Left;
  int64_t height = int64_t{box.Bottom} - box.Top;
  int first = std::max(from, box.Top);
  int last = std::min(to, box.Bottom);
  if (width <= 0 || height <= 0 || first >= last) return {};
  std::vector<Row> rows;
  rows.reserve(static_cast<size_t>(last - first));
  // Pixel centres inside the continuous ellipse that touches the box's edges. Each row is worked
  // out as its mirror in the upper half and each right end as the mirror of the left, so that
  // rounding can't break the symmetry.
  double a = width / 2.0;
  double b = height / 2.0;
  double cx = box.Left + a;
  int64_t mirror = int64_t{box.Left} + box.Right - 1;
  for (int y = first; y < last; ++y) {
    int64_t i = std::min<int64_t>(y - box.Top, box.Bottom - 1 - y);
    double dy = (i + 0.5 - b) / b;
    double half = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    auto x0 = static_cast<int64_t>(std::ceil(cx - half - 0.5));
    // A row too narrow to hold a pixel centre keeps the middle pixel, or the middle two.
    if (x0 > mirror - x0) x0 = static_cast<int64_t>(std::floor(mirror / 2.0));
    x0 = std::max<int64_t>(x0, box.Left);
    rows.push_back({static_cast<int>(x0), static_cast<int>(mirror - x0)});
  }
  return rows;
}

namespace {

// best[p] is the best (by `better`) of values[p], …, values[p + length - 1], for every p where that
// window fits; a monotone queue makes it one pass whatever the length.
template <class Better>
std::vector<int64_t> WindowBest(const std::vector<int64_t>& values, int64_t length, Better better) {
  std::vector<int64_t> best;
  if (length <= 0 || length > static_cast<int64_t>(values.size())) return best;
  best.reserve(values.size() - static_cast<size_t>(length) + 1);
  std::vector<size_t> queue;  // indices whose values are in `better` order, front first
  size_t head = 0;
  for (size_t j = 0; j < values.size(); ++j) {
    while (queue.size() > head && !better(values[queue.back()], values[j])) queue.pop_back();
    queue.push_back(j);
    if (static_cast<int64_t>(j) + 1 < length) continue;
    const size_t start = j + 1 - static_cast<size_t>(length);
    while (queue[head] < start) ++head;
    best.push_back(values[queue[head]]);
  }
  return best;
}

}  // namespace

void PeelRing(std::vector<Row>& rows, int top, int width, std::vector<Span>& ring) {
  // A layer with an edge outside erodes the figure by a plus, one with a corner outside by a 3 × 3
  // square, and `width` layers together by their sum: `squares` squares and `crosses` pluses
  // make an octagon whose half-width `dy` rows away is squares + crosses - max(0, |dy| - squares),
  // out to reach = squares + crosses rows. Each row of the innermost layer is therefore the
  // intersection of the rows within reach, each narrowed by that half-width: the running best of
  // three sliding windows, whatever the width. Every layer lies inside the one before it, so a
  // row's ring is what the outer figure holds and the innermost layer does not.
  const int64_t n = static_cast<int64_t>(rows.size());
  const int64_t squares = width / 2, crosses = width - squares, reach = squares + crosses;
  std::vector<Row> inner(rows.size());
  if (width > 0 && 2 * reach + 1 <= n) {
    std::vector<int64_t> left(rows.size()), right(rows.size()), leftUp(rows.size()), rightUp(rows.size()),
        leftDown(rows.size()), rightDown(rows.size()), empty(rows.size());
    for (int64_t j = 0; j < n; ++j) {
      const Row& r = rows[static_cast<size_t>(j)];
      const auto k = static_cast<size_t>(j);
      left[k] = r.X0, right[k] = r.X1;
      leftDown[k] = r.X0 - j, rightDown[k] = r.X1 + j;  // rows below: the half-width shrinks with j
      leftUp[k] = r.X0 + j, rightUp[k] = r.X1 - j;      // rows above
      empty[k] = r.Empty() ? 1 : 0;
    }
    auto more = [](int64_t a, int64_t b) { return a > b; };
    auto less = [](int64_t a, int64_t b) { return a < b; };
    const int64_t flat = 2 * squares + 1;
    const auto leftFlat = WindowBest(left, flat, more), rightFlat = WindowBest(right, flat, less);
    const auto anyEmpty = WindowBest(empty, 2 * reach + 1, more);
    const auto leftBelow = WindowBest(leftDown, crosses, more), rightBelow = WindowBest(rightDown, crosses, less);
    const auto leftAbove = WindowBest(leftUp, crosses, more), rightAbove = WindowBest(rightUp, crosses, less);
    for (int64_t i = reach; i + reach < n; ++i) {
      if (anyEmpty[static_cast<size_t>(i - reach)]) continue;
      const auto flatAt = static_cast<size_t>(i - squares);
      const auto belowAt = static_cast<size_t>(i + squares + 1);  // rows i+squares+1 … i+reach
      const auto aboveAt = static_cast<size_t>(i - reach);        // rows i-reach … i-squares-1
      const int64_t x0 = std::max({leftFlat[flatAt] + reach, leftBelow[belowAt] + i + squares + reach,
                                   leftAbove[aboveAt] - i + squares + reach});
      const int64_t x1 = std::min({rightFlat[flatAt] - reach, rightBelow[belowAt] - i - squares - reach,
                                   rightAbove[aboveAt] + i - squares - reach});
      if (x0 <= x1) inner[static_cast<size_t>(i)] = {static_cast<int>(x0), static_cast<int>(x1)};
    }
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& out = rows[i];
    if (out.Empty()) continue;
    int y = top + static_cast<int>(i);
    const Row& in = inner[i];
    if (in.Empty()) {
      ring.push_back({out.X0, y, out.X1 - out.X0 + 1});
      continue;
    }
    if (in.X0 > out.X0) ring.push_back({out.X0, y, in.X0 - out.X0});
    if (in.X1 < out.X1) ring.push_back({in.X1 + 1, y, out.X1 - in.X1});
  }
  rows.swap(inner);
}

void AppendRows(const std::vector<Row>& rows, int top, std::vector<Span>& out) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (!rows[i].Empty()) out.push_back({rows[i].X0, top + static_cast<int>(i), rows[i].X1 - rows[i].X0 + 1});
}

}  // namespace raster

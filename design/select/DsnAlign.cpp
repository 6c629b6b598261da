#include "design/select/DsnAlign.h"
#include "platform/rtl/Tr.h"

#include <algorithm>
#include <numeric>

namespace {

// The align commands' names, in menus and as undo steps.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Align)
};

TRect Placed(const TRect& r, int left, int top) { return {left, top, left + r.Width(), top + r.Height()}; }

TRect Sized(const TRect& r, int width, int height) { return {r.Left, r.Top, r.Left + width, r.Top + height}; }

// Equal gaps along one axis: `start`/`extent` read an element's position and size, `place`
// returns it moved to a new position.
template <class Start, class Extent, class Place>
std::vector<TRect> Distributed(const std::vector<TRect>& bounds, Start start, Extent extent, Place place) {
  std::vector<size_t> order(bounds.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return start(bounds[a]) < start(bounds[b]); });
  const TRect& first = bounds[order.front()];
  const TRect& last = bounds[order.back()];
  int inner = 0;
  for (size_t i = 1; i + 1 < order.size(); ++i) inner += extent(bounds[order[i]]);
  const int gaps = static_cast<int>(order.size()) - 1;
  const int free = start(last) - (start(first) + extent(first)) - inner;
  // Floor division, so that overlapping elements get equal negative gaps too.
  int gap = free / gaps;
  if (free % gaps != 0 && free < 0) --gap;
  const int extra = free - gap * gaps;
  std::vector<TRect> result(bounds);
  int at = start(first) + extent(first);
  for (size_t i = 1; i + 1 < order.size(); ++i) {
    at += gap + (static_cast<int>(i) <= extra ? 1 : 0);
    result[order[i]] = place(bounds[order[i]], at);
    at += extent(bounds[order[i]]);
  }
  return result;
}

}  // namespace

std::string AlignCaption(TAlignCommand command) {
  switch (command) {
    case alLeftEdges: return Tr(Texts::tr("Align left edges"));
    case alRightEdges: return Tr(Texts::tr("Align right edges"));
    case alTopEdges: return Tr(Texts::tr("Align top edges"));
    case alBottomEdges: return Tr(Texts::tr("Align bottom edges"));
    case alHorzCenters: return Tr(Texts::tr("Align horizontal centres"));
    case alVertCenters: return Tr(Texts::tr("Align vertical centres"));
    case alSpaceHorz: return Tr(Texts::tr("Space evenly across"));
    case alSpaceVert: return Tr(Texts::tr("Space evenly down"));
    case alSameWidth: return Tr(Texts::tr("Same width"));
    case alSameHeight: return Tr(Texts::tr("Same height"));
  }
  return {};
}

bool AlignApplies(TAlignCommand command, int count) {
  return count >= (command == alSpaceHorz || command == alSpaceVert ? 3 : 2);
}

std::vector<TRect> AlignedBounds(TAlignCommand command, const std::vector<TRect>& bounds) {
  if (!AlignApplies(command, static_cast<int>(bounds.size()))) return bounds;
  const TRect& first = bounds.front();
  std::vector<TRect> result;
  result.reserve(bounds.size());
  for (const TRect& r : bounds) {
    switch (command) {
      case alLeftEdges: result.push_back(Placed(r, first.Left, r.Top)); break;
      case alRightEdges: result.push_back(Placed(r, first.Right - r.Width(), r.Top)); break;
      case alTopEdges: result.push_back(Placed(r, r.Left, first.Top)); break;
      case alBottomEdges: result.push_back(Placed(r, r.Left, first.Bottom - r.Height())); break;
      case alHorzCenters:
        result.push_back(Placed(r, first.Left + (first.Width() - r.Width()) / 2, r.Top));
        break;
      case alVertCenters:
        result.push_back(Placed(r, r.Left, first.Top + (first.Height() - r.Height()) / 2));
        break;
      case alSameWidth: result.push_back(Sized(r, first.Width(), r.Height())); break;
      case alSameHeight: result.push_back(Sized(r, r.Width(), first.Height())); break;
      case alSpaceHorz:
        return Distributed(
            bounds, [](const TRect& b) { return b.Left; }, [](const TRect& b) { return b.Width(); },
            [](const TRect& b, int at) { return Placed(b, at, b.Top); });
      case alSpaceVert:
        return Distributed(
            bounds, [](const TRect& b) { return b.Top; }, [](const TRect& b) { return b.Height(); },
            [](const TRect& b, int at) { return Placed(b, b.Left, at); });
    }
  }
  return result;
}

TRect NudgedBounds(const TRect& bounds, int dx, int dy, bool resize, int stepX, int stepY) {
  const int x = dx * std::max(stepX, 1);
  const int y = dy * std::max(stepY, 1);
  if (!resize) return Placed(bounds, bounds.Left + x, bounds.Top + y);
  return Sized(bounds, std::max(1, bounds.Width() + x), std::max(1, bounds.Height() + y));
}

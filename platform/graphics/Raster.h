#pragma once
// Pixel-exact rasterisation of the figures a canvas draws with one-pixel pens, and of ellipses.
//
// Qt's own aliased rasterisers choose pixels that differ from the platform's in the details that
// matter to this program: a line must leave out its end point, a dotted outline must continue its
// pattern around corners, and an XOR outline must touch every pixel exactly once so that drawing it
// again restores the screen. The canvas therefore computes the pixels here, as horizontal runs of
// whole pixels, and fills the runs itself.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/rtl/Types.h"

namespace raster {

// Pixels [X, X + Width) of row Y.
struct Span {
  int X = 0;
  int Y = 0;
  int Width = 0;
};

// Pixels [X0, X1] of one row of a convex figure; empty when X0 > X1.
struct Row {
  int X0 = 0;
  int X1 = -1;
  bool Empty() const { return X0 > X1; }
};

// The on/off lengths of a styled one-pixel pen, starting with "on", and where the pen is in them.
// An empty pattern draws every pixel.
class Dash {
 public:
  Dash() = default;
  explicit Dash(std::vector<int> pattern) : pattern_(std::move(pattern)) {
    if (!pattern_.empty()) left_ = pattern_[0];
  }
  // Whether the next pixel is drawn; advances the pattern by one pixel.
  bool Next();
  // Advances the pattern by `count` pixels without drawing them.
  void Skip(int64_t count);

 private:
  std::vector<int> pattern_;
  size_t index_ = 0;
  int left_ = 0;
};

// Appends the pixels of the line from `from` to `to`, end point excluded, that the dash draws.
// Consecutive pixels of a row are merged into one span. Only pixels inside `visible` (right and
// bottom exclusive) are guaranteed to be traced, so the work stays bounded by its size however
// long the line is; the dash pattern runs on as if the whole line had been traced.
void TraceLine(TPoint from, TPoint to, Dash& dash, const TRect& visible, std::vector<Span>& out);

// The rows of the ellipse inscribed in `box` (right and bottom exclusive) that lie in [from, to),
// top down, starting at row max(from, box.Top): each row is symmetric about the box's centre, the
// figure touches all four sides of the box, and no row is empty. Empty for an empty box.
std::vector<Row> EllipseRows(const TRect& box, int from, int to);

// Peels `width` one-pixel layers off a convex figure given by its rows starting at `top`: the
// peeled pixels go to `ring` (at most two spans a row), the rest stays in `rows`. Layers
// alternate between pixels with an edge on the outside and pixels with a corner on it, so that
// rings of wide pens are about as thick on diagonals as along the axes. The cost is a few passes
// over the rows, whatever the width.
void PeelRing(std::vector<Row>& rows, int top, int width, std::vector<Span>& ring);

// The spans of rows starting at `top`.
void AppendRows(const std::vector<Row>& rows, int top, std::vector<Span>& out);

}  // namespace raster

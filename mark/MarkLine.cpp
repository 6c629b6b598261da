#include "mark/MarkLine.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/Canvas.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/win/Windows.h"

DEFINE_CLASS(TMarkLine, TGraphicControl) {
  c.Prop("direction", &TMarkLine::direction, &TMarkLine::Setdirection).Default(ldHorizontal);
  c.Prop("linecolor", &TMarkLine::linecolor, &TMarkLine::Setlinecolor).Type(ColorType()).Default(clBlack);
  c.Prop("linewidth", &TMarkLine::linewidth, &TMarkLine::Setlinewidth).Default(3);
  c.Prop("arrowstart", &TMarkLine::arrowstart, &TMarkLine::Setarrowstart).Default(false);
  c.Prop("arrowend", &TMarkLine::arrowend, &TMarkLine::Setarrowend).Default(false);
  c.Prop("PopupMenu", &TMarkLine::PopupMenu, &TMarkLine::SetPopupMenu);
  c.Prop("Visible", &TMarkLine::Visible, &TMarkLine::SetVisible).Default(true);
}

namespace {

constexpr int kMaxPenWidth = 100;

// An arrowhead's length and half its width for a pen.
double HeadLength(int pen) { return std::max(8.0, 3.5 * pen); }
double HeadHalfWidth(int pen) { return std::max(4.0, 1.75 * pen); }

}  // namespace

void TMarkLine::Create(TComponent* owner) {
  TGraphicControl::Create(owner);
  SetBounds(Left(), Top(), 120, 16);
}

void TMarkLine::Changed() { Invalidate(); }

void TMarkLine::Setdirection(TLineDirection v) {
  if (direction_ == v) return;
  direction_ = v;
  Changed();
}

void TMarkLine::Setlinecolor(TColor v) {
  if (linecolor_ == v) return;
  linecolor_ = v;
  Changed();
}

void TMarkLine::Setlinewidth(int v) {
  v = std::clamp(v, 1, kMaxPenWidth);
  if (linewidth_ == v) return;
  linewidth_ = v;
  Changed();
}

void TMarkLine::Setarrowstart(bool v) {
  if (arrowStart_ == v) return;
  arrowStart_ = v;
  Changed();
}

void TMarkLine::Setarrowend(bool v) {
  if (arrowEnd_ == v) return;
  arrowEnd_ = v;
  Changed();
}

void TMarkLine::Ends(double& x0, double& y0, double& x1, double& y1) const {
  // The pen stays inside the box: half its width in from the edges it runs along.
  const double w = Width(), h = Height();
  const double inX = std::min(linewidth_ / 2.0, w / 2), inY = std::min(linewidth_ / 2.0, h / 2);
  switch (direction_) {
    case ldHorizontal: x0 = 0, y0 = h / 2, x1 = w, y1 = h / 2; break;
    case ldVertical: x0 = w / 2, y0 = 0, x1 = w / 2, y1 = h; break;
    case ldDown: x0 = inX, y0 = inY, x1 = w - inX, y1 = h - inY; break;
    case ldUp: x0 = inX, y0 = h - inY, x1 = w - inX, y1 = inY; break;
  }
}

bool TMarkLine::Hits(TPoint p) const {
  double x0, y0, x1, y1;
  Ends(x0, y0, x1, y1);
  const double dx = x1 - x0, dy = y1 - y0;
  const double length2 = dx * dx + dy * dy;
  // The pixel's centre, against the nearest point of the segment.
  const double px = p.X + 0.5, py = p.Y + 0.5;
  const double t = length2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / length2, 0.0, 1.0) : 0.0;
  const double distance = std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
  double reach = linewidth_ / 2.0 + kLineHitSlack;
  if (arrowStart_ || arrowEnd_) reach = std::max(reach, HeadHalfWidth(linewidth_) + 1);
  return distance <= reach;
}

void TMarkLine::Dispatch(TMessage& message) {
  if (message.Msg == CM_HITTEST) {
    message.Result = Hits({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)}) ? HTCLIENT : HTNOWHERE;
    return;
  }
  TGraphicControl::Dispatch(message);
}

void TMarkLine::Paint() {
  double x0, y0, x1, y1;
  Ends(x0, y0, x1, y1);
  const double length = std::hypot(x1 - x0, y1 - y0);
  if (length <= 0) return;
  const double ux = (x1 - x0) / length, uy = (y1 - y0) / length;
  const double head = std::min(HeadLength(linewidth_), length / (arrowStart_ && arrowEnd_ ? 2 : 1));
  const double half = HeadHalfWidth(linewidth_);
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetColor(linecolor_);
  canvas->Pen()->SetWidth(linewidth_);
  canvas->Brush()->SetColor(linecolor_);
  canvas->Brush()->SetStyle(bsSolid);
  // The stroke stops where an arrowhead begins, so that a wide pen does not blunt the point.
  double sx = x0, sy = y0, ex = x1, ey = y1;
  if (arrowStart_) sx += ux * head * 0.8, sy += uy * head * 0.8;
  if (arrowEnd_) ex -= ux * head * 0.8, ey -= uy * head * 0.8;
  canvas->MoveTo(static_cast<int>(std::lround(sx)), static_cast<int>(std::lround(sy)));
  canvas->LineTo(static_cast<int>(std::lround(ex)), static_cast<int>(std::lround(ey)));
  const auto arrow = [&](double tipX, double tipY, double dirX, double dirY) {
    const double baseX = tipX - dirX * head, baseY = tipY - dirY * head;
    canvas->Pen()->SetWidth(1);
    canvas->Polygon({{static_cast<int>(std::lround(tipX)), static_cast<int>(std::lround(tipY))},
                     {static_cast<int>(std::lround(baseX - dirY * half)), static_cast<int>(std::lround(baseY + dirX * half))},
                     {static_cast<int>(std::lround(baseX + dirY * half)), static_cast<int>(std::lround(baseY - dirX * half))}});
  };
  if (arrowStart_) arrow(x0, y0, -ux, -uy);
  if (arrowEnd_) arrow(x1, y1, ux, uy);
}

#include "design/select/DsnShape.h"

#include <algorithm>
#include <cstdint>

#include "platform/controls/WinControl.h"
#include "platform/graphics/Colors.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/win/Windows.h"

DEFINE_CLASS(TFundamentalShape, TObject) {}
DEFINE_CLASS(TMultiShape, TObject) {}

namespace {

// Outlines reach at most this far and pens are at most this wide, so that the arithmetic on them
// cannot overflow; nothing that far out shows, and XorRects clips what does to the screen.
constexpr int64_t kFar = 1 << 29;
constexpr int kWidest = 1 << 14;

int Far(int64_t v) { return static_cast<int>(std::clamp(v, -kFar, kFar)); }

bool IsDashed(TPenStyle style) {
  return style == psDash || style == psDot || style == psDashDot || style == psDashDotDot;
}

}  // namespace

// ---- TFundamentalShape ----

void TFundamentalShape::Create(TCanvas* canvas) {
  canvas_ = canvas;
  dc_ = canvas ? canvas->Handle() : 0;
}

void TFundamentalShape::Draw(int x, int y) {
  TScreenBatch batch;  // the erase and the draw reach the screen together
  if (canvas_) {
    TPen* pen = canvas_->Pen();
    pen->SetMode(pmXor);
    pen->SetWidth(penWidth_);
    pen->SetStyle(penStyle_);
  }
  if (visible_) {
    Frame(drawnInk_);
    visible_ = false;
  }
  // Finishing: only erase. Without the visibility check a second Finish would draw the outline
  // back.
  if (drawState_ >= 2) return;
  if (canvas_) canvas_->Pen()->SetColor(color_);
  drawnLeft_ = Far(int64_t{x} + offset_.X);
  drawnTop_ = Far(int64_t{y} + offset_.Y);
  drawnRight_ = Far(int64_t{drawnLeft_} + width_);
  drawnBottom_ = Far(int64_t{drawnTop_} + height_);
  drawnInk_ = {color_, penWidth_, penStyle_};
  Frame(drawnInk_);
  visible_ = true;
  drawState_ = 1;
}

// The four lines of the rectangle last drawn. Each covers the pen's square at its start corner and
// stops at the square of its end corner, which the next line covers, so the frame is a ring `ink`
// wide in which every pixel is drawn once (for a one-pixel pen: each line leaves out its end point).
// The rectangle is normalised first: dragged up and to the left it is the same frame.
void TFundamentalShape::Frame(const Ink& ink) {
  if (!dc_ || ink.Style == psClear) return;
  const int l = std::min(drawnLeft_, drawnRight_), r = std::max(drawnLeft_, drawnRight_);
  const int t = std::min(drawnTop_, drawnBottom_), b = std::max(drawnTop_, drawnBottom_);
  const int w = std::clamp(ink.Width, 1, kWidest);
  if (w == 1 && IsDashed(ink.Style)) {
    // The canvas owns the dash patterns; one rubber band costs nothing worth saving here.
    TPen* pen = canvas_->Pen();
    pen->SetMode(pmXor);
    pen->SetWidth(1);
    pen->SetStyle(ink.Style);
    pen->SetColor(ink.Color);
    canvas_->MoveTo(l, t);
    canvas_->LineTo(r, t);
    canvas_->MoveTo(r, t);
    canvas_->LineTo(r, b);
    canvas_->MoveTo(r, b);
    canvas_->LineTo(l, b);
    canvas_->MoveTo(l, b);
    canvas_->LineTo(l, t);
    return;
  }
  const int h = w / 2;  // the pen is centred on the outline, as the canvas centres wide pens
  const TRect lines[4] = {
      {l - h, t - h, r - h, t - h + w},          // top, left to right
      {r - h, t - h, r - h + w, b - h},          // right, downwards
      {l - h + w, b - h, r - h + w, b - h + w},  // bottom, right to left
      {l - h, t - h + w, l - h + w, b - h + w},  // left, upwards
  };
  XorRects(dc_, lines, 4, static_cast<uint32_t>(ColorToRGB(ink.Color)));
}

// ---- TMultiShape ----

void TMultiShape::Create() {
  screenDC_ = GetDC(0);
  canvas_ = New<TCanvas>();
  canvas_->SetHandle(screenDC_);
}

void TMultiShape::Destroy() {
  EraseAll();
  if (clipping_) ClipCursor(nullptr);
  clipping_ = false;
  FreeItems();
  if (canvas_) canvas_->SetHandle(0);
  FreeAndNil(canvas_);
  if (screenDC_) ReleaseDC(0, screenDC_);
  screenDC_ = 0;
  TObject::Destroy();
}

TFundamentalShape* TMultiShape::CreateItem() { return New<TFundamentalShape>(canvas_); }

TFundamentalShape* TMultiShape::CreateBandItem() { return New<TFundamentalShape>(canvas_); }

TFundamentalShape* TMultiShape::Append(TFundamentalShape* item) {
  if (!items_) items_ = std::make_unique<TList<TFundamentalShape*>>();
  items_->Add(item);
  item->SetColor(color_);
  item->SetPenWidth(penWidth_);
  item->SetPenStyle(penStyle_);
  return item;
}

void TMultiShape::AddControl(TControl* control) {
  if (!control) return;
  TFundamentalShape* item = Append(CreateItem());
  item->SetWidth(control->Width());
  item->SetHeight(control->Height());
  // A control without a parent is a top-level window: its position is on the screen already.
  TPoint corner{control->Left(), control->Top()};
  if (control->Parent()) corner = control->Parent()->ClientToScreen(corner);
  item->SetOffset({corner.X - origin_.X, corner.Y - origin_.Y});
}

void TMultiShape::ResetSingle() {
  EraseAll();
  FreeItems();
  TFundamentalShape* item = Append(CreateBandItem());
  item->SetWidth(0);
  item->SetHeight(0);
  item->SetOffset({0, 0});
}

void TMultiShape::SetOutlineWidth(int value) {
  if (items_ && items_->Count() > 0) items_->First()->SetWidth(value);
}

void TMultiShape::SetOutlineHeight(int value) {
  if (items_ && items_->Count() > 0) items_->First()->SetHeight(value);
}

void TMultiShape::ClipTo(TControl* control) {
  if (!control) return;
  TPoint corner = control->ClientToScreen({0, 0});
  clipRect_ = Bounds(corner.X, corner.Y, control->Width(), control->Height());
  ClipCursor(&clipRect_);
  clipping_ = true;
}

void TMultiShape::MoveTo(TPoint p) {
  if (!items_) return;
  TScreenBatch batch;
  for (TFundamentalShape* item : *items_) item->Draw(p.X, p.Y);
}

void TMultiShape::Finish() {
  ClipCursor(nullptr);
  clipping_ = false;
  if (!items_) return;
  TScreenBatch batch;
  for (TFundamentalShape* item : *items_) {
    item->SetDrawState(2);
    item->Draw(0, 0);
  }
}

// What a group shows must not outlive it: its outlines would stay in the screen's layer for good.
void TMultiShape::EraseAll() {
  if (!items_) return;
  TScreenBatch batch;
  for (TFundamentalShape* item : *items_) {
    if (!item->Visible()) continue;
    item->SetDrawState(2);
    item->Draw(0, 0);
  }
}

void TMultiShape::FreeItems() {
  if (!items_) return;
  for (TFundamentalShape* item : *items_) item->Free();
  items_.reset();
}

#include "design/select/DsnSubGr.h"

#include <unordered_set>

#include "design/select/DsnSub8.h"
#include "platform/controls/GraphicControl.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/win/DeviceContext.h"

DEFINE_CLASS(TDsnGrCtrl, TDsnCtrl) {}
DEFINE_CLASS(THandlerGrRect, THandlerRect) {}
DEFINE_CLASS(TMultiGrHandler, TMultiHandler) {}
DEFINE_CLASS(TMultiDpHandler, TMultiGrHandler) {}
DEFINE_CLASS(TDsnGrRegister, TDsnMlRegister) {}
DEFINE_CLASS(TDsnDpRegister, TDsnGrRegister) {}

// ---- agent ----

void TDsnGrCtrl::WMPaint(TMessage& message) {
  TDsnCtrl::WMPaint(message);
  auto* reg = dynamic_cast<TDsnGrRegister*>(DsnRegister());
  TWinControl* control = Control();
  if (reg && reg->PaintHook() && control) reg->PaintHook()(control);
}

// ---- handler ----

// The squares are painted again with the target's next paint. Invalidating, not repainting at
// once: a selection of many controls then costs one paint of their parent, not one per target.
void THandlerGrRect::RefreshHandles() {
  if (TControl* target = Target()) target->Invalidate();
}

void THandlerGrRect::Destroy() {
  // The squares vanish at the target's next paint.
  if (TControl* target = Target()) target->Invalidate();
  THandlerRect::Destroy();
}

THandlerGrRect* TMultiGrHandler::MarksFor(TControl* target) {
  return New<THandlerGrRect>(target, Style());
}

void TMultiGrHandler::AddTarget(TComponent* component) {
  auto* target = ClassCast<TControl>(component);
  if (!target || ClassCast<TSmallRect>(target) || Marks(target)) return;
  const size_t before = handlers_.size();
  if (before >= 2) {
    Added(MarksFor(target), target);
  } else if (before == 1) {
    // The single target's handles go: both targets are marked with squares from now on.
    THandlerRect* single = handlers_.front();
    TControl* first = single->Target();
    handlers_.front() = MarksFor(first);
    single->Free();
    Added(MarksFor(target), target);
  } else {
    Added(CreateHandlerRect(target), target);
  }
  AnnounceHandles(target);
}

THandlerRect* TMultiDpHandler::CreateHandlerRect(TControl* target) {
  return New<THandler8Rect>(target, Style());
}

// ---- registers ----

void TDsnGrRegister::SetDesigning(bool on) {
  paintHook_ = nullptr;
  TDsnMlRegister::SetDesigning(on);
}

TMultiHandler* TDsnGrRegister::CreateHandler() { return New<TMultiGrHandler>(); }

TMultiHandler* TDsnDpRegister::CreateHandler() { return New<TMultiDpHandler>(); }

TDsnCtrl* TDsnGrRegister::CreateAgent(TWinControl* control) { return New<TDsnGrCtrl>(control); }

void TDsnGrRegister::HandlesShown() {
  if (!Targets() || Targets()->Count() < 2) paintHook_ = nullptr;
  else paintHook_ = [this](TControl* control) { PaintMarks(control); };
}

void TDsnGrRegister::PaintMarks(TControl* control) {
  TTargetList* list = Targets();
  if (!control || !list) return;
  std::unordered_set<const TComponent*> selected;
  for (int i = 0; i < list->Count(); ++i) selected.insert(list->Target(i));
  PaintMarks(control, selected);
}

void TDsnGrRegister::PaintMarks(TControl* control, const std::unordered_set<const TComponent*>& selected) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win) {
    // Window-less children are drawn on this control's surface: their squares go over it now.
    for (int i = 0; i < win->ControlCount(); ++i) {
      TControl* child = win->Controls(i);
      if (dynamic_cast<TGraphicControl*>(child) && selected.count(child)) PaintMarks(child, selected);
    }
  }
  if (!selected.count(control)) return;
  HWND window = 0;
  if (win && win->HandleAllocated()) window = win->Handle();
  else if (!win && control->Parent() && control->Parent()->HandleAllocated()) window = control->Parent()->Handle();
  if (!window) return;
  HDC dc = GetDC(window);
  if (!dc) return;
  const int a = win ? 0 : control->Left();
  const int b = win ? 0 : control->Top();
  const int w = control->ClientWidth();
  const int h = control->ClientHeight();
  TCanvas* canvas = New<TCanvas>();
  canvas->SetHandle(dc);
  canvas->Brush()->SetColor(clGray);
  canvas->Pen()->SetColor(clGray);
  canvas->Rectangle(a, b, a + 6, b + 6);
  canvas->Rectangle(a + w - 6, b, a + w, b + 6);
  canvas->Rectangle(a, b + h - 6, a + 6, b + h);
  canvas->Rectangle(a + w - 6, b + h - 6, a + w, b + h);
  canvas->SetHandle(0);
  canvas->Free();
  ReleaseDC(window, dc);
}

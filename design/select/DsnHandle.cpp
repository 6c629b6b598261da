#include "design/select/DsnHandle.h"

#include <algorithm>
#include <cstdlib>

#include "design/DsnUnit.h"
#include "design/select/DsnShape.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Tr.h"
#include "platform/win/Windows.h"

namespace {

// The names of the steps the Edit menu can undo.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Steps)
};

}  // namespace

DEFINE_CLASS(TSmallRect, TCustomControl) {}
DEFINE_CLASS(TMigiueRect, TSmallRect) {}
DEFINE_CLASS(TMigishitaRect, TSmallRect) {}
DEFINE_CLASS(THidariueRect, TSmallRect) {}
DEFINE_CLASS(THidarishitaRect, TSmallRect) {}
DEFINE_CLASS(THandlerRect, TObject) {}
DEFINE_CLASS(TMultiHandler, TReceiveTargets) {}

namespace {

// The window where the design agent of `target` listens: its own, or its parent's for a control
// without one; 0 when there is none.
HWND AgentWindow(TControl* target) {
  // A window is never made here: one that is not there (or not there any more, as its form is
  // freed) has no agent to tell.
  TWinControl* window = target ? dynamic_cast<TWinControl*>(target) : nullptr;
  if (target && !window) window = target->Parent();
  return window && window->HandleAllocated() ? window->Handle() : 0;
}

int SnapTo(int value, int step) { return step > 0 ? step * (value / step) : value; }

}  // namespace

// ---- TSmallRect ----

void TSmallRect::Create(TControl* target, const THandleStyle& style) {
  TCustomControl::Create(nullptr);
  target_ = target;
  style_ = style;
  SetColor(style.ActiveColor);
  SetBounds(0, 0, style.HandleSize, style.HandleSize);
}

void TSmallRect::Destroy() {
  if (handlerRect_) handlerRect_->SetHandlesGone();
  EndDrag();
  TCustomControl::Destroy();
}

TMultiShape* TSmallRect::CreateShape() { return New<TMultiShape>(); }

void TSmallRect::Paint() {
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->Rectangle(0, 0, Width(), Height());
}

TPoint TSmallRect::Snap(int x, int y) const { return {SnapTo(x, style_.StepX), SnapTo(y, style_.StepY)}; }

TRect TSmallRect::Dragged(int x, int y) const {
  const TPoint p = Snap(x, y);
  const int dx = p.X - pressX_;
  const int dy = p.Y - pressY_;
  const TRect saved = handlerRect_ ? handlerRect_->Saved() : TRect{};
  const TEdges edges = Edges();
  TRect r = saved;
  if (edges.left) r.Left += dx;
  if (edges.right) r.Right += dx;
  if (edges.top) r.Top += dy;
  if (edges.bottom) r.Bottom += dy;
  return r;
}

void TSmallRect::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  TControl* target = Target();
  if (Color() != style_.ActiveColor || !target || !handlerRect_ || !target->Parent() || shape_) return;
  handlerRect_->SetSaved(target->BoundsRect());
  const TPoint press = Snap(x, y);
  pressX_ = press.X;
  pressY_ = press.Y;
  shape_ = CreateShape();
  shape_->SetColor(style_.OutlineColor);
  shape_->SetPenWidth(style_.OutlineWidth);
  shape_->SetOrigin(Parent()->ClientToScreen({Left(), Top()}));
  shape_->AddControl(target);
  shape_->ClipTo(target->Parent());
  SendMessage(AgentWindow(target), DM_SETTARGET, reinterpret_cast<WPARAM>(target), 0);
}

void TSmallRect::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (Color() == style_.ActiveColor) SetCursor(HandleCursor());
  if (!shape_ || !handlerRect_ || !Parent()) return;
  const TRect saved = handlerRect_->Saved();
  const TRect r = Dragged(x, y);
  shape_->SetOutlineWidth(r.Right - r.Left);
  shape_->SetOutlineHeight(r.Bottom - r.Top);
  // The outline stands where the target's corner moved, relative to the handle's own corner.
  const TPoint origin = Parent()->ClientToScreen({Left(), Top()});
  shape_->MoveTo({origin.X + r.Left - saved.Left, origin.Y + r.Top - saved.Top});
}

void TSmallRect::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (!shape_ || !handlerRect_) return;
  const TRect saved = handlerRect_->Saved();
  const TRect r = Dragged(x, y);
  EndDrag();
  TControl* target = Target();
  if (!target) return;
  // A negative extent turns the rectangle over: the smaller edge becomes its left or top. A resize
  // leaves at least one pixel each way, so that the element can still be seen and clicked.
  const int left = std::min(r.Left, r.Right);
  const int top = std::min(r.Top, r.Bottom);
  const TRect before = target->BoundsRect();
  target->SetBounds(left, top, std::max(1, std::abs(r.Right - r.Left)),
                    std::max(1, std::abs(r.Bottom - r.Top)));
  if (!(target->BoundsRect() == before))
    if (TDsnStage* stage = StageOf(target)) stage->ElementsChanged(Tr(Texts::tr("Resize")));
  const TWeak<TSmallRect> alive(this);
  THandlerRect* set = handlerRect_;
  SendMessage(AgentWindow(target), DM_TARGETSIZED, MAKELPARAM(saved.Left, saved.Top),
              MAKELPARAM(saved.Width(), saved.Height()));
  if (!alive || !set || set->HandlesGone()) return;
  set->RefreshHandles();
  if (TControl* sized = Target()) set->SetSaved(sized->BoundsRect());
}

void TSmallRect::SetControl() {
  TControl* t = Target();
  if (!t) return;
  const TEdges edges = Edges();
  const int size = HandleSize();
  // On an edge the handle stands 2 pixels outside it; along an edge it is centred.
  const auto place = [size](bool low, bool high, int start, int extent) {
    if (low) return start - 2;
    if (high) return start + extent - size + 2;
    return start + extent / 2 - size / 2;
  };
  SetBounds(place(edges.left, edges.right, t->Left(), t->Width()), place(edges.top, edges.bottom, t->Top(), t->Height()),
            size, size);
}

TCursor TSmallRect::HandleCursor() const {
  const TEdges edges = Edges();
  const bool horizontal = edges.left || edges.right;
  const bool vertical = edges.top || edges.bottom;
  if (horizontal && vertical) return edges.left == edges.top ? crSizeNWSE : crSizeNESW;
  return vertical ? crSizeNS : crSizeWE;
}

void TSmallRect::EndDrag() {
  if (!shape_) return;
  shape_->Finish();
  FreeAndNil(shape_);
}

// ---- THandlerRect ----

void THandlerRect::Create(TControl* target, const THandleStyle& style) {
  TObject::Create();
  target_ = target;
  style_ = style;
  CreateHandles();
  // Each handle stands at its place around the target before it shows: a press on a control not
  // yet selected makes its handles while the button is still down, and nothing else places them
  // before the release.
  for (TSmallRect* handle : handles_) {
    handle->SetHandlerRect(this);
    handle->SetControl();
    handle->SetParent(target ? target->Parent() : nullptr);
  }
}

void THandlerRect::CreateHandles() {
  Append<TMigishitaRect>();
  Append<TMigiueRect>();
  Append<THidariueRect>();
  Append<THidarishitaRect>();
}

void THandlerRect::ForgetTarget() {
  target_ = nullptr;
  if (handlesGone_) return;
  for (TSmallRect* handle : handles_) handle->SetTarget(nullptr);
}

void THandlerRect::RefreshHandles() {
  if (handlesGone_) return;
  for (TSmallRect* handle : handles_) handle->SetControl();
}

void THandlerRect::Deactivate() {
  if (handlesGone_) return;
  for (TSmallRect* handle : handles_) {
    handle->SetColor(style_.InactiveColor);
    handle->SetCursor(crDefault);
    handle->Repaint();
  }
}

void THandlerRect::Destroy() {
  if (!handlesGone_) {
    for (auto it = handles_.rbegin(); it != handles_.rend(); ++it) {
      (*it)->SetHandlerRect(nullptr);
      (*it)->Free();
    }
  }
  handles_.clear();
  TObject::Destroy();
}

// ---- TMultiHandler ----

THandlerRect* TMultiHandler::CreateHandlerRect(TControl* target) { return New<THandlerRect>(target, style_); }

void TMultiHandler::AddTarget(TComponent* component) {
  auto* target = ClassCast<TControl>(component);
  if (!target || ClassCast<TSmallRect>(target) || Marks(target)) return;
  Added(CreateHandlerRect(target), target);
  if (handlers_.size() == 2) handlers_.front()->Deactivate();
  if (handlers_.size() > 1) handlers_.back()->Deactivate();
  AnnounceHandles(target);
}

void TMultiHandler::AnnounceHandles(TControl* target) { SendMessage(AgentWindow(target), DM_HANDLESSHOWN, 0, 0); }

void TMultiHandler::ForgetTarget(int index) {
  if (index < 0 || index >= static_cast<int>(handlers_.size())) return;
  THandlerRect* set = handlers_[static_cast<size_t>(index)];
  set->ForgetTarget();
  stale_ = true;
}

void TMultiHandler::ClearTargets() { FreeHandlers(); }

void TMultiHandler::DeleteTarget(int index) {
  if (index < 0 || index >= static_cast<int>(handlers_.size())) return;
  THandlerRect* gone = handlers_[static_cast<size_t>(index)];
  handlers_.erase(handlers_.begin() + index);
  if (gone->Target()) marked_.erase(gone->Target());
  else stale_ = true;
  gone->Free();
  // The one target left gets fresh, active handles.
  if (handlers_.size() != 1) return;
  TControl* remaining = handlers_.front()->Target();
  if (!remaining || !AgentWindow(remaining)) return;
  FreeHandlers();
  AddTarget(remaining);
}

void TMultiHandler::Remark() {
  stale_ = false;
  marked_.clear();
  for (THandlerRect* set : handlers_)
    if (set->Target()) marked_.insert(set->Target());
}

void TMultiHandler::TargetsChanged() {
  for (THandlerRect* set : std::vector<THandlerRect*>(handlers_)) set->RefreshHandles();
}

void TMultiHandler::FreeHandlers() {
  std::vector<THandlerRect*> sets;
  sets.swap(handlers_);
  marked_.clear();
  for (auto it = sets.rbegin(); it != sets.rend(); ++it) (*it)->Free();
}

void TMultiHandler::Destroy() {
  FreeHandlers();
  TReceiveTargets::Destroy();
}

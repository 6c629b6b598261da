#include "design/select/DsnSubMl.h"

#include <algorithm>

#include "design/DsnCmpPlt.h"
#include "design/select/DsnShape.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TDsnMlRegister, TDsnRegister) {}

void TDsnMlRegister::SetDesigning(bool on) {
  if (!on) FinishBand();
  TDsnRegister::SetDesigning(on);
}

// ---- dispatch ----

void TDsnMlRegister::MouseDown(TWinControl* control, TControl* target, TShiftState shift, TPoint point) {
  if (DsnPanel() && DsnPanel()->GetGene()) CreateBegin(control, target, shift, point);
  else if (shift.Contains(ssCtrl) || dynamic_cast<TDsnStage*>(target)) BandStart(control, target, point, shift);
  else MoveBegin(control, target, shift, point);
}

void TDsnMlRegister::MouseMove(TWinControl* control, TPoint point, TShiftState shift) {
  if (DsnPanel() && DsnPanel()->GetGene()) CreateDrag(control, point);
  else if (bandShape_) BandDrag(control, point, shift);
  else if (shift.Contains(ssLeft)) MoveDrag(point, shift);
  else FinishOutline();
}

void TDsnMlRegister::MouseUp(TWinControl* control, TPoint point, TShiftState shift) {
  if (DsnPanel() && DsnPanel()->GetGene()) CreateEnd(control, point);
  else if (bandShape_) BandEnd(control, point, shift);
  else MoveEnd(point, shift);
}

// ---- selecting and moving ----

void TDsnMlRegister::MoveBegin(TWinControl* control, TControl* target, TShiftState shift, TPoint point) {
  if (!control || !target || !Selectable(target)) return;
  moveParent_ = target == control ? control->Parent() : control;
  if (shift.Contains(ssShift)) {
    TTargetList* list = EnsureTargetList();
    const int at = list->IndexOf(target);
    if (at < 0) list->AddTarget(target);
    else list->DeleteTarget(at);
  } else {
    TakePress(target);
  }
  if (shift.Contains(ssShift) || !SameParent() || !moveParent_ || !Targets()) return;
  RenewOutline();
  origin_ = SnapToGrid(point);
  outline_->SetOrigin(moveParent_->ClientToScreen(origin_));
  for (int i = 0; i < Targets()->Count(); ++i) outline_->AddControl(ClassCast<TControl>(Targets()->Target(i)));
  outline_->ClipTo(moveParent_);
}

void TDsnMlRegister::MoveDrag(TPoint point, TShiftState shift) {
  if (!outline_ || !moveParent_ || !SameParent() || shift.Contains(ssShift)) return;
  outline_->MoveTo(moveParent_->ClientToScreen(SnapToGrid(point)));
}

void TDsnMlRegister::MoveEnd(TPoint point, TShiftState shift) {
  point = SnapToGrid(point);
  if (SameParent() && outline_ && !shift.Contains(ssShift)) {
    FinishOutline();
    const TWeak<TDsnMlRegister> alive(this);
    for (int i = 0; Targets() && i < Targets()->Count(); ++i) {
      auto* control = ClassCast<TControl>(Targets()->Target(i));
      if (!control) continue;
      bool canMove = true;
      if (TDsnStage* stage = DsnStage()) stage->OnMoveQuery(stage, control, canMove);
      if (!alive) return;
      if (!canMove || !Targets() || !(control = ClassCast<TControl>(Targets()->Target(i)))) continue;
      control->SetLeft(control->Left() + point.X - origin_.X);
      control->SetTop(control->Top() + point.Y - origin_.Y);
    }
  }
  if (point.X != origin_.X || point.Y != origin_.Y) TargetsMoved(origin_.X - point.X, origin_.Y - point.Y);
  RefreshTargets();
}

void TDsnMlRegister::RightSelect(TWinControl* control, TControl* target) {
  if (!control || !target) return;
  // The stage itself is never selected by a right press.
  if (!Selectable(target) || dynamic_cast<TDsnStage*>(target)) return;
  moveParent_ = target == control ? control->Parent() : control;
  TakePress(target);
  RefreshTargets();
}

// ---- rubber band ----

void TDsnMlRegister::CreateBandShape() { bandShape_ = New<TMultiShape>(); }

void TDsnMlRegister::BandStart(TWinControl* control, TControl*, TPoint point, TShiftState) {
  if (!control) return;
  moveParent_ = FrameParent(control, point);
  if (!moveParent_) return;
  FinishBand();
  CreateBandShape();
  bandShape_->SetColor(clMaroon);
  bandShape_->SetPenWidth(1);
  bandShape_->SetPenStyle(psDot);
  origin_ = SnapToGrid(point);
  bandShape_->SetOrigin(origin_);
  bandShape_->ResetSingle();
  bandShape_->ClipTo(moveParent_);
}

void TDsnMlRegister::BandDrag(TWinControl* control, TPoint point, TShiftState) {
  if (!bandShape_ || !control || !moveParent_) return;
  point = InFrameParent(control, SnapToGrid(point));
  bandShape_->SetOutlineWidth(point.X - origin_.X);
  bandShape_->SetOutlineHeight(point.Y - origin_.Y);
  bandShape_->MoveTo(moveParent_->ClientToScreen(origin_));
}

void TDsnMlRegister::BandEnd(TWinControl* control, TPoint point, TShiftState) {
  point = InFrameParent(control, point);
  FinishBand();
  TTargetList* list = EnsureTargetList();
  list->ClearTargets();
  const TRect band{std::min(origin_.X, point.X), std::min(origin_.Y, point.Y), std::max(origin_.X, point.X),
                   std::max(origin_.Y, point.Y)};
  if (TWinControl* parent = moveParent_) {
    const TWeak<TDsnMlRegister> alive(this);
    std::vector<TWeak<TControl>> children;
    for (int i = 0; i < parent->ControlCount(); ++i) children.emplace_back(parent->Controls(i));
    for (const TWeak<TControl>& weak : children) {
      TControl* child = weak.get();
      if (!child || !Selectable(child)) continue;
      if (!alive || !Targets()) return;
      if (!(child = weak.get())) continue;
      // Touching is enough: any overlap of the two rectangles selects the control. An element
      // without width or height counts as one pixel wide and high, or no band could ever take it.
      TRect r = child->BoundsRect();
      r.Right = std::max(r.Right, r.Left + 1);
      r.Bottom = std::max(r.Bottom, r.Top + 1);
      const bool overlaps = std::max(r.Left, band.Left) < std::min(r.Right, band.Right) &&
                            std::max(r.Top, band.Top) < std::min(r.Bottom, band.Bottom);
      if (overlaps) Targets()->AddTarget(child);
    }
  }
  RefreshTargets();
}

void TDsnMlRegister::FinishBand() {
  if (!bandShape_) return;
  bandShape_->Finish();
  FreeAndNil(bandShape_);
}

void TDsnMlRegister::Destroy() {
  FinishBand();
  TDsnRegister::Destroy();
}

#include "design/select/DsnRegister.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

#include "design/DsnCmpPlt.h"
#include "design/DsnCommonProps.h"
#include "design/DsnCtrl.h"
#include "design/DsnPropText.h"
#include "design/select/DsnHandle.h"
#include "design/select/DsnShape.h"
#include "platform/controls/Form.h"
#include "platform/controls/SpeedButton.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Tr.h"

namespace {

// The names of the steps the Edit menu can undo.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Steps)
};

}  // namespace

DEFINE_CLASS(TDsnMenuItem, TMenuItem) {}

DEFINE_CLASS(TDsnRegister, TCustomDsnRegister) {
  c.Prop("DsnPanel", &TDsnRegister::DsnPanel, &TDsnRegister::SetDsnPanel);
  c.Prop("DsnStage", &TDsnRegister::DsnStage, &TDsnRegister::SetDsnStage);
  c.Prop("DsnInspector", &TDsnRegister::DsnInspector, &TDsnRegister::SetDsnInspector);
  c.Prop("ArrowButton", &TDsnRegister::ArrowButton, &TDsnRegister::SetArrowButton);
}

DEFINE_CLASS(TDsnPartner, TComponent) {
  c.Hears();  // forgets only its register, which it asked about
}

bool TDsnRegister::AcceptsControls(const TControl* control) {
  return control && control->ControlStyle().Contains(csAcceptsControls);
}

void TDsnRegister::Create(TComponent* owner) {
  TCustomDsnRegister::Create(owner);
  designActive_ = false;
}

// ---- links ----

void TDsnRegister::SetDsnStage(TDsnStage* value) {
  if (value == stage_) return;
  if (!value) {
    stage_ = nullptr;
    return;
  }
  stage_ = value;
  stage_->FreeNotification(this);
  gridWidth_ = stage_->Rubberband()->MoveWidth();
  gridHeight_ = stage_->Rubberband()->MoveHeight();
  outlineColor_ = stage_->Rubberband()->Color();
  outlinePenWidth_ = stage_->Rubberband()->PenWidth();
  stage_->SetDsnRegister(this);
}

void TDsnRegister::SetDsnPanel(TCustomCmpPlt* value) {
  palette_ = value;
  if (value) value->FreeNotification(this);
}

void TDsnRegister::SetDsnInspector(TCustomInspector* value) {
  inspector_ = value;
  if (value) value->FreeNotification(this);
}

void TDsnRegister::SetArrowButton(TSpeedButton* value) {
  arrow_ = value;
  if (value) value->FreeNotification(this);
}

// ---- design mode ----

void TDsnRegister::SetDesigning(bool on) {
  if (on == designActive_) return;
  designActive_ = on;
  const TWeak<TDsnRegister> alive(this);
  for (const TWeak<TDsnPartner>& partner : std::vector<TWeak<TDsnPartner>>(partners_.begin(), partners_.end())) {
    if (TDsnPartner* p = partner.get()) p->SetDesigning(on);
    if (!alive) return;
  }
  if (on) StartDesign();
  else StopDesign();
}

void TDsnRegister::StartDesign() {
  const TWeak<TDsnRegister> alive(this);
  if (stage_) {
    stage_->SetDsnRegister(this);
    CoverControl(stage_);
  }
  // The cover questions run the window's code, which may have closed it: the register or the
  // stage may be gone.
  if (!alive) return;
  if (stage_) {
    BuildDesignMenu();
    if (stage_->CanFocus()) stage_->SetFocus();
    stage_->SetDesignActive(true);
    stage_->SetDesigning(true);
  }
  if (palette_) {
    if (arrow_) palette_->AttachArrowButton(arrow_);
    palette_->Take(this);
  }
  if (inspector_) {
    inspector_->SetActive(true);
    if (stage_) inspector_->SetStage(stage_);
  }
}

void TDsnRegister::StopDesign() {
  FinishOutline();
  FinishBand();
  if (stage_) {
    ReleaseAgents();
    stage_->SetDesignActive(false);
    // The stage leaves the designing state too: it is an ordinary panel again until the next start.
    stage_->SetDesigning(false);
    stage_->DesignChanged(false);
  }
  RestoreCoverMenu();
  if (palette_) palette_->Release(this);
  if (inspector_) inspector_->SetActive(false);
  FreeSelectionObjects();
}

// Agents free themselves from the control's window: each gives the window its procedure back.
void TDsnRegister::ReleaseAgents() {
  while (agents_.Count() > 0) {
    TDsnCtrl* agent = agents_[agents_.Count() - 1];
    agents_.Delete(agents_.Count() - 1);
    agent->Free();
  }
}

void TDsnRegister::FreeSelectionObjects() {
  if (multiProps_) FreeAndNil(multiProps_);
  if (handler_) FreeAndNil(handler_);
  if (targets_) FreeAndNil(targets_);
}

// ---- covering ----

void TDsnRegister::CoverControl(TWinControl* control) { Cover(control, nullptr); }

// `current` is the agent that takes the foreign windows found at this level: the control's own
// agent, or the nearest covered ancestor's when the control gets none.
void TDsnRegister::Cover(TWinControl* control, TDsnCtrl* current) {
  if (!control || !stage_) return;
  TCoverAccept accept = cvCover;
  const TWeak<TWinControl> alive(control);
  const TWeak<TDsnRegister> self(this);
  stage_->OnCoverQuery(stage_, control, accept);
  // The handler may have freed the control, the stage or the register itself.
  if (!alive || !self || !stage_) return;
  if (accept == cvNone) return;
  if (accept == cvCover) {
    current = CreateAgent(control);
    agents_.Add(current);
    current->SetDsnRegister(this);
  }
  TChildList children(control, control->Handle());
  for (int i = 0; i < children.Count(); ++i) {
    const TChildItem item = children.Get(i);
    if (item.Control && item.Control->Owner() == stage_->Owner()) Cover(item.Control, current);
    else if (current) current->Children()->AddTree(item.Handle);
  }
}

TDsnCtrl* TDsnRegister::CreateAgent(TWinControl* control) { return New<TDsnCtrl>(control); }

// ---- the selection ----

TTargetList* TDsnRegister::CreateTargetList() {
  auto* list = New<TTargetList>();
  if (multiProps_) FreeAndNil(multiProps_);
  if (handler_) FreeAndNil(handler_);
  if (stage_) {
    handler_ = CreateHandler();
    handler_->SetOutlineColor(outlineColor_);
    handler_->SetOutlineWidth(outlinePenWidth_);
    handler_->SetStepX(gridWidth_);
    handler_->SetStepY(gridHeight_);
    list->Link(handler_);
  }
  if (inspector_) {
    multiProps_ = inspector_->CreateMultiProps();
    if (multiProps_) list->Link(multiProps_);
  }
  for (const TWeak<TReceiveTargets>& receiver : receivers_)
    if (receiver) list->Link(receiver.get());
  return list;
}

TTargetList* TDsnRegister::EnsureTargetList() {
  if (!targets_) targets_ = CreateTargetList();
  return targets_;
}

TMultiHandler* TDsnRegister::CreateHandler() { return New<TMultiHandler>(); }

int TDsnRegister::SelectedCount() const { return targets_ ? targets_->Count() : -1; }

TControl* TDsnRegister::SelectedItem(int index) const {
  return targets_ ? ClassCast<TControl>(targets_->Target(index)) : nullptr;
}

void TDsnRegister::Select(const std::vector<TComponent*>& components) {
  std::unordered_set<const TComponent*> seen;
  std::vector<TWeak<TComponent>> chosen;
  chosen.reserve(components.size());
  for (TComponent* component : components)
    if (component && seen.insert(component).second) chosen.emplace_back(component);
  SelectDistinct(chosen);
}

void TDsnRegister::SelectDistinct(const std::vector<TWeak<TComponent>>& components) {
  EnsureTargetList()->SetTargets(components);
}

void TDsnRegister::Toggle(TControl* control) {
  if (!control) return;
  const TWeak<TTargetList> list(EnsureTargetList());
  const int at = list->IndexOf(control);
  if (at < 0) list->AddTarget(control);
  else list->DeleteTarget(at);
  if (list) list->TargetsChanged();
}

void TDsnRegister::ClearSelection() {
  if (targets_) Select({});
}

void TDsnRegister::SelectComponent(TComponent* component) {
  if (component) Select({component});
  else Select({});
}

void TDsnRegister::RefreshTargets() {
  if (targets_) targets_->TargetsChanged();
}

bool TDsnRegister::SameParent() const {
  if (!targets_ || targets_->Count() <= 0) return true;
  auto* first = ClassCast<TControl>(targets_->Target(0));
  TWinControl* parent = first ? first->Parent() : nullptr;
  for (int i = 1; i < targets_->Count(); ++i) {
    auto* control = ClassCast<TControl>(targets_->Target(i));
    if (!control || control->Parent() != parent) return false;
  }
  return true;
}

TPoint TDsnRegister::SnapToGrid(TPoint point) const {
  // Division truncates toward zero, as the grid of a negative coordinate does.
  if (gridWidth_ > 0) point.X = gridWidth_ * (point.X / gridWidth_);
  if (gridHeight_ > 0) point.Y = gridHeight_ * (point.Y / gridHeight_);
  return point;
}

bool TDsnRegister::Selectable(TComponent* component) const {
  TSelectAccept accept{saCreate, saSelect};
  if (stage_) stage_->OnSelectQuery(stage_, component, accept);
  return accept.Contains(saSelect);
}

void TDsnRegister::PressOn(TControl* target) {
  // A press on a member of a selection of one parent keeps it whole, to drag all of it; it is
  // announced again all the same, so that what shows the selection (a property window the user
  // closed) comes back.
  if (targets_ && targets_->IndexOf(target) >= 0 && SameParent()) RefreshTargets();
  else Select({target});
}

// ---- mouse: one set of handlers for every variant, reading its rules ----

bool TDsnRegister::Creating() const { return palette_ && palette_->GetGene(); }

bool TDsnRegister::StartsBand(TControl* target, TShiftState shift) const {
  const TSelectRules rules = SelectRules();
  return (rules.BandWithCtrl && shift.Contains(ssCtrl)) ||
         (rules.BandOnStage && dynamic_cast<TDsnStage*>(target) != nullptr);
}

void TDsnRegister::MouseDown(TWinControl* control, TControl* target, TShiftState shift, TPoint point) {
  if (Creating()) CreateBegin(control, target, shift, point);
  else if (StartsBand(target, shift)) BandStart(control, target, point, shift);
  else MoveBegin(control, target, shift, point);
}

void TDsnRegister::MouseMove(TWinControl* control, TPoint point, TShiftState shift) {
  if (Creating()) CreateDrag(control, point);
  else if (bandShape_) BandDrag(control, point, shift);
  else if (shift.Contains(ssLeft)) MoveDrag(point, shift);
  else FinishOutline();
}

void TDsnRegister::MouseUp(TWinControl* control, TPoint point, TShiftState shift) {
  if (Creating()) CreateEnd(control, point);
  else if (bandShape_) BandEnd(control, point, shift);
  else MoveEnd(point, shift);
}

TMultiShape* TDsnRegister::NewOutline() const {
  auto* outline = New<TMultiShape>();
  outline->SetColor(outlineColor_);
  outline->SetPenWidth(outlinePenWidth_);
  return outline;
}

void TDsnRegister::FinishOutline() {
  if (!outline_) return;
  outline_->Finish();
  FreeAndNil(outline_);
}

void TDsnRegister::FinishBand() {
  if (!bandShape_) return;
  bandShape_->Finish();
  FreeAndNil(bandShape_);
}

void TDsnRegister::MoveBegin(TWinControl* control, TControl* target, TShiftState shift, TPoint point) {
  if (!control || !target) return;
  // The stage is where the design stands, never a part of it: a press on its empty area only
  // clears the selection.
  if (dynamic_cast<TDsnStage*>(target)) {
    ClearSelection();
    return;
  }
  const TWeak<TDsnRegister> alive(this);
  const TWeak<TControl> pressed(target);
  if (!Selectable(target) || !alive || !pressed) return;
  moveParent_ = target == control ? control->Parent() : control;
  if (SelectRules().ShiftToggles && shift.Contains(ssShift)) {
    Toggle(target);
    return;
  }
  PressOn(target);
  if (!alive || !targets_ || !SameParent() || !moveParent_) return;
  FinishOutline();
  outline_ = NewOutline();
  origin_ = SnapToGrid(point);
  outline_->SetOrigin(moveParent_->ClientToScreen(origin_));
  for (int i = 0; i < targets_->Count(); ++i) outline_->AddControl(ClassCast<TControl>(targets_->Target(i)));
  outline_->ClipTo(moveParent_);
}

void TDsnRegister::MoveDrag(TPoint point, TShiftState shift) {
  if (!outline_ || !moveParent_ || !SameParent()) return;
  if (SelectRules().ShiftToggles && shift.Contains(ssShift)) return;
  outline_->MoveTo(moveParent_->ClientToScreen(SnapToGrid(point)));
}

void TDsnRegister::MoveEnd(TPoint point, TShiftState shift) {
  const bool dragged = outline_ != nullptr;
  FinishOutline();
  // Shift held at the release, where it toggles, drops the move.
  if (!dragged || !SameParent() || (SelectRules().ShiftToggles && shift.Contains(ssShift))) return;
  point = SnapToGrid(point);
  const int dx = point.X - origin_.X;
  const int dy = point.Y - origin_.Y;
  if (dx == 0 && dy == 0) return;
  const TWeak<TDsnRegister> alive(this);
  bool moved = false;
  for (int i = 0; targets_ && i < targets_->Count(); ++i) {
    auto* control = ClassCast<TControl>(targets_->Target(i));
    if (!control) continue;
    bool canMove = true;
    if (stage_) stage_->OnMoveQuery(stage_, control, canMove);
    // The handler may have freed the register, the list or targets: the list reads null for those.
    if (!alive) return;
    if (!canMove || !targets_ || !(control = ClassCast<TControl>(targets_->Target(i)))) continue;
    control->SetBounds(control->Left() + dx, control->Top() + dy, control->Width(), control->Height());
    moved = true;
  }
  if (moved && stage_) stage_->ElementsChanged(Tr(Texts::tr("Move")));
  TargetsMoved(-dx, -dy);
  if (alive) RefreshTargets();
}

void TDsnRegister::BandStart(TWinControl* control, TControl*, TPoint point, TShiftState) {
  if (!control) return;
  moveParent_ = FrameParent(control, point);
  if (!moveParent_) return;
  FinishBand();
  bandShape_ = New<TMultiShape>();
  bandShape_->SetColor(clMaroon);
  bandShape_->SetPenWidth(1);
  bandShape_->SetPenStyle(psDot);
  origin_ = SnapToGrid(point);
  bandShape_->SetOrigin(origin_);
  bandShape_->ResetSingle();
  bandShape_->ClipTo(moveParent_);
}

void TDsnRegister::BandDrag(TWinControl* control, TPoint point, TShiftState) {
  if (!bandShape_ || !control || !moveParent_) return;
  point = InFrameParent(control, SnapToGrid(point));
  bandShape_->SetOutlineWidth(point.X - origin_.X);
  bandShape_->SetOutlineHeight(point.Y - origin_.Y);
  bandShape_->MoveTo(moveParent_->ClientToScreen(origin_));
}

void TDsnRegister::BandEnd(TWinControl* control, TPoint point, TShiftState) {
  point = InFrameParent(control, point);
  FinishBand();
  const TRect band{std::min(origin_.X, point.X), std::min(origin_.Y, point.Y), std::max(origin_.X, point.X),
                   std::max(origin_.Y, point.Y)};
  std::vector<TWeak<TComponent>> touched;
  if (TWinControl* parent = moveParent_) {
    const TWeak<TDsnRegister> alive(this);
    std::vector<TWeak<TControl>> children;
    children.reserve(static_cast<size_t>(parent->ControlCount()));
    for (int i = 0; i < parent->ControlCount(); ++i) children.emplace_back(parent->Controls(i));
    for (TWeak<TControl>& weak : children) {
      TControl* child = weak.get();
      if (!child || !Selectable(child)) continue;
      if (!alive) return;
      if (!(child = weak.get())) continue;
      // Touching is enough: any overlap of the two rectangles selects the control. An element
      // without width or height counts as one pixel wide and high, or no band could ever take it.
      TRect r = child->BoundsRect();
      r.Right = std::max(r.Right, r.Left + 1);
      r.Bottom = std::max(r.Bottom, r.Top + 1);
      const bool overlaps = std::max(r.Left, band.Left) < std::min(r.Right, band.Right) &&
                            std::max(r.Top, band.Top) < std::min(r.Bottom, band.Bottom);
      if (overlaps) touched.emplace_back(std::move(weak));  // each child once, in the stage's order
    }
  }
  SelectDistinct(touched);
}

void TDsnRegister::CreateBegin(TWinControl* control, TControl* target, TShiftState, TPoint point) {
  if (!control) return;
  TSelectAccept accept{saCreate, saSelect};
  const TWeak<TDsnRegister> self(this);
  const TWeak<TWinControl> where(control);
  if (stage_) stage_->OnSelectQuery(stage_, target, accept);
  if (!self || !where || !accept.Contains(saCreate)) return;
  moveParent_ = FrameParent(control, point);
  if (!moveParent_) return;
  FinishOutline();
  outline_ = NewOutline();
  origin_ = SnapToGrid(point);
  outline_->SetOrigin(origin_);
  outline_->ResetSingle();
  outline_->ClipTo(moveParent_);
}

TWinControl* TDsnRegister::FrameParent(TWinControl* control, TPoint& point) {
  if (AcceptsControls(control)) return control;
  point = InFrameParent(control, point);
  return control->Parent();
}

TPoint TDsnRegister::InFrameParent(TWinControl* control, TPoint point) {
  if (control && !AcceptsControls(control)) {
    point.X += control->Left();
    point.Y += control->Top();
  }
  return point;
}

void TDsnRegister::CreateDrag(TWinControl* control, TPoint point) {
  if (!outline_ || !control || !moveParent_) return;
  point = InFrameParent(control, SnapToGrid(point));
  outline_->SetOutlineWidth(point.X - origin_.X);
  outline_->SetOutlineHeight(point.Y - origin_.Y);
  outline_->MoveTo(moveParent_->ClientToScreen(origin_));
}

void TDsnRegister::CreateEnd(TWinControl* control, TPoint point) {
  point = SnapToGrid(point);
  const TWeak<TDsnRegister> alive(this);
  TWeak<TControl> made;
  int dx = 0;
  int dy = 0;
  if (outline_ && control && moveParent_) {
    point = InFrameParent(control, point);
    FinishOutline();
    dx = point.X - origin_.X;
    dy = point.Y - origin_.Y;
    // A prototype that cannot be cloned makes no control; the palette goes back to the arrow.
    try {
      made = CloneControl(palette_ ? palette_->GetGene() : nullptr, moveParent_);
    } catch (...) {
      made = nullptr;
    }
    if (!alive) return;
  }
  if (TControl* fresh = made.get()) {
    if (stage_) stage_->BeginStep(Tr(Texts::tr("Add")));
    NameControl(fresh);
    fresh->SetBounds(origin_.X + std::min(dx, 0), origin_.Y + std::min(dy, 0), std::abs(dx), std::abs(dy));
    if (auto* win = dynamic_cast<TWinControl*>(fresh)) CoverControl(win);
    Select({made.get()});
  }
  if (!alive) return;
  if (palette_) {
    palette_->ResetToArrow();
    palette_->SetGene(nullptr);
  }
  created_ = nullptr;
}

// ---- keys and layout commands ----

std::vector<TControl*> TDsnRegister::TargetControls() const {
  std::vector<TControl*> controls;
  if (!targets_) return controls;
  for (int i = 0; i < targets_->Count(); ++i) controls.push_back(ClassCast<TControl>(targets_->Target(i)));
  return controls;
}

void TDsnRegister::SetTargetBounds(const std::vector<TRect>& bounds, const std::string& step, bool continues) {
  const TWeak<TDsnRegister> alive(this);
  bool changed = false;
  for (size_t i = 0; targets_ && i < bounds.size() && static_cast<int>(i) < targets_->Count(); ++i) {
    auto* control = ClassCast<TControl>(targets_->Target(static_cast<int>(i)));
    if (!control || control->BoundsRect() == bounds[i]) continue;
    bool canMove = true;
    if (stage_) stage_->OnMoveQuery(stage_, control, canMove);
    if (!alive) return;
    if (!canMove || !targets_ || !(control = ClassCast<TControl>(targets_->Target(static_cast<int>(i))))) continue;
    const TRect& r = bounds[i];
    control->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    changed = true;
  }
  if (!changed) return;
  if (stage_) stage_->ElementsChanged(step, continues);
  // The refresh reads the property values again too.
  if (alive) RefreshTargets();
}

void TDsnRegister::SelectAll() {
  if (!stage_) return;
  const TComponent* root = stage_->Owner() ? stage_->Owner() : stage_;
  // The elements are taken first: a query's handler may free any of them, the stage or this.
  std::vector<TWeak<TControl>> elements;
  for (int i = 0; i < stage_->ControlCount(); ++i) {
    TControl* control = stage_->Controls(i);
    // Grab handles stand on the stage too, owned by no design.
    if (control->Owner() == root) elements.emplace_back(control);
  }
  const TWeak<TDsnRegister> self(this);
  std::vector<TWeak<TControl>> chosen;
  for (const TWeak<TControl>& element : elements) {
    if (element && Selectable(element.get()) && element) chosen.push_back(element);
    if (!self) return;
  }
  std::vector<TComponent*> all;
  for (const TWeak<TControl>& element : chosen)
    if (element) all.push_back(element.get());
  Select(all);
}

void TDsnRegister::NudgeSelection(int dx, int dy, bool resize, bool fine, bool repeat) {
  if (!targets_ || targets_->Count() == 0 || !SameParent() || GetCapture()) return;
  std::vector<TRect> bounds;
  for (TControl* control : TargetControls())
    bounds.push_back(control ? NudgedBounds(control->BoundsRect(), dx, dy, resize, fine ? 1 : gridWidth_,
                                            fine ? 1 : gridHeight_)
                             : TRect{});
  SetTargetBounds(bounds, resize ? Tr(Texts::tr("Resize")) : Tr(Texts::tr("Move")), repeat);
}

bool TDsnRegister::CanAlign(TAlignCommand command) const {
  return targets_ && AlignApplies(command, targets_->Count()) && SameParent();
}

void TDsnRegister::AlignSelection(TAlignCommand command) {
  if (!CanAlign(command)) return;
  std::vector<TRect> bounds;
  for (TControl* control : TargetControls()) bounds.push_back(control ? control->BoundsRect() : TRect{});
  SetTargetBounds(AlignedBounds(command, bounds), AlignCaption(command), false);
}

void TDsnRegister::TargetsMoved(int, int) {
  if (multiProps_ && inspector_) inspector_->RefreshMultiProps(multiProps_, false);
}

void TDsnRegister::PropsRefresh() {
  if (multiProps_ && inspector_) inspector_->RefreshMultiProps(multiProps_, true);
}

void TDsnRegister::CoverDblClick(TControl* target) {
  if (stage_) stage_->OnCoverDblClick(stage_, target);
}

// ---- context menu ----

void TDsnRegister::RightSelect(TWinControl* control, TControl* target) {
  if (!control || !target) return;
  if (dynamic_cast<TDsnStage*>(target)) {
    if (!SelectRules().BandOnStage) ClearSelection();
    return;
  }
  const TWeak<TControl> pressed(target);
  const TWeak<TWinControl> where(control);
  const TWeak<TDsnRegister> self(this);
  if (!Selectable(target) || !self || !pressed || !where) return;
  moveParent_ = target == control ? control->Parent() : control;
  PressOn(target);
}

void TDsnRegister::RightMouseDown(TWinControl* control, TControl* target, int y, int x) {
  const TWeak<TDsnRegister> alive(this);
  const TWeak<TWinControl> where(control);
  RightSelect(control, target);
  if (!alive || !designMenu_ || !targets_ || !where || !stage_) return;
  // The property commands of the previous opening go; the cover menu's items stay first.
  TMenuItem* items = designMenu_->Items();
  while (items->Count() > designMenu_->Tag()) items->Items(items->Count() - 1)->Free();
  AddPropertyCommands();
  stage_->OnPopup(designMenu_);
  if (!alive || !designMenu_ || !where) return;
  const TPoint screen = control->ClientToScreen({x, y});
  designMenu_->Popup(screen.X, screen.Y);
}

void TDsnRegister::BuildDesignMenu() {
  if (!stage_ || designMenu_) return;
  TPopupMenu* cover = stage_->CoverMenu();
  if (!cover && stage_->SelfProps()->Count() == 0) return;
  designMenu_ = New<TPopupMenu>(Owner());
  designMenu_->FreeNotification(this);
  int moved = 0;
  if (cover) {
    designMenu_->OnPopup = cover->OnPopup;
    TMenuItem* from = cover->Items();
    while (from->Count() > 0) {
      TMenuItem* item = from->Items(0);
      from->Remove(item);
      designMenu_->Items()->Add(item);
      ++moved;
    }
  }
  designMenu_->SetTag(moved);
}

void TDsnRegister::RestoreCoverMenu() {
  if (!designMenu_) return;
  TPopupMenu* cover = stage_ ? stage_->CoverMenu() : nullptr;
  TMenuItem* items = designMenu_->Items();
  const int moved = std::min(designMenu_->Tag(), items->Count());
  for (int i = 0; i < moved; ++i) {
    TMenuItem* item = items->Items(0);
    items->Remove(item);
    if (cover) cover->Items()->Add(item);
    else item->Free();
  }
  FreeAndNil(designMenu_);
}

void TDsnRegister::AddPropertyCommands() {
  TContextProps props;
  props.Build(*stage_->SelfProps(), *stage_->OutProps(), targets_->Items());
  const TNameList& names = props.CommonNames();
  if (names.empty()) return;
  TMenuItem* items = designMenu_->Items();
  if (items->Count() > 0) {
    auto* separator = New<TMenuItem>(Owner());
    separator->SetCaption("-");
    items->Add(separator);
  }
  for (size_t i = 0; i < names.size(); ++i) {
    auto* item = New<TDsnMenuItem>(Owner());
    item->SetCaption(props.CaptionAt(static_cast<int>(i)));
    item->SetPropName(names[i]);
    item->SetValue(i < props.CommonValues().size() ? props.CommonValues()[i] : std::string());
    item->OnClick.Bind([self = TWeak<TDsnRegister>(this)](TObject* sender) {
      if (self) self->DesignMenuClick(sender);
    });
    items->Add(item);
  }
}

void TDsnRegister::DesignMenuClick(TObject* item) {
  auto* command = ClassCast<TDsnMenuItem>(item);
  if (!command || !stage_ || !stage_->OnMenuClick || !targets_) return;
  const TWeak<TDsnRegister> alive(this);
  std::string value = command->Value();
  const std::string propName = command->PropName();
  // The handler may free the command with its menu: what is needed of it is taken now.
  const std::string caption = command->Caption();
  {
    TSelectedComponents selected;
    selected.AddAll(targets_->Items());
    stage_->OnMenuClick(stage_, &selected, propName, value);
  }
  // The handler may have changed the selection or freed targets; the value goes to those left.
  if (!alive || !targets_) return;
  ApplyPropValue(targets_->Items(), propName, value);
  if (stage_) stage_->ElementsChanged(caption);
  RefreshTargets();
}

// ---- partners and receivers ----

void TDsnRegister::AddPartner(TDsnPartner* partner) {
  if (!partner || std::find(partners_.begin(), partners_.end(), partner) != partners_.end()) return;
  partners_.push_back(partner);
  partner->FreeNotification(this);
}

void TDsnRegister::RemovePartner(TDsnPartner* partner) {
  auto it = std::find(partners_.begin(), partners_.end(), partner);
  if (it != partners_.end()) partners_.erase(it);
}

void TDsnRegister::AddReceiver(TReceiveTargets* receiver) {
  if (!receiver) return;
  receivers_.emplace_back(receiver);
}

void TDsnRegister::RemoveReceiver(TReceiveTargets* receiver) {
  receivers_.erase(std::remove_if(receivers_.begin(), receivers_.end(),
                                  [receiver](const TWeak<TReceiveTargets>& r) { return !r || r.get() == receiver; }),
                   receivers_.end());
}

int TDsnRegister::ReceiverCount() const {
  return static_cast<int>(std::count_if(receivers_.begin(), receivers_.end(),
                                        [](const TWeak<TReceiveTargets>& r) { return static_cast<bool>(r); }));
}

// ---- removal ----

void TDsnRegister::Notification(TComponent* component, TOperation operation) {
  TCustomDsnRegister::Notification(component, operation);
  if (operation != opRemove || !component) return;
  if (component == stage_) stage_ = nullptr;
  if (component == inspector_) inspector_ = nullptr;
  if (component == palette_) palette_ = nullptr;
  if (component == arrow_) arrow_ = nullptr;
  if (component == designMenu_) designMenu_ = nullptr;
  if (component == created_) created_ = nullptr;
  if (component == moveParent_) moveParent_ = nullptr;
  if (auto* partner = dynamic_cast<TDsnPartner*>(component)) RemovePartner(partner);
  for (int i = agents_.Count() - 1; i >= 0; --i) {
    TDsnCtrl* agent = agents_[i];
    if (!agent->Covers(component)) continue;
    ControlRemoving(component);
    agent->SetReleased(true);
    agents_.Delete(i);
  }
  TargetDestroyed(component);
}

void TDsnRegister::TargetDestroyed(TComponent* component) {
  if (!targets_) return;
  const int at = targets_->PlaceOf(component);
  if (at < 0) return;
  targets_->ForgetTarget(at);
  TargetRemoving(component);
  if (!targets_) return;
  targets_->DeleteTarget(at);
  if (!SameParent()) targets_->ClearTargets();
  targets_->TargetsChanged();
}

void TDsnRegister::Destroy() {
  FinishOutline();
  FinishBand();
  if (designActive_ && palette_) palette_->Release(this);
  if (handler_) FreeAndNil(handler_);
  for (int i = agents_.Count() - 1; i >= 0; --i) {
    TDsnCtrl* agent = agents_[i];
    agents_.Delete(i);
    agent->SetReleased(true);
    agent->Free();
  }
  if (multiProps_) FreeAndNil(multiProps_);
  if (targets_) {
    targets_->ClearTargets();
    FreeAndNil(targets_);
  }
  if (designMenu_) RestoreCoverMenu();
  if (stage_ && stage_->DsnRegister() == this) stage_->SetDsnRegister(nullptr);
  receivers_.clear();
  partners_.clear();
  TCustomDsnRegister::Destroy();
}

// ---- TDsnPartner ----

void TDsnPartner::SetDsnRegister(TDsnRegister* value) {
  if (value == register_) return;
  if (register_) {
    register_->RemovePartner(this);
    register_->RemoveFreeNotification(this);
  }
  register_ = value;
  if (register_) {
    register_->FreeNotification(this);
    register_->AddPartner(this);
  }
}

bool TDsnPartner::CanSelect(TComponent* component) const {
  const TWeak<TDsnStage> stage(register_ ? register_->DsnStage() : nullptr);
  auto* control = ClassCast<TControl>(component);
  if (!stage || !control) return false;
  bool onStage = false;
  for (TWinControl* p = control->Parent(); p; p = p->Parent()) {
    if (dynamic_cast<TCustomForm*>(p)) break;
    if (p == stage.get()) {
      onStage = true;
      break;
    }
  }
  if (!onStage) return false;
  TCoverAccept accept = cvCover;
  TComponent* asked = dynamic_cast<TWinControl*>(control) ? control : static_cast<TComponent*>(control->Parent());
  const TWeak<TComponent> candidate(component);
  const TWeak<TDsnPartner> self(const_cast<TDsnPartner*>(this));
  stage->OnCoverQuery(register_, asked, accept);
  // The handler may have freed the stage, the register, the component or this partner.
  if (!self || accept != cvCover || !register_ || !stage || !candidate) return false;
  TSelectAccept select{saCreate, saSelect};
  stage->OnSelectQuery(register_, component, select);
  return select.Contains(saSelect);
}

void TDsnPartner::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component && component == register_) register_ = nullptr;
  TComponent::Notification(component, operation);
}

void TDsnPartner::Destroy() {
  if (register_) register_->RemovePartner(this);
  TComponent::Destroy();
}

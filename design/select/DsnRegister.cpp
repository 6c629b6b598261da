#include "design/select/DsnRegister.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cstdlib>

#include "design/DsnCmpPlt.h"
#include "design/DsnCommonProps.h"
#include "design/DsnCtrl.h"
#include "design/DsnPropText.h"
#include "design/select/DsnHandle.h"
#include "design/select/DsnShape.h"
#include "platform/controls/Form.h"
#include "platform/controls/SpeedButton.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/PostedRefs.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/StringList.h"
#include "platform/stream/Reader.h"
#include "platform/win/Clipboard.h"

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

namespace {

constexpr int kStreamBuffer = 4096;

// The number of parent steps from `control` up to `stage`; controls outside it count as deep.
int DepthBelow(TControl* control, TControl* stage) {
  int depth = 0;
  for (TControl* c = control; c && c != stage; c = c->Parent()) ++depth;
  return depth;
}

bool AcceptsControls(const TControl* control) {
  return control && control->ControlStyle().Contains(csAcceptsControls);
}

}  // namespace

UINT TDsnRegister::ClipboardFormat() {
  static const UINT format = RegisterClipboardFormat("Dsn_ClipboardFormat");
  return format;
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
  if (stage_) {
    stage_->SetDsnRegister(this);
    CoverControl(stage_);
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
    if (stage_) inspector_->SetStageWnd(stage_->Handle());
  }
}

void TDsnRegister::StopDesign() {
  FinishOutline();
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

void TDsnRegister::FinishOutline() {
  if (!outline_) return;
  outline_->Finish();
  FreeAndNil(outline_);
}

// ---- covering ----

void TDsnRegister::CoverControl(TWinControl* control) { Cover(control, nullptr); }

// `current` is the agent that takes the foreign windows found at this level: the control's own
// agent, or the nearest covered ancestor's when the control gets none.
void TDsnRegister::Cover(TWinControl* control, TDsnCtrl* current) {
  if (!control || !stage_) return;
  TCoverAccept accept = cvCover;
  const TWeak<TWinControl> alive(control);
  stage_->OnCoverQuery(stage_, control, accept);
  if (!alive || !stage_) return;
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

void TDsnRegister::ClearSelection() {
  if (targets_) targets_->ClearTargets();
}

void TDsnRegister::SelectComponent(TComponent* component) {
  EnsureTargetList();
  targets_->ClearTargets();
  if (component) targets_->AddTarget(component);
  targets_->TargetsChanged();
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

bool TDsnRegister::SelectForPress(TWinControl* control, TControl* target) {
  // The stage is where the design stands, never a part of it: a press on its empty area only
  // clears the selection.
  if (target == stage_) {
    ClearSelection();
    RefreshTargets();
    return false;
  }
  if (!Selectable(target)) return false;
  moveParent_ = target == control ? control->Parent() : control;
  TakePress(target);
  return true;
}

bool TDsnRegister::Selectable(TComponent* component) const {
  TSelectAccept accept{saCreate, saSelect};
  if (stage_) stage_->OnSelectQuery(stage_, component, accept);
  return accept.Contains(saSelect);
}

void TDsnRegister::TakePress(TControl* target) {
  TTargetList* list = EnsureTargetList();
  if (list->Count() == 0) {
    list->AddTarget(target);
  } else if (list->IndexOf(target) < 0 || !SameParent()) {
    list->ClearTargets();
    list->AddTarget(target);
  }
}

// ---- mouse ----

void TDsnRegister::MouseDown(TWinControl* control, TControl* target, TShiftState shift, TPoint point) {
  if (palette_ && palette_->GetGene()) CreateBegin(control, target, shift, point);
  else MoveBegin(control, target, shift, point);
}

void TDsnRegister::MouseMove(TWinControl* control, TPoint point, TShiftState shift) {
  if (palette_ && palette_->GetGene()) CreateDrag(control, point);
  else if (shift.Contains(ssLeft)) MoveDrag(point);
  else FinishOutline();
}

void TDsnRegister::MouseUp(TWinControl* control, TPoint point, TShiftState) {
  if (palette_ && palette_->GetGene()) CreateEnd(control, point);
  else MoveEnd(point);
}

void TDsnRegister::CreateOutline() {
  outline_ = New<TMultiShape>();
  outline_->SetColor(outlineColor_);
  outline_->SetPenWidth(outlinePenWidth_);
}

void TDsnRegister::RenewOutline() {
  FinishOutline();
  CreateOutline();
}

void TDsnRegister::MoveBegin(TWinControl* control, TControl* target, TShiftState, TPoint point) {
  if (!control || !target || !SelectForPress(control, target)) return;
  if (!SameParent() || !moveParent_) return;
  RenewOutline();
  origin_ = SnapToGrid(point);
  outline_->SetOrigin(moveParent_->ClientToScreen(origin_));
  for (int i = 0; i < targets_->Count(); ++i) outline_->AddControl(ClassCast<TControl>(targets_->Target(i)));
  outline_->ClipTo(moveParent_);
}

void TDsnRegister::MoveDrag(TPoint point) {
  if (!outline_ || !moveParent_) return;
  point = SnapToGrid(point);
  if (SameParent()) outline_->MoveTo(moveParent_->ClientToScreen(point));
}

void TDsnRegister::MoveEnd(TPoint point) {
  point = SnapToGrid(point);
  if (SameParent() && outline_) {
    FinishOutline();
    if (targets_) {
      // Handlers may free targets: the list reads null for those.
      for (int i = 0; i < targets_->Count(); ++i) {
        auto* control = ClassCast<TControl>(targets_->Target(i));
        if (!control) continue;
        bool canMove = true;
        if (stage_) stage_->OnMoveQuery(stage_, control, canMove);
        if (!canMove || !targets_) continue;
        if ((control = ClassCast<TControl>(targets_->Target(i))))
          control->SetBounds(control->Left() + point.X - origin_.X, control->Top() + point.Y - origin_.Y,
                             control->Width(), control->Height());
      }
    }
  }
  if (point.X != origin_.X || point.Y != origin_.Y) TargetsMoved(origin_.X - point.X, origin_.Y - point.Y);
  RefreshTargets();
}

void TDsnRegister::CreateBegin(TWinControl* control, TControl* target, TShiftState, TPoint point) {
  if (!control) return;
  TSelectAccept accept{saCreate, saSelect};
  if (stage_) stage_->OnSelectQuery(stage_, target, accept);
  if (!accept.Contains(saCreate)) return;
  moveParent_ = FrameParent(control, point);
  if (!moveParent_) return;
  FinishOutline();
  CreateOutline();
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
    NameControl(fresh);
    fresh->SetBounds(origin_.X + std::min(dx, 0), origin_.Y + std::min(dy, 0), std::abs(dx), std::abs(dy));
    EnsureTargetList();
    if (auto* win = dynamic_cast<TWinControl*>(fresh)) CoverControl(win);
    targets_->ClearTargets();
    if ((fresh = made.get())) targets_->AddTarget(fresh);
    targets_->TargetsChanged();
  }
  if (!alive) return;
  if (palette_) {
    palette_->ResetToArrow();
    palette_->SetGene(nullptr);
  }
  created_ = nullptr;
}

TControl* TDsnRegister::CloneControl(TComponent* prototype, TWinControl* parent) {
  auto* source = ClassCast<TControl>(prototype);
  if (!source || !parent) return nullptr;
  const std::string name = source->Name();
  source->SetName("");
  TMemoryStream stream;
  created_ = nullptr;
  try {
    {
      TDesignWriter writer(stream, source->Owner());
      writer.WriteBlock(source);
      writer.WriteEnd();
    }
    stream.SetPosition(0);
    ReadControls(stream, parent, DM_CONTROLCREATED, [this](TComponent* c) {
      if (auto* control = ClassCast<TControl>(c)) ControlCreated(control);
    });
  } catch (...) {
    source->SetName(name);
    throw;
  }
  source->SetName(name);
  return created_;
}

void TDsnRegister::ReadControls(TStream& stream, TWinControl* parent, UINT announce,
                                const std::function<void(TComponent*)>& each, const TReadPolicy* policy) {
  TReader reader(stream, kStreamBuffer);
  reader.SetPolicy(policy);
  reader.SetAllOrNothing(true);
  TDsnStage* stage = stage_;
  TFreeNameHint hint;
  reader.OnSetName = [stage, announce, &hint](TReader& r, TComponent* component, std::string& name) {
    UniqueComponentName(r.Owner(), &r, component, name, hint);
    if (stage && stage->HandleAllocated()) PostMessage(stage->Handle(), announce, PostableRef(component), 0);
  };
  reader.ReadComponents(parent->Owner(), parent, each);
}

void TDsnRegister::NameControl(TControl* control) {
  if (!control) return;
  const std::string base = NameBaseOf(*control);
  if (!Owner()) {
    control->SetName(NumberedName(base, 1));
    return;
  }
  control->SetName(FirstFreeName(*Owner(), control, [&base](int i) { return NumberedName(base, i); }));
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
  if (control && target && SelectForPress(control, target)) RefreshTargets();
}

void TDsnRegister::RightMouseDown(TWinControl* control, TControl* target, int y, int x) {
  const TWeak<TDsnRegister> alive(this);
  const TWeak<TWinControl> where(control);
  RightSelect(control, target);
  if (!alive || !designMenu_ || !targets_ || !where) return;
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
  {
    TSelectedComponents selected;
    selected.AddAll(targets_->Items());
    stage_->OnMenuClick(stage_, &selected, propName, value);
  }
  // The handler may have changed the selection or freed targets; the value goes to those left.
  if (!alive || !targets_) return;
  ApplyPropValue(targets_->Items(), propName, value);
  RefreshTargets();
}

// ---- clipboard and delete ----

bool TDsnRegister::CanCopy() const { return targets_ && targets_->Count() > 0 && SameParent(); }

bool TDsnRegister::CanPaste() const {
  if (!targets_ || targets_->Count() > 1) return false;
  if (targets_->Count() == 1 && !AcceptsControls(ClassCast<TControl>(targets_->Target(0)))) return false;
  return IsClipboardFormatAvailable(ClipboardFormat());
}

void TDsnRegister::CutSelection() {
  if (!CanCopy()) return;
  CopySelection();
  DeleteSelection();
}

void TDsnRegister::CopySelection() {
  if (!CanCopy()) return;
  TMemoryStream stream;
  {
    TDesignWriter writer(stream, Owner());
    for (int i = 0; i < targets_->Count(); ++i)
      if (TComponent* target = targets_->Target(i)) writer.WriteBlock(target);
    writer.WriteEnd();
  }
  const auto size = static_cast<uint32_t>(stream.Size());
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + 4u);
  if (!block) return;
  auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(size >> (8 * i));
  std::memcpy(bytes + 4, stream.Memory(), size);
  GlobalUnlock(block);
  if (!OpenClipboard(0)) {
    GlobalFree(block);
    return;
  }
  EmptyClipboard();
  if (!SetClipboardData(ClipboardFormat(), block)) GlobalFree(block);
  CloseClipboard();
}

namespace {

// The stream of a clipboard block: a little-endian 32-bit size, then that many bytes. A size that
// is negative, smaller than one byte or larger than what follows in the block gives nothing.
bool ClipboardStream(HGLOBAL block, TMemoryStream& out) {
  const size_t blockSize = block ? GlobalSize(block) : 0;
  if (blockSize < 5) return false;
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
  if (!bytes) return false;
  int32_t size = 0;
  uint32_t raw = 0;
  for (int i = 0; i < 4; ++i) raw |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  std::memcpy(&size, &raw, 4);
  const bool ok = size >= 1 && static_cast<size_t>(size) <= blockSize - 4;
  if (ok) out.Write(bytes + 4, size);
  GlobalUnlock(block);
  return ok;
}

}  // namespace

void TDsnRegister::PasteSelection() {
  if (!CanPaste()) return;
  TWinControl* parent =
      targets_->Count() == 1 ? dynamic_cast<TWinControl*>(targets_->Target(0)) : PasteTarget();
  if (!parent) return;
  targets_->ClearTargets();
  TMemoryStream stream;
  if (!OpenClipboard(0)) return;
  const bool ok = ClipboardStream(GetClipboardData(ClipboardFormat()), stream);
  CloseClipboard();
  if (!ok) return;
  stream.SetPosition(0);
  const TWeak<TDsnRegister> alive(this);
  const TWeak<TWinControl> into(parent);
  std::vector<TWeak<TControl>> pasted;
  // The clipboard's data comes from elsewhere: the stage's policy says what it may hold. A read
  // that fails frees every component it made, whatever its class or depth.
  try {
    ReadControls(stream, parent, DM_CONTROLPASTED, [&pasted](TComponent* c) {
      if (auto* control = ClassCast<TControl>(c)) pasted.emplace_back(control);
    }, stage_ ? stage_->ReadPolicy() : nullptr);
  } catch (const EReadRefused& e) {
    throw EReadRefused("Nothing was pasted: " + e.Message());
  } catch (...) {
    return;  // damaged data under our format
  }
  if (!alive || !into || !targets_) return;
  for (const TWeak<TControl>& weak : pasted) {
    TControl* control = weak.get();
    if (!control) continue;
    if (auto* win = dynamic_cast<TWinControl*>(control)) CoverControl(win);
    // Back inside the parent.
    int left = control->Left();
    int top = control->Top();
    if (parent->Width() < left) left = parent->Width() - control->Width();
    if (left < 0) left = 0;
    if (parent->Height() < top) top = parent->Height() - control->Height();
    if (top < 0) top = 0;
    control->SetBounds(left, top, control->Width(), control->Height());
    if (targets_ && weak.get()) targets_->AddTarget(control);
  }
  RefreshTargets();
}

void TDsnRegister::DeleteSelection() {
  if (!targets_) return;
  std::vector<TWeak<TControl>> work;
  for (int i = 0; i < targets_->Count(); ++i)
    if (auto* control = ClassCast<TControl>(targets_->Target(i))) work.emplace_back(control);
  targets_->ClearTargets();
  const TWeak<TDsnRegister> alive(this);
  if (stage_ && stage_->OnDeleteQuery) {
    for (size_t i = work.size(); i > 0; --i) {
      TControl* control = work[i - 1].get();
      if (!control) continue;
      bool canDelete = true;
      stage_->OnDeleteQuery(stage_, control, canDelete);
      if (!alive) return;
      if (!canDelete) work.erase(work.begin() + static_cast<ptrdiff_t>(i - 1));
    }
  }
  // Shallowest first, then freed from the last: a control always goes before its container.
  std::stable_sort(work.begin(), work.end(), [this](const TWeak<TControl>& a, const TWeak<TControl>& b) {
    return DepthBelow(a.get(), stage_) < DepthBelow(b.get(), stage_);
  });
  for (auto it = work.rbegin(); it != work.rend(); ++it)
    if (TControl* control = it->get()) control->Free();
  if (alive) RefreshTargets();
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
  TDsnStage* stage = register_ ? register_->DsnStage() : nullptr;
  auto* control = ClassCast<TControl>(component);
  if (!stage || !control) return false;
  bool onStage = false;
  for (TWinControl* p = control->Parent(); p; p = p->Parent()) {
    if (dynamic_cast<TCustomForm*>(p)) break;
    if (p == stage) {
      onStage = true;
      break;
    }
  }
  if (!onStage) return false;
  TCoverAccept accept = cvCover;
  TComponent* asked = dynamic_cast<TWinControl*>(control) ? control : static_cast<TComponent*>(control->Parent());
  stage->OnCoverQuery(register_, asked, accept);
  if (accept != cvCover || !register_) return false;
  TSelectAccept select{saCreate, saSelect};
  stage->OnSelectQuery(register_, component, select);
  return select.Contains(saSelect);
}

TTargetList* TDsnPartner::TargetList() const {
  if (!register_) return nullptr;
  return register_->EnsureTargetList();
}

void TDsnPartner::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component && component == register_) register_ = nullptr;
  TComponent::Notification(component, operation);
}

void TDsnPartner::Destroy() {
  if (register_) register_->RemovePartner(this);
  TComponent::Destroy();
}

#include "design/DsnUnit.h"

#include <utility>

#include "design/DsnAgent.h"
#include "design/DsnPropText.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/PostedRefs.h"
#include "platform/rtl/Prefetch.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/StringList.h"
#include "platform/stream/Reader.h"

// ---- TRubberband ----

DEFINE_CLASS(TRubberband, TPersistent) {
  c.Prop("Color", &TRubberband::Color, &TRubberband::SetColor).Type(ColorType()).Default(clGray);
  c.Prop("PenWidth", &TRubberband::PenWidth, &TRubberband::SetPenWidth).Default(2);
  c.Prop("MoveWidth", &TRubberband::MoveWidth, &TRubberband::SetMoveWidth).Default(8);
  c.Prop("MoveHeight", &TRubberband::MoveHeight, &TRubberband::SetMoveHeight).Default(8);
}

void TRubberband::Assign(TPersistent* source) {
  if (auto* band = dynamic_cast<TRubberband*>(source)) {
    color_ = band->color_;
    penWidth_ = band->penWidth_;
    moveWidth_ = band->moveWidth_;
    moveHeight_ = band->moveHeight_;
    return;
  }
  TPersistent::Assign(source);
}

// ---- TCustomDsnRegister ----

DEFINE_CLASS(TCustomDsnRegister, TComponent) {}
DEFINE_CLASS(TSelectedComponents, TObject) {}

// ---- TDsnStage ----

DEFINE_CLASS(TDsnStage, TPanel) {
  c.Prop("SelfProps", &TDsnStage::SelfProps, &TDsnStage::SetSelfProps);
  c.Prop("OutProps", &TDsnStage::OutProps, &TDsnStage::SetOutProps);
  c.Event("OnDeleteQuery", &TDsnStage::OnDeleteQuery);
  c.Event("OnCoverQuery", &TDsnStage::OnCoverQuery);
  c.Event("OnSelectQuery", &TDsnStage::OnSelectQuery);
  c.Event("OnMoveQuery", &TDsnStage::OnMoveQuery);
  c.Event("OnControlCreate", &TDsnStage::OnControlCreate);
  c.Event("OnControlPasted", &TDsnStage::OnControlPasted);
  c.Event("OnControlLoaded", &TDsnStage::OnControlLoaded);
  c.Event("OnControlLoading", &TDsnStage::OnControlLoading);
  c.Event("OnCoverDblClick", &TDsnStage::OnCoverDblClick);
  c.Event("OnMenuClick", &TDsnStage::OnMenuClick);
  c.Event("OnPopup", &TDsnStage::OnPopup);
  c.Prop("Rubberband", &TDsnStage::Rubberband, &TDsnStage::SetRubberband);
  c.Prop("CoverMenu", &TDsnStage::CoverMenu, &TDsnStage::SetCoverMenu);
  c.Prop("FixPosition", &TDsnStage::FixPosition, &TDsnStage::SetFixPosition).Default(false);
  c.Prop("FixSize", &TDsnStage::FixSize, &TDsnStage::SetFixSize).Default(false);
}

void TDsnStage::Create(TComponent* owner) {
  TPanel::Create(owner);
  selfProps_ = New<TStringList>();
  outProps_ = New<TStringList>();
  rubberband_ = New<TRubberband>();
}

void TDsnStage::Destroy() {
  SetDsnRegister(nullptr);
  SetCoverMenu(nullptr);
  FreeAndNil(selfProps_);
  FreeAndNil(outProps_);
  FreeAndNil(rubberband_);
  TPanel::Destroy();
}

void TDsnStage::SetDsnRegister(TCustomDsnRegister* value) {
  if (register_ == value) return;
  // A register the stage lets go of may still design it, holding the stage by its own link (a
  // register of another window taking it over is only one): it keeps the removal notice, which
  // is mutual, so that it hears when the stage is freed.
  if (register_ && register_->Stage() != this) RemoveFreeNotification(register_);
  register_ = value;
  // The register may belong to another window; its destruction must not leave the link dangling.
  if (register_) FreeNotification(register_);
}

void TDsnStage::SetSelfProps(TStrings* value) { selfProps_->Assign(value); }
void TDsnStage::SetOutProps(TStrings* value) { outProps_->Assign(value); }
void TDsnStage::SetRubberband(TRubberband* value) { rubberband_->Assign(value); }

void TDsnStage::SetCoverMenu(TPopupMenu* value) {
  if (coverMenu_ == value) return;
  if (coverMenu_) RemoveFreeNotification(coverMenu_);
  coverMenu_ = value;
  if (coverMenu_) FreeNotification(coverMenu_);
}

void TDsnStage::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    if (component == coverMenu_) coverMenu_ = nullptr;
    if (component == register_) register_ = nullptr;
  }
  TPanel::Notification(component, operation);
}

TControl* TDsnStage::SelectedItem(int index) const {
  if (!register_ || index < 0 || index >= register_->SelectedCount()) return nullptr;
  return register_->SelectedItem(index);
}

int TDsnStage::SelectedCount() const { return register_ ? register_->SelectedCount() : -1; }

void TDsnStage::RefreshTargets() {
  if (register_) register_->RefreshTargets();
}

void TDsnStage::DeleteSelection() {
  if (register_) register_->DeleteSelection();
}

void TDsnStage::CutSelection() {
  if (register_) register_->CutSelection();
}

void TDsnStage::CopySelection() {
  if (register_) register_->CopySelection();
}

void TDsnStage::PasteSelection() {
  if (register_) register_->PasteSelection();
}

void TDsnStage::DesignChanged(bool) {}

// ---- messages and keys ----

void TDsnStage::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_KEYUP:
    case WM_CHAR:
      if (DesignKey(message)) return;
      break;
    case DM_AGENTDONE:
      AgentDone(message.WParam);
      return;
    case CM_CONTROLCHANGE: {
      // An element put on the stage or taken off it, by whatever code: a grab handle, owned by no
      // design, is no element.
      const auto* control = reinterpret_cast<const TControl*>(message.WParam);
      const TComponent* root = Owner() ? Owner() : this;
      if (control && control->Owner() && control->Owner() == root) ElementsChanged();
      break;
    }
    case DM_REFRESHTARGETS:
      refreshPosted_ = false;
      RefreshTargets();
      return;
    case DM_ELEMENTSCHANGED:
      changePosted_ = false;
      if (OnElementsChanged) OnElementsChanged();
      return;
    case WM_KEYDOWN:
      if (ArrowKey(message)) return;
      break;
    case DM_CONTROLCREATED:
    case DM_CONTROLPASTED:
      FireControlEvent(message.Msg == DM_CONTROLPASTED ? OnControlPasted : OnControlCreate, message.WParam);
      // The handler may have changed the new control, which is selected: what the selection's
      // receivers show is read again, once for all the controls of one paste.
      if (!refreshPosted_ && register_ && register_->DesignActive() && HandleAllocated())
        refreshPosted_ = PostMessage(Handle(), DM_REFRESHTARGETS, 0, 0);
      return;
    case DM_CONTROLLOADED:
      FireControlEvent(OnControlLoaded, message.WParam);
      return;
    case WM_DESTROY:
      // The messages posted to this window go with it, a refresh on its way included: the next
      // new control posts one again, to the window that follows.
      refreshPosted_ = false;
      changePosted_ = false;
      break;
    default:
      break;
  }
  TPanel::Dispatch(message);
}

bool TDsnStage::DesignKey(TMessage& message) {
  // The register's commands run the window's handlers, which may free the stage.
  const TWeak<TDsnStage> alive(this);
  if (message.Msg == WM_KEYUP) {
    // Delete acts on its release, so that a held key deletes once; the release still goes on
    // through the panel's own handling.
    if (message.WParam == VK_DELETE && register_) {
      DeleteSelection();
      message.Result = 1;
    }
    return !alive;
  }
  switch (message.WParam) {
    case 3:  // Ctrl+C
      CopySelection();
      break;
    case 24:  // Ctrl+X
      CutSelection();
      break;
    case 22:  // Ctrl+V
      PasteSelection();
      break;
    case 1:  // Ctrl+A
      if (!register_ || !register_->DesignActive()) return false;
      register_->SelectAll();
      break;
    default:
      return false;
  }
  // The clipboard characters are used up: nothing else sees them.
  message.WParam = 0;
  return true;
}

bool TDsnStage::ArrowKey(TMessage& message) {
  if (!register_ || !register_->DesignActive()) return false;
  int dx = 0;
  int dy = 0;
  switch (message.WParam) {
    case VK_LEFT: dx = -1; break;
    case VK_RIGHT: dx = 1; break;
    case VK_UP: dy = -1; break;
    case VK_DOWN: dy = 1; break;
    default: return false;
  }
  const TShiftState shift = KeyShiftState();
  const bool repeat = (message.LParam & 0x40000000) != 0;
  register_->NudgeSelection(dx, dy, shift.Contains(ssShift), shift.Contains(ssCtrl), repeat);
  message.Result = 0;
  return true;
}

void TDsnStage::ElementsChanged(const std::string& step, bool continues) {
  revision_ = ++lastRevision_;
  if (stepName_.empty()) {
    stepName_ = step;
    stepContinues_ = continues;
  }
  if (!changePosted_ && HandleAllocated()) changePosted_ = PostMessage(Handle(), DM_ELEMENTSCHANGED, 0, 0);
}

void TDsnStage::BeginStep(const std::string& step) {
  if (stepName_.empty()) stepName_ = step;
  // The step is ended once the operation is over, also when it changed nothing after all.
  if (!changePosted_ && HandleAllocated()) changePosted_ = PostMessage(Handle(), DM_ELEMENTSCHANGED, 0, 0);
}

std::string TDsnStage::TakeStepName() {
  stepContinues_ = false;
  return std::exchange(stepName_, std::string());
}

void TDsnStage::AgentDone(WPARAM ref) {
  TClientAgent* agent = TakePostedRef<TClientAgent>(ref);
  if (!agent) return;
  if (agent->Released()) {
    agent->Free();
    return;
  }
  // The control lives on and only its window was made anew: the agent takes the new one over.
  if (TWinControl* control = agent->Control()) agent->Hook(control->Handle());
}

void TDsnStage::FireControlEvent(const TControlCreate& event, WPARAM ref) {
  // The control may have been freed since the message was posted; then there is nothing to tell.
  if (auto* component = TakePostedRef<TComponent>(ref)) event(this, component);
}

// ---- design streams ----

TDesignWriter::TDesignWriter(TStream& stream, TComponent* root) : writer_(stream, 4096) {
  writer_.SetAncestor(nullptr);
  writer_.SetRootAncestor(nullptr);
  writer_.SetRoot(root);
}

void TDesignWriter::WriteBlock(TComponent* component) {
  writer_.WriteSignature();
  writer_.WriteComponent(component);
}

void TDesignWriter::WriteEnd() { writer_.WriteListEnd(); }

void TDsnStage::SaveToStream(TStream& stream) {
  // The design is the controls that belong to a window. Grab handles stand on the stage as well but
  // belong to nobody: they are passed over, so a selection stays as it is while its design is
  // written. Each control is a block of its own; the block's writer is flushed before the next one
  // starts, so the end marker, written last, follows all of them.
  std::vector<TControl*> design;
  design.reserve(static_cast<size_t>(ControlCount()));
  for (int i = 0; i < ControlCount(); ++i)
    if (Controls(i)->Owner()) design.push_back(Controls(i));
  for (size_t i = 0; i < design.size(); ++i) {
    if (i + 1 < design.size()) PrefetchObject(design[i + 1]);
    WriteControl(stream, design[i]);
  }
  TDesignWriter(stream, Owner()).WriteEnd();
}

void TDsnStage::WriteControl(TStream& stream, TComponent* component) {
  TDesignWriter(stream, Owner()).WriteBlock(component);
}

void TDsnStage::LoadFromStream(TStream& stream) {
  if (!readPolicy_) {
    ReadDesign(stream, nullptr);
    return;
  }
  // The controls on the stage now come back if the new design is refused.
  TMemoryStream before;
  if (ControlCount() > 0) SaveToStream(before);
  try {
    ReadDesign(stream, &*readPolicy_);
  } catch (...) {
    if (before.Size() > 0) {
      try {
        ReadDesign(before, nullptr);  // the stage's own controls, written a moment ago
      } catch (...) {
        // The error to report is the refused design's.
      }
    }
    throw;
  }
}

std::string SkippedList(const std::vector<std::string>& skipped) {
  constexpr size_t kShown = 10;
  std::string list;
  for (size_t i = 0; i < skipped.size() && i < kShown; ++i) list += (i ? "\n" : "") + skipped[i];
  if (skipped.size() > kShown) list += "\n… " + std::to_string(skipped.size() - kShown) + " more";
  return list;
}

TDsnStage* StageOf(const TControl* control) {
  for (TWinControl* p = control ? control->Parent() : nullptr; p; p = p->Parent())
    if (auto* stage = dynamic_cast<TDsnStage*>(p)) return stage;
  return nullptr;
}

void TDsnStage::ReadDesign(TStream& stream, const TReadPolicy* policy) {
  for (int i = ControlCount() - 1; i >= 0; --i) Controls(i)->Free();
  stream.SetPosition(0);
  TReader reader(stream, 4096);
  reader.SetPolicy(policy);
  reader.OnError = [this](TReader& r, const std::string& msg, bool& handled) { ReaderError(r, msg, handled); };
  reader.OnFindMethod = [this](TReader& r, const std::string& name, TMethod& method, bool& error) {
    ReaderFindMethod(r, name, method, error);
  };
  reader.OnSetName = [this](TReader& r, TComponent* component, std::string& name) {
    ReaderSetName(r, component, name);
  };
  readNames_.clear();
  skipped_.clear();
  reader.ReadComponents(Owner() ? Owner() : this, this, nullptr);
}

void TDsnStage::GiveReadName(TReader& reader, TComponent* component, std::string& name) {
  UniqueComponentName(reader.Owner(), &reader, component, name, readNames_);
}

void TDsnStage::ReaderSetName(TReader& reader, TComponent* component, std::string& name) {
  GiveReadName(reader, component, name);
  OnControlLoading(this, component);
  PostMessage(Handle(), DM_CONTROLLOADED, PostableRef(component), 0);
}

void TDsnStage::ReaderError(TReader&, const std::string& message, bool& handled) {
  skipped_.push_back(message);
  handled = true;
}

void TDsnStage::ReaderFindMethod(TReader&, const std::string&, TMethod& method, bool& error) {
  if (!error) return;
  method = TMethod{};
  error = false;
}

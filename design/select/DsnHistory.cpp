#include "design/select/DsnHistory.h"

#include <QByteArray>

#include "design/DsnUnit.h"
#include "design/select/DsnRegister.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/ScopedRollback.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/Tr.h"
#include "platform/win/Windows.h"

namespace {

// The names of the steps the Edit menu can undo.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Steps)
};

}  // namespace

DEFINE_CLASS(TDsnHistory, TReceiveTargets) {}

namespace {

std::string Compress(const std::string& bytes) {
  const QByteArray packed = qCompress(reinterpret_cast<const uchar*>(bytes.data()),
                                      static_cast<qsizetype>(bytes.size()), 1);
  return std::string(packed.constData(), static_cast<size_t>(packed.size()));
}

std::string Uncompress(const std::string& packed) {
  const QByteArray bytes =
      qUncompress(reinterpret_cast<const uchar*>(packed.data()), static_cast<qsizetype>(packed.size()));
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace

// The bytes a step holds: its name, the selection's names and the packed design.
size_t TDsnHistory::SizeOf(const Step& step) {
  size_t size = step.name.size() + step.state.design.size();
  for (const std::string& name : step.state.selection) size += name.size();
  return size;
}

void TDsnHistory::Create(TDsnStage* stage, TDsnRegister* reg) {
  stage_ = stage;
  register_ = reg;
  if (reg) reg->AddReceiver(this);
  Reset();
}

void TDsnHistory::Destroy() {
  if (TDsnRegister* reg = register_.get()) reg->RemoveReceiver(this);
  TReceiveTargets::Destroy();
}

void TDsnHistory::SetLimits(int steps, size_t bytes) {
  stepLimit_ = std::max(1, steps);
  byteLimit_ = bytes;
  Trim();
}

void TDsnHistory::Reset() {
  undo_.clear();
  redo_.clear();
  bytes_ = 0;
  merging_ = false;
  current_ = State{};
  if (TDsnStage* stage = stage_.get()) {
    stage->TakeStepName();
    current_ = {StageDesign(), SelectionNames(), stage->Revision()};
  }
  Changed();
}

bool TDsnHistory::Pending() const {
  const TDsnStage* stage = stage_.get();
  return stage && (stage->Revision() != current_.revision || !stage->StepName().empty());
}

void TDsnHistory::FollowSelection() {
  if (!restoring_ && !Pending()) current_.selection = SelectionNames();
}

std::vector<std::string> TDsnHistory::SelectionNames() const {
  std::vector<std::string> names;
  const TDsnRegister* reg = register_.get();
  if (!reg || !reg->DesignActive()) return names;
  for (TControl* control : reg->TargetControls())
    if (control) names.push_back(control->Name());
  return names;
}

std::string TDsnHistory::StageDesign() const {
  TMemoryStream stream;
  if (TDsnStage* stage = stage_.get()) stage->SaveToStream(stream);
  return stream.Bytes();
}

TDsnHistory::State TDsnHistory::Packed(const State& state) const {
  return {Compress(state.design), state.selection, state.revision};
}

void TDsnHistory::Push(std::deque<Step>& list, Step step) {
  bytes_ += SizeOf(step);
  list.push_back(std::move(step));
}

TDsnHistory::Step TDsnHistory::Pop(std::deque<Step>& list) {
  Step step = std::move(list.back());
  list.pop_back();
  bytes_ -= SizeOf(step);
  return step;
}

void TDsnHistory::Trim() {
  while (!undo_.empty() && (static_cast<int>(undo_.size()) > stepLimit_ || Bytes() > byteLimit_)) {
    const Step& oldest = undo_.front();
    bytes_ -= SizeOf(oldest);
    undo_.pop_front();
  }
}

void TDsnHistory::Commit() {
  TDsnStage* stage = stage_.get();
  if (!stage || restoring_) return;
  const bool continues = stage->StepContinues();
  std::string name = stage->TakeStepName();
  if (stage->Revision() == current_.revision) return;
  State after{StageDesign(), SelectionNames(), stage->Revision()};
  if (after.design == current_.design) {
    // Nothing changed after all (a paste that failed, a value written as it was): no step, and
    // the stage is what it was.
    stage->SetRevision(current_.revision);
    current_.selection = after.selection;
    return;
  }
  if (name.empty()) name = Tr(Texts::tr("Change"));
  if (!(continues && merging_ && !undo_.empty() && undo_.back().name == name))
    Push(undo_, {name, Packed(current_)});
  current_ = std::move(after);
  while (!redo_.empty()) Pop(redo_);
  merging_ = true;
  Trim();
  Changed();
}

std::string TDsnHistory::UndoName() const {
  const TDsnStage* stage = stage_.get();
  if (stage && Pending() && !stage->StepName().empty()) return stage->StepName();
  if (Pending()) return Tr(Texts::tr("Change"));
  return undo_.empty() ? std::string() : undo_.back().name;
}

std::string TDsnHistory::RedoName() const { return CanRedo() ? redo_.back().name : std::string(); }

bool TDsnHistory::Undo() { return Travel(undo_, redo_); }

bool TDsnHistory::Redo() { return Travel(redo_, undo_); }

bool TDsnHistory::Travel(std::deque<Step>& from, std::deque<Step>& to) {
  if (GetCapture()) return false;
  Commit();  // a change not yet recorded is the step to undo (and leaves nothing to redo)
  if (from.empty() || !stage_) return false;
  Step step = Pop(from);
  Push(to, {step.name, Packed(current_)});
  Restore(step.state);
  Changed();
  return true;
}

void TDsnHistory::Restore(const State& packed) {
  TDsnStage* stage = stage_.get();
  if (!stage) return;
  merging_ = false;
  current_ = {Uncompress(packed.design), packed.selection, packed.revision};
  TDsnRegister* reg = register_.get();
  {
    TScopedRollback<bool> busy(restoring_, true);
    // Emptied at once, not target by target as the old elements go.
    if (reg) reg->ClearSelection();
    TMemoryStream stream(current_.design);
    stage->LoadFromStream(stream);
    stage->SetRevision(current_.revision);
    stage->TakeStepName();
  }
  if (!reg || !reg->DesignActive()) return;
  std::vector<TComponent*> selection;
  TComponent* root = stage->Owner() ? stage->Owner() : stage;
  for (const std::string& name : current_.selection)
    if (TComponent* component = root->FindComponent(name)) selection.push_back(component);
  reg->Select(selection);
}

void TDsnHistory::Changed() {
  if (OnChange) OnChange();
}

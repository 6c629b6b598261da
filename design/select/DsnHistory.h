#pragma once
// The undo history of a design stage. A step is one change a user makes to the design (a move, a
// paste, a value written to the selection …); the history keeps, for each, the design and the
// selection as they were before it, so that undo brings both back exactly, and redo the state
// after it.
//
// Steps are found, not announced: the stage's revision says that elements changed and the name
// the change was given (TDsnStage::ElementsChanged, BeginStep). Once the operation is over the
// stage runs OnElementsChanged, and the window calls Commit, which writes the design and keeps the
// one before as the step; a change that leaves the design as it was records nothing. Undo and
// redo commit a change not yet recorded first.
//
// States are the stage's own design streams, compressed while they wait in the history (a design
// of 1,000 labels is about 15 KB so); the history keeps at most StepLimit steps and ByteLimit bytes
// and drops its oldest steps beyond either.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "design/select/DsnList.h"

class TDsnRegister;
class TDsnStage;

class TDsnHistory : public TReceiveTargets {
  DECLARE_CLASS(TDsnHistory)

 public:
  static constexpr int kDefaultStepLimit = 200;
  static constexpr size_t kDefaultByteLimit = 32u << 20;

  // Follows `stage`, whose selection `reg` keeps; starts empty, with the stage as it is now.
  void Create(TDsnStage* stage, TDsnRegister* reg);

  void SetLimits(int steps, size_t bytes);
  int StepLimit() const { return stepLimit_; }
  size_t ByteLimit() const { return byteLimit_; }

  // Takes the stage as it is now as the start: no steps to undo or redo.
  void Reset();
  // Records the change made since the last step, when the design differs from what it was.
  void Commit();
  bool CanUndo() const { return !undo_.empty() || Pending(); }
  bool CanRedo() const { return !redo_.empty() && !Pending(); }
  // The names of the steps undo and redo would take back or make again; empty for none.
  std::string UndoName() const;
  std::string RedoName() const;
  // Brings back the design and selection before the last step (after the last undone one). Not
  // while a mouse button drags something: false then, and when there is nothing to do.
  bool Undo();
  bool Redo();
  int UndoCount() const { return static_cast<int>(undo_.size()); }
  int RedoCount() const { return static_cast<int>(redo_.size()); }
  // The bytes of the states the history holds, the stage's current one included.
  size_t Bytes() const { return bytes_ + current_.design.size(); }

  // Runs after every step recorded, undone or redone, and after Reset.
  std::function<void()> OnChange;

  // ---- the selection, followed so that a step keeps the one it started from ----
  void ForgetTarget(int) override {}
  void AddTarget(TComponent*) override {}
  void ClearTargets() override { FollowSelection(); }
  void DeleteTarget(int) override {}
  void TargetsChanged() override { FollowSelection(); }

 protected:
  void Destroy() override;

 private:
  struct State {
    std::string design;  // compressed in the history's lists, plain as `current_`
    std::vector<std::string> selection;
    uint64_t revision = 0;
  };
  struct Step {
    std::string name;
    State state;
  };

  static size_t SizeOf(const Step& step);
  // A change of the stage not recorded yet, or a step begun.
  bool Pending() const;
  void FollowSelection();
  std::vector<std::string> SelectionNames() const;
  std::string StageDesign() const;
  State Packed(const State& state) const;
  void Push(std::deque<Step>& list, Step step);
  Step Pop(std::deque<Step>& list);
  void Trim();
  // Undo or redo: the last step of `from` is put on the stage and the state it replaces goes to `to`.
  bool Travel(std::deque<Step>& from, std::deque<Step>& to);
  // Puts a packed state on the stage: design, revision and selection.
  void Restore(const State& packed);
  void Changed();

  TWeak<TDsnStage> stage_;
  TWeak<TDsnRegister> register_;
  State current_;
  std::deque<Step> undo_;
  std::deque<Step> redo_;
  size_t bytes_ = 0;
  int stepLimit_ = kDefaultStepLimit;
  size_t byteLimit_ = kDefaultByteLimit;
  // The last thing done was a commit: a held key's next move goes on its step.
  bool merging_ = false;
  bool restoring_ = false;
};

#pragma once
// The selection of the designer and its broadcast.
//
// Everything that follows the selection (grab handles, the inspector's properties, the partners'
// selection managers) is a receiver: a TReceiveTargets linked to the register's TTargetList. The
// target list is a receiver too; it makes each change to its own list first and then makes the
// identical call on every receiver, in the order they were linked, so a receiver that reads the
// list during the call already sees the new state. A change is complete everywhere when the call on
// the list returns.
//
// Positions are shared by every party: position i of the list is position i of each receiver's own
// mirror of the selection. That is why ForgetTarget only empties a place and the DeleteTarget that
// follows closes the gap.

#include <memory>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/List.h"

class TReceiveTargets : public TObject {
  DECLARE_CLASS(TReceiveTargets)

 public:
  ~TReceiveTargets() override;

  // The target at `index` is being destroyed: drop every reference to it. Its place stays.
  virtual void ForgetTarget(int index) = 0;
  // `target` was appended to the selection.
  virtual void AddTarget(TComponent* target) = 0;
  // The selection became empty.
  virtual void ClearTargets() = 0;
  // The target at `index` was removed; the later ones move down by one.
  virtual void DeleteTarget(int index) = 0;
  // The set is the same, but bounds or properties of targets changed: refresh what is shown.
  virtual void TargetsChanged() = 0;

  // Links are mutual and made once: after Link(r) each side lists the other exactly once, and
  // after Unlink(r), or the destruction of either side, neither lists the other. Null and the
  // receiver itself are ignored.
  virtual void Unlink(TReceiveTargets* receiver);
  virtual void Link(TReceiveTargets* receiver);

  // The linked peers in link order; null until the first Link.
  const TList<TReceiveTargets*>* Receivers() const { return receivers_.get(); }

 protected:
  TReceiveTargets();
  // Unlinks every peer while the object is still whole, so overrides of Unlink on either side run.
  void Destroy() override;

  // Calls `call` on every receiver linked when the broadcast began, in link order, skipping those
  // unlinked or destroyed meanwhile. A receiver may unlink or free other receivers, or free this
  // object: the broadcast then stops without touching it again.
  template <class F>
  void Broadcast(F call);

 private:
  void UnlinkAll();

  std::unique_ptr<TList<TReceiveTargets*>> receivers_;
};

class TTargetList : public TReceiveTargets {
  DECLARE_CLASS(TTargetList)

 public:
  // Makes the list of targets; until then, and once destruction has begun, there is none.
  void Create();

  void ForgetTarget(int index) override;
  // Appends without looking for `target` first: callers that must not list a component twice ask
  // IndexOf before.
  void AddTarget(TComponent* target) override;
  void ClearTargets() override;
  void DeleteTarget(int index) override;
  void TargetsChanged() override;
  // Replaces the whole list by `targets` (those still alive, in order) and announces the change
  // once: ClearTargets, AddTarget for each, then TargetsChanged, on the list and every receiver.
  void SetTargets(const std::vector<TWeak<TComponent>>& targets);

  // The number of places, forgotten ones included; -1 when there is no list.
  int Count() const;
  // The target at `index`; null for a forgotten place, for a target destroyed since, for an index
  // out of range and when there is no list.
  TComponent* Target(int index) const;
  // The place of `component`; -1 when it is not listed (null is never listed) or there is no list.
  int IndexOf(const TComponent* component) const;
  // Every place in order: the targets, null for forgotten or destroyed ones.
  std::vector<TComponent*> Items() const;
  // The place of `component` found by its address, also while its destruction is under way; only
  // for its own destruction notice, before the address can belong to anything else.
  int PlaceOf(const TComponent* component) const;
  bool HasList() const { return list_ != nullptr; }

 protected:
  // Frees the list first, so that receivers unlinked afterwards find none.
  void Destroy() override;

 private:
  // The list does not own its targets. Entries are weak: a target destroyed without ForgetTarget
  // reads as null in its place instead of dangling, and the places stay aligned with every
  // receiver's until the DeleteTarget that the register's destruction notice sends.
  // The address only identifies the target: IndexOf must still find a target whose destruction has
  // begun, so that its destruction notice can take it out of the list.
  struct Entry {
    TWeak<TComponent> target;
    const TComponent* address = nullptr;
  };
  std::unique_ptr<std::vector<Entry>> list_;
};

template <class F>
void TReceiveTargets::Broadcast(F call) {
  if (!receivers_ || receivers_->Count() == 0) return;
  std::vector<TWeak<TReceiveTargets>> peers(receivers_->begin(), receivers_->end());
  const TWeak<TReceiveTargets> self(this);
  for (const TWeak<TReceiveTargets>& peer : peers) {
    if (!self) return;
    TReceiveTargets* receiver = peer.get();
    if (!receiver || !receivers_ || receivers_->IndexOf(receiver) < 0) continue;
    call(receiver);
  }
}

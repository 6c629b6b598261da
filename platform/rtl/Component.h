#pragma once
// Persistent objects and components: the owner tree, names, destruction notices and the hooks
// through which the component stream reads and writes them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Object.h"
#include "platform/rtl/Set.h"

class TComponent;
class TFiler;
class TReader;
class TWriter;

// An object with published properties that can be assigned and streamed.
class TPersistent : public TObject {
  DECLARE_CLASS(TPersistent)

 public:
  // Copies the state of `source`; raises EConvertError when the classes don't fit.
  virtual void Assign(TPersistent* source);
  // The dotted path of the object for messages and designers: "Owner.Name" for a sub-object.
  virtual std::string GetNamePath();
  // Declares properties that are stored without being published (a string list's "Strings",
  // a picture's "Data").
  virtual void DefineProperties(TFiler* filer);
  virtual TPersistent* GetOwner();

 protected:
  virtual void AssignTo(TPersistent* dest);
};

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
using TComponentState = TSet<TComponentStateItem>;

enum TComponentStyleItem { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleItem>;

using TGetChildProc = std::function<void(TComponent*)>;

class TComponent : public TPersistent {
  DECLARE_CLASS(TComponent)

 public:
  ~TComponent() override;

  // The framework constructor: inserts the component into its owner, which will destroy it.
  virtual void Create(TComponent* owner);

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  const std::vector<TComponent*>& ComponentList() const { return components_; }
  int ComponentIndex() const;

  const std::string& Name() const { return name_; }
  // Renames the component: the name must be a valid identifier (or empty) and unique among the
  // owner's components ignoring case; raises EComponentError otherwise.
  virtual void SetName(const std::string& newName);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  TComponentState ComponentState() const { return state_; }
  TComponentStyle ComponentStyle() const { return style_; }
  // A sub-component is streamed as part of the component that owns it, not as a reference.
  void SetSubComponent(bool value);

  // The owned component of that name, ignoring case; null for an empty or unknown name.
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();
  void Destroying();

  // Asks to be told (Notification with opRemove) when `component` is destroyed. The notice is
  // mutual and is kept whatever the owners of the two components are.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);
  // Told when a component is inserted into or removed from this component's owner tree, and when a
  // component this one asked about is destroyed. Overrides clear their references and then call
  // the inherited one, which passes the notice on to the owned components.
  //
  // The notice goes down the owner tree, from the last owned component to the first, but only to
  // the components that can act on it: those whose class hears it (TClassInfo::Notices; a class
  // that overrides Notification hears every notice unless its class block narrows them with
  // `c.Hears(opRemove)`), and those that own such components. A component that asked about the
  // removed one is told in any case. So inserting into or removing from an owner of many components
  // that ignore such notices costs nothing per sibling.
  virtual void Notification(TComponent* component, TOperation operation);

  void SetDesigning(bool value, bool setChildren = true);
  // Called once the stream has read the component and resolved its references.
  virtual void Loaded();

  // Stream hooks: the components written as children of this one, the owner and parent that the
  // children read back receive, and the parent of a component that has one (controls).
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
  virtual TComponent* GetChildOwner();
  virtual TComponent* GetChildParent();
  virtual bool HasParent() const;
  virtual TComponent* GetParentComponent() const;
  virtual void SetParentComponent(TComponent* parent);
  virtual void SetChildOrder(TComponent* child, int order);
  virtual void ReadState(TReader& reader);
  virtual void WriteState(TWriter& writer);

  virtual void ValidateRename(TComponent* component, const std::string& curName,
                              const std::string& newName);
  std::string GetNamePath() override;
  TPersistent* GetOwner() override;

 protected:
  void BeforeDestruction() override;
  void Destroy() override;
  virtual void ChangeName(const std::string& newName);
  // Stores this component in, or clears it from, the owner's published field of the same name.
  void SetReference(bool enable);

 private:
  friend class TReader;
  friend class TWriter;
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void IndexName(TComponent* component);
  void UnindexName(TComponent* component);
  // Notice routing: whether this component takes part in notices of `operation`, and bringing
  // its owners' lists of such components up to date after that may have changed.
  bool TakesNotice(TOperation operation) const;
  void UpdateNoticeRoute(TOperation operation);
  void AddListener(TOperation operation, TComponent* component);
  void DropListener(TOperation operation, TComponent* component);
  void NotifyListeners(TComponent* component, TOperation operation);
  void TellWatchersBelow(TComponent* component);
  // The index of the first listener in `list` placed at or after `seq`.
  static size_t ListenersFrom(const std::vector<TComponent*>& list, uint64_t seq);
  void IncludeState(TComponentStateItem item) { state_.Include(item); }
  void ExcludeState(TComponentStateItem item) { state_.Exclude(item); }

  TComponent* owner_ = nullptr;
  std::string name_;
  int tag_ = 0;
  std::vector<TComponent*> components_;
  // The owned components by name, ignoring case. An open-addressing table of the components
  // themselves: the key is the indexed component's own name (which ChangeName takes out of the
  // index while it changes), so a lookup makes no upper-case copy and probes one array. Reading a
  // design looks up and indexes every component's name; with thousands of them the scattered
  // nodes of a node-based map cost a cache miss each time.
  class TNameIndex {
   public:
    TComponent* Find(std::string_view name) const;
    // Indexes the component under its name, in place of another of the same name.
    void Add(TComponent* component);
    // Takes the component's name out, when the name is indexed for this component.
    void Remove(TComponent* component);

   private:
    struct Slot {
      uint64_t hash = 0;
      TComponent* component = nullptr;  // null: free
    };
    // The slot holding `name`, or the free slot where it would go.
    size_t SlotOf(std::string_view name, uint64_t hash) const;
    void Grow();

    std::vector<Slot> slots_;  // empty, or a power of two in size, at most half full
    size_t count_ = 0;
  };
  TNameIndex nameIndex_;
  std::vector<TComponent*> freeNotifies_;
  // The owned components that take part in each kind of notice (TakesNotice), in the order of
  // components_; `listening_` says whether this component is in its owner's list.
  std::vector<TComponent*> listeners_[2];
  bool listening_[2] = {false, false};
  uint64_t ownerSeq_ = 0;  // increases with the place among the owner's components
  uint64_t nextSeq_ = 0;
  TComponentState state_;
  TComponentStyle style_;
  bool destroyed_ = false;
};

// Runs for every component as it is destroyed, once its destruction notices are sent. The
// component stream sets it while references it read wait to be resolved, so that they forget a
// component that goes; null (the start) runs nothing.
using TComponentGone = void (*)(TComponent* component);
void SetComponentGoneHook(TComponentGone hook);

// True for a valid component name: a letter or "_" followed by letters, digits and "_".
bool IsValidIdent(std::string_view ident);

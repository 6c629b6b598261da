#pragma once
// Persistent objects and components: the owner tree, names, destruction notices and the hooks
// through which the component stream reads and writes them.

#include <functional>
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
  void IncludeState(TComponentStateItem item) { state_.Include(item); }
  void ExcludeState(TComponentStateItem item) { state_.Exclude(item); }

  TComponent* owner_ = nullptr;
  std::string name_;
  int tag_ = 0;
  std::vector<TComponent*> components_;
  std::unordered_map<std::string, TComponent*> nameIndex_;  // owned components by upper-case name
  std::vector<TComponent*> freeNotifies_;
  TComponentState state_;
  TComponentStyle style_;
  bool destroyed_ = false;
};

// True for a valid component name: a letter or "_" followed by letters, digits and "_".
bool IsValidIdent(std::string_view ident);

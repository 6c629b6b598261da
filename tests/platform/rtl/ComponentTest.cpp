#include "platform/rtl/Component.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/StringList.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"

namespace {

// Records the notices it hears and forgets `Ref` when that component goes.
class TProbe : public TComponent {
  DECLARE_CLASS(TProbe)

 public:
  struct Notice {
    TComponent* component;
    TOperation operation;
    friend bool operator==(const Notice& a, const Notice& b) {
      return a.component == b.component && a.operation == b.operation;
    }
  };

  // Keeps a reference to `component` and asks to hear of its destruction.
  void Watch(TComponent* component) {
    Ref = component;
    if (component) component->FreeNotification(this);
  }
  int CountOf(TComponent* component, TOperation operation) const {
    return static_cast<int>(std::count(Notices.begin(), Notices.end(), Notice{component, operation}));
  }
  void Notification(TComponent* component, TOperation operation) override {
    Notices.push_back({component, operation});
    if (operation == opRemove && component == Ref) Ref = nullptr;
    TComponent::Notification(component, operation);
  }

  TComponent* Ref = nullptr;
  std::vector<Notice> Notices;
  std::vector<std::string>* DestroyLog = nullptr;

 protected:
  void Destroy() override {
    if (DestroyLog) DestroyLog->push_back(Name());
    TComponent::Destroy();
  }
};
DEFINE_CLASS(TProbe, TComponent) {}

class TOtherProbe : public TProbe {
  DECLARE_CLASS(TOtherProbe)
};
DEFINE_CLASS(TOtherProbe, TProbe) {}

// A root with a published field, as a window declares the components it holds.
class TFieldRoot : public TComponent {
  DECLARE_CLASS(TFieldRoot)

 public:
  TProbe* Probe1 = nullptr;
};
DEFINE_CLASS(TFieldRoot, TComponent) { c.Field("Probe1", &TFieldRoot::Probe1); }

TProbe* NewProbe(TComponent* owner, const std::string& name = "") {
  auto* probe = New<TProbe>(owner);
  if (!name.empty()) probe->SetName(name);
  return probe;
}

std::vector<std::string> NamesOf(const TComponent& owner) {
  std::vector<std::string> names;
  for (TComponent* c : owner.ComponentList()) names.push_back(c->Name());
  return names;
}

// ---- names ----

class InvalidComponentName : public testing::TestWithParam<const char*> {};

TEST_P(InvalidComponentName, IsRejectedAndTheOldNameKept) {
  TComponent* owner = New<TComponent>(nullptr);
  TProbe* probe = NewProbe(owner, "Probe1");
  try {
    probe->SetName(GetParam());
    ADD_FAILURE() << "no error for '" << GetParam() << "'";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "'" + std::string(GetParam()) + "' is not a valid component name");
  }
  EXPECT_EQ(probe->Name(), "Probe1");
  owner->Free();
}

INSTANTIATE_TEST_SUITE_P(Component, InvalidComponentName,
                         testing::Values("1abc", "a b", "a-b", "a.b", " a", "é", "Label1 "));

TEST(ComponentName, AcceptsIdentifiersAndEmpty) {
  TComponent* owner = New<TComponent>(nullptr);
  TProbe* probe = NewProbe(owner);
  for (const char* name : {"_", "_a1", "Z9_", "abc", ""}) {
    EXPECT_NO_THROW(probe->SetName(name)) << name;
    EXPECT_EQ(probe->Name(), name);
  }
  owner->Free();
}

TEST(ComponentName, DuplicateWithinOwnerIgnoresCase) {
  TComponent* owner = New<TComponent>(nullptr);
  NewProbe(owner, "Label1");
  TProbe* second = NewProbe(owner, "Label2");
  try {
    second->SetName("LABEL1");
    ADD_FAILURE() << "duplicate accepted";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named LABEL1 already exists");
  }
  EXPECT_EQ(second->Name(), "Label2");
  // The same name is fine in another owner and without one.
  TComponent* other = New<TComponent>(nullptr);
  EXPECT_NO_THROW(NewProbe(other, "Label1"));
  TProbe* loose = NewProbe(nullptr, "Label1");
  EXPECT_NO_THROW(loose->SetName("label1"));
  loose->Free();
  other->Free();
  owner->Free();
}

TEST(ComponentName, RenamingToAnotherCaseOfItsOwnNameWorks) {
  TComponent* owner = New<TComponent>(nullptr);
  TProbe* probe = NewProbe(owner, "label1");
  EXPECT_NO_THROW(probe->SetName("Label1"));
  EXPECT_EQ(probe->Name(), "Label1");
  owner->Free();
}

TEST(ComponentName, InsertingAClashingComponentIsRefusedAndLeavesItWhereItWas) {
  TComponent* owner = New<TComponent>(nullptr);
  TComponent* elsewhere = New<TComponent>(nullptr);
  NewProbe(owner, "Shape1");
  TProbe* moving = NewProbe(elsewhere, "shape1");
  EXPECT_THROW(owner->InsertComponent(moving), EComponentError);
  EXPECT_EQ(moving->Owner(), elsewhere);
  EXPECT_EQ(owner->ComponentCount(), 1);
  // Unnamed components never clash, and moving one back into its own owner is no rename.
  owner->InsertComponent(NewProbe(elsewhere));
  owner->InsertComponent(NewProbe(elsewhere));
  EXPECT_NO_THROW(elsewhere->InsertComponent(moving));
  EXPECT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(elsewhere->ComponentCount(), 1);
  elsewhere->Free();
  owner->Free();
}

TEST(FindComponent, IgnoresCaseAndNeverFindsTheEmptyName) {
  TComponent* owner = New<TComponent>(nullptr);
  TProbe* named = NewProbe(owner, "Panel1");
  NewProbe(owner);
  EXPECT_EQ(owner->FindComponent("pANEL1"), named);
  EXPECT_EQ(owner->FindComponent(""), nullptr);
  EXPECT_EQ(owner->FindComponent("Panel2"), nullptr);
  owner->Free();
}

// Many names in one owner, some freed from the middle and some renamed: whatever the index
// shuffles to close its gaps, every name still finds its component and no other.
TEST(FindComponent, KeepsFindingNamesAsComponentsComeAndGo) {
  TComponent* owner = New<TComponent>(nullptr);
  std::vector<TProbe*> probes;
  for (int i = 0; i < 300; ++i) probes.push_back(NewProbe(owner, "Part" + std::to_string(i)));
  for (int i = 0; i < 300; i += 3) {
    probes[static_cast<size_t>(i)]->Free();
    probes[static_cast<size_t>(i)] = nullptr;
  }
  for (int i = 1; i < 300; i += 3) probes[static_cast<size_t>(i)]->SetName("Moved" + std::to_string(i));
  for (int i = 0; i < 300; ++i) {
    const std::string part = "PART" + std::to_string(i);
    const std::string moved = "moved" + std::to_string(i);
    TProbe* probe = probes[static_cast<size_t>(i)];
    switch (i % 3) {
      case 0:
        EXPECT_EQ(owner->FindComponent(part), nullptr) << part;
        break;
      case 1:
        EXPECT_EQ(owner->FindComponent(part), nullptr) << part;
        EXPECT_EQ(owner->FindComponent(moved), probe) << moved;
        break;
      case 2:
        EXPECT_EQ(owner->FindComponent(part), probe) << part;
        break;
    }
  }
  // A freed name may be taken again.
  TProbe* again = NewProbe(owner, "Part0");
  EXPECT_EQ(owner->FindComponent("part0"), again);
  EXPECT_EQ(owner->ComponentCount(), 201);
  owner->Free();
}

// ---- the owner tree ----

TEST(ComponentOwner, FreesOwnedComponentsLastFirst) {
  std::vector<std::string> log;
  TProbe* owner = NewProbe(nullptr, "Owner");
  owner->DestroyLog = &log;
  for (const char* name : {"A", "B", "C"}) NewProbe(owner, name)->DestroyLog = &log;
  TProbe* grandchild = NewProbe(owner->FindComponent("B"), "B1");
  grandchild->DestroyLog = &log;
  owner->Free();
  EXPECT_EQ(log, (std::vector<std::string>{"Owner", "C", "B", "B1", "A"}));
}

TEST(ComponentOwner, FreedComponentLeavesItsOwner) {
  TComponent* owner = New<TComponent>(nullptr);
  TProbe* a = NewProbe(owner, "A");
  TProbe* b = NewProbe(owner, "B");
  NewProbe(owner, "C");
  b->Free();
  EXPECT_EQ(NamesOf(*owner), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(a->ComponentIndex(), 0);
  EXPECT_EQ(owner->FindComponent("B"), nullptr);
  EXPECT_THROW(owner->Components(2), EListError);
  owner->Free();
}

TEST(ComponentNotification, InsertAndRemoveReachTheOwnerAndEveryComponentBelowIt) {
  TProbe* owner = NewProbe(nullptr);
  TProbe* sibling = NewProbe(owner);
  TProbe* nephew = NewProbe(sibling);
  TProbe* added = NewProbe(owner);
  for (TProbe* p : {owner, sibling, nephew, added}) EXPECT_EQ(p->CountOf(added, opInsert), 1);

  TComponent* elsewhere = New<TComponent>(nullptr);
  elsewhere->InsertComponent(added);
  for (TProbe* p : {owner, sibling, nephew}) EXPECT_EQ(p->CountOf(added, opRemove), 1);
  elsewhere->Free();
  owner->Free();
}

TEST(ComponentNotification, FreeingAComponentTellsItsOwnerTree) {
  TProbe* owner = NewProbe(nullptr);
  TProbe* sibling = NewProbe(owner);
  TProbe* doomed = NewProbe(owner);
  doomed->Free();
  EXPECT_EQ(owner->CountOf(doomed, opRemove), 1);
  EXPECT_EQ(sibling->CountOf(doomed, opRemove), 1);
  owner->Free();
}

// Writes the components it hears removed into a list that outlives it.
class TRemovalLog : public TComponent {
  DECLARE_CLASS(TRemovalLog)

 public:
  std::vector<std::string>* Heard = nullptr;
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove && Heard) Heard->push_back(component->Name());
    TComponent::Notification(component, operation);
  }
};
DEFINE_CLASS(TRemovalLog, TComponent) {}

TEST(ComponentNotification, OwnersTeardownAnnouncesOnlyComponentsOthersAskedAbout) {
  std::vector<std::string> heard;
  TComponent* owner = New<TComponent>(nullptr);
  auto* log = New<TRemovalLog>(owner);  // freed last, so it hears the others go
  log->Heard = &heard;
  NewProbe(owner, "Quiet");
  TProbe* watched = NewProbe(owner, "Watched");
  TProbe* watcher = NewProbe(nullptr, "Watcher");
  watcher->Watch(watched);
  owner->Free();
  EXPECT_EQ(heard, std::vector<std::string>{"Watched"});
  EXPECT_EQ(watcher->Ref, nullptr);
  watcher->Free();
}

// ---- free notifications ----

TEST(FreeNotification, AcrossOwnersClearsTheReferenceOnEitherSide) {
  TComponent* left = New<TComponent>(nullptr);
  TComponent* right = New<TComponent>(nullptr);
  TProbe* a = NewProbe(left, "A");
  TProbe* b = NewProbe(right, "B");
  a->Watch(b);
  b->Watch(a);
  EXPECT_TRUE(a->ComponentState().Contains(csFreeNotification));
  EXPECT_TRUE(b->ComponentState().Contains(csFreeNotification));

  b->Free();
  EXPECT_EQ(a->Ref, nullptr);
  EXPECT_EQ(a->CountOf(b, opRemove), 1);
  // A's later destruction must not reach the freed B (ASan watches).
  left->Free();
  right->Free();
}

TEST(FreeNotification, IsMutualEvenWhenOnlyOneSideAsked) {
  TProbe* watcher = NewProbe(nullptr);
  TProbe* watched = NewProbe(nullptr);
  watcher->Watch(watched);
  watched->Ref = watcher;  // a reference it never asked about
  watcher->Free();
  EXPECT_EQ(watched->Ref, nullptr);
  watched->Free();
}

TEST(FreeNotification, WithinOneOwnerIsHonoured) {
  TComponent* owner = New<TComponent>(nullptr);
  TProbe* a = NewProbe(owner, "A");
  TProbe* b = NewProbe(owner, "B");
  a->Watch(b);
  b->Free();
  EXPECT_EQ(a->Ref, nullptr);
  EXPECT_GE(a->CountOf(b, opRemove), 1);
  owner->Free();
}

TEST(FreeNotification, WithinOneOwnerSurvivesTheOwnersTeardownInEitherOrder) {
  for (bool watcherFirst : {true, false}) {
    TComponent* owner = New<TComponent>(nullptr);
    TProbe* first = NewProbe(owner);
    TProbe* second = NewProbe(owner);
    (watcherFirst ? first : second)->Watch(watcherFirst ? second : first);
    owner->Free();  // ASan reports a use after free if a notice reaches a freed component
  }
}

TEST(FreeNotification, RemovedNoticeIsNoLongerSent) {
  TProbe* a = NewProbe(nullptr);
  TProbe* b = NewProbe(nullptr);
  a->Watch(b);
  a->RemoveFreeNotification(b);
  b->Free();
  EXPECT_EQ(a->CountOf(b, opRemove), 0);
  EXPECT_EQ(a->Ref, b);  // dangling by design: it said it no longer cares
  a->Free();
}

TEST(FreeNotification, AskingTwiceStillNotifiesOnce) {
  TProbe* a = NewProbe(nullptr);
  TProbe* b = NewProbe(nullptr);
  a->Watch(b);
  b->FreeNotification(a);
  a->FreeNotification(b);
  b->Free();
  EXPECT_EQ(a->CountOf(b, opRemove), 1);
  a->Free();
}

// Frees its victim as soon as it hears that any other component goes.
class TKiller : public TComponent {
  DECLARE_CLASS(TKiller)

 public:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove && component != this) {
      if (component == Victim) Victim = nullptr;
      else FreeAndNil(Victim);
    }
    TComponent::Notification(component, operation);
  }
  TComponent* Victim = nullptr;
};
DEFINE_CLASS(TKiller, TComponent) {}

// Counts destructions so that each component is seen to go exactly once.
class TCounted : public TComponent {
  DECLARE_CLASS(TCounted)

 public:
  static inline int Destroyed = 0;

 protected:
  void Destroy() override {
    ++Destroyed;
    TComponent::Destroy();
  }
};
DEFINE_CLASS(TCounted, TComponent) {}

// The order in which the killer (K), its victim (V) and a bystander (B) join their owner.
class KillerDuringTeardown : public testing::TestWithParam<const char*> {};

TEST_P(KillerDuringTeardown, OwnerTeardownFreesEachComponentOnce) {
  TCounted::Destroyed = 0;
  TComponent* owner = New<TComponent>(nullptr);
  TKiller* killer = nullptr;
  TComponent* victim = nullptr;
  for (const char* p = GetParam(); *p; ++p) {
    if (*p == 'K') killer = New<TKiller>(owner);
    else if (*p == 'V') victim = New<TCounted>(owner);
    else New<TCounted>(owner);
  }
  killer->Victim = victim;
  owner->Free();
  EXPECT_EQ(TCounted::Destroyed, 2);
}

TEST_P(KillerDuringTeardown, FreeingTheBystanderTakesTheVictimAlong) {
  TCounted::Destroyed = 0;
  TComponent* owner = New<TComponent>(nullptr);
  TKiller* killer = nullptr;
  TComponent* victim = nullptr;
  TComponent* bystander = nullptr;
  for (const char* p = GetParam(); *p; ++p) {
    if (*p == 'K') killer = New<TKiller>(owner);
    else if (*p == 'V') victim = New<TCounted>(owner);
    else bystander = New<TCounted>(owner);
  }
  killer->Victim = victim;
  bystander->Free();
  EXPECT_EQ(TCounted::Destroyed, 2);
  EXPECT_EQ(killer->Victim, nullptr);
  EXPECT_EQ(owner->ComponentCount(), 1);
  owner->Free();
}

INSTANTIATE_TEST_SUITE_P(Component, KillerDuringTeardown,
                         testing::Values("KVB", "KBV", "VKB", "VBK", "BKV", "BVK"));

TEST(FreeNotification, WatcherInAnotherOwnerMayFreeComponentsOfTheOwnerBeingFreed) {
  for (bool victimFirst : {true, false}) {
    TCounted::Destroyed = 0;
    TComponent* owner = New<TComponent>(nullptr);
    TComponent* victim = victimFirst ? New<TCounted>(owner) : nullptr;
    TComponent* watched = New<TCounted>(owner);
    if (!victim) victim = New<TCounted>(owner);
    TKiller* killer = New<TKiller>(nullptr);
    killer->Victim = victim;
    watched->FreeNotification(killer);
    victim->FreeNotification(killer);
    owner->Free();
    EXPECT_EQ(TCounted::Destroyed, 2);
    EXPECT_EQ(killer->Victim, nullptr);
    killer->Free();
  }
}

// ---- state ----

TEST(ComponentState, DesigningReachesOwnedComponentsAndLaterOnes) {
  TComponent* root = New<TComponent>(nullptr);
  TProbe* child = NewProbe(root);
  TProbe* grandchild = NewProbe(child);
  root->SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  EXPECT_TRUE(grandchild->ComponentState().Contains(csDesigning));
  TProbe* later = NewProbe(root);
  EXPECT_TRUE(later->ComponentState().Contains(csDesigning));

  child->SetDesigning(false, false);
  EXPECT_FALSE(child->ComponentState().Contains(csDesigning));
  EXPECT_TRUE(grandchild->ComponentState().Contains(csDesigning));
  root->SetDesigning(false);
  EXPECT_FALSE(grandchild->ComponentState().Contains(csDesigning));
  root->Free();
}

// Remembers whether it was still loading when Loaded came.
class TLoading : public TComponent {
  DECLARE_CLASS(TLoading)

 public:
  void Loaded() override {
    WasLoading = ComponentState().Contains(csLoading);
    TComponent::Loaded();
  }
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (TComponent* c : ComponentList())
      if (c->Owner() == root) proc(c);
  }
  bool WasLoading = false;
};
DEFINE_CLASS(TLoading, TComponent) {}

TEST(ComponentState, LoadedClearsLoadingOfEveryComponentRead) {
  TLoading* original = New<TLoading>(nullptr);
  original->SetName("Root1");
  New<TLoading>(original)->SetName("Child1");
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteRootComponent(original);
  }
  original->Free();

  RegisterClass(TLoading::StaticClass());
  stream.SetPosition(0);
  TLoading* root = New<TLoading>(nullptr);
  {
    TReader reader(stream);
    reader.ReadRootComponent(root);
  }
  UnRegisterClass(TLoading::StaticClass());
  auto* child = dynamic_cast<TLoading*>(root->FindComponent("Child1"));
  ASSERT_NE(child, nullptr);
  for (TLoading* c : {root, child}) {
    EXPECT_TRUE(c->WasLoading) << c->Name();
    EXPECT_FALSE(c->ComponentState().Contains(csLoading)) << c->Name();
  }
  root->Free();
}

// ---- published fields ----

TEST(PublishedField, FollowsInsertRenameAndRemove) {
  TFieldRoot* root = New<TFieldRoot>(nullptr);
  TProbe* probe = NewProbe(root);
  EXPECT_EQ(root->Probe1, nullptr);
  probe->SetName("probe1");  // case is ignored
  EXPECT_EQ(root->Probe1, probe);
  probe->SetName("Other");
  EXPECT_EQ(root->Probe1, nullptr);
  probe->SetName("Probe1");
  EXPECT_EQ(root->Probe1, probe);

  TComponent* elsewhere = New<TComponent>(nullptr);
  elsewhere->InsertComponent(probe);
  EXPECT_EQ(root->Probe1, nullptr);
  root->InsertComponent(probe);
  EXPECT_EQ(root->Probe1, probe);
  probe->Free();
  EXPECT_EQ(root->Probe1, nullptr);
  elsewhere->Free();
  root->Free();
}

TEST(PublishedField, SubclassOfTheFieldClassIsStoredAndOtherClassesAreNot) {
  TFieldRoot* root = New<TFieldRoot>(nullptr);
  TOtherProbe* derived = New<TOtherProbe>(root);
  derived->SetName("Probe1");
  EXPECT_EQ(root->Probe1, derived);
  derived->Free();
  TComponent* plain = New<TComponent>(root);
  plain->SetName("Probe1");
  EXPECT_EQ(root->Probe1, nullptr);
  root->Free();
}

TEST(PublishedField, IsClearedWhenTheRootFreesItsComponents) {
  // The field is written while the root tears down: it must still be whole then (ASan).
  TFieldRoot* root = New<TFieldRoot>(nullptr);
  NewProbe(root, "Probe1");
  NewProbe(root, "Probe2");
  root->Free();
}

// ---- two-phase construction ----

class THooked : public TComponent {
  DECLARE_CLASS(THooked)

 public:
  void Create(TComponent* owner) override {
    TComponent::Create(owner);
    Described = Describe();
  }
  void AfterConstruction() override { Finished = !Described.empty(); }
  std::string Described;
  bool Finished = false;

 protected:
  virtual std::string Describe() { return "base"; }
};
DEFINE_CLASS(THooked, TComponent) {}

class THookedChild : public THooked {
  DECLARE_CLASS(THookedChild)

 protected:
  std::string Describe() override { return "child"; }
};
DEFINE_CLASS(THookedChild, THooked) {}

TEST(TwoPhaseConstruction, CreateReachesOverridesOfTheFinalClass) {
  THooked* base = New<THooked>(nullptr);
  THooked* child = New<THookedChild>(nullptr);
  EXPECT_EQ(base->Described, "base");
  EXPECT_EQ(child->Described, "child");
  EXPECT_TRUE(child->Finished);
  EXPECT_EQ(child->ClassName(), "THookedChild");
  EXPECT_TRUE(child->Is<THooked>());
  EXPECT_FALSE(base->Is<THookedChild>());
  base->Free();
  child->Free();
}

class TFailing : public TComponent {
  DECLARE_CLASS(TFailing)

 public:
  static inline int Destroyed = 0;
  void Create(TComponent* owner) override {
    TComponent::Create(owner);
    buffer_ = New<TStringList>();
    buffer_->Add("allocated before the failure");
    throw EComponentError("Cannot create");
  }

 protected:
  void Destroy() override {
    ++Destroyed;
    FreeAndNil(buffer_);
    TComponent::Destroy();
  }

 private:
  TStringList* buffer_ = nullptr;
};
DEFINE_CLASS(TFailing, TComponent) {}

TEST(TwoPhaseConstruction, ExceptionInCreateFreesTheObjectAndPassesOn) {
  TFailing::Destroyed = 0;
  TProbe* owner = NewProbe(nullptr);
  EXPECT_THROW(New<TFailing>(owner), EComponentError);
  EXPECT_EQ(TFailing::Destroyed, 1);
  EXPECT_EQ(owner->ComponentCount(), 0);
  ASSERT_EQ(owner->Notices.size(), 2u);  // inserted, then removed again
  EXPECT_EQ(owner->Notices[1].operation, opRemove);
  owner->Free();
}

TEST(Persistent, AssignOfUnrelatedClassesNamesBoth) {
  TStringList* list = New<TStringList>();
  TComponent* component = New<TComponent>(nullptr);
  try {
    list->Assign(component);
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TStringList");
  }
  try {
    component->Assign(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TComponent");
  }
  component->Free();
  list->Free();
}

}  // namespace

// Insert and remove notices go down the owner tree only to the components that can act on them:
// the classes that hear them and the owners of such components; a watcher is told directly of the
// component it watches. These tests pin down who hears what, in which order, while the tree changes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Component.h"

namespace {

struct Heard {
  std::string listener;
  TComponent* component;
  TOperation operation;
  friend bool operator==(const Heard& a, const Heard& b) {
    return a.listener == b.listener && a.component == b.component && a.operation == b.operation;
  }
};

// Every notice any logging class receives, in order.
std::vector<Heard>& Log() {
  static std::vector<Heard> log;
  return log;
}

std::vector<Heard> HeardOf(TComponent* component, TOperation operation) {
  std::vector<Heard> result;
  for (const Heard& h : Log())
    if (h.component == component && h.operation == operation) result.push_back(h);
  return result;
}

// Hears every notice (its override is public).
class TAllEars : public TComponent {
  DECLARE_CLASS(TAllEars)

 public:
  void Notification(TComponent* component, TOperation operation) override {
    Log().push_back({Name(), component, operation});
    TComponent::Notification(component, operation);
  }
};
DEFINE_CLASS(TAllEars, TComponent) {}

// Acts only on removals, as a control that forgets a menu does; its override is protected.
class TRemovalEars : public TComponent {
  DECLARE_CLASS(TRemovalEars)

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    Log().push_back({Name(), component, operation});
    TComponent::Notification(component, operation);
  }
};
DEFINE_CLASS(TRemovalEars, TComponent) { c.Hears(opRemove); }

// Declares that it acts on no notice at all, but logs whatever still reaches it: what it logs is
// what the routing passes to it for other reasons (it watches a component).
class TNoEars : public TComponent {
  DECLARE_CLASS(TNoEars)

 public:
  void Notification(TComponent* component, TOperation operation) override {
    Log().push_back({Name(), component, operation});
    TComponent::Notification(component, operation);
  }
};
DEFINE_CLASS(TNoEars, TComponent) { c.Hears(); }

class TInheritsRemovalEars : public TRemovalEars {
  DECLARE_CLASS(TInheritsRemovalEars)
};
DEFINE_CLASS(TInheritsRemovalEars, TRemovalEars) {}

// Overrides again below a class that narrowed its notices, without narrowing its own.
class TOverridesAgain : public TRemovalEars {
  DECLARE_CLASS(TOverridesAgain)

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TRemovalEars::Notification(component, operation);
  }
};
DEFINE_CLASS(TOverridesAgain, TRemovalEars) {}

class TPlain : public TComponent {
  DECLARE_CLASS(TPlain)
};
DEFINE_CLASS(TPlain, TComponent) {}

// Overrides Notification but declares no class information of its own, so the class information
// it answers with is its parent's, which hears nothing.
class TUndeclared : public TPlain {
 public:
  void Notification(TComponent* component, TOperation operation) override {
    Log().push_back({Name(), component, operation});
    TPlain::Notification(component, operation);
  }
};

// Named before it is inserted, so that it hears its own insertion under its name.
template <class T>
T* Make(TComponent* owner, const std::string& name) {
  T* c = New<T>(nullptr);
  c->SetName(name);
  if (owner) owner->InsertComponent(c);
  return c;
}

class NotificationRoute : public testing::Test {
 protected:
  void SetUp() override { Log().clear(); }
  void TearDown() override {
    for (TComponent* c : roots_) c->Free();
  }
  template <class T = TPlain>
  T* Root(const std::string& name) {
    T* root = Make<T>(nullptr, name);
    roots_.push_back(root);
    return root;
  }
  std::vector<TComponent*> roots_;
};

std::vector<std::string> Listeners(const std::vector<Heard>& heard) {
  std::vector<std::string> names;
  for (const Heard& h : heard) names.push_back(h.listener);
  return names;
}

using Names = std::vector<std::string>;

}  // namespace

// ---- what a class hears ----

struct ClassNotices {
  const char* name;
  const TClassInfo& (*cls)();
  bool insertions, removals;
};

class ClassHears : public testing::TestWithParam<ClassNotices> {};

TEST_P(ClassHears, FollowsItsOwnOverrideAndItsAncestors) {
  uint8_t notices = GetParam().cls().Notices();
  EXPECT_EQ((notices >> opInsert) & 1, GetParam().insertions);
  EXPECT_EQ((notices >> opRemove) & 1, GetParam().removals);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, ClassHears,
    testing::Values(ClassNotices{"Component", &TComponent::StaticClass, false, false},
                    ClassNotices{"Plain", &TPlain::StaticClass, false, false},
                    ClassNotices{"NonComponent", &TPersistent::StaticClass, false, false},
                    ClassNotices{"PublicOverride", &TAllEars::StaticClass, true, true},
                    ClassNotices{"ProtectedNarrowed", &TRemovalEars::StaticClass, false, true},
                    ClassNotices{"NarrowedToNone", &TNoEars::StaticClass, false, false},
                    ClassNotices{"Inherited", &TInheritsRemovalEars::StaticClass, false, true},
                    ClassNotices{"OverriddenAgain", &TOverridesAgain::StaticClass, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- who hears, in which order ----

TEST_F(NotificationRoute, NoticesReachTheHearersBelowTheOwnerLastFirstAndSkipTheRest) {
  TPlain* owner = Root("Owner");
  Make<TAllEars>(owner, "A");
  Make<TPlain>(owner, "Q");
  Make<TRemovalEars>(owner, "R");
  auto* b = Make<TPlain>(owner, "B");
  Make<TAllEars>(b, "G");
  auto* w = Make<TNoEars>(owner, "W");
  TPlain* elsewhere = Root("Elsewhere");
  w->FreeNotification(Make<TPlain>(elsewhere, "Watched"));
  Log().clear();

  auto* x = Make<TAllEars>(owner, "X");
  EXPECT_EQ(Listeners(HeardOf(x, opInsert)), (Names{"X", "G", "A"}));

  elsewhere->InsertComponent(x);
  // W watches another component only: the removal of X is none of its business.
  EXPECT_EQ(Listeners(HeardOf(x, opRemove)), (Names{"X", "G", "R", "A"}));
}

TEST_F(NotificationRoute, ManySiblingsThatIgnoreInsertionsHearNoneOfThem) {
  TPlain* owner = Root("Owner");
  for (int i = 0; i < 200; ++i) Make<TRemovalEars>(owner, "R" + std::to_string(i));
  Make<TAllEars>(owner, "A");
  for (const Heard& h : Log()) EXPECT_TRUE(h.operation == opRemove || h.listener == "A" ||
                                           h.listener == h.component->Name())
      << h.listener << " heard " << h.component->Name() << " inserted";
  TComponent* first = owner->Components(0);
  Log().clear();
  first->Free();
  EXPECT_EQ(HeardOf(first, opRemove).size(), 201u);  // itself, the 199 others and A
}

// A watcher that hears no owner notices is told of the component it watches, directly and before
// the owner's walk, and of nothing else; many such watchers cost nothing per sibling that goes.
TEST_F(NotificationRoute, AWatcherIsToldOfWhatItWatchesOnly) {
  TPlain* owner = Root("Owner");
  Make<TAllEars>(owner, "H1");
  auto* s = Make<TNoEars>(owner, "S");
  Make<TAllEars>(owner, "H2");
  auto* x = Make<TPlain>(owner, "X");
  auto* y = Make<TPlain>(owner, "Y");
  s->FreeNotification(x);
  Log().clear();
  y->Free();
  EXPECT_EQ(Listeners(HeardOf(y, opRemove)), (Names{"H2", "H1"}));
  x->Free();
  EXPECT_EQ(Listeners(HeardOf(x, opRemove)), (Names{"S", "H2", "H1"}));
}

// Adds a hearing component to the owner when it hears a removal, so that the list of those who
// take removals grows while the walk is passing it on.
class TRecruiter : public TAllEars {
  DECLARE_CLASS(TRecruiter)

 public:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove && Into) {
      TComponent* into = Into;
      Into = nullptr;
      Make<TAllEars>(into, "New");
    }
    TAllEars::Notification(component, operation);
  }
  TComponent* Into = nullptr;
};
DEFINE_CLASS(TRecruiter, TAllEars) {}

TEST_F(NotificationRoute, ListenersJoiningMidWalkNeitherSkipNorRepeatAnyone) {
  TPlain* owner = Root("Owner");
  Make<TAllEars>(owner, "H1");
  auto* k = Make<TRecruiter>(owner, "K");
  auto* x = Make<TPlain>(owner, "X");
  k->Into = owner;
  Log().clear();
  x->Free();
  // The newcomer stands after the walk's place: it is not told of a removal that began before it.
  EXPECT_EQ(Listeners(HeardOf(x, opRemove)), (Names{"K", "H1"}));
}

TEST_F(NotificationRoute, AMovedSubtreeHearsItsNewOwnerOnly) {
  TPlain* first = Root("First");
  TPlain* second = Root("Second");
  auto* b = Make<TPlain>(first, "B");
  auto* g = Make<TAllEars>(b, "G");
  second->InsertComponent(b);
  Log().clear();
  auto* intoFirst = Make<TPlain>(first, "One");
  auto* intoSecond = Make<TPlain>(second, "Two");
  EXPECT_TRUE(HeardOf(intoFirst, opInsert).empty());
  EXPECT_EQ(Listeners(HeardOf(intoSecond, opInsert)), (Names{"G"}));

  // Once G is gone nothing routes to B any more; the owner still works.
  g->Free();
  Log().clear();
  auto* another = Make<TAllEars>(second, "Three");
  EXPECT_EQ(Listeners(HeardOf(another, opInsert)), (Names{"Three"}));
}

TEST_F(NotificationRoute, AClassWithoutClassInformationOfItsOwnHearsEverything) {
  TPlain* owner = Root("Owner");
  Make<TUndeclared>(owner, "U");
  auto* x = Make<TPlain>(owner, "X");
  EXPECT_EQ(Listeners(HeardOf(x, opInsert)), (Names{"U"}));
}

TEST_F(NotificationRoute, AWatcherThatStopsWatchingLeavesTheRoute) {
  TPlain* owner = Root("Owner");
  auto* w = Make<TNoEars>(owner, "W");
  auto* watched = Make<TPlain>(Root("Elsewhere"), "Watched");
  w->FreeNotification(watched);
  w->RemoveFreeNotification(watched);
  Log().clear();
  Make<TPlain>(owner, "X")->Free();
  EXPECT_TRUE(Log().empty());
}

// ---- destruction notices ----

TEST_F(NotificationRoute, DestructionNoticesStayMutualForClassesThatHearOnlyRemovals) {
  auto* a = Make<TRemovalEars>(Root("First"), "A");
  auto* b = Make<TInheritsRemovalEars>(Root("Second"), "B");
  a->FreeNotification(b);  // only A asked
  Log().clear();
  a->Free();
  // The peer hears first, from A's own teardown; A then hears itself leave its owner.
  EXPECT_EQ(Listeners(HeardOf(a, opRemove)), (Names{"B", "A"}));

  auto* c = Make<TRemovalEars>(Root("Third"), "C");
  c->FreeNotification(b);
  Log().clear();
  b->Free();
  EXPECT_EQ(Listeners(HeardOf(b, opRemove)), (Names{"C", "B"}));
}

TEST_F(NotificationRoute, AWatcherOfASiblingMovedAwayDropsTheLinkAtOnce) {
  TPlain* owner = Root("Owner");
  auto* w = Make<TNoEars>(owner, "W");
  auto* v = Make<TPlain>(owner, "V");
  w->FreeNotification(v);
  Log().clear();
  Root("Elsewhere")->InsertComponent(v);
  EXPECT_EQ(Listeners(HeardOf(v, opRemove)), (Names{"W"}));
  Log().clear();
  v->Free();
  EXPECT_TRUE(HeardOf(v, opRemove).empty());
}

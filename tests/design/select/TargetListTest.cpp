// The selection's target list and its receivers: mutual links, the broadcast of every change in
// link order, aligned positions, and nothing left dangling whoever is destroyed first.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "design/select/DsnList.h"

namespace {

// A receiver that keeps a mirror of the selection, as the real ones do, logs every call in a log
// shared with the other receivers, and runs `during` (when set) inside each call.
class TRecorder : public TReceiveTargets {
 public:
  TRecorder(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}

  void ForgetTarget(int index) override {
    mirror.at(static_cast<size_t>(index)) = nullptr;
    Note("Forget" + std::to_string(index));
  }
  void AddTarget(TComponent* target) override {
    mirror.push_back(target);
    Note("Add");
  }
  void ClearTargets() override {
    mirror.clear();
    Note("Clear");
  }
  void DeleteTarget(int index) override {
    mirror.erase(mirror.begin() + index);
    Note("Delete" + std::to_string(index));
  }
  void TargetsChanged() override { Note("Changed"); }

  std::vector<TComponent*> mirror;
  std::function<void()> during;

 private:
  void Note(const std::string& call) {
    if (log_) log_->push_back(name_ + "." + call);
    if (std::function<void()> run = during) run();  // `during` may replace itself
  }
  std::string name_;
  std::vector<std::string>* log_;
};

TRecorder* NewRecorder(const std::string& name, std::vector<std::string>* log = nullptr) {
  auto* r = new TRecorder(name, log);
  r->Create();
  return r;
}

// The peers a receiver lists, empty when it has no list yet.
std::vector<TReceiveTargets*> PeersOf(const TReceiveTargets* r) {
  std::vector<TReceiveTargets*> peers;
  if (r->Receivers())
    for (TReceiveTargets* p : *r->Receivers()) peers.push_back(p);
  return peers;
}

std::vector<TComponent*> Targets(const TTargetList* list) {
  std::vector<TComponent*> targets;
  for (int i = 0; i < list->Count(); ++i) targets.push_back(list->Target(i));
  return targets;
}

class TargetListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list = New<TTargetList>();
    for (TComponent*& c : components) c = New<TComponent>(nullptr);
  }
  void TearDown() override {
    if (list) list->Free();
    for (TComponent* c : components)
      if (c) c->Free();
  }

  TTargetList* list = nullptr;
  TComponent* components[3] = {};
  std::vector<std::string> log;
};

}  // namespace

TEST_F(TargetListTest, LinksAreMutualAndMadeOnce) {
  TRecorder* r = NewRecorder("r");
  EXPECT_EQ(list->Receivers(), nullptr);
  list->Link(r);
  list->Link(r);
  r->Link(list);
  list->Link(nullptr);
  list->Link(list);
  EXPECT_EQ(PeersOf(list), std::vector<TReceiveTargets*>{r});
  EXPECT_EQ(PeersOf(r), std::vector<TReceiveTargets*>{list});

  r->Unlink(list);  // from either side, both let go
  EXPECT_TRUE(PeersOf(list).empty());
  EXPECT_TRUE(PeersOf(r).empty());
  r->Free();
}

TEST_F(TargetListTest, CountIsMinusOneAndLookupsEmptyWithoutTheList) {
  auto* bare = new TTargetList();  // not made through Create: no list of targets
  EXPECT_FALSE(bare->HasList());
  EXPECT_EQ(bare->Count(), -1);
  EXPECT_EQ(bare->Target(0), nullptr);
  EXPECT_EQ(bare->IndexOf(components[0]), -1);
  bare->Free();

  EXPECT_EQ(list->Count(), 0);
  list->AddTarget(components[0]);
  EXPECT_EQ(list->Target(list->Count()), nullptr);
  EXPECT_EQ(list->Target(-1), nullptr);
  EXPECT_EQ(list->IndexOf(nullptr), -1);
}

// Every receiver hears each change after the list has made it, in the order they were linked; a
// receiver that reads the list during the call sees the new state.
TEST_F(TargetListTest, ChangesReachEveryReceiverInLinkOrderAfterTheList) {
  TRecorder* first = NewRecorder("first", &log);
  TRecorder* second = NewRecorder("second", &log);
  list->Link(first);
  list->Link(second);
  std::vector<int> countsSeen;
  first->during = [&] { countsSeen.push_back(list->Count()); };

  list->AddTarget(components[0]);
  list->AddTarget(components[0]);  // no duplicate test: a second entry
  list->TargetsChanged();
  list->ClearTargets();
  EXPECT_EQ(log, (std::vector<std::string>{"first.Add", "second.Add", "first.Add", "second.Add",
                                           "first.Changed", "second.Changed", "first.Clear", "second.Clear"}));
  EXPECT_EQ(countsSeen, (std::vector<int>{1, 2, 2, 0}));
  first->Free();
  second->Free();
}

// ForgetTarget empties a place everywhere without moving the others; the DeleteTarget that follows
// closes the gap in every mirror at once.
TEST_F(TargetListTest, ForgetKeepsPositionsAlignedUntilTheFollowingDelete) {
  TRecorder* r = NewRecorder("r");
  list->Link(r);
  for (TComponent* c : components) list->AddTarget(c);

  list->ForgetTarget(1);
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(Targets(list), (std::vector<TComponent*>{components[0], nullptr, components[2]}));
  EXPECT_EQ(r->mirror, Targets(list));
  EXPECT_EQ(list->IndexOf(components[2]), 2);

  list->DeleteTarget(1);
  EXPECT_EQ(Targets(list), (std::vector<TComponent*>{components[0], components[2]}));
  EXPECT_EQ(r->mirror, Targets(list));
  EXPECT_EQ(list->IndexOf(components[2]), 1);

  // A place that does not exist is refused before any receiver hears of it.
  EXPECT_THROW(list->DeleteTarget(2), EListError);
  EXPECT_THROW(list->ForgetTarget(-1), EListError);
  EXPECT_EQ(r->mirror.size(), 2u);
  r->Free();
}

// The list holds its targets weakly: one destroyed without the register's ForgetTarget reads as an
// empty place, never as a freed object, and the places stay where they were.
TEST_F(TargetListTest, TargetDestroyedWithoutForgetReadsAsAnEmptyPlace) {
  for (TComponent* c : components) list->AddTarget(c);
  components[1]->Free();
  TComponent* gone = components[1];
  components[1] = nullptr;
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Target(1), nullptr);
  EXPECT_EQ(list->IndexOf(gone), -1);
  EXPECT_EQ(list->Target(2), components[2]);
}

TEST_F(TargetListTest, DestroyingEitherSideUnlinksBoth) {
  TRecorder* a = NewRecorder("a");
  TRecorder* b = NewRecorder("b");
  list->Link(a);
  list->Link(b);
  a->Link(b);  // receivers may be linked among themselves too

  a->Free();
  EXPECT_EQ(PeersOf(list), std::vector<TReceiveTargets*>{b});
  EXPECT_EQ(PeersOf(b), std::vector<TReceiveTargets*>{list});

  // The list is freed first, then unlinked: a receiver hearing of it finds no list any more.
  int countSeen = 0;
  struct TWatcher : TRecorder {
    using TRecorder::TRecorder;
    void Unlink(TReceiveTargets* r) override {
      if (seen) *seen = static_cast<TTargetList*>(r)->Count();
      TRecorder::Unlink(r);
    }
    int* seen = nullptr;
  };
  auto* watcher = new TWatcher("w", nullptr);
  watcher->Create();
  watcher->seen = &countSeen;
  list->Link(watcher);
  list->AddTarget(components[0]);
  list->Free();
  list = nullptr;
  EXPECT_EQ(countSeen, -1);
  EXPECT_TRUE(PeersOf(b).empty());
  EXPECT_TRUE(PeersOf(watcher).empty());
  b->Free();
  watcher->seen = nullptr;
  delete watcher;  // deleted without Free: still no peer would keep it
}

// A receiver may free or unlink other receivers, or the list itself, while a change is being
// broadcast: those no longer linked are skipped, and the broadcast ends quietly.
TEST_F(TargetListTest, ReceiversChangedDuringABroadcastAreSkippedSafely) {
  TRecorder* a = NewRecorder("a", &log);
  TRecorder* b = NewRecorder("b", &log);
  TRecorder* c = NewRecorder("c", &log);
  TRecorder* d = NewRecorder("d", &log);
  for (TRecorder* r : {a, b, c, d}) list->Link(r);
  a->during = [&] {
    a->during = nullptr;
    b->Free();
    list->Unlink(c);
  };
  list->AddTarget(components[0]);
  EXPECT_EQ(log, (std::vector<std::string>{"a.Add", "d.Add"}));
  EXPECT_EQ(PeersOf(list), (std::vector<TReceiveTargets*>{a, d}));

  log.clear();
  a->during = [&] {
    a->during = nullptr;
    list->Free();
    list = nullptr;
  };
  TTargetList* dying = list;
  dying->TargetsChanged();
  EXPECT_EQ(log, std::vector<std::string>{"a.Changed"});
  EXPECT_TRUE(PeersOf(a).empty());
  EXPECT_TRUE(PeersOf(d).empty());
  for (TRecorder* r : {a, c, d}) r->Free();
}

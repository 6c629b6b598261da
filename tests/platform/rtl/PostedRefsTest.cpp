// Posted references give an object back only while it lives, and only once.

#include "platform/rtl/PostedRefs.h"

#include "platform/rtl/Component.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PostedRefs, GiveALiveComponentBackOnce) {
  auto* component = New<TComponent>(nullptr);
  const uintptr_t id = PostableRef(component);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(TakePostedRef<TComponent>(id), component);
  EXPECT_EQ(TakePostedRef<TComponent>(id), nullptr) << "an id is good for one take";
  component->Free();
}

TEST(PostedRefs, NeverGiveBackAFreedComponentEvenWhenAnotherTakesItsPlace) {
  auto* owner = New<TComponent>(nullptr);
  auto* doomed = New<TComponent>(owner);
  const uintptr_t id = PostableRef(doomed);
  doomed->Free();
  // Components made meanwhile may reuse the freed address; none of them may answer the id.
  std::vector<TComponent*> made;
  for (int i = 0; i < 16; ++i) made.push_back(New<TComponent>(owner));
  EXPECT_EQ(TakePostedRef<TComponent>(id), nullptr);
  owner->Free();
}

TEST(PostedRefs, NullUnknownAndWrongTypeGiveNothing) {
  EXPECT_EQ(PostableRef(nullptr), 0u);
  EXPECT_EQ(TakePostedRef<TComponent>(0), nullptr);
  EXPECT_EQ(TakePostedRef<TComponent>(987654321), nullptr);
  auto* component = New<TComponent>(nullptr);
  EXPECT_EQ(TakePostedRef<TPersistent>(PostableRef(component)), component) << "a base class fits";
  component->Free();
}

TEST(PostedRefs, EntriesOfDroppedMessagesArePrunedButLiveOnesStay) {
  auto* kept = New<TComponent>(nullptr);
  const uintptr_t keptId = PostableRef(kept);
  // Ids of messages that never ran, for components long gone: the table must not keep them all.
  for (int i = 0; i < 10000; ++i) {
    auto* gone = New<TComponent>(nullptr);
    PostableRef(gone);
    gone->Free();
  }
  EXPECT_LT(PostedRefCount(), 1000);
  EXPECT_EQ(TakePostedRef<TComponent>(keptId), kept);
  kept->Free();
}

}  // namespace

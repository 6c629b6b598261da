#pragma once
// References that travel in posted messages. A posted message runs later, from the event loop; by
// then the object it names may be gone and its address reused by another. So a message carries an
// id from this table, never an address: the id is taken back once, and gives the object only when
// it still lives.

#include <cstdint>
#include <memory>

#include "platform/rtl/Object.h"

// Registers `object`, alive until its teardown begins, and returns a non-zero id for a message
// parameter. A null object gives 0.
uintptr_t PostableRef(TObject* object);

// Takes the entry back: the object when it still lives, else null (also for 0 and unknown ids).
// An id is good for one take.
TObject* TakePostedRef(uintptr_t id);
template <class T>
T* TakePostedRef(uintptr_t id) {
  return dynamic_cast<T*>(TakePostedRef(id));
}

// Entries not yet taken back (their messages may have been dropped with their window); stale ones
// are pruned as the table grows.
int PostedRefCount();

#pragma once
// Trace points on the way a newcomer reads the design framework first: from a press on an element
// to the property window showing it. They cost a test of one flag and record nothing unless a test
// asks; the test then checks that the way stays short (see docs/architecture.md, "A press, file by
// file").

#include <vector>

struct TDsnWalkStep {
  const char* File;
  const char* Function;
};

class TDsnWalk {
 public:
  // Starts recording afresh, or stops.
  static void Record(bool on) {
    recording_ = on;
    if (on) steps_.clear();
  }
  static const std::vector<TDsnWalkStep>& Steps() { return steps_; }
  static void Step(const char* file, const char* function) {
    if (recording_) steps_.push_back({file, function});
  }

 private:
  static inline bool recording_ = false;
  static inline std::vector<TDsnWalkStep> steps_;
};

#define DSN_WALK() TDsnWalk::Step(__FILE__, __func__)

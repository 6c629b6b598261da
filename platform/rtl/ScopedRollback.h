#pragma once
// Scoped objects that put state back on every way out of a scope, an exception included, so that
// no code has to restore it by hand in a catch block.
//
//   TScopedRollback keepPath(propPath_, propPath_ + "Font.");  // propPath_ is back at the end
//   TScopeExit done([&] { component->ExcludeState(csWriting); });

#include <utility>

// Remembers a variable's value and assigns it back when the scope ends; the second constructor
// also gives the variable a new value for the scope. Meant for values whose move assignment
// cannot throw (pointers, flags, strings).
template <class T>
class TScopedRollback {
 public:
  explicit TScopedRollback(T& variable) : variable_(variable), saved_(variable) {}
  TScopedRollback(T& variable, T value) : variable_(variable), saved_(variable) {
    variable_ = std::move(value);
  }
  ~TScopedRollback() { variable_ = std::move(saved_); }
  TScopedRollback(const TScopedRollback&) = delete;
  TScopedRollback& operator=(const TScopedRollback&) = delete;

 private:
  T& variable_;
  T saved_;
};

// Runs a function when the scope ends. The function must not throw: it may run while an
// exception unwinds the stack.
template <class F>
class TScopeExit {
 public:
  explicit TScopeExit(F action) : action_(std::move(action)) {}
  ~TScopeExit() { action_(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

 private:
  F action_;
};

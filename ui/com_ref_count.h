#pragma once
// The reference count of one of the launcher's own COM objects. Every count
// also feeds a tally over all of them, the way a COM server keeps its object
// count for DllCanUnloadNow; it is zero when nobody holds any of our objects.

#include <windows.h>

class ComRefCount {
public:
  // Starts with the creator's reference.
  ComRefCount() { InterlockedIncrement(&tally_); }
  ComRefCount(const ComRefCount&) = delete;
  ComRefCount& operator=(const ComRefCount&) = delete;

  ULONG Add() {
    InterlockedIncrement(&tally_);
    return static_cast<ULONG>(InterlockedIncrement(&count_));
  }
  // The count left; the owner deletes itself at zero.
  ULONG Drop() {
    InterlockedDecrement(&tally_);
    return static_cast<ULONG>(InterlockedDecrement(&count_));
  }

  // References held to any of our objects, process-wide.
  static LONG Outstanding() { return InterlockedCompareExchange(&tally_, 0, 0); }

private:
  LONG count_ = 1;
  static inline LONG tally_ = 0;
};

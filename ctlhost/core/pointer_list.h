// The growable pointer lists of the control container library: every list
// of containers, items, subscriptions, value holders and lifetime objects
// keeps pointers in slots, a free slot holding null.  A new entry takes the
// first free slot, else the array grows by the list's step (the new slots
// zeroed); removing nulls the slot and never shrinks the array, so an index
// handed out stays valid while its entry lives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace ctlhost {

// Results of PointerList::Register (the lifetime registry's codes).
enum class RegisterResult : int32_t {
  kAdded = 0,
  kNullPointer = 1,   // null is never registered
  kAlreadyThere = 2,  // the pointer has a slot already
  kNoMemory = 3,      // the array could not grow
};

class PointerList {
 public:
  explicit PointerList(size_t growthStep) : step_(growthStep == 0 ? 1 : growthStep) {}

  // The slot index taken, or -1 when the array could not grow.  Null and
  // duplicates are stored like any pointer (the lists that care use
  // Register).
  int32_t Add(void* pointer);
  // Add with the registry's refusals: null and duplicates are not stored.
  RegisterResult Register(void* pointer);
  // Nulls the slot holding the pointer; false when it holds none.
  bool Remove(void* pointer);
  bool Contains(const void* pointer) const { return IndexOf(pointer) >= 0; }
  int32_t IndexOf(const void* pointer) const;

  size_t SlotCount() const { return slots_.size(); }
  void* At(size_t index) const { return index < slots_.size() ? slots_[index] : nullptr; }
  size_t CountUsed() const;
  // The entries in slot order, free slots skipped (a copy, so the caller
  // may remove entries while it walks them).
  std::vector<void*> Entries() const;
  void Clear() { slots_.clear(); }

 private:
  size_t step_;
  std::vector<void*> slots_;
};

}  // namespace ctlhost

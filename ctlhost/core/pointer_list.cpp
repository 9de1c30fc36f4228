// Growable pointer lists with first-free-slot reuse; see pointer_list.h.
#include "core/pointer_list.h"

namespace ctlhost {

int32_t PointerList::Add(void* pointer) {
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i] == nullptr) {
      slots_[i] = pointer;
      return static_cast<int32_t>(i);
    }
  }
  const size_t index = slots_.size();
  if (index + step_ > static_cast<size_t>(INT32_MAX)) return -1;
  try {
    slots_.resize(index + step_, nullptr);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  slots_[index] = pointer;
  return static_cast<int32_t>(index);
}

RegisterResult PointerList::Register(void* pointer) {
  if (pointer == nullptr) return RegisterResult::kNullPointer;
  if (Contains(pointer)) return RegisterResult::kAlreadyThere;
  return Add(pointer) < 0 ? RegisterResult::kNoMemory : RegisterResult::kAdded;
}

bool PointerList::Remove(void* pointer) {
  if (pointer == nullptr) return false;
  for (auto& slot : slots_) {
    if (slot == pointer) {
      slot = nullptr;
      return true;
    }
  }
  return false;
}

int32_t PointerList::IndexOf(const void* pointer) const {
  if (pointer == nullptr) return -1;
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i] == pointer) return static_cast<int32_t>(i);
  }
  return -1;
}

size_t PointerList::CountUsed() const {
  size_t count = 0;
  for (void* slot : slots_) count += slot != nullptr;
  return count;
}

std::vector<void*> PointerList::Entries() const {
  std::vector<void*> entries;
  for (void* slot : slots_) {
    if (slot != nullptr) entries.push_back(slot);
  }
  return entries;
}

}  // namespace ctlhost

// The COM thread table; see com_threads.h.
#include "com_threads.h"

#include <objbase.h>

#include <new>

#include "core/names.h"

namespace ctlhost {

namespace {
constexpr int kTagLookup = 2000;
constexpr int kTagRecord = 2001;
}  // namespace

ComThreads::ComThreads() {
  mutex_.Open(AddressedBase("COTHREADCONTAINERx", reinterpret_cast<uintptr_t>(this)));
}

ComThreads::~ComThreads() { mutex_.Close(); }

int ComThreads::FreeEntry() {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].threadId == 0) return static_cast<int>(i);
  }
  try {
    entries_.resize(entries_.size() + kGrowth);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return static_cast<int>(entries_.size() - kGrowth);
}

int ComThreads::EnsureCom() {
  const DWORD self = GetCurrentThreadId();
  {
    QxLock lock(mutex_, kTagLookup);
    for (Entry& entry : entries_) {
      if (entry.threadId == self) {
        ++entry.useCount;
        return 0;
      }
    }
    if (FreeEntry() < 0) return 1;
  }
  HMODULE ole32 = LoadLibraryA("OLE32.dll");
  if (ole32 == nullptr) return 0;  // no COM at all: treated as initialised
  using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
  auto coInitializeEx = reinterpret_cast<CoInitializeExFn>(GetProcAddress(ole32, "CoInitializeEx"));
  int slot;
  {
    QxLock lock(mutex_, kTagRecord);
    slot = FreeEntry();
    if (slot < 0) {
      FreeLibrary(ole32);
      return 1;
    }
    entries_[slot] = {self, COINIT_APARTMENTTHREADED, 1};
  }
  HRESULT hr;
  if (coInitializeEx != nullptr) {
    hr = coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  } else {
    using CoInitializeFn = HRESULT(WINAPI*)(LPVOID);
    auto coInitialize = reinterpret_cast<CoInitializeFn>(GetProcAddress(ole32, "CoInitialize"));
    hr = coInitialize != nullptr ? coInitialize(nullptr) : E_FAIL;
  }
  if (FAILED(hr)) {
    QxLock lock(mutex_, kTagRecord);
    for (Entry& entry : entries_) {
      if (entry.threadId == self) entry = Entry{};
    }
  }
  FreeLibrary(ole32);
  return FAILED(hr) ? 2 : 0;
}

void ComThreads::ForgetThread() {
  const DWORD self = GetCurrentThreadId();
  QxLock lock(mutex_, kTagRecord);
  for (Entry& entry : entries_) {
    if (entry.threadId == self) entry = Entry{};
  }
}

}  // namespace ctlhost

// Per-thread message hooks; see message_hook.h.
#include "message_hook.h"

#include <new>

#include "library.h"

namespace ctlhost {

MessageHooks::MessageHooks() {
  InitializeCriticalSection(&lock_);
  tlsIndex_ = TlsAlloc();
}

MessageHooks::~MessageHooks() {
  RemoveAll();
  if (tlsIndex_ != TLS_OUT_OF_INDEXES) TlsFree(tlsIndex_);
  DeleteCriticalSection(&lock_);
}

void MessageHooks::InstallForThread() {
  const DWORD self = GetCurrentThreadId();
  EnterCriticalSection(&lock_);
  bool known = false;
  for (const Pair& pair : pairs_) known = known || pair.threadId == self;
  if (!known) {
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, &MessageHooks::HookProcedure, nullptr, self);
    if (hook != nullptr) {
      bool stored = false;
      for (Pair& pair : pairs_) {
        if (pair.threadId == 0) {
          pair = {self, hook};
          stored = true;
          break;
        }
      }
      if (!stored) {
        try {
          pairs_.resize(pairs_.size() + 8);
          pairs_[pairs_.size() - 8] = {self, hook};
          stored = true;
        } catch (const std::bad_alloc&) {
        }
      }
      if (stored) {
        if (tlsIndex_ != TLS_OUT_OF_INDEXES) TlsSetValue(tlsIndex_, hook);
      } else {
        UnhookWindowsHookEx(hook);  // a hook that could not be recorded could not be removed
      }
    }
  }
  LeaveCriticalSection(&lock_);
}

void MessageHooks::RemoveForThread() {
  const DWORD self = GetCurrentThreadId();
  EnterCriticalSection(&lock_);
  for (Pair& pair : pairs_) {
    if (pair.threadId == self) {
      UnhookWindowsHookEx(pair.hook);
      pair = Pair{};
    }
  }
  if (tlsIndex_ != TLS_OUT_OF_INDEXES) TlsSetValue(tlsIndex_, nullptr);
  LeaveCriticalSection(&lock_);
}

void MessageHooks::RemoveAll() {
  EnterCriticalSection(&lock_);
  for (Pair& pair : pairs_) {
    if (pair.hook != nullptr) UnhookWindowsHookEx(pair.hook);
    pair = Pair{};
  }
  if (tlsIndex_ != TLS_OUT_OF_INDEXES) TlsSetValue(tlsIndex_, nullptr);
  LeaveCriticalSection(&lock_);
}

LRESULT CALLBACK MessageHooks::HookProcedure(int code, WPARAM wParam, LPARAM lParam) {
  Library* library = CurrentLibrary();
  HHOOK hook = nullptr;
  if (library != nullptr && library->hooks.tlsIndex_ != TLS_OUT_OF_INDEXES) {
    hook = static_cast<HHOOK>(TlsGetValue(library->hooks.tlsIndex_));
  }
  if (hook == nullptr) return 0;
  // Only a message taken from the queue is acted on: a look with
  // PM_NOREMOVE sees the same message again later, and acting on both would
  // move the focus twice or press a button twice.
  if (code >= 0 && (wParam & PM_REMOVE) != 0) {
    PreTranslateHostMessage(reinterpret_cast<MSG*>(lParam), library->hooks.translateFlag != 0);
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace ctlhost

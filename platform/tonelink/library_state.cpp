// The shared state and the end of every call; see library_state.h.
#include "library_state.h"

#include <atomic>

namespace tonelink {

namespace {

std::mutex g_stateMutex;
LibraryState g_state;
std::atomic<int32_t> g_lastError{kErrorNone};

}  // namespace

std::unique_lock<std::mutex> LockState() { return std::unique_lock<std::mutex>(g_stateMutex); }

std::unique_lock<std::mutex> TryLockState() {
  return std::unique_lock<std::mutex>(g_stateMutex, std::try_to_lock);
}

LibraryState& State() { return g_state; }

uint64_t NowMs() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 ||
      !QueryPerformanceCounter(&counter)) {
    return GetTickCount();
  }
  // Whole seconds and the rest apart, so the product cannot overflow.
  uint64_t ticks = static_cast<uint64_t>(counter.QuadPart);
  uint64_t perSecond = static_cast<uint64_t>(frequency.QuadPart);
  return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

void SetErrorCode(int32_t code) { g_lastError.store(code); }

int32_t LastErrorCode() { return g_lastError.load(); }

ErrorCode LoadedOrError() { return g_state.isLoaded ? kErrorNone : kErrorNotLoaded; }

ErrorCode HandleCallError(ErrorCode argumentsError) {
  auto lock = LockState();
  ErrorCode code = LoadedOrError();
  if (code != kErrorNone) return code;
  return argumentsError != kErrorNone ? argumentsError : kErrorHandle;
}

int32_t Finish(const orbtrace::CallLine& call, ErrorCode code, int32_t result) {
  SetErrorCode(code);
  orbtrace::WriteCall(call, result);
  return result;
}

uint32_t FinishUnsigned(const orbtrace::CallLine& call, ErrorCode code, uint32_t result) {
  SetErrorCode(code);
  orbtrace::WriteCall(call, static_cast<int64_t>(result));
  return result;
}

std::string WindowArgument(HWND window) {
  return std::to_string(reinterpret_cast<uintptr_t>(window));
}

std::string PointerArgument(const void* pointer) { return pointer ? "buffer" : "NULL"; }

std::string OutNumberArgument(const int32_t* value) {
  return value ? "out:" + std::to_string(*value) : "out:NULL";
}

}  // namespace tonelink

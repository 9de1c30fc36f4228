// What every export does around its work: no exception leaves the DLL (an
// allocation that fails becomes kErrorNoMemory), and the call is written to
// the trace file when ORB_TRACE names one.
#pragma once

#include <cstdint>
#include <new>

#include "error_codes.h"
#include "trace_writer.h"

namespace imaging {

inline orbtrace::CallLine Call(const char* function) { return orbtrace::CallLine("imaging", function); }

inline int32_t Traced(const orbtrace::CallLine& call, int32_t result) {
  if (orbtrace::IsEnabled()) orbtrace::WriteCall(call, result);
  return result;
}

// Runs `work` (returning a result code), turning any exception into kErrorNoMemory.
template <typename Work>
int32_t Guarded(Work work) {
  try {
    return work();
  } catch (...) {
    return kErrorNoMemory;
  }
}

}  // namespace imaging

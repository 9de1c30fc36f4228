// Saving a control's persistent state into a string and loading it back.
// The string is a BSTR used as a byte container: its bytes are the whole
// memory block the control saved into, with no header.  Loading takes the
// string's byte length (SysStringByteLen), so a block of odd size reaches
// the control whole.  Neither export takes the API lock.
#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <new>
#include <string>

#include "core/state_string.h"
#include "ctlhost20.h"

namespace {

// The control's stream persistence: IPersistStream, else IPersistStreamInit
// (both start with Load and Save in the same places).
IPersistStream* StreamPersistence(IUnknown* control) {
  IPersistStream* persist = nullptr;
  if (SUCCEEDED(control->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist))) && persist) {
    return persist;
  }
  IPersistStreamInit* init = nullptr;
  if (SUCCEEDED(control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&init))) && init) {
    return reinterpret_cast<IPersistStream*>(init);
  }
  return nullptr;
}

}  // namespace

extern "C" int WINAPI QXSaveControlToString(IUnknown* control, BSTR* out) {
  if (out != nullptr) *out = nullptr;
  if (control == nullptr || out == nullptr) return 1;
  IPersistStream* persist = StreamPersistence(control);
  if (persist == nullptr) return 2;
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) || stream == nullptr) {
    persist->Release();
    return 3;
  }
  int result = 0;
  HGLOBAL memory = nullptr;
  if (FAILED(persist->Save(stream, FALSE))) {
    result = 4;
  } else if (FAILED(GetHGlobalFromStream(stream, &memory)) || memory == nullptr) {
    result = 5;
  } else if (void* bytes = GlobalLock(memory)) {
    const ctlhost::StateStringShape shape = ctlhost::ShapeOfStateBlock(GlobalSize(memory));
    std::string copy;
    try {
      copy.assign(static_cast<const char*>(bytes), shape.byteLength);
    } catch (const std::bad_alloc&) {
      result = 7;
    }
    GlobalUnlock(memory);
    if (result == 0) {
      *out = SysAllocStringByteLen(copy.data(), shape.byteLength);
      if (*out == nullptr) result = 8;
    }
  } else {
    result = 6;
  }
  stream->Release();
  persist->Release();
  return result;
}

extern "C" int WINAPI QXLoadControlFromString(IUnknown* control, BSTR data) {
  if (control == nullptr || data == nullptr) return 1;
  std::string block;
  const ctlhost::StateReadResult read =
      ctlhost::ReadStateString(reinterpret_cast<const char*>(data), SysStringByteLen(data), &block);
  if (read == ctlhost::StateReadResult::kEmpty) return 2;
  if (read != ctlhost::StateReadResult::kOk) return 4;
  IPersistStream* persist = StreamPersistence(control);
  if (persist == nullptr) return 3;
  int result = 0;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, block.size());
  if (memory == nullptr) {
    result = 4;
  } else if (void* bytes = GlobalLock(memory)) {
    std::memcpy(bytes, block.data(), block.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream)) || stream == nullptr) {
      GlobalFree(memory);
      result = 6;
    } else {
      if (FAILED(persist->Load(stream))) result = 7;
      stream->Release();
    }
  } else {
    GlobalFree(memory);
    result = 5;
  }
  persist->Release();
  return result;
}

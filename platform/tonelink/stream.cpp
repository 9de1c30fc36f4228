// The current stream: the one stream the library keeps for the players
// (BASSOPEN, BASSPLAY, BASSCLOSE and the calls without a handle that read
// its position, length, level, type and titles).
//
// This library decodes no audio format, so no stream ever opens: BASSOPEN
// reports why each path fails (a missing file, a format it does not decode,
// an internet address) and every call on the current stream answers as the
// programs expect with none open: BASSPLAY fails, the level is 0xFFFFFFFF,
// lengths and positions are 0, titles are "".
#include "stream.h"

#include <windows.h>

#include "library_settings.h"
#include "library_state.h"
#include "output_buffer.h"
#include "tonelink.h"

namespace tonelink {

ErrorCode ProbeMediaFile(const char* path) {
  if (path == nullptr || path[0] == '\0') return kErrorIllegalParameter;
  if (IsInternetAddress(path)) return kErrorNetwork;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kErrorFileOpen;
  CloseHandle(file);
  return kErrorFormat;
}

ErrorCode NoStreamError() {
  ErrorCode code = LoadedOrError();
  return code != kErrorNone ? code : kErrorNoStream;
}

}  // namespace tonelink

namespace {

using orbtrace::CallLine;
using namespace tonelink;

CallLine Call(const char* function) { return CallLine(kTraceLibrary, function); }

ErrorCode CurrentStreamError() {
  auto lock = LockState();
  return NoStreamError();
}

// A call on the current stream that has nothing to act on: `result` is its
// answer with no stream open.
int32_t WithoutStream(const CallLine& call, int32_t result) {
  return Finish(call, CurrentStreamError(), result);
}

// A title of the current stream: "" with none open.
int32_t TitleWithoutStream(const char* function, char* out, int32_t outSize) {
  int32_t length = themecore::CopyTextOut("", out, outSize);
  bool wroteBuffer = out != nullptr && outSize > 0;
  return Finish(Call(function).OutText(wroteBuffer ? out : nullptr).Number(outSize),
                CurrentStreamError(), length);
}

}  // namespace

TONELINK_API int32_t __stdcall BASSOPEN(int32_t stream, const char* path) {
  return Guarded(static_cast<int32_t>(kErrorMemory), [&] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
    }
    if (code == kErrorNone && stream != 0) code = kErrorIllegalParameter;
    if (code == kErrorNone) code = ProbeMediaFile(path);
    return Finish(Call("BASSOPEN").Number(stream).Text(path), code, code);
  });
}

TONELINK_API int32_t __stdcall BASSPLAY(int32_t from, int32_t to) {
  return Guarded(static_cast<int32_t>(kErrorMemory), [&] {
    ErrorCode code = CurrentStreamError();
    return Finish(Call("BASSPLAY").Number(from).Number(to), code, code);
  });
}

TONELINK_API int32_t __stdcall BASSCLOSE() {
  return Guarded(0, [] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
    }
    // With no stream open there is nothing to close, and none is open after.
    return Finish(Call("BASSCLOSE"), code, code == kErrorNone ? 1 : 0);
  });
}

TONELINK_API int32_t __stdcall BASSHANDLEINUSE() {
  return Guarded(0, [] { return WithoutStream(Call("BASSHANDLEINUSE"), 0); });
}

TONELINK_API int32_t __stdcall BASSMEDIAGETLENGTH() {
  return Guarded(0, [] { return WithoutStream(Call("BASSMEDIAGETLENGTH"), 0); });
}

TONELINK_API int32_t __stdcall BASSCHANNELGETPOSITION() {
  return Guarded(0, [] { return WithoutStream(Call("BASSCHANNELGETPOSITION"), 0); });
}

TONELINK_API int32_t __stdcall BASSCHANNELSETPOSITION(int32_t position) {
  return Guarded(0,
                 [&] { return WithoutStream(Call("BASSCHANNELSETPOSITION").Number(position), 0); });
}

TONELINK_API int32_t __stdcall BASSCHANNELISACTIVE() {
  return Guarded(0, [] { return WithoutStream(Call("BASSCHANNELISACTIVE"), 0); });
}

TONELINK_API uint32_t __stdcall BASSCHANNELGETLEVEL() {
  // 0xFFFFFFFF is "nothing plays": the players then take the stream as ended.
  const uint32_t kNothingPlays = 0xFFFFFFFFu;
  return Guarded(kNothingPlays, [&] {
    return FinishUnsigned(Call("BASSCHANNELGETLEVEL"), CurrentStreamError(), kNothingPlays);
  });
}

TONELINK_API int32_t __stdcall BASSMEDIATYPE(int32_t type) {
  return Guarded(0, [&] { return WithoutStream(Call("BASSMEDIATYPE").Number(type), 0); });
}

TONELINK_API int32_t __stdcall BASSMUSICNAME(char* out, int32_t outSize) {
  return Guarded(0, [&] { return TitleWithoutStream("BASSMUSICNAME", out, outSize); });
}

TONELINK_API int32_t __stdcall BASSSTREAMNAME(char* out, int32_t outSize) {
  return Guarded(0, [&] { return TitleWithoutStream("BASSSTREAMNAME", out, outSize); });
}

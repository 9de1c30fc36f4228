// The library-level exports: availability, load and unload, the output
// (BASSINIT, BASSFREE, BASSSTART, BASSSTOP, BASSPAUSE), configuration, the
// version, the download folder, the DirectX version and the last error.
// The output device lives in output.cpp, the decisions in core/.
#include <windows.h>

#include <optional>
#include <string>

#include "error_codes.h"
#include "library_settings.h"
#include "library_state.h"
#include "output.h"
#include "output_buffer.h"
#include "stream.h"
#include "tonelink.h"

namespace {

using orbtrace::CallLine;
using namespace tonelink;

CallLine Call(const char* function) { return CallLine(kTraceLibrary, function); }

// An environment variable's bytes, nullopt when it is not set.
std::optional<std::string> ReadEnvironment(const char* name) {
  std::string value(64, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    SetLastError(ERROR_SUCCESS);
    DWORD length = GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.assign(length, '\0');  // `length` counts the terminating zero here
  }
  return std::nullopt;
}

bool IsExistingFolder(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// An output operation that needs the loaded library.
template <typename Operation>
int32_t OutputCall(const char* function, Operation operation) {
  return Guarded(0, [&] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
      if (code == kErrorNone) code = operation();
    }
    return Finish(Call(function), code, code == kErrorNone ? 1 : 0);
  });
}

}  // namespace

TONELINK_API int32_t __stdcall BASSAVAILABLE() {
  return Guarded(0, [] {
    int32_t available;
    {
      auto lock = LockState();
      available = State().isLoaded ? 1 : 0;
    }
    orbtrace::WriteCall(Call("BASSAVAILABLE"), available);
    return available;
  });
}

TONELINK_API int32_t __stdcall BASSLOAD() {
  return Guarded(0, [] {
    {
      auto lock = LockState();
      State().isLoaded = true;
    }
    return Finish(Call("BASSLOAD"), kErrorNone, 1);
  });
}

TONELINK_API int32_t __stdcall BASSUNLOAD() {
  return Guarded(0, [] {
    ErrorCode code;
    {
      auto lock = LockState();
      LibraryState& state = State();
      code = LoadedOrError();
      if (code == kErrorNone) {
        FreeOutput();  // nothing to free is fine here
        FreeDecodingStreams();
        state.config = LibraryConfig{};
        state.isLoaded = false;
      }
    }
    return Finish(Call("BASSUNLOAD"), code, code == kErrorNone ? 1 : 0);
  });
}

TONELINK_API int32_t __stdcall BASSINIT(int32_t device, int32_t frequency, int32_t flags,
                                        HWND window) {
  return Guarded(0, [&] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
      if (code == kErrorNone) code = InitialiseOutput(device, frequency, window);
    }
    return Finish(
        Call("BASSINIT").Number(device).Number(frequency).Number(flags).Raw(WindowArgument(window)),
        code, code == kErrorNone ? 1 : 0);
  });
}

TONELINK_API int32_t __stdcall BASSFREE() { return OutputCall("BASSFREE", FreeOutput); }

TONELINK_API int32_t __stdcall BASSSTART() { return OutputCall("BASSSTART", StartOutput); }

TONELINK_API int32_t __stdcall BASSSTOP() { return OutputCall("BASSSTOP", StopOutput); }

TONELINK_API int32_t __stdcall BASSPAUSE() { return OutputCall("BASSPAUSE", PauseOutput); }

TONELINK_API int32_t __stdcall BASSSETCONFIG(int32_t option, int32_t value) {
  return Guarded(0, [&] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
      if (code == kErrorNone) code = ApplyConfigValue(option, value, &State().config);
    }
    return Finish(Call("BASSSETCONFIG").Number(option).Number(value), code,
                  code == kErrorNone ? 1 : 0);
  });
}

TONELINK_API int32_t __stdcall BASSGETVERSION(char* out, int32_t outSize) {
  return Guarded(0, [&] {
    int32_t length = themecore::CopyTextOut(kVersionText, out, outSize);
    bool wroteBuffer = out != nullptr && outSize > 0;
    orbtrace::WriteCall(Call("BASSGETVERSION").OutText(wroteBuffer ? out : nullptr).Number(outSize),
                        length);
    return length;
  });
}

TONELINK_API int32_t __stdcall BASSSETDOWNLOADPATH(const char* folder) {
  return Guarded(0, [&] {
    ErrorCode code = kErrorNone;
    bool isEmpty = folder == nullptr || folder[0] == '\0';
    if (!isEmpty && !IsExistingFolder(folder)) code = kErrorFileOpen;
    if (code == kErrorNone) {
      auto lock = LockState();
      State().downloadFolder = isEmpty ? std::string() : std::string(folder);
    }
    return Finish(Call("BASSSETDOWNLOADPATH").Text(folder), code, code == kErrorNone ? 1 : 0);
  });
}

TONELINK_API int32_t __stdcall BASSDIRECTXVERSION() {
  return Guarded(kDefaultDirectXVersion, [] {
    int32_t version = DirectXVersionFromVariable(ReadEnvironment("ORB_DIRECTX_VERSION"));
    orbtrace::WriteCall(Call("BASSDIRECTXVERSION"), version);
    return version;
  });
}

TONELINK_API int32_t __stdcall BASSERRORGETCODE() {
  return Guarded(static_cast<int32_t>(kErrorMemory), [] {
    int32_t code = LastErrorCode();
    orbtrace::WriteCall(Call("BASSERRORGETCODE"), code);
    return code;
  });
}

TONELINK_API int32_t __stdcall BASSERRORDESCRIPTION(int32_t code, char* out, int32_t outSize) {
  return Guarded(0, [&] {
    int32_t length = themecore::CopyTextOut(ErrorDescription(code), out, outSize);
    bool wroteBuffer = out != nullptr && outSize > 0;
    orbtrace::WriteCall(Call("BASSERRORDESCRIPTION")
                            .Number(code)
                            .OutText(wroteBuffer ? out : nullptr)
                            .Number(outSize),
                        length);
    return length;
  });
}

// CD tracks and encoders: the media browser's rips and conversions.
//
// CD drives are counted from 0 in drive-letter order, as the media browser
// numbers them.  This library reads no CD audio and has no WMA encoder, so
// a CD call on a drive that exists and BASSWMAENCODEOPENFILE fail with "not
// available"; a drive number with no CD drive behind it fails with "no such
// CD drive" (always the case under Wine).  The media browser then writes
// nothing for the item.  Outside encoder programs are not fed yet:
// BASSENCODESTART fails with "not available" on a stream's handle and with
// "handle not valid" on any other number.
#include <windows.h>

#include <string>
#include <vector>

#include "library_state.h"
#include "stream.h"
#include "tonelink.h"

namespace {

using orbtrace::CallLine;
using namespace tonelink;

CallLine Call(const char* function) { return CallLine(kTraceLibrary, function); }

// The letters of the machine's CD drives, in order.
std::vector<char> CdDriveLetters() {
  std::vector<char> letters;
  DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0) continue;
    char root[] = {static_cast<char>('A' + i), ':', '\\', '\0'};
    if (GetDriveTypeA(root) == DRIVE_CDROM) letters.push_back(root[0]);
  }
  return letters;
}

// The error of a CD call on `drive` with valid other arguments.
ErrorCode CdError(int32_t drive, ErrorCode argumentsError) {
  {
    auto lock = LockState();
    ErrorCode code = LoadedOrError();
    if (code != kErrorNone) return code;
  }
  if (argumentsError != kErrorNone) return argumentsError;
  if (drive < 0 || static_cast<size_t>(drive) >= CdDriveLetters().size()) return kErrorCdDrive;
  return kErrorNotAvailable;
}

bool IsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

}  // namespace

TONELINK_API int32_t __stdcall BASSCDSTREAMCREATE(int32_t drive, int32_t track, int32_t flags) {
  return Guarded(0, [&] {
    ErrorCode code = CdError(drive, track < 0 ? kErrorIllegalParameter : kErrorNone);
    return Finish(Call("BASSCDSTREAMCREATE").Number(drive).Number(track).Number(flags), code, 0);
  });
}

TONELINK_API int32_t __stdcall BASSCDGETTRACKLENGTH(int32_t drive, int32_t track) {
  return Guarded(-1, [&] {
    ErrorCode code = CdError(drive, track < 0 ? kErrorIllegalParameter : kErrorNone);
    return Finish(Call("BASSCDGETTRACKLENGTH").Number(drive).Number(track), code, -1);
  });
}

TONELINK_API int32_t __stdcall BASSCDDOOR(int32_t drive, int32_t action) {
  return Guarded(0, [&] {
    ErrorCode code = CdError(drive, action < 0 || action > 3 ? kErrorIllegalParameter : kErrorNone);
    return Finish(Call("BASSCDDOOR").Number(drive).Number(action), code, 0);
  });
}

TONELINK_API int32_t __stdcall BASSWMAENCODEOPENFILE(int32_t frequency, int32_t flags,
                                                     int32_t bitrate, const char* path) {
  return Guarded(0, [&] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
    }
    if (code == kErrorNone) code = IsEmpty(path) ? kErrorIllegalParameter : kErrorNotAvailable;
    return Finish(
        Call("BASSWMAENCODEOPENFILE").Number(frequency).Number(flags).Number(bitrate).Text(path),
        code, 0);
  });
}

TONELINK_API int32_t __stdcall BASSWMAENCODESETTAG(int32_t encoder, const char* tag,
                                                   const char* value) {
  return Guarded(0, [&] {
    return Finish(Call("BASSWMAENCODESETTAG").Number(encoder).Text(tag).Text(value),
                  HandleCallError(tag == nullptr ? kErrorIllegalParameter : kErrorNone), 0);
  });
}

TONELINK_API int32_t __stdcall BASSWMAENCODEWRITE(int32_t encoder, const void* buffer,
                                                  int32_t length) {
  return Guarded(0, [&] {
    bool isBad = length < 0 || (buffer == nullptr && length > 0);
    return Finish(
        Call("BASSWMAENCODEWRITE").Number(encoder).Raw(PointerArgument(buffer)).Number(length),
        HandleCallError(isBad ? kErrorIllegalParameter : kErrorNone), 0);
  });
}

TONELINK_API int32_t __stdcall BASSWMAENCODECLOSE(int32_t encoder) {
  return Guarded(
      0, [&] { return Finish(Call("BASSWMAENCODECLOSE").Number(encoder), HandleCallError(), 0); });
}

TONELINK_API int32_t __stdcall BASSENCODESTART(int32_t stream, const char* commandLine,
                                               int32_t flags) {
  return Guarded(0, [&] {
    ErrorCode code = HandleCallError(IsEmpty(commandLine) ? kErrorIllegalParameter : kErrorNone);
    if (code == kErrorHandle) {
      auto lock = LockState();
      if (IsStreamHandle(stream)) code = kErrorNotAvailable;
    }
    return Finish(Call("BASSENCODESTART").Number(stream).Text(commandLine).Number(flags), code, 0);
  });
}

TONELINK_API int32_t __stdcall BASSENCODEISACTIVE(int32_t stream) {
  return Guarded(
      0, [&] { return Finish(Call("BASSENCODEISACTIVE").Number(stream), HandleCallError(), 0); });
}

TONELINK_API int32_t __stdcall BASSENCODESTOP(int32_t stream) {
  return Guarded(
      0, [&] { return Finish(Call("BASSENCODESTOP").Number(stream), HandleCallError(), 0); });
}

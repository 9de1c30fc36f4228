// CD tracks and encoders: the media browser's rips and conversions.
//
// CD drives are the drives Windows reports as CD-ROM drives, counted from 0
// in drive-letter order, as the media browser numbers them.  A drive's
// tracks are its "TrackNN.cda" files (the 44-byte headers a CD file system
// shows: track number, first sector, length in sectors); the track's audio
// is read from the drive's disc audio file (core/cd_track.h: every sector
// of the disc, 2352 bytes of 16-bit stereo at 44100 Hz each, back to back),
// at the sectors its header names.  A CD track opens as a decoding stream
// like a file.
//
// There is no WMA encoder: BASSWMAENCODEOPENFILE fails with "not
// available".  Outside encoder programs are started with their command
// line as it stands and read a WAV header (core/encoder_feed.h) and then
// every byte the stream delivers on their standard input.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "cd_track.h"
#include "encoder_feed.h"
#include "library_state.h"
#include "stream.h"
#include "tonelink.h"

namespace tonelink {

namespace {

// An outside encoder program and the pipe to its standard input.
struct Encoder {
  HANDLE process = nullptr;
  HANDLE input = nullptr;  // our end of the pipe
  bool failed = false;     // a write did not get through
};

std::map<int32_t, Encoder> g_encoders;  // by stream handle, lock held
int32_t g_nextEncoder = 0x30001;

// Waits for an encoder program to read the end of its input and finish;
// one that hangs is ended.
void FinishEncoder(Encoder& encoder) {
  if (encoder.input != nullptr) CloseHandle(encoder.input);
  if (encoder.process != nullptr) {
    if (WaitForSingleObject(encoder.process, 20000) != WAIT_OBJECT_0) {
      TerminateProcess(encoder.process, 1);
    }
    CloseHandle(encoder.process);
  }
  encoder = Encoder{};
}

bool EncoderRuns(const Encoder& encoder) {
  return !encoder.failed && encoder.process != nullptr &&
         WaitForSingleObject(encoder.process, 0) == WAIT_TIMEOUT;
}

bool WriteAll(HANDLE pipe, const void* data, size_t bytes) {
  const char* next = static_cast<const char*>(data);
  while (bytes > 0) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes, 1 << 20));
    if (!WriteFile(pipe, next, chunk, &written, nullptr) || written == 0) return false;
    next += written;
    bytes -= written;
  }
  return true;
}

}  // namespace

void FeedEncoder(int32_t stream, const void* data, size_t bytes) {
  auto found = g_encoders.find(stream);
  if (found == g_encoders.end() || found->second.failed) return;
  if (!WriteAll(found->second.input, data, bytes)) found->second.failed = true;
}

void EndEncoder(int32_t stream) {
  auto found = g_encoders.find(stream);
  if (found == g_encoders.end()) return;
  FinishEncoder(found->second);
  g_encoders.erase(found);
}

}  // namespace tonelink

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

bool IsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

// "Not loaded", then the arguments, then the drive.  Sets *root to the
// drive's root folder.
ErrorCode CdDriveError(int32_t drive, ErrorCode argumentsError, std::string* root) {
  {
    auto lock = LockState();
    ErrorCode code = LoadedOrError();
    if (code != kErrorNone) return code;
  }
  if (argumentsError != kErrorNone) return argumentsError;
  std::vector<char> letters = CdDriveLetters();
  if (drive < 0 || static_cast<size_t>(drive) >= letters.size()) return kErrorCdDrive;
  *root = std::string(1, letters[static_cast<size_t>(drive)]) + ":\\";
  return kErrorNone;
}

bool ReadSmallFile(const std::string& path, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[256];
  DWORD read = 0;
  BOOL ok = ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
  CloseHandle(file);
  if (!ok) return false;
  bytes->assign(buffer, read);
  return true;
}

// Track `track` (counted from 0) of the CD in the drive at `root`: the track
// file whose header carries number track + 1.
ErrorCode FindTrack(const std::string& root, int32_t track, CdTrack* found) {
  WIN32_FIND_DATAA entry = {};
  HANDLE search = FindFirstFileA((root + "*.cda").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return kErrorCdTrack;
  bool isFound = false;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    std::string bytes;
    CdTrack header;
    if (ReadSmallFile(root + entry.cFileName, &bytes) &&
        ParseCdaHeader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &header) &&
        header.number == static_cast<uint32_t>(track) + 1) {
      *found = header;
      isFound = true;
    }
  } while (!isFound && FindNextFileA(search, &entry));
  FindClose(search);
  return isFound ? kErrorNone : kErrorCdTrack;
}

// Opens a track's audio as a media file of 16-bit stereo at 44100 Hz.
ErrorCode OpenTrack(int32_t drive, int32_t track, std::unique_ptr<MediaFile>* opened,
                    uint64_t* lengthBytes) {
  std::string root;
  ErrorCode code = CdDriveError(drive, track < 0 ? kErrorIllegalParameter : kErrorNone, &root);
  if (code != kErrorNone) return code;
  CdTrack header;
  code = FindTrack(root, track, &header);
  if (code != kErrorNone) return code;
  HANDLE file = CreateFileA((root + kDiscAudioFileName).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kErrorFileOpen;
  LARGE_INTEGER size = {};
  uint64_t offset = 0, length = 0;
  if (!GetFileSizeEx(file, &size) ||
      !TrackBytes(header, static_cast<uint64_t>(size.QuadPart), &offset, &length)) {
    // The disc's audio ends before the track does: the sectors cannot be read.
    CloseHandle(file);
    return kErrorFileOpen;
  }
  WaveInfo info;
  info.format = {SampleEncoding::kInteger, kCdChannels, kCdRate, 16, kCdChannels * 2};
  info.dataOffset = offset;
  info.frameCount = length / info.format.bytesPerFrame;
  if (lengthBytes != nullptr) *lengthBytes = length;
  if (opened != nullptr) {
    *opened = std::make_unique<MediaFile>(file, info);
  } else {
    CloseHandle(file);
  }
  return kErrorNone;
}

}  // namespace

TONELINK_API int32_t __stdcall BASSCDSTREAMCREATE(int32_t drive, int32_t track, int32_t flags) {
  return Guarded(0, [&] {
    std::unique_ptr<MediaFile> media;
    ErrorCode code = OpenTrack(drive, track, &media, nullptr);
    int32_t handle = 0;
    if (code == kErrorNone) {
      auto lock = LockState();
      code = LoadedOrError();
      if (code == kErrorNone) handle = AddDecodingStream(std::move(media));
    }
    return Finish(Call("BASSCDSTREAMCREATE").Number(drive).Number(track).Number(flags), code,
                  handle);
  });
}

TONELINK_API int32_t __stdcall BASSCDGETTRACKLENGTH(int32_t drive, int32_t track) {
  return Guarded(-1, [&] {
    uint64_t length = 0;
    ErrorCode code = OpenTrack(drive, track, nullptr, &length);
    return Finish(Call("BASSCDGETTRACKLENGTH").Number(drive).Number(track), code,
                  code == kErrorNone ? ClampToInt32(length) : -1);
  });
}

TONELINK_API int32_t __stdcall BASSCDDOOR(int32_t drive, int32_t action) {
  return Guarded(0, [&] {
    // The drives Windows shows here have no door this library could move:
    // the actions succeed on any CD drive without doing anything.
    std::string root;
    ErrorCode code =
        CdDriveError(drive, action < 0 || action > 3 ? kErrorIllegalParameter : kErrorNone, &root);
    return Finish(Call("BASSCDDOOR").Number(drive).Number(action), code,
                  code == kErrorNone ? 1 : 0);
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
    CallLine call = Call("BASSENCODESTART").Number(stream).Text(commandLine).Number(flags);
    auto lock = LockState();
    ErrorCode code = LoadedOrError();
    if (code == kErrorNone && IsEmpty(commandLine)) code = kErrorIllegalParameter;
    uint32_t rate = 0, channels = 0;
    if (code == kErrorNone && !DecodingStreamFormat(stream, &rate, &channels)) {
      // Only a decoding stream's data comes through the caller to feed one.
      code = IsStreamHandle(stream) ? kErrorNotAvailable : kErrorHandle;
    }
    if (code != kErrorNone) return Finish(call, code, 0);
    EndEncoder(stream);

    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 1 << 16)) return Finish(call, kErrorEncoder, 0);
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd;
    startup.hStdOutput = nul != INVALID_HANDLE_VALUE ? nul : nullptr;
    startup.hStdError = startup.hStdOutput;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine, commandLine + strlen(commandLine) + 1);
    BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                  nullptr, nullptr, &startup, &process);
    CloseHandle(readEnd);
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    if (!started) {
      CloseHandle(writeEnd);
      return Finish(call, kErrorFileOpen, 0);
    }
    CloseHandle(process.hThread);
    Encoder encoder;
    encoder.process = process.hProcess;
    encoder.input = writeEnd;
    std::string header = StreamingWaveHeader(rate, channels);
    encoder.failed = !WriteAll(writeEnd, header.data(), header.size());
    g_encoders[stream] = encoder;
    int32_t handle = g_nextEncoder;
    g_nextEncoder = g_nextEncoder >= 0x3FFFFFF0 ? 0x30001 : g_nextEncoder + 1;
    return Finish(call, kErrorNone, handle);
  });
}

TONELINK_API int32_t __stdcall BASSENCODEISACTIVE(int32_t stream) {
  return Guarded(0, [&] {
    auto lock = LockState();
    ErrorCode code = LoadedOrError();
    int32_t result = 0;
    if (code == kErrorNone && !IsStreamHandle(stream)) code = kErrorHandle;
    if (code == kErrorNone) {
      auto found = g_encoders.find(stream);
      result = found != g_encoders.end() && EncoderRuns(found->second) ? 1 : 0;
      // A stream whose encoder ended (or never ran) says why it is not active.
      if (result == 0) code = kErrorEncoder;
    }
    return Finish(Call("BASSENCODEISACTIVE").Number(stream), code, result);
  });
}

TONELINK_API int32_t __stdcall BASSENCODESTOP(int32_t stream) {
  return Guarded(0, [&] {
    Encoder encoder;
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
      if (code == kErrorNone && !IsStreamHandle(stream)) code = kErrorHandle;
      auto found = g_encoders.find(stream);
      if (code == kErrorNone && found == g_encoders.end()) code = kErrorEncoder;
      if (code == kErrorNone) {
        encoder = found->second;
        g_encoders.erase(found);
      }
    }
    // The program finishes its file after the end of its input: waited for
    // without the lock.
    if (code == kErrorNone) {
      bool failed = encoder.failed;
      FinishEncoder(encoder);
      if (failed) code = kErrorEncoder;
    }
    return Finish(Call("BASSENCODESTOP").Number(stream), code, code == kErrorNone ? 1 : 0);
  });
}

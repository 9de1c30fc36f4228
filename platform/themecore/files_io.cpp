// File access for the programs: numbered file handles (SKFOPEN, SKFGET,
// SKFGETAT, SKFPUT, SKFPUTAT, SKFLOF, SKFCLOSE), line reading (SKBUFIN),
// deleting (SKKILLFILE), the temporary folder (SKGETTEMPPATH) and folder
// creation (SKMAKEDIR).  Line cutting is core/line_splitter and the folder
// chain core/split; this file does the Windows file calls.
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "line_splitter.h"
#include "output_buffer.h"
#include "split.h"
#include "engine_internal.h"
#include "themecore.h"
#include "trace_writer.h"

namespace themecore::engine {

// Reads a whole file of at most maxBytes; false with *error set otherwise.
// Used by skin.cpp and text_tables.cpp too.
bool ReadFileBytes(const std::string& path, size_t maxBytes, std::string* bytes, DWORD* error) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = GetLastError();
    return false;
  }
  bool ok = false;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file, &size)) {
    *error = GetLastError();
  } else if (static_cast<uint64_t>(size.QuadPart) > maxBytes) {
    *error = ERROR_FILE_TOO_LARGE;
  } else {
    bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    size_t total = 0;
    ok = true;
    while (total < bytes->size()) {
      DWORD read = 0;
      if (!ReadFile(file, bytes->data() + total, static_cast<DWORD>(bytes->size() - total), &read,
                    nullptr)) {
        *error = GetLastError();
        ok = false;
        break;
      }
      if (read == 0) break;  // the file shrank meanwhile
      total += read;
    }
    bytes->resize(total);
  }
  CloseHandle(file);
  return ok;
}

}  // namespace themecore::engine

namespace {

const char kLibrary[] = "themecore";

// A failing call that left no last error still reports a failure.
int32_t LastErrorOr(DWORD fallback) {
  DWORD error = GetLastError();
  return static_cast<int32_t>(error != 0 ? error : fallback);
}

// ---------------------------------------------------------------------------
// Numbered file handles.  Numbers run from 1 to kMaxOpenFiles; a freed
// number is given out again.  Each call holds the table's lock for its whole
// I/O, so two threads never interleave on one handle's position.

constexpr int32_t kMaxOpenFiles = 512;

enum Access : int32_t { kRead = 0, kWrite = 1, kReadWrite = 2, kAppend = 4 };

struct OpenFile {
  HANDLE handle = INVALID_HANDLE_VALUE;
  bool append = false;
};

struct FileTable {
  std::mutex lock;
  std::vector<OpenFile> slots = std::vector<OpenFile>(kMaxOpenFiles + 1);  // [0] unused
};

FileTable& Files() {
  static FileTable table;
  return table;
}

// The open file of a number, null when the number is not open.  Call with
// the lock held.
OpenFile* FindFile(FileTable& table, int32_t number) {
  if (number < 1 || number > kMaxOpenFiles) return nullptr;
  OpenFile* file = &table.slots[static_cast<size_t>(number)];
  return file->handle != INVALID_HANDLE_VALUE ? file : nullptr;
}

int32_t OpenNumberedFile(const char* path, int32_t mode, int32_t access, int32_t* number) {
  if (number == nullptr) return ERROR_INVALID_PARAMETER;
  *number = 0;
  if (path == nullptr || path[0] == '\0') return ERROR_INVALID_NAME;
  DWORD disposition;
  switch (mode) {
    case 0: disposition = OPEN_EXISTING; break;
    case 1: disposition = CREATE_ALWAYS; break;
    case 2: disposition = OPEN_ALWAYS; break;
    default: return ERROR_INVALID_PARAMETER;
  }
  DWORD desired;
  switch (access) {
    case kRead: desired = GENERIC_READ; break;
    case kWrite: desired = GENERIC_WRITE; break;
    case kReadWrite:
    case kAppend: desired = GENERIC_READ | GENERIC_WRITE; break;
    default: return ERROR_INVALID_PARAMETER;
  }
  FileTable& table = Files();
  std::lock_guard<std::mutex> guard(table.lock);
  int32_t free = 0;
  for (int32_t i = 1; i <= kMaxOpenFiles && free == 0; ++i) {
    if (table.slots[static_cast<size_t>(i)].handle == INVALID_HANDLE_VALUE) free = i;
  }
  if (free == 0) return ERROR_TOO_MANY_OPEN_FILES;
  HANDLE handle = CreateFileA(path, desired, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastErrorOr(ERROR_OPEN_FAILED);
  table.slots[static_cast<size_t>(free)] = OpenFile{handle, access == kAppend};
  *number = free;
  return 0;
}

bool SeekTo(HANDLE handle, int64_t offset, DWORD method) {
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  return SetFilePointerEx(handle, distance, nullptr, method) != FALSE;
}

// Reads up to `count` bytes at the position (after a seek to `offset` when
// one is given); the byte count or -1.
int32_t ReadNumberedFile(int32_t number, const int64_t* offset, char* out, int32_t count) {
  if (count < 0 || (out == nullptr && count > 0)) return -1;
  FileTable& table = Files();
  std::lock_guard<std::mutex> guard(table.lock);
  OpenFile* file = FindFile(table, number);
  if (file == nullptr) return -1;
  if (offset != nullptr && !SeekTo(file->handle, *offset, FILE_BEGIN)) return -1;
  int32_t total = 0;
  while (total < count) {
    DWORD read = 0;
    if (!ReadFile(file->handle, out + total, static_cast<DWORD>(count - total), &read, nullptr)) {
      return -1;
    }
    if (read == 0) break;
    total += static_cast<int32_t>(read);
  }
  return total;
}

// Writes the bytes at the position (at `offset` when one is given; at the
// end for an append handle otherwise); 0 or the Windows error number.
int32_t WriteNumberedFile(int32_t number, const int64_t* offset, const char* data, int32_t length) {
  if (length < 0 || (data == nullptr && length > 0)) return ERROR_INVALID_PARAMETER;
  FileTable& table = Files();
  std::lock_guard<std::mutex> guard(table.lock);
  OpenFile* file = FindFile(table, number);
  if (file == nullptr) return ERROR_INVALID_HANDLE;
  bool positioned = offset != nullptr ? SeekTo(file->handle, *offset, FILE_BEGIN)
                                      : !file->append || SeekTo(file->handle, 0, FILE_END);
  if (!positioned) return LastErrorOr(ERROR_SEEK);
  int32_t total = 0;
  while (total < length) {
    DWORD written = 0;
    if (!WriteFile(file->handle, data + total, static_cast<DWORD>(length - total), &written,
                   nullptr)) {
      return LastErrorOr(ERROR_WRITE_FAULT);
    }
    if (written == 0) return ERROR_HANDLE_DISK_FULL;
    total += static_cast<int32_t>(written);
  }
  return 0;
}

int32_t NumberedFileSize(int32_t number) {
  FileTable& table = Files();
  std::lock_guard<std::mutex> guard(table.lock);
  OpenFile* file = FindFile(table, number);
  LARGE_INTEGER size = {};
  if (file == nullptr || !GetFileSizeEx(file->handle, &size)) return -1;
  // Sizes beyond what the programs' 32-bit lengths hold are an error to them.
  if (size.QuadPart > 0x7FFFFFFF) return -1;
  return static_cast<int32_t>(size.QuadPart);
}

int32_t CloseNumberedFile(int32_t number) {
  FileTable& table = Files();
  std::lock_guard<std::mutex> guard(table.lock);
  OpenFile* file = FindFile(table, number);
  if (file == nullptr) return ERROR_INVALID_HANDLE;
  BOOL closed = CloseHandle(file->handle);
  *file = OpenFile();
  return closed ? 0 : LastErrorOr(ERROR_INVALID_HANDLE);
}

// ---------------------------------------------------------------------------
// Line readers of SKBUFIN, one per file name, open from the first line to
// the end.

constexpr DWORD kLineChunkBytes = 64 * 1024;

struct LineReader {
  HANDLE handle = INVALID_HANDLE_VALUE;
  themecore::LineSplitter lines;
  // A line the caller's buffer could not hold: it is offered once more, so
  // a caller retrying with the returned length + 1 gets it, and a caller
  // with a fixed buffer moves on instead of getting it for ever.
  bool hasPending = false;
  std::string pending;
};

struct LineReaders {
  std::mutex lock;
  std::map<std::string, LineReader> byName;
};

LineReaders& Readers() {
  static LineReaders readers;
  return readers;
}

// Readers are keyed by the full path in upper case: Windows names ignore
// case, and "list.txt" and ".\list.txt" are one file.
std::string ReaderKey(const char* file) {
  std::string key;
  DWORD needed = GetFullPathNameA(file, 0, nullptr, nullptr);
  if (needed != 0) {
    key.assign(needed, '\0');
    DWORD length = GetFullPathNameA(file, needed, key.data(), nullptr);
    key.resize(length != 0 && length < needed ? length : 0);
  }
  if (key.empty()) key = file;
  CharUpperBuffA(key.data(), static_cast<DWORD>(key.size()));
  return key;
}

void CloseReader(LineReader& reader) {
  if (reader.handle != INVALID_HANDLE_VALUE) CloseHandle(reader.handle);
  reader.handle = INVALID_HANDLE_VALUE;
}

// The next line of the reader into *line: 0, or a non-zero error (the end
// is ERROR_HANDLE_EOF).
DWORD NextLine(LineReader& reader, std::string* line) {
  std::vector<char> chunk;
  for (;;) {
    if (reader.lines.TakeLine(line)) return 0;
    if (reader.lines.AtEnd()) return ERROR_HANDLE_EOF;
    chunk.resize(kLineChunkBytes);
    DWORD read = 0;
    if (!ReadFile(reader.handle, chunk.data(), kLineChunkBytes, &read, nullptr)) {
      return static_cast<DWORD>(LastErrorOr(ERROR_READ_FAULT));
    }
    if (read == 0) {
      reader.lines.Finish();
    } else {
      reader.lines.Append(std::string_view(chunk.data(), read));
    }
  }
}

// One SKBUFIN call: the line's length, *error 0; or 0 with *error set and
// the reader closed.
int32_t ReadNextLine(const char* file, char* out, int32_t outSize, int32_t* errorOut) {
  LineReaders& readers = Readers();
  std::lock_guard<std::mutex> guard(readers.lock);
  if (file == nullptr || file[0] == '\0') {
    // No name: every reader is closed (programs do this after a list).
    for (auto& [name, reader] : readers.byName) CloseReader(reader);
    readers.byName.clear();
    *errorOut = ERROR_HANDLE_EOF;
    return themecore::CopyTextOut("", out, outSize);
  }
  std::string key = ReaderKey(file);
  auto found = readers.byName.find(key);
  if (found == readers.byName.end()) {
    HANDLE handle = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      *errorOut = LastErrorOr(ERROR_OPEN_FAILED);
      return themecore::CopyTextOut("", out, outSize);
    }
    found = readers.byName.emplace(key, LineReader()).first;
    found->second.handle = handle;
  }
  LineReader& reader = found->second;
  auto fits = [out, outSize](const std::string& line) {
    return out != nullptr && outSize > 0 && static_cast<size_t>(outSize) > line.size();
  };
  if (reader.hasPending && !fits(reader.pending)) {
    // Offered once already: the caller cannot take it, go on to the next.
    reader.hasPending = false;
  }
  if (!reader.hasPending) {
    DWORD error = NextLine(reader, &reader.pending);
    if (error != 0) {
      CloseReader(reader);
      readers.byName.erase(found);
      *errorOut = static_cast<int32_t>(error);
      return themecore::CopyTextOut("", out, outSize);
    }
    reader.hasPending = !fits(reader.pending);
  } else {
    reader.hasPending = false;
  }
  int32_t length = themecore::CopyTextOut(reader.pending, out, outSize);
  if (!reader.hasPending) reader.pending.clear();
  *errorOut = 0;
  return length;
}

// Closes the SKBUFIN reader of a file, if one is open, so it can be deleted.
void ForgetReader(const char* file) {
  LineReaders& readers = Readers();
  std::lock_guard<std::mutex> guard(readers.lock);
  auto found = readers.byName.find(ReaderKey(file));
  if (found == readers.byName.end()) return;
  CloseReader(found->second);
  readers.byName.erase(found);
}

// ---------------------------------------------------------------------------

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeFolderChain(const char* path) {
  if (path == nullptr || path[0] == '\0') return false;
  std::string full(MAX_PATH, '\0');
  DWORD length = GetFullPathNameA(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.assign(length, '\0');
    length = GetFullPathNameA(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  if (length == 0 || length >= full.size()) return false;
  full.resize(length);
  for (const std::string& folder : themecore::FolderChain(full)) {
    // An existing folder fails with ERROR_ALREADY_EXISTS; the check at the
    // end decides.
    if (!IsFolder(folder)) CreateDirectoryA(folder.c_str(), nullptr);
  }
  return IsFolder(full);
}

std::string TempFolder() {
  std::string folder(MAX_PATH + 1, '\0');
  DWORD length = GetTempPathA(static_cast<DWORD>(folder.size()), folder.data());
  if (length >= folder.size()) {
    folder.assign(length + 1, '\0');
    length = GetTempPathA(static_cast<DWORD>(folder.size()), folder.data());
  }
  if (length == 0 || length >= folder.size()) return std::string();
  folder.resize(length);
  if (folder.back() != '\\' && folder.back() != '/') folder.push_back('\\');
  return folder;
}

}  // namespace

THEMECORE_API int32_t __stdcall SKFOPEN(const char* path, int32_t mode, int32_t access,
                                        int32_t* handle) {
  try {
    int32_t result = OpenNumberedFile(path, mode, access, handle);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKFOPEN")
                            .Text(path)
                            .Number(mode)
                            .Number(access)
                            .Raw(handle != nullptr ? "out:" + std::to_string(*handle) : "out:NULL"),
                        result);
    return result;
  } catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

THEMECORE_API int32_t __stdcall SKFGET(int32_t handle, char* out, int32_t count) {
  try {
    int32_t result = ReadNumberedFile(handle, nullptr, out, count);
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKFGET").Number(handle).Raw("out").Number(count), result);
    return result;
  } catch (...) {
    return -1;
  }
}

THEMECORE_API int32_t __stdcall SKFGETAT(int32_t handle, uint32_t offset, char* out,
                                         int32_t count) {
  try {
    int64_t position = offset;
    int32_t result = ReadNumberedFile(handle, &position, out, count);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKFGETAT")
                            .Number(handle)
                            .Number(offset)
                            .Raw("out")
                            .Number(count),
                        result);
    return result;
  } catch (...) {
    return -1;
  }
}

THEMECORE_API int32_t __stdcall SKFPUT(int32_t handle, const char* data, int32_t length) {
  try {
    int32_t result = WriteNumberedFile(handle, nullptr, data, length);
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKFPUT").Number(handle).Raw("data").Number(length), result);
    return result;
  } catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

THEMECORE_API int32_t __stdcall SKFPUTAT(int32_t handle, uint32_t offset, const char* data,
                                         int32_t length) {
  try {
    int64_t position = offset;
    int32_t result = WriteNumberedFile(handle, &position, data, length);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKFPUTAT")
                            .Number(handle)
                            .Number(offset)
                            .Raw("data")
                            .Number(length),
                        result);
    return result;
  } catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

THEMECORE_API int32_t __stdcall SKFLOF(int32_t handle) {
  try {
    int32_t size = NumberedFileSize(handle);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKFLOF").Number(handle), size);
    return size;
  } catch (...) {
    return -1;
  }
}

THEMECORE_API int32_t __stdcall SKFCLOSE(int32_t handle) {
  try {
    int32_t result = CloseNumberedFile(handle);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKFCLOSE").Number(handle), result);
    return result;
  } catch (...) {
    return ERROR_INVALID_HANDLE;
  }
}

THEMECORE_API int32_t __stdcall SKBUFIN(const char* file, char* out, int32_t outSize,
                                        int32_t* error) {
  try {
    int32_t errorValue = 0;
    int32_t length = ReadNextLine(file, out, outSize, &errorValue);
    if (error != nullptr) *error = errorValue;
    bool wrote = out != nullptr && outSize > 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKBUFIN")
                            .Text(file)
                            .OutText(wrote ? out : nullptr)
                            .Number(outSize)
                            .Raw("out:" + std::to_string(errorValue)),
                        length);
    return length;
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    if (error != nullptr) *error = ERROR_NOT_ENOUGH_MEMORY;
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKKILLFILE(const char* path) {
  try {
    int32_t gone = 0;
    if (path != nullptr && path[0] != '\0') {
      ForgetReader(path);
      if (DeleteFileA(path)) {
        gone = 1;
      } else {
        DWORD error = GetLastError();
        gone = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 1 : 0;
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKKILLFILE").Text(path), gone);
    return gone;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKGETTEMPPATH(char* out, int32_t outSize) {
  try {
    return themecore::engine::ReturnTextOut(orbtrace::CallLine(kLibrary, "SKGETTEMPPATH"),
                                            TempFolder(), out, outSize);
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKMAKEDIR(const char* path) {
  try {
    int32_t exists = MakeFolderChain(path) ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKMAKEDIR").Text(path), exists);
    return exists;
  } catch (...) {
    return 0;
  }
}

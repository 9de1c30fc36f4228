// The log file; see log_file.h.
#include "log_file.h"

#include <new>

#include "core/names.h"

namespace ctlhost {

LogFile::LogFile() {
  mutex_.Open(AddressedBase("QXLOG", reinterpret_cast<uintptr_t>(this)));
}

LogFile::~LogFile() {
  for (ThreadTable*& table : tables_) {
    delete table;
    table = nullptr;
  }
  mutex_.Close();
}

int LogFile::ProcessAttach(HINSTANCE library) {
  library_ = library;
  char program[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  path_ = LogPathForProgram(std::string(program, length));
  if (path_.size() >= MAX_PATH) {
    path_.clear();
    return 0;
  }
  QxLock lock(mutex_, 0);
  HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(file);
  SYSTEMTIME now;
  GetLocalTime(&now);
  LogTime time;
  time.weekday = now.wDayOfWeek;
  time.month = now.wMonth - 1;
  time.day = now.wDay;
  time.hour = now.wHour;
  time.minute = now.wMinute;
  time.second = now.wSecond;
  time.year = now.wYear;
  for (const std::string& line : LogHeaderLines(path_, time, version)) WriteLine(line.c_str());
  return 0;
}

int LogFile::ThreadDetach() {
  QxLock lock(mutex_, 0);
  const DWORD self = GetCurrentThreadId();
  for (ThreadTable*& table : tables_) {
    if (table != nullptr && table->threadId == self) {
      delete table;
      table = nullptr;
    }
  }
  return 0;
}

LogFile::ThreadTable* LogFile::TableOfThread() {
  const DWORD self = GetCurrentThreadId();
  for (ThreadTable* table : tables_) {
    if (table != nullptr && table->threadId == self) return table;
  }
  for (ThreadTable*& table : tables_) {
    if (table == nullptr) {
      table = new (std::nothrow) ThreadTable;
      if (table == nullptr) return nullptr;
      table->threadId = self;
      return table;
    }
  }
  return nullptr;
}

int LogFile::AppendLine(const std::string& line) {
  if (path_.empty()) return 3;
  HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  FlushFileBuffers(file);
  CloseHandle(file);
  return 0;
}

int LogFile::WriteLine(const char* text) {
  QxLock lock(mutex_, 0);
  if (text == nullptr) return 1;
  ThreadTable* table = TableOfThread();
  if (table == nullptr) return 2;
  return AppendLine(ComposeLogLine(table->book.margin(), text));
}

int LogFile::Enter(const char* text) {
  QxLock lock(mutex_, 0);
  ThreadTable* table = TableOfThread();
  if (table == nullptr) return 1;
  table->book.Enter(text == nullptr ? "" : text);
  return 0;
}

int LogFile::Error(const char* text) {
  QxLock lock(mutex_, 0);
  ThreadTable* table = TableOfThread();
  if (table == nullptr) return 1;
  table->book.Error(text == nullptr ? "" : text);
  return 0;
}

int LogFile::Leave(int result, int force) {
  QxLock lock(mutex_, 0);
  ThreadTable* table = TableOfThread();
  if (table == nullptr) return 1;
  for (const std::string& line : table->book.Leave(result, force != 0)) {
    AppendLine(ComposeLogLine(table->book.margin(), line));
  }
  return 0;
}

int LogFile::SetMargin(int delta) {
  QxLock lock(mutex_, 0);
  ThreadTable* table = TableOfThread();
  if (table != nullptr) table->book.AddMargin(delta);
  return 0;
}

}  // namespace ctlhost

// Programs a test starts: the suite's programs under test and orbdriver
// playing the other side.  Every wait for one is bounded, and a program a
// test forgot is killed with its Process object.
#include "harness.h"

#include <psapi.h>

#include <cstdio>
#include <vector>

namespace harness {
namespace {

// The exit code a killed program reports; chosen to differ from every code
// our programs and orbdriver return themselves.
constexpr UINT kKilledExitCode = 0xdead;
// TerminateProcess only starts the end; the program's windows and files are
// released once the process object is signalled.
constexpr DWORD kKillWaitMs = 5000;

}  // namespace

Process::~Process() { kill(); }

Process::Process(Process&& other) noexcept
    : process_(other.process_), id_(other.id_), exitCode_(other.exitCode_) {
  other.process_ = nullptr;
  other.id_ = 0;
  other.exitCode_ = -1;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    kill();
    process_ = other.process_;
    id_ = other.id_;
    exitCode_ = other.exitCode_;
    other.process_ = nullptr;
    other.id_ = 0;
    other.exitCode_ = -1;
  }
  return *this;
}

bool Process::start(const std::string& commandLine) { return launch(commandLine, nullptr); }

bool Process::startWithOutput(const std::string& commandLine, const std::string& outputPath) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) return false;
  const bool started = launch(commandLine, output);
  // The child holds its own copy of the handle.
  CloseHandle(output);
  return started;
}

bool Process::launch(const std::string& commandLine, HANDLE output) {
  // One program per object: the caller waits for or kills the last one.
  if (process_) return false;
  // CreateProcessA may write into the command line, so it gets a copy.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (output) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output;
    startup.hStdError = output;
  }
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, output ? TRUE : FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
  exitCode_ = -1;
  return true;
}

long Process::waitExit(DWORD timeoutMs) {
  if (!process_) return exitCode_;
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  exitCode_ = GetExitCodeProcess(process_, &code) ? static_cast<long>(code) : -1;
  CloseHandle(process_);
  process_ = nullptr;
  return exitCode_;
}

void Process::kill() {
  if (!process_) return;
  TerminateProcess(process_, kKilledExitCode);
  DWORD code = 0;
  const bool ended = WaitForSingleObject(process_, kKillWaitMs) == WAIT_OBJECT_0;
  exitCode_ = ended && GetExitCodeProcess(process_, &code) ? static_cast<long>(code) : -1;
  CloseHandle(process_);
  process_ = nullptr;
}

ProgramJob::ProgramJob() {
  job_ = CreateJobObjectA(nullptr, nullptr);
  if (job_ != nullptr && !AssignProcessToJobObject(job_, GetCurrentProcess())) {
    CloseHandle(job_);
    job_ = nullptr;
  }
}

ProgramJob::~ProgramJob() {
  if (job_ != nullptr) CloseHandle(job_);
}

namespace {

// The program file of process `process`, "" when it cannot be read.
std::string ImageName(HANDLE process) {
  char name[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameExA(process, nullptr, name, sizeof(name));
  return std::string(name, length < sizeof(name) ? length : 0);
}

// Whether `path` lies in the Windows folder (Wine's own programs).
bool IsSystemProgram(const std::string& path) {
  char windows[MAX_PATH + 1] = {};
  const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
  if (length == 0 || length > MAX_PATH || path.size() <= length) return false;
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(), static_cast<int>(length), windows,
                        static_cast<int>(length)) == CSTR_EQUAL &&
         (path[length] == '\\' || path[length] == '/');
}

}  // namespace

int ProgramJob::EndLeftovers() {
  if (job_ == nullptr) return 0;
  constexpr DWORD kMostIds = 512;
  std::vector<unsigned char> buffer(sizeof(JOBOBJECT_BASIC_PROCESS_ID_LIST) + kMostIds * sizeof(ULONG_PTR));
  auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
  if (!QueryInformationJobObject(job_, JobObjectBasicProcessIdList, list, static_cast<DWORD>(buffer.size()),
                                 nullptr)) {
    return 0;
  }
  const DWORD self = GetCurrentProcessId();
  int killed = 0;
  for (DWORD i = 0; i < list->NumberOfProcessIdsInList && i <= kMostIds; ++i) {
    const DWORD id = static_cast<DWORD>(list->ProcessIdList[i]);
    if (id == self) continue;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (process == nullptr) continue;
    const std::string image = ImageName(process);
    if (!image.empty() && !IsSystemProgram(image) && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
      fprintf(stderr, "left running by the tests, killed: %s (process %lu)\n", image.c_str(),
              static_cast<unsigned long>(id));
      TerminateProcess(process, kKilledExitCode);
      WaitForSingleObject(process, kKillWaitMs);
      ++killed;
    }
    CloseHandle(process);
  }
  return killed;
}

std::string ProgramFolder() {
  // Grow the buffer until the whole path fits: the build tree may sit deep.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return std::string();
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace harness

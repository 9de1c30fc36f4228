// The Wine test harness: a small Win32 library for tests that play the other
// side of a conversation with the suite's programs.  Every wait is bounded.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace harness {

// One WM_COPYDATA as the peer window saw it.
struct CopyDataRecord {
  uint32_t code = 0;          // COPYDATASTRUCT.dwData
  uint32_t wParam = 0;        // the message's wParam
  uint32_t cbData = 0;        // COPYDATASTRUCT.cbData
  std::string bytes;          // exactly cbData bytes of lpData
};

// A hidden top-level window of any class (e.g. "ORBPLAY") that records every
// WM_COPYDATA it receives and answers it with `result`.  Lives on the thread
// that created it; call PumpMessages* on that thread so messages arrive.
class PeerWindow {
 public:
  explicit PeerWindow(const char* className, LRESULT result = 1);
  ~PeerWindow();
  PeerWindow(const PeerWindow&) = delete;
  PeerWindow& operator=(const PeerWindow&) = delete;

  // Null when creation failed or once the window is gone (a WM_CLOSE
  // destroys it, as it would a real program's window).
  HWND hwnd() const { return hwnd_; }
  const std::vector<CopyDataRecord>& received() const { return received_; }
  // Every message the window got (message numbers), in order.
  const std::vector<UINT>& messages() const { return messages_; }
  void clear();
  // Called for each WM_COPYDATA after it is recorded and before the window
  // answers, so whatever the handler writes exists once the sender's call
  // returns.  The handler must not throw.
  void setCopyDataHandler(std::function<void(const CopyDataRecord&)> handler);

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT onCopyData(WPARAM wParam, const COPYDATASTRUCT* data);
  std::function<void(const CopyDataRecord&)> copyDataHandler_;
  std::string className_;
  LRESULT result_;
  HWND hwnd_ = nullptr;
  std::vector<CopyDataRecord> received_;
  std::vector<UINT> messages_;
};

// Sends WM_COPYDATA with exactly the given wParam, code and bytes (cbData =
// bytes.size(); nothing is appended), through SendMessageTimeout.  Returns
// false on time-out or failure; *result gets the receiver's return value.
bool SendCopyData(HWND target, uint32_t code, const std::string& bytes, WPARAM wParam,
                  DWORD timeoutMs, LRESULT* result);

// Dispatches this thread's messages for the given time.
void PumpMessagesFor(DWORD ms);
// Dispatches messages until FindWindowA(className) finds a window or the
// time-out passes; returns the window or nullptr.
HWND WaitForWindow(const char* className, DWORD timeoutMs);
// Dispatches messages until `done()` or the time-out; returns done().
template <typename Predicate>
bool PumpUntil(Predicate done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeoutMs) return done();
    PumpMessagesFor(10);
  }
  return true;
}
// Number of top-level windows of a class.
int CountWindows(const char* className);

// A started program.  The destructor kills it if it still runs.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts a command line (quote the program path).  False on failure.
  bool start(const std::string& commandLine);
  // The same, with the program's standard output and standard error both
  // written to the file `outputPath` (created or truncated).
  bool startWithOutput(const std::string& commandLine, const std::string& outputPath);
  bool running() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  // Waits for the end; returns the exit code, or -1 on time-out (the
  // process is left running).
  long waitExit(DWORD timeoutMs);
  void kill();

 private:
  bool launch(const std::string& commandLine, HANDLE output);
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  long exitCode_ = -1;  // kept once the process has ended and been waited for
};

// Puts the test program in a job object, so that every program it starts,
// and every program those start in turn, belongs to the job as well.
// EndLeftovers() kills the ones still running from the test program's own
// folders (the suite's programs, stand-ins, programs copied to scratch
// folders; never Wine's own, which may have joined the job when a test
// started them) and names them on standard error, so that none outlives
// its test program holding files in its TEMP or windows a later test
// would find.  Without job support it does nothing.
class ProgramJob {
 public:
  ProgramJob();
  ~ProgramJob();
  ProgramJob(const ProgramJob&) = delete;
  ProgramJob& operator=(const ProgramJob&) = delete;

  // The number of programs that had to be killed.
  int EndLeftovers();

 private:
  HANDLE job_ = nullptr;
};

// The folder of the running test program, with a final backslash.
std::string ProgramFolder();

// Window facts.
std::string WindowText(HWND hwnd);
RECT WindowRectOf(HWND hwnd);
// True when the window exists, is enabled and is visible; *enabled and
// *visible (either may be null) get each fact, both false when the window
// does not exist.
bool IsWindowEnabledAndVisible(HWND hwnd, bool* enabled, bool* visible);

// Captures the window's client area (with its children) into a 24-bit BMP
// file.  False on failure.
bool CaptureWindowToBmp(HWND hwnd, const std::string& path);

// A 24-bit BMP read back (either row order), pixels top row first.
struct Bmp24 {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;  // RGB() values, width * height
  COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// Reads an uncompressed 24-bit BMP such as CaptureWindowToBmp writes.
// False (and *image untouched) when the file is missing or not such a BMP.
bool ReadBmp24(const std::string& path, Bmp24* image);

// Byte strings as hex ("00ff41") for logs and failure messages.
std::string ToHex(const std::string& bytes);
bool FromHex(const std::string& hex, std::string* bytes);

}  // namespace harness

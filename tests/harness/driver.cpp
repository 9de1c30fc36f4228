// orbdriver: the other side of a conversation with the suite's programs,
// for tests written as shell scripts.  Each subcommand does one thing and
// reports through its exit code and standard output; see Usage().
//
// Output is written in binary mode: shell tests read it with $(...) and
// must not see carriage returns.
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;    // no such window, or the action failed
constexpr int kExitTimedOut = 2;  // the window did not answer in time
constexpr int kExitUsage = 3;     // bad arguments

// A peer stops when it receives this code, so a script can end it cleanly.
constexpr uint32_t kStopCode = 10;
// How long a subcommand waits for its window to appear, and for an answer.
constexpr DWORD kFindWindowMs = 5000;
constexpr DWORD kAnswerMs = 5000;
constexpr uint32_t kMaxPeerSeconds = 24 * 60 * 60;

int Usage() {
  fputs(
      "usage: orbdriver COMMAND ARGUMENTS\n"
      "  peer CLASS LOGFILE SECONDS [RESULT]\n"
      "      hidden window of CLASS; appends 'code wParam cbData hexbytes' per\n"
      "      WM_COPYDATA to LOGFILE and answers RESULT (default 1); ends after\n"
      "      SECONDS or on code 10\n"
      "  send CLASS CODE HEXBYTES [WPARAM]\n"
      "      WM_COPYDATA to the window of CLASS (HEXBYTES '' or - for none;\n"
      "      WPARAM defaults to the byte count); prints the answer;\n"
      "      exit 1 when there is no window, 2 on time-out\n"
      "  wait CLASS MS     exit 0 once a window of CLASS exists, 1 after MS\n"
      "  text CLASS        prints the window's text\n"
      "  rect CLASS        prints 'left top right bottom' (screen)\n"
      "  capture CLASS FILE.bmp\n"
      "      the client area with its children as a 24-bit BMP\n"
      "numbers are decimal or 0x-prefixed hex; exit 3 on bad arguments\n",
      stderr);
  return kExitUsage;
}

int Fail(const std::string& message) {
  fprintf(stderr, "orbdriver: %s\n", message.c_str());
  return kExitFailed;
}

// Decimal, or hex after 0x; never octal, so "010" is ten.
int NumberBase(const std::string& text) {
  const size_t digits = text[0] == '-' ? 1 : 0;
  return text.size() > digits + 1 && text[digits] == '0' && (text[digits + 1] == 'x' || text[digits + 1] == 'X')
             ? 16
             : 10;
}

// The whole string, within 32 bits.
bool ParseUnsigned(const std::string& text, uint32_t* value) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long parsed = strtoull(text.c_str(), &end, NumberBase(text));
  if (errno != 0 || *end != '\0' || parsed > 0xffffffffull) return false;
  *value = static_cast<uint32_t>(parsed);
  return true;
}

bool ParseSigned(const std::string& text, int32_t* value) {
  if (text.empty() || text[0] == ' ') return false;
  char* end = nullptr;
  errno = 0;
  const long long parsed = strtoll(text.c_str(), &end, NumberBase(text));
  if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) return false;
  *value = static_cast<int32_t>(parsed);
  return true;
}

HWND FindOrReport(const std::string& className) {
  HWND hwnd = harness::WaitForWindow(className.c_str(), kFindWindowMs);
  if (!hwnd) fprintf(stderr, "orbdriver: no window of class %s\n", className.c_str());
  return hwnd;
}

int RunPeer(const std::vector<std::string>& args) {
  uint32_t seconds = 0;
  int32_t result = 1;
  if (args.size() < 3 || args.size() > 4 || !ParseUnsigned(args[2], &seconds) || seconds > kMaxPeerSeconds ||
      (args.size() == 4 && !ParseSigned(args[3], &result))) {
    return Usage();
  }
  FILE* log = fopen(args[1].c_str(), "ab");
  if (!log) return Fail("cannot open log file " + args[1]);

  bool stopReceived = false;
  bool logFailed = false;
  {
    harness::PeerWindow peer(args[0].c_str(), result);
    if (!peer.hwnd()) {
      fclose(log);
      return Fail("cannot create a window of class " + args[0]);
    }
    // The line is on disk before the sender's call returns.
    peer.setCopyDataHandler([&](const harness::CopyDataRecord& record) {
      const std::string hex = harness::ToHex(record.bytes);
      if (fprintf(log, "%lu %lu %lu%s%s\n", static_cast<unsigned long>(record.code),
                  static_cast<unsigned long>(record.wParam), static_cast<unsigned long>(record.cbData),
                  hex.empty() ? "" : " ", hex.c_str()) < 0 ||
          fflush(log) != 0) {
        logFailed = true;
      }
      if (record.code == kStopCode) stopReceived = true;
    });
    // Also ends when the window is closed, as a suite program may do to its
    // peers.
    harness::PumpUntil([&] { return stopReceived || !peer.hwnd(); }, seconds * 1000);
  }
  if (fclose(log) != 0) logFailed = true;
  if (logFailed) return Fail("cannot write log file " + args[1]);
  return kExitOk;
}

int RunSend(const std::vector<std::string>& args) {
  uint32_t code = 0;
  std::string bytes;
  if (args.size() < 3 || args.size() > 4 || !ParseUnsigned(args[1], &code)) return Usage();
  if (args[2] != "-" && !harness::FromHex(args[2], &bytes)) return Usage();
  uint32_t wParam = static_cast<uint32_t>(bytes.size());
  if (args.size() == 4 && !ParseUnsigned(args[3], &wParam)) return Usage();

  HWND hwnd = FindOrReport(args[0]);
  if (!hwnd) return kExitFailed;
  LRESULT answer = 0;
  SetLastError(0);
  if (!harness::SendCopyData(hwnd, code, bytes, wParam, kAnswerMs, &answer)) {
    const DWORD error = GetLastError();
    if (error == ERROR_INVALID_WINDOW_HANDLE) {
      fprintf(stderr, "orbdriver: the window of class %s went away\n", args[0].c_str());
      return kExitFailed;
    }
    fprintf(stderr, "orbdriver: no answer from %s within %lu ms (error %lu)\n", args[0].c_str(),
            static_cast<unsigned long>(kAnswerMs), static_cast<unsigned long>(error));
    return kExitTimedOut;
  }
  printf("%ld\n", static_cast<long>(answer));
  return kExitOk;
}

int RunWait(const std::vector<std::string>& args) {
  uint32_t timeoutMs = 0;
  if (args.size() != 2 || !ParseUnsigned(args[1], &timeoutMs)) return Usage();
  if (harness::WaitForWindow(args[0].c_str(), timeoutMs)) return kExitOk;
  fprintf(stderr, "orbdriver: no window of class %s within %lu ms\n", args[0].c_str(),
          static_cast<unsigned long>(timeoutMs));
  return kExitFailed;
}

int RunText(const std::vector<std::string>& args) {
  if (args.size() != 1) return Usage();
  HWND hwnd = FindOrReport(args[0]);
  if (!hwnd) return kExitFailed;
  const std::string text = harness::WindowText(hwnd);
  fwrite(text.data(), 1, text.size(), stdout);
  fputc('\n', stdout);
  return kExitOk;
}

int RunRect(const std::vector<std::string>& args) {
  if (args.size() != 1) return Usage();
  HWND hwnd = FindOrReport(args[0]);
  if (!hwnd) return kExitFailed;
  RECT rect = {};
  if (!GetWindowRect(hwnd, &rect)) return Fail("cannot read the rectangle of " + args[0]);
  printf("%ld %ld %ld %ld\n", static_cast<long>(rect.left), static_cast<long>(rect.top),
         static_cast<long>(rect.right), static_cast<long>(rect.bottom));
  return kExitOk;
}

int RunCapture(const std::vector<std::string>& args) {
  if (args.size() != 2) return Usage();
  HWND hwnd = FindOrReport(args[0]);
  if (!hwnd) return kExitFailed;
  if (!harness::CaptureWindowToBmp(hwnd, args[1])) {
    return Fail("cannot capture " + args[0] + " to " + args[1] + " (hidden, empty or off screen?)");
  }
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  int code = kExitUsage;
  if (command == "peer") {
    code = RunPeer(args);
  } else if (command == "send") {
    code = RunSend(args);
  } else if (command == "wait") {
    code = RunWait(args);
  } else if (command == "text") {
    code = RunText(args);
  } else if (command == "rect") {
    code = RunRect(args);
  } else if (command == "capture") {
    code = RunCapture(args);
  } else {
    fprintf(stderr, "orbdriver: unknown command %s\n", command.c_str());
    return Usage();
  }
  fflush(stdout);
  return code;
}

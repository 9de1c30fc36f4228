// The program the SKSHELL tests start.
//
//   themecore_test_helper MARKER [ARG...]
//
// Writes MARKER, in one piece (a temporary file renamed at the end, so a
// test that sees the file sees all of it):
//   pid <process id>
//   show <1 when STARTF_USESHOWWINDOW was set, else 0> <wShowWindow>
//   arg <each ARG, one per line>
// When ORB_TRACE is set, first appends one trace line per ARG,
//   [pid] helper ARG("<arg>") = <index>
// so that tests see several processes share the trace file.
#include <windows.h>

#include <cstdio>
#include <string>

#include "trace_writer.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: themecore_test_helper MARKER [ARG...]\n");
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    orbtrace::WriteCall(orbtrace::CallLine("helper", "ARG").Text(argv[i]), i - 1);
  }

  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  GetStartupInfoA(&startup);
  std::string report = "pid " + std::to_string(GetCurrentProcessId()) + "\n";
  report += "show " + std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) ? 1 : 0) + " " +
            std::to_string(startup.wShowWindow) + "\n";
  for (int i = 2; i < argc; ++i) report += std::string("arg ") + argv[i] + "\n";

  std::string marker = argv[1];
  std::string partial = marker + ".part";
  FILE* file = std::fopen(partial.c_str(), "wb");
  if (file == nullptr) return 3;
  bool written = std::fwrite(report.data(), 1, report.size(), file) == report.size();
  written = std::fclose(file) == 0 && written;
  if (!written) return 4;
  if (!MoveFileExA(partial.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING)) return 5;
  return 0;
}

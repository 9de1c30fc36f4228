// Helpers shared by the harness self-test; see selftest_util.h.
#include "selftest_util.h"

#include <fstream>
#include <iterator>

#include "harness.h"

namespace selftest {

std::string DriverCommand() { return "\"" + harness::ProgramFolder() + "orbdriver.exe\""; }

std::string ScratchPath(const std::string& name) {
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  std::string path = (length > 0 && length < sizeof folder) ? std::string(folder, length) : std::string(".\\");
  path += "orbharness-" + std::to_string(GetCurrentProcessId()) + "-" + name;
  DeleteFileA(path.c_str());
  return path;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

long RunDriver(const std::string& arguments, std::string* output, DWORD timeoutMs) {
  static int runCount = 0;
  const std::string outputPath = ScratchPath("driver-output-" + std::to_string(++runCount) + ".txt");
  harness::Process driver;
  if (!driver.startWithOutput(DriverCommand() + " " + arguments, outputPath)) return -2;
  long code = -1;
  harness::PumpUntil([&] { return (code = driver.waitExit(0)) != -1; }, timeoutMs);
  if (code == -1) driver.kill();
  if (output) *output = ReadFileBytes(outputPath);
  DeleteFileA(outputPath.c_str());
  return code;
}

}  // namespace selftest

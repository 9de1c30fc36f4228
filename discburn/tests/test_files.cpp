// Scratch folders, fixture files and outside tools for the disc image tests.
#include "test_files.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/wait.h>

#include "core/disc_names.h"

namespace discburn::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::random_device random;
  for (;;) {
    path_ = fs::temp_directory_path() / ("discimage-" + std::to_string(random()));
    if (fs::create_directory(path_)) break;
  }
}

ScratchDir::~ScratchDir() {
  std::error_code error;
  fs::remove_all(path_, error);
}

std::vector<uint8_t> PatternBytes(uint64_t size, uint32_t seed) {
  std::vector<uint8_t> bytes(size);
  uint32_t state = seed * 2654435761u + 1;
  for (uint64_t i = 0; i < size; ++i) {
    state = state * 1664525u + 1013904223u;
    bytes[i] = static_cast<uint8_t>(state >> 24);
  }
  return bytes;
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::u16string U16(const fs::path& path) { return Utf8ToUtf16(path.string()); }

std::string Quote(const fs::path& path) {
  std::string quoted = "'";
  for (char c : path.string()) {
    if (c == '\'') quoted += "'\\''";
    else quoted.push_back(c);
  }
  return quoted + "'";
}

int Run(const std::string& command, std::string* output, int timeoutSec) {
  std::string line = "timeout " + std::to_string(timeoutSec) + " " + command + " 2>&1";
  output->clear();
  std::FILE* pipe = popen(line.c_str(), "r");
  if (!pipe) return -1;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output->append(buffer, got);
  int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HasTool(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    fs::path candidate = fs::path(dirs.substr(start, end - start)) / name;
    std::error_code error;
    if (!candidate.empty() && fs::is_regular_file(candidate, error)) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace discburn::test

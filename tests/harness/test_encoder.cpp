// orbtestencoder: a stand-in for a command-line audio encoder.  It copies
// everything on its standard input to its target file and writes its
// arguments, one a line, to the target's name + ".args".  The target is the
// argument after "-o", else the last argument.  With ORB_ENCODER_QUIT set
// it ends at once with exit code 3, reading nothing (an encoder that fails).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (std::getenv("ORB_ENCODER_QUIT") != nullptr) return 3;
  std::string target;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) target = argv[i + 1];
  }
  if (target.empty() && argc > 1) target = argv[argc - 1];
  if (target.empty() || target == "-") return 2;
  std::string arguments;
  for (int i = 1; i < argc; ++i) arguments += std::string(argv[i]) + "\n";
  FILE* log = std::fopen((target + ".args").c_str(), "wb");
  if (log == nullptr) return 2;
  std::fwrite(arguments.data(), 1, arguments.size(), log);
  std::fclose(log);
  FILE* out = std::fopen(target.c_str(), "wb");
  if (out == nullptr) return 2;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(input, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    if (std::fwrite(buffer, 1, read, out) != read) {
      std::fclose(out);
      return 2;
    }
  }
  return std::fclose(out) == 0 ? 0 : 2;
}

// Quoting of program paths and arguments.
#include "command_line.h"

namespace suite {

std::string QuoteArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      quoted.append(backslashes * 2 + 1, '\\');
    } else {
      quoted.append(backslashes, '\\');
    }
    backslashes = 0;
    quoted.push_back(c);
  }
  // Backslashes before the closing quote are doubled so it stays a quote.
  quoted.append(backslashes * 2, '\\');
  quoted.push_back('"');
  return quoted;
}

std::string ProgramCommandLine(const std::string& programPath, const std::string& arguments) {
  std::string line = QuoteArgument(programPath);
  if (!arguments.empty()) {
    line.push_back(' ');
    line += arguments;
  }
  return line;
}

std::string WithoutFinalBackslash(std::string path) {
  while (!path.empty() && path.back() == '\\') {
    if (path.size() == 3 && path[1] == ':') break;
    path.pop_back();
  }
  return path;
}

std::string WithFinalBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path.push_back('\\');
  return path;
}

std::string BasePath(const std::string& folder, const std::string& exeName) {
  size_t dot = exeName.rfind('.');
  return folder + (dot == std::string::npos ? exeName : exeName.substr(0, dot));
}

std::string NameBeforeFirstDot(const std::string& fileName) {
  return fileName.substr(0, fileName.find('.'));
}

}  // namespace suite

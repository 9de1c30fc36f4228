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

}  // namespace suite

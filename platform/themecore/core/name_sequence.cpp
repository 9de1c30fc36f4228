// Runs of a character and numbered name sequences (see name_sequence.h).
#include "name_sequence.h"

namespace themecore {

std::string CrunchRuns(std::string_view text, char c) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    if (ch == c && !out.empty() && out.back() == c) continue;
    out += ch;
  }
  return out;
}

std::string NextInSequence(std::string_view stem) {
  size_t digitsStart = stem.size();
  while (digitsStart > 0 && stem[digitsStart - 1] >= '0' && stem[digitsStart - 1] <= '9') --digitsStart;
  if (digitsStart == stem.size()) {
    std::string next(stem);
    if (!next.empty() && next.back() != ' ') next += ' ';
    return next + "001";
  }
  // Add one to the digits from the right; a carry out of the first digit
  // puts a new "1" in front of them.
  std::string next(stem);
  size_t at = next.size();
  while (at > digitsStart) {
    --at;
    if (next[at] != '9') {
      ++next[at];
      return next;
    }
    next[at] = '0';
  }
  next.insert(digitsStart, 1, '1');
  return next;
}

}  // namespace themecore

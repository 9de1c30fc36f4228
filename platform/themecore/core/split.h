// Splitting texts and paths the way SKSPLITS and SKSPLITN do.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace themecore {

// The parts of `text` between the separators, like Basic's Split: every
// separator ends a part, so "a|b|" gives "a", "b" and "" and "|" gives two
// empty parts.  An empty text has no parts; an empty separator leaves the
// text whole.  A separator may be longer than one byte.
std::vector<std::string> SplitAtSeparator(std::string_view text, std::string_view separator);

// A path cut after its last '\' or '/': the folder keeps that separator
// ("C:\a\" of "C:\a\b.txt"), and is "" when the path has none.
struct PathParts {
  std::string folder;
  std::string name;
};
PathParts SplitPath(std::string_view path);

// The folders SKMAKEDIR creates for `path`, from the outermost down, each
// without a final separator: "C:\a\b" gives "C:\a" and "C:\a\b".  The
// drive ("C:"), the root and a UNC server and share ("\\srv\share") are
// never in the chain; separators may be '\' or '/', doubled ones count as
// one, and a trailing one is dropped.
std::vector<std::string> FolderChain(std::string_view path);

}  // namespace themecore

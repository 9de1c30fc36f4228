// Option field 12 read into the codec to install, with its checks.
#include "core/screen_codec.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace player {

namespace {

constexpr char kProgramToken[] = "@path@";

std::vector<std::string> SplitBars(const std::string& text) {
  std::vector<std::string> fields(1);
  for (char c : text) {
    if (c == '|') fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A relative path that stays below its folder: not empty, no drive, no
// root, no empty, "." or ".." component.
bool StaysBelow(const std::string& path) {
  if (path.empty() || path.find(':') != std::string::npos) return false;
  std::string component;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\' || path[i] == '/') {
      if (component.empty() || component == "." || component == "..") return false;
      component.clear();
    } else {
      component += path[i];
    }
  }
  return true;
}

bool IsVideoCodecKey(const std::string& key) {
  if (key.size() != 9 || Lower(key.substr(0, 5)) != "vidc.") return false;
  return std::all_of(key.begin() + 5, key.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

}  // namespace

std::optional<ScreenCodec> ParseScreenCodec(const std::string& field12) {
  std::vector<std::string> fields = SplitBars(field12.empty() ? kDefaultCodecSpecification : field12);
  fields.resize(std::max<size_t>(fields.size(), 4));
  const std::string& file = fields[0];
  if (Lower(file.substr(0, sizeof kProgramToken - 1)) != kProgramToken) return std::nullopt;
  ScreenCodec codec;
  codec.sourceBelowProgram = file.substr(sizeof kProgramToken - 1);
  if (!StaysBelow(codec.sourceBelowProgram)) return std::nullopt;
  size_t slash = codec.sourceBelowProgram.find_last_of("\\/");
  codec.fileName = slash == std::string::npos ? codec.sourceBelowProgram : codec.sourceBelowProgram.substr(slash + 1);
  if (codec.fileName.size() < 5 || Lower(codec.fileName.substr(codec.fileName.size() - 4)) != ".dll") {
    return std::nullopt;
  }
  codec.driverKey = fields[1];
  if (!IsVideoCodecKey(codec.driverKey)) return std::nullopt;
  codec.description = fields[2];
  codec.friendlyName = fields[3].empty() ? fields[2] : fields[3];
  return codec;
}

std::string CodecRegistryText(const std::string& text) {
  std::string out = text;
  std::replace(out.begin(), out.end(), ',', '.');
  return out;
}

}  // namespace player

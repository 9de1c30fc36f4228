// Option field 12 read into the codec to install, with its checks.
#include "core/screen_codec.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/item_list.h"
#include "core/path_names.h"
#include "core/text_rules.h"

namespace player {

namespace {

constexpr char kProgramToken[] = "@path@";

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
  if (key.size() != 9 || suite::LowerAscii(key.substr(0, 5)) != "vidc.") return false;
  return std::all_of(key.begin() + 5, key.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

}  // namespace

std::optional<ScreenCodec> ParseScreenCodec(const std::string& field12) {
  std::vector<std::string> fields = suite::SplitItemList(field12.empty() ? kDefaultCodecSpecification : field12);
  fields.resize(std::max<size_t>(fields.size(), 4));
  const std::string& file = fields[0];
  if (suite::LowerAscii(file.substr(0, sizeof kProgramToken - 1)) != kProgramToken) return std::nullopt;
  ScreenCodec codec;
  codec.sourceBelowProgram = file.substr(sizeof kProgramToken - 1);
  if (!StaysBelow(codec.sourceBelowProgram)) return std::nullopt;
  codec.fileName = suite::FileNameOf(codec.sourceBelowProgram);
  if (codec.fileName.size() < 5 || !suite::EndsWithNoCase(codec.fileName, ".dll")) {
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

#include "core/paint_rules.h"

#include <algorithm>

#include "core/item_list.h"
#include "core/path_names.h"

namespace paint {

std::string BasePathOf(const std::string& exePath) {
  return suite::BasePath(suite::FolderOf(exePath), suite::FileNameOf(exePath));
}

std::string AboutText(const std::string& author, const std::string& text, const std::string& dateText) {
  const std::string year = dateText.size() >= 4 ? dateText.substr(dateText.size() - 4) : dateText;
  std::string out = author;
  for (char c : text) {
    if (c == '#') {
      out += year;
    } else {
      out += c;
    }
  }
  return out;
}

size_t PictureCountOf(const std::string& list) { return suite::ItemFieldCount(list); }

std::string PictureAt(const std::string& list, size_t n) { return suite::ItemField(list, n); }

bool CarriesPictureList(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c != '|' && c != ' '; });
}

ToolbarLayout LayOutToolbar(int32_t revertTextWidth, int32_t trackWidth, int32_t trackHeight) {
  const int32_t b = kPageButtonWidth;
  ToolbarLayout layout;
  layout.previousX = 2;
  layout.fullViewX = b + 2;
  layout.nextX = 2 * b + 2;
  layout.revertX = 3 * b + 7;
  layout.revertWidth = revertTextWidth + 20;
  layout.trackX = 3 * b + revertTextWidth + 33;
  layout.trackY = std::max(0, (24 - trackHeight) / 2) + 1;
  layout.counterX = 3 * b + revertTextWidth + trackWidth + 40;
  for (int32_t k = 0; k < 6; ++k) layout.toolY.push_back(24 + 25 * k);
  return layout;
}

std::string ObjectTitle(const std::string& prefix, int32_t number) {
  std::string digits = "000" + std::to_string(number);
  return prefix + digits.substr(digits.size() - 3);
}

}  // namespace paint

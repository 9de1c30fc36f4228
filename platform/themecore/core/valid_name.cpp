#include "valid_name.h"

#include <array>
#include <cctype>
#include <string>

namespace themecore {
namespace {

constexpr int32_t kInvalidName = 123;   // ERROR_INVALID_NAME
constexpr int32_t kNameTooLong = 206;   // ERROR_FILENAME_EXCED_RANGE
constexpr size_t kMaxNameLength = 255;

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices, with or without an
// extension ("nul.txt" is the device too).
bool IsDeviceName(std::string_view name) {
  std::string stem(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static const std::array<const char*, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
  for (const char* device : kPlain) {
    if (stem == device) return true;
  }
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

int32_t CheckSingleName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return kInvalidName;
  if (name.size() > kMaxNameLength) return kNameTooLong;
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 32) return kInvalidName;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return kInvalidName;
  }
  if (name.back() == ' ' || name.back() == '.') return kInvalidName;
  if (IsDeviceName(name)) return kInvalidName;
  return 0;
}

}  // namespace themecore

// Test support for the tonelink Win32 tests; see test_support.h.
#include "test_support.h"

#include "tonelink.h"

namespace testsupport {

void ResetLibrary() {
  BASSLOAD();
  BASSFREE();
}

std::string Description(int32_t code) { return tonelink::ErrorText(code); }

std::vector<char> CdDriveLetters() {
  std::vector<char> letters;
  DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0) continue;
    char root[] = {static_cast<char>('A' + i), ':', '\\', '\0'};
    if (GetDriveTypeA(root) == DRIVE_CDROM) letters.push_back(root[0]);
  }
  return letters;
}

}  // namespace testsupport

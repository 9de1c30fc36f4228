#include "cd_drive.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "unix_tools.h"

namespace harness {

namespace {

// Wine's mount manager defines a drive letter on a Unix folder with this
// request (the one its configuration tool sends).
constexpr DWORD kDefineUnixDrive = 0x6DC080;

#pragma pack(push, 8)
struct UnixDriveRequest {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};
#pragma pack(pop)

bool DefineDrive(char letter, UINT type, const std::string& unixFolder) {
  std::vector<char> buffer(sizeof(UnixDriveRequest) + unixFolder.size() + 1, '\0');
  UnixDriveRequest request = {};
  request.type = type;
  request.letter = static_cast<WCHAR>(letter - 'A' + 'a');
  if (!unixFolder.empty()) {
    request.mountPointOffset = static_cast<USHORT>(sizeof(UnixDriveRequest));
    std::memcpy(buffer.data() + sizeof(UnixDriveRequest), unixFolder.c_str(), unixFolder.size() + 1);
  }
  request.size = static_cast<ULONG>(unixFolder.empty() ? sizeof(UnixDriveRequest) : buffer.size());
  std::memcpy(buffer.data(), &request, sizeof(request));
  HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  DWORD returned = 0;
  BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), request.size, nullptr, 0,
                            &returned, nullptr);
  CloseHandle(manager);
  return ok != FALSE;
}

}  // namespace

CdDrive::CdDrive(const std::string& folder) {
  std::string unixFolder = UnixPathOf(folder);
  if (unixFolder.empty()) return;
  for (char letter = 'M'; letter <= 'Y'; ++letter) {
    char root[] = {letter, ':', '\\', '\0'};
    if (GetDriveTypeA(root) != DRIVE_NO_ROOT_DIR) continue;
    if (DefineDrive(letter, DRIVE_CDROM, unixFolder) && GetDriveTypeA(root) == DRIVE_CDROM) {
      letter_ = letter;
    }
    return;
  }
}

CdDrive::~CdDrive() {
  if (letter_ != 0) DefineDrive(letter_, DRIVE_UNKNOWN, "");
}

}  // namespace harness

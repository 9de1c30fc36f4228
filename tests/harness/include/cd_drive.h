// A CD drive for a Win32 test under Wine: a free drive letter that Wine's
// mount manager reports as a CD-ROM drive (GetDriveType DRIVE_CDROM) over a
// folder the test fills, the way the Wine configuration tool defines drives.
// The letter is removed again by the destructor.
#pragma once

#include <string>

namespace harness {

class CdDrive {
 public:
  // Maps the first free letter from M: on to `folder` (a Windows path).
  explicit CdDrive(const std::string& folder);
  ~CdDrive();
  CdDrive(const CdDrive&) = delete;
  CdDrive& operator=(const CdDrive&) = delete;

  // 0 when no drive could be defined.
  char letter() const { return letter_; }
  // "X:\" for the drive's root.
  std::string root() const { return std::string(1, letter_) + ":\\"; }

 private:
  char letter_ = 0;
};

}  // namespace harness

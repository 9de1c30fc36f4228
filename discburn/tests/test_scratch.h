// A scratch folder for one native test program's backing files, removed
// when the program ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace discburn {

inline std::filesystem::path ScratchFolder(const std::string& program) {
  struct Folder {
    std::filesystem::path path;
    ~Folder() {
      std::error_code error;
      std::filesystem::remove_all(path, error);
    }
  };
  static Folder folder{std::filesystem::temp_directory_path() / (program + "-" + std::to_string(getpid()))};
  std::filesystem::create_directories(folder.path);
  return folder.path;
}

}  // namespace discburn

// Sidecar files; see obf_file.h.
#include "obf_file.h"

#include <windows.h>

#include "core/obf_document.h"
#include "core/obf_name.h"
#include "file_io.h"

namespace overlay {

ObfStatus ReadObfSidecar(const std::string& picturePath, ObfDocument* document) {
  *document = ObfDocument();
  const std::string sidecar = ObfSidecarPath(picturePath);
  if (sidecar.empty()) return ObfStatus::kMissing;
  const DWORD attributes = GetFileAttributesA(sidecar.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return ObfStatus::kMissing;
  }
  std::string bytes;
  if (!suite::ReadWholeFile(sidecar, kObfMaxFileBytes, &bytes)) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    const bool tooLarge = GetFileAttributesExA(sidecar.c_str(), GetFileExInfoStandard, &data) &&
                          (data.nFileSizeHigh != 0 || data.nFileSizeLow > kObfMaxFileBytes);
    return tooLarge ? ObfStatus::kTooLarge : ObfStatus::kMissing;
  }
  ObfReadResult read = DecodeObfDocument(bytes);
  if (read.status == ObfStatus::kOk) *document = std::move(read.document);
  return read.status;
}

ObfStatus WriteObfSidecar(const std::string& picturePath, const ObfDocument& document) {
  const std::string sidecar = ObfSidecarPath(picturePath);
  if (sidecar.empty()) return ObfStatus::kMissing;
  if (document.objects.empty()) {
    DeleteFileA(sidecar.c_str());
    return ObfStatus::kNothingToWrite;
  }
  ObfDocument named = document;
  named.trailer.pictureName = ObfFileNamePart(picturePath);
  if (!suite::WriteFileReplacing(sidecar, EncodeObfDocument(named))) return ObfStatus::kWriteFailed;
  return ObfStatus::kOk;
}

}  // namespace overlay

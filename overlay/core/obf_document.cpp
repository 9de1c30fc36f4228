// Whole OBF sidecars; see obf_document.h.
#include "obf_document.h"

#include "obf_line.h"
#include "obf_trailer.h"

namespace overlay {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

const char* ObfStatusText(ObfStatus status) {
  switch (status) {
    case ObfStatus::kOk: return "ok";
    case ObfStatus::kMissing: return "no sidecar";
    case ObfStatus::kTooShort: return "shorter than the trailer";
    case ObfStatus::kNotObf: return "no OBF tag at the end";
    case ObfStatus::kBadPreviewLength: return "preview length outside the file";
    case ObfStatus::kTooLarge: return "larger than any sidecar";
    case ObfStatus::kWriteFailed: return "could not be written";
    case ObfStatus::kNothingToWrite: return "no objects to write";
  }
  return "unknown";
}

std::string EncodeObfDocument(const ObfDocument& document) {
  std::string bytes = document.preview;
  for (const ObfObject& object : document.objects) {
    bytes.append(EncodeObfLine(object));
    bytes.append(kLineEnd);
  }
  ObfTrailer trailer = document.trailer;
  trailer.previewLength = static_cast<int32_t>(document.preview.size());
  bytes.append(EncodeObfTrailer(trailer));
  return bytes;
}

ObfReadResult DecodeObfDocument(std::string_view bytes) {
  ObfReadResult result;
  if (bytes.size() < kObfTrailerBytes) {
    result.status = bytes.size() >= 3 && bytes.substr(bytes.size() - 3) != "OBF" ? ObfStatus::kNotObf
                                                                                   : ObfStatus::kTooShort;
    return result;
  }
  const size_t trailerOffset = bytes.size() - kObfTrailerBytes;
  ObfTrailer trailer;
  if (!DecodeObfTrailer(bytes.substr(trailerOffset), &trailer)) {
    result.status = ObfStatus::kNotObf;
    return result;
  }
  if (trailer.previewLength < 0 || static_cast<size_t>(trailer.previewLength) > trailerOffset) {
    result.status = ObfStatus::kBadPreviewLength;
    return result;
  }
  const size_t previewLength = static_cast<size_t>(trailer.previewLength);
  std::string_view lines = bytes.substr(previewLength, trailerOffset - previewLength);

  ObfDocument& document = result.document;
  document.preview = std::string(bytes.substr(0, previewLength));
  document.trailer = trailer;
  while (!lines.empty()) {
    const size_t end = lines.find(kLineEnd);
    const std::string_view line = lines.substr(0, end);
    if (!line.empty()) document.objects.push_back(DecodeObfLine(line));
    if (end == std::string_view::npos) break;
    lines.remove_prefix(end + kLineEnd.size());
  }
  result.status = ObfStatus::kOk;
  return result;
}

}  // namespace overlay

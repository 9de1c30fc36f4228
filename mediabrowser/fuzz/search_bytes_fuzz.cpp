// Fuzz target for what the media search reads from outside: the first bytes
// of files (GIF headers and the content rules), directory entry names with
// their attributes, and the text table's type list and action entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/gif_header.h"
#include "core/media_search_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  browser::GifHeader header;
  const bool isGif = browser::ParseGifHeader(bytes, &header);
  if (isGif && (size < browser::kGifHeaderBytes || header.version.size() != 3 || header.width > 0xFFFF ||
                header.height > 0xFFFF)) {
    std::abort();
  }
  const std::string extension = browser::SearchExtensionOf(bytes);
  if (!extension.empty() && extension[0] != '.') std::abort();
  browser::PassesContentRule(extension, bytes.substr(0, browser::ContentRuleBytes(extension)));
  const uint32_t attributes = size >= 4 ? static_cast<uint32_t>(data[0] | data[1] << 8 | data[2] << 16) : 0;
  if (browser::IsSearchedFile(bytes, attributes) && browser::IsEnteredFolder(bytes, attributes)) std::abort();

  for (int command = browser::kFirstSearchCommand; command <= browser::kLastSearchCommand; ++command) {
    const std::string list = browser::SearchExtensionList(bytes, command);
    if (!list.empty() && list.back() != '.') std::abort();
    browser::ExtensionListed(list, extension);
  }
  const browser::SearchAction action = browser::ParseSearchAction(bytes);
  if (browser::ReportSummary('M', action.summaryTemplate, bytes, bytes).size() != browser::kReportSummaryBytes) {
    std::abort();
  }
  browser::ReportFileName(action.reportName, 'M');
  browser::DriveBoxButtons(browser::SearchableDriveLetters(bytes), bytes);
  browser::ReportLine(static_cast<int32_t>(header.width), static_cast<int32_t>(header.height), bytes, bytes);
  return 0;
}

// What the batch picture work's files share (batch.cpp, batch_files.cpp):
// the selected pictures as the batch found them, the start and end of a
// batch, and the one report of its first failure.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace browser {

// A selected file as the batch found it.  The batch works on the path it
// captured, whatever the list shows meanwhile (the user may choose another
// folder while it runs).
struct BatchItem {
  int index = -1;      // its place in the list when the batch started
  std::string item;    // the list's text (" name")
  std::string name;    // the file name
  std::string path;    // the full path
};
std::vector<BatchItem> SelectedBatchItems();

// The list's current place of a batch item: -1 when the list shows another
// folder now, or no longer holds it.
int CurrentListIndex(const std::string& folder, const BatchItem& item);

// True while a batch runs: another batch command then does nothing.
bool BatchRunning();
// A batch runs from BeginBatch (false while another batch, a delete or a
// copy runs: the command then does nothing) to EndBatch: meanwhile the folder watcher and
// the thumbnail loader rest; afterwards they start again for what the
// folder holds.
bool BeginBatch();
void EndBatch();
// The folder the running batch works in.
const std::string& BatchFolder();

// Reports the first failure of the batch and stays silent for the others:
// the file's path and a text entry, in an information or warning box.
enum class FailureBox { kInformation, kWarning };
void ReportBatchFailure(const std::string& path, size_t textEntry, FailureBox box);

// Text entries of the batch work.
constexpr size_t kNotChangedEntry = 35;
constexpr size_t kRenamePromptEntry = 36;
constexpr size_t kTargetTakenEntry = 37;
constexpr size_t kPictureTypesEntry = 38;
constexpr size_t kConvertButtonsEntry = 39;
constexpr size_t kConvertCaptionEntry = 40;
constexpr size_t kSideFilesEntry = 50;
constexpr size_t kNewSizeButtonsEntry = 53;

// The conversion (710) and the numbered renaming (711) (batch_files.cpp).
void ConvertSelectedPictures();
void RenameSelectedInSequence();

}  // namespace browser

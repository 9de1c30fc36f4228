// The disc project: the tree of directories and file entries that will be
// written, each file pointing at a source file on the computer or at data
// already on the disc (an imported session).  This file owns the tree, the
// insertion rules and the project's settings; image_layout.h places the
// tree in sectors, image_header.h and image_stream.h write it, and
// session_import.h fills it from a previous session.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/file_source.h"

namespace discburn {

// The fixed tables of the library: entries (directories included) and
// directories.  Path-table parent numbers are 16 bits, so the directory
// limit also keeps every number representable.
inline constexpr size_t kMaxFileEntries = 200000;
inline constexpr size_t kMaxDirectories = 65000;
// Files are recorded with one extent, whose length field has 32 bits.
inline constexpr uint64_t kMaxFileBytes = 0xFFFFFFFFull;

// Component state of the project (BurnState).
enum BurnStatus : int16_t {
  kStatusIdle = 0,
  kStatusWriting = 1,
  kStatusWritten = 4,
  kStatusPreparing = 5,
  kStatusImporting = 7,
  kStatusWriteFailed = 8,
};

// Project error numbers (BurnError).
enum BurnErrorCode : int32_t {
  kErrorNone = 0,
  kErrorNotPrepared = 1,   // a burn or image build without a successful layout
  kErrorOpenSource = 2,    // a source or image file could not be opened or read
  kErrorCreateImage = 3,   // the image file could not be created or written
  kErrorStopped = 4,       // stopped by the user
};

// The seven bytes of an ISO 9660 directory record's date: local time and
// its offset from UTC in 15-minute units.
struct RecordingTime {
  uint8_t yearsSince1900 = 70;
  uint8_t month = 1;
  uint8_t day = 1;
  uint8_t hour = 0;
  uint8_t minute = 0;
  uint8_t second = 0;
  int8_t utcOffset15 = 0;
};

// The local time of utcSeconds at offsetMinutes from UTC.  Years outside
// 1900..2155 are clamped to the first or last second that can be recorded.
RecordingTime MakeRecordingTime(int64_t utcSeconds, int32_t offsetMinutes);

struct DirNode;

struct FileNode {
  std::u16string longName;    // as inserted; lookups compare it without regard to case
  std::u16string jolietName;  // written to the Joliet tree (bounded, unique in its directory)
  std::string isoName;        // written to the ISO 9660 tree (upper-case, unique)
  std::u16string sourcePath;  // empty for directories and imported entries
  RecordingTime time;
  uint64_t sizeBytes = 0;
  // Sector relative to the file data start, or the absolute sector of an
  // imported entry.
  uint32_t extent = 0;
  bool isImported = false;
  bool isWideSource = false;  // open the source by its UTF-16 path
  uint32_t attributes = 0;
  DirNode* directory = nullptr;  // set for directory entries

  bool isDirectory() const { return directory != nullptr; }
};

struct DirNode {
  DirNode* parent = nullptr;  // the root is its own parent
  FileNode* entry = nullptr;  // the directory's entry in its parent; none for the root
  RecordingTime rootTime;     // the root's "." time (other directories use their entry's)
  std::vector<FileNode*> children;  // insertion order
  // Layout (image_layout.h).
  uint32_t isoSizeBytes = 0;
  uint32_t jolietSizeBytes = 0;
  uint32_t isoExtent = 0;     // relative to the ISO directory area
  uint32_t jolietExtent = 0;  // relative to the Joliet directory area
  uint32_t depth = 0;
  uint16_t pathTableNumber = 0;

  // Name indexes for lookups and uniqueness.
  std::unordered_map<std::u16string, FileNode*> byFoldedLongName;
  std::unordered_set<std::u16string> foldedJolietNames;
  std::unordered_set<std::string> isoNames;

  const RecordingTime& time() const { return entry ? entry->time : rootTime; }
};

// Where the image's structures lie, in sectors from the image start.
struct ImageLayout {
  uint32_t isoPathTableBytes = 0;
  uint32_t jolietPathTableBytes = 0;
  uint32_t isoPathTableL = 0;
  uint32_t isoPathTableM = 0;
  uint32_t jolietPathTableL = 0;
  uint32_t jolietPathTableM = 0;
  uint32_t isoDirStart = 0;
  uint32_t isoDirSectors = 0;
  uint32_t jolietDirStart = 0;
  uint32_t jolietDirSectors = 0;
  uint32_t bootCatalogSector = 0;
  uint32_t bootImageSector = 0;
  uint32_t bootImageSectors = 0;
  uint32_t headerSectors = 0;   // what WriteImageHeader writes (up to the boot image)
  uint32_t paddingSectors = 0;
  uint32_t fileDataStart = 0;
  uint32_t fileDataSectors = 0;
  uint32_t imageSectors = 0;    // after rounding
  std::vector<DirNode*> pathTableOrder;  // path-table number n is entry n - 1
};

// Why an insertion did not add what it was given.
enum class InsertStatus {
  kInserted,
  kReplaced,         // an entry of the same name and kind was overwritten (replace on)
  kNameClash,        // an entry of that name exists (replace off, or of the other kind)
  kSourceMissing,    // the source does not exist
  kNotAFile,         // a directory or a wildcard was given as a file
  kTooLarge,         // a file of 4 GiB or more
  kNoSuchDirectory,  // the destination names no directory
  kTableFull,        // the file or directory table is full
};

struct InsertResult {
  // The entry added or replaced, or the file of that name already there
  // (replace off); null otherwise.
  FileNode* node = nullptr;
  InsertStatus status = InsertStatus::kInserted;
};

// A file or folder that an insertion left out, for the client to show.
struct InsertProblem {
  std::u16string path;  // destination path of the entry ("\DIR\name") or the source path
  InsertStatus status;
};

class BurnProject {
 public:
  // files and clock must outlive the project.
  BurnProject(FileSource& files, Clock& clock);
  BurnProject(const BurnProject&) = delete;
  BurnProject& operator=(const BurnProject&) = delete;

  // Empties the tree, removes the boot image, switches rounding on and
  // gives the root a fresh time; mode 1 also switches long-name mode on for
  // good.
  void Clear(int mode = 0);

  DirNode* root() const { return directories_.front().get(); }
  // "\" or "" is the root; parts separated by "\" are matched against the
  // long names of child directories without regard to case.
  DirNode* FindDir(std::u16string_view path) const;
  // The directory name under parentPath, existing or new; null when the
  // parent is missing, a file of that name exists or the table is full.
  DirNode* CreateDir(std::u16string_view parentPath, std::u16string_view name);
  InsertResult InsertFile(std::u16string_view destDir, const std::u16string& sourceFile,
                          bool isWideSource = true);
  InsertResult InsertFileWithName(std::u16string_view destDir, const std::u16string& sourceFile,
                                  std::u16string_view longName, std::u16string_view shortName,
                                  bool isWideSource = true);
  // The destination directory, or null when destDir names no directory or
  // sourceDir is not a folder.  Entries left out are listed in problems().
  DirNode* InsertDir(std::u16string_view destDir, const std::u16string& sourceDir,
                     std::u16string_view mask, bool recurse, bool keepPath,
                     bool isWideSource = true);

  // Building blocks shared with the session importer.
  DirNode* CreateChildDir(DirNode* parent, std::u16string_view longName,
                          std::u16string_view shortName, const RecordingTime& time,
                          uint32_t attributes);
  InsertResult AddEntry(DirNode* dir, const FindData& find, const std::u16string& sourcePath,
                        bool isWideSource);
  InsertResult AddImportedFile(DirNode* dir, std::u16string_view longName, const RecordingTime& time,
                               uint32_t sizeBytes, uint32_t absoluteExtent, uint32_t attributes);
  RecordingTime TimeOf(int64_t utcSeconds) const;

  // At most 32 characters; the ISO descriptor gets its upper-cased ASCII form.
  void SetVolumeId(std::u16string_view label);
  const std::u16string& volumeId() const { return volumeId_; }
  // Accepts a boot image of 2048 (no emulation), 1228800, 1474560 or
  // 2949120 bytes (floppy emulation); anything else removes it.
  bool SetBootImage(const std::u16string& path, bool isWideSource = true);
  bool hasBootImage() const { return !bootImagePath_.empty(); }
  const std::u16string& bootImagePath() const { return bootImagePath_; }
  bool isBootImageWide() const { return isBootImageWide_; }
  uint32_t bootImageBytes() const { return bootImageBytes_; }

  bool replaceFiles = false;
  bool hasJolietTree = true;
  bool roundTo32 = true;
  bool isLongNameMode() const { return isLongNameMode_; }

  int16_t status = kStatusIdle;
  int32_t error = kErrorNone;
  bool isPrepared = false;
  ImageLayout layout;

  const std::vector<std::unique_ptr<FileNode>>& files() const { return files_; }
  const std::vector<std::unique_ptr<DirNode>>& directories() const { return directories_; }
  const std::vector<InsertProblem>& problems() const { return problems_; }
  FileSource& fileSource() const { return files_source_; }

 private:
  FileNode* FindChild(const DirNode* dir, std::u16string_view longName) const;
  void GiveNames(DirNode* dir, FileNode* node, std::u16string_view longName,
                 std::u16string_view isoSource, bool isFile);
  void ForgetNames(DirNode* dir, FileNode* node);
  void Report(const DirNode* dir, std::u16string_view name, InsertStatus status);
  std::u16string PathOf(const DirNode* dir) const;
  void InsertFolder(DirNode* dest, const std::u16string& sourceDir, std::u16string_view mask,
                    bool recurse, bool isWideSource, int depth);

  FileSource& files_source_;
  Clock& clock_;
  std::vector<std::unique_ptr<FileNode>> files_;
  std::vector<std::unique_ptr<DirNode>> directories_;
  std::vector<InsertProblem> problems_;
  std::u16string volumeId_;
  std::u16string bootImagePath_;
  bool isBootImageWide_ = false;
  uint32_t bootImageBytes_ = 0;
  bool isLongNameMode_ = false;
};

}  // namespace discburn

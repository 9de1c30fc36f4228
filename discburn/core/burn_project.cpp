// The project tree: lookups, insertion rules, name clashes and settings.
#include "core/burn_project.h"

#include "core/disc_names.h"

namespace discburn {

namespace {

std::u16string Folded(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = FoldCase(c);
  return out;
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Splits a path at "\" (and "/", which a Windows path may also use),
// dropping empty parts.
std::vector<std::u16string_view> SplitPath(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && IsSeparator(path[i])) ++i;
    size_t start = i;
    while (i < path.size() && !IsSeparator(path[i])) ++i;
    if (i > start) parts.push_back(path.substr(start, i - start));
  }
  return parts;
}

// The part of a source path below its drive ("C:") or share
// ("\\server\share").
std::u16string_view WithoutDrive(std::u16string_view path) {
  if (path.size() >= 2 && path[1] == u':') return path.substr(2);
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    size_t server = path.find_first_of(u"\\/", 2);
    if (server == std::u16string_view::npos) return u"";
    size_t share = path.find_first_of(u"\\/", server + 1);
    return share == std::u16string_view::npos ? u"" : path.substr(share);
  }
  return path;
}

std::u16string WithoutTrailingSeparator(std::u16string_view path) {
  if (!path.empty() && IsSeparator(path.back())) path.remove_suffix(1);
  return std::u16string(path);
}

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

}  // namespace

RecordingTime MakeRecordingTime(int64_t utcSeconds, int32_t offsetMinutes) {
  // The offset byte holds -48..52 quarter hours.
  int32_t quarters = offsetMinutes / 15;
  if (quarters < -48) quarters = -48;
  if (quarters > 52) quarters = 52;
  const int64_t first = DaysFromCivil(1900, 1, 1) * 86400;
  const int64_t last = DaysFromCivil(2156, 1, 1) * 86400 - 1;
  int64_t local = utcSeconds + int64_t(quarters) * 15 * 60;
  if (local < first) local = first;
  if (local > last) local = last;
  int64_t days = local / 86400;
  int64_t rest = local % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  // Civil date from days since 1970 (proleptic Gregorian).
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned day = doy - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = static_cast<int64_t>(yoe) + era * 400 + (month <= 2);

  RecordingTime time;
  time.yearsSince1900 = static_cast<uint8_t>(year - 1900);
  time.month = static_cast<uint8_t>(month);
  time.day = static_cast<uint8_t>(day);
  time.hour = static_cast<uint8_t>(rest / 3600);
  time.minute = static_cast<uint8_t>(rest / 60 % 60);
  time.second = static_cast<uint8_t>(rest % 60);
  time.utcOffset15 = static_cast<int8_t>(quarters);
  return time;
}

BurnProject::BurnProject(FileSource& files, Clock& clock) : files_source_(files), clock_(clock) {
  Clear(0);
}

void BurnProject::Clear(int mode) {
  files_.clear();
  directories_.clear();
  problems_.clear();
  auto root = std::make_unique<DirNode>();
  root->parent = root.get();
  root->rootTime = TimeOf(clock_.NowUtcSeconds());
  directories_.push_back(std::move(root));
  bootImagePath_.clear();
  bootImageBytes_ = 0;
  roundTo32 = true;
  if (mode == 1) isLongNameMode_ = true;
  isPrepared = false;
}

RecordingTime BurnProject::TimeOf(int64_t utcSeconds) const {
  return MakeRecordingTime(utcSeconds, clock_.UtcOffsetMinutes(utcSeconds));
}

FileNode* BurnProject::FindChild(const DirNode* dir, std::u16string_view longName) const {
  auto found = dir->byFoldedLongName.find(Folded(longName));
  return found == dir->byFoldedLongName.end() ? nullptr : found->second;
}

DirNode* BurnProject::FindDir(std::u16string_view path) const {
  DirNode* dir = root();
  for (std::u16string_view part : SplitPath(path)) {
    FileNode* child = FindChild(dir, part);
    if (!child || !child->isDirectory()) return nullptr;
    dir = child->directory;
  }
  return dir;
}

std::u16string BurnProject::PathOf(const DirNode* dir) const {
  std::u16string path;
  while (dir->entry) {
    path = u"\\" + dir->entry->longName + path;
    dir = dir->parent;
  }
  return path;
}

void BurnProject::Report(const DirNode* dir, std::u16string_view name, InsertStatus status) {
  problems_.push_back({PathOf(dir) + u"\\" + std::u16string(name), status});
}

void BurnProject::ForgetNames(DirNode* dir, FileNode* node) {
  dir->byFoldedLongName.erase(Folded(node->longName));
  dir->foldedJolietNames.erase(Folded(node->jolietName));
  dir->isoNames.erase(node->isoName);
}

// Gives a new or overwritten entry its two names, each unique in dir, and
// enters them in dir's indexes.
void BurnProject::GiveNames(DirNode* dir, FileNode* node, std::u16string_view longName,
                            std::u16string_view isoSource, bool isFile) {
  std::u16string joliet(longName);
  if (isFile && joliet.find(u'.') == std::u16string::npos) joliet.push_back(u'.');
  joliet = JolietName(joliet);

  std::string iso;
  size_t isoLimit = kIsoMaxBytes;
  if (isFile && isLongNameMode_) {
    isoLimit = kIsoLongMaxBytes;
    iso = IsoNameBytes(longName, isoLimit);
  } else {
    iso = IsoNameBytes(isoSource, isoLimit);
  }
  if (!isFile && iso.empty()) iso = "________.___";
  if (isFile && iso.find('.') == std::string::npos) {
    if (iso.size() == isoLimit) iso.pop_back();
    iso.push_back('.');
  }

  for (uint32_t n = 1; dir->foldedJolietNames.count(Folded(joliet)); ++n) {
    joliet = MakeUniqueName(JolietName(longName), n, kJolietMaxChars);
    if (isFile && joliet.find(u'.') == std::u16string::npos) {
      joliet = MakeUniqueName(JolietName(std::u16string(longName) + u"."), n, kJolietMaxChars);
    }
  }
  const std::string isoBase = iso;
  for (uint32_t n = 1; dir->isoNames.count(iso); ++n) iso = MakeUniqueName(isoBase, n, isoLimit);

  node->longName = std::u16string(longName);
  node->jolietName = joliet;
  node->isoName = iso;
  dir->byFoldedLongName[Folded(node->longName)] = node;
  dir->foldedJolietNames.insert(Folded(joliet));
  dir->isoNames.insert(iso);
}

InsertResult BurnProject::AddEntry(DirNode* dir, const FindData& find,
                                   const std::u16string& sourcePath, bool isWideSource) {
  const bool isFile = (find.attributes & kAttributeDirectory) == 0;
  if (isFile && find.sizeBytes > kMaxFileBytes) {
    Report(dir, find.longName, InsertStatus::kTooLarge);
    return {nullptr, InsertStatus::kTooLarge};
  }
  FileNode* node = FindChild(dir, find.longName);
  InsertStatus status = InsertStatus::kInserted;
  if (node) {
    // Only a file replaces a file: a folder turned into a file (or the
    // reverse) would leave a directory no record points to.
    if (!replaceFiles || !isFile || node->isDirectory()) {
      Report(dir, find.longName, InsertStatus::kNameClash);
      // With replace off a file already there is the answer, unchanged.
      const bool isSameKind = isFile && !node->isDirectory();
      return {isSameKind ? node : nullptr, InsertStatus::kNameClash};
    }
    ForgetNames(dir, node);
    status = InsertStatus::kReplaced;
  } else {
    if (files_.size() >= kMaxFileEntries) {
      Report(dir, find.longName, InsertStatus::kTableFull);
      return {nullptr, InsertStatus::kTableFull};
    }
    files_.push_back(std::make_unique<FileNode>());
    node = files_.back().get();
    dir->children.push_back(node);
  }
  std::u16string isoSource = find.shortName.empty() ? Prefix(find.longName, 12) : find.shortName;
  GiveNames(dir, node, find.longName, isoSource, isFile);
  node->time = TimeOf(find.lastWriteUtcSeconds);
  node->sizeBytes = isFile ? find.sizeBytes : 0;
  node->sourcePath = sourcePath;
  node->isWideSource = isWideSource;
  node->extent = 0;
  node->isImported = false;
  node->attributes = find.attributes;
  isPrepared = false;
  return {node, status};
}

InsertResult BurnProject::AddImportedFile(DirNode* dir, std::u16string_view longName,
                                          const RecordingTime& time, uint32_t sizeBytes,
                                          uint32_t absoluteExtent, uint32_t attributes) {
  FindData find;
  find.longName = std::u16string(longName);
  find.sizeBytes = sizeBytes;
  find.attributes = attributes & ~kAttributeDirectory;
  InsertResult result = AddEntry(dir, find, std::u16string(), false);
  // A record whose name is taken adds nothing and changes nothing.
  if (result.status == InsertStatus::kNameClash) return {nullptr, InsertStatus::kNameClash};
  if (!result.node) return result;
  result.node->time = time;
  result.node->extent = sizeBytes ? absoluteExtent : 0;
  result.node->isImported = true;
  return result;
}

DirNode* BurnProject::CreateChildDir(DirNode* parent, std::u16string_view longName,
                                     std::u16string_view shortName, const RecordingTime& time,
                                     uint32_t attributes) {
  if (FileNode* existing = FindChild(parent, longName)) {
    if (existing->isDirectory()) return existing->directory;
    Report(parent, longName, InsertStatus::kNameClash);
    return nullptr;
  }
  if (directories_.size() >= kMaxDirectories || files_.size() >= kMaxFileEntries) {
    Report(parent, longName, InsertStatus::kTableFull);
    return nullptr;
  }
  auto dir = std::make_unique<DirNode>();
  dir->parent = parent;
  files_.push_back(std::make_unique<FileNode>());
  FileNode* entry = files_.back().get();
  entry->attributes = attributes | kAttributeDirectory;
  entry->time = time;
  entry->directory = dir.get();
  dir->entry = entry;
  GiveNames(parent, entry, longName, shortName.empty() ? Prefix(longName, 13) : shortName, false);
  parent->children.push_back(entry);
  directories_.push_back(std::move(dir));
  isPrepared = false;
  return entry->directory;
}

DirNode* BurnProject::CreateDir(std::u16string_view parentPath, std::u16string_view name) {
  DirNode* parent = FindDir(parentPath);
  if (!parent || SplitPath(name).size() != 1 || SplitPath(name)[0].size() != name.size()) {
    return nullptr;
  }
  return CreateChildDir(parent, name, Prefix(name, 12), TimeOf(clock_.NowUtcSeconds()), 0);
}

InsertResult BurnProject::InsertFileWithName(std::u16string_view destDir,
                                             const std::u16string& sourceFile,
                                             std::u16string_view longName,
                                             std::u16string_view shortName, bool isWideSource) {
  if (HasWildcard(sourceFile)) return {nullptr, InsertStatus::kNotAFile};
  std::optional<FindData> find = files_source_.Find(sourceFile);
  if (!find) return {nullptr, InsertStatus::kSourceMissing};
  if (find->attributes & kAttributeDirectory) return {nullptr, InsertStatus::kNotAFile};
  DirNode* dir = FindDir(WithoutTrailingSeparator(destDir));
  if (!dir) return {nullptr, InsertStatus::kNoSuchDirectory};
  find->longName = std::u16string(longName);
  find->shortName = std::u16string(shortName);
  if (find->longName.empty() || SplitPath(find->longName).size() != 1 ||
      SplitPath(find->longName)[0].size() != find->longName.size()) {
    return {nullptr, InsertStatus::kNotAFile};
  }
  return AddEntry(dir, *find, sourceFile, isWideSource);
}

InsertResult BurnProject::InsertFile(std::u16string_view destDir, const std::u16string& sourceFile,
                                     bool isWideSource) {
  if (HasWildcard(sourceFile)) return {nullptr, InsertStatus::kNotAFile};
  std::optional<FindData> find = files_source_.Find(sourceFile);
  if (!find) return {nullptr, InsertStatus::kSourceMissing};
  return InsertFileWithName(destDir, sourceFile, find->longName, find->shortName, isWideSource);
}

// Folder links can form cycles; no real tree on a disc goes this deep.
constexpr int kMaxInsertDepth = 128;

void BurnProject::InsertFolder(DirNode* dest, const std::u16string& sourceDir,
                               std::u16string_view mask, bool recurse, bool isWideSource,
                               int depth) {
  // One listing serves both passes when the mask takes every name.
  const bool isEveryName = mask == u"*.*" || mask == u"*";
  std::vector<FindData> all;
  if (recurse || isEveryName) all = files_source_.List(sourceDir, u"*.*");
  if (recurse && depth < kMaxInsertDepth) {
    for (const FindData& sub : all) {
      if (!(sub.attributes & kAttributeDirectory)) continue;
      std::u16string shortName = sub.shortName.empty() ? Prefix(sub.longName, 13) : sub.shortName;
      DirNode* child = CreateChildDir(dest, sub.longName, shortName,
                                      TimeOf(sub.lastWriteUtcSeconds), sub.attributes);
      if (!child) continue;
      InsertFolder(child, sourceDir + u"\\" + sub.longName, mask, true, isWideSource, depth + 1);
    }
  }
  const std::vector<FindData> matching =
      isEveryName ? std::move(all) : files_source_.List(sourceDir, std::u16string(mask));
  for (const FindData& file : matching) {
    if (file.attributes & kAttributeDirectory) continue;
    AddEntry(dest, file, sourceDir + u"\\" + file.longName, isWideSource);
  }
}

DirNode* BurnProject::InsertDir(std::u16string_view destDir, const std::u16string& sourceDir,
                                std::u16string_view mask, bool recurse, bool keepPath,
                                bool isWideSource) {
  DirNode* dest = FindDir(WithoutTrailingSeparator(destDir));
  if (!dest) return nullptr;
  std::u16string source = WithoutTrailingSeparator(sourceDir);
  if (HasWildcard(source)) return nullptr;
  std::optional<FindData> find = files_source_.Find(source);
  if (!find || !(find->attributes & kAttributeDirectory)) return nullptr;
  if (keepPath && source.size() >= 3) {
    std::vector<std::u16string_view> parts = SplitPath(WithoutDrive(source));
    if (parts.empty()) dest = root();
    for (std::u16string_view part : parts) {
      dest = CreateChildDir(dest, part, Prefix(part, 12), TimeOf(clock_.NowUtcSeconds()), 0);
      if (!dest) return nullptr;
    }
  }
  InsertFolder(dest, source, mask.empty() ? u"*.*" : mask, recurse, isWideSource, 0);
  return dest;
}

void BurnProject::SetVolumeId(std::u16string_view label) {
  volumeId_ = Prefix(label, 32);
}

bool BurnProject::SetBootImage(const std::u16string& path, bool isWideSource) {
  bootImagePath_.clear();
  bootImageBytes_ = 0;
  isPrepared = false;
  if (path.empty() || HasWildcard(path)) return false;
  std::optional<FindData> find = files_source_.Find(path);
  if (!find || (find->attributes & kAttributeDirectory)) return false;
  const uint64_t size = find->sizeBytes;
  if (size != 2048 && size != 1228800 && size != 1474560 && size != 2949120) return false;
  if (!files_source_.Open(path, isWideSource)) return false;
  bootImagePath_ = path;
  isBootImageWide_ = isWideSource;
  bootImageBytes_ = static_cast<uint32_t>(size);
  return true;
}

}  // namespace discburn

// An in-memory file system with Windows paths ("C:\Photos\a.jpg"), 8.3
// aliases, attributes and sizes without contents, for the tree tests.
// Lookups ignore case, as on Windows.
#pragma once

#include <map>

#include "core/disc_names.h"
#include "core/file_source.h"

namespace discburn::test {

class FakeFileSource : public FileSource {
 public:
  void AddFile(const std::u16string& path, uint64_t sizeBytes, const std::u16string& shortName = u"",
               uint32_t attributes = 0) {
    Add(path, sizeBytes, shortName, attributes & ~kAttributeDirectory);
  }
  void AddDir(const std::u16string& path, const std::u16string& shortName = u"") {
    Add(path, 0, shortName, kAttributeDirectory);
  }

  std::optional<FindData> Find(const std::u16string& path) override {
    if (HasWildcard(path)) return std::nullopt;
    auto found = entries_.find(Key(path));
    if (found == entries_.end()) return std::nullopt;
    return found->second;
  }
  std::vector<FindData> List(const std::u16string& folder, const std::u16string& mask) override {
    std::vector<FindData> list;
    const std::u16string prefix = Key(folder) + u"\\";
    for (const auto& [key, find] : entries_) {
      if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) continue;
      if (key.find(u'\\', prefix.size()) != std::u16string::npos) continue;
      if (MatchesMask(find.longName, mask)) list.push_back(find);
    }
    return list;
  }
  std::unique_ptr<SourceStream> Open(const std::u16string&, bool) override { return nullptr; }

 private:
  static std::u16string Key(std::u16string path) {
    while (!path.empty() && path.back() == u'\\') path.pop_back();
    for (char16_t& c : path) c = FoldCase(c);
    return path;
  }
  void Add(const std::u16string& path, uint64_t sizeBytes, const std::u16string& shortName,
           uint32_t attributes) {
    FindData find;
    find.longName = path.substr(path.rfind(u'\\') + 1);
    find.shortName = shortName;
    find.sizeBytes = sizeBytes;
    find.attributes = attributes;
    find.lastWriteUtcSeconds = 1700000000;
    entries_[Key(path)] = find;
  }
  std::map<std::u16string, FindData> entries_;
};

}  // namespace discburn::test

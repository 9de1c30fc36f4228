// The order in which the media search visits the folders of a drive: depth
// first, each folder before its subfolders, the subfolders of a folder in
// the order the file system lists them, all of them before the folders
// found earlier.  The pending folders are a stack that grows as needed, so
// no folder of a deep or wide tree is ever left out.
#pragma once

#include <string>
#include <vector>

namespace browser {

class SearchFolderWalk {
 public:
  // `root` ends in "\" ("D:\").
  explicit SearchFolderWalk(std::string root);

  // The next folder to search ("" before the first call); false when every
  // folder was searched.  The subfolders added for the previous folder come
  // first.
  bool Next(std::string* folder);
  // A subfolder of the folder being searched (its name alone): visited
  // after the subfolders added before it, before the folders found earlier.
  void AddSubfolder(const std::string& name);
  // Folders still waiting, the current folder's new subfolders included.
  size_t pendingCount() const { return pending_.size() + children_.size(); }

 private:
  std::vector<std::string> pending_;   // the next folder at the back
  std::vector<std::string> children_;  // subfolders of current_, in the order found
  std::string current_;
};

}  // namespace browser

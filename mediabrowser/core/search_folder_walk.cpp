// The media search's folder order (see search_folder_walk.h).
#include "core/search_folder_walk.h"

#include <utility>

namespace browser {

SearchFolderWalk::SearchFolderWalk(std::string root) { pending_.push_back(std::move(root)); }

bool SearchFolderWalk::Next(std::string* folder) {
  // The first subfolder found goes on top, so it is searched next.
  for (auto child = children_.rbegin(); child != children_.rend(); ++child) pending_.push_back(std::move(*child));
  children_.clear();
  if (pending_.empty()) return false;
  current_ = std::move(pending_.back());
  pending_.pop_back();
  *folder = current_;
  return true;
}

void SearchFolderWalk::AddSubfolder(const std::string& name) { children_.push_back(current_ + name + "\\"); }

}  // namespace browser

// The name of a picture's overlay sidecar.  Every program that reads or
// writes a sidecar derives the name here, so they all agree.
#pragma once

#include <string>

namespace overlay {

// The picture's path with the extension of its file name replaced by
// ".obf"; a file name without "." gets ".obf" appended.  Only the file-name
// part is searched for the "." (after the last "\", "/" or ":"), so that two
// pictures without an extension in a folder such as "C:\a.b\" keep
// sidecars of their own instead of sharing "C:\a.obf".  "" for "".
std::string ObfSidecarPath(const std::string& picturePath);

// The file-name part of a path (after the last "\", "/" or ":"), as the
// trailer stores it.
std::string ObfFileNamePart(const std::string& path);

}  // namespace overlay

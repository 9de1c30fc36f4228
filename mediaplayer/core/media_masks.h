// Which items the media player takes for media, audio or pictures, from
// their extensions.
//
// Extension runs are written together, each extension between dots:
// ".avi.mpg.mp3.".  The media run is text entry 3 of the text table (video
// and other media) followed by the audio library's patterns of entry 88
// ("*.mp3;*.wav;*.ogg") when that library is there; the picture run is
// fixed.
#pragma once

#include <cstdint>
#include <string>

namespace player {

// The picture extensions the picture view opens (upper case).
inline constexpr char PICTURE_EXTENSIONS[] =
    ".JPG.CMP.GIF.TIF.BMP.ICO.CUR.PCX.PCC.DCX.PCD.WMF.PSD.PNG.TGA.EPS.RAS.WPG.PCT.MAC.IMG.MSP.EMF."
    "JPEG.G2B.I2B.FPX.";

// The extension of an item for the runs above: "." + the text after the
// last "." of its file name + ".", lower-cased.  "" when the file name has
// no "." or nothing after it (a "." in a folder or host name is no
// extension).
std::string ItemExtension(const std::string& item);

// The audio library's patterns as a run: ".mp3.wav.ogg." (lower case).
// Blanks around the patterns are ignored; "" when there are none.
std::string AudioExtensionRun(const std::string& audioPatterns);

// The run `MatchFileMask` searches: `mediaExtensions` (lower-cased), then
// the audio run when the audio library is available.
std::string MediaExtensionRun(const std::string& mediaExtensions, const std::string& audioPatterns,
                              bool audioLibraryAvailable);

// 1-based position of the item's extension in the media run; 0 when the
// item has no extension or it is not there.
int32_t MatchFileMask(const std::string& item, const std::string& mediaExtensionRun);

// Whether the item's extension is one of the audio library's patterns
// (the media kind audio rather than video).
bool IsAudioItem(const std::string& item, const std::string& audioPatterns);

// Whether the item's extension is in PICTURE_EXTENSIONS.
bool IsPictureItem(const std::string& item);

// The pictures of an ItemList, in their order (a picture-only player keeps
// nothing else of what the user chose).
std::string KeepPictureItems(const std::string& itemList);

}  // namespace player

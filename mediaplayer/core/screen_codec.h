// The screen-capture codec a player installs at start-up so that its window
// can be recorded: what option field 12 ("file|key|description|friendly")
// asks for, checked before anything is copied into the system folder or
// registered, and the texts written to system.ini and the registry.
//
// The option line lives in the text table, which a ".SYS" command-line
// argument can replace; so the codec file is taken only from below the
// program folder (a path starting "@path@", no "..", no drive or root
// after it, a ".dll" name), and the key must name a video codec
// ("VIDC." and four characters).  Anything else installs nothing.
#pragma once

#include <optional>
#include <string>

namespace player {

// The specification an empty field 12 stands for.
inline constexpr char kDefaultCodecSpecification[] =
    "@path@codec\\camcodec.dll|VIDC.CSCD|CamStudio lossless codec [CSCD]";

struct ScreenCodec {
  std::string sourceBelowProgram;  // the file's path below the program folder ("codec\camcodec.dll")
  std::string fileName;            // its name, the target in the system folder
  std::string driverKey;           // "VIDC.CSCD": system.ini key and registry key name
  std::string description;
  std::string friendlyName;        // the description when the field is missing or empty
};

// Field 12 read and checked; nothing when it names a file outside the
// program folder, a file that is not a DLL, or a key that is not a video
// codec's.
std::optional<ScreenCodec> ParseScreenCodec(const std::string& field12);

// A registry value's text: every "," becomes ".".
std::string CodecRegistryText(const std::string& text);

}  // namespace player

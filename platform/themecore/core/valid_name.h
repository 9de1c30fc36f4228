// Whether a text can be the name of a file or folder inside one folder: the
// rule the engine's rename and new-folder functions apply before they touch
// the disk.
#pragma once

#include <cstdint>
#include <string_view>

namespace themecore {

// 0 when `name` is a usable single name; otherwise the Windows error number
// that describes why not: 123 (the name's syntax is wrong: empty, "." or
// "..", a path separator or one of *?"<>|: or a control character, a final
// blank or dot, a reserved device name such as CON or LPT1) or 206 (longer
// than 255 characters).
int32_t CheckSingleName(std::string_view name);

}  // namespace themecore

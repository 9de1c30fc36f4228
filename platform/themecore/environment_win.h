// Reading environment variables of any length, telling an unset variable
// from an empty one (ORB_ANSWERS set to "" still keeps every box hidden).
#pragma once

#include <string>

namespace themecore {

// True when the variable is set (possibly to ""); *value gets its bytes.
bool ReadEnvironmentVariable(const char* name, std::string* value);

}  // namespace themecore

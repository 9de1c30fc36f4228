// The picture tool's commands and files that are not built yet.  Each is
// called where the program will need it, writes one trace line
// ("orbpaint <Name>(...) = not built") and does nothing else, so nothing
// pretends to have done work it did not do.
#pragma once

#include <cstdint>
#include <string>

namespace paint {

// The command of `id` that another part of the program will carry out.
void CommandNotBuilt(int32_t id);

}  // namespace paint

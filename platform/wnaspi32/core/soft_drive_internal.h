// Reply helpers shared by the two halves of the software drive.
#pragma once

#include <cstdint>
#include <vector>

#include "soft_drive.h"

namespace softdrive::detail {

CommandReply Fail(const Sense& sense);
// Sends `bytes` to the initiator, cut to the allocation length and buffer.
CommandReply SendIn(const std::vector<uint8_t>& bytes, uint32_t allocation, uint8_t* data, uint32_t dataLength);

}  // namespace softdrive::detail

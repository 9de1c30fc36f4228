// The bytes of a suite command on the wire, and reading them back safely.
//
// A sender puts the text followed by one zero byte into the copied buffer
// (cbData = length + 1) and the text length into wParam, so texts may hold
// zero bytes (raw 32-bit values travel that way).  The receiver trusts
// neither number: both come from another process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace suite {

// The buffer a sender copies: the text, then one zero byte.
std::string EncodeSuitePayload(const std::string& text);

// The text a receiver reads from a WM_COPYDATA: at most `announcedLength`
// (wParam) bytes, and never more than the text part of the copied buffer
// (its cbData bytes less the terminating zero byte).  A sender that
// announces more than it sent - or passes something else in wParam, such as
// its window handle - gets the bytes it sent, no zero padding, no overrun,
// no allocation sized by wParam.  `data` may be null when cbData is 0.
std::string DecodeSuitePayload(uint32_t announcedLength, const void* data, uint32_t cbData);

}  // namespace suite

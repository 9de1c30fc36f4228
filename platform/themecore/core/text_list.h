// Text lists: the form in which the engine hands several texts across its
// exports.  Each entry is followed by one zero byte, and the whole list by
// one more ("a\0b\0\0").  The length of a list counts every byte but that
// final zero, so a list of one empty entry ("\0") has length 1 and the empty
// list length 0.  An entry cannot hold a zero byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace themecore {

// The list bytes without the final zero (the output-buffer rule adds it).
// A zero byte inside an entry would end it early: callers pass texts that
// hold none.
std::string EncodeTextList(const std::vector<std::string>& entries);

// The entries of a list of `length` bytes (final zero not counted).  A last
// entry without its zero is taken up to `length`.  A null pointer or a length
// of 0 or less is the empty list.
std::vector<std::string> DecodeTextList(const char* data, int64_t length);

}  // namespace themecore

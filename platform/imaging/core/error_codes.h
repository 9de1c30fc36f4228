// The imaging library's results.  Every call returns kSuccess (1) when it did
// what was asked and one of the negative codes below when it did not; the
// callers test "== 1" or "> 0", so no failure may ever be positive.
#pragma once

#include <cstdint>

namespace imaging {

enum Result : int32_t {
  kSuccess = 1,                  // done
  kErrorNoMemory = -1,           // the pixels or a working copy could not be allocated
  kErrorNoBitmap = -2,           // null or unallocated bitmap handle, or one not made by this library
  kErrorInvalidParameter = -3,   // an argument is out of its range (size, flag, order, rectangle)
  kErrorFileNotFound = -4,       // the file does not exist or cannot be opened for reading
  kErrorFileRead = -5,           // the file was opened but its picture could not be decoded
  kErrorFileWrite = -6,          // the target file or memory block could not be written
  kErrorFileFormat = -7,         // the file is not in a format the library reads
  kErrorFormatNotSupported = -8, // the library does not write that format number
  kErrorBitsPerPixel = -9,       // bits per pixel not supported for the format or the bitmap
  kErrorFeatureNotSupported = -10,  // the operation exists but not with these values (e.g. a 45-degree rotation)
  kErrorNoCodecs = -11,          // GDI+ (gdiplus.dll) is missing or would not start
  kErrorClipboard = -12,         // the clipboard could not be opened or holds no picture
  kErrorUserAbort = -13,         // the user cancelled (a capture ended with Escape or the right button)
};

// A short English text of a result, for the README and test messages.
const char* ResultText(int32_t result);

}  // namespace imaging

#include "error_codes.h"

namespace imaging {

const char* ResultText(int32_t result) {
  switch (result) {
    case kSuccess: return "success";
    case kErrorNoMemory: return "not enough memory";
    case kErrorNoBitmap: return "no bitmap";
    case kErrorInvalidParameter: return "invalid parameter";
    case kErrorFileNotFound: return "file not found";
    case kErrorFileRead: return "file cannot be decoded";
    case kErrorFileWrite: return "file cannot be written";
    case kErrorFileFormat: return "unknown file format";
    case kErrorFormatNotSupported: return "format not written by this library";
    case kErrorBitsPerPixel: return "bits per pixel not supported";
    case kErrorFeatureNotSupported: return "operation not supported with these values";
    case kErrorNoCodecs: return "GDI+ is not available";
    case kErrorClipboard: return "clipboard error";
    case kErrorUserAbort: return "cancelled by the user";
    default: return "unknown result";
  }
}

}  // namespace imaging

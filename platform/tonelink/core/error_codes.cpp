// Texts of the library's error codes; see error_codes.h.
#include "error_codes.h"

namespace tonelink {

std::string ErrorDescription(int32_t code) {
  switch (code) {
    case kErrorNone:
      return "no error";
    case kErrorNotLoaded:
      return "the audio library is not loaded";
    case kErrorNotInitialised:
      return "the audio output is not initialised";
    case kErrorAlreadyInitialised:
      return "the audio output is already initialised";
    case kErrorDevice:
      return "there is no such audio output device";
    case kErrorIllegalParameter:
      return "an argument is not valid";
    case kErrorFileOpen:
      return "the file cannot be opened";
    case kErrorFormat:
      return "the file format is not supported";
    case kErrorHandle:
      return "the handle is not valid";
    case kErrorNoStream:
      return "no stream is open";
    case kErrorNetwork:
      return "the internet stream cannot be opened";
    case kErrorCdDrive:
      return "there is no such CD drive";
    case kErrorNotAvailable:
      return "this function is not available on this computer";
    case kErrorMemory:
      return "there is not enough memory";
    case kErrorCdTrack:
      return "there is no such track on the CD";
    case kErrorEncoder:
      return "the encoder program has stopped";
    case kErrorUnknown:
      return "unknown error";
  }
  return "unknown error (" + std::to_string(code) + ")";
}

}  // namespace tonelink

// The library's error codes and their texts.  The library keeps one last
// error for the whole process (not one per thread): every call that can fail
// sets it, to kErrorNone on success, and BASSERRORGETCODE reads it without
// clearing it.  The media browser shows BASSERRORDESCRIPTION of the code when
// a conversion fails, so every code has a text a user can read.  The values
// stay clear of 1067, the media browser's own "cancelled".
#pragma once

#include <cstdint>
#include <string>

namespace tonelink {

enum ErrorCode : int32_t {
  kErrorNone = 0,                // the last call succeeded
  kErrorNotLoaded = 1,           // BASSUNLOAD was called and BASSLOAD not since
  kErrorNotInitialised = 2,      // no output: BASSINIT has not succeeded, or BASSFREE came after
  kErrorAlreadyInitialised = 3,  // BASSINIT while the output is initialised
  kErrorDevice = 4,              // no such output device
  kErrorIllegalParameter = 5,    // an argument is out of its range or missing
  kErrorFileOpen = 6,            // the file or folder does not exist or cannot be read
  kErrorFormat = 7,              // the file is not in a format the library decodes
  kErrorHandle = 8,              // not the handle of a stream, channel or encoder
  kErrorNoStream = 9,            // the call needs the current stream and none is open
  kErrorNetwork = 10,            // an internet address could not be opened as a stream
  kErrorCdDrive = 11,            // no CD drive with that number
  kErrorNotAvailable = 12,       // the machine lacks what the call needs (CD audio, WMA encoder)
  kErrorMemory = 13,             // not enough memory
  kErrorCdTrack = 14,            // the CD in the drive has no such track
  kErrorEncoder = 15,            // the outside encoder program stopped or cannot be fed
  kErrorUnknown = -1,            // anything else
};

// The text of a code: a short English sentence without a final full stop,
// "unknown error (n)" for a value not listed above.
std::string ErrorDescription(int32_t code);

}  // namespace tonelink

// Error codes and their texts.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "error_codes.h"

namespace {

using namespace tonelink;

struct DescriptionCase {
  const char* name;
  int32_t code;
  std::string expected;
};

TEST(ErrorCodes, EachCodeHasItsText) {
  const DescriptionCase cases[] = {
      {"none", kErrorNone, "no error"},
      {"not loaded", kErrorNotLoaded, "the audio library is not loaded"},
      {"not initialised", kErrorNotInitialised, "the audio output is not initialised"},
      {"already initialised", kErrorAlreadyInitialised, "the audio output is already initialised"},
      {"device", kErrorDevice, "there is no such audio output device"},
      {"parameter", kErrorIllegalParameter, "an argument is not valid"},
      {"file open", kErrorFileOpen, "the file cannot be opened"},
      {"format", kErrorFormat, "the file format is not supported"},
      {"handle", kErrorHandle, "the handle is not valid"},
      {"no stream", kErrorNoStream, "no stream is open"},
      {"network", kErrorNetwork, "the internet stream cannot be opened"},
      {"cd drive", kErrorCdDrive, "there is no such CD drive"},
      {"not available", kErrorNotAvailable, "this function is not available on this computer"},
      {"memory", kErrorMemory, "there is not enough memory"},
      {"CD track", kErrorCdTrack, "there is no such track on the CD"},
      {"encoder", kErrorEncoder, "the encoder program has stopped"},
      {"unknown", kErrorUnknown, "unknown error"},
      {"unlisted positive", 16, "unknown error (16)"},
      {"unlisted large", 1067, "unknown error (1067)"},
      {"unlisted negative", -2, "unknown error (-2)"},
      {"most negative", INT32_MIN, "unknown error (-2147483648)"},
  };
  for (const DescriptionCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, ErrorDescription(c.code));
  }
}

TEST(ErrorCodes, TextsAreDistinctAndCodesAvoidTheCancelCode) {
  std::set<std::string> texts;
  for (int32_t code = -1; code <= kErrorEncoder; ++code) {
    SCOPED_TRACE(code);
    std::string text = ErrorDescription(code);
    EXPECT_EQ(std::string::npos, text.find("unknown error (")) << text;
    EXPECT_TRUE(texts.insert(text).second) << "repeated text: " << text;
  }
  // The media browser's cancel code must stay distinct from every code here.
  EXPECT_LT(kErrorEncoder, 1067);
}

}  // namespace

// Format numbers, file signatures and encoder choices.
#include <gtest/gtest.h>

#include <string>

#include "error_codes.h"
#include "picture_format.h"

namespace {

using namespace imaging;

TEST(PictureFormat, DetectsSignatures) {
  struct Case {
    const char* name;
    std::string bytes;
    FileFormat expected;
  };
  const std::string bmpHead = std::string("BM") + std::string(24, '\0');
  const Case cases[] = {
      {"bmp", bmpHead, kFormatBmp},
      {"bmp too short for its headers", "BM\x10\0", kFormatUnknown},
      {"jpeg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), kFormatJpeg},
      {"png", std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16), kFormatPng},
      {"gif87", "GIF87a\x01\0", kFormatGif},
      {"gif89", "GIF89a\x01\0", kFormatGif},
      {"gif of another version", "GIF90a\x01\0", kFormatUnknown},
      {"tiff little-endian", std::string("II*\0\x08\0\0\0", 8), kFormatTiff},
      {"tiff big-endian", std::string("MM\0*\0\0\0\x08", 8), kFormatTiff},
      {"pcx", std::string("\x0A\x05\x01\x08", 4), kFormatUnknown},
      {"icon", std::string("\0\0\1\0\1\0", 6), kFormatUnknown},
      {"empty", "", kFormatUnknown},
      {"two bytes of jpeg", "\xFF\xD8", kFormatUnknown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, DetectFileFormat(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()));
  }
  EXPECT_EQ(kFormatUnknown, DetectFileFormat(nullptr, 10));
}

TEST(PictureFormat, WritesFiveFormatsAndNamesEncoders) {
  struct Case {
    int32_t format;
    bool supported;
    const char* mime;  // nullptr: not through GDI+
  };
  const Case cases[] = {
      {kFormatBmp, true, nullptr},        {kFormatJpeg, true, "image/jpeg"},
      {kFormatPng, true, "image/png"},    {kFormatGif, true, "image/gif"},
      {kFormatTiff, true, "image/tiff"},  {kFormatCmp, false, nullptr},
      {kFormatPcx, false, nullptr},       {kFormatWmf, false, nullptr},
      {kFormatFpx, false, nullptr},       {0, false, nullptr},
      {-1, false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(c.supported, IsSupportedFormat(c.format));
    if (c.mime == nullptr) {
      EXPECT_EQ(nullptr, EncoderMimeType(c.format));
    } else {
      ASSERT_NE(nullptr, EncoderMimeType(c.format));
      EXPECT_STREQ(c.mime, EncoderMimeType(c.format));
    }
  }
}

TEST(PictureFormat, QualityFactorToPercent) {
  struct Case {
    int32_t factor;
    uint32_t percent;
  };
  const Case cases[] = {{-1, 95}, {0, 95}, {2, 95}, {5, 94}, {25, 87}, {128, 51}, {254, 6}, {255, 5}, {1000, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.factor);
    EXPECT_EQ(c.percent, JpegQualityPercent(c.factor));
  }
  // Harder compression never gives a higher quality.
  for (int32_t f = 2; f < 255; ++f) EXPECT_GE(JpegQualityPercent(f), JpegQualityPercent(f + 1)) << f;
}

TEST(Results, FailuresAreNegativeAndNamed) {
  for (int32_t code = kErrorUserAbort; code <= kErrorNoMemory; ++code) {
    SCOPED_TRACE(code);
    EXPECT_LT(code, 0);
    EXPECT_STRNE("unknown result", ResultText(code));
  }
  EXPECT_STREQ("success", ResultText(kSuccess));
  EXPECT_STREQ("unknown result", ResultText(0));
}

}  // namespace

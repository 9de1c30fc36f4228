// The image functions' rules that need no GDI+: ARGB packing, bits per
// pixel, the shadow's downward offset and the encoder chosen by extension.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/image_rules.h"

namespace {

TEST(ImageRules, ArgbPackingAndSplitting) {
  EXPECT_EQ(suite::ArgbFromParts(255, 1, 2, 3), 0xFF010203u);
  EXPECT_EQ(suite::ArgbFromParts(16, 92, 92, 100), 0x105C5C64u);
  uint8_t a = 9, r = 9, g = 9, b = 9;
  suite::ImgSplitArgb(0x80FF0001u, &a, &r, &g, &b);
  EXPECT_EQ((std::vector<int>{a, r, g, b}), (std::vector<int>{128, 255, 0, 1}));
  suite::ImgSplitArgb(0xFFFFFFFFu, nullptr, nullptr, nullptr, &b);  // outputs may be left out
  EXPECT_EQ(b, 255);
}

TEST(ImageRules, BitsPerPixelOfPixelFormats) {
  struct Case { const char* name; int32_t format; int32_t bits; };
  const Case cases[] = {
      {"24bppRGB", 0x00021808, 24},       {"32bppARGB", 0x0026200A, 32},
      {"8bppIndexed", 0x00030803, 8},     {"1bppIndexed", 0x00030101, 1},
      {"64bppARGB", 0x0034400D, 64},      {"high bits ignored", static_cast<int32_t>(0xFFFF1800), 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::ImgBitsPerPixel(c.format), c.bits);
  }
}

TEST(ImageRules, ShadowFallsDown) {
  EXPECT_EQ(suite::ShadowDown(3), 3);
  EXPECT_EQ(suite::ShadowDown(-3), 3);
  EXPECT_EQ(suite::ShadowDown(0), 0);
  EXPECT_EQ(suite::ShadowDown(std::numeric_limits<int32_t>::min()), std::numeric_limits<int32_t>::max());
}

TEST(ImageRules, EncoderByExtension) {
  struct Case { const char* path; int32_t status; const char* mime; };
  const Case cases[] = {
      {"C:\\a.png", 0, "image/png"},          {"C:\\a.PnG", 0, "image/png"},
      {"a.jpg", 0, "image/jpeg"},             {"a.jpeg", 0, "image/jpeg"},
      {"a.bmp", 0, "image/bmp"},              {"a.dib", 0, "image/bmp"},
      {"a.gif", 0, "image/gif"},              {"a.tif", 0, "image/tiff"},
      {"a.tiff", 0, "image/tiff"},            {"a.emf", 0, "image/x-emf"},
      {"a.wmf", 0, "image/x-wmf"},            {"a.ico", 0, "image/x-icon"},
      {"a.b.c.gif", 0, "image/gif"},          {"", -1, ""},
      {"C:\\plain", 13, ""},                  {"a.xyz", 13, ""},
      {"a.", 13, ""},                         {"a.G", 13, ""},
      {"a.TIFFF", 13, ""},                    {"C:\\x.png\\plain", 13, ""},
      {"a.jpg.", 13, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const suite::SaveEncoderChoice choice = suite::ChooseSaveEncoder(c.path);
    EXPECT_EQ(choice.status, c.status);
    EXPECT_EQ(choice.mimeType, c.mime);
  }
}

}  // namespace

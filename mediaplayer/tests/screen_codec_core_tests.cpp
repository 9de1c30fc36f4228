// The screen codec of option field 12: the default, the friendly name, the
// registry texts, and every specification that would copy a file from
// outside the program folder or register something that is not a video
// codec.
#include <gtest/gtest.h>

#include <string>

#include "core/screen_codec.h"

namespace {

struct CodecCase {
  const char* name;
  const char* field12;
  bool accepted;
  const char* source;
  const char* fileName;
  const char* key;
  const char* description;
  const char* friendly;
};

TEST(ScreenCodec, SpecificationsReadAndChecked) {
  const CodecCase cases[] = {
      {"empty: the default", "", true, "codec\\camcodec.dll", "camcodec.dll", "VIDC.CSCD",
       "CamStudio lossless codec [CSCD]", "CamStudio lossless codec [CSCD]"},
      {"four fields", "@path@cap.dll|VIDC.ABCD|A codec|Friendly", true, "cap.dll", "cap.dll", "VIDC.ABCD", "A codec",
       "Friendly"},
      {"three fields: the description is the friendly name", "@path@sub\\x.DLL|vidc.x264|Desc", true, "sub\\x.DLL",
       "x.DLL", "vidc.x264", "Desc", "Desc"},
      {"empty fourth field", "@PATH@c.dll|VIDC.1234|D|", true, "c.dll", "c.dll", "VIDC.1234", "D", "D"},
      {"an absolute path", "c:\\windows\\evil.dll|VIDC.CSCD|x", false, "", "", "", "", ""},
      {"a UNC path", "\\\\server\\share\\evil.dll|VIDC.CSCD|x", false, "", "", "", "", ""},
      {"out of the program folder", "@path@..\\evil.dll|VIDC.CSCD|x", false, "", "", "", "", ""},
      {"out of it deeper down", "@path@codec\\..\\..\\evil.dll|VIDC.CSCD|x", false, "", "", "", "", ""},
      {"a drive after the folder", "@path@c:\\evil.dll|VIDC.CSCD|x", false, "", "", "", "", ""},
      {"a root after the folder", "@path@\\evil.dll|VIDC.CSCD|x", false, "", "", "", "", ""},
      {"not a DLL", "@path@codec\\camcodec.exe|VIDC.CSCD|x", false, "", "", "", "", ""},
      {"no file name", "@path@codec\\|VIDC.CSCD|x", false, "", "", "", "", ""},
      {"an audio driver key", "@path@c.dll|msacm.cscd|x", false, "", "", "", "", ""},
      {"a key of the wrong length", "@path@c.dll|VIDC.CSCDX|x", false, "", "", "", "", ""},
      {"a key with a path in it", "@path@c.dll|VIDC.\\..\\|x", false, "", "", "", "", ""},
      {"no key", "@path@c.dll", false, "", "", "", "", ""},
  };
  for (const CodecCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto codec = player::ParseScreenCodec(c.field12);
    ASSERT_EQ(c.accepted, codec.has_value());
    if (!codec) continue;
    EXPECT_EQ(c.source, codec->sourceBelowProgram);
    EXPECT_EQ(c.fileName, codec->fileName);
    EXPECT_EQ(c.key, codec->driverKey);
    EXPECT_EQ(c.description, codec->description);
    EXPECT_EQ(c.friendly, codec->friendlyName);
  }
}

TEST(ScreenCodec, RegistryTextsHaveNoCommas) {
  EXPECT_EQ("Codec. version 2. fast", player::CodecRegistryText("Codec, version 2, fast"));
  EXPECT_EQ("plain", player::CodecRegistryText("plain"));
  EXPECT_EQ("", player::CodecRegistryText(""));
}

}  // namespace

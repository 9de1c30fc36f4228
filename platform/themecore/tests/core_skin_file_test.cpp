// The skin-file parser and the built-in skin: what a skin file changes,
// which files are rejected whole, and that res/LUMINAR.SKL is the built-in
// skin.
#include "skin_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using namespace std::string_literals;
using themecore::SkinDefinition;

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
  return themecore::ColourFromRgb(r, g, b);
}

struct GoodCase {
  const char* name;
  std::string file;
  std::function<void(SkinDefinition*)> change;  // applied to the defaults
};

TEST(SkinFile, AppliesWhatTheFileNames) {
  const GoodCase cases[] = {
      {"one colour", "[colours]\n101=FF8000\n",
       [](SkinDefinition* s) { s->colours[101] = Rgb(0xFF, 0x80, 0x00); }},
      {"colour with # and lower case", "[colours]\r\n114=#0a0b0c\r\n",
       [](SkinDefinition* s) { s->colours[114] = Rgb(0x0A, 0x0B, 0x0C); }},
      {"American section name", "[colors]\n104=000000\n",
       [](SkinDefinition* s) { s->colours[104] = 0; }},
      {"new colour number", "[colours]\n150=010203\n",
       [](SkinDefinition* s) { s->colours[150] = Rgb(1, 2, 3); }},
      {"metrics", "[metrics]\n7=32\n 1 = 30 \n",
       [](SkinDefinition* s) {
         s->metrics[7] = 32;
         s->metrics[1] = 30;
       }},
      {"fonts",
       "[fonts]\ncaption=Arial,10,700\ndefault= Courier New , 9 , 400\nmenu=Tahoma,8,700\n",
       [](SkinDefinition* s) {
         s->captionFont = {"Arial", 10, 700};
         s->defaultFont = {"Courier New", 9, 400};
         s->menuFont = {"Tahoma", 8, 700};
       }},
      {"images, names lower-cased", "[images]\nMenuBar=bar.bmp\ncheck_box=img\\check.bmp\n",
       [](SkinDefinition* s) {
         s->images["menubar"] = "bar.bmp";
         s->images["check_box"] = "img\\check.bmp";
       }},
      {"named texts, names lower-cased, texts trimmed", "[strings]\nPopupPane= @path@my.pnl \nempty=\n",
       [](SkinDefinition* s) {
         s->strings["popuppane"] = "@path@my.pnl";
         s->strings["empty"] = "";
       }},
      {"skin name", "[skin]\nname=Dusk\nauthor=anyone\n",
       [](SkinDefinition* s) { s->name = "Dusk"; }},
      {"last of a duplicate wins", "[colours]\n101=000001\n101=000002\n",
       [](SkinDefinition* s) { s->colours[101] = Rgb(0, 0, 2); }},
      {"comments, blank lines, BOM", "\xEF\xBB\xBF; a skin\n\n[metrics]\n; x\n  \n2=21\n",
       [](SkinDefinition* s) { s->metrics[2] = 21; }},
      {"unknown sections skipped", "[future]\nanything at all\n[metrics]\n3=22\n",
       [](SkinDefinition* s) { s->metrics[3] = 22; }},
      {"sections only", "[colours]\n[metrics]\n", [](SkinDefinition*) {}},
  };
  for (const GoodCase& c : cases) {
    SCOPED_TRACE(c.name);
    SkinDefinition expected = themecore::DefaultSkin();
    c.change(&expected);
    SkinDefinition got;
    ASSERT_TRUE(themecore::ParseSkinFile(c.file, themecore::DefaultSkin(), &got));
    EXPECT_TRUE(expected == got);
  }
}

struct BrokenCase {
  const char* name;
  std::string file;
};

TEST(SkinFile, RejectsBrokenFilesWhole) {
  const BrokenCase cases[] = {
      {"empty file", ""},
      {"no known section", "[other]\n1=2\n"},
      {"text before any section", "101=000000\n[colours]\n"},
      {"not a skin at all", "MZ\x90\x01garbage"},
      {"short colour", "[colours]\n101=FFF\n"},
      {"long colour", "[colours]\n101=FFFFFF0\n"},
      {"bad hex digit", "[colours]\n101=GG0000\n"},
      {"colour number below range", "[colours]\n99=000000\n"},
      {"colour number above range", "[colours]\n200=000000\n"},
      {"line without =", "[colours]\n101\n"},
      {"metric number 0", "[metrics]\n0=5\n"},
      {"metric number 100", "[metrics]\n100=5\n"},
      {"negative metric", "[metrics]\n1=-5\n"},
      {"metric too large", "[metrics]\n1=5000\n"},
      {"font with two fields", "[fonts]\ncaption=Tahoma,8\n"},
      {"font face too long", "[fonts]\ncaption=" + std::string(32, 'F') + ",8,400\n"},
      {"font size 0", "[fonts]\ncaption=Tahoma,0,400\n"},
      {"font weight 0", "[fonts]\ncaption=Tahoma,8,0\n"},
      {"unknown font", "[fonts]\ntitle=Tahoma,8,400\n"},
      {"image name with a dot", "[images]\nmenu.bar=x.bmp\n"},
      {"image without file", "[images]\nmenubar=\n"},
      {"zero byte", "[colours]\n101=000000\0\n"s},
      {"good lines, then one bad", "[colours]\n101=000000\n102=nothex\n"},
      {"too large", "[colours]\n" + std::string(themecore::kMaxSkinFileBytes, ';')},
  };
  for (const BrokenCase& c : cases) {
    SCOPED_TRACE(c.name);
    SkinDefinition untouched;
    untouched.name = "sentinel";
    SkinDefinition got = untouched;
    EXPECT_FALSE(themecore::ParseSkinFile(c.file, themecore::DefaultSkin(), &got));
    EXPECT_TRUE(got == untouched);
  }
}

TEST(SkinFile, DefaultSkinHasEveryColourAndSizeTheProgramsUse) {
  SkinDefinition skin = themecore::DefaultSkin();
  for (int32_t n = 101; n <= 124; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(1u, skin.colours.count(n));
  }
  EXPECT_EQ(Rgb(0x1E, 0x1E, 0x1E), skin.colours[101]);  // dark text
  EXPECT_EQ(Rgb(0xFF, 0xFF, 0xFF), skin.colours[104]);  // on white lists
  EXPECT_EQ(Rgb(0x2F, 0x6D, 0xB5), skin.colours[107]);  // blue caption
  for (int32_t n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 21, 22, 26}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(1u, skin.metrics.count(n));
  }
  EXPECT_EQ(20, skin.metrics[7]);
}

// The shipped skin file must be read whole and give exactly the built-in
// skin, or a missing skin and the default one would look different.
TEST(SkinFile, LuminarIsTheBuiltInSkin) {
  std::string source = __FILE__;
  std::string root = source.substr(0, source.rfind("platform"));
  std::ifstream file(root + "res/LUMINAR.SKL", std::ios::binary);
  ASSERT_TRUE(file.good()) << "res/LUMINAR.SKL not found from " << source;
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  SkinDefinition empty;
  SkinDefinition got;
  ASSERT_TRUE(themecore::ParseSkinFile(bytes, empty, &got));
  EXPECT_TRUE(themecore::DefaultSkin() == got);
  EXPECT_EQ(themecore::DefaultSkin().colours, got.colours);
  EXPECT_EQ(themecore::DefaultSkin().metrics, got.metrics);
}

}  // namespace

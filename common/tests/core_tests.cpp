// Tests of the portable suite-command logic: payload encoding and the
// defensive decoder, ItemList and comma lists, module lists and references,
// command-line quoting and tick arithmetic.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/item_list.h"
#include "core/module_lists.h"
#include "core/path_names.h"
#include "core/suite_payload.h"

using namespace std::string_literals;

namespace {

TEST(SuitePayload, EncodeAppendsOneZeroByte) {
  struct Case { const char* name; std::string text; };
  const Case cases[] = {
      {"empty", ""},
      {"plain", "C:\\a.jpg|C:\\b.jpg"},
      {"inner zeros", "\x01\x00\x00\x02"s},
      {"high bytes", "\x80\xff\xe9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string wire = suite::EncodeSuitePayload(c.text);
    ASSERT_EQ(wire.size(), c.text.size() + 1);
    EXPECT_EQ(wire.substr(0, c.text.size()), c.text);
    EXPECT_EQ(wire.back(), '\0');
  }
}

TEST(SuitePayload, DecodeTrustsNeitherLength) {
  struct Case {
    const char* name;
    uint32_t wParam;
    std::string buffer;   // what was copied (cbData = its size)
    std::string expected;
  };
  const Case cases[] = {
      {"empty text", 0, "\0"s, ""},
      {"as sent", 3, "abc\0"s, "abc"},
      {"zeros inside", 4, "\x01\x00\x00\x02\0"s, "\x01\x00\x00\x02"s},
      {"announced less than sent", 2, "abc\0"s, "ab"},
      {"announced more than sent", 100, "abc\0"s, "abc"},
      {"wParam all ones", 0xFFFFFFFFu, "abc\0"s, "abc"},
      {"window handle in wParam", 0x000200A4u, "C:\\x.mp3\0"s, "C:\\x.mp3"},
      {"nothing copied", 5, "", ""},
      {"only the terminator", 7, "\0"s, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const void* data = c.buffer.empty() ? nullptr : c.buffer.data();
    std::string got = suite::DecodeSuitePayload(c.wParam, data,
                                                static_cast<uint32_t>(c.buffer.size()));
    EXPECT_EQ(got, c.expected);
  }
}

TEST(SuitePayload, RoundTripsEveryByteAndLargeTexts) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string large(64 * 1024, '\0');
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + 3);
  for (const std::string& text : {all, large}) {
    std::string wire = suite::EncodeSuitePayload(text);
    EXPECT_EQ(suite::DecodeSuitePayload(static_cast<uint32_t>(text.size()), wire.data(),
                                        static_cast<uint32_t>(wire.size())),
              text);
  }
}

TEST(ItemList, FieldsCountAndSplit) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"empty has no fields", "", {}},
      {"one", "C:\\a.mp3", {"C:\\a.mp3"}},
      {"two", "C:\\a.mp3|http://x/y", {"C:\\a.mp3", "http://x/y"}},
      {"empty middle", "a||b", {"a", "", "b"}},
      {"trailing bar", "a|", {"a", ""}},
      {"only bar", "|", {"", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::ItemFieldCount(c.text), c.fields.size());
    EXPECT_EQ(suite::SplitItemList(c.text), c.fields);
    for (size_t i = 0; i < c.fields.size(); ++i) {
      EXPECT_EQ(suite::ItemField(c.text, i + 1), c.fields[i]) << "field " << i + 1;
    }
    EXPECT_EQ(suite::ItemField(c.text, 0), "");
    EXPECT_EQ(suite::ItemField(c.text, c.fields.size() + 1), "");
  }
}

TEST(ItemList, JoinTrimsOuterBars) {
  struct Case { const char* name; std::string oldList, newList, expected; };
  const Case cases[] = {
      {"queue of two plus one", "C:\\a|C:\\b", "C:\\c", "C:\\a|C:\\b|C:\\c"},
      {"empty queue", "", "C:\\a", "C:\\a"},
      {"empty addition", "C:\\a", "", "C:\\a"},
      {"both empty", "", "", ""},
      {"bars at both ends", "|a|", "|b||", "a|||b"},
      {"only bars", "||", "|", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::JoinItemLists(c.oldList, c.newList), c.expected);
  }
}

TEST(CommaList, QuotedFieldsHoldCommas) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"empty has no fields", "", {}},
      {"module ref", "orbplay.exe,ORBPLAY", {"orbplay.exe", "ORBPLAY"}},
      {"quoted comma", "\"C:\\a,b\\x.exe\",ORBPLAY", {"C:\\a,b\\x.exe", "ORBPLAY"}},
      {"doubled quote", "\"say \"\"hi\"\"\",2", {"say \"hi\"", "2"}},
      {"empty fields", ",,", {"", "", ""}},
      {"unterminated quote", "\"a,b", {"a,b"}},
      {"quote inside field", "a\"b,c\"d", {"ab,cd"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::SplitCommaList(c.text), c.fields);
    EXPECT_EQ(suite::CommaFieldCount(c.text), c.fields.size());
    for (size_t i = 0; i < c.fields.size(); ++i) {
      EXPECT_EQ(suite::CommaField(c.text, i + 1), c.fields[i]) << "field " << i + 1;
    }
    EXPECT_EQ(suite::CommaField(c.text, c.fields.size() + 1), "");
  }
}

TEST(ModuleLists, ClassesAndProgramsShareOneOrder) {
  struct Case { size_t index; const char* windowClass; const char* program; };
  const Case cases[] = {
      {suite::MODULE_MEDIA_BROWSER, "ORBMEDIA", "orbmedia"},
      {suite::MODULE_MEDIA_PLAYER, "ORBPLAY", "orbplay"},
      {suite::MODULE_HELP_VIEWER, "ORBHELP", "orbhelp"},
      {suite::MODULE_AUDIO_PLAYER, "ORBAUDIO", "orbaudio"},
      {suite::MODULE_SLIDESHOW_MAKER, "ORBSLIDE", "orbslide"},
      {suite::MODULE_PICTURE_TOOL, "ORBPAINT", "orbpaint"},
      {suite::MODULE_PICTURE_BROWSER, "ORBVIEW", "orbview"},
      {suite::MODULE_SPECTRUM, "ORBSPEC", "orbspec"},
      {suite::MODULE_DISC_BURNER, "ORBBURN", "orbburn"},
      {suite::MODULE_VISUALS, "ORBVIS", "orbvis"},
      {suite::MODULE_EXTENSION, "ORBEXT", "orbext"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.windowClass);
    EXPECT_EQ(suite::ModuleClass(c.index), c.windowClass);
    EXPECT_EQ(suite::ModuleProgram(c.index), c.program);
    EXPECT_EQ(suite::ModuleIndexOfClass(c.windowClass), c.index);
  }
  EXPECT_EQ(suite::CommaFieldCount(suite::ModuleClassList), suite::MODULE_COUNT);
  EXPECT_EQ(suite::CommaFieldCount(suite::ModuleProgramList), suite::MODULE_COUNT);
  EXPECT_EQ(suite::ModuleClass(0), "");
  EXPECT_EQ(suite::ModuleClass(12), "");
  EXPECT_EQ(suite::ModuleIndexOfClass("orbplay"), suite::MODULE_MEDIA_PLAYER);
  EXPECT_EQ(suite::ModuleIndexOfClass("NOTEPAD"), 0u);
}

TEST(ModuleLists, ProgramsHoldOnlyTheLeadingPart) {
  // The disc burner holds the first 9 classes, the media player 10.
  EXPECT_EQ(suite::ModuleClass(suite::MODULE_DISC_BURNER, 9), "ORBBURN");
  EXPECT_EQ(suite::ModuleClass(suite::MODULE_VISUALS, 9), "");
  EXPECT_EQ(suite::ModuleProgram(suite::MODULE_VISUALS, 10), "orbvis");
  EXPECT_EQ(suite::ModuleProgram(suite::MODULE_EXTENSION, 10), "");
}

TEST(ModuleRef, TwoAndThreeFieldEntries) {
  struct Case { const char* name; std::string entry; suite::ModuleRef expected; };
  const Case cases[] = {
      {"program and class", "orbhelp.exe,ORBHELP", {"orbhelp.exe", "ORBHELP", ""}},
      {"quoted program", "\"my tools\\h,1.exe\",ORBHELP", {"my tools\\h,1.exe", "ORBHELP", ""}},
      {"help entry", "orbburn.hlp,orbhelp.exe,ORBHELP", {"orbhelp.exe", "ORBHELP", "orbburn.hlp"}},
      {"program only", "orbplay.exe", {"orbplay.exe", "", ""}},
      {"empty", "", {"", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    suite::ModuleRef got = suite::ParseModuleRef(c.entry);
    EXPECT_EQ(got.program, c.expected.program);
    EXPECT_EQ(got.windowClass, c.expected.windowClass);
    EXPECT_EQ(got.helpFile, c.expected.helpFile);
  }
}

TEST(CommandLine, PathsWithBlanksAreQuoted) {
  struct Case { const char* name; std::string argument, expected; };
  const Case cases[] = {
      {"plain", "C:\\suite\\orbplay.exe", "C:\\suite\\orbplay.exe"},
      {"blank", "C:\\Program Files\\suite\\orbplay.exe", "\"C:\\Program Files\\suite\\orbplay.exe\""},
      {"empty", "", "\"\""},
      {"inner quote", "a\"b c", "\"a\\\"b c\""},
      {"final backslash", "C:\\my dir\\", "\"C:\\my dir\\\\\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::QuoteArgument(c.argument), c.expected);
  }
  EXPECT_EQ(suite::ProgramCommandLine("C:\\My Suite\\orbplay.exe", "WAITFORCOMMAND"),
            "\"C:\\My Suite\\orbplay.exe\" WAITFORCOMMAND");
  EXPECT_EQ(suite::ProgramCommandLine("C:\\s\\orbview.exe", ""), "C:\\s\\orbview.exe");
}

TEST(CommandLine, FinalBackslashes) {
  struct Case { const char* name; std::string path, without, with; };
  const Case cases[] = {
      {"folder", "C:\\Orb\\", "C:\\Orb", "C:\\Orb\\"},
      {"several", "C:\\Orb\\\\", "C:\\Orb", "C:\\Orb\\\\"},
      {"no backslash", "C:\\Orb", "C:\\Orb", "C:\\Orb\\"},
      {"drive root stays", "C:\\", "C:\\", "C:\\"},
      {"empty", "", "", "\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::WithoutFinalBackslash(c.path), c.without);
    EXPECT_EQ(suite::WithFinalBackslash(c.path), c.with);
  }
}

TEST(CommandLine, TickArithmeticSurvivesTheWrap) {
  EXPECT_EQ(suite::TicksElapsed(1000, 3000), 2000u);
  EXPECT_EQ(suite::TicksElapsed(0xFFFFFF00u, 0x00000100u), 0x200u);
  EXPECT_LT(suite::TicksElapsed(0xFFFFFFF0u, 0x00000010u), 2000u);
}

}  // namespace

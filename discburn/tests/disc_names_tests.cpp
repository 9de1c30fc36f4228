// Name rules of the two disc trees, wildcard masks and recording times.
#include <gtest/gtest.h>

#include "core/burn_project.h"
#include "core/disc_names.h"

namespace discburn {
namespace {

TEST(DiscNames, MasksFollowWindowsRules) {
  struct Case { const char16_t* name; const char16_t* mask; bool matches; };
  const Case cases[] = {
      {u"photo.jpg", u"*.*", true},     {u"README", u"*.*", true},
      {u"README", u"*", true},          {u"photo.JPG", u"*.jpg", true},
      {u"photo.jpeg", u"*.jpg", false}, {u"a1.txt", u"a?.txt", true},
      {u"a12.txt", u"a?.txt", false},   {u"archive.tar.gz", u"*.gz", true},
      {u"song.mp3", u"s*g.mp?", true},  {u"song.mp3", u"*.wav", false},
      {u"x", u"x.*", true},             {u"Été.txt", u"éTÉ.*", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.name) + " / " + Utf16ToUtf8(c.mask));
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches);
  }
}

TEST(DiscNames, IsoNamesAreUpperCaseBytesWithoutSeparators) {
  struct Case { const char16_t* source; size_t maxBytes; const char* iso; };
  const Case cases[] = {
      {u"photo.jpg", 14, "PHOTO.JPG"},
      {u"a;1", 14, "A_1"},
      {u"dir\\x/y:z", 14, "DIR_X_Y_Z"},
      {u"café.txt", 14, "CAF_.TXT"},
      {u"abcdefghijklmnopq", 14, "ABCDEFGHIJKLMN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.iso);
    EXPECT_EQ(IsoNameBytes(c.source, c.maxBytes), c.iso);
  }
}

TEST(DiscNames, JolietNamesAreBoundedAndKeepTheExtension) {
  const std::u16string longBase(100, u'n');
  struct Case { const char* name; std::u16string longName; std::u16string joliet; };
  const Case cases[] = {
      {"short", u"Holiday photo.jpg", u"Holiday photo.jpg"},
      {"forbidden characters", u"a:b*c?.txt", u"a_b_c_.txt"},
      {"long with extension", longBase + u".jpeg", std::u16string(59, u'n') + u".jpeg"},
      {"long without extension", longBase, std::u16string(64, u'n')},
      {"exactly 64", std::u16string(64, u'q'), std::u16string(64, u'q')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::u16string joliet = JolietName(c.longName);
    EXPECT_EQ(joliet, c.joliet);
    EXPECT_LE(joliet.size(), kJolietMaxChars);
  }
}

TEST(DiscNames, UniqueVariantsFitTheLimit) {
  EXPECT_EQ(MakeUniqueName(std::string("HOLIDAY_PHOT."), 1, 14), "HOLIDAY_PHO~1.");
  EXPECT_EQ(MakeUniqueName(std::string("ABCDEFGH.TXT"), 12, 14), "ABCDEFG~12.TXT");
  EXPECT_EQ(MakeUniqueName(std::u16string(u"name.txt"), 3, 64), u"name~3.txt");
  std::u16string full(64, u'z');
  std::u16string variant = MakeUniqueName(full, 7, 64);
  EXPECT_EQ(variant.size(), 64u);
  EXPECT_EQ(variant.substr(62), u"~7");
}

TEST(DiscNames, Utf8RoundTripAndBadSequences) {
  const std::string text = "Ærø Привет 日本 \xF0\x9F\x8E\xB5";
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE6\x97"), u"\uFFFD\uFFFD");
}

TEST(RecordingTimes, LocalTimeAndOffsetOfTheInstant) {
  struct Case {
    const char* name;
    int64_t utc;
    int32_t offsetMinutes;
    RecordingTime expected;
  };
  // 2026-06-15 12:30:45 UTC = 1781526645.
  const Case cases[] = {
      {"UTC", 1781526645, 0, {126, 6, 15, 12, 30, 45, 0}},
      {"summer time east", 1781526645, 120, {126, 6, 15, 14, 30, 45, 8}},
      {"west across midnight", 1781497845, -600, {126, 6, 14, 18, 30, 45, -40}},
      {"offset past the range clamps", 1781526645, -780, {126, 6, 15, 0, 30, 45, -48}},
      {"half hour zone", 1781526645, 330, {126, 6, 15, 18, 0, 45, 22}},
      {"leap day", 1709208000, 0, {124, 2, 29, 12, 0, 0, 0}},
      {"epoch", 0, 0, {70, 1, 1, 0, 0, 0, 0}},
      {"before 1900 clamps", -3000000000, 0, {0, 1, 1, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingTime t = MakeRecordingTime(c.utc, c.offsetMinutes);
    EXPECT_EQ(t.yearsSince1900, c.expected.yearsSince1900);
    EXPECT_EQ(t.month, c.expected.month);
    EXPECT_EQ(t.day, c.expected.day);
    EXPECT_EQ(t.hour, c.expected.hour);
    EXPECT_EQ(t.minute, c.expected.minute);
    EXPECT_EQ(t.second, c.expected.second);
    EXPECT_EQ(t.utcOffset15, c.expected.utcOffset15);
  }
}

}  // namespace
}  // namespace discburn

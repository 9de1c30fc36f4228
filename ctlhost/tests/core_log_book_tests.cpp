// The log's rules: path, header, line composition, and the pending-entry
// book with its nesting (groups written only on failure or force, depth
// never below 0).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/log_book.h"

namespace ctlhost {
namespace {

TEST(LogPath, ReplacesTheProgramsExtension) {
  struct Case {
    const char* program;
    const char* log;
  } cases[] = {
      {"C:\\Apps\\orbplay.exe", "C:\\Apps\\orbplay.LOG"},
      {"C:\\Apps.v2\\orbplay", "C:\\Apps.v2\\orbplay.LOG"},
      {"C:\\a\\b.c\\host.test.EXE", "C:\\a\\b.c\\host.test.LOG"},
      {"host.exe", "host.LOG"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    EXPECT_EQ(LogPathForProgram(c.program), c.log);
  }
}

TEST(LogHeader, FiveLinesWithTimeAndVersion) {
  LogTime time;
  time.weekday = 2;
  time.month = 0;
  time.day = 7;
  time.hour = 9;
  time.minute = 5;
  time.second = 3;
  time.year = 2025;
  const std::vector<std::string> expected = {"#", "# LogFile: C:\\Apps\\orbplay.LOG",
                                             "# Time: Tue Jan 07 09:05:03 2025",
                                             "# QX 'KX' runtime version: 3.0.293", "#"};
  EXPECT_EQ(LogHeaderLines("C:\\Apps\\orbplay.LOG", time, LogVersion{}), expected);
}

TEST(LogLine, MarginLeadingLineFeedAndBound) {
  struct Case {
    const char* name;
    int32_t margin;
    std::string text;
    std::string line;
  } cases[] = {
      {"plain", 0, "hello", "hello\r\n"},
      {"margin 4", 4, "hello", "    hello\r\n"},
      {"leading LF dropped once", 2, "\n\nx", "  \nx\r\n"},
      {"negative margin is none", -7, "x", "x\r\n"},
      {"huge margin bounded", 100000, "x", std::string(511, ' ') + "x\r\n"},
      {"long text cut to 1023", 3, std::string(2000, 'a'), "   " + std::string(1020, 'a') + "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ComposeLogLine(c.margin, c.text), c.line);
  }
}

// One step of a thread's log calls; `lines` is what that step writes.
struct Step {
  enum Kind { kEnter, kError, kLeave, kMargin } kind;
  std::string text;
  int32_t result = 0;
  bool force = false;
  std::vector<std::string> lines = {};
};

std::vector<std::string> RunStep(LogThreadBook& book, const Step& step) {
  switch (step.kind) {
    case Step::kEnter:
      book.Enter(step.text);
      return {};
    case Step::kError:
      book.Error(step.text);
      return {};
    case Step::kLeave:
      return book.Leave(step.result, step.force);
    case Step::kMargin:
      book.AddMargin(step.result);
      return {};
  }
  return {};
}

TEST(LogBook, GroupsAreWrittenOnlyWhenSomethingFailed) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"clean group writes nothing",
       {{Step::kEnter, "A"}, {Step::kEnter, "B"}, {Step::kLeave, "", 0}, {Step::kLeave, "", 0}}},
      {"inner result 5 writes the group",
       {{Step::kEnter, "A"},
        {Step::kEnter, "B"},
        {Step::kLeave, "", 5},
        {Step::kLeave, "", 0, false, {"A", "  B ERROR 5"}}}},
      {"error inside a group",
       {{Step::kEnter, "A"},
        {Step::kError, "E"},
        {Step::kLeave, "", 0, false, {"A", "  E ERROR 1"}}}},
      {"force writes a clean group",
       {{Step::kEnter, "A"}, {Step::kLeave, "", 0, true, {"A"}}}},
      {"result keeps its low byte",
       {{Step::kEnter, "A"}, {Step::kLeave, "", 0x1FF, false, {"A ERROR 255"}}}},
      {"entry margin is the margin when entered",
       {{Step::kMargin, "", 3},
        {Step::kEnter, "A"},
        {Step::kMargin, "", -3},
        {Step::kEnter, "B"},
        {Step::kLeave, "", 1},
        {Step::kLeave, "", 0, false, {"   A", "  B ERROR 1"}}}},
      {"unmatched leave flushes an error and stays at depth 0",
       {{Step::kError, "E"},
        {Step::kLeave, "", 0, false, {"E ERROR 1"}},
        {Step::kLeave, "", 0},
        {Step::kEnter, "A"},
        {Step::kLeave, "", 2, false, {"A ERROR 2"}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LogThreadBook book;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i));
      EXPECT_EQ(RunStep(book, c.steps[i]), c.steps[i].lines);
    }
    EXPECT_EQ(book.depth(), 0);
    EXPECT_EQ(book.pendingCount(), 0u);
  }
}

TEST(LogBook, RefusedEntersDoNotUnbalanceTheDepth) {
  LogThreadBook book;
  for (int i = 0; i < 70; ++i) book.Enter("level " + std::to_string(i));
  EXPECT_EQ(book.pendingCount(), 64u);
  EXPECT_EQ(book.depth(), 64);
  // The six refused Enters' Leaves close nothing.
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(book.Leave(0, false).empty());
  EXPECT_EQ(book.depth(), 64);
  // The innermost real level fails: the whole group is written, indented
  // by its own depth, never by a negative count.
  EXPECT_TRUE(book.Leave(9, false).empty());
  for (int i = 0; i < 62; ++i) EXPECT_TRUE(book.Leave(0, false).empty());
  const std::vector<std::string> lines = book.Leave(0, false);
  ASSERT_EQ(lines.size(), 64u);
  EXPECT_EQ(lines.front(), "level 0");
  EXPECT_EQ(lines.back(), std::string(2 * 63, ' ') + "level 63 ERROR 9");
  EXPECT_EQ(book.depth(), 0);
  // A later unmatched Leave does not go below 0.
  EXPECT_TRUE(book.Leave(0, false).empty());
  EXPECT_EQ(book.depth(), 0);
}

TEST(LogBook, MarginHasAFloorAndACeiling) {
  LogThreadBook book;
  book.AddMargin(4);
  EXPECT_EQ(book.margin(), 4);
  book.AddMargin(-10);
  EXPECT_EQ(book.margin(), 0);
  book.AddMargin(INT32_MAX);
  book.AddMargin(INT32_MAX);
  EXPECT_EQ(book.margin(), kMaxLogMargin);
}

TEST(TraceText, LineFeedEntriesGoToTheDebugger) {
  EXPECT_EQ(ComposeTraceText("\nabc"), "\nabc");
  EXPECT_TRUE(TraceGoesToDebugger("\nabc"));
  EXPECT_FALSE(TraceGoesToDebugger("abc"));
  EXPECT_FALSE(TraceGoesToDebugger(""));
}

}  // namespace
}  // namespace ctlhost

// The list-file box's rules: its button row, the longest name it takes, and
// what each of its commands answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/pick_box_rules.h"

namespace {

TEST(PickBox, ButtonRowIsCentredAndTheBoxAtLeastItsMinimum) {
  struct Case {
    const char* name;
    int32_t count, widest, space, textHeight;
    int32_t innerWidth, buttonWidth, buttonHeight;
    std::vector<int32_t> lefts;
  };
  const Case cases[] = {
      // 2 * 4 + 40 + 6 = 54 wide; three of them and two gaps = 170.
      {"three short buttons", 3, 40, 4, 13, 330, 54, 19, {80, 138, 196}},
      // 2 * 3 + 150 + 6 = 162; two = 328, still inside the minimum.
      {"two wide buttons", 2, 150, 3, 14, 330, 162, 20, {1, 167}},
      // 2 * 3 + 200 + 6 = 212; two = 428: the box grows to fit them.
      {"wider than the minimum", 2, 200, 3, 14, 428, 212, 20, {0, 216}},
      {"one button", 1, 30, 4, 13, 330, 44, 19, {143}},
      {"no button", 0, 0, 4, 13, 330, 14, 19, {}},
      {"nonsense sizes", -2, -5, -1, -7, 330, 6, 6, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    browser::PickBoxLayout layout = browser::LayOutPickBox(c.count, c.widest, c.space, c.textHeight);
    EXPECT_EQ(layout.innerWidth, c.innerWidth);
    EXPECT_EQ(layout.buttonWidth, c.buttonWidth);
    EXPECT_EQ(layout.buttonHeight, c.buttonHeight);
    EXPECT_EQ(layout.buttonLeft, c.lefts);
  }
}

TEST(PickBox, NameLimitLeavesRoomForFolderAndExtension) {
  struct Case {
    const char* name;
    size_t folder, extension;
    int32_t limit;
  };
  const Case cases[] = {
      {"usual", 30, 4, 226},
      {"folder takes all but one", 255, 4, 1},
      {"folder longer than a path", 400, 4, 1},
      {"no extension", 0, 0, 260},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(browser::ListNameLimit(c.folder, c.extension), c.limit);
  }
}

TEST(PickBox, CommandsAndTheirAnswers) {
  constexpr int32_t kFrameClose = 32196;
  constexpr int32_t kSelChange = 1, kDoubleClick = 2, kClicked = 0;
  struct Case {
    const char* name;
    int32_t id, code;
    bool saveMode;
    bool closes;
    std::string name_;
    int32_t result;
  };
  const Case cases[] = {
      {"open: first button", 2, kClicked, false, true, "list.upl", browser::PICKFILE_CONFIRM},
      {"open: double click", 1, kDoubleClick, false, true, "list.upl", browser::PICKFILE_CONFIRM},
      {"open: selection only", 1, kSelChange, false, false, "", browser::PICKFILE_NONE},
      {"open: delete", 3, kClicked, false, true, "list.upl", browser::PICKFILE_SECOND},
      {"open: cancel", 4, kClicked, false, true, "", browser::PICKFILE_CANCEL},
      {"save: first button", 2, kClicked, true, true, "list.upl", browser::PICKFILE_CONFIRM},
      {"save: cancel", 3, kClicked, true, true, "", browser::PICKFILE_SECOND},
      {"close box", kFrameClose, kClicked, false, true, "", browser::PICKFILE_NONE},
      {"another control", 7, kClicked, true, false, "", browser::PICKFILE_NONE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    browser::PickFileAnswer answer = browser::PickFileCommand(c.id, c.code, c.saveMode, "list.upl", kFrameClose);
    EXPECT_EQ(answer.closes, c.closes);
    EXPECT_EQ(answer.name, c.name_);
    EXPECT_EQ(answer.result, c.result);
  }
}

}  // namespace

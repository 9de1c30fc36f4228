// The skinned message box's plan: buttons and results by type, icon and
// default button, labels, line breaks.
#include <gtest/gtest.h>

#include <string>

#include "core/message_box_rules.h"

namespace skinning {
namespace {

TEST(MessageBoxRules, ButtonsAndResultsByType) {
  const struct {
    const char* name;
    uint32_t type;
    const char* buttons;
    int32_t results[5];  // index 0 (closed), 1, 2, 3, 4
  } cases[] = {
      {"ok", 0x0, "    Ok    ", {1, 1, 1, 1, 1}},
      {"ok cancel", 0x1, "Ok|Cancel", {2, 1, 2, 2, 2}},
      {"abort retry ignore", 0x2, "Abort|Retry|Ignore", {2, 3, 4, 5, 2}},
      {"yes no cancel", 0x3, "Yes|No|Cancel", {2, 6, 7, 2, 2}},
      {"yes no", 0x4, "Yes|No", {2, 6, 7, 2, 2}},
      {"retry cancel", 0x5, "Retry|Cancel", {2, 4, 2, 2, 2}},
      {"cancel try continue", 0x6, "Cancel|Try again|Continue", {2, 2, 10, 11, 2}},
      {"7 as ok", 0x7, "    Ok    ", {1, 1, 1, 1, 1}},
      {"8 as ok", 0x8, "    Ok    ", {1, 1, 1, 1, 1}},
      {"9 as ok", 0x9, "    Ok    ", {1, 1, 1, 1, 1}},
      {"10 as ok", 0xA, "    Ok    ", {1, 1, 1, 1, 1}},
      {"11 as ok", 0xB, "    Ok    ", {1, 1, 1, 1, 1}},
      {"12 as ok", 0xC, "    Ok    ", {1, 1, 1, 1, 1}},
      {"13 as ok", 0xD, "    Ok    ", {1, 1, 1, 1, 1}},
      {"14 as ok", 0xE, "    Ok    ", {1, 1, 1, 1, 1}},
      {"15 as ok", 0xF, "    Ok    ", {1, 1, 1, 1, 1}},
      {"question yes no cancel", 0x23, "Yes|No|Cancel", {2, 6, 7, 2, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MessageBoxPlan plan = PlanMessageBox("x", c.type, nullptr, kEnglishLabels);
    EXPECT_EQ(c.buttons, plan.buttons);
    for (int32_t index = 0; index <= 4; ++index) {
      EXPECT_EQ(c.results[index], ResultOfChoice(plan, index)) << "index " << index;
    }
    EXPECT_EQ(c.results[0], ResultOfChoice(plan, -1));
  }
}

TEST(MessageBoxRules, IconDefaultButtonAndRecord) {
  const struct {
    const char* name;
    uint32_t type;
    BoxIcon icon;
    uint8_t defaultButton;
    uint8_t byte22;
    uint8_t byte25;
  } cases[] = {
      {"plain", 0x0, BoxIcon::kNone, 1, 3, 2},
      {"question", 0x23, BoxIcon::kQuestion, 1, 3, 2},
      {"second default", 0x104, BoxIcon::kNone, 2, 3, 2},
      {"third default", 0x200, BoxIcon::kNone, 3, 3, 2},
      {"fourth default is third", 0x300, BoxIcon::kNone, 3, 3, 2},
      {"exclamation", 0x30, BoxIcon::kExclamation, 1, 3, 1},
      {"information", 0x40, BoxIcon::kAsterisk, 1, 0, 2},
      {"stop", 0x10, BoxIcon::kHand, 1, 3, 2},
      {"user icon bits 0x70 count as exclamation", 0x70, BoxIcon::kExclamation, 1, 3, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MessageBoxPlan plan = PlanMessageBox("x", c.type, "Title", kEnglishLabels);
    EXPECT_EQ(c.icon, plan.icon);
    const auto record = BoxStyleRecord(plan, 0x12345678u, 0x00AABBCCu, 0x00112233u);
    const uint8_t expected[26] = {0, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 0xCC, 0xBB, 0xAA, 0,
                                  0x33, 0x22, 0x11, 0, 6, 0, 0, 0, 0, 0, c.byte22, 0,
                                  c.defaultButton, c.byte25};
    for (size_t i = 0; i < 26; ++i) EXPECT_EQ(expected[i], record[i]) << "byte " << i;
    for (size_t i = 26; i < record.size(); ++i) EXPECT_EQ(0, record[i]) << "byte " << i;
  }
}

TEST(MessageBoxRules, Labels) {
  const struct {
    const char* name;
    const char* list;
    uint32_t type;
    const char* buttons;
  } cases[] = {
      {"french", kFrenchLabels, 4, "Oui|Non"},
      {"blanks around labels", " A , B ,C,  Ok  ,E,F,G,  Y e s ,No ", 4, "Y e s|No"},
      {"quoted label with a comma", "a,b,c,d,e,f,g,\"Yes, sure\",No", 4, "Yes, sure|No"},
      {"text after the closing quote ignored", "a,b,c,d,e,f,g,\"Yes\" more,No", 4, "Yes|No"},
      {"quoted blanks kept", "a,b,c,d,e,f,g,\"  Yes \",No", 4, "  Yes |No"},
      {"unterminated quote runs to the end", "a,b,c,d,e,f,g,\"Yes,No", 4, "Yes,No|"},
      {"only four labels", "a,b,c,d", 4, "|"},
      {"only four labels, ok", "a,b,c,d", 0, "    d    "},
      {"more than nine", "a,b,c,d,e,f,g,h,i,j,k", 3, "h|i|e"},
      {"empty list", "", 1, "|"},
      {"bar in a label cannot split a button", "a,b,c,d,e,f,g,\"Y|N\",No", 3,
       "Y\xA6N|No|e"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.buttons, PlanMessageBox("x", c.type, nullptr, c.list).buttons);
  }
}

TEST(MessageBoxRules, CaptionAndText) {
  const struct {
    const char* name;
    const char* text;
    const char* caption;
    const char* wantText;
    const char* wantCaption;
  } cases[] = {
      {"null caption", "a", nullptr, "a", "LUMINAR"},
      {"empty caption stays empty", "a", "", "a", ""},
      {"crlf and lone cr", "one\r\ntwo\rthree", "c", "one|two|three", "c"},
      {"lone lf kept", "one\ntwo\n", "c", "one\ntwo\n", "c"},
      {"cr cr lf", "a\r\r\nb", "c", "a||b", "c"},
      {"cr at the end", "a\r", "c", "a|", "c"},
      {"null text", nullptr, "c", "", "c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MessageBoxPlan plan = PlanMessageBox(c.text, 0, c.caption, kEnglishLabels);
    EXPECT_EQ(c.wantText, plan.text);
    EXPECT_EQ(c.wantCaption, plan.caption);
  }
}

}  // namespace
}  // namespace skinning

// The controls of each layout (layout_controls.h).
#include "core/layout_controls.h"

#include "core/item_list.h"
#include "core/text_rules.h"

namespace player {

namespace {

// Columns of the layout values 1, 2, 4, 8.
size_t ColumnOf(int32_t layoutValue) {
  switch (layoutValue) {
    case 1: return 1;
    case 2: return 2;
    case 4: return 3;
    default: return 4;
  }
}

enum Presence { ABSENT, SHOWN, HIDDEN };

struct Row {
  int32_t id;
  int32_t kind;
  Presence media, document, picture;
};

// The table of the three layouts, in the order the controls are made.
constexpr Row kRows[] = {
    {51, 1, SHOWN, SHOWN, SHOWN},      {52, 1, HIDDEN, HIDDEN, HIDDEN},   {53, 1, SHOWN, SHOWN, SHOWN},
    {54, 1, SHOWN, SHOWN, SHOWN},      {55, 1, SHOWN, SHOWN, SHOWN},      {56, 1, SHOWN, SHOWN, SHOWN},
    {57, 1, ABSENT, SHOWN, ABSENT},    {73, 1, ABSENT, ABSENT, SHOWN},    {61, 1, SHOWN, ABSENT, SHOWN},
    {62, 1, HIDDEN, ABSENT, HIDDEN},   {63, 1, HIDDEN, ABSENT, ABSENT},   {64, 1, ABSENT, SHOWN, ABSENT},
    {65, 1, ABSENT, SHOWN, ABSENT},    {66, 1, ABSENT, SHOWN, ABSENT},    {69, 1, ABSENT, SHOWN, ABSENT},
    {70, 1, ABSENT, SHOWN, ABSENT},    {67, 1, SHOWN, SHOWN, SHOWN},      {68, 1, ABSENT, SHOWN, SHOWN},
    {71, 1, SHOWN, SHOWN, SHOWN},      {72, 1, ABSENT, SHOWN, SHOWN},     {74, 1, SHOWN, ABSENT, SHOWN},
    {76, 2, SHOWN, SHOWN, SHOWN},      {77, 2, SHOWN, ABSENT, SHOWN},     {78, 3, SHOWN, ABSENT, ABSENT},
    {48, 1, SHOWN, SHOWN, SHOWN},      {49, 1, SHOWN, SHOWN, SHOWN},      {50, 1, SHOWN, SHOWN, SHOWN},
};

std::string TipOf(int32_t id, int32_t layout, size_t column, const std::function<std::string(size_t)>& text) {
  switch (id) {
    case 51: return text(layout == LAYOUT_PICTURE ? 86 : 14);
    case 52: return text(layout == LAYOUT_PICTURE ? 87 : 15);
    case 53: return suite::CommaField(text(16), 2);
    case 54: return suite::CommaField(text(17), 2);
    case 55: return text(18);
    case 56: return text(19);
    case 57: case 73: return text(36);
    case 61: return text(24);
    case 62: return text(25);
    case 63: return text(21);
    case 64: return text(40);
    case 65: return text(42);
    case 66: return text(43);
    case 69: return text(39);
    case 70: return text(41);
    case 67: return text(20);
    case 68: return text(37);
    case 71: return text(26);
    case 72: return text(38);
    case 74: return text(50);
    case 76: return text(23);
    case 77: return text(22);
    case 78: return text(35);
    case 48: case 49: case 50: return suite::CommaField(text(static_cast<size_t>(id + 6)), column);
  }
  return std::string();
}

}  // namespace

std::vector<PlannedControl> PlanLayoutControls(const LayoutFacts& facts,
                                               const std::function<std::string(size_t)>& text) {
  const int32_t layoutValue = facts.layout == LAYOUT_MEDIA ? facts.mediaKind : facts.layout;
  const size_t column = ColumnOf(layoutValue);
  std::vector<PlannedControl> planned;
  for (const Row& row : kRows) {
    Presence presence = facts.layout == LAYOUT_MEDIA ? row.media
                        : facts.layout == LAYOUT_DOCUMENT ? row.document
                                                          : row.picture;
    if (presence == ABSENT) continue;
    if (row.id >= 48 && row.id <= 50 && suite::TrimBlanks(suite::CommaField(text(static_cast<size_t>(row.id + 3)), column)).empty()) {
      continue;
    }
    if (row.id == 74 && suite::TrimBlanks(suite::CommaField(text(90), column)).empty()) continue;
    PlannedControl control;
    control.id = row.id;
    control.kind = row.kind;
    control.tip = TipOf(row.id, facts.layout, column, text);
    control.shown = presence == SHOWN;
    control.imageLayout = row.id == 74 && facts.layout == LAYOUT_MEDIA ? LAYOUT_PICTURE : layoutValue;
    if (facts.layout == LAYOUT_PICTURE && (row.id == 53 || row.id == 54)) control.enabled = false;
    if (facts.layout == LAYOUT_PICTURE && row.id == 67) control.enabled = facts.chooserAvailable;
    if (facts.layout == LAYOUT_MEDIA && row.id == 53) control.enabled = facts.mediaKind == 8 && facts.paneDocked;
    planned.push_back(control);
  }
  return planned;
}

const std::vector<int32_t>& ControlDestroyOrder() {
  static const std::vector<int32_t> order = {53, 54, 55, 56, 57, 67, 68, 61, 62, 72, 69, 64, 70, 65,
                                             66, 77, 76, 73, 51, 52, 74, 63, 71, 78, 48, 49, 50};
  return order;
}

}  // namespace player

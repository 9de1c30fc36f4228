#include "core/message_box_rules.h"

namespace skinning {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

struct ButtonSet {
  int labels[3];  // 1-based label numbers, 0 for none
  int32_t results[3];
};

// By type & 0xF; 7 to 15 are the Ok box.
constexpr ButtonSet kButtonSets[7] = {
    {{4, 0, 0}, {kIdOk, 0, 0}},
    {{4, 5, 0}, {kIdOk, kIdCancel, 0}},
    {{1, 2, 3}, {kIdAbort, kIdRetry, kIdIgnore}},
    {{8, 9, 5}, {kIdYes, kIdNo, kIdCancel}},
    {{8, 9, 0}, {kIdYes, kIdNo, 0}},
    {{2, 5, 0}, {kIdRetry, kIdCancel, 0}},
    {{5, 6, 7}, {kIdCancel, kIdTryAgain, kIdContinue}},
};

std::string BoxLines(const char* text) {
  std::string lines;
  for (const char* at = text != nullptr ? text : ""; *at != '\0'; ++at) {
    if (*at == '\r') {
      lines += '|';
      if (at[1] == '\n') ++at;
      continue;
    }
    lines += *at;
  }
  return lines;
}

void PutLittleEndian32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::array<std::string, 9> SplitBoxLabels(std::string_view list) {
  std::array<std::string, 9> labels;
  size_t at = 0;
  for (std::string& label : labels) {
    if (at > list.size()) break;
    while (at < list.size() && IsBlank(list[at])) ++at;
    if (at < list.size() && list[at] == '"') {
      const size_t close = list.find('"', at + 1);
      label = std::string(list.substr(at + 1, close == std::string_view::npos ? std::string_view::npos
                                                                              : close - at - 1));
      at = close == std::string_view::npos ? list.size() : close + 1;
      const size_t comma = list.find(',', at);
      at = comma == std::string_view::npos ? list.size() + 1 : comma + 1;
    } else {
      const size_t comma = list.find(',', at);
      const size_t end = comma == std::string_view::npos ? list.size() : comma;
      size_t last = end;
      while (last > at && IsBlank(list[last - 1])) --last;
      label = std::string(list.substr(at, last - at));
      at = comma == std::string_view::npos ? list.size() + 1 : comma + 1;
    }
    for (char& c : label) {
      if (c == '|') c = static_cast<char>(0xA6);
    }
  }
  return labels;
}

MessageBoxPlan PlanMessageBox(const char* text, uint32_t type, const char* caption,
                              std::string_view labels) {
  MessageBoxPlan plan;
  const std::array<std::string, 9> label = SplitBoxLabels(labels);
  const uint32_t setNumber = type & 0xF;
  const ButtonSet& set = kButtonSets[setNumber < 7 ? setNumber : 0];
  if (set.labels[1] == 0) {
    // The single Ok button, padded so that it is drawn wider.
    plan.buttons = "    " + label[3] + "    ";
  } else {
    for (int i = 0; i < 3 && set.labels[i] != 0; ++i) {
      if (i > 0) plan.buttons += '|';
      plan.buttons += label[set.labels[i] - 1];
    }
  }
  for (int i = 0; i < 3; ++i) plan.resultOf[i] = set.results[i];
  plan.closeResult = set.labels[1] == 0 ? kIdOk : kIdCancel;

  if ((type & 0x30) == 0x30) {
    plan.icon = BoxIcon::kExclamation;
    plan.byte25 = 1;
  } else if ((type & 0x40) == 0x40) {
    plan.icon = BoxIcon::kAsterisk;
    plan.byte22 = 0;
  } else if ((type & 0x20) == 0x20) {
    plan.icon = BoxIcon::kQuestion;
  } else if ((type & 0x10) == 0x10) {
    plan.icon = BoxIcon::kHand;
  }

  switch (type & 0x300) {
    case 0x100: plan.defaultButton = 2; break;
    case 0x200:
    case 0x300: plan.defaultButton = 3; break;
    default: plan.defaultButton = 1; break;
  }
  plan.caption = caption != nullptr ? caption : kDefaultBoxCaption;
  plan.text = BoxLines(text);
  return plan;
}

int32_t ResultOfChoice(const MessageBoxPlan& plan, int32_t index) {
  if (index >= 1 && index <= 3 && plan.resultOf[index - 1] != 0) return plan.resultOf[index - 1];
  return plan.closeResult;
}

std::array<uint8_t, kBoxStyleRecordSize> BoxStyleRecord(const MessageBoxPlan& plan, uint32_t icon,
                                                        uint32_t colour113, uint32_t colour112) {
  std::array<uint8_t, kBoxStyleRecordSize> record{};
  PutLittleEndian32(&record[4], icon);
  PutLittleEndian32(&record[8], colour113);
  PutLittleEndian32(&record[12], colour112);
  PutLittleEndian32(&record[16], 6);
  record[22] = plan.byte22;
  record[24] = plan.defaultButton;
  record[25] = plan.byte25;
  return record;
}

}  // namespace skinning

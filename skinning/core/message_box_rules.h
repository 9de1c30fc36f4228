// The skinned message box's plan: from the MessageBoxA arguments and the
// button label list, what the engine's box is given (buttons, style
// record, caption, text) and which MessageBoxA value each chosen button
// stands for.  Showing the box is the engine's (SKMSGBOX).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace skinning {

// The label list of a fresh library: chosen once by the engine's language.
inline constexpr char kEnglishLabels[] = "Abort,Retry,Ignore,Ok,Cancel,Try again,Continue,Yes,No";
inline constexpr char kFrenchLabels[] =
    "Abandon,Reprise,Ignore,Ok,Annule,Nouvel essai,Continue,Oui,Non";
inline constexpr char kDefaultBoxCaption[] = "LUMINAR";

// MessageBoxA's results.
enum MessageBoxResult : int32_t {
  kIdOk = 1,
  kIdCancel = 2,
  kIdAbort = 3,
  kIdRetry = 4,
  kIdIgnore = 5,
  kIdYes = 6,
  kIdNo = 7,
  kIdTryAgain = 10,
  kIdContinue = 11,
};

// The icon the box shows, loaded by the Win32 side (LoadIconA(NULL, ...)).
enum class BoxIcon { kNone, kExclamation, kAsterisk, kQuestion, kHand };

// The engine's style record as the library fills it (little-endian; the
// engine reads the icon handle at 4, colours at 8 and 12, the default
// button at 24).
inline constexpr size_t kBoxStyleRecordSize = 64;

struct MessageBoxPlan {
  std::string buttons;                // labels joined by "|"
  std::array<int32_t, 3> resultOf{};  // button 1..3 -> MessageBoxA value (0: none)
  int32_t closeResult = kIdCancel;    // the box closed without a button
  BoxIcon icon = BoxIcon::kNone;
  uint8_t defaultButton = 1;          // 1-based
  uint8_t byte22 = 3;
  uint8_t byte25 = 2;
  std::string caption;
  std::string text;                   // "|" between lines
};

// The nine labels of a comma list: blanks before a label and after an
// unquoted one dropped; a label in double quotes keeps commas and blanks
// (what follows its closing quote up to the next comma is ignored; with no
// closing quote it runs to the end); missing labels are empty.  A "|" in a
// label would split its button in two and shift every later result, so it
// becomes a broken bar (0xA6).
std::array<std::string, 9> SplitBoxLabels(std::string_view list);

// `caption` null: the default caption.  `labels`: the list in force (the
// caller chooses a default for an empty one).
MessageBoxPlan PlanMessageBox(const char* text, uint32_t type, const char* caption,
                              std::string_view labels);

// The MessageBoxA value for the 1-based button index SKMSGBOX gave; an
// index outside the box's buttons (the box was closed) gives what
// MessageBoxA gives then: IDOK for a box with only Ok, else IDCANCEL.
int32_t ResultOfChoice(const MessageBoxPlan& plan, int32_t index);

// The record's bytes for an icon handle and the two colours.
std::array<uint8_t, kBoxStyleRecordSize> BoxStyleRecord(const MessageBoxPlan& plan, uint32_t icon,
                                                        uint32_t colour113, uint32_t colour112);

}  // namespace skinning

// The style record the suite's programs hand to the skin engine with every
// box (SKMSGBOX, and the engine's input boxes and skinned buttons): its byte
// layout, which the engine reads from the caller's memory, and the values
// each kind of box puts into it.  Bytes 0-3 and the gaps are never written by
// the callers; the engine reads only up to byte 24 for message boxes, the
// rest belongs to the input and number boxes.
//
// Portable: no windows.h.  The icon is the 32-bit handle value.
#pragma once

#include <cstddef>
#include <cstdint>

namespace suite::boxes {

#pragma pack(push, 1)
struct MessageBoxStyle {
  uint8_t unused0[4];        //  0- 3  never written
  uint32_t icon;             //  4- 7  icon handle, 0 = none
  uint32_t colour1;          //  8-11  text colour (skin colour 113)
  uint32_t colour2;          // 12-15  background (skin colour 112)
  uint32_t boxKind;          // 16-19  6 for message and input boxes, 1 while buttons are made
  uint16_t boxVariant;       // 20-21  0 boxes, 1 cancel questions, 0xFFFF the About box
  uint8_t frameValue;        // 22     3 (0 for the notice box)
  uint8_t unused23;          // 23
  uint8_t defaultButton;     // 24     1-based: the button Enter chooses
  uint8_t buttonValue;       // 25     3, 1 for the cancel questions
  int16_t numberX;           // 26-27  number field x
  int16_t numberY;           // 28-29  number field y
  uint16_t maxTextLength;    // 30-31  input boxes 40, 80 or 260; number fields 4
  uint16_t inputWidth;       // 32-33  200 or 300; number fields their width
  uint16_t numberHeight;     // 34-35  number field height
  uint16_t inputStyle;       // 36-37  0 text input, 10 number fields
  uint8_t unused38[2];       // 38-39
  uint8_t numberValue;       // 40     2 for number fields
  int16_t minimum;           // 41-42  number fields: 0
  int16_t maximum;           // 43-44  number fields: 9999
  int16_t value;             // 45-46  number fields
  uint8_t unused47[8];       // 47-54
  uint8_t escapeButton;      // 55     the button Escape focuses (input boxes 2)
  uint8_t makingButton;      // 56     set to 1 before each skinned button is made
};
#pragma pack(pop)

static_assert(offsetof(MessageBoxStyle, icon) == 4);
static_assert(offsetof(MessageBoxStyle, colour1) == 8);
static_assert(offsetof(MessageBoxStyle, colour2) == 12);
static_assert(offsetof(MessageBoxStyle, boxKind) == 16);
static_assert(offsetof(MessageBoxStyle, boxVariant) == 20);
static_assert(offsetof(MessageBoxStyle, frameValue) == 22);
static_assert(offsetof(MessageBoxStyle, defaultButton) == 24);
static_assert(offsetof(MessageBoxStyle, buttonValue) == 25);
static_assert(offsetof(MessageBoxStyle, numberX) == 26);
static_assert(offsetof(MessageBoxStyle, numberY) == 28);
static_assert(offsetof(MessageBoxStyle, maxTextLength) == 30);
static_assert(offsetof(MessageBoxStyle, inputWidth) == 32);
static_assert(offsetof(MessageBoxStyle, numberHeight) == 34);
static_assert(offsetof(MessageBoxStyle, inputStyle) == 36);
static_assert(offsetof(MessageBoxStyle, numberValue) == 40);
static_assert(offsetof(MessageBoxStyle, minimum) == 41);
static_assert(offsetof(MessageBoxStyle, maximum) == 43);
static_assert(offsetof(MessageBoxStyle, value) == 45);
static_assert(offsetof(MessageBoxStyle, escapeButton) == 55);
static_assert(offsetof(MessageBoxStyle, makingButton) == 56);
static_assert(sizeof(MessageBoxStyle) == 57);

// The kinds of box the programs show, each with its own values at 20, 22
// and 25.
enum class BoxLook {
  kMessage,         // the warning and information boxes
  kCancelQuestion,  // "stop the operation?" asked by the message pumps
  kAbout,           // the About box
};

// Message and input boxes tell the engine so at byte 16.
constexpr uint32_t kMessageBoxKind = 6;

// Fills the fields every box sets before SKMSGBOX: icon, the two colours,
// the kind and the look's values.  Every other byte is left as it was (the
// record is reused from box to box, as the engine's callers always did).
void PrepareBoxStyle(MessageBoxStyle* style, BoxLook look, uint32_t icon, uint32_t textColour,
                     uint32_t backColour);

}  // namespace suite::boxes

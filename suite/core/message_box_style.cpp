// The values each kind of box writes into the shared style record.
#include "message_box_style.h"

namespace suite::boxes {

namespace {

struct LookValues {
  uint16_t boxVariant;
  uint8_t frameValue;
  uint8_t buttonValue;
};

LookValues ValuesOf(BoxLook look) {
  switch (look) {
    case BoxLook::kCancelQuestion:
      return {1, 3, 1};
    case BoxLook::kAbout:
      return {0xFFFF, 3, 3};
    case BoxLook::kMessage:
      break;
  }
  return {0, 3, 3};
}

}  // namespace

void PrepareBoxStyle(MessageBoxStyle* style, BoxLook look, uint32_t icon, uint32_t textColour,
                     uint32_t backColour) {
  if (style == nullptr) return;
  const LookValues values = ValuesOf(look);
  style->icon = icon;
  style->colour1 = textColour;
  style->colour2 = backColour;
  style->boxKind = kMessageBoxKind;
  style->boxVariant = values.boxVariant;
  style->frameValue = values.frameValue;
  style->buttonValue = values.buttonValue;
}

}  // namespace suite::boxes

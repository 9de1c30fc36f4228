#include "core/key_rules.h"

namespace skinning {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsAltChord(uint32_t virtualKey, uint32_t keyFlags) {
  const bool altHeld = (keyFlags & (1u << 29)) != 0;
  const bool goingDown = (keyFlags & (1u << 31)) == 0;
  return altHeld && goingDown && virtualKey > kVirtualKeySpace;
}

char MnemonicOfKey(uint32_t layoutCharacter) {
  // MapVirtualKey marks dead keys in the top bit; they are no mnemonic.
  if (layoutCharacter == 0 || layoutCharacter > 0xFF) return 0;
  const char c = Upper(static_cast<char>(layoutCharacter));
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  return 0;
}

bool HasMnemonic(std::string_view text, char mnemonic) {
  if (mnemonic == 0) return false;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;  // an escaped ampersand
      continue;
    }
    if (Upper(text[i + 1]) == Upper(mnemonic)) return true;
  }
  return false;
}

int FindMnemonic(const std::vector<std::string>& texts, char mnemonic) {
  for (size_t i = 0; i < texts.size(); ++i) {
    if (HasMnemonic(texts[i], mnemonic)) return static_cast<int>(i);
  }
  return -1;
}

bool SendsSysKeyToBar(bool itemHasMnemonic, bool hasFocus, uint32_t virtualKey) {
  if (itemHasMnemonic) return true;
  return !hasFocus && virtualKey != kVirtualKeyF4;
}

}  // namespace skinning

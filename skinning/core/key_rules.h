// Alt keys: which keys of the keyboard hook the library acts on, and which
// menu item or push button an Alt chord means.  The hook (library_main.cpp)
// and the frame procedure's WM_SYSKEYDOWN apply them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skinning {

constexpr uint32_t kVirtualKeySpace = 0x20;
constexpr uint32_t kVirtualKeyF4 = 0x73;

// A key going down (flag bit 31 clear) with Alt held (bit 29 set) whose
// code is above VK_SPACE.
bool IsAltChord(uint32_t virtualKey, uint32_t keyFlags);

// The mnemonic a key stands for, from the character the keyboard layout
// gives it (MapVirtualKey with MAPVK_VK_TO_CHAR): the letters A-Z and the
// digits 0-9, upper-case; 0 for every other key.  Key codes are not
// characters: F1 (0x70) is not "p", the numeric pad's 1 (0x61) is not "a".
char MnemonicOfKey(uint32_t layoutCharacter);

// Whether a menu or button text has `mnemonic` as an access key: a
// character after a single "&" ("&&" is a plain ampersand), compared
// without regard to case.
bool HasMnemonic(std::string_view text, char mnemonic);
// The first text (0-based) with that access key; -1 when none.
int FindMnemonic(const std::vector<std::string>& texts, char mnemonic);

// WM_SYSKEYDOWN at a window with a menu bar: the key goes to the bar when a
// bar item has it as access key, or when no window has the focus (F10 and
// Alt alone open the bar) unless it is F4, which stays with the window so
// that Alt+F4 closes it rather than the bar.
bool SendsSysKeyToBar(bool itemHasMnemonic, bool hasFocus, uint32_t virtualKey);

}  // namespace skinning

// Which item a key press with Alt (a mnemonic) activates.  A window item
// carries an accelerator text ("&Save" gives "S"); a control item reports
// an accelerator table through its control info.  Only key-down messages
// count, WM_SYSKEYDOWN included, since Alt combinations arrive as that.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace ctlhost {

// Modifier bits of a key press.
inline constexpr int32_t kModShift = 1;
inline constexpr int32_t kModCtrl = 2;
inline constexpr int32_t kModAlt = 4;

// A window item's accelerator text matches a key when Alt is down and the
// key is a letter or digit (virtual-key codes '0'-'9', 'A'-'Z', equal to
// their characters) that appears in the text, ignoring ASCII case.  Function
// and keypad keys never match a letter.
bool TextMnemonicMatches(std::string_view acceleratorText, bool isKeyDown, uint32_t keyCode,
                         int32_t modifiers);

// One ACCEL entry of a control's table (fVirt byte, key, command).
struct AcceleratorEntry {
  uint8_t flags = 0;  // FVIRTKEY 0x01, FNOINVERT 0x02, FSHIFT 0x04, FCONTROL 0x08, FALT 0x10
  uint16_t key = 0;
  uint16_t command = 0;
};
inline constexpr uint8_t kAccelVirtKey = 0x01;
inline constexpr uint8_t kAccelShift = 0x04;
inline constexpr uint8_t kAccelControl = 0x08;
inline constexpr uint8_t kAccelAlt = 0x10;

// The index of the first entry whose modifier flags (Shift, Ctrl, Alt; the
// FVIRTKEY and FNOINVERT bits are not modifiers) equal the key press's and
// whose key is the pressed key (a character entry matches its letter's key
// in either case), or -1.
int32_t MatchAcceleratorTable(const std::vector<AcceleratorEntry>& table, bool isKeyDown,
                              uint32_t keyCode, int32_t modifiers);

// Reads ACCEL entries (6 bytes each: flags, pad, key, command, little
// endian) from a block; a short block gives only its whole entries.
std::vector<AcceleratorEntry> ReadAcceleratorEntries(const uint8_t* bytes, size_t size,
                                                     size_t wantedCount);

}  // namespace ctlhost

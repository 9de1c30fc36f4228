// Mnemonic matching; see mnemonics.h.
#include "core/mnemonics.h"

#include "core/names.h"

namespace ctlhost {

namespace {
bool IsLetterOrDigitKey(uint32_t key) { return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'); }
}  // namespace

bool TextMnemonicMatches(std::string_view acceleratorText, bool isKeyDown, uint32_t keyCode,
                         int32_t modifiers) {
  if (!isKeyDown || (modifiers & kModAlt) == 0) return false;
  const uint32_t key = keyCode & 0xFF;
  if (!IsLetterOrDigitKey(key)) return false;
  for (char c : acceleratorText) {
    if (static_cast<unsigned char>(UpperAscii(c)) == key) return true;
  }
  return false;
}

int32_t MatchAcceleratorTable(const std::vector<AcceleratorEntry>& table, bool isKeyDown,
                              uint32_t keyCode, int32_t modifiers) {
  if (!isKeyDown) return -1;
  uint8_t wanted = 0;
  if (modifiers & kModAlt) wanted |= kAccelAlt;
  if (modifiers & kModShift) wanted |= kAccelShift;
  if (modifiers & kModCtrl) wanted |= kAccelControl;
  const uint32_t key = keyCode & 0xFFFF;
  for (size_t i = 0; i < table.size(); ++i) {
    const AcceleratorEntry& entry = table[i];
    if ((entry.flags & (kAccelAlt | kAccelShift | kAccelControl)) != wanted) continue;
    uint32_t entryKey = entry.key;
    if ((entry.flags & kAccelVirtKey) == 0 && entryKey < 0x80) {
      entryKey = static_cast<unsigned char>(UpperAscii(static_cast<char>(entryKey)));
    }
    if (entryKey == key) return static_cast<int32_t>(i);
  }
  return -1;
}

std::vector<AcceleratorEntry> ReadAcceleratorEntries(const uint8_t* bytes, size_t size,
                                                     size_t wantedCount) {
  std::vector<AcceleratorEntry> entries;
  if (bytes == nullptr) return entries;
  const size_t whole = size / 6;
  const size_t count = wantedCount < whole ? wantedCount : whole;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* at = bytes + 6 * i;
    entries.push_back({at[0], static_cast<uint16_t>(at[2] | (at[3] << 8)),
                       static_cast<uint16_t>(at[4] | (at[5] << 8))});
  }
  return entries;
}

}  // namespace ctlhost

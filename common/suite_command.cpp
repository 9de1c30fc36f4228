// WM_COPYDATA transport of suite commands.
#include "suite_command.h"

#include <algorithm>

#include "core/suite_payload.h"

namespace suite {

LRESULT SendSuiteCommand(HWND window, uint32_t code, const std::string& text) {
  std::string buffer = EncodeSuitePayload(text);
  COPYDATASTRUCT data = {};
  data.dwData = code;
  data.cbData = static_cast<DWORD>(buffer.size());
  data.lpData = buffer.data();
  return SendMessageA(window, WM_COPYDATA, static_cast<WPARAM>(text.size()),
                      reinterpret_cast<LPARAM>(&data));
}

uint32_t ReceiveSuiteCommand(std::string& text, WPARAM wParam, LPARAM lParam) {
  text.clear();
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (data == nullptr) return 0;
  // wParam announces the text's length; a wider value than any buffer can
  // hold is no shorter a claim, so it is not cut to its low bits.
  const auto announced = static_cast<uint32_t>(std::min<uint64_t>(wParam, UINT32_MAX));
  text = DecodeSuitePayload(announced, data->lpData, data->cbData);
  return static_cast<uint32_t>(data->dwData);
}

}  // namespace suite

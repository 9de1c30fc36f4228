// The message pumps' decisions.
#include "pump_rules.h"

namespace suite::boxes {

bool IsCloseRequest(uint32_t message, uint32_t wParam) {
  if (message == message::kClose) return true;
  return message == message::kSysCommand && (wParam & 0xFFF0u) == kScClose;
}

PumpAction ClassifyPumpedMessage(const PumpedMessage& pumped, int32_t osVersion) {
  if (pumped.message == message::kQuit) return PumpAction::kRequeueQuit;
  if (pumped.forWatchedWindow && IsCloseRequest(pumped.message, pumped.wParam)) {
    return PumpAction::kRepostAndCancel;
  }
  if (osVersion < kOldSystemVersion && pumped.forFileList &&
      pumped.message == message::kRightButtonDown) {
    return PumpAction::kRepostRightClick;
  }
  if (pumped.message == message::kKeyDown && pumped.wParam == kEscapeKey) {
    return PumpAction::kAskCancel;
  }
  return PumpAction::kDispatch;
}

}  // namespace suite::boxes

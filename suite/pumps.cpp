// The message pumps of long operations that run on the main thread: they
// keep the windows alive between steps and tell the operation when the user
// wants it stopped (Escape answered with "yes", or a close request for the
// main window, which is put back in the queue for the main loop).
#include <windows.h>

#include <cstdint>
#include <string>

#include "orbboxes.h"
#include "themecore.h"

namespace suite::boxes {

namespace {

bool IsForWindow(HWND target, HWND watched) {
  if (watched == nullptr) return target != nullptr;
  return target == watched || (target != nullptr && GetAncestor(target, GA_ROOT) == watched);
}

// Escape's "stop the operation?" box; true when the answer is yes (1).
bool AskToStop(BoxContext& context, const std::string& question) {
  PrepareBoxStyle(&context.style, BoxLook::kCancelQuestion,
                  BoxIconField(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION))),
                  static_cast<uint32_t>(SKGETSYSCOLOR(113)),
                  static_cast<uint32_t>(SKGETSYSCOLOR(112)));
  const int32_t answer =
      SKMSGBOX(context.mainWindow, SKCAPTIONFONT(), context.cancelCaption.c_str(),
               question.c_str(), context.yesNoButtons.c_str(), &context.style, 0);
  if (context.mainWindow != nullptr) UpdateWindow(context.mainWindow);
  return answer == 1;
}

// The system does not change while the program runs: asked once.
int32_t SystemVersion() {
  static const int32_t version = SKOSVERSION();
  return version;
}

void PostAgain(const MSG& message) {
  PostMessageA(message.hwnd, message.message, message.wParam, message.lParam);
}

}  // namespace

int32_t PumpAndCheckCancel(int32_t showWaitCursor) {
  BoxContext& context = CurrentBoxContext();
  HCURSOR waitCursor =
      showWaitCursor != 0 ? LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)) : nullptr;
  int32_t result = kPumpGoOn;
  MSG message;
  while (result == kPumpGoOn && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    context.lastMessage = message;
    if (waitCursor != nullptr) SetCursor(waitCursor);
    PumpedMessage pumped;
    pumped.message = message.message;
    pumped.wParam = static_cast<uint32_t>(message.wParam);
    pumped.forWatchedWindow = IsForWindow(message.hwnd, context.mainWindow);
    pumped.forFileList = context.fileList != nullptr && message.hwnd == context.fileList;
    switch (ClassifyPumpedMessage(pumped, SystemVersion())) {
      case PumpAction::kRepostAndCancel:
        PostAgain(message);
        result = kPumpCancel;
        break;
      case PumpAction::kRequeueQuit:
        // The program is ending: the quit goes back for the main loop.
        PostQuitMessage(static_cast<int>(message.wParam));
        result = kPumpCancel;
        break;
      case PumpAction::kRepostRightClick:
        PostAgain(message);
        result = kPumpRightClick;
        break;
      case PumpAction::kAskCancel: {
        HWND focus = GetFocus();
        MessageBeep(0xFFFFFFFF);
        if (AskToStop(context, context.cancelQuestion)) result = kPumpCancel;
        if (focus != nullptr && IsWindow(focus)) SetFocus(focus);
        break;
      }
      case PumpAction::kDispatch:
        TranslateMessage(&message);
        DispatchMessageA(&message);
        break;
    }
  }
  return result;
}

int32_t PollForCancel(int32_t showWaitCursor) {
  return PumpAndCheckCancel(showWaitCursor) != kPumpGoOn ? kCancelledByUser : 0;
}

int32_t PumpWithCancel(const std::string& question) {
  BoxContext& context = CurrentBoxContext();
  int32_t result = kPumpGoOn;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    context.lastMessage = message;
    if (message.message == WM_QUIT) {
      // Dispatching would lose it, and taking it again would never end.
      PostQuitMessage(static_cast<int>(message.wParam));
      return kPumpCancel;
    }
    SKCURSORWAIT();
    if (!question.empty() && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
        AskToStop(context, question)) {
      result = kPumpCancel;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return result;
}

}  // namespace suite::boxes

// The program's box context and the skinned boxes every program shows: the
// warning box, the information or question box and the About box.  The engine draws and
// runs them (SKMSGBOX); this file fills the shared style record and picks
// owner, caption and icon from the program's context.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/text_rules.h"
#include "orbboxes.h"
#include "themecore.h"

namespace suite::boxes {

namespace {

BoxContext* programContext = nullptr;

BoxContext& EmptyContext() {
  static BoxContext empty;
  return empty;
}

std::string WindowTextOf(HWND window) {
  if (window == nullptr) return std::string();
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

int32_t ShowBox(BoxContext& context, BoxLook look, HICON icon, const std::string& text,
                const std::string& buttons) {
  if (context.beforeBox) context.beforeBox();
  PrepareBoxStyle(&context.style, look, BoxIconField(icon),
                  static_cast<uint32_t>(SKGETSYSCOLOR(113)),
                  static_cast<uint32_t>(SKGETSYSCOLOR(112)));
  const std::string caption = WindowTextOf(context.mainWindow);
  const int32_t answer = SKMSGBOX(context.mainWindow, SKCAPTIONFONT(), caption.c_str(),
                                  text.c_str(), buttons.c_str(), &context.style, 0);
  if (context.mainWindow != nullptr) UpdateWindow(context.mainWindow);
  return answer;
}

HICON ProgramIcon(const BoxContext& context) {
  HINSTANCE module = context.iconModule != nullptr ? context.iconModule : GetModuleHandleA(nullptr);
  // A program without the resource shows its boxes without an icon.
  return LoadIconA(module, "PROGRAM");
}

}  // namespace

void SetBoxContext(BoxContext* context) { programContext = context; }

BoxContext& CurrentBoxContext() {
  return programContext != nullptr ? *programContext : EmptyContext();
}

void ShowWarningBox(const std::string& text) {
  HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION));
  ShowBox(CurrentBoxContext(), BoxLook::kMessage, icon, text, std::string());
}

int32_t ShowInfoBox(const std::string& text, const std::string& buttons) {
  BoxContext& context = CurrentBoxContext();
  return ShowBox(context, BoxLook::kMessage, ProgramIcon(context), text, buttons);
}

void ShowAboutBox(const std::string& text) {
  BoxContext& context = CurrentBoxContext();
  ShowBox(context, BoxLook::kAbout, ProgramIcon(context), text, std::string());
}

std::string AboutText(const std::string& programText) {
  std::string author = themecore::FetchText([](char* out, int32_t size) { return SKAUTHOR(out, size); });
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  return author + ReplaceAll(programText, "#", std::to_string(now.wYear));
}

}  // namespace suite::boxes

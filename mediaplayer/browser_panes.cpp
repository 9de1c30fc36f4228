// The two web browser panes in the content holder, hosted through the
// control container library (ctlhost20.dll, loaded when first needed): the
// document pane "Content" and the index pane "Index" docked at one side;
// their placement (core/browser_rules), navigation, the exported event
// callback QXCONTENTCALLBACK and the browser commands.  The browser is
// driven through its IDispatch by member name, so any control that answers
// Navigate, Refresh, Stop, GoBack, GoForward and ExecWB serves.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>

#include "core/browser_rules.h"
#include "core/item_list.h"
#include "core/path_placeholders.h"
#include "core/text_rules.h"
#include "ctlhost20.h"
#include "player_parts.h"
#include "orbboxes.h"
#include "picture_view.h"
#include "playback_engine.h"
#include "player_state.h"
#include "themecore.h"
#include "thread_timer.h"

extern "C" int __stdcall OrbPlayContentCallback(SubscriptionHandle subscription, EventHandle event, int user);

namespace player {

namespace {

constexpr size_t T_INDEX_SETTINGS = 47;
constexpr size_t T_NOT_FOR_DOCUMENTS = 48;
constexpr size_t T_FIRST_PAGE_ENTRY = 51;
constexpr int32_t LAYOUT_DOCUMENT = 1;
constexpr int32_t LAYOUT_PICTURE = 4;
constexpr int ID_ZOOM_IN = 65;
constexpr int ID_ZOOM_OUT = 66;
constexpr char kBrowserSpec[] = "PROGID:Shell.Explorer.2";
constexpr LONG kOleCmdZoom = 19;        // OLECMDID_ZOOM
constexpr LONG kOleCmdPrint = 6;        // OLECMDID_PRINT
constexpr LONG kExecDefault = 0;        // OLECMDEXECOPT_DODEFAULT
constexpr LONG kExecPromptUser = 1;     // OLECMDEXECOPT_PROMPTUSER

// The container library's calls the panes use, loaded at run time.
struct HostApi {
  decltype(&QXCreateControl) createControl = nullptr;
  decltype(&QXDeleteControl) deleteControl = nullptr;
  decltype(&QXSetControlResizeStyle) setResizeStyle = nullptr;
  decltype(&QXSubscribeEvents) subscribe = nullptr;
  decltype(&QXUnsubscribe) unsubscribe = nullptr;
  decltype(&QXSetControlVisible) setVisible = nullptr;
  decltype(&QXGetControlVisible) getVisible = nullptr;
  decltype(&QXSetControlPosition) setPosition = nullptr;
  decltype(&QXGetEventSenderDispatch) eventSender = nullptr;
  decltype(&QXGetControlName) controlName = nullptr;
  decltype(&QXGetEventName) eventName = nullptr;
  decltype(&QXGetEventNamedParameterValue) namedParameter = nullptr;
  decltype(&QXReleaseDispatch) releaseDispatch = nullptr;
};

// One pane: the hosted control and its event subscription, both kept so
// the subscription is ended before the control is deleted.
struct Pane {
  IDispatch* control = nullptr;
  SubscriptionHandle subscription = nullptr;
};

struct PanesState {
  bool loadTried = false;
  HMODULE library = nullptr;
  HostApi api;
  bool ready = false;
  Pane content;
  Pane index;
  std::string spreadsheet;  // the spreadsheet on screen, shown only once
  bool creating = false;    // keeps re-entry out while a pane is made
};

PanesState& Panes() {
  static PanesState state;
  return state;
}

template <typename Function>
bool Resolve(HMODULE library, const char* name, Function* out) {
  *out = reinterpret_cast<Function>(GetProcAddress(library, name));
  return *out != nullptr;
}

// Loads the container library once; false when it or a call is missing
// (then no pane is ever made).
bool LoadHost() {
  PanesState& s = Panes();
  if (s.loadTried) return s.ready;
  s.loadTried = true;
  s.library = LoadLibraryA("ctlhost20.dll");
  if (s.library == nullptr) return false;
  HostApi& a = s.api;
  s.ready = Resolve(s.library, "QXCreateControl", &a.createControl) &&
            Resolve(s.library, "QXDeleteControl", &a.deleteControl) &&
            Resolve(s.library, "QXSetControlResizeStyle", &a.setResizeStyle) &&
            Resolve(s.library, "QXSubscribeEvents", &a.subscribe) && Resolve(s.library, "QXUnsubscribe", &a.unsubscribe) &&
            Resolve(s.library, "QXSetControlVisible", &a.setVisible) &&
            Resolve(s.library, "QXGetControlVisible", &a.getVisible) &&
            Resolve(s.library, "QXSetControlPosition", &a.setPosition) &&
            Resolve(s.library, "QXGetEventSenderDispatch", &a.eventSender) &&
            Resolve(s.library, "QXGetControlName", &a.controlName) &&
            Resolve(s.library, "QXGetEventName", &a.eventName) &&
            Resolve(s.library, "QXGetEventNamedParameterValue", &a.namedParameter) &&
            Resolve(s.library, "QXReleaseDispatch", &a.releaseDispatch);
  return s.ready;
}

INT_PTR RefOf(const Pane& pane) { return reinterpret_cast<INT_PTR>(pane.control); }

bool IsPaneVisible(const Pane& pane) {
  short visible = 0;
  return pane.control != nullptr && Panes().api.getVisible(RefOf(pane), kControlRefCom, &visible) == 0 && visible != 0;
}

void SetPaneVisible(const Pane& pane, bool visible) {
  if (pane.control != nullptr) Panes().api.setVisible(RefOf(pane), kControlRefCom, visible ? 1 : 0);
}

void PlacePane(const Pane& pane, const PaneRect& r) {
  if (pane.control != nullptr) Panes().api.setPosition(RefOf(pane), kControlRefCom, r.x, r.y, r.width, r.height);
}

// Our byte strings are in the ANSI code page: a path with "€" or "’" must
// reach the browser as those characters.
BSTR TextToBstr(const std::string& text) {
  if (text.empty()) return SysAllocString(L"");
  const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (wide <= 0) return nullptr;
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(wide));
  if (out != nullptr) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, wide);
  return out;
}

std::string BstrToText(BSTR text) {
  const int length = text != nullptr ? static_cast<int>(SysStringLen(text)) : 0;
  if (length == 0) return std::string();
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), bytes, nullptr, nullptr);
  return out;
}

std::string VariantText(const VARIANT& value) {
  VARIANT text;
  VariantInit(&text);
  std::string out;
  if (SUCCEEDED(VariantChangeType(&text, const_cast<VARIANT*>(&value), 0, VT_BSTR))) out = BstrToText(V_BSTR(&text));
  VariantClear(&text);
  return out;
}

// Calls a member of the control by name with the arguments in their
// written order; false when the control has no such member or it failed.
bool CallMember(IDispatch* control, const wchar_t* name, VARIANT* args, UINT count, VARIANT* result = nullptr) {
  if (control == nullptr) return false;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (FAILED(control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
  // IDispatch takes the arguments last first.
  VARIANT reversed[5];
  for (UINT i = 0; i < count && i < 5; ++i) reversed[i] = args[count - 1 - i];
  DISPPARAMS params = {count > 0 ? reversed : nullptr, nullptr, count, 0};
  return SUCCEEDED(control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result, nullptr,
                                   nullptr));
}

void Navigate(const Pane& pane, const std::string& url) {
  VARIANT args[5];
  for (VARIANT& arg : args) VariantInit(&arg);
  V_VT(&args[0]) = VT_BSTR;
  V_BSTR(&args[0]) = TextToBstr(url);
  if (V_BSTR(&args[0]) == nullptr) return;
  CallMember(pane.control, L"Navigate", args, 5);
  VariantClear(&args[0]);
}

// ExecWB(command, option, in, out); false when the browser refused.
bool ExecWb(LONG command, LONG option, VARIANT* in, VARIANT* out) {
  VARIANT args[4];
  for (VARIANT& arg : args) VariantInit(&arg);
  V_VT(&args[0]) = VT_I4;
  V_I4(&args[0]) = command;
  V_VT(&args[1]) = VT_I4;
  V_I4(&args[1]) = option;
  V_VT(&args[2]) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&args[2]) = in;
  V_VT(&args[3]) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&args[3]) = out;
  return CallMember(Panes().content.control, L"ExecWB", args, 4);
}

bool CreatePane(Pane* pane, const char* name, const PaneRect& r) {
  PanesState& s = Panes();
  PlayerState& p = Player();
  if (!LoadHost() || p.contentHolder == nullptr) return false;
  IDispatch* control = nullptr;
  std::string paneName = name;
  std::string spec = kBrowserSpec;
  if (s.api.createControl(p.contentHolder, paneName.data(), r.x, r.y, r.width, r.height, spec.data(), 1, &control) !=
          0 ||
      control == nullptr) {
    return false;
  }
  pane->control = control;
  pane->subscription = s.api.subscribe(control, OrbPlayContentCallback, 1);
  return true;
}

void DestroyPane(Pane* pane) {
  PanesState& s = Panes();
  if (pane->control == nullptr) return;
  if (pane->subscription != nullptr) s.api.unsubscribe(&pane->subscription);
  pane->subscription = nullptr;
  s.api.deleteControl(pane->control);
  pane->control = nullptr;
}

IndexSettings CurrentIndexSettings() {
  PlayerState& p = Player();
  return ParseIndexSettings(p.texts.entry(T_INDEX_SETTINGS), p.programFolder);
}

PaneRect ContentClientArea() {
  RECT client = {};
  if (Player().contentHolder != nullptr) GetClientRect(Player().contentHolder, &client);
  return PaneRect{0, 0, client.right + 1, client.bottom + 1};
}

int32_t BrowserZoom() {
  VARIANT in, out;
  VariantInit(&in);
  VariantInit(&out);
  int32_t level = 0;
  if (ExecWb(kOleCmdZoom, kExecDefault, &in, &out)) {
    VARIANT number;
    VariantInit(&number);
    if (SUCCEEDED(VariantChangeType(&number, &out, 0, VT_I4))) level = V_I4(&number);
    VariantClear(&number);
  }
  VariantClear(&out);
  const ZoomButtons buttons = ZoomButtonsFor(level);
  if (ControlOf(ID_ZOOM_IN) != nullptr) EnableWindow(ControlOf(ID_ZOOM_IN), buttons.zoomInEnabled);
  if (ControlOf(ID_ZOOM_OUT) != nullptr) EnableWindow(ControlOf(ID_ZOOM_OUT), buttons.zoomOutEnabled);
  return level;
}

void StepZoom(int32_t step) {
  const int32_t level = BrowserZoom();
  const int32_t next = SteppedZoom(level, step);
  if (next == level) return;
  VARIANT in, out;
  VariantInit(&in);
  VariantInit(&out);
  V_VT(&in) = VT_I4;
  V_I4(&in) = next;
  ExecWb(kOleCmdZoom, kExecDefault, &in, &out);
  VariantClear(&out);
  BrowserZoom();
}

void OpenPageEntry(int32_t id) {
  PlayerState& p = Player();
  const size_t field = p.layoutMode == LAYOUT_DOCUMENT ? 1 : p.layoutMode == LAYOUT_PICTURE ? 3 : 2;
  const std::string entry = p.texts.entry(T_FIRST_PAGE_ENTRY + static_cast<size_t>(id - 48));
  const std::string page =
      ExpandProgramFolder(suite::LowerAscii(suite::CommaField(entry, field)), p.programFolder);
  if (!page.empty()) OpenItem("", page, 0, 0);
}

}  // namespace

int32_t IndexLayoutBits() { return CurrentIndexSettings().layoutBits; }

bool IndexPaneExists() { return Panes().index.control != nullptr; }

int32_t CreateIndexPane(int32_t& x, int32_t& y, int32_t& width, int32_t& height) {
  PlayerState& p = Player();
  PanesState& s = Panes();
  const IndexSettings settings = CurrentIndexSettings();
  if ((settings.layoutBits & p.layoutMode) == 0 && !Engine().indexActive) {
    x = y = width = height = 0;
    return INDEX_NONE;
  }
  // Without a page (or a side) there is nothing to show beside the
  // document: no pane is made for it.
  if (settings.page.empty()) return INDEX_NONE;
  RECT client = {};
  if (p.contentHolder != nullptr) GetClientRect(p.contentHolder, &client);
  const PaneRect r = IndexRectangle(settings.side, settings.size, client.right, client.bottom);
  x = r.x;
  y = r.y;
  width = r.width;
  height = r.height;
  if (settings.side == INDEX_NONE) return INDEX_NONE;
  bool created = false;
  if (s.index.control == nullptr) {
    created = CreatePane(&s.index, "Index", r);
  } else if (!p.indexRepositioning) {
    return NormalSide(settings.side);
  }
  if (s.index.control != nullptr && (created || p.indexRepositioning)) {
    if (p.indexRepositioning) PlacePane(s.index, r);
    s.api.setResizeStyle(RefOf(s.index), kControlRefCom, IndexResizeStyle(settings.side));
    SetPaneVisible(s.index, true);
    Navigate(s.index, settings.page);
  }
  return NormalSide(settings.side);
}

void CreateBrowserPane(const std::string& url) {
  PlayerState& p = Player();
  PanesState& s = Panes();
  if (url.empty() || url == s.spreadsheet || s.creating) return;
  KillThreadTimer(p.slideTimer);
  KillThreadTimer(p.transitionTimer);
  StopPlaybackTick();
  if (p.statusWindow != nullptr) SKSETCTLTEXT(p.statusWindow, "");
  const bool mediaWasOpen = Engine().media != nullptr;
  CloseMedia();
  Sleep(200);
  if (p.displayState != DISPLAY_NORMAL) LeaveZoom();
  if (p.mainWindow != nullptr && !IsWindowVisible(p.mainWindow)) ShowWindow(p.mainWindow, SW_SHOW);
  if (mediaWasOpen && p.videoWindow != nullptr) ShowWindow(p.videoWindow, SW_HIDE);
  if (p.pictureHolder != nullptr && IsWindowVisible(p.pictureHolder)) ShowWindow(p.pictureHolder, SW_HIDE);
  if (p.contentHolder != nullptr) InvalidateRect(p.contentHolder, nullptr, TRUE);

  PaneRect area = ContentClientArea();
  int32_t ix = 0, iy = 0, iw = 0, ih = 0;
  const int32_t side = CreateIndexPane(ix, iy, iw, ih);
  const PaneRect index{ix, iy, iw, ih};
  area = ContentBesideIndex(area, side, index);

  s.creating = true;
  if (s.content.control == nullptr) {
    if (p.mainWindow != nullptr) InvalidateRect(p.mainWindow, nullptr, TRUE);
    if (CreatePane(&s.content, "Content", area)) s.api.setResizeStyle(RefOf(s.content), kControlRefCom, 0x1010);
  }
  if (s.index.control != nullptr) {
    if ((IndexLayoutBits() & LAYOUT_DOCUMENT) != 0 && !Engine().indexActive) {
      SetPaneVisible(s.index, true);
    } else {
      SetPaneVisible(s.index, false);
      area = ContentWithoutIndex(area, side, index);
    }
  }
  if (s.content.control != nullptr) {
    PlacePane(s.content, area);
    SetPaneVisible(s.content, true);
    Navigate(s.content, url);
    if (p.mainWindow != nullptr) InvalidateRect(p.mainWindow, nullptr, TRUE);
    // Another document replaces a spreadsheet on screen: it may be shown
    // again afterwards.
    s.spreadsheet = RememberedSpreadsheet(url);
  }
  s.creating = false;
  if (p.compact) RestoreFromCompact(SWP_SHOWWINDOW);
}

void HideBrowserPanes() {
  PanesState& s = Panes();
  if (IsPaneVisible(s.content)) SetPaneVisible(s.content, false);
  if (IsPaneVisible(s.index)) SetPaneVisible(s.index, false);
  s.spreadsheet.clear();
}

void HidePanesForPicture() {
  PanesState& s = Panes();
  if (IsPaneVisible(s.content)) SetPaneVisible(s.content, false);
  if (IsPaneVisible(s.index) && (IndexLayoutBits() & LAYOUT_PICTURE) == 0) SetPaneVisible(s.index, false);
  s.spreadsheet.clear();
}

void DestroyBrowserPanes() {
  PanesState& s = Panes();
  DestroyPane(&s.content);
  DestroyPane(&s.index);
  s.spreadsheet.clear();
}

void StepContentPane(int32_t direction) {
  CallMember(Panes().content.control, direction < 0 ? L"GoBack" : L"GoForward", nullptr, 0);
}

bool PrintContentPane() {
  if (Panes().content.control == nullptr) return false;
  VARIANT in, out;
  VariantInit(&in);
  VariantInit(&out);
  const bool printed = ExecWb(kOleCmdPrint, kExecPromptUser, &in, &out);
  VariantClear(&out);
  return printed;
}

void BrowserPaneCommand(int32_t id) {
  PlayerState& p = Player();
  IDispatch* content = Panes().content.control;
  switch (id) {
    case 48: case 49: case 50: OpenPageEntry(id); break;
    case 64: CallMember(content, L"Refresh", nullptr, 0); break;
    case 65: if (content != nullptr) StepZoom(+1); break;
    case 66: if (content != nullptr) StepZoom(-1); break;
    case 69: CallMember(content, L"Stop", nullptr, 0); break;
    case 70: suite::boxes::ShowWarningBox(p.texts.entry(T_NOT_FOR_DOCUMENTS)); break;
  }
}

}  // namespace player

// The event callback of both panes (exported, stdcall, as QXCONTENTCALLBACK):
// a page title from the document pane becomes the main window's text.
extern "C" int __stdcall OrbPlayContentCallback(SubscriptionHandle, EventHandle event, int) {
  using namespace player;
  PanesState& s = Panes();
  PlayerState& p = Player();
  if (!s.ready || event == nullptr) return 0;
  IDispatch* sender = s.api.eventSender(event);
  if (sender == nullptr) return 0;
  char sourceName[256] = {};
  s.api.controlName(reinterpret_cast<INT_PTR>(sender), kControlRefCom, sourceName);
  const std::string source = sourceName;
  if (source == "Content" || source == "Index") {
    char eventName[256] = {};
    s.api.eventName(event, eventName, sizeof(eventName));
    if (source == "Content" && std::string(eventName) == "TitleChange" && !p.offScreen && p.mainWindow != nullptr) {
      VARIANT text;
      VariantInit(&text);
      std::string parameter = "Text";
      if (s.api.namedParameter(event, parameter.data(), &text) == 0) {
        SKSETCTLTEXT(p.mainWindow, PageTitleText(p.texts.entry(T_TITLE), VariantText(text)).c_str());
      }
      VariantClear(&text);
    }
  }
  s.api.releaseDispatch(sender);
  return 0;
}

// Wine's own web browser control hosted by the library, as the media
// player hosts it: created from "ProgID:Shell.Explorer.2", its
// BeforeNavigate2 event reaches a subscribed callback, which cancels the
// navigation (Wine has no HTML engine here, so no page may load).  A
// program of its own, so a browser that hangs fails only this test.
#include <gtest/gtest.h>
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "ctlhost20.h"
#include "harness.h"

namespace {

class ComOnThisThread : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string log = program;
    DeleteFileA((log.substr(0, log.rfind('.')) + ".LOG").c_str());
    CoUninitialize();
  }
};
const ::testing::Environment* const g_com = ::testing::AddGlobalTestEnvironment(new ComOnThisThread);

struct Seen {
  std::string name;
  std::string url;
  int synchronous = -1;
  int cancelResult = -1;
};
std::vector<Seen> g_seen;

std::string ValueText(EventHandle event, const char* name) {
  VARIANT value, text;
  VariantInit(&value);
  VariantInit(&text);
  std::string result = "<none>";
  if (QXGetEventNamedParameterValue(event, const_cast<char*>(name), &value) == 0 &&
      SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR))) {
    result.clear();
    for (UINT i = 0; i < SysStringLen(V_BSTR(&text)); ++i) result.push_back(static_cast<char>(V_BSTR(&text)[i]));
  }
  VariantClear(&text);
  VariantClear(&value);
  return result;
}

int WINAPI OnBrowserEvent(SubscriptionHandle, EventHandle event, int) {
  Seen seen;
  char name[64];
  QXGetEventName(event, name, sizeof name);
  seen.name = name;
  if (seen.name == "BeforeNavigate2") {
    seen.url = ValueText(event, "url");
    QXIsEventSynchronous(event, &seen.synchronous);
    VARIANT cancel;
    VariantInit(&cancel);
    V_VT(&cancel) = VT_BOOL;
    V_BOOL(&cancel) = VARIANT_TRUE;
    seen.cancelResult = QXSetEventNamedParameterValue(event, const_cast<char*>("Cancel"), &cancel);
  }
  g_seen.push_back(seen);
  return 0;
}

struct ClassSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ClassSearch*>(data);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindChildOfClass(HWND parent, const char* className) {
  ClassSearch search = {className, nullptr};
  EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(Browser, BeforeNavigate2ArrivesAndCancels) {
  HWND parent = CreateWindowExA(0, "STATIC", "player", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  IDispatch* browser = nullptr;
  ASSERT_EQ(QXCreateControl(parent, const_cast<char*>("Content"), 0, 0, 300, 200,
                            const_cast<char*>("ProgID:Shell.Explorer.2"), 0, &browser),
            0);
  ASSERT_NE(browser, nullptr);
  // The browser's window, made while its client site was set, belongs to
  // the control and is no window item of the container.
  HWND embedding = FindChildOfClass(parent, "Shell Embedding");
  ASSERT_NE(embedding, nullptr);
  // A window item would have subclassed it with the library's procedure.
  HMODULE procedureModule = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(GetWindowLongPtrA(embedding, GWLP_WNDPROC)), &procedureModule);
  EXPECT_NE(procedureModule, GetModuleHandleA("ctlhost20.dll")) << "adopted as a window item";
  HWND controlWindow = nullptr;
  EXPECT_EQ(CTLHOST_DECORATED(QXGetControlWindow)(reinterpret_cast<INT_PTR>(browser), kControlRefCom, &controlWindow), 0);
  EXPECT_EQ(controlWindow, embedding);

  SubscriptionHandle subscription = QXSubscribeEvents(browser, OnBrowserEvent, 1);
  ASSERT_NE(subscription, nullptr);
  IWebBrowser2* web = nullptr;
  ASSERT_EQ(browser->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&web)), S_OK);
  BSTR url = SysAllocString(L"http://orb.invalid/page.html");
  VARIANT none;
  VariantInit(&none);
  web->Navigate(url, &none, &none, &none, &none);
  SysFreeString(url);
  harness::PumpMessagesFor(300);

  std::vector<std::string> names;
  for (const Seen& seen : g_seen) names.push_back(seen.name);
  ASSERT_FALSE(g_seen.empty());
  EXPECT_EQ(g_seen[0].name, "BeforeNavigate2");
  EXPECT_EQ(g_seen[0].url, "http://orb.invalid/page.html");
  EXPECT_EQ(g_seen[0].synchronous, 1);
  EXPECT_EQ(g_seen[0].cancelResult, 0);
  for (const std::string& name : names) {
    EXPECT_NE(name, "NavigateComplete2") << "the cancelled navigation went on";
    EXPECT_NE(name, "DocumentComplete") << "the cancelled navigation went on";
  }
  VARIANT_BOOL busy = VARIANT_TRUE;
  EXPECT_EQ(web->get_Busy(&busy), S_OK);
  EXPECT_EQ(busy, VARIANT_FALSE);
  web->Release();
  EXPECT_EQ(QXUnsubscribe(&subscription), 0);
  EXPECT_EQ(QXDeleteControl(browser), 0);
  DestroyWindow(parent);
}

}  // namespace

// Events and subscriptions under Wine: the test control fires its events
// through its connection point into the library's sink, and the callbacks
// here read (and write back) what arrived through the event exports.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "control_registration.h"
#include "ctlhost20.h"
#include "harness.h"
#include "test_control.h"

namespace {

HWND MakeParent() {
  return CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300, nullptr, nullptr,
                         nullptr, nullptr);
}

HRESULT CallMethod(IDispatch* control, DISPID id, std::vector<VARIANT> arguments, VARIANT* result = nullptr) {
  // Arguments are given first to last; the array holds them last first.
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
  DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  return control->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, nullptr, nullptr);
}

VARIANT Text(const wchar_t* text) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(text);
  return value;
}

VARIANT Number(LONG number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_I4;
  V_I4(&value) = number;
  return value;
}

VARIANT GetProperty(IDispatch* control, DISPID id) {
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
  return result;
}

void Notify(IDispatch* control, const wchar_t* what) {
  VARIANT value = Text(what);
  EXPECT_EQ(CallMethod(control, kTestNotify, {value}), S_OK);
  VariantClear(&value);
}

void FireRequest(IDispatch* control, const wchar_t* text, LONG count) {
  VARIANT first = Text(text);
  EXPECT_EQ(CallMethod(control, kTestFireRequest, {first, Number(count)}), S_OK);
  VariantClear(&first);
}

std::string Narrow(BSTR text) {
  std::string narrow;
  for (UINT i = 0; text != nullptr && i < SysStringLen(text); ++i) narrow.push_back(static_cast<char>(text[i]));
  return narrow;
}

// What a callback saw of one event.
struct Seen {
  SubscriptionHandle subscription = nullptr;
  int user = 0;
  std::string name;
  int nameResult = -1;
  int count = -1;
  std::vector<std::string> parameterNames;
  std::vector<std::string> values;  // each value as text
  int synchronous = -1;
  bool senderIsControl = false;
};

// The callback's script for the next events.
struct Script {
  std::vector<Seen> seen;
  IUnknown* control = nullptr;  // identity of the control expected as sender
  bool keep = false;            // keep the event past the callback
  EventHandle kept = nullptr;
  // Writes done from the callback: (name, value) and their results.
  std::vector<std::pair<std::string, VARIANT>> writes;
  std::vector<int> writeResults;
  bool unsubscribeInside = false;
  SubscriptionHandle* handle = nullptr;
};
Script g_script;

std::string ValueText(EventHandle event, int index) {
  VARIANT value;
  VariantInit(&value);
  if (QXGetEventParameterValue(event, index, &value) != 0) return "<failed>";
  VARIANT text;
  VariantInit(&text);
  std::string result = "<no text>";
  if (SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR))) result = Narrow(V_BSTR(&text));
  VariantClear(&text);
  VariantClear(&value);
  return result;
}

int WINAPI RecordEvent(SubscriptionHandle subscription, EventHandle event, int user) {
  Seen seen;
  seen.subscription = subscription;
  seen.user = user;
  char buffer[64];
  seen.nameResult = QXGetEventName(event, buffer, sizeof buffer);
  seen.name = buffer;
  seen.count = QXGetEventParameterNumber(event);
  for (int i = 0; i < seen.count; ++i) {
    QXGetEventParameterName(event, i, buffer, sizeof buffer);
    seen.parameterNames.push_back(buffer);
    seen.values.push_back(ValueText(event, i));
  }
  QXIsEventSynchronous(event, &seen.synchronous);
  if (IDispatch* sender = QXGetEventSenderDispatch(event)) {
    IUnknown* identity = nullptr;
    sender->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    seen.senderIsControl = identity != nullptr && identity == g_script.control;
    if (identity != nullptr) identity->Release();
    sender->Release();
  }
  for (auto& write : g_script.writes) {
    g_script.writeResults.push_back(QXSetEventNamedParameterValue(event, write.first.data(), &write.second));
  }
  if (g_script.keep) {
    EXPECT_EQ(CTLHOST_DECORATED(QXSetEventReleaseLater)(event, 1), 0);
    g_script.kept = event;
  }
  if (g_script.unsubscribeInside) {
    EXPECT_EQ(QXUnsubscribe(g_script.handle), 0);
  }
  g_script.seen.push_back(seen);
  return 0;
}

class Events : public ::testing::Test {
 protected:
  void SetUp() override {
    g_script = Script{};
    parent = MakeParent();
    ASSERT_EQ(QXCreateControl(parent, const_cast<char*>("Events"), 10, 10, 100, 80,
                              const_cast<char*>("PROGID:OrbTest.Control"), 0, &control),
              0);
    control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    g_script.control = identity;
  }
  void TearDown() override {
    if (subscription != nullptr) QXUnsubscribe(&subscription);
    for (auto& write : g_script.writes) VariantClear(&write.second);
    identity->Release();
    EXPECT_EQ(QXDeleteControl(control), 0);
    DestroyWindow(parent);
  }

  HWND parent = nullptr;
  IDispatch* control = nullptr;
  IUnknown* identity = nullptr;
  SubscriptionHandle subscription = nullptr;
};

TEST_F(Events, AnInEventArrivesWithItsNamesValuesAndSender) {
  subscription = QXSubscribeEvents(control, RecordEvent, 5);
  ASSERT_NE(subscription, nullptr);
  Notify(control, L"hello");
  ASSERT_EQ(g_script.seen.size(), 1u);
  const Seen& seen = g_script.seen[0];
  EXPECT_EQ(seen.subscription, subscription);
  EXPECT_EQ(seen.user, 5);
  EXPECT_EQ(seen.nameResult, 0);
  EXPECT_EQ(seen.name, "Changed");
  EXPECT_EQ(seen.count, 1);
  EXPECT_EQ(seen.parameterNames, std::vector<std::string>({"What"}));
  EXPECT_EQ(seen.values, std::vector<std::string>({"hello"}));
  EXPECT_EQ(seen.synchronous, 0);
  EXPECT_TRUE(seen.senderIsControl);
}

// Reads and writes an in-only event allows, from inside its callback.
struct InEventReads {
  int smallName, fiveName, namedLower, namedEx, exValue, badIndex, badName, setResult;
  std::string small, five, lowerValue, exText;
};
InEventReads g_reads;

int WINAPI ReadInEvent(SubscriptionHandle, EventHandle event, int) {
  char small[1] = {'#'};
  g_reads.smallName = QXGetEventName(event, small, 1);
  g_reads.small = std::string(small, small[0] == '\0' ? 0 : 1);
  char five[5];
  g_reads.fiveName = QXGetEventName(event, five, 5);
  g_reads.five = five;
  VARIANT value;
  VariantInit(&value);
  g_reads.namedLower = QXGetEventNamedParameterValue(event, const_cast<char*>("what"), &value);
  g_reads.lowerValue = V_VT(&value) == VT_BSTR ? Narrow(V_BSTR(&value)) : "<none>";
  VariantClear(&value);
  g_reads.badName = QXGetEventNamedParameterValue(event, const_cast<char*>("Changed"), &value);
  g_reads.badIndex = QXGetEventParameterValue(event, 1, &value);
  VARIANT* held = nullptr;
  g_reads.exValue = CTLHOST_DECORATED(QXGetEventParameterValueEx)(event, 0, &held);
  VARIANT* named = nullptr;
  g_reads.namedEx = CTLHOST_DECORATED(QXGetEventNamedParameterValueEx)(event, const_cast<char*>("WHAT"), &named);
  g_reads.exText = held != nullptr && named != nullptr && held != named && V_VT(held) == VT_BSTR ? Narrow(V_BSTR(held))
                                                                                                : "<none>";
  VARIANT number = Number(3);
  g_reads.setResult = QXSetEventParameterValue(event, 0, &number);
  return 0;
}

TEST_F(Events, AccessorsOfAnInEvent) {
  subscription = QXSubscribeEvents(control, ReadInEvent, 1);
  ASSERT_NE(subscription, nullptr);
  g_reads = {};
  Notify(control, L"payload");
  EXPECT_EQ(g_reads.smallName, 0);
  EXPECT_EQ(g_reads.small, "");
  EXPECT_EQ(g_reads.fiveName, 0);
  EXPECT_EQ(g_reads.five, "Chan");
  EXPECT_EQ(g_reads.namedLower, 0);
  EXPECT_EQ(g_reads.lowerValue, "payload");
  EXPECT_EQ(g_reads.badName, 2);
  EXPECT_EQ(g_reads.badIndex, 2);
  EXPECT_EQ(g_reads.exValue, 0);
  EXPECT_EQ(g_reads.namedEx, 0);
  EXPECT_EQ(g_reads.exText, "payload");
  // Its parameter is a copy: nothing goes back to the control.
  EXPECT_EQ(g_reads.setResult, 2);
}

TEST_F(Events, InOutParametersAreWrittenThroughToTheControl) {
  subscription = QXSubscribeEvents(control, RecordEvent, 1);
  ASSERT_NE(subscription, nullptr);
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, VARIANT>> writes;
    std::vector<int> results;
    LONG count;
    bool cancel;
  } cases[] = {
      {"digits in text become the number", {{"count", Text(L"42")}}, {0}, 42, false},
      {"letters are refused and leave it", {{"Count", Text(L"ab")}}, {2}, 9, false},
      {"a bool cancels", {{"CANCEL", Number(-1)}, {"Count", Number(7)}}, {0, 0}, 7, true},
      {"no such parameter", {{"Counts", Number(1)}}, {2}, 9, false},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_script.seen.clear();
    g_script.writeResults.clear();
    for (auto& write : g_script.writes) VariantClear(&write.second);
    g_script.writes = c.writes;
    FireRequest(control, L"go", 9);
    ASSERT_EQ(g_script.seen.size(), 1u);
    const Seen& seen = g_script.seen[0];
    EXPECT_EQ(seen.name, "Request");
    EXPECT_EQ(seen.parameterNames, std::vector<std::string>({"Text", "Count", "Cancel"}));
    EXPECT_EQ(seen.values, std::vector<std::string>({"go", "9", "0"}));
    EXPECT_EQ(seen.synchronous, 1);
    EXPECT_EQ(g_script.writeResults, c.results);
    VARIANT count = GetProperty(control, kTestLastCount), cancel = GetProperty(control, kTestLastCancel);
    EXPECT_EQ(V_I4(&count), c.count);
    EXPECT_EQ(V_BOOL(&cancel) != VARIANT_FALSE, c.cancel);
  }
}

TEST_F(Events, AKeptEventOutlivesItsCallbackWithCopies) {
  subscription = QXSubscribeEvents(control, RecordEvent, 1);
  ASSERT_NE(subscription, nullptr);
  g_script.keep = true;
  g_script.writes = {{"Count", Number(11)}};
  FireRequest(control, L"later", 3);
  ASSERT_NE(g_script.kept, nullptr);
  EventHandle kept = g_script.kept;
  // After the control's call: its arguments are gone, the copies are read.
  EXPECT_EQ(ValueText(kept, 0), "later");
  EXPECT_EQ(ValueText(kept, 1), "11");
  EXPECT_EQ(ValueText(kept, 2), "0");
  char name[32];
  EXPECT_EQ(QXGetEventName(kept, name, sizeof name), 0);
  EXPECT_STREQ(name, "Request");
  IDispatch* sender = QXGetEventSenderDispatch(kept);
  ASSERT_NE(sender, nullptr);
  IUnknown* senderIdentity = nullptr;
  sender->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&senderIdentity));
  EXPECT_EQ(senderIdentity, identity);
  senderIdentity->Release();
  sender->Release();
  // Nothing can go back to a control whose call has ended.
  VARIANT number = Number(5);
  EXPECT_EQ(QXSetEventParameterValue(kept, 1, &number), 2);
  VARIANT last = GetProperty(control, kTestLastCount);
  EXPECT_EQ(V_I4(&last), 11);
  EXPECT_EQ(CTLHOST_DECORATED(QXDeleteEvent)(kept), 0);
  // The subscription lives on after its kept event went.
  g_script.keep = false;
  g_script.seen.clear();
  Notify(control, L"again");
  EXPECT_EQ(g_script.seen.size(), 1u);
}

TEST_F(Events, AnUndeclaredEventArrivesWithoutNames) {
  subscription = QXSubscribeEvents(control, RecordEvent, 1);
  ASSERT_NE(subscription, nullptr);
  EXPECT_EQ(CallMethod(control, kTestFireUndeclared, {}), S_OK);
  ASSERT_EQ(g_script.seen.size(), 1u);
  EXPECT_EQ(g_script.seen[0].nameResult, 2);
  EXPECT_EQ(g_script.seen[0].name, "");
  EXPECT_EQ(g_script.seen[0].count, 0);
  EXPECT_FALSE(g_script.seen[0].senderIsControl);
}

TEST_F(Events, SubscriptionsEndAndUserZeroIsSilent) {
  SubscriptionHandle silent = QXSubscribeEvents(control, RecordEvent, 0);
  ASSERT_NE(silent, nullptr);
  Notify(control, L"unheard");
  EXPECT_TRUE(g_script.seen.empty());
  EXPECT_EQ(QXUnsubscribe(&silent), 0);
  EXPECT_EQ(silent, nullptr);
  EXPECT_EQ(QXUnsubscribe(&silent), 2);
  EXPECT_EQ(QXUnsubscribe(nullptr), 1);

  // Two subscriptions hear one event each; ending one leaves the other.
  SubscriptionHandle first = QXSubscribeEvents(control, RecordEvent, 1);
  SubscriptionHandle second = QXSubscribeEventsEx(control, const_cast<char*>("6B1F0E2D-3C4D-4E5F-8A9B-0C1D2E3F4A5B"),
                                                  RecordEvent, 2);
  ASSERT_TRUE(first && second);
  Notify(control, L"both");
  EXPECT_EQ(g_script.seen.size(), 2u);
  EXPECT_EQ(QXUnsubscribe(&first), 0);
  g_script.seen.clear();
  Notify(control, L"one");
  ASSERT_EQ(g_script.seen.size(), 1u);
  EXPECT_EQ(g_script.seen[0].user, 2);

  // Ending a subscription from its own callback.
  g_script.unsubscribeInside = true;
  g_script.handle = &second;
  g_script.seen.clear();
  Notify(control, L"last");
  EXPECT_EQ(g_script.seen.size(), 1u);
  EXPECT_EQ(second, nullptr);
  g_script.seen.clear();
  Notify(control, L"after");
  EXPECT_TRUE(g_script.seen.empty());
}

TEST_F(Events, SubscribingNeedsAnEventSource) {
  EXPECT_EQ(QXSubscribeEvents(nullptr, RecordEvent, 1), nullptr);
  // A source that is not the control's falls back to its default source.
  subscription = QXSubscribeEventsEx(control, const_cast<char*>("{00000000-0000-0000-0000-00000000ABCD}"),
                                     RecordEvent, 1);
  ASSERT_NE(subscription, nullptr);
  Notify(control, L"fallback");
  EXPECT_EQ(g_script.seen.size(), 1u);
  // An object with no connection points cannot be subscribed to: the
  // control's own client site, for one.
  IOleObject* object = nullptr;
  ASSERT_EQ(control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
  IOleClientSite* clientSite = nullptr;
  ASSERT_EQ(object->GetClientSite(&clientSite), S_OK);
  IDispatch* ambient = nullptr;
  ASSERT_EQ(clientSite->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient)), S_OK);
  EXPECT_EQ(QXSubscribeEvents(ambient, RecordEvent, 1), nullptr);
  ambient->Release();
  clientSite->Release();
  object->Release();
}

TEST_F(Events, AsynchronousFlagOnlyChangesTheAnswer) {
  subscription = QXSubscribeEvents(control, RecordEvent, 1);
  ASSERT_NE(subscription, nullptr);
  EXPECT_EQ(CTLHOST_DECORATED(QXActivateAsynchronousEvents)(identity, 0), 0);
  Notify(control, L"now");
  ASSERT_EQ(g_script.seen.size(), 1u);
  EXPECT_EQ(g_script.seen[0].synchronous, 1);
  EXPECT_EQ(CTLHOST_DECORATED(QXActivateAsynchronousEvents)(identity, 1), 0);
  g_script.seen.clear();
  Notify(control, L"now");
  EXPECT_EQ(g_script.seen[0].synchronous, 0);
  int out = 7;
  EXPECT_EQ(QXIsEventSynchronous(nullptr, &out), 1);
  EXPECT_EQ(out, 0);
}

TEST(EventHandles, NullHandlesAnswerTheirFailureValues) {
  char buffer[8] = "x";
  VARIANT value;
  VariantInit(&value);
  VARIANT* held = reinterpret_cast<VARIANT*>(1);
  EXPECT_EQ(QXGetEventName(nullptr, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(QXGetEventParameterNumber(nullptr), 0);
  EXPECT_EQ(QXGetEventParameterName(nullptr, 0, buffer, sizeof buffer), 1);
  EXPECT_EQ(QXGetEventParameterValue(nullptr, 0, &value), 1);
  EXPECT_EQ(CTLHOST_DECORATED(QXGetEventParameterValueEx)(nullptr, 0, &held), 1);
  EXPECT_EQ(held, nullptr);
  EXPECT_EQ(QXGetEventNamedParameterValue(nullptr, buffer, &value), 1);
  EXPECT_EQ(QXSetEventParameterValue(nullptr, 0, &value), 1);
  EXPECT_EQ(QXSetEventNamedParameterValue(nullptr, buffer, &value), 1);
  EXPECT_EQ(QXGetEventSenderDispatch(nullptr), nullptr);
  EXPECT_EQ(CTLHOST_DECORATED(QXSetEventReleaseLater)(nullptr, 1), 1);
  EXPECT_EQ(CTLHOST_DECORATED(QXDeleteEvent)(nullptr), 1);
  EXPECT_EQ(CTLHOST_DECORATED(QXDuplicateEvent)(nullptr), 0);
}

// Property notifications: the control reports each property it changes.
std::vector<std::pair<std::string, int>> g_notified;

int WINAPI RecordNotification(SubscriptionHandle, char* name, int kind, int) {
  g_notified.emplace_back(name != nullptr ? name : "<null>", kind);
  return 0;
}

TEST_F(Events, PropertyChangesAreNotifiedByName) {
  subscription = QXSubscribeNotifications(control, RecordNotification, 1);
  ASSERT_NE(subscription, nullptr);
  g_notified.clear();
  VARIANT value = Number(12);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, &named, 1, 1};
  ASSERT_EQ(control->Invoke(kTestNumber, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr), S_OK);
  VARIANT text = Text(L"t");
  params.rgvarg = &text;
  ASSERT_EQ(control->Invoke(kTestText, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr), S_OK);
  VariantClear(&text);
  EXPECT_EQ(g_notified, (std::vector<std::pair<std::string, int>>{{"Number", 1}, {"Text", 1}}));
  // A notification subscription hears no events.
  g_script.seen.clear();
  Notify(control, L"quiet");
  EXPECT_TRUE(g_script.seen.empty());
}

}  // namespace

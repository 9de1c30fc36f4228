// The test control's type library, built in memory with ICreateTypeLib2
// the first time a client asks for type information: the control's
// dispinterface, its event dispinterface (Changed with an in parameter,
// Request with in/out ones) and the coclass that names the event interface
// as its default source.
#include "type_library.h"

#include <oleauto.h>

#include "test_control.h"

namespace {

ITypeLib* g_library = nullptr;

struct Parameter {
  VARTYPE type;     // VT_EMPTY: no parameter
  bool byReference;  // [in, out] and a pointer to `type`
  const wchar_t* name;
};

struct Member {
  MEMBERID id;
  INVOKEKIND kind;
  VARTYPE result;  // VT_EMPTY: none
  const wchar_t* name;
  Parameter parameters[3];
};

HRESULT AddMembers(ICreateTypeInfo* info, const Member* members, int count) {
  for (int i = 0; i < count; ++i) {
    const Member& member = members[i];
    ELEMDESC parameters[3] = {};
    TYPEDESC pointed[3] = {};
    LPOLESTR names[4] = {const_cast<LPOLESTR>(member.name)};
    UINT parameterCount = 0;
    for (const Parameter& parameter : member.parameters) {
      if (parameter.type == VT_EMPTY) break;
      ELEMDESC& described = parameters[parameterCount];
      if (parameter.byReference) {
        pointed[parameterCount].vt = parameter.type;
        described.tdesc.vt = VT_PTR;
        described.tdesc.lptdesc = &pointed[parameterCount];
        described.paramdesc.wParamFlags = PARAMFLAG_FIN | PARAMFLAG_FOUT;
      } else {
        described.tdesc.vt = parameter.type;
        described.paramdesc.wParamFlags = PARAMFLAG_FIN;
      }
      names[parameterCount + 1] = const_cast<LPOLESTR>(parameter.name);
      ++parameterCount;
    }
    FUNCDESC function = {};
    function.memid = member.id;
    function.funckind = FUNC_DISPATCH;
    function.invkind = member.kind;
    function.callconv = CC_STDCALL;
    function.cParams = static_cast<SHORT>(parameterCount);
    function.lprgelemdescParam = parameterCount == 0 ? nullptr : parameters;
    function.elemdescFunc.tdesc.vt = member.result == VT_EMPTY ? static_cast<VARTYPE>(VT_VOID) : member.result;
    HRESULT hr = info->AddFuncDesc(i, &function);
    if (FAILED(hr)) return hr;
    // A property put's value has no name of its own.
    const UINT nameCount = member.kind == INVOKE_PROPERTYPUT ? 1 : parameterCount + 1;
    hr = info->SetFuncAndParamNames(i, names, nameCount);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT DeriveFromDispatch(ICreateTypeInfo* info, ITypeInfo* dispatchInfo) {
  HREFTYPE reference = 0;
  HRESULT hr = info->AddRefTypeInfo(dispatchInfo, &reference);
  if (SUCCEEDED(hr)) hr = info->AddImplType(0, reference);
  return hr;
}

HRESULT Build(ITypeLib** out) {
  ITypeLib* standard = nullptr;
  HRESULT hr = LoadTypeLib(L"stdole2.tlb", &standard);
  if (FAILED(hr)) return hr;
  ITypeInfo* dispatchInfo = nullptr;
  hr = standard->GetTypeInfoOfGuid(IID_IDispatch, &dispatchInfo);
  standard->Release();
  if (FAILED(hr)) return hr;

  wchar_t path[MAX_PATH];
  GetTempPathW(MAX_PATH, path);
  lstrcatW(path, L"orbtestctl-unsaved.tlb");  // never saved: the library lives in memory
  ICreateTypeLib2* library = nullptr;
  hr = CreateTypeLib2(SYS_WIN32, path, &library);
  if (SUCCEEDED(hr)) hr = library->SetGuid(LIBID_OrbTestControl);
  if (SUCCEEDED(hr)) hr = library->SetName(const_cast<LPOLESTR>(L"OrbTestControlLib"));
  if (SUCCEEDED(hr)) hr = library->SetVersion(1, 0);
  if (SUCCEEDED(hr)) hr = library->SetLcid(LOCALE_NEUTRAL);

  ICreateTypeInfo* control = nullptr;
  ICreateTypeInfo* events = nullptr;
  ICreateTypeInfo* coclass = nullptr;
  if (SUCCEEDED(hr)) hr = library->CreateTypeInfo(const_cast<LPOLESTR>(L"OrbTestControl"), TKIND_DISPATCH, &control);
  if (SUCCEEDED(hr)) hr = control->SetGuid(DIID_OrbTestControl);
  if (SUCCEEDED(hr)) hr = DeriveFromDispatch(control, dispatchInfo);
  if (SUCCEEDED(hr)) {
    constexpr Parameter kNone = {VT_EMPTY, false, nullptr};
    const Member members[] = {
        {kTestText, INVOKE_PROPERTYGET, VT_BSTR, L"Text", {kNone}},
        {kTestText, INVOKE_PROPERTYPUT, VT_EMPTY, L"Text", {{VT_BSTR, false, L"Value"}}},
        {kTestCaption, INVOKE_PROPERTYGET, VT_BSTR, L"Caption", {kNone}},
        {kTestCaption, INVOKE_PROPERTYPUT, VT_EMPTY, L"Caption", {{VT_BSTR, false, L"Value"}}},
        {kTestNumber, INVOKE_PROPERTYGET, VT_I4, L"Number", {kNone}},
        {kTestNumber, INVOKE_PROPERTYPUT, VT_EMPTY, L"Number", {{VT_I4, false, L"Value"}}},
        {kTestWindow, INVOKE_PROPERTYGET, VT_I4, L"hWnd", {kNone}},
        {kTestRefreshCount, INVOKE_PROPERTYGET, VT_I4, L"RefreshCount", {kNone}},
        {kTestAmbientChanges, INVOKE_PROPERTYGET, VT_I4, L"AmbientChanges", {kNone}},
        {kTestPropertyVerbs, INVOKE_PROPERTYGET, VT_I4, L"PropertyVerbs", {kNone}},
        {kTestRefresh, INVOKE_FUNC, VT_EMPTY, L"Refresh", {kNone}},
        {kTestNotify, INVOKE_FUNC, VT_EMPTY, L"Notify", {{VT_BSTR, false, L"What"}}},
        {kTestFireRequest, INVOKE_FUNC, VT_EMPTY, L"FireRequest", {{VT_BSTR, false, L"Text"}, {VT_I4, false, L"Count"}}},
        {kTestLastCount, INVOKE_PROPERTYGET, VT_I4, L"LastCount", {kNone}},
        {kTestLastCancel, INVOKE_PROPERTYGET, VT_BOOL, L"LastCancel", {kNone}},
        {kTestFireUndeclared, INVOKE_FUNC, VT_EMPTY, L"FireUndeclared", {kNone}},
        {kTestAmbient, INVOKE_FUNC, VT_VARIANT, L"Ambient", {{VT_I4, false, L"Dispid"}}},
        {kTestClicks, INVOKE_PROPERTYGET, VT_I4, L"Clicks", {kNone}},
        {kTestWindowless, INVOKE_PROPERTYGET, VT_BOOL, L"Windowless", {kNone}},
        {kTestFailActivate, INVOKE_PROPERTYGET, VT_BOOL, L"FailActivate", {kNone}},
        {kTestKeys, INVOKE_PROPERTYGET, VT_I4, L"Keys", {kNone}},
        {kTestSiteCalls, INVOKE_PROPERTYGET, VT_BSTR, L"SiteCalls", {kNone}},
        {kTestInvisible, INVOKE_PROPERTYGET, VT_BOOL, L"Invisible", {kNone}},
        {kTestNavigate, INVOKE_FUNC, VT_EMPTY, L"Navigate", {{VT_BSTR, false, L"URL"}}},
        {kTestNavigations, INVOKE_PROPERTYGET, VT_I4, L"Navigations", {kNone}},
    };
    hr = AddMembers(control, members, ARRAYSIZE(members));
  }
  if (SUCCEEDED(hr)) hr = library->CreateTypeInfo(const_cast<LPOLESTR>(L"OrbTestControlEvents"), TKIND_DISPATCH, &events);
  if (SUCCEEDED(hr)) hr = events->SetGuid(DIID_OrbTestControlEvents);
  if (SUCCEEDED(hr)) hr = DeriveFromDispatch(events, dispatchInfo);
  if (SUCCEEDED(hr)) {
    const Member members[] = {
        {kTestEventChanged, INVOKE_FUNC, VT_EMPTY, L"Changed", {{VT_BSTR, false, L"What"}}},
        {kTestEventRequest, INVOKE_FUNC, VT_EMPTY, L"Request",
         {{VT_BSTR, false, L"Text"}, {VT_I4, true, L"Count"}, {VT_BOOL, true, L"Cancel"}}},
        {kTestEventTitleChange, INVOKE_FUNC, VT_EMPTY, L"TitleChange", {{VT_BSTR, false, L"Text"}}},
    };
    hr = AddMembers(events, members, ARRAYSIZE(members));
  }
  if (SUCCEEDED(hr)) hr = library->CreateTypeInfo(const_cast<LPOLESTR>(L"OrbTestControlClass"), TKIND_COCLASS, &coclass);
  if (SUCCEEDED(hr)) hr = coclass->SetGuid(CLSID_OrbTestControl);
  ITypeInfo* controlInfo = nullptr;
  ITypeInfo* eventsInfo = nullptr;
  if (SUCCEEDED(hr)) hr = control->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&controlInfo));
  if (SUCCEEDED(hr)) hr = events->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&eventsInfo));
  HREFTYPE controlRef = 0, eventsRef = 0;
  if (SUCCEEDED(hr)) hr = coclass->AddRefTypeInfo(controlInfo, &controlRef);
  if (SUCCEEDED(hr)) hr = coclass->AddImplType(0, controlRef);
  if (SUCCEEDED(hr)) hr = coclass->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT);
  if (SUCCEEDED(hr)) hr = coclass->AddRefTypeInfo(eventsInfo, &eventsRef);
  if (SUCCEEDED(hr)) hr = coclass->AddImplType(1, eventsRef);
  if (SUCCEEDED(hr)) hr = coclass->SetImplTypeFlags(1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
  if (SUCCEEDED(hr)) hr = control->LayOut();
  if (SUCCEEDED(hr)) hr = events->LayOut();
  if (SUCCEEDED(hr)) hr = coclass->LayOut();
  if (SUCCEEDED(hr)) hr = library->QueryInterface(IID_ITypeLib, reinterpret_cast<void**>(out));
  if (controlInfo) controlInfo->Release();
  if (eventsInfo) eventsInfo->Release();
  if (coclass) coclass->Release();
  if (events) events->Release();
  if (control) control->Release();
  if (library) library->Release();
  dispatchInfo->Release();
  return hr;
}

}  // namespace

HRESULT GetTestTypeInfo(REFGUID guid, ITypeInfo** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (g_library == nullptr) {
    HRESULT hr = Build(&g_library);
    if (FAILED(hr)) {
      g_library = nullptr;
      return hr;
    }
  }
  return g_library->GetTypeInfoOfGuid(guid, out);
}

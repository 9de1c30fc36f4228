// The test control's type library, built in memory with ICreateTypeLib2
// the first time a client asks for type information: the control's
// dispinterface, its event dispinterface and the coclass that names the
// event interface as its default source.
#include "type_library.h"

#include <oleauto.h>

#include "test_control.h"

namespace {

ITypeLib* g_library = nullptr;

struct Member {
  MEMBERID id;
  INVOKEKIND kind;
  VARTYPE result;  // VT_EMPTY: none
  VARTYPE parameter;  // VT_EMPTY: none
  const wchar_t* name;
  const wchar_t* parameterName;
};

HRESULT AddMembers(ICreateTypeInfo* info, const Member* members, int count) {
  for (int i = 0; i < count; ++i) {
    const Member& member = members[i];
    ELEMDESC parameter = {};
    parameter.tdesc.vt = member.parameter;
    parameter.paramdesc.wParamFlags = PARAMFLAG_FIN;
    FUNCDESC function = {};
    function.memid = member.id;
    function.funckind = FUNC_DISPATCH;
    function.invkind = member.kind;
    function.callconv = CC_STDCALL;
    function.cParams = member.parameter == VT_EMPTY ? 0 : 1;
    function.lprgelemdescParam = member.parameter == VT_EMPTY ? nullptr : &parameter;
    function.elemdescFunc.tdesc.vt = member.result == VT_EMPTY ? VT_VOID : member.result;
    HRESULT hr = info->AddFuncDesc(i, &function);
    if (FAILED(hr)) return hr;
    // A property put's value has no name of its own.
    LPOLESTR names[2] = {const_cast<LPOLESTR>(member.name), const_cast<LPOLESTR>(member.parameterName)};
    const UINT nameCount = (member.parameter != VT_EMPTY && member.kind != INVOKE_PROPERTYPUT) ? 2 : 1;
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
    const Member members[] = {
        {kTestText, INVOKE_PROPERTYGET, VT_BSTR, VT_EMPTY, L"Text", nullptr},
        {kTestText, INVOKE_PROPERTYPUT, VT_EMPTY, VT_BSTR, L"Text", nullptr},
        {kTestCaption, INVOKE_PROPERTYGET, VT_BSTR, VT_EMPTY, L"Caption", nullptr},
        {kTestCaption, INVOKE_PROPERTYPUT, VT_EMPTY, VT_BSTR, L"Caption", nullptr},
        {kTestNumber, INVOKE_PROPERTYGET, VT_I4, VT_EMPTY, L"Number", nullptr},
        {kTestNumber, INVOKE_PROPERTYPUT, VT_EMPTY, VT_I4, L"Number", nullptr},
        {kTestWindow, INVOKE_PROPERTYGET, VT_I4, VT_EMPTY, L"hWnd", nullptr},
        {kTestRefreshCount, INVOKE_PROPERTYGET, VT_I4, VT_EMPTY, L"RefreshCount", nullptr},
        {kTestAmbientChanges, INVOKE_PROPERTYGET, VT_I4, VT_EMPTY, L"AmbientChanges", nullptr},
        {kTestPropertyVerbs, INVOKE_PROPERTYGET, VT_I4, VT_EMPTY, L"PropertyVerbs", nullptr},
        {kTestRefresh, INVOKE_FUNC, VT_EMPTY, VT_EMPTY, L"Refresh", nullptr},
        {kTestNotify, INVOKE_FUNC, VT_EMPTY, VT_BSTR, L"Notify", L"What"},
    };
    hr = AddMembers(control, members, ARRAYSIZE(members));
  }
  if (SUCCEEDED(hr)) hr = library->CreateTypeInfo(const_cast<LPOLESTR>(L"OrbTestControlEvents"), TKIND_DISPATCH, &events);
  if (SUCCEEDED(hr)) hr = events->SetGuid(DIID_OrbTestControlEvents);
  if (SUCCEEDED(hr)) hr = DeriveFromDispatch(events, dispatchInfo);
  if (SUCCEEDED(hr)) {
    const Member members[] = {{kTestEventChanged, INVOKE_FUNC, VT_EMPTY, VT_BSTR, L"Changed", L"What"}};
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

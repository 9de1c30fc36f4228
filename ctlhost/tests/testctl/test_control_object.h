// The test control's object and its connection points (test_control.cpp);
// the class factory and registration are in server.cpp.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>

#include <string>

#include "test_control.h"

extern LONG g_objectCount;

class TestControl;

// One connection point: up to kSinks sinks of one interface.
class ConnectionPoint : public IConnectionPoint {
 public:
  ConnectionPoint(IUnknown* owner, REFIID iid) : owner_(owner), iid_(iid) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** out) override {
    if (out != nullptr) *out = nullptr;
    return E_NOTIMPL;
  }
  template <typename Call>
  void ForEach(Call call) {
    for (IUnknown* sink : sinks_) {
      if (sink != nullptr) call(sink);
    }
  }
  void ReleaseAll();

 private:
  static constexpr size_t kSinks = 8;
  IUnknown* owner_;
  IID iid_;
  IUnknown* sinks_[kSinks] = {};
};

class TestControl final : public IDispatch,
                    public IOleObject,
                    public IOleInPlaceObjectWindowless,
                    public IOleInPlaceActiveObject,
                    public IOleControl,
                    public IPersistStreamInit,
                    public IPersistStream,
                    public IPersistPropertyBag,
                    public IConnectionPointContainer,
                    public IProvideClassInfo,
                    public IViewObjectEx {
 public:
  explicit TestControl(HINSTANCE instance);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** out) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override;
  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** out) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* id) override;
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  // IViewObject, IViewObject2, IViewObjectEx: drawn while windowless
  STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
  STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
  STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
  STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
  STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;
  STDMETHODIMP GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
  STDMETHODIMP GetViewStatus(DWORD* status) override;
  STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG, DWORD* result) override;
  STDMETHODIMP QueryHitRect(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnWindowMessage(UINT message, WPARAM, LPARAM, LRESULT* result) override;
  STDMETHODIMP GetDropTarget(IDropTarget** out) override {
    if (out != nullptr) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG*) override { return S_OK; }
  STDMETHODIMP OnAmbientPropertyChange(DISPID) override;
  STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }
  // IPersist, IPersistStreamInit, IPersistStream, IPersistPropertyBag
  STDMETHODIMP GetClassID(CLSID* id) override;
  STDMETHODIMP IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
  STDMETHODIMP Load(IStream* stream) override;
  STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override;
  STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
  STDMETHODIMP Save(IPropertyBag* bag, BOOL, BOOL) override;
  // IConnectionPointContainer, IProvideClassInfo
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;
  STDMETHODIMP GetClassInfo(ITypeInfo** out) override;

 private:
  ~TestControl();
  HRESULT PutProperty(DISPID id, VARIANT* value);
  HRESULT ActivateInPlace(bool uiActivate);
  HRESULT FireRequest(DISPPARAMS* params);
  HRESULT Navigate(DISPPARAMS* params);
  HRESULT ReadAmbient(DISPPARAMS* params, VARIANT* result);
  void DestroyControlWindow();
  void NoteSiteCall(const wchar_t* call);

  LONG references_ = 0;
  HINSTANCE instance_;
  std::wstring text_, caption_;
  LONG number_ = 0;
  LONG refreshCount_ = 0, ambientChanges_ = 0, propertyVerbs_ = 0;
  bool dirty_ = false;
  bool uiActive_ = false;
  IOleClientSite* site_ = nullptr;
  IAdviseSink* adviseSink_ = nullptr;
  IOleInPlaceFrame* frame_ = nullptr;
  HWND window_ = nullptr;
  LONG navigations_ = 0;
  bool windowless_ = false;        // asked for (property Windowless)
  bool windowlessActive_ = false;  // active without a window
  bool failActivate_ = false;
  bool invisible_ = false;
  RECT rect_ = {};
  LONG clicks_ = 0, keys_ = 0;
  LONG lastCount_ = 0;
  bool lastCancel_ = false;
  std::wstring siteCalls_;
  ConnectionPoint events_;
  ConnectionPoint notifications_;
};

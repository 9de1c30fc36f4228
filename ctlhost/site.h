// The client site of one control item: the container's side of the
// control's OLE embedding.  It attaches and detaches the control (client
// site, initial properties from the control spec string through a
// property bag, view advise), drives its activation, keeps its rectangle,
// and answers the control as its client site, in-place site, control site,
// advise sink, ambient-property dispatch, property notification sink and
// container.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>

namespace ctlhost {

class ControlItem;

class Site final : public IOleClientSite,
             public IOleInPlaceSiteWindowless,
             public IOleControlSite,
             public IAdviseSink,
             public IDispatch,
             public IPropertyNotifySink,
             public IOleContainer {
 public:
  explicit Site(ControlItem* owner);

  enum StateBits { kAttached = 1, kInPlaceActive = 2, kUIActive = 4 };

  // 0 ok; 1-3 trouble detaching the old control; 4 no IOleObject; 5
  // GetMiscStatus failed; 7 Run failed; 8 no client site; 9 SetClientSite
  // failed.
  int SetObject(IUnknown* control, const char* properties);
  int OpenPropertyPage();
  int InPlaceActivate();
  int UIActivate();
  int UIDeactivate();
  int InPlaceDeactivate();
  // 0; 1 null rectangle; 2 the control refused it.
  int SetObjectRects(const RECT* rect, bool apply);
  // 0; 1 null; 2 no owner.
  int GetRect(RECT* rect);
  void DetachOwner() { owner_ = nullptr; }
  IUnknown* control() const { return control_; }
  DWORD state() const { return state_; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_FAIL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override;
  STDMETHODIMP GetContainer(IOleContainer** out) override;
  STDMETHODIMP ShowObject() override;
  STDMETHODIMP OnShowWindow(BOOL) override { return E_FAIL; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_FAIL; }
  // IOleWindow / IOleInPlaceSite / Ex / Windowless
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override;
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override;
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override;
  STDMETHODIMP OnInPlaceDeactivate() override;
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT rect) override;
  STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
  STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return OnInPlaceDeactivate(); }
  STDMETHODIMP RequestUIActivate() override { return S_OK; }
  STDMETHODIMP CanWindowlessActivate() override;
  STDMETHODIMP GetCapture() override;
  STDMETHODIMP SetCapture(BOOL capture) override;
  STDMETHODIMP GetFocus() override;
  STDMETHODIMP SetFocus(BOOL focus) override;
  STDMETHODIMP GetDC(LPCRECT, DWORD, HDC*) override { return E_NOTIMPL; }
  STDMETHODIMP ReleaseDC(HDC) override { return E_NOTIMPL; }
  STDMETHODIMP InvalidateRect(LPCRECT rect, BOOL erase) override;
  STDMETHODIMP InvalidateRgn(HRGN region, BOOL erase) override;
  STDMETHODIMP ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return E_NOTIMPL; }
  STDMETHODIMP AdjustRect(LPRECT) override { return E_NOTIMPL; }
  STDMETHODIMP OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  // IOleControlSite
  STDMETHODIMP OnControlInfoChanged() override;
  STDMETHODIMP LockInPlaceActive(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP GetExtendedControl(IDispatch** out) override;
  STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(MSG* message, DWORD modifiers) override;
  STDMETHODIMP OnFocus(BOOL got) override;
  STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
  // IAdviseSink
  STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override;
  STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override;
  STDMETHODIMP_(void) OnRename(IMoniker*) override {}
  STDMETHODIMP_(void) OnSave() override {}
  STDMETHODIMP_(void) OnClose() override {}
  // IDispatch: the ambient properties
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                      UINT*) override;
  // IPropertyNotifySink
  STDMETHODIMP OnChanged(DISPID) override { return E_FAIL; }
  STDMETHODIMP OnRequestEdit(DISPID) override { return E_FAIL; }
  // IOleContainer
  STDMETHODIMP ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** out) override;
  STDMETHODIMP EnumObjects(DWORD, IEnumUnknown** out) override;
  STDMETHODIMP LockContainer(BOOL) override { return E_NOTIMPL; }

 private:
  ~Site();
  void ReleaseControl();
  int AttachObject(IUnknown* control, const char* properties);

  LONG references_ = 0;
  ControlItem* owner_;
  RECT rect_ = {};
  IUnknown* control_ = nullptr;
  DWORD miscStatus_ = 0;
  DWORD adviseCookie_ = 0;
  DWORD state_ = 0;
};

// IPropertyBag over a control spec's PROPERTIES value; Read converts an
// entry Name=TYPE(Value) to TYPE.  Starts with no reference.
IPropertyBag* NewSpecPropertyBag(const char* properties);

}  // namespace ctlhost

// The container of one parent window: it subclasses the parent, adopts the
// parent's child windows as window items, keeps its items with the focus,
// default-button and escape-button roles among them, applies resize styles
// when the parent is resized, routes the dialog keys (Tab, Return, Escape,
// mnemonics), keeps the ambient values its controls read, and owns the
// in-place frame that active controls talk to.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <vector>

#include "core/pointer_list.h"

namespace ctlhost {

class Item;
class Frame;

class Container {
 public:
  explicit Container(HWND parent);
  ~Container();
  Container(const Container&) = delete;
  Container& operator=(const Container&) = delete;

  // 0 adopted; 1 a control is being activated; 2 the window has an item
  // already; 3 no item could be made.
  int AdoptWindow(HWND window);
  void AddItem(Item* item);
  // Clears every role the item holds and the links to it.
  void ForgetItem(Item* item);
  std::vector<Item*> Items() const;
  // Destroys every item (the parent's WM_DESTROY).
  void DestroyItems();

  void SetFocusItem(Item* item);
  // 0; 1 the item does not act like a button.
  int SetDefaultButton(Item* item);
  int SetEscButton(Item* item);
  // 0 handled; 1 not.
  int TranslateKey(Item* item, MSG* message, int modifiers);
  Item* NextTabItem(bool forward);

  // The windowless-active item at `point` (parent client coordinates)
  // whose control reports a hit there; the topmost by z index.  Null when
  // there is none.
  Item* HitTest(POINT point);
  // Fills the parent's background with the ambient back colour once it
  // was set, leaving the items' rectangles alone: true when it filled.
  bool EraseBackground(HDC dc);
  // Paints the items meeting `clip`: windowed ones are repainted, the
  // others draw themselves into dc through their view object.
  void DrawItems(HDC dc, const RECT& clip);

  // Windowless capture and focus; 1 for an item that is not
  // windowless-active.  The getters give 0 when the item holds the role.
  int SetCapture(Item* item, bool on);
  int GetCapture(Item* item) const;
  int SetWindowlessFocus(Item* item, bool on);
  int GetWindowlessFocus(Item* item) const;
  void OnFocus(Item* item, bool got);

  HRESULT InvalidateItemRect(Item* item, const RECT* rect, BOOL erase);
  // 1 when the container has no items, else 0.
  int InvalidateArea(const RECT* rect, BOOL erase);

  HWND parent;
  WNDPROC previousProcedure = nullptr;
  Frame* frame = nullptr;
  Item* focusItem = nullptr;
  Item* uiActiveWindowless = nullptr;
  Item* captureItem = nullptr;
  Item* defaultButton = nullptr;
  Item* escButton = nullptr;
  int defaultEnabled = 1;
  int escapeEnabled = 1;
  DWORD creatingThread;
  HWND rememberedFocus = nullptr;
  int backColorSet = 0;
  COLORREF backColor;
  COLORREF foreColor = 0;
  IFont* font = nullptr;
  short userMode = 1;
  short uiDead = 0;
  short showGrabHandles = 0;
  short showHatching = 0;
  int activating = 0;

 private:
  static LRESULT CALLBACK ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
  LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
  // Mouse messages and WM_SETCURSOR: to the capture item or the item hit.
  LRESULT OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
  bool IsShownAtRuntime(Item* item) const;
  void ApplyResizeStyles();
  PointerList items_{8};
};

// The container of `parent`; with make, a new one when it has none (the
// whole parent is then invalidated).  Null when there is none or the window
// is not a window.
Container* FindOrMakeContainer(HWND parent, bool make);
// The first container whose parent is `window` or one of its ancestors.
Container* ContainerOfWindow(HWND window);

// The in-place frame handed to active controls (IOleInPlaceFrame).
class Frame final : public IOleInPlaceFrame {
 public:
  explicit Frame(Container* container) : container_(container) {}
  void DetachContainer() { container_ = nullptr; }
  Container* container() const { return container_; }
  IOleInPlaceActiveObject* activeObject() const { return activeObject_; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return E_NOTIMPL; }
  STDMETHODIMP EnableModeless(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return E_NOTIMPL; }

 private:
  // The frame's IDispatch: it knows no members.
  class Dispatch final : public IDispatch {
   public:
    explicit Dispatch(Frame* frame) : frame_(frame) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return frame_->QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return frame_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return frame_->Release(); }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
      return E_NOTIMPL;
    }

   private:
    Frame* frame_;
  };

  ~Frame();
  Dispatch dispatch_{this};
  LONG references_ = 1;
  Container* container_;
  IOleInPlaceActiveObject* activeObject_ = nullptr;
};

}  // namespace ctlhost

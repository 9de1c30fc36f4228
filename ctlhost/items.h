// Hosted items: everything a container holds.  A window item is a plain
// child window of the parent, adopted and subclassed; a control item is an
// ActiveX control created by QXCreateControl, with its client site.  Both
// answer the same virtual operations, so the container paints, focuses,
// sizes, tabs through and routes keys to them without knowing their kind.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "core/item_layout.h"

namespace ctlhost {

class Container;
class Site;

class Item {
 public:
  enum Kind { kWindowItem = 0, kControlItem = 1 };

  Item(Kind kind, Container* container);
  virtual ~Item();
  Item(const Item&) = delete;
  Item& operator=(const Item&) = delete;

  virtual int OpenPropertyPage() { return 1; }
  virtual int SetWindow(HWND window);
  virtual HWND GetWindow() { return window_; }
  virtual int GetControlId();
  virtual int SetVisible(short visible, int repaint);
  virtual int SetRect(const RECT* rect, int repaint) = 0;
  virtual int GetRect(RECT* rect) = 0;
  virtual int Reserved() { return 0; }
  virtual int InPlaceActivate() = 0;
  virtual int InPlaceDeactivate() { return 0; }
  virtual int SetFocus() { return 0; }
  virtual int KillFocus() { return 0; }
  // 0 handled (result stored in *result).
  virtual int HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;
  virtual void* QuerySiteInterface(REFIID iid) = 0;
  virtual void* QueryControlInterface(REFIID iid) = 0;
  virtual int OnAmbientPropertyChange(DISPID dispid) = 0;
  virtual int Refresh() { return 0; }
  virtual int IsInvisibleAtRuntime() { return 0; }
  virtual int ActsLikeButton() { return 0; }
  virtual int ActsLikeLabel() { return 0; }
  virtual int EatsReturn() { return 0; }
  virtual int EatsEscape() { return 0; }
  virtual int SetDefaultState(int state);
  // 0 = the key press is this item's mnemonic.
  virtual int MatchMnemonic(MSG* message, int modifiers) { return 1; }
  virtual int DoMnemonic(MSG* message) { return 1; }

  // Gaining the focus takes it from every other item of this thread and
  // tells the container; losing it clears the container's focus item.
  void GainFocus();
  void LoseFocus();
  // Stores the style and captures the distances of its edges; 1 without
  // a container (the style is kept all the same).
  int SetResizeStyle(int style);
  // Moves the item after the parent was resized.
  void ApplyResizeStyle();
  // The item's rectangle as a portable rectangle (slot 7).
  bool CurrentRect(ItemRect* rect);

  // Named values: 0 stored; 2 no memory.
  int SetNamedValue(const char* name, const VARIANT* value);
  // 0 (out cleared, then a copy of the stored value; VT_EMPTY for a name
  // never set).
  int GetNamedValue(const char* name, VARIANT* out);

  Kind kind() const { return kind_; }
  Container* container() const { return container_; }
  void DetachFromContainer() { container_ = nullptr; }

  DWORD creatingThread;
  bool hasFocus = false;
  int windowlessActive = 0;
  int zIndex = 0x7FFFFFFF;
  int tabIndex = -1;
  std::string name;
  short visible = 1;
  int defaultState = 0;
  int flags = 0;
  int flagsSet = 0;
  Item* labelledItem = nullptr;
  int resizeStyle = 0;
  ResizeDistances distances;
  std::string accelerator;
  bool hasAccelerator = false;

 protected:
  HWND window_ = nullptr;
  // After SetRect: the distances of the stored style are taken again.
  void RecaptureResizeDistances();

 private:
  struct NamedValue {
    std::string name;
    VARIANT value;
  };
  Kind kind_;
  Container* container_;
  std::vector<NamedValue> namedValues_;
};

class WindowItem : public Item {
 public:
  explicit WindowItem(Container* container);
  ~WindowItem() override;

  int SetWindow(HWND window) override;
  int SetRect(const RECT* rect, int repaint) override;
  int GetRect(RECT* rect) override;
  int InPlaceActivate() override { return 0; }
  int SetFocus() override;
  int KillFocus() override;
  int HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void* QuerySiteInterface(REFIID) override { return nullptr; }
  void* QueryControlInterface(REFIID) override { return nullptr; }
  int OnAmbientPropertyChange(DISPID dispid) override;
  int ActsLikeButton() override { return (flags & 1) != 0; }
  int ActsLikeLabel() override { return (flags & 2) != 0; }
  int EatsReturn() override { return (flags & 4) != 0; }
  int EatsEscape() override { return (flags & 8) != 0; }
  int SetDefaultState(int state) override;
  int MatchMnemonic(MSG* message, int modifiers) override;
  int DoMnemonic(MSG* message) override;

  static WindowItem* OfWindow(HWND window);

 private:
  static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  WNDPROC previousProcedure_ = nullptr;
  RECT rect_ = {};
  LRESULT lastResult_ = 0;
};

class ControlItem : public Item {
 public:
  explicit ControlItem(Container* container);
  ~ControlItem() override;

  int OpenPropertyPage() override;
  int SetWindow(HWND) override { return 0; }
  HWND GetWindow() override;
  int SetRect(const RECT* rect, int repaint) override;
  int GetRect(RECT* rect) override;
  int InPlaceActivate() override;
  int InPlaceDeactivate() override;
  int SetFocus() override;
  int KillFocus() override;
  int HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void* QuerySiteInterface(REFIID iid) override;
  void* QueryControlInterface(REFIID iid) override;
  int OnAmbientPropertyChange(DISPID dispid) override;
  int Refresh() override;
  int IsInvisibleAtRuntime() override { return (miscStatus & OLEMISC_INVISIBLEATRUNTIME) != 0; }
  int ActsLikeButton() override { return (miscStatus & OLEMISC_ACTSLIKEBUTTON) != 0; }
  int ActsLikeLabel() override { return (miscStatus & OLEMISC_ACTSLIKELABEL) != 0; }
  int EatsReturn() override;
  int EatsEscape() override;
  int SetDefaultState(int state) override;
  int MatchMnemonic(MSG* message, int modifiers) override;
  int DoMnemonic(MSG* message) override;
  // 0 ok; 1 no site; 2 attach failed; 3 no IOleObject; 4 GetMiscStatus failed.
  int AttachControl(IUnknown* control, const char* properties);

  // The control's IUnknown identity (a new reference), or null.
  IUnknown* ControlIdentity();

  Site* site = nullptr;
  int windowlessAllowed = 1;
  DWORD miscStatus = 0;
  CONTROLINFO controlInfo = {};
};

// The item a ControlRef names (kind 0 COM identity, 1 control ID, 2 window
// handle); null when it names none.
Item* ResolveControlRef(INT_PTR value, int kind);

}  // namespace ctlhost

// CHOOSER.DLL, the outside file picker, as its callers see it: the picture
// tool links it, the media player loads it by name.  Every export is
// stdcall under its bare name.
//
// Texts passed by value are zero-terminated byte strings.  Texts passed by
// reference (results, and the accessors' stores) are byte strings held in
// an OLE string (BSTR) made with SysAllocStringByteLen, whose bytes are the
// text: the caller allocates it (or passes null for ""), the callee may
// free it and put a new one in its place, and the caller frees what it
// holds in the end (SysFreeString).  picker::TextRef does this for C++
// callers.  This is the one way a text of any length and any byte comes
// back through a single argument, which keeps each export's argument count
// what its callers push.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>

extern "C" {

// The dialog: fourteen arguments.  The first thirteen are the file
// picker's own (owner, start folder & pattern, title, filters, button
// captions, list label, tree label, filter label, an unread text, field
// label, mode, result list by reference, name by reference); the last is
// the chooser's save flag: non-zero asks for a target to save to, and a
// confirmed dialog then gives the shown folder followed by the current
// pattern ("C:\pics\*.JPG") as the result, the typed name completed with
// that folder as the name.  Returns the button that closed the dialog (2
// confirms, 1 cancels, 0 when it ended without one).
typedef int32_t(__stdcall* ChooserDialogProc)(HWND owner, const char* start, const char* title,
                                              const char* filters, const char* buttons,
                                              const char* listLabel, const char* treeLabel,
                                              const char* filterLabel, const char* unused,
                                              const char* fieldLabel, int32_t mode,
                                              BSTR* resultList, BSTR* name, int32_t saveFlag);
// CHOOSERMULTI: the one-shot multi-selection request.
typedef int32_t(__stdcall* ChooserMultiProc)(int32_t flag);
// CHOOSERFILTER, SKUSEFILTER, SKFILTERCHOICE, CHOOSERINFILE,
// CHOOSERLASTFILE, SKSHOWTHUMB: a store set from the text (set non-zero) or
// read into it (set 0).  Return 1, or 0 when the text cannot be written.
typedef int32_t(__stdcall* ChooserStoreProc)(BSTR* text, int32_t set);

#ifdef CHOOSER_BUILDING
#define CHOOSER_API __declspec(dllexport)
#else
#define CHOOSER_API __declspec(dllimport)
#endif

CHOOSER_API int32_t __stdcall CHOOSERF(HWND owner, const char* start, const char* title,
                                       const char* filters, const char* buttons,
                                       const char* listLabel, const char* treeLabel,
                                       const char* filterLabel, const char* unused,
                                       const char* fieldLabel, int32_t mode, BSTR* resultList,
                                       BSTR* name, int32_t saveFlag);
CHOOSER_API int32_t __stdcall CHOOSERMULTI(int32_t flag);
CHOOSER_API int32_t __stdcall CHOOSERFILTER(BSTR* text, int32_t set);
CHOOSER_API int32_t __stdcall SKUSEFILTER(BSTR* text, int32_t set);
CHOOSER_API int32_t __stdcall SKFILTERCHOICE(BSTR* text, int32_t set);
CHOOSER_API int32_t __stdcall CHOOSERINFILE(BSTR* text, int32_t set);
CHOOSER_API int32_t __stdcall CHOOSERLASTFILE(BSTR* text, int32_t set);
// The extensions whose files the dialog may show as thumbnails.  This
// chooser lists names only: the list is kept and read back, nothing more.
CHOOSER_API int32_t __stdcall SKSHOWTHUMB(BSTR* text, int32_t set);
// The dialog's window procedure (class ORBDLG) and its loop's keyboard
// filter.
CHOOSER_API LRESULT __stdcall DIRLISTPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
CHOOSER_API int32_t __stdcall DLDIALOGMESSAGE(HWND dialog, MSG* message);

}  // extern "C"

namespace picker {

// A byte string by reference, owned: an OLE string whose bytes are the
// text.  ref() is what a by-reference argument takes; the callee may
// replace the string, and str() reads whatever is held afterwards.
class TextRef {
 public:
  TextRef() = default;
  explicit TextRef(const std::string& text) { assign(text); }
  ~TextRef() { SysFreeString(text_); }
  TextRef(const TextRef&) = delete;
  TextRef& operator=(const TextRef&) = delete;

  // False when the string could not be allocated (it then holds "").
  bool assign(const std::string& text) {
    BSTR made = SysAllocStringByteLen(text.data(), static_cast<UINT>(text.size()));
    SysFreeString(text_);
    text_ = made;
    return made != nullptr;
  }
  BSTR* ref() { return &text_; }
  std::string str() const { return Read(text_); }

  // The bytes of an OLE string made with SysAllocStringByteLen; "" for
  // null.
  static std::string Read(BSTR text) {
    if (text == nullptr) return std::string();
    return std::string(reinterpret_cast<const char*>(text), SysStringByteLen(text));
  }
  // Puts a new string holding `text` in place of *ref (freeing the old
  // one); false, and *ref unchanged, when it cannot be allocated.
  static bool Write(BSTR* ref, const std::string& text) {
    if (ref == nullptr) return false;
    BSTR made = SysAllocStringByteLen(text.data(), static_cast<UINT>(text.size()));
    if (made == nullptr) return false;
    SysFreeString(*ref);
    *ref = made;
    return true;
  }

 private:
  BSTR text_ = nullptr;
};

}  // namespace picker

// Control creation: QXCreateControl and the small exports around a
// control's life (delete, find by name, release, test call).
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdio>
#include <new>
#include <string>

#include "container.h"
#include "core/control_spec.h"
#include "core/names.h"
#include "ctlhost20.h"
#include "items.h"
#include "library.h"
#include "site.h"

namespace ctlhost {

namespace {

// A control's name lives in a 512-byte buffer: with its underscores it
// must stay below that.
constexpr size_t kMaxControlNameChars = 511;
// The creation's error text lives in a 1024-byte buffer.
constexpr size_t kMaxErrorTextChars = 1023;

std::string Formatted(const char* format, const std::string& a, const std::string& b) {
  std::string text(kMaxErrorTextChars + 1, '\0');
  const int length = std::snprintf(text.data(), text.size(), format, a.c_str(), b.c_str());
  text.resize(length < 0 ? 0 : std::min<size_t>(static_cast<size_t>(length), kMaxErrorTextChars));
  return text;
}

std::string FormattedCode(const char* format, unsigned long code, const std::string& progId) {
  std::string text(kMaxErrorTextChars + 1, '\0');
  const int length = std::snprintf(text.data(), text.size(), format, code, progId.c_str());
  text.resize(length < 0 ? 0 : std::min<size_t>(static_cast<size_t>(length), kMaxErrorTextChars));
  return text;
}

bool NameTaken(Container* container, const std::string& name) {
  for (Item* item : container->Items()) {
    if (EqualsNoCase(item->name, name)) return true;
  }
  return false;
}

// The creation steps; returns the step's code (0 created) and leaves the
// error text of that moment in *error.
int CreateControlInContainer(Container* container, const char* name, int x, int y, int cx, int cy,
                             const char* spec, int windowlessAllowed, IDispatch** out, std::string* error) {
  if (spec == nullptr || out == nullptr || error == nullptr) return 1;
  const ParsedSpec parsed = ParseControlSpec(spec);
  const std::u16string wideProgId = WidenBytes(parsed.progId);
  CLSID classId;
  if (parsed.progId.empty() ||
      FAILED(CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(wideProgId.c_str()), &classId))) {
    *error = Formatted("no valid ProgID ('%s') found in '%s'.", parsed.progId, spec);
    return 4;
  }
  if (Library* library = CurrentLibrary()) library->comThreads.EnsureCom();

  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(classId, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER, nullptr,
                                IID_IClassFactory, reinterpret_cast<void**>(&factory));
  *error = FormattedCode("CoGetClassObject ERROR x%lx with ProgID='%s'", static_cast<unsigned long>(hr), parsed.progId);
  if (FAILED(hr) || factory == nullptr) return 6;

  IDispatch* created = nullptr;
  hr = factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&created));
  factory->Release();
  if (FAILED(hr) || created == nullptr) {
    *error = FormattedCode("CreateInstance ERROR x%lx with ProgID='%s' ", static_cast<unsigned long>(hr), parsed.progId);
    return 7;
  }

  std::string unique = name;
  while (NameTaken(container, unique) && unique.size() < kMaxControlNameChars) unique += "_";
  ControlItem* item = nullptr;
  if (!NameTaken(container, unique)) item = new (std::nothrow) ControlItem(container);
  if (item == nullptr || item->site == nullptr) {
    delete item;
    created->Release();
    return 8;
  }
  item->windowlessAllowed = windowlessAllowed;
  item->name = unique;

  int step = 0;
  const RECT rect = {x, y, x + cx, y + cy};
  if (item->AttachControl(created, parsed.properties.c_str()) != 0) {
    step = 9;
  } else if (item->SetRect(&rect, FALSE) != 0) {
    step = 10;
  } else if (!(container->userMode && item->IsInvisibleAtRuntime()) && item->InPlaceActivate() != 0) {
    step = 11;
  }
  if (step == 0) {
    created->AddRef();
    *out = created;
  } else {
    // The client gets no pointer to name this item by, so it could never
    // delete it: it goes now, closing and releasing the control.
    delete item;
  }
  created->Release();
  return step;
}

}  // namespace
}  // namespace ctlhost

using namespace ctlhost;

extern "C" int WINAPI QXCreateControl(HWND parent, char* name, int x, int y, int cx, int cy, char* spec,
                                      int windowlessAllowed, IDispatch** out) {
  ApiLock lock;
  if (out == nullptr) return 1;
  *out = nullptr;
  int result = 0, step = 0;
  std::string error;
  if (spec == nullptr) {
    result = 2;
    step = 1;
  } else if (name == nullptr) {
    result = 5;
    step = 1;
  } else {
    Container* container = FindOrMakeContainer(parent, true);
    if (container == nullptr) {
      result = 4;
    } else {
      step = CreateControlInContainer(container, name, x, y, cx, cy, spec, windowlessAllowed, out, &error);
      if (step != 0) result = 5;
    }
  }
  if (result != 0) {
    *out = nullptr;
    if (Library* library = CurrentLibrary()) {
      char line[1200];
      std::snprintf(line, sizeof line, "QXCreateControl error %d.%d: '%s'", result, step, error.c_str());
      library->log.WriteLine(line);
    }
  }
  return result;
}

extern "C" int WINAPI QXDeleteControl(IUnknown* control) {
  ApiLock lock;
  if (control == nullptr) return 1;
  IUnknown* identity = nullptr;
  if (FAILED(control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))) || identity == nullptr) {
    control->Release();
    return 2;
  }
  ControlItem* found = nullptr;
  if (Library* library = CurrentLibrary()) {
    for (void* entry : library->controlItems.Entries()) {
      auto* item = static_cast<ControlItem*>(entry);
      if (item->container() == nullptr) continue;
      IUnknown* other = item->ControlIdentity();
      if (other == nullptr) continue;
      const bool same = other == identity;
      other->Release();
      if (same) {
        found = item;
        break;
      }
    }
  }
  delete found;
  control->Release();
  identity->Release();
  return found != nullptr ? 0 : 3;
}

extern "C" IDispatch* WINAPI QXGetNamedControlDispatch(HWND parent, char* name) {
  ApiLock lock;
  if (name == nullptr) return nullptr;
  Container* container = FindOrMakeContainer(parent, true);
  if (container == nullptr) return nullptr;
  for (Item* item : container->Items()) {
    if (item->kind() != Item::kControlItem || !EqualsNoCase(item->name, name)) continue;
    if (auto* dispatch = static_cast<IDispatch*>(item->QueryControlInterface(IID_IDispatch))) return dispatch;
  }
  return nullptr;
}

extern "C" int WINAPI QXReleaseDispatch(IUnknown* p) {
  ApiLock lock;
  if (p == nullptr) return 1;
  p->Release();
  return 0;
}

namespace {
void PutText(IDispatch* dispatch, DISPID dispid, const wchar_t* text) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(text);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, &named, 1, 1};
  dispatch->Invoke(dispid, IID_NULL, 0x0800, DISPATCH_METHOD | DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
  VariantClear(&value);
}
}  // namespace

extern "C" int WINAPI QXTestControl(IUnknown* control) {
  ApiLock lock;
  if (control == nullptr) return 1;
  IDispatch* dispatch = nullptr;
  if (FAILED(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) || dispatch == nullptr) {
    return 2;
  }
  PutText(dispatch, DISPID_TEXT, L"Text");
  PutText(dispatch, DISPID_CAPTION, L"Caption");
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  dispatch->Invoke(DISPID_REFRESH, IID_NULL, 0x0800, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  dispatch->Release();
  return 0;
}

// orbtestctl.dll as an in-process COM server: the class factory and the
// registration of the class and its ProgID under HKEY_CLASSES_ROOT (the
// tests register it in their Wine prefix and remove it again).
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>

#include "test_control_object.h"

namespace {

HINSTANCE g_instance = nullptr;
LONG g_locks = 0;

class ClassFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* control = new (std::nothrow) TestControl(g_instance);
    if (control == nullptr) return E_OUTOFMEMORY;
    control->AddRef();
    const HRESULT hr = control->QueryInterface(iid, out);
    control->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) {
      InterlockedIncrement(&g_locks);
    } else {
      InterlockedDecrement(&g_locks);
    }
    return S_OK;
  }
};

ClassFactory g_factory;

std::string ClassIdText() {
  wchar_t wide[64];
  StringFromGUID2(CLSID_OrbTestControl, wide, 64);
  std::string text;
  for (const wchar_t* c = wide; *c != 0; ++c) text.push_back(static_cast<char>(*c));
  return text;
}

bool SetKeyValue(const std::string& key, const char* name, const std::string& value) {
  HKEY handle;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG result = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_instance = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID id, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (id != CLSID_OrbTestControl) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, out);
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() {
  return g_objectCount == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(g_instance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
  const std::string classKey = "CLSID\\" + ClassIdText();
  const bool ok = SetKeyValue(classKey, nullptr, "Orb test control") &&
                  SetKeyValue(classKey + "\\InprocServer32", nullptr, path) &&
                  SetKeyValue(classKey + "\\InprocServer32", "ThreadingModel", "Apartment") &&
                  SetKeyValue(classKey + "\\ProgID", nullptr, ORB_TEST_CONTROL_PROGID) &&
                  SetKeyValue(classKey + "\\Control", nullptr, "") &&
                  SetKeyValue(ORB_TEST_CONTROL_PROGID, nullptr, "Orb test control") &&
                  SetKeyValue(std::string(ORB_TEST_CONTROL_PROGID) + "\\CLSID", nullptr, ClassIdText());
  return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {
  const std::string classKey = "CLSID\\" + ClassIdText();
  for (const std::string& key : {classKey + "\\InprocServer32", classKey + "\\ProgID", classKey + "\\Control", classKey,
                                 std::string(ORB_TEST_CONTROL_PROGID) + "\\CLSID", std::string(ORB_TEST_CONTROL_PROGID)}) {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
  }
  return S_OK;
}

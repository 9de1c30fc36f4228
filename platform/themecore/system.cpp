// What the programs ask about the machine: the Windows version
// (SKOSVERSION), the processor speed (SKCPUSPEED), the network and dial-up
// state (SKINTERNETSTATE, SKRASCONNECT, SKRASHANGUP) and the text of an
// error number (SKWINERR).  wininet and rasapi32 are loaded when first
// needed: a machine without them answers with the failure value instead of
// failing to load the engine.
#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include <string>

#include "output_buffer.h"
#include "engine_internal.h"
#include "themecore.h"
#include "trace_writer.h"

namespace {

const char kLibrary[] = "themecore";

// A system DLL loaded on first use and kept for the life of the process
// (null when the machine has none).
HMODULE SystemLibrary(const char* name) {
  HMODULE module = GetModuleHandleA(name);
  return module != nullptr ? module : LoadLibraryA(name);
}

template <typename Function>
Function LibraryFunction(const char* library, const char* function) {
  HMODULE module = SystemLibrary(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(GetProcAddress(module, function));
}

int32_t WindowsVersion() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return 0;
#pragma GCC diagnostic pop
  return static_cast<int32_t>(version.dwMajorVersion * 100 + version.dwMinorVersion);
}

int32_t ProcessorMegahertz() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return 0;
  }
  DWORD megahertz = 0;
  DWORD type = 0;
  DWORD size = sizeof(megahertz);
  LONG status = RegQueryValueExA(key, "~MHz", nullptr, &type, reinterpret_cast<BYTE*>(&megahertz),
                                 &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(megahertz)) return 0;
  return static_cast<int32_t>(megahertz);
}

int32_t IsOnLine() {
  using GetConnectedState = BOOL(WINAPI*)(LPDWORD, DWORD);
  auto getState = LibraryFunction<GetConnectedState>("wininet.dll", "InternetGetConnectedState");
  if (getState == nullptr) return 0;
  DWORD flags = 0;
  return getState(&flags, 0) ? 1 : 0;
}

using RasEnumEntriesFunction = DWORD(WINAPI*)(LPCSTR, LPCSTR, LPRASENTRYNAMEA, LPDWORD, LPDWORD);
using RasGetEntryDialParamsFunction = DWORD(WINAPI*)(LPCSTR, LPRASDIALPARAMSA, LPBOOL);
using RasDialFunction = DWORD(WINAPI*)(LPRASDIALEXTENSIONS, LPCSTR, LPRASDIALPARAMSA, DWORD,
                                       LPVOID, LPHRASCONN);
using RasHangUpFunction = DWORD(WINAPI*)(HRASCONN);
using RasGetConnectStatusFunction = DWORD(WINAPI*)(HRASCONN, LPRASCONNSTATUSA);

const char kRasLibrary[] = "rasapi32.dll";

// The name of the first phone-book entry, "" when there is none.
std::string DefaultDialUpEntry() {
  auto enumEntries = LibraryFunction<RasEnumEntriesFunction>(kRasLibrary, "RasEnumEntriesA");
  if (enumEntries == nullptr) return std::string();
  RASENTRYNAMEA first = {};
  first.dwSize = sizeof(first);
  DWORD bytes = sizeof(first);
  DWORD count = 0;
  DWORD status = enumEntries(nullptr, nullptr, &first, &bytes, &count);
  if (status == ERROR_BUFFER_TOO_SMALL && count > 0 && bytes >= sizeof(RASENTRYNAMEA)) {
    // Several entries: the first is the default one.
    std::string buffer(bytes, '\0');
    auto* entries = reinterpret_cast<RASENTRYNAMEA*>(buffer.data());
    entries[0].dwSize = sizeof(RASENTRYNAMEA);
    status = enumEntries(nullptr, nullptr, entries, &bytes, &count);
    if (status != ERROR_SUCCESS || count == 0) return std::string();
    return entries[0].szEntryName;
  }
  if (status != ERROR_SUCCESS || count == 0) return std::string();
  return first.szEntryName;
}

// Dials the default entry with its saved credentials; the connection or 0.
intptr_t DialDefaultEntry() {
  std::string entry = DefaultDialUpEntry();
  if (entry.empty()) return 0;
  auto getParams =
      LibraryFunction<RasGetEntryDialParamsFunction>(kRasLibrary, "RasGetEntryDialParamsA");
  auto dial = LibraryFunction<RasDialFunction>(kRasLibrary, "RasDialA");
  auto hangUp = LibraryFunction<RasHangUpFunction>(kRasLibrary, "RasHangUpA");
  if (getParams == nullptr || dial == nullptr || hangUp == nullptr) return 0;
  RASDIALPARAMSA params = {};
  params.dwSize = sizeof(params);
  lstrcpynA(params.szEntryName, entry.c_str(), sizeof(params.szEntryName));
  BOOL hasPassword = FALSE;
  if (getParams(nullptr, &params, &hasPassword) != ERROR_SUCCESS) return 0;
  HRASCONN connection = nullptr;
  // No notifier: RasDial returns when the line is up or has failed.
  DWORD status = dial(nullptr, nullptr, &params, 0, nullptr, &connection);
  SecureZeroMemory(params.szPassword, sizeof(params.szPassword));
  if (status != ERROR_SUCCESS) {
    if (connection != nullptr) hangUp(connection);
    return 0;
  }
  return reinterpret_cast<intptr_t>(connection);
}

int32_t HangUp(intptr_t connectionValue) {
  if (connectionValue == 0) return 0;
  auto hangUp = LibraryFunction<RasHangUpFunction>(kRasLibrary, "RasHangUpA");
  auto status = LibraryFunction<RasGetConnectStatusFunction>(kRasLibrary, "RasGetConnectStatusA");
  if (hangUp == nullptr) return 0;
  HRASCONN connection = reinterpret_cast<HRASCONN>(connectionValue);
  if (hangUp(connection) != ERROR_SUCCESS) return 0;
  // RAS ends the connection in the background; a program that exits at once
  // would leave the line up.  Wait for the handle to go, at most 3 s.
  if (status != nullptr) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 3000) {
      RASCONNSTATUSA state = {};
      state.dwSize = sizeof(state);
      if (status(connection, &state) == ERROR_INVALID_HANDLE) break;
      Sleep(20);
    }
  }
  return 1;
}

std::string ErrorText(int32_t code) {
  char* message = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string text;
  if (length != 0 && message != nullptr) text.assign(message, length);
  if (message != nullptr) LocalFree(message);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  if (text.empty()) text = "Error " + std::to_string(code);
  return text;
}

}  // namespace

THEMECORE_API int32_t __stdcall SKOSVERSION() {
  try {
    int32_t version = WindowsVersion();
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKOSVERSION"), version);
    return version;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKCPUSPEED() {
  try {
    int32_t megahertz = ProcessorMegahertz();
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKCPUSPEED"), megahertz);
    return megahertz;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKINTERNETSTATE(int32_t flags) {
  try {
    int32_t onLine = IsOnLine();
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKINTERNETSTATE").Number(flags), onLine);
    return onLine;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API intptr_t __stdcall SKRASCONNECT() {
  try {
    intptr_t connection = DialDefaultEntry();
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKRASCONNECT"), connection);
    return connection;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKRASHANGUP(intptr_t connection) {
  try {
    int32_t result = HangUp(connection);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKRASHANGUP").Number(connection), result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKWINERR(int32_t code, char* out, int32_t outSize) {
  try {
    return themecore::engine::ReturnTextOut(orbtrace::CallLine(kLibrary, "SKWINERR").Number(code),
                                            ErrorText(code), out, outSize);
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}

// The media browser's settings line and favourites file in the temporary
// folder, the file associations registered at every settings load, and the
// folder lister of the skin menu.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "browser_state.h"
#include "core/config_file.h"
#include "core/item_list.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "file_io.h"
#include "skin_texts.h"
#include "themecore.h"

namespace browser {

namespace {

std::string BaseName() { return suite::FileNameOf(Browser().basePath); }

bool FolderHasFiles(const std::string& folder) {
  return SKEXIST((suite::WithFinalBackslash(folder) + "*.*").c_str()) != 0;
}

// The defaults of a first start: a centred window and the program's picture
// folder, or the program folder when it has none.
void DefaultSettings(WindowSettings* s) {
  int32_t width = 0, height = 0;
  SKSETMAXSIZE(std::max(600, SKXMINI()), std::max(400, SKYMINI()), &width, &height);
  s->width = width;
  s->height = height;
  s->left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  s->top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  s->folder = Browser().programFolder + "picture\\";
  s->pattern = suite::ItemField(Browser().texts.entry(15), 10);
  if (!FolderHasFiles(s->folder)) {
    s->folder = Browser().programFolder;
    s->pattern.clear();
  }
  s->option809 = -1;
}

// The work area of the monitor nearest to the saved window (the primary
// monitor's when the rectangle is nowhere near one).
WorkArea WorkAreaNear(const BrowserSettings& s) {
  RECT saved = {s.left, s.top, s.left + s.width, s.top + s.height};
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  HMONITOR nearest = MonitorFromRect(&saved, MONITOR_DEFAULTTONEAREST);
  if (nearest == nullptr || !GetMonitorInfoA(nearest, &monitor)) {
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &monitor.rcWork, 0)) return WorkArea{};
  }
  const RECT& work = monitor.rcWork;
  return WorkArea{work.left, work.top, work.right - work.left, work.bottom - work.top};
}

}  // namespace

std::string SettingsPath() { return suite::TempFolder() + BaseName() + ".cfg"; }
std::string FavouritesPath() { return suite::TempFolder() + BaseName() + ".fav"; }

void LoadSettings(WindowSettings* settings) {
  BrowserState& b = Browser();
  std::string line;
  if (suite::ReadWholeFile(SettingsPath(), kMaxSettingsBytes, &line) && IsReadableSettingsLine(line)) {
    BrowserSettings parsed = ParseSettingsLine(line, SKXMINI(), SKYMINI());
    KeepInsideWorkArea(&parsed, WorkAreaNear(parsed), SKXMINI(), SKYMINI());
    settings->left = parsed.left;
    settings->top = parsed.top;
    settings->width = parsed.width;
    settings->height = parsed.height;
    settings->folder = FolderHasFiles(parsed.folder) ? parsed.folder : std::string();
    settings->pattern = parsed.pattern;
    settings->option809 = parsed.option809;
    b.noticeSeen = parsed.noticeSeen;
    b.option408 = parsed.option408;
  } else {
    DefaultSettings(settings);
  }
  RegisterFileAssociation(b.texts.entry(83), 1);
  RegisterFileAssociation(b.texts.entry(84), 1);
}

void SaveSettings(const WindowSettings& settings) {
  BrowserState& b = Browser();
  // Favourites only when the combo holds entries; an empty combo keeps the
  // file a previous run wrote.
  int count = b.favouritesCombo ? static_cast<int>(SendMessageA(b.favouritesCombo, CB_GETCOUNT, 0, 0)) : 0;
  if (count > 0) {
    std::vector<std::string> folders;
    for (int i = 0; i < count; ++i) {
      int length = static_cast<int>(SendMessageA(b.favouritesCombo, CB_GETLBTEXTLEN, i, 0));
      if (length < 0) continue;
      std::string text(static_cast<size_t>(length) + 1, '\0');
      SendMessageA(b.favouritesCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      text.resize(std::strlen(text.c_str()));
      folders.push_back(text);
    }
    // Another instance may still hold the file: retry for up to 2 seconds.
    DWORD start = GetTickCount();
    while (!suite::WriteFileReplacing(FavouritesPath(), FormatFavourites(folders)) &&
           GetTickCount() - start < 2000) {
      Sleep(10);
    }
  }
  BrowserSettings line;
  line.left = settings.left;
  line.top = settings.top;
  line.width = settings.width;
  line.height = settings.height;
  line.folder = settings.folder;
  line.pattern = settings.pattern;
  line.option809 = settings.option809;
  line.noticeSeen = b.noticeSeen;
  line.option408 = b.option408;
  suite::WriteFileReplacing(SettingsPath(), FormatSettingsLine(line));
}

std::vector<std::string> ReadFavourites() {
  std::string bytes;
  if (!suite::ReadWholeFile(FavouritesPath(), kMaxFavouritesBytes, &bytes)) return {};
  return ReadFavouriteLines(bytes);
}

int32_t RegisterFileAssociation(const std::string& entry, int32_t mode) {
  AssociationEntry association;
  if (!ParseAssociationEntry(entry, Browser().programFolder, &association)) return 999999;

  HKEY key = nullptr;
  LONG result = RegCreateKeyExA(HKEY_CLASSES_ROOT, association.extensionKey.c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) return result;
  RegCloseKey(key);
  result = RegOpenKeyExA(HKEY_CLASSES_ROOT, association.extensionKey.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExA(key, nullptr, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(association.identifier.c_str()),
                          static_cast<DWORD>(association.identifier.size() + 1));
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return result;

  std::string commandKey = association.identifier + "\\shell\\open\\command";
  result = RegCreateKeyExA(HKEY_CLASSES_ROOT, commandKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                           nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) return result;
  RegCloseKey(key);
  result = RegOpenKeyExA(HKEY_CLASSES_ROOT, association.identifier.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExA(key, nullptr, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(association.description.c_str()),
                          static_cast<DWORD>(association.description.size() + 1));
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return result;

  result = RegOpenKeyExA(HKEY_CLASSES_ROOT, commandKey.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (result != ERROR_SUCCESS) return result;
  if (mode == 1) {
    if (!association.command.empty()) {
      std::string command = association.command + " %1";
      result = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                              static_cast<DWORD>(command.size() + 1));
    }
  } else {
    result = RegDeleteValueA(key, "");
  }
  RegCloseKey(key);
  return result;
}

void ListSubfolders(const std::string& folder, std::vector<std::string>* folders) {
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.') {
      folders->push_back(folder + found.cFileName + "\\");
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace browser

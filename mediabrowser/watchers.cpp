// The two watcher threads that keep the view current: the folder watcher
// refreshes the file list when files of the current folder change, the drive
// watcher reads the folder tree again when folders appear or vanish on the
// fixed drives.  Both threads only wait and post a message; the list and the
// tree are changed by the main thread that owns them.  A watcher is stopped
// by signalling its event and waiting for its thread to end; only then are
// the handles closed, so no thread ever waits on a closed (or reused) handle.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "browser_state.h"
#include "core/file_filter.h"
#include "core/file_list_rules.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "folder_tree.h"
#include "themecore.h"
#include "themecore_popup.h"

namespace browser {

namespace {

// A watcher waits for one of its handles at a time; its end comes at once
// after the stop event, so these bounds are never reached in practice.
constexpr DWORD kWatcherJoinMs = 10000;

struct Watcher {
  HANDLE thread = nullptr;
  HANDLE stop = nullptr;
};

struct FolderJob {
  std::string folder;
  HANDLE stop = nullptr;
  HWND mainWindow = nullptr;
};

struct DriveJob {
  std::vector<std::string> roots;
  HANDLE stop = nullptr;
  HWND mainWindow = nullptr;
};

Watcher g_folderWatcher;  // main thread only
Watcher g_driveWatcher;   // main thread only
// Set by a watcher when it posts its message, cleared by the main thread
// when it handles it: changes in a burst make one refresh.
std::atomic<bool> g_folderChangePosted{false};
std::atomic<bool> g_driveChangePosted{false};
FILETIME g_listingTime = {};

DWORD WINAPI FolderWatcherThread(void* parameter) {
  FolderJob* job = static_cast<FolderJob*>(parameter);
  HANDLE change = FindFirstChangeNotificationA(job->folder.c_str(), FALSE,
                                               FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE);
  DWORD result = 0;
  if (change == INVALID_HANDLE_VALUE) {
    result = GetLastError();
  } else {
    HANDLE handles[2] = {change, job->stop};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0) {
      if (!g_folderChangePosted.exchange(true)) PostMessageA(job->mainWindow, WM_BROWSER_FOLDER_CHANGED, 0, 0);
      if (!FindNextChangeNotification(change)) break;
    }
    FindCloseChangeNotification(change);
  }
  delete job;
  return result;
}

DWORD WINAPI DriveWatcherThread(void* parameter) {
  DriveJob* job = static_cast<DriveJob*>(parameter);
  std::vector<HANDLE> handles = {job->stop};
  for (const std::string& root : job->roots) {
    HANDLE change = FindFirstChangeNotificationA(root.c_str(), TRUE, FILE_NOTIFY_CHANGE_DIR_NAME);
    if (change != INVALID_HANDLE_VALUE) handles.push_back(change);
  }
  if (handles.size() > 1 && handles.size() <= MAXIMUM_WAIT_OBJECTS) {
    for (;;) {
      DWORD signalled = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, INFINITE);
      if (signalled <= WAIT_OBJECT_0 || signalled >= WAIT_OBJECT_0 + handles.size()) break;
      if (!g_driveChangePosted.exchange(true)) PostMessageA(job->mainWindow, WM_BROWSER_DRIVES_CHANGED, 0, 0);
      if (!FindNextChangeNotification(handles[signalled - WAIT_OBJECT_0])) break;
    }
  }
  for (size_t i = 1; i < handles.size(); ++i) FindCloseChangeNotification(handles[i]);
  delete job;
  return 0;
}

void StopWatcher(Watcher* watcher) {
  if (watcher->stop != nullptr) SetEvent(watcher->stop);
  if (watcher->thread != nullptr) {
    // A thread that does not end keeps its handles: closing them under it
    // would leave it waiting on whatever gets the handle values next.
    if (!WaitForThreadPumpingSent(watcher->thread, kWatcherJoinMs)) return;
    CloseHandle(watcher->thread);
    watcher->thread = nullptr;
  }
  if (watcher->stop != nullptr) CloseHandle(watcher->stop);
  watcher->stop = nullptr;
}

FILETIME Now() {
  SYSTEMTIME now = {};
  GetSystemTime(&now);
  FILETIME time = {};
  SystemTimeToFileTime(&now, &time);
  return time;
}

// Whether the folder's drive is one whose files this program never sees
// change under it: CDs.
bool IsUnwatchedDrive(const std::string& folder) {
  if (folder.size() < 2 || folder[1] != ':') return false;
  return GetDriveTypeA((folder.substr(0, 2) + "\\").c_str()) == DRIVE_CDROM;
}

}  // namespace

bool WaitForThreadPumpingSent(HANDLE thread, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, timeoutMs - elapsed, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    // Messages sent by the thread are answered; posted ones stay queued for
    // the message loop.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

void MarkListingTime() { g_listingTime = Now(); }

void StartFolderWatcher() {
  BrowserState& b = Browser();
  if (b.currentFolder.empty() || b.mainWindow == nullptr || IsUnwatchedDrive(b.currentFolder)) return;
  if (g_folderWatcher.thread != nullptr) return;
  g_folderWatcher.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (g_folderWatcher.stop == nullptr) return;
  auto* job = new FolderJob{suite::WithFinalBackslash(b.currentFolder), g_folderWatcher.stop, b.mainWindow};
  g_folderWatcher.thread = CreateThread(nullptr, 0, FolderWatcherThread, job, 0, nullptr);
  if (g_folderWatcher.thread == nullptr) {
    delete job;
    CloseHandle(g_folderWatcher.stop);
    g_folderWatcher.stop = nullptr;
  }
}

void StopFolderWatcher() { StopWatcher(&g_folderWatcher); }

void StartDriveWatcher() {
  BrowserState& b = Browser();
  if (g_driveWatcher.stop != nullptr || b.mainWindow == nullptr) return;
  auto* job = new DriveJob;
  DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0) continue;
    std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
    if (GetDriveTypeA(root.c_str()) == DRIVE_FIXED) job->roots.push_back(root);
  }
  g_driveWatcher.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  job->stop = g_driveWatcher.stop;
  job->mainWindow = b.mainWindow;
  if (g_driveWatcher.stop == nullptr) {
    delete job;
    return;
  }
  g_driveWatcher.thread = CreateThread(nullptr, 0, DriveWatcherThread, job, 0, nullptr);
  if (g_driveWatcher.thread == nullptr) delete job;
}

void StopDriveWatcher() { StopWatcher(&g_driveWatcher); }

void RefreshFileListByDiff() {
  BrowserState& b = Browser();
  g_folderChangePosted.store(false);
  if (b.watcherPaused || b.fileList == nullptr) return;
  FileListFilter filter = MakeFileListFilter(CurrentPattern(), b.filterList);
  std::vector<ScannedEntry> scanned;
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA((suite::WithFinalBackslash(b.currentFolder) + filter.mask).c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!FileListTakes(filter, found.cFileName, found.dwFileAttributes)) continue;
      scanned.push_back({" " + suite::LowerAscii(found.cFileName),
                         CompareFileTime(&found.ftLastWriteTime, &g_listingTime) > 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  std::vector<std::string> listed;
  LRESULT count = SendMessageA(b.fileList, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) listed.push_back(ListItemText(b.fileList, static_cast<int>(i)));
  ListChanges changes = DiffFileList(listed, scanned);

  for (const std::string& item : changes.reloaded) {
    LRESULT index = SendMessageA(b.fileList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(item.c_str()));
    if (index == LB_ERR) continue;
    DropThumbnail(static_cast<int>(index));
    RECT cell = {};
    if (SendMessageA(b.fileList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&cell)) != LB_ERR) {
      InvalidateRect(b.fileList, &cell, FALSE);
    }
  }
  for (const std::string& item : changes.removed) {
    LRESULT index = SendMessageA(b.fileList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(item.c_str()));
    if (index == LB_ERR) continue;
    DropThumbnail(static_cast<int>(index));
    SendMessageA(b.fileList, LB_DELETESTRING, index, 0);
  }
  for (const std::string& item : changes.added) SKADDSTRINGLISTBOX(b.fileList, item.c_str());
  if (!changes.removed.empty() || !changes.added.empty()) InvalidateRect(b.fileList, nullptr, TRUE);
  StartThumbnails();
  MarkListingTime();
  UpdateStatusText();
}

// The tree is read again with its redraw held, and the current folder
// selected again.
void OnDrivesChanged() {
  BrowserState& b = Browser();
  g_driveChangePosted.store(false);
  if (b.folderTree == nullptr) return;
  HWND inner = GetDlgItem(b.folderTree, ID_FOLDER_TREE);
  std::string current = b.currentFolder;
  if (inner != nullptr) {
    ShowWindow(inner, SW_HIDE);
    SendMessageA(inner, WM_SETREDRAW, FALSE, 0);
  }
  RebuildFolderTree();
  if (!current.empty()) {
    SendMessageA(b.folderTree, suite::FTM_SELECTPATH, current.size(), reinterpret_cast<LPARAM>(current.c_str()));
  }
  if (inner != nullptr) {
    SendMessageA(inner, WM_SETREDRAW, TRUE, 0);
    ShowWindow(inner, SW_SHOW);
  }
}

}  // namespace browser

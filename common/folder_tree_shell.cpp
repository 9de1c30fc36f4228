// The folder tree's shell namespace: item-id lists, display names, filling a
// shell folder's branch, the display chain used to find a path and the sort
// callback.  Wine's shell gives a smaller namespace than Windows (no control
// panel children, few virtual folders); everything here fails soft, leaving
// a branch empty.
#include <cstring>
#include <string>
#include <vector>

#include "folder_tree_internal.h"

namespace suite {
namespace folder_tree_detail {

namespace {

// IShellFolder's interface id, spelled out so that no uuid library is needed.
const IID kShellFolderId = {0x000214E6, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

IMalloc* ShellAllocator() {
  static IMalloc* allocator = nullptr;
  if (allocator == nullptr && FAILED(SHGetMalloc(&allocator))) allocator = nullptr;
  return allocator;
}

size_t IdListBytes(LPCITEMIDLIST list) {
  if (list == nullptr) return 0;
  size_t size = 0;
  const BYTE* at = reinterpret_cast<const BYTE*>(list);
  for (;;) {
    USHORT cb = 0;
    std::memcpy(&cb, at + size, sizeof(cb));
    if (cb == 0) break;
    size += cb;
  }
  return size;  // without the terminating zero USHORT
}

LPITEMIDLIST AllocIdList(size_t bytes) {
  IMalloc* allocator = ShellAllocator();
  if (allocator == nullptr) return nullptr;
  void* block = allocator->Alloc(static_cast<ULONG>(bytes + sizeof(USHORT)));
  if (block == nullptr) return nullptr;
  std::memset(block, 0, bytes + sizeof(USHORT));
  return static_cast<LPITEMIDLIST>(block);
}

std::string WideToAnsi(const wchar_t* text) {
  if (text == nullptr) return {};
  int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), bytes, nullptr, nullptr);
  out.resize(static_cast<size_t>(bytes) - 1);
  return out;
}

std::wstring AnsiToWide(const std::string& text) {
  int chars = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (chars <= 1) return {};
  std::wstring out(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), chars);
  out.resize(static_cast<size_t>(chars) - 1);
  return out;
}

// A STRRET in any of its three forms as ANSI text; frees a wide reply.
std::string StrRetText(STRRET* reply, LPCITEMIDLIST child) {
  switch (reply->uType) {
    case STRRET_WSTR: {
      std::string text = WideToAnsi(reply->pOleStr);
      if (IMalloc* allocator = ShellAllocator(); allocator != nullptr && reply->pOleStr != nullptr)
        allocator->Free(reply->pOleStr);
      return text;
    }
    case STRRET_OFFSET: {
      if (child == nullptr) return {};
      const char* text = reinterpret_cast<const char*>(child) + reply->uOffset;
      return std::string(text, strnlen(text, MAX_PATH));
    }
    case STRRET_CSTR:
      return std::string(reply->cStr, strnlen(reply->cStr, sizeof(reply->cStr)));
  }
  return {};
}

// The last element of an id list (points into the list).
LPCITEMIDLIST LastIdOf(LPCITEMIDLIST list) {
  const BYTE* at = reinterpret_cast<const BYTE*>(list);
  const BYTE* last = at;
  for (;;) {
    USHORT cb = 0;
    std::memcpy(&cb, at, sizeof(cb));
    if (cb == 0) break;
    last = at;
    at += cb;
  }
  return reinterpret_cast<LPCITEMIDLIST>(last);
}

}  // namespace

void FreeIdList(LPITEMIDLIST list) {
  if (list == nullptr) return;
  if (IMalloc* allocator = ShellAllocator()) allocator->Free(list);
}

LPITEMIDLIST CopyIdList(LPCITEMIDLIST list) {
  if (list == nullptr) return nullptr;
  size_t bytes = IdListBytes(list);
  LPITEMIDLIST copy = AllocIdList(bytes);
  if (copy != nullptr) std::memcpy(copy, list, bytes);
  return copy;
}

LPITEMIDLIST JoinIdLists(LPCITEMIDLIST parent, LPCITEMIDLIST child) {
  size_t parentBytes = IdListBytes(parent);
  size_t childBytes = IdListBytes(child);
  LPITEMIDLIST joined = AllocIdList(parentBytes + childBytes);
  if (joined == nullptr) return nullptr;
  BYTE* at = reinterpret_cast<BYTE*>(joined);
  if (parentBytes > 0) std::memcpy(at, parent, parentBytes);
  if (childBytes > 0) std::memcpy(at + parentBytes, child, childBytes);
  return joined;
}

std::string PathOfIdList(LPCITEMIDLIST list) {
  if (list == nullptr) return {};
  // SHGetPathFromIDListA writes up to MAX_PATH bytes; a longer path fails.
  char path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListA(list, path)) return {};
  return std::string(path, strnlen(path, MAX_PATH));
}

std::string DisplayNameOf(IShellFolder* folder, LPCITEMIDLIST child, DWORD flags) {
  if (folder == nullptr || child == nullptr) return {};
  STRRET reply = {};
  if (FAILED(folder->GetDisplayNameOf(child, flags, &reply))) return {};
  return StrRetText(&reply, child);
}

int ExpandShellItem(HWND tree, FolderTreeData* data, HTREEITEM item, const FolderTreeItem& record,
                    bool* enumerated) {
  *enumerated = false;
  if (data->desktop == nullptr) return 0;
  IShellFolder* folder = nullptr;
  bool isDesktop = record.absoluteIdList == nullptr || IdListBytes(record.absoluteIdList) == 0;
  if (isDesktop || FAILED(data->desktop->BindToObject(record.absoluteIdList, nullptr,
                                                      kShellFolderId,
                                                      reinterpret_cast<void**>(&folder)))) {
    folder = data->desktop;
    folder->AddRef();
  }
  IEnumIDList* children = nullptr;
  HRESULT enumResult = folder->EnumObjects(GetParent(tree), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN,
                                           &children);
  int inserted = 0;
  if (enumResult == S_OK && children != nullptr) {
    *enumerated = true;
    LPITEMIDLIST child = nullptr;
    ULONG fetched = 0;
    while (children->Next(1, &child, &fetched) == S_OK && fetched == 1) {
      FolderTreeItem childRecord;
      childRecord.displayName = DisplayNameOf(folder, child, SHGDN_INFOLDER);
      if (childRecord.displayName.empty()) {
        FreeIdList(child);
        continue;
      }
      childRecord.absoluteIdList = JoinIdLists(record.absoluteIdList, child);
      childRecord.relativeIdList = child;
      childRecord.path = PathOfIdList(childRecord.absoluteIdList);
      if (!childRecord.path.empty() && childRecord.path.back() != '\\') childRecord.path += '\\';
      if (FolderTreeInsertItem(tree, item, childRecord.displayName.c_str(), &childRecord) != nullptr) {
        ++inserted;
      } else {
        FreeIdList(childRecord.absoluteIdList);
        FreeIdList(childRecord.relativeIdList);
      }
    }
    children->Release();
  }
  if (inserted > 0) {
    TVSORTCB sort = {};
    sort.hParent = item;
    sort.lpfnCompare = FolderTreeCompare;
    sort.lParam = reinterpret_cast<LPARAM>(folder);
    SendMessageA(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
  }
  folder->Release();
  return inserted;
}

std::string DisplayChainOf(FolderTreeData* data, const std::string& path) {
  IShellFolder* desktop = data->desktop;
  bool ownDesktop = false;
  if (desktop == nullptr) {
    if (FAILED(SHGetDesktopFolder(&desktop)) || desktop == nullptr) return {};
    ownDesktop = true;
  }
  std::string chain;
  std::wstring widePath = AnsiToWide(path);
  LPITEMIDLIST list = nullptr;
  ULONG eaten = 0;
  if (!widePath.empty() &&
      SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, widePath.data(), &eaten, &list, nullptr)) &&
      list != nullptr) {
    LPITEMIDLIST self = AllocIdList(0);
    chain = DisplayNameOf(desktop, self, SHGDN_INFOLDER);
    FreeIdList(self);
    // Each level: bind to its parent and ask the last element's name.
    size_t total = IdListBytes(list);
    for (size_t end = 0; end < total && !chain.empty();) {
      USHORT cb = 0;
      std::memcpy(&cb, reinterpret_cast<BYTE*>(list) + end, sizeof(cb));
      end += cb;
      LPITEMIDLIST prefix = AllocIdList(end);
      if (prefix == nullptr) { chain.clear(); break; }
      std::memcpy(prefix, list, end);
      std::string name;
      IShellFolder* parent = nullptr;
      LPCITEMIDLIST last = LastIdOf(prefix);
      size_t parentBytes = reinterpret_cast<const BYTE*>(last) - reinterpret_cast<const BYTE*>(prefix);
      if (parentBytes == 0) {
        name = DisplayNameOf(desktop, last, SHGDN_INFOLDER);
      } else {
        LPITEMIDLIST parentList = AllocIdList(parentBytes);
        if (parentList != nullptr) {
          std::memcpy(parentList, prefix, parentBytes);
          if (SUCCEEDED(desktop->BindToObject(parentList, nullptr, kShellFolderId,
                                              reinterpret_cast<void**>(&parent)))) {
            name = DisplayNameOf(parent, last, SHGDN_INFOLDER);
            parent->Release();
          }
          FreeIdList(parentList);
        }
      }
      FreeIdList(prefix);
      if (name.empty()) { chain.clear(); break; }
      chain += "\\" + name;
    }
    FreeIdList(list);
  }
  if (ownDesktop) desktop->Release();
  return chain;
}

}  // namespace folder_tree_detail

int CALLBACK FolderTreeCompare(LPARAM first, LPARAM second, LPARAM shellFolder) {
  auto* a = reinterpret_cast<FolderTreeItem*>(first);
  auto* b = reinterpret_cast<FolderTreeItem*>(second);
  auto* folder = reinterpret_cast<IShellFolder*>(shellFolder);
  if (a == nullptr || b == nullptr || folder == nullptr) return 0;
  if (a->relativeIdList == nullptr || b->relativeIdList == nullptr) return 0;
  HRESULT result = folder->CompareIDs(0, a->relativeIdList, b->relativeIdList);
  if (FAILED(result)) return 0;
  return static_cast<short>(HRESULT_CODE(result));
}

}  // namespace suite

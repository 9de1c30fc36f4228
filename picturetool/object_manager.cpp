// The drawing objects: one record and one ORBOBJECT child window of
// CanvasWindow per object.  The windows draw nothing; they give each object
// its mouse-sensitive shape (a region cut to its drawn pixels), its place in
// the z-order and its title.  Called with window 0, ObjectWindowProc is the
// object manager: composing, showing, hiding, merging, deleting, scrolling,
// and the picture's OBF sidecar through the shared codec.  The mouse work
// on an object window (hover, drag, popup) is object_popup.cpp's.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "orbboxes.h"
#include "core/obf_name.h"
#include "core/object_geometry.h"
#include "core/paint_rules.h"
#include "font_family.h"
#include "gdiplus_api.h"
#include "image_functions.h"
#include "imaging.h"
#include "obf_file.h"
#include "overlay_draw.h"
#include "paint_state.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "trace_writer.h"

namespace paint {

namespace {

constexpr char kObjectClass[] = "ORBOBJECT";
constexpr COLORREF kKeyColour = RGB(255, 0, 255);
constexpr int32_t kUnitPixel = 2;
constexpr int32_t kRenderingHint = 4;

// The canvas picture copy: the picture without the objects.
struct CanvasCopy {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  int32_t bitmapWidth = 0, bitmapHeight = 0, copyWidth = 0, copyHeight = 0;
};
CanvasCopy& Copy() {
  static CanvasCopy copy;
  return copy;
}

// The list ORBENUMOBJECT fills: the handles, then a null handle.
std::vector<HWND>& EnumList() {
  static std::vector<HWND> list;
  return list;
}

DrawObject* Record(size_t index) {
  std::vector<DrawObject>& objects = Paint().objects;
  return index >= 1 && index <= objects.size() ? &objects[index - 1] : nullptr;
}

bool IsText(const DrawObject& object) { return object.data.kind == overlay::kKindText; }

void FreeFonts(DrawObject& object) {
  const suite::GdiplusApi* api = suite::Gdiplus();
  if (api != nullptr && object.font != nullptr) api->GdipDeleteFont(object.font);
  if (api != nullptr && object.fontFamily != nullptr) api->GdipDeleteFontFamily(object.fontFamily);
  object.font = nullptr;
  object.fontFamily = nullptr;
}

// The family and font of a text object.  A family this system lacks (the
// sidecar was made elsewhere) is drawn in a stand-in family; the object
// keeps its own family name, so saving it again loses nothing.  False only
// when no family or font can be made at all.
bool MakeFonts(DrawObject& object) {
  FreeFonts(object);
  const suite::GdiplusApi* api = suite::Gdiplus();
  if (api == nullptr) return false;
  bool standIn = false;
  object.fontFamily = suite::ImgFontFamilyForText(object.data.fontFamily, &standIn);
  if (standIn) {
    TraceProgramCall("MakeFonts", orbtrace::QuoteText(object.data.fontFamily),
                     object.fontFamily != nullptr ? "stand-in family" : "no family");
  }
  if (object.fontFamily == nullptr) return false;
  if (api->GdipCreateFont(object.fontFamily, static_cast<float>(object.data.size), 0,
                          static_cast<Gdiplus::Unit>(kUnitPixel), &object.font) != suite::kGdiplusOk) {
    object.font = nullptr;
    FreeFonts(object);
    return false;
  }
  return true;
}

// The size of a text object's window: its text measured in its font.
void MeasureText(DrawObject& object) {
  const suite::GdiplusApi* api = suite::Gdiplus();
  std::string text = object.data.text;
  const auto blank = [](char c) { return c == ' ' || c == '\0'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  while (!text.empty() && blank(text.front())) text.erase(0, 1);
  object.data.width = 0;
  object.data.height = 0;
  if (api == nullptr || object.font == nullptr || text.empty()) return;
  HDC dc = GetDC(object.window);
  Gdiplus::GpGraphics* graphics = nullptr;
  if (dc != nullptr && api->GdipCreateFromHDC(dc, &graphics) == suite::kGdiplusOk) {
    Gdiplus::GpStringFormat* format = nullptr;
    api->GdipCreateStringFormat(0, 0, &format);
    if (format != nullptr && object.data.formatFlags != 0) api->GdipSetStringFormatFlags(format, object.data.formatFlags);
    const std::wstring wide = suite::ImgTextToWide(text);
    Gdiplus::RectF layout(0, 0, 0, 0), bounds(0, 0, 0, 0);
    if (api->GdipMeasureString(graphics, wide.c_str(), static_cast<INT>(wide.size()), object.font, &layout, format,
                               &bounds, nullptr, nullptr) == suite::kGdiplusOk) {
      TextWindowSize(bounds.Width, bounds.Height, object.data.formatFlags, &object.data.width, &object.data.height);
    }
    if (format != nullptr) api->GdipDeleteStringFormat(format);
    api->GdipDeleteGraphics(graphics);
  }
  if (dc != nullptr) ReleaseDC(object.window, dc);
}

void PaintRecord(HDC dc, const DrawObject& object, int32_t x, int32_t y) {
  const overlay::ObfObject& d = object.data;
  if (IsText(object)) {
    overlay::ObfDrawText(dc, d.text, x, y, d.width, d.height, d.colour, kRenderingHint, object.font, d.shadow,
                         d.formatFlags);
  } else {
    const std::string points = PointsToBytes(d.points);
    std::vector<int16_t> values(d.points.size() * 2);
    if (!values.empty()) std::memcpy(values.data(), points.data(), points.size());
    overlay::ObfDrawShape(dc, x, y, static_cast<int32_t>(d.points.size()), values.data(), d.colour, d.shadow, d.size,
                          d.word());
  }
}

void PlaceWindow(const DrawObject& object) {
  const PaintState& p = Paint();
  SetWindowPos(object.window, HWND_TOP, object.data.x - p.scrollX, object.data.y - p.scrollY, object.data.width,
               object.data.height, SWP_NOREDRAW | SWP_NOACTIVATE);
}

void SetShown(DrawObject& object, bool shown) {
  object.data.shown = shown ? 1 : 0;
  ShowWindow(object.window, shown ? SW_SHOW : SW_HIDE);
  EnableWindow(object.window, shown ? TRUE : FALSE);
}

void MarkObjectsChanged() { Paint().modifiedFlags |= kObjectsChanged; }

void ComposeAndRepaint() {
  SendToObjectManager(OM_COMPOSE);
  RepaintWindow(Paint().canvasWindow, false);
}

// Destroys every object window (not the canvas record), from the top of
// the table down.
bool DestroyObjectWindows(bool onlyShown) {
  std::vector<HWND> windows;
  const std::vector<DrawObject>& objects = Paint().objects;
  for (size_t i = objects.size(); i >= 2; --i) {
    if (!onlyShown || objects[i - 1].data.shown == 1) windows.push_back(objects[i - 1].window);
  }
  for (HWND window : windows) DestroyWindow(window);
  return !windows.empty();
}

void BlitCopyIntoCanvas() {
  const PaintState& p = Paint();
  HDC canvas = SKGETHDCMEMBMP(p.canvasWindow);
  if (canvas != nullptr) BitBlt(canvas, 0, 0, p.canvasWidth, p.canvasHeight, reinterpret_cast<HDC>(BlitCanvas(2)), 0, 0, SRCCOPY);
}

// Paints every shown object into the canvas copy, bottom-most first.
bool PaintShownIntoCopy() {
  HDC copy = reinterpret_cast<HDC>(BlitCanvas(2));
  bool any = false;
  for (size_t i = 2; i <= Paint().objects.size(); ++i) {
    const DrawObject& object = Paint().objects[i - 1];
    if (object.data.shown != 1) continue;
    PaintRecord(copy, object, object.data.x, object.data.y);
    any = true;
  }
  return any;
}

std::vector<HWND> EnumerateObjects(int32_t selector);

void ComposeObjects() {
  const PaintState& p = Paint();
  HDC canvas = SKGETHDCMEMBMP(p.canvasWindow);
  if (canvas == nullptr) return;
  BitBlt(canvas, 0, 0, p.canvasWidth, p.canvasHeight, reinterpret_cast<HDC>(BlitCanvas(2)), 0, 0, SRCCOPY);
  // Bottom-most first; the canvas's own record draws nothing.
  for (HWND window : EnumerateObjects(0)) {
    const DrawObject* object = Record(FindObjectIndex(window));
    if (object == nullptr || object->data.kind == 0 || object->data.shown != 1) continue;
    PaintRecord(canvas, *object, object->data.x, object->data.y);
  }
}

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> EnumerateObjects(int32_t selector) {
  std::vector<HWND> topFirst;
  EnumChildWindows(Paint().canvasWindow, CollectChild, reinterpret_cast<LPARAM>(&topFirst));
  // Only the canvas's own children: object windows have no children.
  std::erase_if(topFirst, [](HWND w) { return GetParent(w) != Paint().canvasWindow; });
  if (selector == 0 || selector == -1) {
    const auto upper = static_cast<int32_t>(Paint().objects.size());
    int32_t listed = 0;
    for (HWND window : topFirst) {
      ++listed;
      if (DrawObject* object = Record(FindObjectIndex(window))) {
        object->data.number = upper - listed;
        DefWindowProcA(window, WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(ObjectTitle(Paint().texts.entry(T_OBJECT_TITLE), object->data.number).c_str()));
      }
    }
  }
  std::vector<HWND> list;
  if (selector == -1) {
    list = topFirst;
  } else {
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it) {
      if (selector == 0 || static_cast<int32_t>(GetWindowLongPtrA(*it, GWLP_USERDATA)) == selector) {
        list.push_back(*it);
      }
    }
  }
  return list;
}

void BuildObjectRegion(size_t index) {
  DrawObject* object = Record(index);
  if (object == nullptr || object->data.width < 1 || object->data.height < 1) return;
  const int32_t width = object->data.width, height = object->data.height;
  if (SKCREATEMEMBMP(object->window, width, height) == 0) return;
  HDC dc = SKGETHDCMEMBMP(object->window);
  if (dc == nullptr) {
    SKDELETEMEMBMP(object->window);
    return;
  }
  SKFILLRECT(dc, 0, 0, width, height, kKeyColour);
  PaintRecord(dc, *object, 0, 0);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HRGN region = nullptr;
  if (dib != nullptr) {
    HDC dibDc = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(dibDc, dib);
    BitBlt(dibDc, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dibDc, previous);
    DeleteDC(dibDc);
    region = SKBMPTORGN(dib, kKeyColour);
    DeleteObject(dib);
  }
  SKDELETEMEMBMP(object->window);
  if (region != nullptr) SetWindowRgn(object->window, region, TRUE);
}

// WM_SETTEXT of an object window: its text or its points.
LRESULT GiveContent(HWND window, WPARAM length, const char* bytes) {
  const size_t index = FindObjectIndex(window);
  DrawObject* object = Record(index);
  if (object == nullptr) return 0;
  const std::string data = bytes != nullptr ? std::string(bytes, length) : std::string();
  if (IsText(*object)) {
    object->data.text = data.substr(0, overlay::kObfMaxTextBytes);
    MakeFonts(*object);
    MeasureText(*object);
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, Paint().canvasWindow, reinterpret_cast<POINT*>(&rect), 2);
    SetWindowPos(window, HWND_TOP, rect.left, rect.top, object->data.width, object->data.height,
                 SWP_NOREDRAW | SWP_NOACTIVATE);
  } else {
    ShapePlacement placement;
    if (PlaceShape(object->data.kind, PointsFromBytes(data), object->data.shadow, object->data.size, &placement)) {
      object->data.x = placement.x;
      object->data.y = placement.y;
      object->data.width = placement.width;
      object->data.height = placement.height;
      object->data.points = placement.points;
    }
    PlaceWindow(*object);
  }
  BuildObjectRegion(index);
  ComposeAndRepaint();
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOW);
  MarkObjectsChanged();
  TraceProgramCall("ObjectContent", std::to_string(object->data.kind) + ", " + std::to_string(object->font != nullptr) + ", " + std::to_string(object->data.x) + ", " +
                                        std::to_string(object->data.y) + ", " + std::to_string(object->data.width) +
                                        ", " + std::to_string(object->data.height),
                   "0");
  return 0;
}

std::string ObjectTraceText(const overlay::ObfObject& object) {
  return std::to_string(object.kind) + ", " + std::to_string(object.style) + ", " + orbtrace::QuoteText(object.text) +
         ", " + std::to_string(object.points.size()) + ", " + std::to_string(object.x) + ", " +
         std::to_string(object.y) + ", " + std::to_string(object.shown);
}

// A JPEG of the picture without the objects, no larger than `limit` pixels
// on either side; "" when it cannot be made.
std::string PreviewJpeg(int32_t limit) {
  const PaintState& p = Paint();
  if (p.pictureWidth < 1 || p.pictureHeight < 1 || limit < 1) return "";
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, p.pictureWidth, p.pictureHeight, 24, ORDER_BGR, nullptr, 0, nullptr, 0) !=
      IMG_SUCCESS) {
    return "";
  }
  std::string jpeg;
  if (HDC lead = L_CreateLeadDC(&bitmap)) {
    BitBlt(lead, 0, 0, p.pictureWidth, p.pictureHeight, reinterpret_cast<HDC>(BlitCanvas(2)), 0, 0, SRCCOPY);
    L_DeleteLeadDC(lead);
    const double scale = std::min(1.0, static_cast<double>(limit) / std::max(p.pictureWidth, p.pictureHeight));
    const int width = std::max(1, static_cast<int>(p.pictureWidth * scale));
    const int height = std::max(1, static_cast<int>(p.pictureHeight * scale));
    if (scale < 1.0) L_SizeBitmap(&bitmap, width, height, SIZE_RESAMPLE);
    HGLOBAL memory = nullptr;
    L_UINT32 size = 0;
    if (L_SaveBitmapMemory(&memory, &bitmap, FILE_JPEG, 24, 2, &size) == IMG_SUCCESS && memory != nullptr) {
      if (const void* bytes = GlobalLock(memory)) {
        jpeg.assign(static_cast<const char*>(bytes), size);
        GlobalUnlock(memory);
      }
      GlobalFree(memory);
    }
  }
  L_FreeBitmap(&bitmap);
  return jpeg;
}

// 0x40A: the objects, bottom-most first, into the picture's sidecar.  The
// sidecar is replaced only once the new one is complete; a failed write
// keeps the old one and says so.
LRESULT SaveSidecar(WPARAM length, const char* path) {
  PaintState& p = Paint();
  if (length == 0 || path == nullptr) return 0;
  const std::string picture(path, length);
  overlay::ObfDocument document;
  for (HWND window : EnumerateObjects(0)) {
    const DrawObject* object = Record(FindObjectIndex(window));
    if (object != nullptr && object->data.kind != 0) document.objects.push_back(object->data);
  }
  if (!document.objects.empty()) {
    document.preview = PreviewJpeg(std::max(1, std::atoi(p.texts.entry(T_PREVIEW_SIZE).c_str())));
    document.trailer.canvasWidth = p.pictureWidth;
    document.trailer.canvasHeight = p.pictureHeight;
    document.trailer.colourCount = p.colours;
  }
  const overlay::ObfStatus status = overlay::WriteObfSidecar(picture, document);
  TraceProgramCall("SaveSidecar", orbtrace::QuoteText(picture) + ", " + std::to_string(document.objects.size()),
                   overlay::ObfStatusText(status));
  if (status == overlay::ObfStatus::kOk || status == overlay::ObfStatus::kNothingToWrite) {
    p.modifiedFlags &= ~kObjectsChanged;
  } else {
    suite::boxes::ShowWarningBox(p.texts.entry(T_OBJECTS_NOT_SAVED) + overlay::ObfSidecarPath(picture));
  }
  return 0;
}

// 0x40B: the objects of the picture's sidecar replace the current ones.  A
// picture without a sidecar has no objects: nothing of the picture shown
// before is carried over to it.
LRESULT LoadSidecar(WPARAM length, const char* path) {
  PaintState& p = Paint();
  if (length == 0 || path == nullptr) {
    DestroyObjectWindows(false);
    return 0;
  }
  const std::string picture(path, length);
  DestroyObjectWindows(false);
  overlay::ObfDocument document;
  const overlay::ObfStatus status = overlay::ReadObfSidecar(picture, &document);
  TraceProgramCall("LoadSidecar", orbtrace::QuoteText(picture), overlay::ObfStatusText(status));
  if (status != overlay::ObfStatus::kOk) return 0;
  for (const overlay::ObfObject& line : document.objects) {
    if (line.kind == overlay::kKindText && line.text.empty()) continue;
    if (line.kind < overlay::kKindText || line.kind > overlay::kKindPolyline) continue;
    HWND window = CreateObjectWindow(p.canvasWindow, line.word());
    const size_t index = FindObjectIndex(window);
    DrawObject* object = Record(index);
    if (object == nullptr) {
      if (window != nullptr) DestroyWindow(window);
      continue;
    }
    object->data = line;
    // A text is measured in the font it is drawn with; one that gets no
    // font at all (no GDI+) keeps the size it was saved with, so that the
    // object and its fields survive the next save.
    if (IsText(*object) && MakeFonts(*object)) MeasureText(*object);
    PlaceWindow(*object);
    BuildObjectRegion(index);
    SetShown(*object, line.shown == 1);
    TraceProgramCall("LoadedObject", ObjectTraceText(object->data), "0");
  }
  return 0;
}

LRESULT HandleManagerMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  PaintState& p = Paint();
  std::vector<DrawObject>& objects = p.objects;
  switch (message) {
    case WM_SIZE: {
      if (objects.empty()) return 0;
      RECT client = {};
      GetClientRect(p.canvasWindow, &client);
      p.scrollX = std::clamp(p.scrollX, 0, std::max(0, p.canvasWidth - static_cast<int32_t>(client.right)));
      p.scrollY = std::clamp(p.scrollY, 0, std::max(0, p.canvasHeight - static_cast<int32_t>(client.bottom)));
      for (const DrawObject& object : objects) {
        MoveWindow(object.window, object.data.x - p.scrollX, object.data.y - p.scrollY, object.data.width,
                   object.data.height, FALSE);
      }
      return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      for (const DrawObject& object : objects) {
        RECT rect = {};
        GetWindowRect(object.window, &rect);
        MapWindowPoints(nullptr, p.canvasWindow, reinterpret_cast<POINT*>(&rect), 2);
        const int dx = message == WM_HSCROLL ? static_cast<int>(wParam) : 0;
        const int dy = message == WM_VSCROLL ? static_cast<int>(wParam) : 0;
        MoveWindow(object.window, rect.left - dx, rect.top - dy, rect.right - rect.left, rect.bottom - rect.top, FALSE);
        RepaintWindow(object.window, false);
      }
      return 0;
    case OM_COMPOSE:
      if (objects.empty()) return 0;
      ComposeObjects();
      RepaintWindow(p.canvasWindow, false);
      return -1;
    case OM_SHOW_HIDDEN: {
      bool any = false;
      for (size_t i = 2; i <= objects.size(); ++i) {
        if (objects[i - 1].data.shown == 0) {
          SetShown(objects[i - 1], true);
          any = true;
        }
      }
      if (any) {
        ComposeAndRepaint();
        MarkObjectsChanged();
      }
      return 0;
    }
    case OM_MERGE_SHOWN:
      if (PaintShownIntoCopy()) {
        DestroyObjectWindows(true);
        ComposeAndRepaint();
        MarkObjectsChanged();
      }
      return 0;
    case OM_MERGE_ALL:
      for (size_t i = 2; i <= objects.size(); ++i) SetShown(objects[i - 1], true);
      PaintShownIntoCopy();
      DestroyObjectWindows(false);
      BlitCopyIntoCanvas();
      RepaintWindow(p.canvasWindow, false);
      MarkObjectsChanged();
      return 0;
    case OM_HIDE_ALL:
      if (objects.size() < 2) return 0;
      for (size_t i = 2; i <= objects.size(); ++i) SetShown(objects[i - 1], false);
      BlitCopyIntoCanvas();
      RepaintWindow(p.canvasWindow, false);
      MarkObjectsChanged();
      return 0;
    case OM_LOCK_ALL:
    case OM_UNLOCK_ALL:
      for (size_t i = 2; i <= objects.size(); ++i) objects[i - 1].data.flag = message == OM_LOCK_ALL ? 1 : 0;
      return 0;
    case OM_DELETE_ALL:
      if (objects.size() < 2) return 0;
      if (suite::boxes::ShowInfoBox(p.texts.entry(T_DELETE_ALL_QUESTION), p.texts.entry(T_OK_CANCEL)) == 1) {
        DestroyObjectWindows(false);
        BlitCopyIntoCanvas();
        RepaintWindow(p.canvasWindow, false);
        MarkObjectsChanged();
      }
      return 0;
    case OM_SHOW_WINDOWS:
      for (const DrawObject& object : objects) {
        if (object.data.shown != 1) continue;
        ShowWindow(object.window, wParam != 0 ? SW_SHOW : SW_HIDE);
        EnableWindow(object.window, wParam != 0 ? TRUE : FALSE);
      }
      return 0;
    case OM_SAVE_SIDECAR:
      return SaveSidecar(wParam, reinterpret_cast<const char*>(lParam));
    case OM_LOAD_SIDECAR:
      return LoadSidecar(wParam, reinterpret_cast<const char*>(lParam));
    default:
      return 0;
  }
}

}  // namespace

DrawObject* ObjectRecord(size_t index) { return Record(index); }

void PaintObject(HDC dc, size_t index, int32_t x, int32_t y) {
  const DrawObject* object = Record(index);
  if (index < 2 || object == nullptr || object->data.shown != 1) return;
  PaintRecord(dc, *object, x, y);
}

void BuildRegionOf(size_t index) { BuildObjectRegion(index); }

void ComposeRepaintAndMark() {
  ComposeAndRepaint();
  MarkObjectsChanged();
}

bool MakeObjectFonts(DrawObject* object) { return MakeFonts(*object); }

void MeasureObjectText(DrawObject* object) { MeasureText(*object); }

std::vector<HWND> ListObjects(int32_t selector) { return EnumerateObjects(selector); }

std::string FirstUsableFontFamily() {
  const suite::GdiplusApi* api = suite::Gdiplus();
  if (api == nullptr) return "";
  std::vector<std::string> names;
  LOGFONTA font = {};
  if (GetObjectA(SKDEFAULTFONT(), sizeof(font), &font) != 0) names.push_back(font.lfFaceName);
  for (const char* name : {"Tahoma", "Arial", "Liberation Sans", "DejaVu Sans"}) names.push_back(name);
  for (const std::string& name : names) {
    Gdiplus::GpFontFamily* family = nullptr;
    const std::wstring wide = suite::ImgTextToWide(name);
    const int status = api->GdipCreateFontFamilyFromName(wide.c_str(), nullptr, &family);
    if (status == suite::kGdiplusOk) {
      api->GdipDeleteFontFamily(family);
      TraceProgramCall("FirstUsableFontFamily", "", orbtrace::QuoteText(name));
      return name;
    }
  }
  TraceProgramCall("FirstUsableFontFamily", "", "\"\"");
  return "";
}

LRESULT SendToObjectManager(UINT message, WPARAM wParam, LPARAM lParam) {
  return ObjectWindowProc(nullptr, message, wParam, lParam);
}

size_t FindObjectIndex(HWND window) {
  if (window == nullptr) return 0;
  const std::vector<DrawObject>& objects = Paint().objects;
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i].window == window) return i + 1;
  }
  return 0;
}

size_t ObjectLimitReached() {
  const size_t upper = Paint().objects.size();
  return upper > 99 ? upper : 0;
}

HWND CreateObjectWindow(HWND parent, uint32_t word) {
  PaintState& p = Paint();
  if (SKCHECKCLASS(kObjectClass) == 0) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = ObjectWindowProc;
    windowClass.hInstance = p.instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEALL));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (SKREGISTERCLASS(&windowClass, kObjectClass) == 0) return nullptr;
  }
  HWND window = CreateWindowExA(WS_EX_TRANSPARENT, kObjectClass, "", WS_CHILD, 0, 0, 0, 0, parent, nullptr, p.instance,
                                reinterpret_cast<void*>(static_cast<uintptr_t>(word)));
  if (window != nullptr && FindObjectIndex(window) == 0) {
    DestroyWindow(window);
    return nullptr;
  }
  return window;
}

void ShiftObjects(int32_t dx, int32_t dy) {
  PaintState& p = Paint();
  bool any = false;
  for (size_t i = 2; i <= p.objects.size(); ++i) {
    DrawObject& object = p.objects[i - 1];
    object.data.x += dx;
    object.data.y += dy;
    PlaceWindow(object);
    any = true;
  }
  if (!any) return;
  MarkObjectsChanged();
  ComposeAndRepaint();
}

intptr_t BlitCanvas(int32_t mode) {
  PaintState& p = Paint();
  CanvasCopy& copy = Copy();
  switch (mode) {
    case 0:
      if (copy.dc != nullptr) {
        if (copy.previous != nullptr) SelectObject(copy.dc, copy.previous);
        DeleteDC(copy.dc);
      }
      if (copy.bitmap != nullptr) DeleteObject(copy.bitmap);
      copy = CanvasCopy{};
      return 0;
    case 1: {
      BlitCanvas(0);
      copy.copyWidth = p.pictureWidth;
      copy.copyHeight = p.pictureHeight;
      HDC display = SKDISPLAYDC();
      if (display == nullptr) return 0;
      copy.bitmapWidth = std::max(copy.copyWidth, p.screenWidth);
      copy.bitmapHeight = std::max(copy.copyHeight, p.screenHeight);
      copy.dc = CreateCompatibleDC(display);
      copy.bitmap = CreateCompatibleBitmap(display, copy.bitmapWidth, copy.bitmapHeight);
      DeleteDC(display);
      if (copy.dc == nullptr || copy.bitmap == nullptr) {
        BlitCanvas(0);
        return 0;
      }
      copy.previous = SelectObject(copy.dc, copy.bitmap);
      SKFILLRECT(copy.dc, 0, 0, copy.bitmapWidth, copy.bitmapHeight, RGB(192, 192, 192));
      HDC canvas = SKGETHDCMEMBMP(p.canvasWindow);
      if (canvas != nullptr && copy.copyWidth > 0 && copy.copyHeight > 0) {
        if (GetStretchBltMode(copy.dc) != COLORONCOLOR) SetStretchBltMode(copy.dc, COLORONCOLOR);
        StretchBlt(copy.dc, 0, 0, copy.copyWidth, copy.copyHeight, canvas, 0, 0, p.pictureWidth, p.pictureHeight,
                   SRCCOPY);
      }
      return 1;
    }
    case 2:
      return reinterpret_cast<intptr_t>(copy.dc != nullptr ? copy.dc : SKGETHDCMEMBMP(p.canvasWindow));
    case 3:
      return copy.bitmapWidth;
    case 4:
      return copy.bitmapHeight;
    case 5:
      return copy.copyWidth;
    case 6:
      return copy.copyHeight;
    default:
      return 0;
  }
}

LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == nullptr) return HandleManagerMessage(message, wParam, lParam);
  PaintState& p = Paint();
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      const auto word = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(create->lpCreateParams));
      DrawObject object;
      object.window = window;
      object.data.kind = static_cast<uint16_t>(word & 0xFFFF);
      object.data.style = static_cast<uint16_t>(word >> 16);
      object.data.fontFamily = p.boxSettings.fontFamily;
      object.data.size = p.boxSettings.size;
      object.data.colour = p.boxSettings.colour;
      object.data.shadow = p.boxSettings.shadow;
      if (object.data.kind == overlay::kKindText) {
        object.data.x = p.scrollX;
        object.data.y = p.scrollY;
      }
      object.data.shown = 1;
      object.data.number = static_cast<int32_t>(p.objects.size());
      p.objects.push_back(object);
      DefWindowProcA(window, WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(ObjectTitle(p.texts.entry(T_OBJECT_TITLE), object.data.number).c_str()));
      SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(word));
      return 0;
    }
    case WM_SETTEXT:
      return GiveContent(window, wParam, reinterpret_cast<const char*>(lParam));
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
    case WM_EXITMENULOOP:
      return OnObjectMouse(window, message, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      ValidateRect(window, nullptr);
      return 0;
    case WM_DESTROY: {
      const size_t index = FindObjectIndex(window);
      if (index != 0) {
        FreeFonts(p.objects[index - 1]);
        p.objects.erase(p.objects.begin() + static_cast<std::ptrdiff_t>(index - 1));
      }
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace paint

// The objects of `parent` as a list of window handles: selector 0 every
// child bottom-most first, -1 top-most first (both renumber the objects and
// retitle their windows), any other value the children whose object word
// is the selector.  The list belongs to the program and ends with a null
// handle; it stays valid until the next call.
extern "C" const HWND* __stdcall OrbEnumObject(HWND parent, int32_t selector) {
  std::vector<HWND>& list = paint::EnumList();
  list.clear();
  if (parent == paint::Paint().canvasWindow && parent != nullptr) list = paint::EnumerateObjects(selector);
  list.push_back(nullptr);
  return list.data();
}

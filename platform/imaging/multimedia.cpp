// The multimedia exports (L_MM...): media objects that play the first video
// stream of an AVI file into a play window.
//
// Each object has a playback thread that wakes when a frame is due (or a
// command changed something), works out from the clock which frame that is,
// decodes it into the object's frame bitmap and draws it into the play
// window; the window's own painting draws the same bitmap.  Events are
// posted to a message-only window of the thread that made the object, whose
// procedure calls the event callback, so the caller sees them on its own
// thread and in order.
//
// Locks: `draw` (the AVI source, the frame bitmap, the play window) is
// always taken before `state` (the play state, clip, position, clock);
// nothing that sends a window message runs while either is held.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "avi_source.h"
#include "bitmap_store.h"
#include "error_codes.h"
#include "imaging.h"
#include "library_calls.h"
#include "media_clock.h"

using namespace imaging;

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kEventMessage = WM_APP + 0x4D;
constexpr char kVideoClass[] = "ImagingPlayWindow";
constexpr char kEventClass[] = "ImagingMediaEvents";

enum class PlayState { kStopped, kPlaying, kPaused };

// A 24-bit DIB section of a video's size, selected into a memory DC.
struct FrameCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;

  bool Make(int32_t width, int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc = bitmap != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
    if (dc == nullptr) {
      Release();
      return false;
    }
    old = SelectObject(dc, bitmap);
    return true;
  }
  void Release() {
    if (dc != nullptr) {
      SelectObject(dc, old);
      DeleteDC(dc);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    dc = nullptr;
    bitmap = nullptr;
    old = nullptr;
  }
};

struct MediaObject {
  uint32_t id = 0;
  DWORD thread = 0;        // the thread that made it (and its event window)
  HWND events = nullptr;

  std::mutex draw;  // guards the members up to `state`
  std::unique_ptr<AviSource> source;
  FrameCanvas canvas;      // the frame shown
  int32_t shown = -1;      // its number
  HWND video = nullptr;    // the play window
  RECT place{};            // as asked: 0 width or height follows the parent

  std::mutex state;  // guards the rest
  std::condition_variable wake;
  bool quit = false;
  PlayState play = PlayState::kStopped;
  int32_t length = 0;
  Clip clip;
  int32_t position = 0;
  FrameRate rate;
  int32_t anchorFrame = 0;  // playing: frame anchorFrame was due at anchorTime
  Clock::time_point anchorTime;
  uint64_t generation = 0;  // bumped by every command that changes the timing

  std::thread worker;

  ~MediaObject() {
    // Only at process exit can an object die with its thread still there.
    if (worker.joinable()) worker.detach();
    canvas.Release();
  }
};

// ---------------------------------------------------------------------------
// Handles

std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}
// Kept to the end of the process (never destroyed while a thread may run).
// Keyed by the handle's full value, so no wider handle can alias an id.
std::map<uintptr_t, std::shared_ptr<MediaObject>>& Registry() {
  static auto* objects = new std::map<uintptr_t, std::shared_ptr<MediaObject>>();
  return *objects;
}
uint32_t g_nextId = 0x4D4D0001;

L_HMM HandleOf(uint32_t id) { return reinterpret_cast<L_HMM>(static_cast<uintptr_t>(id)); }

std::shared_ptr<MediaObject> Find(L_HMM media) {
  std::lock_guard<std::mutex> lock(RegistryLock());
  auto found = Registry().find(reinterpret_cast<uintptr_t>(media));
  return found == Registry().end() ? nullptr : found->second;
}

std::shared_ptr<MediaObject> FindById(uint32_t id) { return Find(HandleOf(id)); }

// ---------------------------------------------------------------------------
// Events

struct CallbackSetting {
  std::mutex lock;
  pMMEVENTCALLBACK callback = nullptr;
  void* userData = nullptr;
};
CallbackSetting& Callback() {
  static CallbackSetting setting;
  return setting;
}

void Post(const MediaObject& object, int32_t event, int32_t param) {
  PostMessageA(object.events, kEventMessage, static_cast<WPARAM>(event), static_cast<LPARAM>(param));
}

LRESULT CALLBACK EventWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kEventMessage) {
    pMMEVENTCALLBACK callback = nullptr;
    void* userData = nullptr;
    {
      std::lock_guard<std::mutex> lock(Callback().lock);
      callback = Callback().callback;
      userData = Callback().userData;
    }
    uint32_t id = static_cast<uint32_t>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (callback != nullptr) callback(HandleOf(id), static_cast<L_INT>(wParam), static_cast<L_INT>(lParam), userData);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Drawing (the `draw` lock held)

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

// Draws the frame bitmap fitted into the play window's client area, black
// around it; black alone without a frame.
void PaintInto(const MediaObject& object, HDC dc, const RECT& client) {
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  if (object.canvas.dc == nullptr || object.shown < 0 || object.source == nullptr) {
    FillRect(dc, &client, black);
    return;
  }
  Box fit = FitPicture(object.source->width(), object.source->height(), client.right, client.bottom);
  // The borders first, then the picture: no flicker from a full clear.
  RECT bands[4] = {{0, 0, client.right, fit.top},
                   {0, fit.bottom, client.right, client.bottom},
                   {0, fit.top, fit.left, fit.bottom},
                   {fit.right, fit.top, client.right, fit.bottom}};
  for (const RECT& band : bands)
    if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, black);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top, object.canvas.dc, 0, 0,
             object.source->width(), object.source->height(), SRCCOPY);
}

void PaintVideo(const MediaObject& object) {
  if (object.video == nullptr || !IsWindow(object.video)) return;
  RECT client;
  GetClientRect(object.video, &client);
  HDC dc = GetDC(object.video);
  if (dc == nullptr) return;
  PaintInto(object, dc, client);
  GdiFlush();
  ReleaseDC(object.video, dc);
}

// Decodes `frame` into the frame bitmap and shows it.  False when it could
// not be decoded (the bitmap keeps the frame before).
bool ShowFrame(MediaObject& object, int32_t frame) {
  if (object.source == nullptr || object.canvas.dc == nullptr) return false;
  if (frame != object.shown) {
    if (!object.source->DrawFrame(frame, object.canvas.dc)) return false;
    object.shown = frame;
  }
  PaintVideo(object);
  return true;
}

LRESULT CALLBACK VideoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      std::shared_ptr<MediaObject> object =
          FindById(static_cast<uint32_t>(GetWindowLongPtrA(window, GWLP_USERDATA)));
      if (object != nullptr) {
        std::lock_guard<std::mutex> lock(object->draw);
        PaintInto(*object, dc, client);
      } else {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      }
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool RegisterClasses() {
  static const bool registered = [] {
    WNDCLASSA video{};
    video.lpfnWndProc = VideoWindowProc;
    video.hInstance = ThisModule();
    video.hCursor = LoadCursor(nullptr, IDC_ARROW);
    video.lpszClassName = kVideoClass;
    WNDCLASSA events{};
    events.lpfnWndProc = EventWindowProc;
    events.hInstance = ThisModule();
    events.lpszClassName = kEventClass;
    return RegisterClassA(&video) != 0 && RegisterClassA(&events) != 0;
  }();
  return registered;
}

// ---------------------------------------------------------------------------
// The playback thread

void RunPlayback(MediaObject* object) {
  for (;;) {
    std::unique_lock<std::mutex> draw(object->draw);
    std::unique_lock<std::mutex> state(object->state);
    if (object->quit) return;
    if (object->play != PlayState::kPlaying) {
      draw.unlock();
      object->wake.wait(state);
      continue;
    }
    int64_t micros =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - object->anchorTime).count();
    int64_t due = object->anchorFrame + FramesAfter(object->rate, micros);
    if (due >= object->clip.end) {
      object->play = PlayState::kStopped;
      object->position = object->clip.end;
      const int32_t last = object->clip.end - 1;
      // Posted before the lock goes, so that a play coming at once is told after them.
      Post(*object, MM_EVENT_END, object->clip.end);
      Post(*object, MM_EVENT_STOPPED, 0);
      state.unlock();
      ShowFrame(*object, last);
      continue;
    }
    if (due != object->shown) {
      object->position = static_cast<int32_t>(due);
      const uint64_t before = object->generation;
      state.unlock();
      bool shown = ShowFrame(*object, static_cast<int32_t>(due));
      state.lock();
      if (object->generation != before) continue;  // played, paused or marked meanwhile: look again
      if (!shown) {
        object->play = PlayState::kStopped;
        Post(*object, MM_EVENT_ERROR, static_cast<int32_t>(due));
        Post(*object, MM_EVENT_STOPPED, 0);
        continue;
      }
      Post(*object, MM_EVENT_POSITION, static_cast<int32_t>(due));
    }
    Clock::time_point next =
        object->anchorTime + std::chrono::microseconds(MicrosOfFrames(object->rate, due + 1 - object->anchorFrame));
    draw.unlock();
    const uint64_t seen = object->generation;
    object->wake.wait_until(state, next, [&] { return object->quit || object->generation != seen; });
  }
}

// Starts playing from `frame` (the state lock held).
void StartClock(MediaObject& object, int32_t frame) {
  object.play = PlayState::kPlaying;
  object.anchorFrame = frame;
  object.anchorTime = Clock::now();
  object.position = frame;
  ++object.generation;
  object.wake.notify_all();
}

// ---------------------------------------------------------------------------
// The calls

int32_t Init(L_HMM* media) {
  if (media == nullptr) return kErrorInvalidParameter;
  *media = nullptr;
  if (!RegisterClasses()) return kErrorNoMemory;
  auto object = std::make_shared<MediaObject>();
  object->thread = GetCurrentThreadId();
  object->events = CreateWindowExA(0, kEventClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
  if (object->events == nullptr) return kErrorNoMemory;
  try {
    object->worker = std::thread(RunPlayback, object.get());
  } catch (...) {
    DestroyWindow(object->events);
    return kErrorNoMemory;
  }
  {
    std::lock_guard<std::mutex> lock(RegistryLock());
    object->id = g_nextId++;
    Registry()[object->id] = object;
  }
  SetWindowLongPtrA(object->events, GWLP_USERDATA, static_cast<LONG_PTR>(object->id));
  *media = HandleOf(object->id);
  return kSuccess;
}

int32_t Free(L_HMM media) {
  std::shared_ptr<MediaObject> object;
  {
    std::lock_guard<std::mutex> lock(RegistryLock());
    auto found = Registry().find(reinterpret_cast<uintptr_t>(media));
    if (found == Registry().end()) return kErrorNoBitmap;
    object = found->second;
    Registry().erase(found);
  }
  {
    std::lock_guard<std::mutex> lock(object->state);
    object->quit = true;
    object->wake.notify_all();
  }
  if (object->worker.joinable()) object->worker.join();
  HWND video = nullptr;
  {
    std::lock_guard<std::mutex> lock(object->draw);
    video = object->video;
    object->video = nullptr;
    object->source.reset();
    object->canvas.Release();
    object->shown = -1;
  }
  const bool ownThread = GetCurrentThreadId() == object->thread;
  if (video != nullptr && IsWindow(video)) {
    if (GetWindowThreadProcessId(video, nullptr) == GetCurrentThreadId())
      DestroyWindow(video);
    else
      PostMessageA(video, WM_CLOSE, 0, 0);
  }
  if (ownThread) {
    // The events still queued are delivered before the window goes.
    MSG message;
    while (PeekMessageA(&message, object->events, kEventMessage, kEventMessage, PM_REMOVE))
      DispatchMessageA(&message);
    DestroyWindow(object->events);
  } else {
    PostMessageA(object->events, WM_CLOSE, 0, 0);
  }
  return kSuccess;
}

int32_t Load(MediaObject& object, const char* file) {
  if (file == nullptr || *file == '\0') return kErrorInvalidParameter;
  std::unique_ptr<AviSource> source;
  int32_t opened = AviSource::Open(file, &source);
  if (opened != kSuccess) return opened;
  FrameCanvas canvas;
  if (!canvas.Make(source->width(), source->height())) return kErrorNoMemory;
  if (!source->DrawFrame(0, canvas.dc)) {
    canvas.Release();
    return kErrorFileRead;
  }
  int32_t length = source->length();
  {
    std::lock_guard<std::mutex> draw(object.draw);
    object.source = std::move(source);
    object.canvas.Release();
    object.canvas = canvas;
    object.shown = 0;
    {
      std::lock_guard<std::mutex> state(object.state);
      object.play = PlayState::kStopped;
      object.length = length;
      object.clip = Clip{0, length};
      object.position = 0;
      object.rate = object.source->rate();
      ++object.generation;
      object.wake.notify_all();
    }
    PaintVideo(object);
  }
  Post(object, MM_EVENT_LOADED, length);
  return kSuccess;
}

// The client size of the play window's parent (or of the screen).
SIZE ParentSize(HWND video) {
  HWND parent = GetParent(video);
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (parent != nullptr && (GetWindowLongA(video, GWL_STYLE) & WS_CHILD)) GetClientRect(parent, &area);
  return SIZE{area.right - area.left, area.bottom - area.top};
}

// Moves the play window to its place (no lock held: this sends messages).
void PlaceVideo(HWND video, const RECT& place) {
  SIZE parent = ParentSize(video);
  int width = place.right > 0 ? place.right : parent.cx;
  int height = place.bottom > 0 ? place.bottom : parent.cy;
  MoveWindow(video, place.left, place.top, width, height, TRUE);
  InvalidateRect(video, nullptr, FALSE);
}

int32_t SetPlayWindow(MediaObject& object, HWND parent, L_INT x, L_INT y, L_INT width, L_INT height, L_UINT style) {
  if (parent != nullptr && !IsWindow(parent)) return kErrorInvalidParameter;
  if ((style & WS_CHILD) && parent == nullptr) return kErrorInvalidParameter;
  if (width < 0 || height < 0) return kErrorInvalidParameter;
  RECT place{x, y, width, height};  // right and bottom hold the size asked
  HWND made = CreateWindowExA(0, kVideoClass, "", (style & ~WS_VISIBLE) | WS_CLIPSIBLINGS, x, y,
                              width > 0 ? width : 1, height > 0 ? height : 1, parent, nullptr, ThisModule(),
                              nullptr);
  if (made == nullptr) return kErrorNoMemory;
  SetWindowLongPtrA(made, GWLP_USERDATA, static_cast<LONG_PTR>(object.id));
  HWND old = nullptr;
  {
    std::lock_guard<std::mutex> draw(object.draw);
    old = object.video;
    object.video = made;
    object.place = place;
  }
  if (old != nullptr && IsWindow(old)) DestroyWindow(old);
  PlaceVideo(made, place);
  ShowWindow(made, SW_SHOWNA);
  UpdateWindow(made);
  return kSuccess;
}

int32_t AdjustWindow(MediaObject& object, L_INT x, L_INT y, L_INT width, L_INT height) {
  if (width < 0 || height < 0) return kErrorInvalidParameter;
  HWND video = nullptr;
  RECT place{x, y, width, height};
  {
    std::lock_guard<std::mutex> draw(object.draw);
    video = object.video;
    if (video == nullptr) return kErrorInvalidParameter;
    object.place = place;
  }
  PlaceVideo(video, place);
  UpdateWindow(video);
  return kSuccess;
}

int32_t SetParentWindow(MediaObject& object, HWND parent) {
  if (parent == nullptr || !IsWindow(parent)) return kErrorInvalidParameter;
  HWND video = nullptr;
  RECT place{};
  {
    std::lock_guard<std::mutex> draw(object.draw);
    video = object.video;
    place = object.place;
  }
  if (video == nullptr) return kErrorInvalidParameter;
  if (SetParent(video, parent) == nullptr) return kErrorInvalidParameter;
  PlaceVideo(video, place);
  UpdateWindow(video);
  return kSuccess;
}


int32_t Play(MediaObject& object) {
  std::lock_guard<std::mutex> state(object.state);
  if (object.length <= 0) return kErrorNoBitmap;
  StartClock(object, object.clip.start);
  Post(object, MM_EVENT_PLAYING, object.clip.start);
  return kSuccess;
}

int32_t Pause(MediaObject& object) {
  std::lock_guard<std::mutex> state(object.state);
  if (object.length <= 0) return kErrorNoBitmap;
  if (object.play == PlayState::kStopped) return kErrorFeatureNotSupported;
  if (object.play == PlayState::kPlaying) {
    object.play = PlayState::kPaused;
    ++object.generation;
    object.wake.notify_all();
    Post(object, MM_EVENT_PAUSED, object.position);
  }
  return kSuccess;
}

int32_t Resume(MediaObject& object) {
  std::lock_guard<std::mutex> state(object.state);
  if (object.length <= 0) return kErrorNoBitmap;
  if (object.play == PlayState::kPlaying) return kSuccess;
  int32_t from = object.position;
  if (from < object.clip.start || from >= object.clip.end) from = object.clip.start;
  StartClock(object, from);
  Post(object, MM_EVENT_RESUMED, from);
  return kSuccess;
}

int32_t Stop(MediaObject& object) {
  std::lock_guard<std::mutex> draw(object.draw);
  int32_t start = 0;
  {
    std::lock_guard<std::mutex> state(object.state);
    if (object.length <= 0) return kErrorNoBitmap;
    bool wasStopped = object.play == PlayState::kStopped;
    object.play = PlayState::kStopped;
    object.position = object.clip.start;
    start = object.clip.start;
    ++object.generation;
    object.wake.notify_all();
    if (!wasStopped) Post(object, MM_EVENT_STOPPED, 0);
  }
  ShowFrame(object, start);
  return kSuccess;
}

int32_t SetPosition(MediaObject& object, L_INT position) {
  std::lock_guard<std::mutex> draw(object.draw);
  int32_t frame = 0;
  {
    std::lock_guard<std::mutex> state(object.state);
    if (object.length <= 0) return kErrorNoBitmap;
    if (position < 0 || position > object.length) return kErrorInvalidParameter;
    int32_t kept = std::min(std::max<int32_t>(position, object.clip.start), object.clip.end);
    if (object.play == PlayState::kPlaying)
      StartClock(object, kept);
    else
      object.position = kept;
    ++object.generation;
    object.wake.notify_all();
    frame = std::min(kept, object.clip.end - 1);
    Post(object, MM_EVENT_SEEKED, kept);
  }
  return ShowFrame(object, frame) ? kSuccess : kErrorFileRead;
}

int32_t CopyFrame(MediaObject& object, L_INT position, L_INT count, L_UINT flags) {
  if (flags != MM_COPY_CLIPBOARD) return kErrorInvalidParameter;
  if (count != 1) return count < 1 ? kErrorInvalidParameter : kErrorFeatureNotSupported;
  BITMAPHANDLE frame{};
  HWND owner = nullptr;
  {
    std::lock_guard<std::mutex> draw(object.draw);
    if (object.source == nullptr) return kErrorNoBitmap;
    if (position < 0 || position >= object.source->length()) return kErrorInvalidParameter;
    int32_t made = AllocateBitmap(&frame, object.source->width(), object.source->height(), 24);
    if (made != kSuccess) return made;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = dc != nullptr ? SelectObject(dc, frame.hDIB) : nullptr;
    bool drawn = dc != nullptr && object.source->DrawFrame(position, dc);
    if (dc != nullptr) {
      SelectObject(dc, old);
      DeleteDC(dc);
    }
    if (!drawn) {
      ReleasePixels(&frame);
      return kErrorFileRead;
    }
    owner = object.video;
  }
  int32_t placed = PlaceOnClipboard(owner, frame);
  ReleasePixels(&frame);
  return placed;
}

// Runs `work` on the object behind `media` (kErrorNoBitmap when there is none).
template <typename Work>
int32_t OnObject(L_HMM media, Work work) {
  return Guarded([&]() -> int32_t {
    std::shared_ptr<MediaObject> object = Find(media);
    if (object == nullptr) return kErrorNoBitmap;
    return work(*object);
  });
}

orbtrace::CallLine MediaCall(const char* function, L_HMM media) {
  return Call(function).Number(static_cast<int64_t>(reinterpret_cast<uintptr_t>(media)));
}

}  // namespace

IMAGING_API L_INT WINAPI L_MMInit(L_HMM* media) {
  int32_t result = Guarded([&] { return Init(media); });
  return Traced(Call("L_MMInit"), result);
}

IMAGING_API L_INT WINAPI L_MMFree(L_HMM media) {
  int32_t result = Guarded([&] { return Free(media); });
  return Traced(MediaCall("L_MMFree", media), result);
}

IMAGING_API L_INT WINAPI L_MMLoad(L_HMM media, const char* file, L_UINT flags) {
  int32_t result = OnObject(media, [&](MediaObject& object) { return Load(object, file); });
  return Traced(MediaCall("L_MMLoad", media).Text(file).Number(flags), result);
}

IMAGING_API L_INT WINAPI L_MMSetPlayExt(L_HMM media, HWND parent, L_INT x, L_INT y, L_INT width, L_INT height,
                                        L_UINT style) {
  int32_t result = OnObject(
      media, [&](MediaObject& object) { return SetPlayWindow(object, parent, x, y, width, height, style); });
  return Traced(MediaCall("L_MMSetPlayExt", media).Number(x).Number(y).Number(width).Number(height).Number(style),
                result);
}

IMAGING_API L_INT WINAPI L_MMSetParentWin(L_HMM media, HWND parent) {
  int32_t result = OnObject(media, [&](MediaObject& object) { return SetParentWindow(object, parent); });
  return Traced(MediaCall("L_MMSetParentWin", media), result);
}

IMAGING_API L_INT WINAPI L_MMAdjustWin(L_HMM media, L_INT x, L_INT y, L_INT width, L_INT height) {
  int32_t result = OnObject(media, [&](MediaObject& object) { return AdjustWindow(object, x, y, width, height); });
  return Traced(MediaCall("L_MMAdjustWin", media).Number(x).Number(y).Number(width).Number(height), result);
}

IMAGING_API L_INT WINAPI L_MMMarkClip(L_HMM media, L_INT start, L_INT end) {
  int32_t result = OnObject(media, [&](MediaObject& object) -> int32_t {
    std::lock_guard<std::mutex> state(object.state);
    if (object.length <= 0) return kErrorNoBitmap;
    std::optional<Clip> clip = MarkClip(start, end, object.length);
    if (!clip) return kErrorInvalidParameter;
    object.clip = *clip;
    ++object.generation;
    object.wake.notify_all();
    return kSuccess;
  });
  return Traced(MediaCall("L_MMMarkClip", media).Number(start).Number(end), result);
}

IMAGING_API L_INT WINAPI L_MMPlay(L_HMM media, const char* options) {
  int32_t result = OnObject(media, [&](MediaObject& object) { return Play(object); });
  return Traced(MediaCall("L_MMPlay", media).Text(options), result);
}

IMAGING_API L_INT WINAPI L_MMPause(L_HMM media) {
  int32_t result = OnObject(media, [&](MediaObject& object) { return Pause(object); });
  return Traced(MediaCall("L_MMPause", media), result);
}

IMAGING_API L_INT WINAPI L_MMResume(L_HMM media) {
  int32_t result = OnObject(media, [&](MediaObject& object) { return Resume(object); });
  return Traced(MediaCall("L_MMResume", media), result);
}

IMAGING_API L_INT WINAPI L_MMStop(L_HMM media) {
  int32_t result = OnObject(media, [&](MediaObject& object) { return Stop(object); });
  return Traced(MediaCall("L_MMStop", media), result);
}

IMAGING_API L_INT WINAPI L_MMIsPlaying(L_HMM media) {
  int32_t result = OnObject(media, [&](MediaObject& object) -> int32_t {
    std::lock_guard<std::mutex> state(object.state);
    return object.play == PlayState::kPlaying ? 1 : 0;
  });
  // "Non-zero is playing" to callers: an invalid handle is not playing.
  if (result < 0) result = 0;
  return Traced(MediaCall("L_MMIsPlaying", media), result);
}

IMAGING_API L_INT WINAPI L_MMGetCurrentPos(L_HMM media, L_INT* position) {
  int32_t result = OnObject(media, [&](MediaObject& object) -> int32_t {
    if (position == nullptr) return kErrorInvalidParameter;
    std::lock_guard<std::mutex> state(object.state);
    if (object.length <= 0) return kErrorNoBitmap;
    *position = object.position;
    return kSuccess;
  });
  return Traced(MediaCall("L_MMGetCurrentPos", media), result);
}

IMAGING_API L_INT WINAPI L_MMSetCurrentPos(L_HMM media, L_INT position) {
  int32_t result = OnObject(media, [&](MediaObject& object) { return SetPosition(object, position); });
  return Traced(MediaCall("L_MMSetCurrentPos", media).Number(position), result);
}

IMAGING_API L_INT WINAPI L_MMGetLength(L_HMM media, L_INT* length) {
  int32_t result = OnObject(media, [&](MediaObject& object) -> int32_t {
    if (length == nullptr) return kErrorInvalidParameter;
    std::lock_guard<std::mutex> state(object.state);
    if (object.length <= 0) return kErrorNoBitmap;
    *length = object.length;
    return kSuccess;
  });
  return Traced(MediaCall("L_MMGetLength", media), result);
}

IMAGING_API L_INT WINAPI L_MMCopyFrames(L_HMM media, L_INT position, L_INT count, L_UINT flags) {
  int32_t result = OnObject(media, [&](MediaObject& object) { return CopyFrame(object, position, count, flags); });
  return Traced(MediaCall("L_MMCopyFrames", media).Number(position).Number(count).Number(flags), result);
}

IMAGING_API L_INT WINAPI L_MMSetVolume(L_HMM media, L_INT volume) {
  int32_t result = OnObject(media, [&](MediaObject&) -> int32_t {
    if (volume < 0 || volume > 100) return kErrorInvalidParameter;
    return kErrorFeatureNotSupported;  // no sound is played
  });
  return Traced(MediaCall("L_MMSetVolume", media).Number(volume), result);
}

IMAGING_API L_INT WINAPI L_MMSetEventCallback(pMMEVENTCALLBACK callback, void* userData) {
  {
    std::lock_guard<std::mutex> lock(Callback().lock);
    Callback().callback = callback;
    Callback().userData = userData;
  }
  return Traced(Call("L_MMSetEventCallback").Number(callback != nullptr ? 1 : 0), kSuccess);
}

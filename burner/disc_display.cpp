// The drive choice and the disc display: the device lines, the first
// burner, the medium picture, the capacity text and bar, the volume label,
// and the 500 ms poll of the medium.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "burner_state.h"
#include "core/burner_names.h"
#include "core/disc_figures.h"
#include "core/text_rules.h"
#include "themecore.h"
#include "thread_timers.h"
#include "vdscdll.h"

namespace burner {

namespace {

void CALLBACK PollTimerProc(HWND, UINT, UINT_PTR, DWORD) { PollDisc(); }

// The combo's current line; -1 when none is selected (no burner found).
int CurrentDevice() {
  HWND devices = Burner().devices;
  if (devices == nullptr) return -1;
  LRESULT index = SendMessageA(devices, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

}  // namespace

int32_t FirstBurner() {
  const int32_t count = vdscGetDeviceCount();
  for (int32_t i = 0; i < count; ++i) {
    if (vdscSelectDevice(i) != 0 && vdscDeviceIsBurner() == 1) return i;
  }
  return count;
}

void FillDevices() {
  BurnerState& b = Burner();
  b.deviceCount = vdscGetDeviceCount();
  b.firstBurner = FirstBurner();
  for (int32_t i = 0; i < b.deviceCount; ++i) {
    std::string line = DeviceDisplayName(vdscGetDeviceName(i));
    SendMessageA(b.devices, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  if (b.firstBurner < b.deviceCount) {
    SendMessageA(b.devices, CB_SETCURSEL, static_cast<WPARAM>(b.firstBurner), 0);
    vdscSelectDevice(b.firstBurner);
  }
}

std::string CurrentDeviceLine() {
  const int index = CurrentDevice();
  if (index < 0) return std::string();
  HWND devices = Burner().devices;
  const LRESULT length = SendMessageA(devices, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(devices, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

std::string VolumeLabelOf(const std::string& deviceLine) {
  const char letter = DriveLetterOf(deviceLine);
  if (letter == '\0' || (GetLogicalDrives() & (1u << (letter - 'A'))) == 0) return std::string();
  char root[] = "?:\\";
  root[0] = letter;
  char label[MAX_PATH + 1] = "";
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  BOOL found = GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
  SetErrorMode(oldMode);
  return found ? std::string(label) : std::string();
}

// A drive is asked only while a line of the combo is selected: without a
// burner the library may still hold the last drive it looked at, and its
// answers are not about any drive the window shows.
bool BurnerSelected() {
  return CurrentDevice() >= 0 && vdscDeviceIsBurner() == 1 && vdscWritable() == 1;
}

std::string ReadMediumName() {
  if (CurrentDevice() < 0) return "unknown";
  return MediumBitmapName(vdscDiscIs() + 1, VolumeLabelOf(CurrentDeviceLine()));
}

void SetMediumPicture(const std::string& name) {
  BurnerState& b = Burner();
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(b.instance, suite::UpperAscii(name).c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  HBITMAP replaced = reinterpret_cast<HBITMAP>(
      SendMessageA(b.mediumPicture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  if (replaced != nullptr && replaced != bitmap && replaced != b.mediumBitmap) DeleteObject(replaced);
  if (b.mediumBitmap != nullptr && b.mediumBitmap != bitmap) DeleteObject(b.mediumBitmap);
  b.mediumBitmap = bitmap;
}

void SetCapacityShares(int32_t usedPercent, int32_t imagePercent) {
  BurnerState& b = Burner();
  b.imagePercent = imagePercent;
  b.usedPercent = usedPercent;
  if (b.capacityBar != nullptr) SendMessageA(b.capacityBar, PBM_SETPOS, static_cast<WPARAM>(usedPercent), 0);
}

void ShowDiscFigures() {
  BurnerState& b = Burner();
  const bool haveDrive = CurrentDevice() >= 0;
  const int64_t total = haveDrive ? vdscGetTotalBlocksOnDisc() : 0;
  const int64_t free = haveDrive ? vdscGetFreeBlocksOnDisc() : 0;
  DiscFigures figures = ComputeDiscFigures(b.mediumName, total, free);
  SetCapacityShares(figures.usedPercent, b.imagePercent);
  if (b.capacityText != nullptr) SetWindowTextA(b.capacityText, CapacityText(figures.totalMiB, T(T_MIB)).c_str());
  if (b.burnButton != nullptr && b.busy == 0) {
    EnableWindow(b.burnButton, BurnerSelected() && b.mediumName != "cdaudio");
  }
}

void PollDisc() {
  BurnerState& b = Burner();
  if (b.busy != 0) return;
  std::string name = ReadMediumName();
  if (name == b.mediumName) return;
  StopPollTimer();
  SetMediumPicture(name);
  b.mediumName = name;
  ShowDiscFigures();
  StartPollTimer();
}

void OnDeviceChanged() {
  BurnerState& b = Burner();
  const int index = CurrentDevice();
  if (index >= 0) vdscSelectDevice(index);
  std::string name = ReadMediumName();
  if (name != b.mediumName) {
    SetMediumPicture(name);
    b.mediumName = name;
  }
  ShowDiscFigures();
  SetWindowTextA(b.label, name == "cdaudio" ? "AUDIO CD" : VolumeLabelOf(CurrentDeviceLine()).c_str());
  ComputeImageSize();
}

void StartPollTimer() {
  BurnerState& b = Burner();
  if (b.pollTimer == 0) b.pollTimer = suite::StartThreadTimer(500, PollTimerProc);
}

void StopPollTimer() { suite::KillThreadTimer(Burner().pollTimer); }

}  // namespace burner

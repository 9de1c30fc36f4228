// The exported functions: each forwards to the one library object, built
// when the library is loaded and destroyed when it is unloaded.  ANSI texts
// are converted with the ANSI code page; entries made from ANSI texts open
// their sources by their ANSI names.
#include "vdscdll.h"

#include <algorithm>
#include <string>

#include "vdsc_burner.h"

using namespace discburn;

namespace {

CVDSCBurner g_burner;

constexpr const char* kVersion = "1.12 REGTD (Date: Jul  1 2004)";

std::u16string Wide(const wchar_t* text) { return FromWide(text); }

int Byte(int value) { return value & 0xFF; }

}  // namespace

VDSC_API int VDSC_CALL vdscInitializeASPI(int useAspi, char* aspiLibrary, int reserved, char* logPath) {
  return g_burner.device().InitializeDevices(useAspi, aspiLibrary, reserved, logPath);
}

VDSC_API int VDSC_CALL vdscClearAll() {
  g_burner.project().Clear(0);
  return 1;
}

VDSC_API int VDSC_CALL vdscClearAllEx(int mode, int /*reserved*/) {
  g_burner.project().Clear(mode == 1 ? 1 : 0);
  return 1;
}

VDSC_API char* VDSC_CALL vdscGetDeviceName(int index) {
  return const_cast<char*>(g_burner.device().GetDeviceName(Byte(index)));
}

VDSC_API int VDSC_CALL vdscSelectDevice(int index) { return g_burner.device().SelectDevice(Byte(index)); }

VDSC_API int VDSC_CALL vdscDeviceCan(int code) { return g_burner.DeviceCan(Byte(code)); }

VDSC_API int VDSC_CALL vdscLockMedium() { return g_burner.mmc().Lock(); }
VDSC_API int VDSC_CALL vdscUnlockMedium() { return g_burner.mmc().Unlock(); }
VDSC_API int VDSC_CALL vdscUnlockDrive() { return g_burner.mmc().UnlockDrive(); }
VDSC_API int VDSC_CALL vdscLoadMedium() { return g_burner.mmc().Load(); }
VDSC_API int VDSC_CALL vdscEjectMedium() { return g_burner.mmc().Eject(); }
VDSC_API int VDSC_CALL vdscErasable() { return g_burner.mmc().Erasable(); }
VDSC_API int VDSC_CALL vdscWritable() { return g_burner.mmc().Writable(); }
VDSC_API int VDSC_CALL vdscTestUnitReady() { return g_burner.mmc().TestUnitReady(); }
VDSC_API int VDSC_CALL vdscDeviceIsBurner() { return g_burner.mmc().IsBurner() ? 1 : 0; }
VDSC_API int VDSC_CALL vdscGetDeviceMaxReadSpeed() { return g_burner.mmc().DeviceMaxReadSpeed(); }
VDSC_API int VDSC_CALL vdscGetDeviceMaxWriteSpeed() { return g_burner.mmc().DeviceMaxWriteSpeed(); }
VDSC_API int VDSC_CALL vdscGetMaxWriteSpeed() { return g_burner.mmc().CurrentMaxWriteSpeed(); }
VDSC_API int VDSC_CALL vdscSessionsOnDisc() { return g_burner.mmc().SessionsOnDisc(); }
VDSC_API int VDSC_CALL vdscGetComponentState() { return g_burner.ComponentState(); }

VDSC_API void* VDSC_CALL vdscCreateDir(char* parentPath, char* name) {
  return g_burner.project().CreateDir(AnsiToUtf16(parentPath), AnsiToUtf16(name));
}

VDSC_API void* VDSC_CALL vdscCreateDirW(wchar_t* parentPath, wchar_t* name) {
  return g_burner.project().CreateDir(Wide(parentPath), Wide(name));
}

VDSC_API void* VDSC_CALL vdscInsertFile(char* destDir, char* sourceFile) {
  return g_burner.project().InsertFile(AnsiToUtf16(destDir), AnsiToUtf16(sourceFile), false).node;
}

VDSC_API void* VDSC_CALL vdscInsertFileW(wchar_t* destDir, wchar_t* sourceFile) {
  return g_burner.project().InsertFile(Wide(destDir), Wide(sourceFile), true).node;
}

VDSC_API void* VDSC_CALL vdscInsertFileWithName(char* destDir, char* sourceFile, char* longName,
                                                char* shortName) {
  return g_burner.project()
      .InsertFileWithName(AnsiToUtf16(destDir), AnsiToUtf16(sourceFile), AnsiToUtf16(longName),
                          AnsiToUtf16(shortName), false)
      .node;
}

VDSC_API void* VDSC_CALL vdscInsertFileWithNameW(wchar_t* destDir, wchar_t* sourceFile, wchar_t* longName,
                                                 wchar_t* shortName) {
  return g_burner.project()
      .InsertFileWithName(Wide(destDir), Wide(sourceFile), Wide(longName), Wide(shortName), true)
      .node;
}

VDSC_API void* VDSC_CALL vdscInsertDir(char* destDir, char* sourceDir, char* mask, int recurse, int keepPath) {
  return g_burner.InsertDir(AnsiToUtf16(destDir), AnsiToUtf16(sourceDir), mask ? AnsiToUtf16(mask) : u"*",
                            recurse == 1, keepPath == 1, false);
}

VDSC_API void* VDSC_CALL vdscInsertDirW(wchar_t* destDir, wchar_t* sourceDir, wchar_t* mask, int recurse,
                                        int keepPath) {
  return g_burner.InsertDir(Wide(destDir), Wide(sourceDir), mask ? Wide(mask) : u"*", recurse == 1,
                            keepPath == 1, true);
}

VDSC_API int VDSC_CALL vdscEraseDisc(int mode, BurnCompletionCallback callback) {
  return g_burner.erase().EraseDisc(mode, callback);
}

VDSC_API int VDSC_CALL vdscBurn(BurnCompletionCallback callback) { return g_burner.burn().Burn(callback); }
VDSC_API int VDSC_CALL vdscBurnISOImage(char* imagePath) { return g_burner.burn().BurnImage(imagePath); }
VDSC_API int VDSC_CALL vdscBuildISOImage(char* imagePath) { return g_burner.burn().BuildImage(imagePath); }

VDSC_API int VDSC_CALL vdscImportSession(int session, char* destDir) {
  return g_burner.ImportSession(Byte(session), AnsiToUtf16(destDir));
}

VDSC_API int VDSC_CALL vdscImportSessionW(int session, wchar_t* destDir) {
  return g_burner.ImportSession(Byte(session), Wide(destDir));
}

VDSC_API int VDSC_CALL vdscPrepare() { return g_burner.Prepare(); }

VDSC_API int VDSC_CALL vdscGetImageSize() {
  return static_cast<int>(g_burner.project().layout.imageSectors);
}

VDSC_API int VDSC_CALL vdscGetBlocksWritten() { return static_cast<int>(g_burner.burn().sectorsWritten()); }
VDSC_API int VDSC_CALL vdscDiscIs() { return g_burner.mmc().QueryDiscType(); }
VDSC_API int VDSC_CALL vdscGetFreeBlocksOnDisc() { return static_cast<int>(g_burner.mmc().FreeBlocks()); }
VDSC_API int VDSC_CALL vdscGetTotalBlocksOnDisc() { return static_cast<int>(g_burner.mmc().TotalBlocks()); }
VDSC_API int VDSC_CALL vdscAbortBurn() { return g_burner.burn().Abort(); }

VDSC_API int VDSC_CALL vdscGetCacheSize() { return static_cast<int>(g_burner.burn().cacheBytes()); }
VDSC_API int VDSC_CALL vdscSetCacheSize(int bytes) { return static_cast<int>(g_burner.burn().SetCacheBytes(bytes)); }

VDSC_API int VDSC_CALL vdscGetCachePosition() {
  return static_cast<int>(g_burner.burn().filledSlots() * 65536u);
}

VDSC_API int VDSC_CALL vdscGetReadSpeed() { return g_burner.mmc().CurrentReadSpeed(); }
// The read speed is sent to no drive; the setter only answers its argument.
VDSC_API int VDSC_CALL vdscSetReadSpeed(int speed) { return speed; }
VDSC_API int VDSC_CALL vdscGetWriteSpeed() { return g_burner.mmc().CurrentWriteSpeed(); }

VDSC_API int VDSC_CALL vdscSetWriteSpeed(int speed) {
  return g_burner.mmc().SetWriteSpeed(static_cast<uint8_t>(Byte(speed)));
}

VDSC_API int VDSC_CALL vdscSetTestWrite(int flag) { return g_burner.mmc().settings().testWrite = flag; }
VDSC_API int VDSC_CALL vdscSetBurnProof(int flag) { return g_burner.mmc().settings().burnProof = flag; }
// The post-gap and power-calibration flags are kept for the client; no
// command uses them.
VDSC_API int VDSC_CALL vdscSetPostGap(int flag) { return flag; }
VDSC_API int VDSC_CALL vdscSetPerformOPC(int flag) { return g_burner.mmc().settings().powerCalibration = flag; }

VDSC_API int VDSC_CALL vdscGetDeviceBufferSize() {
  return g_burner.burn().isRunning() ? static_cast<int>(g_burner.burn().bufferLength()) : 0;
}

VDSC_API int VDSC_CALL vdscGetDeviceBufferPosition() {
  return static_cast<int>(g_burner.burn().bufferUsed());
}

VDSC_API int VDSC_CALL vdscSetFinalizeDisc(int flag) { return g_burner.mmc().settings().finalize = flag; }

VDSC_API int VDSC_CALL vdscSetVolumeID(char* label) {
  g_burner.project().SetVolumeId(AnsiToUtf16(label));
  return 1;
}

VDSC_API int VDSC_CALL vdscSetVolumeIDW(wchar_t* label) {
  g_burner.project().SetVolumeId(Wide(label));
  return 1;
}

VDSC_API int VDSC_CALL vdscSetBootImage(char* path) {
  if (path == nullptr) return 0;
  return g_burner.project().SetBootImage(AnsiToUtf16(path), false) ? 1 : 0;
}

VDSC_API int VDSC_CALL vdscGetDeviceCount() { return Byte(std::min(g_burner.device().GetDeviceCount(), 26)); }
VDSC_API char* VDSC_CALL vdscGetVDSCVersion() { return const_cast<char*>(kVersion); }
VDSC_API int VDSC_CALL vdscGetErrorNumber() { return g_burner.TakeErrorNumber(); }
VDSC_API char* VDSC_CALL vdscGetErrorString() { return const_cast<char*>(g_burner.TakeErrorText()); }
VDSC_API wchar_t* VDSC_CALL vdscGetErrorStringW() { return const_cast<wchar_t*>(g_burner.TakeErrorTextW()); }
VDSC_API int VDSC_CALL vdscSetJolietFS(int flag) {
  g_burner.project().hasJolietTree = flag != 0;
  return flag;
}

VDSC_API int VDSC_CALL vdscSetReplaceFile(int flag) {
  g_burner.project().replaceFiles = flag != 0;
  return flag;
}

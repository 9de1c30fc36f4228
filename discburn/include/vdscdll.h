// The disc-burning library's exported functions (orbburn.dll), as the disc
// burner calls them.
//
// Conventions:
//  - every function is stdcall and exported undecorated ("vdscBurn"), with
//    the ordinal of exports/vdsc.def;
//  - texts are zero-terminated ANSI (char) or UTF-16 (wchar_t); texts the
//    library returns live in its own buffers until the next call of the
//    same kind, so the caller copies them at once;
//  - "8-bit" results: only the low byte is meaningful;
//  - failure is a 0 / NULL result; the reason is read with
//    vdscGetErrorNumber or one of the error texts, which clear it;
//  - the root directory of the disc is named "\".
#pragma once

#include <wchar.h>

#ifdef ORBBURN_BUILDING
#define VDSC_API extern "C"
#else
#define VDSC_API extern "C" __declspec(dllimport)
#endif
#define VDSC_CALL __stdcall

// Called once when a burn or an erase ends, on a library thread:
// 0 = succeeded, 1 = failed or stopped.  Caller-cleans convention.
typedef void(__cdecl* BurnCompletionCallback)(int result);

// vdscGetComponentState results.
enum BurnState {
  kBurnStateIdle = 0,
  kBurnStateWriting = 1,
  kBurnStateErasing = 2,
  kBurnStateZeroing = 3,  // a full DVD+RW erase writes its zero sectors
  kBurnStateWritten = 4,
  kBurnStatePreparing = 5,
  kBurnStateImporting = 7,
  kBurnStateWriteFailed = 8,
};

// vdscGetErrorNumber results below 256; larger numbers are the drive's
// sense code (additional sense code << 8 | qualifier).
enum BurnError {
  kBurnErrorNone = 0,
  kBurnErrorNotPrepared = 1,
  kBurnErrorOpenFile = 2,
  kBurnErrorCreateFile = 3,
  kBurnErrorAborted = 4,
};

// Drive table and drive commands.
VDSC_API int VDSC_CALL vdscInitializeASPI(int useAspi, char* aspiLibrary, int reserved, char* logPath);
VDSC_API int VDSC_CALL vdscClearAll();
VDSC_API int VDSC_CALL vdscClearAllEx(int mode, int reserved);
VDSC_API char* VDSC_CALL vdscGetDeviceName(int index);
VDSC_API int VDSC_CALL vdscSelectDevice(int index);
VDSC_API int VDSC_CALL vdscDeviceCan(int code);
VDSC_API int VDSC_CALL vdscLockMedium();
VDSC_API int VDSC_CALL vdscUnlockMedium();
VDSC_API int VDSC_CALL vdscUnlockDrive();
VDSC_API int VDSC_CALL vdscLoadMedium();
VDSC_API int VDSC_CALL vdscEjectMedium();
VDSC_API int VDSC_CALL vdscErasable();
VDSC_API int VDSC_CALL vdscWritable();
VDSC_API int VDSC_CALL vdscTestUnitReady();
VDSC_API int VDSC_CALL vdscDeviceIsBurner();
VDSC_API int VDSC_CALL vdscGetDeviceMaxReadSpeed();
VDSC_API int VDSC_CALL vdscGetDeviceMaxWriteSpeed();
VDSC_API int VDSC_CALL vdscGetMaxWriteSpeed();
VDSC_API int VDSC_CALL vdscSessionsOnDisc();
VDSC_API int VDSC_CALL vdscGetComponentState();

// The project tree.
VDSC_API void* VDSC_CALL vdscCreateDir(char* parentPath, char* name);
VDSC_API void* VDSC_CALL vdscCreateDirW(wchar_t* parentPath, wchar_t* name);
VDSC_API void* VDSC_CALL vdscInsertFile(char* destDir, char* sourceFile);
VDSC_API void* VDSC_CALL vdscInsertFileW(wchar_t* destDir, wchar_t* sourceFile);
VDSC_API void* VDSC_CALL vdscInsertFileWithName(char* destDir, char* sourceFile, char* longName, char* shortName);
VDSC_API void* VDSC_CALL vdscInsertFileWithNameW(wchar_t* destDir, wchar_t* sourceFile, wchar_t* longName,
                                                 wchar_t* shortName);
VDSC_API void* VDSC_CALL vdscInsertDir(char* destDir, char* sourceDir, char* mask, int recurse, int keepPath);
VDSC_API void* VDSC_CALL vdscInsertDirW(wchar_t* destDir, wchar_t* sourceDir, wchar_t* mask, int recurse,
                                        int keepPath);

// Erasing and burning.
VDSC_API int VDSC_CALL vdscEraseDisc(int mode, BurnCompletionCallback callback);
VDSC_API int VDSC_CALL vdscBurn(BurnCompletionCallback callback);
VDSC_API int VDSC_CALL vdscBurnISOImage(char* imagePath);
VDSC_API int VDSC_CALL vdscBuildISOImage(char* imagePath);
VDSC_API int VDSC_CALL vdscImportSession(int session, char* destDir);
VDSC_API int VDSC_CALL vdscImportSessionW(int session, wchar_t* destDir);
VDSC_API int VDSC_CALL vdscPrepare();
VDSC_API int VDSC_CALL vdscGetImageSize();
VDSC_API int VDSC_CALL vdscGetBlocksWritten();
VDSC_API int VDSC_CALL vdscDiscIs();
VDSC_API int VDSC_CALL vdscGetFreeBlocksOnDisc();
VDSC_API int VDSC_CALL vdscGetTotalBlocksOnDisc();
// Stops a running burn: it ends as a failure with error 4.
VDSC_API int VDSC_CALL vdscAbortBurn();

// Settings.
VDSC_API int VDSC_CALL vdscGetCacheSize();
VDSC_API int VDSC_CALL vdscSetCacheSize(int bytes);
VDSC_API int VDSC_CALL vdscGetCachePosition();
VDSC_API int VDSC_CALL vdscGetReadSpeed();
VDSC_API int VDSC_CALL vdscSetReadSpeed(int speed);
VDSC_API int VDSC_CALL vdscGetWriteSpeed();
VDSC_API int VDSC_CALL vdscSetWriteSpeed(int speed);
VDSC_API int VDSC_CALL vdscSetTestWrite(int flag);
VDSC_API int VDSC_CALL vdscSetBurnProof(int flag);
VDSC_API int VDSC_CALL vdscSetPostGap(int flag);
VDSC_API int VDSC_CALL vdscSetPerformOPC(int flag);
VDSC_API int VDSC_CALL vdscGetDeviceBufferSize();
VDSC_API int VDSC_CALL vdscGetDeviceBufferPosition();
VDSC_API int VDSC_CALL vdscSetFinalizeDisc(int flag);
VDSC_API int VDSC_CALL vdscSetVolumeID(char* label);
VDSC_API int VDSC_CALL vdscSetVolumeIDW(wchar_t* label);
VDSC_API int VDSC_CALL vdscSetBootImage(char* path);
VDSC_API int VDSC_CALL vdscGetDeviceCount();
VDSC_API char* VDSC_CALL vdscGetVDSCVersion();
VDSC_API int VDSC_CALL vdscGetErrorNumber();
VDSC_API char* VDSC_CALL vdscGetErrorString();
VDSC_API wchar_t* VDSC_CALL vdscGetErrorStringW();
VDSC_API int VDSC_CALL vdscSetJolietFS(int flag);
VDSC_API int VDSC_CALL vdscSetReplaceFile(int flag);

// The imaging library's exported functions for pictures and videos, as the
// suite's programs call them (the media browser, the media player, the
// picture browser and the picture tool link imaging.dll).
//
// Conventions (see platform/imaging/README.md):
//  - every function is stdcall and exported undecorated ("L_LoadBitmap");
//  - results: 1 (IMG_SUCCESS) when the call did what was asked, a negative
//    error code (core/error_codes.h, the README's table) when it did not;
//    functions giving a handle give 0 on failure;
//  - a picture in memory is a BITMAPHANDLE that the caller owns and the
//    library fills: L_LoadBitmap, L_CreateBitmap, L_CopyBitmap and
//    L_CopyFromClipboard make one, L_FreeBitmap releases its pixels;
//  - pixels are B, G, R (and A at 32 bits) bytes, the top row first
//    (Data, BytesPerLine), held in a DIB section, so a device context from
//    L_CreateLeadDC draws straight into them;
//  - paths are zero-terminated ANSI texts;
//  - a video is a media object (L_HMM) made by L_MMInit and released by
//    L_MMFree; positions, lengths and clips count frames.
#pragma once

#include <windows.h>

#include <stdint.h>

#ifdef IMAGING_BUILDING
#define IMAGING_API extern "C"
#else
#define IMAGING_API extern "C" __declspec(dllimport)
#endif

typedef int L_INT;
typedef unsigned int L_UINT;
typedef unsigned char L_UCHAR;
typedef uint32_t L_UINT32;

enum {
  IMG_SUCCESS = 1,
};

// File format numbers (the programs' format tables use the same numbers).
// Written and read: FILE_BMP, FILE_JPEG, FILE_PNG, FILE_GIF, FILE_TIF; the
// others are known numbers that fail with "format not written".
enum {
  FILE_PCX = 1,
  FILE_TIF = 3,
  FILE_TGA = 4,
  FILE_CMP = 5,
  FILE_BMP = 6,
  FILE_GIF = 7,
  FILE_JPEG = 10,
  FILE_WMF = 15,
  FILE_EPS = 16,
  FILE_WPG = 54,
  FILE_RAS = 55,
  FILE_PCT = 56,
  FILE_PNG = 75,
  FILE_PSD = 76,
  FILE_FPX = 80,
};

// Colour order of the pixel bytes: only ORDER_BGR is made.
enum { ORDER_BGR = 1 };

// Memory kinds for L_CreateBitmap: every bitmap is held in conventional
// memory (a DIB section), whatever kind is asked for.
enum { TYPE_CONV = 0x0002 };

// BITMAPHANDLE.Flags
enum {
  BITMAP_ALLOCATED = 0x0001,     // the handle holds pixels
  BITMAP_CONVENTIONAL = 0x0002,  // held in conventional memory (always, here)
};

// L_SizeBitmap flags
enum {
  SIZE_NORMAL = 0,    // each new pixel copies the nearest old one
  SIZE_STRETCH = 1,   // the same as SIZE_NORMAL
  SIZE_RESAMPLE = 2,  // area average when shrinking, linear when enlarging
};

// L_RotateBitmap flags
enum { ROTATE_RESIZE = 0x0001 };  // the bitmap takes the turned size

// A picture in memory.  Filled by the library; the caller keeps the record
// and passes it to every call.  A record made by memset(0) is "no bitmap".
typedef struct _BITMAPHANDLE {
  L_UINT uStructSize;     // sizeof(BITMAPHANDLE), set by the library
  L_INT Width;            // pixels
  L_INT Height;           // pixels
  L_INT BitsPerPixel;     // 24 or 32
  L_INT BytesPerLine;     // bytes from one row to the next (whole 32-bit words)
  L_UINT Flags;           // BITMAP_ALLOCATED | BITMAP_CONVENTIONAL
  L_INT Order;            // ORDER_BGR
  L_INT XResolution;      // dots per inch, from the file when it has them (else 96)
  L_INT YResolution;
  L_UCHAR* Data;          // Height rows of BytesPerLine bytes, the top row first; owned by the library
  HBITMAP hDIB;           // the DIB section holding Data; owned by the library
} BITMAPHANDLE, *pBITMAPHANDLE;

// What L_FileInfo and L_LoadBitmap tell of a file.
typedef struct _FILEINFO {
  L_UINT uStructSize;   // sizeof(FILEINFO), set by the library
  char Name[260];       // the file name part of the path
  L_INT Format;         // FILE_BMP, FILE_JPEG ...
  L_INT Width;
  L_INT Height;
  L_INT BitsPerPixel;   // the file's own depth (1, 4, 8, 16, 24, 32, 48, 64)
  L_INT BytesPerLine;   // of a DIB row at the file's depth
  L_UINT32 SizeDisk;    // bytes of the file
  L_UINT32 SizeMem;     // bytes of its pixels at the file's depth
  L_INT XResolution;    // dots per inch
  L_INT YResolution;
  L_INT TotalPages;     // frames of an animated GIF or pages of a TIFF, else 1
} FILEINFO, *pFILEINFO;

// ---------------------------------------------------------------------------
// Files (files.cpp)

// Reads what `file` is without decoding its pixels; `flags` and
// `loadOptions` are accepted and not used.  The record is cleared first.
IMAGING_API L_INT WINAPI L_FileInfo(const char* file, pFILEINFO info, L_UINT flags, void* loadOptions);

// Decodes `file` into `bitmap` (which must hold no pixels, or be a record
// the caller does not need: it is overwritten).  bitsPerPixel 0 keeps the
// file's depth as far as the library holds it (32 for a file with alpha,
// else 24); 24 and 32 are taken as asked; others fail with the
// bits-per-pixel error.  order must be ORDER_BGR.  `fileInfo`, when given,
// receives L_FileInfo's record.
IMAGING_API L_INT WINAPI L_LoadBitmap(const char* file, pBITMAPHANDLE bitmap, L_INT bitsPerPixel,
                                      L_INT order, void* loadOptions, pFILEINFO fileInfo);

// Encodes `bitmap` as `format` with `bitsPerPixel` (0 = the bitmap's) and
// the quality factor (JPEG: 0 or 2 the best, larger compress harder) and
// writes it to `file` through a temporary file in the same folder, so a
// failed save leaves an existing file as it was.  A format not written
// here, or a depth the format cannot take, writes nothing.
IMAGING_API L_INT WINAPI L_SaveBitmap(const char* file, pBITMAPHANDLE bitmap, L_INT format,
                                      L_INT bitsPerPixel, L_INT qualityFactor, L_UINT flags);

// The same encoding into new global memory: *memory receives a movable
// HGLOBAL the caller frees with GlobalFree, *size its byte count.  Both are
// set to 0 on failure.
IMAGING_API L_INT WINAPI L_SaveBitmapMemory(HGLOBAL* memory, pBITMAPHANDLE bitmap, L_INT format,
                                            L_INT bitsPerPixel, L_INT qualityFactor, L_UINT32* size);

// Loads `source`, resamples it to width x height when both are above 0,
// and saves it as `target` in `format` (as L_SaveBitmap).
IMAGING_API L_INT WINAPI L_FileConvert(const char* source, const char* target, L_INT format,
                                       L_INT width, L_INT height, L_INT bitsPerPixel,
                                       L_INT qualityFactor, void* loadOptions, void* saveOptions,
                                       pFILEINFO fileInfo);

// ---------------------------------------------------------------------------
// Bitmaps (bitmaps.cpp)

// Makes a bitmap of width x height filled with black.  memoryType and
// order are accepted as TYPE_CONV and ORDER_BGR; bitsPerPixel 24 or 32;
// palette, viewPerspective, data and dataSize must be 0.
IMAGING_API L_INT WINAPI L_CreateBitmap(pBITMAPHANDLE bitmap, L_UINT memoryType, L_UINT width,
                                        L_UINT height, L_INT bitsPerPixel, L_INT order,
                                        RGBQUAD* palette, L_UINT viewPerspective, L_UCHAR* data,
                                        L_UINT32 dataSize);
// Releases the pixels and clears the record; a record without pixels is left as it is.
IMAGING_API void WINAPI L_FreeBitmap(pBITMAPHANDLE bitmap);
// A new bitmap in `target` with the pixels of `source`.
IMAGING_API L_INT WINAPI L_CopyBitmap(pBITMAPHANDLE target, pBITMAPHANDLE source);
// Resizes the bitmap to width x height (SIZE_NORMAL, SIZE_STRETCH, SIZE_RESAMPLE).
IMAGING_API L_INT WINAPI L_SizeBitmap(pBITMAPHANDLE bitmap, L_INT width, L_INT height, L_UINT flags);
// Upside down.
IMAGING_API L_INT WINAPI L_FlipBitmap(pBITMAPHANDLE bitmap);
// Left-right mirror.
IMAGING_API L_INT WINAPI L_ReverseBitmap(pBITMAPHANDLE bitmap);
// Turns by angle hundredths of a degree, positive clockwise; only whole
// quarter turns (multiples of 9000).  With ROTATE_RESIZE the bitmap takes
// the turned size; without it the size stays and the turned picture is
// centred on `fill` (cut where it sticks out).
IMAGING_API L_INT WINAPI L_RotateBitmap(pBITMAPHANDLE bitmap, L_INT angle, L_UINT flags, COLORREF fill);
// The number of different colours of the bitmap (> 0), or an error code.
IMAGING_API L_INT WINAPI L_GetBitmapColorCount(pBITMAPHANDLE bitmap);

// ---------------------------------------------------------------------------
// Effects (effects.cpp): each changes the bitmap in place and gives 1, or -3
// (the bitmap untouched) for a value out of its range.  Neighbourhood
// filters repeat the edge pixels beyond the edges.

// Contrast -1000 (flat grey) .. 1000 (black and white) around the middle grey.
IMAGING_API L_INT WINAPI L_ChangeBitmapContrast(pBITMAPHANDLE bitmap, L_INT change);
// Brightness -1000 (black) .. 1000 (white).
IMAGING_API L_INT WINAPI L_ChangeBitmapIntensity(pBITMAPHANDLE bitmap, L_INT change);
// Turns every hue by -360 .. 360 degrees.
IMAGING_API L_INT WINAPI L_ChangeBitmapHue(pBITMAPHANDLE bitmap, L_INT degrees);
// Saturation -1000 (grey) .. 1000.
IMAGING_API L_INT WINAPI L_ChangeBitmapSaturation(pBITMAPHANDLE bitmap, L_INT change);
// Gamma in hundredths, 1 .. 10000 (100 changes nothing, more brightens).
IMAGING_API L_INT WINAPI L_GammaCorrectBitmap(pBITMAPHANDLE bitmap, L_INT gamma);
// The negative.
IMAGING_API L_INT WINAPI L_InvertBitmap(pBITMAPHANDLE bitmap);
// Grey levels (bitsPerPixel 8 only, else -9); the bitmap keeps its depth
// with its three colours equal.
IMAGING_API L_INT WINAPI L_GrayScaleBitmap(pBITMAPHANDLE bitmap, L_INT bitsPerPixel);
// Contrast -1000 .. 1000 around the picture's mean luminance.
IMAGING_API L_INT WINAPI L_HistoContrastBitmap(pBITMAPHANDLE bitmap, L_INT change);
// Equalizes each colour's histogram.
IMAGING_API L_INT WINAPI L_HistoEqualizeBitmap(pBITMAPHANDLE bitmap);
// Stretches the darkest and brightest values to 0 and 255.
IMAGING_API L_INT WINAPI L_StretchBitmapIntensity(pBITMAPHANDLE bitmap);
// Sharpens (> 0) or softens (< 0), -1000 .. 1000.
IMAGING_API L_INT WINAPI L_SharpenBitmap(pBITMAPHANDLE bitmap, L_INT change);
// Inverts every colour value above threshold (0 .. 255).
IMAGING_API L_INT WINAPI L_SolarizeBitmap(pBITMAPHANDLE bitmap, L_INT threshold);
// 2 .. 256 levels a colour.
IMAGING_API L_INT WINAPI L_PosterizeBitmap(pBITMAPHANDLE bitmap, L_INT levels);
// Square tiles of `size` pixels (0 .. 1000; 0 and 1 change nothing) of their mean colour.
IMAGING_API L_INT WINAPI L_MosaicBitmap(pBITMAPHANDLE bitmap, L_INT size);
// The mean, the median, the most frequent value of each size x size
// neighbourhood (0 .. 1000; 0 and 1 change nothing).
IMAGING_API L_INT WINAPI L_AverageFilterBitmap(pBITMAPHANDLE bitmap, L_INT size);
IMAGING_API L_INT WINAPI L_MedianFilterBitmap(pBITMAPHANDLE bitmap, L_INT size);
IMAGING_API L_INT WINAPI L_OilifyBitmap(pBITMAPHANDLE bitmap, L_INT size);
// Relief lit from direction 0 (north) .. 7 (north-west, clockwise in
// eighths), depth 0 .. 1000; mid grey where the picture is flat.
IMAGING_API L_INT WINAPI L_EmbossBitmap(pBITMAPHANDLE bitmap, L_INT direction, L_INT depth);
// Cuts away the border of the top-left pixel's colour (within threshold,
// 0 .. 255); the bitmap takes the smaller size.
IMAGING_API L_INT WINAPI L_AutoTrimBitmap(pBITMAPHANDLE bitmap, L_INT threshold);
// L_UnderlayBitmap flags
enum {
  UNDERLAY_TILE = 0,     // the underlay repeats from the top left
  UNDERLAY_STRETCH = 1,  // the underlay is stretched to the bitmap's size
};
// Lays `underlay` under the bitmap as a texture: each colour is scaled by
// the underlay's luminance / 128 (middle grey leaves it, limited to 255).
IMAGING_API L_INT WINAPI L_UnderlayBitmap(pBITMAPHANDLE bitmap, pBITMAPHANDLE underlay, L_INT flags);

// ---------------------------------------------------------------------------
// Painting, printing, device contexts and the clipboard (painting.cpp)

// Paints the bitmap's `source` rectangle (null: all of it) into the DC's
// `destination` rectangle (null: the bitmap's size at 0, 0), stretched, with
// raster operation rop; `clip` (null: none) limits what is painted.
IMAGING_API L_INT WINAPI L_PaintDC(HDC dc, pBITMAPHANDLE bitmap, const RECT* source, const RECT* clip,
                                   const RECT* destination, DWORD rop);
// Prints the whole bitmap into (x, y, width, height) of a printer DC (any DC
// serves), stretched with averaging; a width or height of 0 takes the
// bitmap's.  `flags` is accepted and not used.
IMAGING_API L_INT WINAPI L_PrintBitmapExt(HDC dc, pBITMAPHANDLE bitmap, L_INT x, L_INT y, L_INT width,
                                          L_INT height, L_UINT flags);
// A palette for painting the bitmap on a palette device; 0 on a true-colour
// device (nothing is needed) or for a bad bitmap.  The caller deletes it.
IMAGING_API HPALETTE WINAPI L_CreatePaintPalette(HDC dc, pBITMAPHANDLE bitmap);
// A memory DC with the bitmap's pixels selected: what is drawn on it lands
// in the bitmap.  0 on failure.  Delete it with L_DeleteLeadDC before the
// bitmap is changed, resized or freed.
IMAGING_API HDC WINAPI L_CreateLeadDC(pBITMAPHANDLE bitmap);
IMAGING_API BOOL WINAPI L_DeleteLeadDC(HDC dc);
// A device-dependent bitmap for `dc` with the bitmap's pixels; 0 on failure.
IMAGING_API HBITMAP WINAPI L_ConvertToDDB(HDC dc, pBITMAPHANDLE bitmap);
// 1 when the clipboard holds a picture, 0 when not.
IMAGING_API L_INT WINAPI L_ClipboardReady(void);
// Puts the bitmap on the clipboard as CF_DIB (emptying it first).
IMAGING_API L_INT WINAPI L_CopyToClipboard(HWND owner, pBITMAPHANDLE bitmap, L_UINT flags);
// Makes a 24-bit bitmap of the clipboard's picture.
IMAGING_API L_INT WINAPI L_CopyFromClipboard(HWND owner, pBITMAPHANDLE bitmap, L_UINT flags);

// ---------------------------------------------------------------------------
// Transitions and the status callback (transitions.cpp)

// The status callback: called while a long call works, with the part done
// in percent; any result other than 1 ends the call, which then returns
// that result.
typedef L_INT(__cdecl* STATUSCALLBACK)(L_INT percentComplete, void* userData);
// Sets the process's status callback (null: none) and its user data;
// returns the one it replaces.
IMAGING_API STATUSCALLBACK WINAPI L_SetStatusCallBack(STATUSCALLBACK callback, void* userData);
// The status callback in force; 0 when none is set.
IMAGING_API STATUSCALLBACK WINAPI L_GetStatusCallBack(void);
// Paints the bitmap into `destination` of the DC (null: the bitmap's size at
// 0, 0) step by step with a transition (transition_steps.h: the effect
// number modulo 6 picks a wipe, blinds or a dissolve; `grain` is the band
// width in pixels), waiting `delay` ms after each step while the status
// callback keeps being called.  `source` (null: all of the bitmap) is the
// part shown; `sourceClip`, speed, cycles, pass, the transparent colour and
// the wand are accepted and not used.  1 when the whole picture was painted;
// the callback's result when it ended the transition early.
IMAGING_API L_INT WINAPI L_EfxPaintBitmap(HDC dc, pBITMAPHANDLE bitmap, const RECT* source,
                                          const RECT* sourceClip, const RECT* destination,
                                          L_UINT effect, L_UINT grain, L_UINT delay, L_INT speed,
                                          L_INT cycles, L_UINT pass, COLORREF transparentColour,
                                          L_UINT wandWidth, COLORREF wandColour, DWORD rop);

// ---------------------------------------------------------------------------
// Screen capture (capture.cpp)

// How L_CaptureSelectedObject asks the user for the window.
typedef struct _CAPTUREOPTION {
  L_UINT uStructSize;  // sizeof(CAPTUREOPTION)
  HCURSOR hCursor;     // shown while the user points; null: the arrow
} CAPTUREOPTION, *pCAPTUREOPTION;

// The user points at a window with the mouse (captured, showing the
// options' cursor) and clicks: the left button takes the window under the
// point and what the screen shows of it (clipped to the screen) becomes a
// new 24-bit bitmap (the record is overwritten).  Escape or the right
// button cancel with -13 and leave the bitmap as it was.  `info`,
// `callback` and `userData` are accepted and not used.
IMAGING_API L_INT WINAPI L_CaptureSelectedObject(pBITMAPHANDLE bitmap, pCAPTUREOPTION options, void* info,
                                                 void* callback, void* userData);

// ---------------------------------------------------------------------------
// Multimedia: AVI videos played into a window (multimedia.cpp)
//
// A media object holds one loaded video, its play window and its playback
// thread.  Positions, lengths and clip marks count frames from 0; the
// position while playing is the frame shown, and after the clip has played
// to its end it is the clip's end (one past its last frame).  The sound of a
// video is not played.

typedef struct _MMOBJECT* L_HMM;

// Events of a media object, handed to the event callback on the thread that
// made the object (L_MMInit) as it dispatches its messages, in the order
// they happened.  `param` is given per event.
enum {
  MM_EVENT_LOADED = 0,    // a video was loaded; param: its length in frames
  MM_EVENT_POSITION = 1,  // a new frame is shown; param: its position
  MM_EVENT_END = 2,       // playing reached the clip's end; param: the end
  MM_EVENT_SEEKED = 3,    // the position was set; param: the position
  MM_EVENT_ERROR = 4,     // a frame could not be decoded and playing stopped; param: its position
  MM_EVENT_PLAYING = 6,   // playing started (L_MMPlay)
  MM_EVENT_STOPPED = 7,   // playing stopped (L_MMStop, or after MM_EVENT_END or MM_EVENT_ERROR)
  MM_EVENT_PAUSED = 8,    // L_MMPause
  MM_EVENT_RESUMED = 9,   // L_MMResume
};

// The event callback: cdecl; its result is not used.
typedef L_INT(__cdecl* pMMEVENTCALLBACK)(L_HMM media, L_INT event, L_INT param, void* userData);

// L_MMCopyFrames flags
enum { MM_COPY_CLIPBOARD = 0x0001 };  // the frame goes to the clipboard as CF_DIB

// Makes a media object in *media (0 on failure).  Its events are delivered
// on the calling thread.
IMAGING_API L_INT WINAPI L_MMInit(L_HMM* media);
// Stops playing, closes the video and the play window, delivers the events
// still pending (when called on the object's thread) and forgets the
// object; the handle is invalid afterwards (-2 from every call).
IMAGING_API L_INT WINAPI L_MMFree(L_HMM media);
// Loads an AVI file (its first video stream): length, frame rate, the first
// frame shown, the clip the whole file, stopped at 0.  `flags` is accepted
// and not used.  A failing load keeps the video loaded before.  Files that
// are no AVI video give -7, damaged ones -5, missing ones -4.
IMAGING_API L_INT WINAPI L_MMLoad(L_HMM media, const char* file, L_UINT flags);
// Makes the play window: a window of `style` (WS_CHILD, 0x40000000, for a
// child of `parent`) at x, y of width x height (0: the parent's client
// width or height), shown.  A window made before is destroyed.
IMAGING_API L_INT WINAPI L_MMSetPlayExt(L_HMM media, HWND parent, L_INT x, L_INT y, L_INT width, L_INT height,
                                        L_UINT style);
// Moves the play window into another parent and fits it again.
IMAGING_API L_INT WINAPI L_MMSetParentWin(L_HMM media, HWND parent);
// Places the play window at x, y of width x height in its parent (0: the
// parent's client width or height); the picture is fitted into it with its
// proportions kept, centred, the rest black.
IMAGING_API L_INT WINAPI L_MMAdjustWin(L_HMM media, L_INT x, L_INT y, L_INT width, L_INT height);
// The clip: frames start .. end - 1 play.  -1 as start is the first frame,
// -1 as end the length; an end beyond the length is reduced to it; an empty
// or reversed clip gives -3 and leaves the clip as it was.
IMAGING_API L_INT WINAPI L_MMMarkClip(L_HMM media, L_INT start, L_INT end);
// Plays the clip from its start at the file's frame rate.  `options` is
// accepted and not used.
IMAGING_API L_INT WINAPI L_MMPlay(L_HMM media, const char* options);
// Pause holds the frame shown; Resume goes on from it (after a stop or the
// end, from the position, or from the clip's start when the position lies
// at its end).  Pausing a video that is stopped gives -10.
IMAGING_API L_INT WINAPI L_MMPause(L_HMM media);
IMAGING_API L_INT WINAPI L_MMResume(L_HMM media);
// Stops playing and goes back to the clip's start.
IMAGING_API L_INT WINAPI L_MMStop(L_HMM media);
// 1 while playing, 0 otherwise (also for an invalid handle).
IMAGING_API L_INT WINAPI L_MMIsPlaying(L_HMM media);
// The position (frames).
IMAGING_API L_INT WINAPI L_MMGetCurrentPos(L_HMM media, L_INT* position);
// Shows frame `position` (0 .. length; kept within the clip) and goes on
// playing from there when playing.
IMAGING_API L_INT WINAPI L_MMSetCurrentPos(L_HMM media, L_INT position);
// The length (frames).
IMAGING_API L_INT WINAPI L_MMGetLength(L_HMM media, L_INT* length);
// Frame `position` as a 24-bit picture on the clipboard (CF_DIB); only one
// frame (count 1) and MM_COPY_CLIPBOARD.
IMAGING_API L_INT WINAPI L_MMCopyFrames(L_HMM media, L_INT position, L_INT count, L_UINT flags);
// The sound of a video is not played: gives -10 for volumes 0..100 (-3
// for others).
IMAGING_API L_INT WINAPI L_MMSetVolume(L_HMM media, L_INT volume);
// The callback every media object's events go to (null: none), with the
// value it gets as userData.
IMAGING_API L_INT WINAPI L_MMSetEventCallback(pMMEVENTCALLBACK callback, void* userData);

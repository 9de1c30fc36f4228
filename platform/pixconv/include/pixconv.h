// The picture converter's exported functions, as the media browser, the
// picture browser and the picture tool call them: they turn a GIF into a
// BMP file the imaging library loads, through a block of RGB pixels.
//
// The RGB block: height rows of width pixels, the top row first, each pixel
// three bytes red, green, blue, no padding between rows (width * height * 3
// bytes).  Both functions are stdcall and exported undecorated.
#pragma once

#include <windows.h>

#ifdef PIXCONV_BUILDING
#define PIXCONV_API extern "C"
#else
#define PIXCONV_API extern "C" __declspec(dllimport)
#endif

// Decodes the first frame of the GIF `gifPath` into a new movable global
// memory block of RGB pixels; the caller locks it, uses it, unlocks it and
// frees it (GlobalFree).  width, height and frameCount (the GIF's number of
// frames) receive 0 first and the values on success.  0 when the file is
// missing, is not a GIF or cannot be decoded.
PIXCONV_API HGLOBAL WINAPI ImgDLLReadRGBFromGIF(const char* gifPath, int* width, int* height, int* frameCount);

// Writes the RGB block `pixels` of width x height as a 24-bit BMP file
// `bmpPath` (through a temporary file renamed over it).  Non-zero (1) on
// success, 0 on failure (no pixels, a side below 1, a block past 1 GiB, a
// file that cannot be written); a failure leaves an existing file as it was.
PIXCONV_API int WINAPI ImgDLLSaveRGBToBMP(const char* bmpPath, const void* pixels, int width, int height);

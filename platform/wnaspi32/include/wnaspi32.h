// The ASPI for Win32 interface of wnaspi32.dll: the request blocks and
// their codes (aspi_blocks.h) and the two cdecl entry points.
#pragma once

#include <windows.h>

#include "aspi_blocks.h"

extern "C" {
// HIBYTE of the low word: SS_COMP or SS_NO_ADAPTERS; low byte: adapters.
DWORD __cdecl GetASPI32SupportInfo(void);
// Runs one request; SS_PENDING when it completes later (never here).
DWORD __cdecl SendASPI32Command(void* srb);
}

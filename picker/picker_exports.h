// The picker's exports as a program that compiles it in gives them (the
// audio player carries the picker and exports it).  The C++ names carry a
// "Picker" prefix; the program's .def file exports them under the names
// the picker's callers look up:
//
//   CHOOSERF = PickerCHOOSERF@52
//   CHOOSERMULTI = PickerCHOOSERMULTI@4
//   CHOOSERFILTER = PickerCHOOSERFILTER@8
//   SKUSEFILTER = PickerSKUSEFILTER@8
//   SKFILTERCHOICE = PickerSKFILTERCHOICE@8
//   CHOOSERINFILE = PickerCHOOSERINFILE@8
//   CHOOSERLASTFILE = PickerCHOOSERLASTFILE@8
//   DIRLISTPROC = PickerDIRLISTPROC@16
//   DLDIALOGMESSAGE = PickerDLDIALOGMESSAGE@8
//
// A program's CHOOSERF takes the picker's own thirteen arguments; the
// outside chooser's (include/chooser.h) takes a fourteenth, its save flag.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>

extern "C" {

typedef int32_t(__stdcall* PickerDialogProc)(HWND owner, const char* start, const char* title,
                                             const char* filters, const char* buttons,
                                             const char* listLabel, const char* treeLabel,
                                             const char* filterLabel, const char* unused,
                                             const char* fieldLabel, int32_t mode, BSTR* resultList,
                                             BSTR* name);

int32_t __stdcall PickerCHOOSERF(HWND owner, const char* start, const char* title, const char* filters,
                                 const char* buttons, const char* listLabel, const char* treeLabel,
                                 const char* filterLabel, const char* unused, const char* fieldLabel,
                                 int32_t mode, BSTR* resultList, BSTR* name);
int32_t __stdcall PickerCHOOSERMULTI(int32_t flag);
int32_t __stdcall PickerCHOOSERFILTER(BSTR* text, int32_t set);
int32_t __stdcall PickerSKUSEFILTER(BSTR* text, int32_t set);
int32_t __stdcall PickerSKFILTERCHOICE(BSTR* text, int32_t set);
int32_t __stdcall PickerCHOOSERINFILE(BSTR* text, int32_t set);
int32_t __stdcall PickerCHOOSERLASTFILE(BSTR* text, int32_t set);
LRESULT __stdcall PickerDIRLISTPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int32_t __stdcall PickerDLDIALOGMESSAGE(HWND dialog, MSG* message);

}  // extern "C"

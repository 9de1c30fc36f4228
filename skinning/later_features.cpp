// The parts of the skinning library that are not built yet, as the frame
// half calls them (see later_features.h).  Nothing here pretends: a
// function that would draw or show something does nothing and says so in
// the trace.
#include "later_features.h"

#include "trace_writer.h"

namespace skinning::later {

namespace {

constexpr char kTraceName[] = "themeapi";

orbtrace::CallLine Call(const char* function) { return orbtrace::CallLine(kTraceName, function); }

void TraceNotBuilt(orbtrace::CallLine call) { orbtrace::WriteCall(call, "not built"); }

}  // namespace

HWND MoveMenuToBar(HWND, HMENU, int32_t x, int32_t y, int32_t width, int32_t height) {
  TraceNotBuilt(Call("MoveMenuToBar").Number(x).Number(y).Number(width).Number(height));
  return nullptr;
}

void PreparePopup(HWND, UINT message, WPARAM, LPARAM) {
  TraceNotBuilt(Call("PreparePopup").Number(message));
}

bool MeasureMenuItem(HWND, MEASUREITEMSTRUCT*) { return false; }
bool DrawMenuItem(HWND, const DRAWITEMSTRUCT*) { return false; }
bool DrawListBoxItem(HWND, const DRAWITEMSTRUCT*) { return false; }
void PrintMenuBar(HWND, HDC, int32_t, int32_t) {}

void PrepareControl(HWND, int32_t kind) { TraceNotBuilt(Call("PrepareControl").Number(kind)); }

bool PaintsItsOwnBackground(int32_t) { return false; }

bool HandleControlMessage(HWND, int32_t, UINT, WPARAM, LPARAM, LRESULT*) { return false; }

int32_t ShowMessageBox(const char* text, int32_t type, const char* caption) {
  TraceNotBuilt(Call("ShowMessageBox").Text(text).Number(type).Text(caption));
  return 0;
}

void SetMessageBoxLabels(const char* labels) { TraceNotBuilt(Call("SetMessageBoxLabels").Text(labels)); }

}  // namespace skinning::later

// The trace file c:\ctlhostct20.dbg: lock diagnostics and the client's
// _QXDebug@4 texts.  It is recreated at the first write of each process and
// opened and closed around every write, so other processes loading the
// library (which share its machine-wide mutex) and tools can read it
// between entries.
#pragma once

namespace ctlhost {

inline constexpr char kTraceFilePath[] = "c:\\ctlhostct20.dbg";

// Opens the trace file's machine-wide mutex "ctlhostct20.dbgDBG".
void OpenTraceFile();
void CloseTraceFile();

// Appends text.  With lock the machine-wide mutex is waited for at most
// 100 ms and the text is written whether or not it was obtained.  A text
// beginning with a line feed is also sent to the debugger output.
// 0 written; 1 the file could not be created; 2 it could not be opened.
int TraceWrite(const char* text, bool lock);

}  // namespace ctlhost

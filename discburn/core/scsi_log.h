// The SCSI log (c:\vdsc.elg): one text line per command, and the table of
// command names it prints.  The line is built here; the device writes it.
#pragma once

#include <cstdint>
#include <string>

namespace discburn {

// Where the client's "open the SCSI log" request puts the log.
inline constexpr char kDefaultLogPath[] = "c:\\vdsc.elg";

// The 22-character name of an opcode, blank-padded; empty for opcodes the
// table does not name.
const char* CommandName(uint8_t opcode);

// The log's first line: "Version : 1.12 REGTD (Date: Jul  1 2004) \n".
std::string LogVersionLine();

struct LogEntry {
  uint32_t minute = 0, second = 0, millisecond = 0;  // system time (UTC)
  uint8_t cdb[16] = {};
  uint8_t flags = 0;
  uint8_t cdbLength = 0;
  uint8_t adapter = 0, target = 0, lun = 0;
  uint8_t status = 0;
  uint32_t dataLength = 0;
  uint64_t dataAddress = 0;     // lines start with "---> addr" when not a multiple of 4
  const uint8_t* data = nullptr;  // the first min(dataLength, 100) bytes are printed
  uint8_t asc = 0, ascq = 0;
  bool passThrough = false;
  int win32Error = 0;
};

std::string FormatLogLine(const LogEntry& entry);

}  // namespace discburn

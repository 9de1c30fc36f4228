// Log lines and command names; see scsi_log.h.
#include "scsi_log.h"

#include <algorithm>
#include <cstdio>

namespace discburn {
namespace {

struct NamedOpcode {
  uint8_t opcode;
  const char* name;
};

// The published MMC and SPC names, cut or padded to 22 characters.
constexpr NamedOpcode kNames[] = {
    {0x00, "TEST UNIT READY       "}, {0x01, "REWIND UNIT           "}, {0x03, "REQUEST SENSE         "},
    {0x04, "FORMAT UNIT           "}, {0x12, "INQUIRY               "}, {0x1B, "START STOP UNIT       "},
    {0x1E, "PREVENT/ALLOW REMOVAL "}, {0x23, "READ FORMAT CAPACITIES"}, {0x25, "READ CAPACITY         "},
    {0x28, "READ (10)             "}, {0x2A, "WRITE (10)            "}, {0x2B, "SEEK (10)             "},
    {0x2E, "WRITE AND VERIFY (10) "}, {0x2F, "VERIFY (10)           "}, {0x35, "SYNCHRONIZE CACHE     "},
    {0x42, "READ SUB-CHANNEL      "}, {0x43, "READ TOC/PMA/ATIP     "}, {0x45, "PLAY AUDIO (10)       "},
    {0x46, "GET CONFIGURATION     "}, {0x47, "PLAY AUDIO MSF        "}, {0x4A, "GET EVENT/STATUS NOTIF"},
    {0x4B, "PAUSE/RESUME          "}, {0x4E, "STOP PLAY/SCAN        "}, {0x51, "READ DISC INFORMATION "},
    {0x52, "READ TRACK INFORMATION"}, {0x53, "RESERVE TRACK         "}, {0x54, "SEND OPC INFORMATION  "},
    {0x55, "MODE SELECT (10)      "}, {0x58, "REPAIR TRACK          "}, {0x5A, "MODE SENSE (10)       "},
    {0x5B, "CLOSE TRACK/SESSION   "}, {0x5C, "READ BUFFER CAPACITY  "}, {0x5D, "SEND CUE SHEET        "},
    {0xA1, "BLANK                 "}, {0xA2, "SEND EVENT            "}, {0xA3, "SEND KEY              "},
    {0xA4, "REPORT KEY            "}, {0xA5, "PLAY AUDIO (12)       "}, {0xA6, "LOAD/UNLOAD CD/DVD    "},
    {0xA7, "SET READ AHEAD        "}, {0xA8, "READ (12)             "}, {0xAA, "WRITE (12)            "},
    {0xAC, "GET PERFORMANCE       "}, {0xAD, "READ DVD STRUCTURE    "}, {0xB6, "SET STREAMING         "},
    {0xB9, "READ CD MSF           "}, {0xBA, "SCAN                  "}, {0xBB, "SET CD SPEED          "},
    {0xBD, "MECHANISM STATUS      "}, {0xBE, "READ CD               "}, {0xBF, "SEND DVD STRUCTURE    "},
};

void Append(std::string* out, const char* format, auto... values) {
  char text[96];
  int length = std::snprintf(text, sizeof text, format, values...);
  if (length > 0) out->append(text, std::min<size_t>(static_cast<size_t>(length), sizeof text - 1));
}

}  // namespace

const char* CommandName(uint8_t opcode) {
  for (const auto& entry : kNames) {
    if (entry.opcode == opcode) return entry.name;
  }
  return "";
}

std::string LogVersionLine() { return std::string("Version : ") + "1.12 REGTD (Date: " + "Jul  1 2004" + ") \n"; }

std::string FormatLogLine(const LogEntry& e) {
  std::string line;
  if (e.dataAddress % 4 != 0) Append(&line, "---> %llu ", static_cast<unsigned long long>(e.dataAddress));
  Append(&line, "%02d:%02d:%03d %s (%02x) {%02x:%02x} - %01x:%01x:%01x <%02x> [%05x] ", static_cast<int>(e.minute),
         static_cast<int>(e.second), static_cast<int>(e.millisecond), CommandName(e.cdb[0]), e.cdb[0], e.flags,
         e.cdbLength, e.adapter, e.target, e.lun, e.status, static_cast<unsigned>(e.dataLength));
  for (int i = 1; i < 16; ++i) Append(&line, "%02x ", e.cdb[i]);
  line += "| ";
  if (e.data != nullptr) {
    for (uint32_t i = 0; i < std::min<uint32_t>(e.dataLength, 100); ++i) Append(&line, "%02x ", e.data[i]);
  }
  Append(&line, "%02x:%02x", e.asc, e.ascq);
  if (e.passThrough) Append(&line, ", %d", e.win32Error);
  line += "\n";
  return line;
}

}  // namespace discburn

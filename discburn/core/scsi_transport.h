// The one way the medium commands reach a drive: a command block, a data
// buffer with its direction, and back whether the command completed, the
// sense data and how many bytes of the buffer the transport vouches for.
// The library's device sends it through SCSI pass-through or ASPI; the
// native tests send it to the software drive directly.
#pragma once

#include <array>
#include <cstdint>

namespace discburn {

enum class DataDirection : uint8_t { kNone, kIn, kOut };

struct ScsiCommand {
  std::array<uint8_t, 16> cdb{};
  uint8_t cdbLength = 0;  // 6, 10 or 12
  DataDirection direction = DataDirection::kNone;
};

// The sense area as the request block carries it (fixed format).
struct SenseData {
  std::array<uint8_t, 32> bytes{};
  uint8_t key() const { return bytes[2] & 0x0F; }
  uint8_t asc() const { return bytes[12]; }
  uint8_t ascq() const { return bytes[13]; }
};

struct ScsiOutcome {
  bool completed = false;     // the request's status was "completed"
  uint8_t targetStatus = 0;   // SCSI status (2 check condition, 8 busy)
  SenseData sense;
  // Bytes at the start of the data buffer that hold the reply.  ASPI
  // reports no residual count, so its transport vouches for the whole
  // buffer; the reply's own length fields then bound what is read.
  uint32_t validBytes = 0;
};

class ScsiTransport {
 public:
  virtual ~ScsiTransport() = default;
  // Sends `command`; `data` holds `dataLength` bytes (in or out).
  virtual ScsiOutcome Execute(const ScsiCommand& command, uint8_t* data, uint32_t dataLength) = 0;
};

// The device's error number of a failed command: ASC << 8 | ASCQ.
inline uint16_t ErrorNumberFromSense(const SenseData& sense) {
  return static_cast<uint16_t>((sense.asc() << 8) | sense.ascq());
}

}  // namespace discburn

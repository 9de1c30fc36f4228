// Every reader of drive answers, and the queries built on them, over
// arbitrary bytes: a drive (or a broken transport) may answer anything.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "mmc_device.h"
#include "mmc_replies.h"

namespace {

class FuzzTransport : public discburn::ScsiTransport {
 public:
  FuzzTransport(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  discburn::ScsiOutcome Execute(const discburn::ScsiCommand& command, uint8_t* data, uint32_t length) override {
    discburn::ScsiOutcome outcome;
    outcome.completed = size_ == 0 || (data_[0] & 1) == 0 || command.cdb[0] != 0x46;
    if (command.direction == discburn::DataDirection::kIn) {
      uint32_t count = static_cast<uint32_t>(std::min<size_t>(length, size_));
      if (count) std::memcpy(data, data_, count);
      outcome.validBytes = count;
    }
    return outcome;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t length = static_cast<uint32_t>(size);
  (void)discburn::CurrentProfile(data, length);
  (void)discburn::FirstFeature(data, length);
  (void)discburn::ParseDiscInfo(data, length);
  (void)discburn::ParseTrackInfo(data, length);
  (void)discburn::ParseAtip(data, length);
  (void)discburn::LocateModePage(data, length, 0x2A);
  (void)discburn::LocateModePage(data, length, 0x05);
  (void)discburn::ParseFormattedCapacity(data, length);
  (void)discburn::ParseBufferCapacity(data, length);
  (void)discburn::ParseVolumeDescriptor(data, length);

  FuzzTransport transport(data, size);
  discburn::MmcDevice device(&transport);
  device.ReadCapabilities();
  device.QueryDiscType();
  device.SessionsOnDisc();
  device.Writable();
  device.FreeBlocks();
  device.TotalBlocks();
  device.WriteParameters(0, 1, 1, static_cast<uint8_t>(size % 15));
  device.BufferCapacity();
  return 0;
}

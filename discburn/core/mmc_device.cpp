// Drive and medium queries over a ScsiTransport; see mmc_device.h.
#include "mmc_device.h"

#include <algorithm>
#include <cstring>

#include "mmc_commands.h"

namespace discburn {
namespace {

constexpr uint32_t kNoTrackSize = 0xFFFFFFFF;

void PutLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

uint16_t GetBe16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

bool IsOneOf(uint8_t type, std::initializer_list<uint8_t> types) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

}  // namespace

MmcDevice::MmcDevice(ScsiTransport* transport) : transport_(transport), buffer_(kDataBufferSize, 0) {}

bool MmcDevice::RunWith(const ScsiCommand& command, uint8_t* data, uint32_t length) {
  lastOutcome_ = transport_->Execute(command, data, length);
  if (lastOutcome_.validBytes > length) lastOutcome_.validBytes = length;
  return lastOutcome_.completed;
}

bool MmcDevice::Run(const ScsiCommand& command, uint32_t length) {
  length = std::min(length, kDataBufferSize);
  // A reply shorter than the buffer leaves no stale bytes of an earlier one.
  if (command.direction == DataDirection::kIn) std::fill(buffer_.begin(), buffer_.begin() + length, 0);
  bool completed = RunWith(command, buffer_.data(), length);
  validBytes_ = completed ? lastOutcome_.validBytes : 0;
  return completed;
}

uint8_t MmcDevice::QueryDiscType() {
  uint8_t type = kDiscUnknown;
  std::optional<uint16_t> profile;
  if (Run(GetConfiguration(0, 112), 112) && (profile = CurrentProfile(buffer_.data(), validBytes_))) {
    type = DiscTypeFromProfile(*profile);
  } else if (std::optional<AtipInfo> atip;
             Run(ReadToc(4, true, 0, 30), 30) && (atip = ParseAtip(buffer_.data(), validBytes_))) {
    type = !atip->recordable ? kDiscCdRom : atip->rewritable ? kDiscCdRw : kDiscCdR;
  } else if (auto info = ReadDiscInformation()) {
    type = info->erasable ? kDiscCdRw : kDiscCdR;
  } else if (Run(discburn::TestUnitReady(), 0)) {
    type = kDiscCdRom;
  }
  discType_ = type;
  return type;
}

bool MmcDevice::CopyCapabilityPage(bool defaults) {
  if (!Run(ModeSense10(0x2A, defaults, 128), 128)) return false;
  auto span = LocateModePage(buffer_.data(), validBytes_, 0x2A);
  if (!span) return false;
  std::fill(capabilities_.begin(), capabilities_.begin() + 64, 0);
  std::memcpy(capabilities_.data(), buffer_.data() + span->offset, std::min<uint32_t>(span->size, 64));
  return true;
}

int MmcDevice::ReadCapabilities() {
  capabilities_.fill(0);
  bool answered = CopyCapabilityPage(true);
  uint16_t defaultMaxRead = KbsToX(GetBe16(&capabilities_[8]));
  uint16_t defaultMaxWrite = KbsToX(GetBe16(&capabilities_[18]));
  CopyCapabilityPage(false);
  for (size_t at : {18, 20, 8, 14}) PutLe16(&capabilities_[at], KbsToX(GetBe16(&capabilities_[at])));
  std::swap(capabilities_[12], capabilities_[13]);
  PutLe16(&capabilities_[72], defaultMaxRead);
  PutLe16(&capabilities_[74], defaultMaxWrite);
  if (Run(ModeSense10(0x30, true, 128), 128)) capabilities_[4] |= 0x80;

  uint8_t reads = capabilities_[2], writes = capabilities_[3];
  readsCdR_ = reads & 0x01;
  readsCdRw_ = reads & 0x02;
  readsDvdRom_ = reads & 0x08;
  readsDvdR_ = reads & 0x10;
  readsDvdRam_ = reads & 0x20;
  writesCdR_ = writes & 0x01;
  writesCdRw_ = writes & 0x02;
  writesDvdR_ = writes & 0x10;
  writesDvdRam_ = writes & 0x20;
  readsDvdRw_ = writesDvdRw_ = dvdPlusRw_ = dvdPlusRwWrite_ = false;
  std::optional<FeatureDescriptor> feature;
  if (Run(GetConfiguration(0x2A, 112), 112) && (feature = FirstFeature(buffer_.data(), validBytes_)) &&
      feature->code == 0x002A) {
    dvdPlusRw_ = true;
    dvdPlusRwWrite_ = (feature->flags & 0x01) != 0;
  }
  if (Run(GetConfiguration(0x2F, 112), 112) && (feature = FirstFeature(buffer_.data(), validBytes_)) &&
      feature->code == 0x002F) {
    readsDvdR_ = writesDvdR_ = true;
    if ((feature->flags & 0x02) != 0) readsDvdRw_ = writesDvdRw_ = true;
  }
  return answered ? 1 : 0;
}

int MmcDevice::Capability(int code) const {
  switch (code) {
    case 1: return readsCdR_;
    case 2: return readsCdRw_;
    case 3: return readsDvdRam_;
    case 4: return readsDvdR_;
    case 5: return readsDvdRw_;
    case 6:
    case 7: return dvdPlusRw_;
    case 11: return writesCdR_;
    case 12: return writesCdRw_;
    case 13: return writesDvdRam_;
    case 14: return writesDvdR_;
    case 15: return writesDvdRw_;
    case 16:
    case 17: return dvdPlusRwWrite_;
    case 21: return (capabilities_[3] & 0x04) != 0;
    case 22: return (capabilities_[4] & 0x80) != 0;
    default: return 0;
  }
}

uint8_t MmcDevice::DeviceMaxReadSpeed() { ReadCapabilities(); return capabilities_[72]; }
uint8_t MmcDevice::CurrentReadSpeed() { ReadCapabilities(); return capabilities_[14]; }
uint8_t MmcDevice::DeviceMaxWriteSpeed() { ReadCapabilities(); return capabilities_[74]; }
uint8_t MmcDevice::CurrentMaxWriteSpeed() { ReadCapabilities(); return capabilities_[18]; }
uint8_t MmcDevice::CurrentWriteSpeed() { ReadCapabilities(); return capabilities_[20]; }

std::optional<DiscInfo> MmcDevice::ReadDiscInformation() {
  if (!Run(ReadDiscInfo(66), 66)) return std::nullopt;
  return ParseDiscInfo(buffer_.data(), validBytes_);
}

std::optional<TrackInfo> MmcDevice::ReadTrackInformation(uint8_t track) {
  if (!Run(ReadTrackInfo(track), 40)) return std::nullopt;
  return ParseTrackInfo(buffer_.data(), validBytes_);
}

uint8_t MmcDevice::SessionsOnDisc() {
  auto info = ReadDiscInformation();
  if (!info) return discType_ == kDiscDvdRam ? 1 : 0;
  uint32_t sessions = info->sessions;
  if (sessions > 0 && info->lastSessionState <= 1) --sessions;
  return static_cast<uint8_t>(std::min<uint32_t>(sessions, 255));
}

uint8_t MmcDevice::LastTrackInLastSession() {
  auto info = ReadDiscInformation();
  return info ? static_cast<uint8_t>(std::min<uint32_t>(info->lastTrackInLastSession, 255)) : 0;
}

int MmcDevice::Erasable() {
  if (discType_ >= kDiscDvdRam && discType_ <= kDiscDvdPlusRw) return 1;
  auto info = ReadDiscInformation();
  return info && info->erasable ? 1 : 0;
}

int MmcDevice::Writable() {
  if (IsOneOf(discType_, {kDiscDvdRam, kDiscDvdRwRestricted, kDiscDvdPlusRw})) return 1;
  if (auto info = ReadDiscInformation()) {
    if (info->discStatus <= 1) return 1;
    if (info->discStatus == 2 && info->lastSessionState == 3) return 0;
  }
  WriteParameters(settings_.testWrite, settings_.burnProof, settings_.finalize ? 0 : 1, discType_);
  auto track = ReadTrackInformation(255);
  if (!track) {
    uint8_t last = LastTrackInLastSession();
    track = ReadTrackInformation(static_cast<uint8_t>(last + 1));
  }
  return track && track->freeBlocks != 0 ? 1 : 0;
}

uint32_t MmcDevice::FreeBlocks() {
  uint8_t type = QueryDiscType();
  if (Writable() != 1) return 0;
  WriteParameters(0, 0, 0, type);
  std::optional<TrackInfo> track;
  if (auto info = ReadDiscInformation()) {
    track = ReadTrackInformation(static_cast<uint8_t>(std::min<uint32_t>(info->lastTrackInLastSession, 255)));
  }
  bool overwritable = IsOneOf(type, {kDiscDvdRam, kDiscDvdRwRestricted, kDiscDvdPlusRw});
  if (track && track->trackSize != kNoTrackSize) {
    if (overwritable) {
      uint32_t used = LastSessionStart();
      return track->trackSize > used ? track->trackSize - used : 0;
    }
    return std::max(track->freeBlocks, track->trackSize);
  }
  if (!track && overwritable) {
    uint32_t capacity = FormattedCapacity();
    uint32_t used = LastSessionStart();
    return capacity > used ? capacity - used : 0;
  }
  return 0;
}

uint32_t MmcDevice::TotalBlocks() {
  uint8_t type = discType_;
  WriteParameters(0, 0, 0, type);
  if (type != kDiscDvdRwRestricted) {
    std::optional<AtipInfo> atip;
    if (Run(ReadToc(4, true, 0, 120), 120) && (atip = ParseAtip(buffer_.data(), validBytes_))) {
      return atip->leadOutLba;
    }
    if (auto info = ReadDiscInformation()) {
      if (auto track = ReadTrackInformation(
              static_cast<uint8_t>(std::min<uint32_t>(info->lastTrackInLastSession, 255)))) {
        if (track->trackSize == kNoTrackSize) return 0;
        if (track->fixedPacket) return track->trackSize;
        return track->trackSize + track->trackStart;
      }
    }
  }
  return FormattedCapacity();
}

uint32_t MmcDevice::FormattedCapacity() {
  if (!Run(ReadFormatCapacities(), 28)) return 0;
  return ParseFormattedCapacity(buffer_.data(), validBytes_).value_or(0);
}

uint32_t MmcDevice::LastSessionStart() {
  WriteParameters(settings_.testWrite, settings_.burnProof, settings_.finalize ? 0 : 1, discType_);
  std::vector<uint8_t> sector(2048);
  std::optional<uint32_t> primary;
  for (uint32_t lba = 16; lba < 32; ++lba) {
    // Refilled for each read, so a failed read cannot repeat the sector before.
    std::fill(sector.begin(), sector.end(), 0xFF);
    if (!RunWith(Read10(lba, 1), sector.data(), 2048)) continue;
    auto descriptor = ParseVolumeDescriptor(sector.data(), std::min<uint32_t>(lastOutcome_.validBytes, 2048));
    if (!descriptor) continue;
    if (descriptor->type == 2) return descriptor->volumeSpaceSize;
    if (descriptor->type == 1 && !primary) primary = descriptor->volumeSpaceSize;
    if (descriptor->type == 255) break;  // set terminator: nothing follows
  }
  return primary.value_or(0);
}

int MmcDevice::WriteParameters(int testWrite, int burnProof, int multisession, uint8_t type) {
  if (!Run(ModeSense10(5, false, 512), 512)) return 0;
  auto span = LocateModePage(buffer_.data(), validBytes_, 5);
  if (!span || span->size < 16) return 0;
  std::array<uint8_t, 72>& page = writeParameters_;
  page.fill(0);
  page[0] = 5;
  page[1] = buffer_[span->offset + 1];
  uint8_t writeType = 1;  // track at once
  uint8_t flags = 0;
  if (testWrite == 1) flags |= 0x10;
  if (burnProof == 1 && (capabilities_[4] & 0x80) != 0) flags |= 0x40;
  uint8_t trackMode = IsOneOf(type, {5, 7, 8, 9, 13, 14}) ? 5 : 4;
  uint8_t multi = testWrite != 1 && multisession == 1 ? 0xC0 : 0x00;
  bool fixedPacket = false;
  uint32_t packetSize = 0;
  uint8_t linkSize = 0;
  if (IsOneOf(type, {5, 7, 8, 9})) writeType = 0;
  if (IsOneOf(type, {13, 14})) writeType = 2;
  if (type == kDiscDvdR) {
    multi = 0xC0, fixedPacket = true, packetSize = 16, linkSize = 16, flags |= 0x20;
  } else if (type == kDiscDvdRwRestricted || type == kDiscDvdRwSequential) {
    multi = 0xC0, fixedPacket = false, packetSize = 16, linkSize = 16, flags |= 0x20;
  } else if (type == kDiscDvdPlusRw || type == kDiscDvdPlusR) {
    writeType = 2, trackMode = 4, flags |= 0x20, linkSize = 16;
    if (type == kDiscDvdPlusR && multisession != 0) {
      fixedPacket = true, packetSize = 16;
    } else if (type == kDiscDvdPlusR) {
      fixedPacket = false, packetSize = 0, linkSize = 0;
    }
  }
  page[2] = static_cast<uint8_t>(flags | writeType);
  page[3] = static_cast<uint8_t>(multi | (fixedPacket ? 0x20 : 0) | trackMode);
  page[4] = 8;  // mode 1, 2048-byte blocks
  page[5] = linkSize;
  page[6] = 0;
  page[8] = 0;  // session format
  page[10] = static_cast<uint8_t>(packetSize >> 24);
  page[11] = static_cast<uint8_t>(packetSize >> 16);
  page[12] = static_cast<uint8_t>(packetSize >> 8);
  page[13] = static_cast<uint8_t>(packetSize);
  page[14] = 0;
  page[15] = 150;  // audio pause length
  // The work copy covers at most 72 bytes of a longer page; the rest of
  // the drive's page goes back as the drive gave it.
  std::memcpy(buffer_.data() + span->offset, page.data(), std::min<uint32_t>(span->size, 72));
  buffer_[0] = buffer_[1] = 0;  // the mode data length is reserved in MODE SELECT
  uint32_t length = span->offset + span->size;
  return Run(ModeSelect10(static_cast<uint16_t>(length)), length) ? 1 : 0;
}

int MmcDevice::SetWriteSpeed(uint8_t x) {
  settings_.writeSpeed = x;
  return Run(SetCdSpeed(0xFFFF, x == 0 ? 0xFFFF : static_cast<uint16_t>(x * 176)), 0) ? 1 : 0;
}

namespace {
uint16_t SpeedField(uint8_t x) { return x == 0 ? 0xFFFF : static_cast<uint16_t>(x * 176); }
}  // namespace

int MmcDevice::ApplyStoredSpeeds() {
  return Run(SetCdSpeed(SpeedField(settings_.readSpeed), SpeedField(settings_.writeSpeed)), 0) ? 1 : 0;
}

int MmcDevice::BufferCapacity() {
  if (!Run(ReadBufferCapacity(), 32)) return 0;
  auto capacity = ParseBufferCapacity(buffer_.data(), validBytes_);
  if (!capacity) return 0;
  bufferLength_ = capacity->lengthBytes;
  bufferFree_ = capacity->freeBytes;
  return 1;
}

int MmcDevice::Load() { return Run(StartStop(false, 3), 0) ? 1 : 0; }

int MmcDevice::Eject() {
  Run(SyncCache(false), 0);
  Run(discburn::Prevent(false), 0);
  return Run(StartStop(false, 2), 0) ? 1 : 0;
}

int MmcDevice::TestUnitReady() { return Run(discburn::TestUnitReady(), 0) ? 1 : 0; }

int MmcDevice::UnlockDrive() {
  Run(discburn::TestUnitReady(), 0);
  return 1;
}

}  // namespace discburn

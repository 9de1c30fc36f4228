// The software drive's command dispatch, identity, features, mode pages,
// speeds and tray; the medium commands are in soft_drive_media.cpp.
#include "soft_drive.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "soft_drive_internal.h"

namespace softdrive {

using detail::Fail;
using detail::SendIn;

namespace {

// CDB length of each opcode group: 6, 10 and 12 bytes.
uint32_t CdbLengthOf(uint8_t opcode) {
  if (opcode < 0x20) return 6;
  if (opcode < 0x60) return 10;
  if (opcode >= 0xA0 && opcode < 0xC0) return 12;
  return 0;
}

bool SameFamily(MediumKind a, MediumKind b) {
  auto family = [](MediumKind k) {
    return k == MediumKind::kDvdRwRestricted ? MediumKind::kDvdRwSequential : k;
  };
  return family(a) == family(b);
}

void AppendFeature(std::vector<uint8_t>* out, uint16_t code, bool current, std::initializer_list<uint8_t> body) {
  out->push_back(static_cast<uint8_t>(code >> 8));
  out->push_back(static_cast<uint8_t>(code));
  out->push_back(static_cast<uint8_t>(0x02 | (current ? 1 : 0)));  // persistent
  out->push_back(static_cast<uint8_t>(body.size()));
  out->insert(out->end(), body);
}

std::vector<uint8_t> DefaultWriteParameters() {
  std::vector<uint8_t> page(52, 0);
  page[0] = 0x05;
  page[1] = 0x32;
  page[2] = 0x01;  // track at once
  page[3] = 0x04;  // data track, no multisession
  page[4] = 0x08;  // mode 1, 2048 bytes
  PutBe16(&page[14], 150);
  return page;
}

}  // namespace

namespace detail {

CommandReply Fail(const Sense& sense) {
  CommandReply reply;
  reply.status = kStatusCheckCondition;
  reply.sense = sense;
  return reply;
}

CommandReply SendIn(const std::vector<uint8_t>& bytes, uint32_t allocation, uint8_t* data, uint32_t dataLength) {
  CommandReply reply;
  uint32_t count = std::min<uint32_t>({static_cast<uint32_t>(bytes.size()), allocation, dataLength});
  if (count != 0) std::memcpy(data, bytes.data(), count);
  reply.transferred = count;
  return reply;
}

}  // namespace detail

SoftDrive::SoftDrive(DriveConfig config)
    : config_(std::move(config)),
      store_(config_.backingPath),
      notReadyLeft_(config_.notReadyPolls),
      readSpeedKbs_(kMaxReadSpeedKbs),
      writeSpeedKbs_(kMaxWriteSpeedKbs),
      writeParameters_(DefaultWriteParameters()) {
  if (config_.noMedium || config_.medium == MediumKind::kNone) return;  // state_ stays "none"
  if (auto text = store_.ReadState()) {
    if (auto saved = ParseState(*text);
        saved && SameFamily(saved->kind, config_.medium) && saved->capacityBlocks == config_.EffectiveCapacity()) {
      state_ = *saved;
      return;
    }
  }
  state_ = MakeInitialState(config_);
  SaveState();
}

SoftDrive::~SoftDrive() {
  if (HasMedium()) {
    store_.Flush();
    SaveState();
  }
}

bool SoftDrive::SaveState() {
  if (state_.kind == MediumKind::kNone) return true;
  return store_.WriteState(SerializeState(state_));
}

bool SoftDrive::HasMedium() const { return state_.kind != MediumKind::kNone && mediumLoaded_; }

bool SoftDrive::MediumReady(Sense* sense) {
  if (!HasMedium()) {
    *sense = kNoMedium;
    return false;
  }
  if (notReadyLeft_ > 0) {
    --notReadyLeft_;
    *sense = kNotReadyBecoming;
    return false;
  }
  return true;
}

void SoftDrive::Pace() const {
  if (config_.slowMs != 0) std::this_thread::sleep_for(std::chrono::milliseconds(config_.slowMs));
}

CommandReply SoftDrive::Execute(const uint8_t* cdb, uint32_t cdbLength, uint8_t* data, uint32_t dataLength,
                                DataDirection direction) {
  if (data == nullptr) dataLength = 0;
  CommandReply reply;
  if (cdb == nullptr || cdbLength == 0 || CdbLengthOf(cdb[0]) == 0) {
    reply = Fail(kInvalidOpcode);
  } else if (cdbLength < CdbLengthOf(cdb[0])) {
    reply = Fail(kInvalidFieldInCdb);
  } else {
    reply = Dispatch(cdb, cdbLength, data, dataLength, direction);
  }
  if (cdb == nullptr || cdbLength == 0 || cdb[0] != 0x03) lastSense_ = reply.sense;
  return reply;
}

CommandReply SoftDrive::Dispatch(const uint8_t* cdb, uint32_t /*cdbLength*/, uint8_t* data, uint32_t dataLength,
                                 DataDirection direction) {
  const uint8_t* out = direction == DataDirection::kOut ? data : nullptr;
  uint32_t outLength = direction == DataDirection::kOut ? dataLength : 0;
  uint8_t* in = direction == DataDirection::kIn ? data : nullptr;
  uint32_t inLength = direction == DataDirection::kIn ? dataLength : 0;
  Sense sense;
  switch (cdb[0]) {
    case 0x00:  // TEST UNIT READY
      return MediumReady(&sense) ? CommandReply{} : Fail(sense);
    case 0x01:  // REZERO UNIT
      return CommandReply{};
    case 0x03:
      return RequestSense(cdb, in, inLength);
    case 0x04:
      return FormatUnit(cdb, out, outLength);
    case 0x12:
      return Inquiry(cdb, in, inLength);
    case 0x1B:
      return StartStop(cdb);
    case 0x1E:  // PREVENT/ALLOW MEDIUM REMOVAL
      removalPrevented_ = (cdb[4] & 0x01) != 0;
      return CommandReply{};
    case 0x23:
      return ReadFormatCapacities(cdb, in, inLength);
    case 0x25:
      return ReadCapacity(in, inLength);
    case 0x28:
      return Read(GetBe32(cdb + 2), GetBe16(cdb + 7), in, inLength);
    case 0xA8:
      return Read(GetBe32(cdb + 2), GetBe32(cdb + 6), in, inLength);
    case 0x2A:
      return Write(GetBe32(cdb + 2), GetBe16(cdb + 7), out, outLength);
    case 0xAA:
      return Write(GetBe32(cdb + 2), GetBe32(cdb + 6), out, outLength);
    case 0x35:
      return SynchronizeCache();
    case 0x43:
      return ReadToc(cdb, in, inLength);
    case 0x46:
      return GetConfiguration(cdb, in, inLength);
    case 0x4A:
      return GetEventStatus(cdb, in, inLength);
    case 0x51:
      return ReadDiscInformation(cdb, in, inLength);
    case 0x52:
      return ReadTrackInformation(cdb, in, inLength);
    case 0x53:
      return ReserveTrack(cdb);
    case 0x54:  // SEND OPC INFORMATION: calibration needs nothing here
      return HasMedium() ? CommandReply{} : Fail(kNoMedium);
    case 0x55:
      return ModeSelect(cdb, out, outLength);
    case 0x5A:
      return ModeSense(cdb, in, inLength);
    case 0x5B:
      return CloseTrackSession(cdb);
    case 0x5C:
      return ReadBufferCapacity(cdb, in, inLength);
    case 0xA1:
      return Blank(cdb);
    case 0xAC:
      return GetPerformance(cdb, in, inLength);
    case 0xB6:  // SET STREAMING: the model writes at whatever speed it is asked
    case 0xBF:  // SEND DVD STRUCTURE: the time stamp is not kept
      return CommandReply{0, kNoSense, outLength};
    case 0xBB:
      return SetCdSpeed(cdb);
    default:
      return Fail(kInvalidOpcode);
  }
}

CommandReply SoftDrive::Inquiry(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  if ((cdb[1] & 0x01) != 0) return Fail(kInvalidFieldInCdb);  // no vital product data pages
  std::vector<uint8_t> reply(36, ' ');
  reply[0] = 0x05;  // CD/DVD device
  reply[1] = 0x80;  // removable
  reply[2] = 0x05;
  reply[3] = 0x02;
  reply[4] = 31;
  reply[5] = reply[6] = reply[7] = 0;
  std::memcpy(&reply[8], config_.vendor.data(), std::min<size_t>(8, config_.vendor.size()));
  std::memcpy(&reply[16], config_.product.data(), std::min<size_t>(16, config_.product.size()));
  std::memcpy(&reply[32], config_.revision.data(), std::min<size_t>(4, config_.revision.size()));
  return SendIn(reply, GetBe16(cdb + 3), data, dataLength);
}

CommandReply SoftDrive::RequestSense(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  std::vector<uint8_t> reply(kSenseDataLength);
  FormatSense(lastSense_, reply.data(), kSenseDataLength);
  lastSense_ = kNoSense;
  return SendIn(reply, cdb[4], data, dataLength);
}

std::vector<uint8_t> SoftDrive::Features() const {
  MediumKind kind = HasMedium() ? state_.kind : MediumKind::kNone;
  std::vector<uint8_t> out;
  // Profile list: every medium the drive writes, plus the read-only ones.
  static constexpr uint16_t kProfiles[] = {0x1B, 0x1A, 0x14, 0x13, 0x12, 0x11, 0x10, 0x0A, 0x09, 0x08};
  std::vector<uint8_t> list;
  for (uint16_t profile : kProfiles) {
    list.push_back(0);
    list.push_back(static_cast<uint8_t>(profile));
    list.push_back(profile == ProfileOf(kind) ? 1 : 0);
    list.push_back(0);
  }
  out.insert(out.end(), {0x00, 0x00, 0x03, static_cast<uint8_t>(list.size())});
  out.insert(out.end(), list.begin(), list.end());
  bool cd = IsCd(kind);
  bool dvd = kind != MediumKind::kNone && !cd;
  AppendFeature(&out, 0x0001, true, {0, 0, 0, 2});        // core, ATAPI
  AppendFeature(&out, 0x0003, true, {0x29, 0, 0, 0});     // removable: tray, eject, lock
  AppendFeature(&out, 0x001E, cd, {0, 0, 0, 0});          // CD read
  AppendFeature(&out, 0x001F, dvd, {0, 0, 0, 0});         // DVD read
  AppendFeature(&out, 0x0021, cd || kind == MediumKind::kDvdR || kind == MediumKind::kDvdRwSequential,
                {0, 1, 0x01, 0});                          // incremental streaming, BUF
  AppendFeature(&out, 0x0023, kind == MediumKind::kDvdPlusRw || kind == MediumKind::kDvdRam ||
                                  kind == MediumKind::kDvdRwSequential || kind == MediumKind::kDvdRwRestricted,
                {0, 0, 0, 0});                             // formattable
  AppendFeature(&out, 0x002A, kind == MediumKind::kDvdPlusRw, {0x01, 0, 0, 0});  // DVD+RW, Write
  AppendFeature(&out, 0x002B, kind == MediumKind::kDvdPlusR, {0x01, 0, 0, 0});   // DVD+R, Write
  AppendFeature(&out, 0x002D, cd, {0x46, 0, 0, 0});        // track at once: BUF, test write, CD-RW
  AppendFeature(&out, 0x002F, kind == MediumKind::kDvdR || kind == MediumKind::kDvdRwSequential ||
                                  kind == MediumKind::kDvdRwRestricted,
                {0x46, 0, 0, 0});                          // DVD-R/-RW write: BUF, test write, DVD-RW
  return out;
}

CommandReply SoftDrive::GetConfiguration(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  uint8_t requestType = cdb[1] & 0x03;
  uint16_t start = GetBe16(cdb + 2);
  if (requestType == 3) return Fail(kInvalidFieldInCdb);
  std::vector<uint8_t> features = Features();
  std::vector<uint8_t> reply(8, 0);
  for (size_t at = 0; at + 4 <= features.size();) {
    size_t size = 4 + size_t{features[at + 3]};
    uint16_t code = GetBe16(&features[at]);
    bool current = (features[at + 2] & 0x01) != 0;
    bool wanted = requestType == 2 ? code == start : code >= start && (requestType == 0 || current);
    if (wanted) reply.insert(reply.end(), features.begin() + at, features.begin() + at + size);
    at += size;
  }
  PutBe32(&reply[0], static_cast<uint32_t>(reply.size() - 4));
  PutBe16(&reply[6], HasMedium() ? ProfileOf(state_.kind) : 0);
  return SendIn(reply, GetBe16(cdb + 7), data, dataLength);
}

std::vector<uint8_t> SoftDrive::CapabilitiesPage() const {
  std::vector<uint8_t> page(36, 0);
  page[0] = 0x2A;
  page[1] = 34;
  page[2] = 0x3F;  // reads CD-R, CD-RW, mode 2, DVD-ROM, DVD-R, DVD-RAM
  page[3] = 0x37;  // writes CD-R, CD-RW, DVD-R, DVD-RAM; test write
  page[4] = 0xF0;  // buffer-underrun free, multisession, mode 2 forms
  page[6] = static_cast<uint8_t>(0x29 | (removalPrevented_ ? 0x02 : 0));  // tray, eject, lock
  PutBe16(&page[8], kMaxReadSpeedKbs);
  PutBe16(&page[10], 256);
  PutBe16(&page[12], kBufferBytes / 1024);
  PutBe16(&page[14], readSpeedKbs_);
  PutBe16(&page[18], kMaxWriteSpeedKbs);
  PutBe16(&page[20], writeSpeedKbs_);
  PutBe16(&page[28], writeSpeedKbs_);
  PutBe16(&page[30], 1);
  PutBe16(&page[34], kMaxWriteSpeedKbs);
  return page;
}

CommandReply SoftDrive::ModeSense(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  uint8_t pageCode = cdb[2] & 0x3F;
  uint8_t control = cdb[2] >> 6;  // 0 current, 1 changeable, 2 default, 3 saved
  if (control == 3) return Fail({5, 0x39, 0x00});  // saving parameters not supported
  std::vector<uint8_t> pages;
  auto add = [&](std::vector<uint8_t> page) {
    if (control == 1) std::fill(page.begin() + 2, page.end(), 0);
    if (control == 2 && page[0] == 0x2A) {
      PutBe16(&page[14], kMaxReadSpeedKbs);
      PutBe16(&page[20], kMaxWriteSpeedKbs);
      PutBe16(&page[28], kMaxWriteSpeedKbs);
    }
    pages.insert(pages.end(), page.begin(), page.end());
  };
  if (pageCode == 0x05 || pageCode == 0x3F) add(control == 2 ? DefaultWriteParameters() : writeParameters_);
  if (pageCode == 0x2A || pageCode == 0x3F) add(CapabilitiesPage());
  if (pages.empty()) return Fail(kInvalidFieldInCdb);
  std::vector<uint8_t> reply(8, 0);
  reply.insert(reply.end(), pages.begin(), pages.end());
  PutBe16(&reply[0], static_cast<uint32_t>(reply.size() - 2));
  return SendIn(reply, GetBe16(cdb + 7), data, dataLength);
}

CommandReply SoftDrive::ModeSelect(const uint8_t* cdb, const uint8_t* data, uint32_t dataLength) {
  uint32_t length = GetBe16(cdb + 7);
  if ((cdb[1] & 0x10) == 0) return Fail(kInvalidFieldInCdb);  // page format required
  if (length > dataLength || length < 10) return Fail(kParameterListLength);
  uint32_t offset = 8 + uint32_t{GetBe16(data + 6)};
  if (offset + 2 > length) return Fail(kParameterListLength);
  uint8_t pageCode = data[offset] & 0x3F;
  uint32_t pageSize = 2 + uint32_t{data[offset + 1]};
  if (offset + pageSize > length) return Fail(kParameterListLength);
  if (pageCode == 0x2A) return CommandReply{0, kNoSense, length};  // nothing in it is changeable
  if (pageCode != 0x05 || pageSize > writeParameters_.size() || pageSize < 16) return Fail(kInvalidFieldInParameters);
  const uint8_t* page = data + offset;
  uint8_t writeType = page[2] & 0x0F;
  uint8_t blockType = page[4] & 0x0F;
  if (writeType > 3 || !(blockType <= 3 || (blockType >= 8 && blockType <= 13))) {
    return Fail(kInvalidFieldInParameters);
  }
  std::vector<uint8_t> selected = DefaultWriteParameters();
  std::memcpy(&selected[2], page + 2, pageSize - 2);
  writeParameters_ = selected;
  return CommandReply{0, kNoSense, length};
}

CommandReply SoftDrive::SetCdSpeed(const uint8_t* cdb) {
  uint16_t read = GetBe16(cdb + 2);
  uint16_t write = GetBe16(cdb + 4);
  readSpeedKbs_ = read == 0 ? kMaxReadSpeedKbs : std::min(read, kMaxReadSpeedKbs);
  writeSpeedKbs_ = write == 0 ? kMaxWriteSpeedKbs : std::min(write, kMaxWriteSpeedKbs);
  return CommandReply{};
}

CommandReply SoftDrive::GetPerformance(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  uint8_t type = cdb[10];
  if (type != 0 && type != 3) return Fail(kInvalidFieldInCdb);
  if (!HasMedium()) return Fail(kNoMedium);
  uint32_t maxDescriptors = GetBe16(cdb + 8);
  std::vector<uint8_t> reply(8 + 16, 0);
  PutBe32(&reply[0], 4 + 16);
  uint32_t end = state_.capacityBlocks == 0 ? 0 : state_.capacityBlocks - 1;
  if (type == 0) {  // performance: read speed over the whole disc
    PutBe32(&reply[8], 0);
    PutBe32(&reply[12], readSpeedKbs_);
    PutBe32(&reply[16], end);
    PutBe32(&reply[20], readSpeedKbs_);
  } else {  // write speed descriptor
    PutBe32(&reply[12], end);
    PutBe32(&reply[16], kMaxReadSpeedKbs);
    PutBe32(&reply[20], kMaxWriteSpeedKbs);
  }
  return SendIn(reply, 8 + maxDescriptors * 16, data, dataLength);
}

CommandReply SoftDrive::ReadBufferCapacity(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  std::vector<uint8_t> reply(12, 0);
  PutBe16(&reply[0], 10);
  PutBe32(&reply[4], kBufferBytes);
  PutBe32(&reply[8], kBufferBytes);  // writes reach the file at once: always empty
  return SendIn(reply, GetBe16(cdb + 7), data, dataLength);
}

CommandReply SoftDrive::StartStop(const uint8_t* cdb) {
  bool loadEject = (cdb[4] & 0x02) != 0;
  bool start = (cdb[4] & 0x01) != 0;
  if (!loadEject) return CommandReply{};
  if (!start) {
    if (removalPrevented_) return Fail(kRemovalPrevented);
    store_.Flush();
    SaveState();
    mediumLoaded_ = false;
  } else {
    mediumLoaded_ = true;
  }
  return CommandReply{};
}

CommandReply SoftDrive::GetEventStatus(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  if ((cdb[1] & 0x01) == 0) return Fail(kInvalidFieldInCdb);  // only polled mode
  std::vector<uint8_t> reply(8, 0);
  PutBe16(&reply[0], 6);
  reply[2] = 0x04;  // media class
  reply[3] = 0x10;  // media class supported
  reply[5] = HasMedium() ? 0x02 : 0x00;
  return SendIn(reply, GetBe16(cdb + 7), data, dataLength);
}

}  // namespace softdrive

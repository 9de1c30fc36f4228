// The software drive's medium commands: disc, track and TOC information,
// capacities, reading and writing by block address, closing tracks and
// sessions, blanking, formatting and reserving.  Sequential media (CD-R,
// CD-RW, DVD-R, DVD-RW sequential, DVD+R) take writes only at the next
// writable address and grow sessions of one track each; overwritable media
// (DVD+RW, DVD-RAM, DVD-RW restricted overwrite) take writes anywhere once
// formatted.
#include <algorithm>
#include <cstring>

#include "soft_drive.h"
#include "soft_drive_internal.h"

namespace softdrive {

using detail::Fail;
using detail::SendIn;

namespace {

// A block address as minute, second and frame, with the 150-block offset
// of the first track's pre-gap that MSF addresses carry.
void PutMsf(uint8_t* p, uint32_t lba) {
  uint32_t frames = lba + 150;
  p[0] = static_cast<uint8_t>(frames / 4500);
  p[1] = static_cast<uint8_t>(frames / 75 % 60);
  p[2] = static_cast<uint8_t>(frames % 75);
}

bool IsDvdMinus(MediumKind kind) { return kind == MediumKind::kDvdR || kind == MediumKind::kDvdRwSequential; }

struct TrackRef {
  const Track* track = nullptr;  // null: the invisible (next) track
  uint32_t number = 0;
  uint32_t session = 0;
};

}  // namespace

CommandReply SoftDrive::ReadDiscInformation(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  Sense sense;
  if ((cdb[1] & 0x07) != 0) return Fail(kInvalidFieldInCdb);  // only standard disc information
  if (!MediumReady(&sense)) return Fail(sense);
  std::vector<uint8_t> reply(34, 0);
  PutBe16(&reply[0], 32);
  uint32_t discStatus = 0, sessionState = 0, sessions = 1, firstInLast = 1, lastInLast = 1;
  uint32_t trackCount = static_cast<uint32_t>(state_.TrackCount());
  if (IsOverwritable(state_.kind)) {
    if (state_.formatted) discStatus = 2, sessionState = 3;
  } else if (state_.sessions.empty()) {
    // blank: one empty session holding the invisible track 1
  } else if (state_.OpenSession() != nullptr) {
    discStatus = 1, sessionState = 1;
    sessions = static_cast<uint32_t>(state_.sessions.size());
    firstInLast = trackCount - static_cast<uint32_t>(state_.sessions.back().tracks.size()) + 1;
    lastInLast = trackCount + (state_.sessions.back().tracks.back().closed ? 1 : 0);
  } else if (state_.finalized || state_.NextWritable() >= state_.capacityBlocks) {
    discStatus = 2, sessionState = 3;
    sessions = static_cast<uint32_t>(state_.sessions.size());
    firstInLast = trackCount - static_cast<uint32_t>(state_.sessions.back().tracks.size()) + 1;
    lastInLast = trackCount;
  } else {
    discStatus = 1;
    sessions = static_cast<uint32_t>(state_.sessions.size()) + 1;
    firstInLast = lastInLast = trackCount + 1;
  }
  reply[2] = static_cast<uint8_t>((IsErasable(state_.kind) ? 0x10 : 0) | (sessionState << 2) | discStatus);
  reply[3] = 1;
  reply[4] = static_cast<uint8_t>(sessions);
  reply[5] = static_cast<uint8_t>(firstInLast);
  reply[6] = static_cast<uint8_t>(lastInLast);
  reply[7] = 0x20;  // unrestricted use
  reply[9] = static_cast<uint8_t>(sessions >> 8);
  reply[10] = static_cast<uint8_t>(firstInLast >> 8);
  reply[11] = static_cast<uint8_t>(lastInLast >> 8);
  std::memset(&reply[16], 0xFF, 8);
  if (IsCd(state_.kind) && discStatus != 2) {
    reply[16] = 0;
    PutMsf(&reply[17], state_.NextWritable());
    reply[20] = 0;
    PutMsf(&reply[21], state_.capacityBlocks);
  }
  return SendIn(reply, GetBe16(cdb + 7), data, dataLength);
}

CommandReply SoftDrive::ReadTrackInformation(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  Sense sense;
  if (!MediumReady(&sense)) return Fail(sense);
  uint8_t addressType = cdb[1] & 0x03;
  uint32_t value = GetBe32(cdb + 2);
  std::vector<uint8_t> reply(48, 0);
  PutBe16(&reply[0], 46);
  uint32_t capacity = state_.capacityBlocks;

  if (IsOverwritable(state_.kind)) {
    bool match = (addressType == 1 && (value == 1 || value == 0xFF)) || (addressType == 2 && value == 1) ||
                 (addressType == 0 && value < capacity);
    if (!match) return Fail(kInvalidFieldInCdb);
    bool restricted = state_.kind == MediumKind::kDvdRwRestricted;
    reply[2] = 1;
    reply[3] = 1;
    reply[5] = 0x04;
    reply[6] = static_cast<uint8_t>((restricted ? 0x30 : 0) | (state_.formatted ? 0 : 0x40) | 0x01);
    reply[7] = 0x01;
    PutBe32(&reply[12], state_.writtenEnd);
    PutBe32(&reply[16], capacity - state_.writtenEnd);
    PutBe32(&reply[20], restricted ? 16 : 0);
    PutBe32(&reply[24], capacity);
    PutBe32(&reply[28], state_.writtenEnd == 0 ? 0 : state_.writtenEnd - 1);
    return SendIn(reply, GetBe16(cdb + 7), data, dataLength);
  }

  // Sequential media: tracks 1..n, then the invisible track n+1 while the
  // disc takes another session.
  std::vector<TrackRef> tracks;
  for (size_t s = 0; s < state_.sessions.size(); ++s) {
    for (const auto& track : state_.sessions[s].tracks) {
      tracks.push_back({&track, static_cast<uint32_t>(tracks.size() + 1), static_cast<uint32_t>(s + 1)});
    }
  }
  bool hasInvisible = !state_.finalized && state_.NextWritable() < capacity &&
                      (tracks.empty() || tracks.back().track->closed);
  if (hasInvisible) {
    uint32_t session = static_cast<uint32_t>(state_.sessions.size()) + (state_.OpenSession() ? 0 : 1);
    tracks.push_back({nullptr, static_cast<uint32_t>(tracks.size() + 1), session});
  }
  const TrackRef* found = nullptr;
  for (const auto& ref : tracks) {
    uint32_t start = ref.track ? ref.track->start : state_.NextWritable();
    uint32_t extent = ref.track ? std::max(ref.track->recordedBlocks, ref.track->reservedBlocks) : capacity - start;
    bool match = addressType == 1   ? ref.number == value || (value == 0xFF && ref.track == nullptr)
                 : addressType == 2 ? ref.session == value
                                    : value >= start && value < start + std::max(extent, 1u);
    if (match) {
      found = &ref;
      break;
    }
  }
  if (found == nullptr) return Fail(kInvalidFieldInCdb);
  reply[2] = static_cast<uint8_t>(found->number);
  reply[3] = static_cast<uint8_t>(found->session);
  reply[5] = 0x04;  // data track, recorded uninterrupted
  reply[32] = static_cast<uint8_t>(found->number >> 8);
  reply[33] = static_cast<uint8_t>(found->session >> 8);
  const Track* track = found->track;
  if (track == nullptr) {
    uint32_t next = state_.NextWritable();
    reply[6] = 0x41;  // blank, data mode 1
    reply[7] = 0x01;  // next writable address valid
    PutBe32(&reply[8], next);
    PutBe32(&reply[12], next);
    PutBe32(&reply[16], capacity - next);
    PutBe32(&reply[24], capacity - next);
  } else {
    uint32_t next = track->start + track->recordedBlocks;
    uint32_t size = track->closed ? std::max(track->recordedBlocks, track->reservedBlocks)
                    : track->reservedBlocks != 0 ? track->reservedBlocks
                                                 : capacity - track->start;
    reply[6] = static_cast<uint8_t>(track->closed ? 0x01 : 0x81);  // reserved track while open
    reply[7] = track->closed ? 0 : 0x01;
    PutBe32(&reply[8], track->start);
    PutBe32(&reply[12], track->closed ? 0 : next);
    PutBe32(&reply[16], track->closed ? 0 : track->start + size - next);
    PutBe32(&reply[24], size);
    PutBe32(&reply[28], track->recordedBlocks == 0 ? track->start : next - 1);
  }
  return SendIn(reply, GetBe16(cdb + 7), data, dataLength);
}

CommandReply SoftDrive::ReadToc(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  Sense sense;
  if (!MediumReady(&sense)) return Fail(sense);
  uint8_t format = cdb[2] & 0x0F;
  if (format == 0 && (cdb[9] >> 6) != 0) format = cdb[9] >> 6;  // the older place of the format
  bool msf = (cdb[1] & 0x02) != 0;
  std::vector<uint8_t> reply(4, 0);
  auto putAddress = [&](uint8_t* p, uint32_t lba) {
    if (msf) {
      p[0] = 0;
      PutMsf(p + 1, lba);
    } else {
      PutBe32(p, lba);
    }
  };

  if (format == 4) {  // ATIP: only recordable CDs carry it
    if (!IsCd(state_.kind)) return Fail(kInvalidFieldInCdb);
    reply.resize(28, 0);
    reply[4] = 0x50;  // indicative writing power
    reply[6] = static_cast<uint8_t>(0x80 | (state_.kind == MediumKind::kCdRw ? 0x40 : 0));
    reply[8] = 97, reply[9] = 26, reply[10] = 66;  // lead-in start 97:26:66
    PutMsf(&reply[12], state_.capacityBlocks);  // last possible lead-out start
    PutBe16(&reply[0], static_cast<uint32_t>(reply.size() - 2));
    return SendIn(reply, GetBe16(cdb + 7), data, dataLength);
  }

  // TOC and session information list recorded tracks; the open track of an
  // unclosed session is not in the TOC yet.
  std::vector<std::pair<uint32_t, const Track*>> recorded;
  uint32_t number = 0, lastCompleteSession = 0, firstOfLastComplete = 0;
  for (const auto& session : state_.sessions) {
    if (!session.closed) break;
    ++lastCompleteSession;
    firstOfLastComplete = number + 1;
    for (const auto& track : session.tracks) recorded.push_back({++number, &track});
  }
  bool overwritable = IsOverwritable(state_.kind) && state_.formatted;
  if (overwritable) {
    static const Track whole;
    recorded.push_back({1, &whole});
    lastCompleteSession = firstOfLastComplete = 1;
  }
  if (recorded.empty() || (format != 0 && format != 1)) return Fail(kInvalidFieldInCdb);
  uint32_t leadOut = overwritable ? state_.capacityBlocks : recorded.back().second->start +
                                                                 recorded.back().second->recordedBlocks;
  auto addDescriptor = [&](uint8_t trackNumber, uint32_t lba) {
    size_t at = reply.size();
    reply.resize(at + 8, 0);
    reply[at + 1] = 0x14;  // data track, recorded uninterrupted
    reply[at + 2] = trackNumber;
    putAddress(&reply[at + 4], lba);
  };
  if (format == 0) {
    reply[2] = 1;
    reply[3] = static_cast<uint8_t>(recorded.back().first);
    for (const auto& [trackNumber, track] : recorded) {
      if (trackNumber >= cdb[6]) addDescriptor(static_cast<uint8_t>(trackNumber), track->start);
    }
    addDescriptor(0xAA, leadOut);
  } else {
    reply[2] = 1;
    reply[3] = static_cast<uint8_t>(lastCompleteSession);
    addDescriptor(static_cast<uint8_t>(firstOfLastComplete), recorded[firstOfLastComplete - 1].second->start);
  }
  PutBe16(&reply[0], static_cast<uint32_t>(reply.size() - 2));
  return SendIn(reply, GetBe16(cdb + 7), data, dataLength);
}

CommandReply SoftDrive::ReadCapacity(uint8_t* data, uint32_t dataLength) {
  Sense sense;
  if (!MediumReady(&sense)) return Fail(sense);
  uint32_t end = IsOverwritable(state_.kind) && state_.formatted ? state_.capacityBlocks : state_.RecordedEnd();
  std::vector<uint8_t> reply(8, 0);
  PutBe32(&reply[0], end == 0 ? 0 : end - 1);
  PutBe32(&reply[4], kBlockSize);
  return SendIn(reply, 8, data, dataLength);
}

CommandReply SoftDrive::ReadFormatCapacities(const uint8_t* cdb, uint8_t* data, uint32_t dataLength) {
  if (!HasMedium()) return Fail(kNoMedium);
  uint32_t capacity = state_.capacityBlocks;
  std::vector<uint8_t> reply(4, 0);
  auto add = [&](uint32_t blocks, uint8_t typeByte, uint32_t parameter) {
    size_t at = reply.size();
    reply.resize(at + 8, 0);
    PutBe32(&reply[at], blocks);
    reply[at + 4] = typeByte;
    reply[at + 5] = static_cast<uint8_t>(parameter >> 16);
    PutBe16(&reply[at + 6], parameter);
  };
  bool formatted = !IsOverwritable(state_.kind) || state_.formatted;
  add(capacity, formatted ? 0x02 : 0x01, kBlockSize);  // current capacity
  switch (state_.kind) {
    case MediumKind::kDvdRam:
      add(capacity, 0x00, kBlockSize);  // full format
      break;
    case MediumKind::kDvdRwSequential:
    case MediumKind::kDvdRwRestricted:
      add(capacity, 0x00, kBlockSize);  // full format
      add(capacity, 0x15 << 2, 16);     // quick format to restricted overwrite
      add(capacity, 0x13 << 2, 16);     // quick grow
      break;
    case MediumKind::kDvdPlusRw:
      add(capacity, 0x26 << 2, 0);  // basic format
      break;
    default:
      break;
  }
  reply[3] = static_cast<uint8_t>(reply.size() - 4);
  return SendIn(reply, GetBe16(cdb + 7), data, dataLength);
}

CommandReply SoftDrive::Read(uint32_t lba, uint32_t blocks, uint8_t* data, uint32_t dataLength) {
  Sense sense;
  if (!MediumReady(&sense)) return Fail(sense);
  if (uint64_t{blocks} * kBlockSize > dataLength) return Fail(kInvalidFieldInCdb);
  uint32_t readable = IsOverwritable(state_.kind) ? (state_.formatted ? state_.capacityBlocks : 0)
                                                  : state_.RecordedEnd();
  if (uint64_t{lba} + blocks > readable) return Fail(kLbaOutOfRange);
  if (blocks == 0) return CommandReply{};  // a transfer length of 0 moves nothing
  Pace();
  if (!store_.Read(lba, blocks, data)) return Fail(kReadError);
  return CommandReply{0, kNoSense, blocks * kBlockSize};
}

CommandReply SoftDrive::Write(uint32_t lba, uint32_t blocks, const uint8_t* data, uint32_t dataLength) {
  Sense sense;
  if (!MediumReady(&sense)) return Fail(sense);
  if (uint64_t{blocks} * kBlockSize > dataLength) return Fail(kInvalidFieldInCdb);
  if (uint64_t{lba} + blocks > state_.capacityBlocks) return Fail(kLbaOutOfRange);
  auto covers = [&](const std::optional<uint32_t>& bad) { return bad && *bad >= lba && *bad - lba < blocks; };
  if (covers(config_.writeErrorLba)) return Fail(kWriteError);
  if (covers(config_.underrunLba)) return Fail(kLossOfStreaming);
  bool overwritable = IsOverwritable(state_.kind);
  if (overwritable && !state_.formatted) return Fail(kIncompatibleFormat);
  if (!overwritable && (state_.finalized || lba != state_.NextWritable())) return Fail(kInvalidWriteAddress);
  Pace();
  if ((writeParameters_[2] & 0x10) != 0) return CommandReply{0, kNoSense, blocks * kBlockSize};  // test write
  if (blocks != 0 && !store_.Write(lba, blocks, data)) return Fail(kWriteError);
  if (overwritable) {
    state_.writtenEnd = std::max(state_.writtenEnd, lba + blocks);
    return CommandReply{0, kNoSense, blocks * kBlockSize};
  }
  bool opened = false;
  Session* session = state_.OpenSession();
  if (session == nullptr) {
    state_.sessions.push_back(Session{});
    session = &state_.sessions.back();
  }
  if (session->tracks.empty() || session->tracks.back().closed) {
    session->tracks.push_back(Track{lba, 0, 0, false});
    opened = true;
  }
  session->tracks.back().recordedBlocks += blocks;
  if (opened) SaveState();
  return CommandReply{0, kNoSense, blocks * kBlockSize};
}

void SoftDrive::CloseOpenSession(bool finalize) {
  Session* session = state_.OpenSession();
  if (session != nullptr) {
    for (auto& track : session->tracks) track.closed = true;
    session->closed = true;
    // A session that never received data leaves nothing on the disc.
    bool empty = std::all_of(session->tracks.begin(), session->tracks.end(),
                             [](const Track& t) { return t.recordedBlocks == 0 && t.reservedBlocks == 0; });
    if (empty) state_.sessions.pop_back();
  }
  if (finalize && !state_.sessions.empty()) state_.finalized = true;
}

CommandReply SoftDrive::CloseTrackSession(const uint8_t* cdb) {
  Sense sense;
  if (!MediumReady(&sense)) return Fail(sense);
  uint8_t function = cdb[2] & 0x07;
  if (IsOverwritable(state_.kind)) {
    store_.Flush();
    return CommandReply{};
  }
  Session* session = state_.OpenSession();
  bool multisession = (writeParameters_[3] >> 6) == 3;
  switch (function) {
    case 1:  // close track
      if (session != nullptr) {
        Track& track = session->tracks.back();
        track.closed = true;
        if (track.recordedBlocks == 0 && track.reservedBlocks == 0) {
          session->tracks.pop_back();
          if (session->tracks.empty()) state_.sessions.pop_back();
        }
      }
      break;
    case 2:  // close session; CD and DVD-R finalize unless multisession is set
    case 3:  // DVD+R: close the session compatibly
      CloseOpenSession((IsCd(state_.kind) || IsDvdMinus(state_.kind)) && !multisession);
      break;
    case 5:
    case 6:  // finalize
      CloseOpenSession(true);
      break;
    default:
      return Fail(kInvalidFieldInCdb);
  }
  store_.Flush();
  SaveState();
  return CommandReply{};
}

CommandReply SoftDrive::Blank(const uint8_t* cdb) {
  Sense sense;
  if (!MediumReady(&sense)) return Fail(sense);
  uint8_t type = cdb[1] & 0x07;
  if (type > 1) return Fail(kInvalidFieldInCdb);  // whole disc or minimal only
  MediumKind kind = state_.kind;
  if (kind != MediumKind::kCdRw && kind != MediumKind::kDvdRwSequential && kind != MediumKind::kDvdRwRestricted) {
    return Fail(kIncompatibleMedium);
  }
  state_.kind = kind == MediumKind::kDvdRwRestricted ? MediumKind::kDvdRwSequential : kind;
  state_.sessions.clear();
  state_.finalized = false;
  state_.writtenEnd = 0;
  if (!store_.Truncate(0)) return Fail(kWriteError);
  SaveState();
  return CommandReply{};
}

CommandReply SoftDrive::FormatUnit(const uint8_t* cdb, const uint8_t* data, uint32_t dataLength) {
  Sense sense;
  if (!MediumReady(&sense)) return Fail(sense);
  if ((cdb[1] & 0x10) == 0) return Fail(kInvalidFieldInCdb);  // the format list is required
  if (dataLength < 12 || GetBe16(data + 2) != 8) return Fail(kParameterListLength);
  uint8_t formatType = data[8] >> 2;
  switch (state_.kind) {
    case MediumKind::kDvdPlusRw:
      if (formatType != 0x26) return Fail(kInvalidFieldInParameters);
      break;
    case MediumKind::kDvdRam:
      if (formatType != 0x00) return Fail(kInvalidFieldInParameters);
      break;
    case MediumKind::kDvdRwSequential:
    case MediumKind::kDvdRwRestricted:
      if (formatType != 0x00 && formatType != 0x10 && formatType != 0x13 && formatType != 0x15) {
        return Fail(kInvalidFieldInParameters);
      }
      state_.kind = MediumKind::kDvdRwRestricted;
      state_.sessions.clear();
      state_.finalized = false;
      break;
    default:
      return Fail(kIncompatibleMedium);
  }
  state_.formatted = true;
  SaveState();
  return CommandReply{0, kNoSense, 12};
}

CommandReply SoftDrive::ReserveTrack(const uint8_t* cdb) {
  Sense sense;
  if (!MediumReady(&sense)) return Fail(sense);
  uint32_t size = GetBe32(cdb + 5);
  if (IsOverwritable(state_.kind) || state_.finalized) return Fail(kIncompatibleMedium);
  Session* session = state_.OpenSession();
  if (session != nullptr && !session->tracks.back().closed) return Fail(kInvalidWriteAddress);
  uint32_t start = state_.NextWritable();
  if (size == 0 || uint64_t{start} + size > state_.capacityBlocks) return Fail(kLbaOutOfRange);
  if (session == nullptr) {
    state_.sessions.push_back(Session{});
    session = &state_.sessions.back();
  }
  session->tracks.push_back(Track{start, 0, size, false});
  SaveState();
  return CommandReply{};
}

CommandReply SoftDrive::SynchronizeCache() {
  if (!HasMedium()) return Fail(kNoMedium);
  if (!store_.Flush()) return Fail(kWriteError);
  SaveState();
  return CommandReply{};
}

}  // namespace softdrive

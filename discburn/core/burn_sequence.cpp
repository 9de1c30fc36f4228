// The burn's command sequence over MmcDevice: start, prologue, units with
// their retries, and the close per medium.
#include "burn_sequence.h"

#include <algorithm>

#include "burn_plan.h"
#include "mmc_commands.h"
#include "mmc_replies.h"
#include "scsi_request.h"

namespace discburn {

namespace {

bool SendList(MmcDevice& mmc, const ScsiCommand& command, const uint8_t* list, uint32_t length) {
  std::vector<uint8_t> bytes(list, list + length);
  return mmc.RunWith(command, bytes.data(), length);
}

bool SendFormat(MmcDevice& mmc, const FormatList& list) {
  return SendList(mmc, FormatUnit(0x11), list.data(), static_cast<uint32_t>(list.size()));
}

}  // namespace

bool WaitWhileNotReady(MmcDevice& mmc, BurnPacing& pacing, bool withTestUnitReady, const std::atomic<int>* stop) {
  std::vector<uint8_t> info(42);
  for (int poll = 0; poll < kMaxNotReadyPolls; ++poll) {
    bool done = withTestUnitReady ? mmc.RunWith(TestUnitReady(), nullptr, 0)
                                  : mmc.RunWith(ReadDiscInfo(42), info.data(), 42);
    if (done || mmc.lastOutcome().sense.asc() != 0x04) return true;
    if (stop != nullptr && stop->load()) return false;
    pacing.PauseMs(kNotReadyPollMs);
  }
  return false;
}

uint32_t BurnSequence::BeginProject(uint8_t discType) {
  isProject_ = true;
  discType_ = discType;
  isFormatted_ = false;
  WriteSettings& settings = mmc_.settings();
  mmc_.WriteParameters(settings.testWrite, settings.burnProof, 0, discType_);
  std::vector<uint8_t> info(42);
  mmc_.RunWith(ReadDiscInfo(42), info.data(), 42);
  FormatDvdRw();
  FindSessionStart();
  return sessionStart_;
}

void BurnSequence::BeginImage(uint8_t discType) {
  isProject_ = false;
  discType_ = discType;
  isFormatted_ = false;
  sessionStart_ = 0;
}

void BurnSequence::FormatDvdRw() {
  if (discType_ == kDiscDvdRwSequential) {
    if (!SendFormat(mmc_, kFormatDvdRwQuick)) SendFormat(mmc_, kFormatDvdRwQuickWhole);
  } else if (discType_ == kDiscDvdRwRestricted) {
    SendFormat(mmc_, kFormatDvdRwGrow);
  } else {
    return;
  }
  WaitWhileNotReady(mmc_, pacing_, false);
}

void BurnSequence::FindSessionStart() {
  // A start found for an earlier medium says nothing about this one.
  sessionStart_ = 0;
  if (discType_ == kDiscDvdPlusRw || discType_ == kDiscDvdRam) {
    sessionStart_ = mmc_.LastSessionStart();
    return;
  }
  std::vector<uint8_t> answer(40);
  uint8_t last = mmc_.LastTrackInLastSession();
  if (last != 0 && mmc_.RunWith(ReadTrackInfo(last), answer.data(), 40)) {
    if (auto track = ParseTrackInfo(answer.data(), mmc_.lastOutcome().validBytes)) {
      sessionStart_ = track->nextWritable;
      return;
    }
  }
  if (mmc_.RunWith(ReadTrackInfo(1), answer.data(), 40)) {
    if (auto track = ParseTrackInfo(answer.data(), mmc_.lastOutcome().validBytes)) {
      sessionStart_ = track->trackStart;
    }
  }
}

void BurnSequence::SampleBuffer() {
  if (!mmc_.BufferCapacity()) return;
  bufferLength_ = mmc_.bufferLength();
  bufferUsed_ = mmc_.bufferLength() - std::min(mmc_.bufferLength(), mmc_.bufferFree());
}

void BurnSequence::Prologue(uint32_t imageSectors) {
  imageSectors_ = imageSectors;
  units_ = 0;
  lba_ = isProject_ ? sessionStart_ : 0;
  firstUnit_.clear();
  bufferLength_ = 0;
  bufferUsed_ = 0;
  WriteSettings& settings = mmc_.settings();
  mmc_.RunWith(SyncCache(false), nullptr, 0);
  mmc_.RunWith(Rezero(), nullptr, 0);
  mmc_.WriteParameters(settings.testWrite, settings.burnProof, 0, discType_);
  std::vector<uint8_t> info(42);
  mmc_.RunWith(ReadDiscInfo(42), info.data(), 42);
  SampleBuffer();
  mmc_.WriteParameters(settings.testWrite, settings.burnProof,
                       discType_ == kDiscDvdPlusR && !settings.finalize ? 1 : 0, discType_);
  mmc_.ApplyStoredSpeeds();
  trackBase_ = mmc_.SessionsOnDisc();
  if (discType_ == kDiscDvdR) {
    auto streaming = StreamingDescriptor(imageSectors_, kDvdStreamingKbs);
    SendList(mmc_, SetStreaming(28), streaming.data(), 28);
    auto stamp = DvdTimeStamp(pacing_.NowUtc());
    SendList(mmc_, SendDvdStructure(0x0F, 22), stamp.data(), 22);
    mmc_.RunWith(ReserveTrack(imageSectors_), nullptr, 0);
  }
  if (isProject_ && IsOverwritable(discType_)) mmc_.RunWith(SyncCache(false), nullptr, 0);
}

bool BurnSequence::WriteUnit(uint32_t lba, uint8_t* data, uint32_t sectors, bool isFirst) {
  int busyAttempts = 0, resetAttempts = 0;
  for (;;) {
    if (mmc_.RunWith(Write10(lba, static_cast<uint16_t>(sectors)), data, sectors * 2048)) return true;
    const ScsiOutcome& outcome = mmc_.lastOutcome();
    uint8_t asc = outcome.sense.asc(), ascq = outcome.sense.ascq();
    bool busy = outcome.targetStatus == kScsiStatusBusy;
    if (stop_.load()) return false;
    if (isFirst && isProject_ && discType_ == kDiscDvdPlusRw && asc == 0x30 && ascq == 0x05 && !isFormatted_) {
      // An unformatted DVD+RW: the basic format once, then the write again.
      isFormatted_ = true;
      if (SendFormat(mmc_, kFormatDvdPlusRwBasic) && WaitWhileNotReady(mmc_, pacing_, false, &stop_)) continue;
    } else if ((busy || asc == 0x04) && ++busyAttempts < kMaxBusyAttempts) {
      pacing_.PauseMs(isFirst ? 200 : 100);
      continue;
    } else if (isFirst && IsOverwritable(discType_) && (busy || asc == 0 || asc == 0x29) &&
               ++resetAttempts < kMaxFirstUnitAttempts) {
      pacing_.PauseMs(asc == 0x29 ? 1200 : 200);
      continue;
    }
    return false;
  }
}

bool BurnSequence::WriteNext(uint8_t* data, uint32_t sectors) {
  if (!WriteUnit(lba_, data, sectors, units_ == 0)) return false;
  // On an overwritable medium the first unit goes to sector 0 as well, so
  // that the descriptors at sector 16 lead to the new session.  That is
  // done last, once the whole session is on the medium: a burn that fails
  // half-way leaves the previous session in charge.
  if (units_ == 0 && isProject_ && IsOverwritable(discType_) && sessionStart_ != 0) {
    firstUnit_.assign(data, data + size_t{sectors} * 2048);
  }
  ++units_;
  if (units_ == 3 || (units_ > 3 && (units_ - 3) % 6 == 0)) SampleBuffer();
  lba_ += sectors;
  return true;
}

bool BurnSequence::CompleteSession(bool allDataWritten) {
  if (!allDataWritten) return false;
  if (firstUnit_.empty()) return true;
  mmc_.RunWith(SyncCache(false), nullptr, 0);
  return WriteUnit(0, firstUnit_.data(), static_cast<uint32_t>(firstUnit_.size() / 2048), true);
}

void BurnSequence::CloseMedium(bool isComplete) {
  WriteSettings& settings = mmc_.settings();
  const uint8_t n = trackBase_;
  auto close = [&](bool immediate, uint8_t function, uint16_t track) {
    return mmc_.RunWith(CloseTrackSession(immediate, function, track), nullptr, 0);
  };
  if (!isComplete) {
    // Nothing is closed over a session whose data did not all arrive: the
    // medium keeps its last complete session.
    mmc_.RunWith(SyncCache(false), nullptr, 0);
  } else {
    switch (discType_) {
      case kDiscDvdR:
        mmc_.RunWith(SyncCache(false), nullptr, 0);
        close(false, 1, n + 1);
        close(false, 1, n + 2);
        close(false, 2, n + 3);
        break;
      case kDiscDvdPlusR:
        mmc_.RunWith(SyncCache(false), nullptr, 0);
        close(false, 1, n + 1);
        if (settings.finalize) close(false, 6, 0);
        else close(false, 2, 0xFF);
        break;
      case kDiscDvdPlusRw:
        mmc_.RunWith(SyncCache(false), nullptr, 0);
        close(false, 3, 0xFF);
        break;
      case kDiscDvdRwRestricted:
      case kDiscDvdRwSequential:
        mmc_.RunWith(SyncCache(false), nullptr, 0);
        close(false, 1, 1);
        close(true, 2, 0);
        WaitWhileNotReady(mmc_, pacing_, false);
        break;
      case kDiscCdR:
      case kDiscCdRw:
        mmc_.RunWith(SyncCache(true), nullptr, 0);
        WaitWhileNotReady(mmc_, pacing_, false);
        WaitWhileNotReady(mmc_, pacing_, true);
        mmc_.WriteParameters(settings.testWrite, settings.burnProof, settings.finalize ? 0 : 1, discType_);
        if (!close(true, 2, 0)) close(true, 1, 0xFF);
        break;
      default: {
        bool waits = discType_ != kDiscDvdRam;
        mmc_.RunWith(SyncCache(true), nullptr, 0);
        if (waits) {
          WaitWhileNotReady(mmc_, pacing_, false);
          WaitWhileNotReady(mmc_, pacing_, true);
        }
        if (!close(false, 1, 0xFF)) close(true, 1, 0xFF);
        mmc_.WriteParameters(settings.testWrite, settings.burnProof, settings.finalize ? 0 : 1, discType_);
        if (!close(true, 2, 0)) close(false, 2, 0);
        break;
      }
    }
  }
  if (discType_ != kDiscDvdRam) WaitWhileNotReady(mmc_, pacing_, false);
  mmc_.RunWith(Prevent(false), nullptr, 0);
  mmc_.RunWith(StartStop(false, 3), nullptr, 0);
  mmc_.RunWith(Rezero(), nullptr, 0);
  mmc_.RunWith(TestUnitReady(), nullptr, 0);
}

}  // namespace discburn

// A ScsiTransport straight into the software drive, for the native tests:
// what the ASPI layer does under Wine, without the request block.
#pragma once

#include "scsi_transport.h"
#include "soft_drive.h"

namespace discburn {

class SoftDriveTransport : public ScsiTransport {
 public:
  explicit SoftDriveTransport(softdrive::SoftDrive* drive) : drive_(drive) {}

  ScsiOutcome Execute(const ScsiCommand& command, uint8_t* data, uint32_t dataLength) override {
    softdrive::DataDirection direction = command.direction == DataDirection::kIn    ? softdrive::DataDirection::kIn
                                         : command.direction == DataDirection::kOut ? softdrive::DataDirection::kOut
                                                                                    : softdrive::DataDirection::kNone;
    softdrive::CommandReply reply = drive_->Execute(command.cdb.data(), command.cdbLength, data, dataLength, direction);
    ScsiOutcome outcome;
    outcome.completed = reply.status == softdrive::kStatusGood;
    outcome.targetStatus = reply.status;
    if (!outcome.completed) softdrive::FormatSense(reply.sense, outcome.sense.bytes.data(), 32);
    outcome.validBytes = reply.transferred;
    ++commands;
    return outcome;
  }

  int commands = 0;

 private:
  softdrive::SoftDrive* drive_;
};

}  // namespace discburn

// The recorded layout of the medium in the software drive: its sessions and
// tracks (sequential media) or its formatted and written extent
// (overwritable media), and whether the disc is finalized.  The data
// themselves live in the backing file; this state lives in a small text
// file beside it (<backing>.state), rewritten through a temporary file and a
// rename, so that a second process that opens the same medium sees the
// sessions the first one wrote.
//
// The model keeps no border zones between DVD sessions: a DVD session
// starts where the previous one ends.  A CD session starts after the
// previous session's lead-out, the next lead-in and the pre-gap (11400
// blocks after the first session, 6900 after later ones), as the drives do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drive_config.h"

namespace softdrive {

struct Track {
  uint32_t start = 0;          // first block
  uint32_t recordedBlocks = 0;  // blocks written so far
  uint32_t reservedBlocks = 0;  // RESERVE TRACK size, 0 when none
  bool closed = false;
};

struct Session {
  std::vector<Track> tracks;
  bool closed = false;
};

// At most this many tracks on a disc, as on a CD.
inline constexpr size_t kMaxTracks = 99;

struct MediumState {
  MediumKind kind = MediumKind::kNone;
  uint32_t capacityBlocks = 0;
  bool formatted = true;
  bool finalized = false;
  uint32_t writtenEnd = 0;  // overwritable media: highest block written + 1
  std::vector<Session> sessions;  // sequential media only

  size_t TrackCount() const;
  // The session that is open for writing, when there is one.
  Session* OpenSession();
  const Session* OpenSession() const;
  // The first block the next write must address on sequential media:
  // the end of the open track, or the start of the next session.
  uint32_t NextWritable() const;
  // The block after the last recorded one (what a reader can reach).
  uint32_t RecordedEnd() const;
  uint32_t ClosedSessionCount() const;
};

// Blocks between the end of a closed session and the next session's data.
uint32_t SessionGap(MediumKind kind, bool afterFirstSession);

// The medium the configuration describes when no state file exists yet.
MediumState MakeInitialState(const DriveConfig& config);

std::string SerializeState(const MediumState& state);
// nullopt when the text is not a consistent state: unknown keys, numbers
// out of range, tracks overlapping or past the capacity.
std::optional<MediumState> ParseState(std::string_view text);

}  // namespace softdrive

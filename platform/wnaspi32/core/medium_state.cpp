// Layout bookkeeping and the state file format; see medium_state.h.
#include "medium_state.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace softdrive {
namespace {

constexpr char kStateMagic[] = "orb-soft-drive-state 1";

// Splits "word n n n" into its parts; false on anything but numbers.
bool ParseNumbers(std::string_view text, std::vector<uint32_t>* numbers) {
  numbers->clear();
  while (!text.empty()) {
    size_t space = text.find(' ');
    std::string_view word = text.substr(0, space);
    text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
    if (word.empty()) continue;
    uint32_t value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) return false;
    numbers->push_back(value);
  }
  return true;
}

bool IsConsistent(const MediumState& state) {
  if (state.kind == MediumKind::kNone) return state.sessions.empty();
  if (IsOverwritable(state.kind)) return state.sessions.empty() && state.writtenEnd <= state.capacityBlocks;
  if (state.TrackCount() > kMaxTracks) return false;
  uint64_t end = 0;
  for (size_t s = 0; s < state.sessions.size(); ++s) {
    const Session& session = state.sessions[s];
    if (session.tracks.empty()) return false;
    if (s + 1 < state.sessions.size() && !session.closed) return false;  // only the last may be open
    for (size_t t = 0; t < session.tracks.size(); ++t) {
      const Track& track = session.tracks[t];
      if (track.start < end) return false;
      if (session.closed && !track.closed) return false;
      if (t + 1 < session.tracks.size() && !track.closed) return false;
      uint64_t extent = std::max(track.recordedBlocks, track.reservedBlocks);
      end = uint64_t{track.start} + extent;
      if (end > state.capacityBlocks) return false;
    }
  }
  return !state.finalized || state.sessions.empty() || state.sessions.back().closed;
}

}  // namespace

size_t MediumState::TrackCount() const {
  size_t count = 0;
  for (const auto& session : sessions) count += session.tracks.size();
  return count;
}

Session* MediumState::OpenSession() {
  if (sessions.empty() || sessions.back().closed) return nullptr;
  return &sessions.back();
}

const Session* MediumState::OpenSession() const {
  if (sessions.empty() || sessions.back().closed) return nullptr;
  return &sessions.back();
}

uint32_t SessionGap(MediumKind kind, bool afterFirstSession) {
  if (!IsCd(kind)) return 0;
  return afterFirstSession ? 11400 : 6900;
}

uint32_t MediumState::NextWritable() const {
  if (sessions.empty()) return 0;
  const Session& session = sessions.back();
  const Track& last = session.tracks.back();
  if (!session.closed && !last.closed) return last.start + last.recordedBlocks;
  uint32_t end = last.start + std::max(last.recordedBlocks, last.reservedBlocks);
  if (!session.closed) return end;
  uint64_t next = uint64_t{end} + SessionGap(kind, sessions.size() == 1);
  return next > capacityBlocks ? capacityBlocks : static_cast<uint32_t>(next);
}

uint32_t MediumState::RecordedEnd() const {
  if (IsOverwritable(kind)) return writtenEnd;
  if (sessions.empty()) return 0;
  const Track& last = sessions.back().tracks.back();
  return last.start + last.recordedBlocks;
}

uint32_t MediumState::ClosedSessionCount() const {
  uint32_t count = 0;
  for (const auto& session : sessions) count += session.closed ? 1 : 0;
  return count;
}

MediumState MakeInitialState(const DriveConfig& config) {
  MediumState state;
  state.kind = config.noMedium ? MediumKind::kNone : config.medium;
  state.capacityBlocks = config.EffectiveCapacity();
  if (state.kind == MediumKind::kNone) return state;
  state.formatted = IsOverwritable(state.kind) ? config.formatted : true;
  if (IsOverwritable(state.kind)) {
    uint64_t written = uint64_t{config.sessions} * config.sessionBlocks;
    state.writtenEnd = static_cast<uint32_t>(std::min<uint64_t>(written, state.capacityBlocks));
    return state;
  }
  for (uint32_t i = 0; i < config.sessions && config.sessionBlocks != 0; ++i) {
    uint32_t start = state.NextWritable();
    if (uint64_t{start} + config.sessionBlocks > state.capacityBlocks) break;  // the disc is full
    Session session;
    session.closed = true;
    session.tracks.push_back(Track{start, config.sessionBlocks, 0, true});
    state.sessions.push_back(session);
  }
  state.finalized = config.finalized && !state.sessions.empty();
  return state;
}

std::string SerializeState(const MediumState& state) {
  std::ostringstream out;
  out << kStateMagic << "\n"
      << "medium " << MediumKindName(state.kind) << "\n"
      << "capacity " << state.capacityBlocks << "\n"
      << "formatted " << (state.formatted ? 1 : 0) << "\n"
      << "finalized " << (state.finalized ? 1 : 0) << "\n"
      << "written " << state.writtenEnd << "\n";
  for (const auto& session : state.sessions) {
    out << "session " << (session.closed ? 1 : 0) << "\n";
    for (const auto& track : session.tracks) {
      out << "track " << track.start << " " << track.recordedBlocks << " " << track.reservedBlocks << " "
          << (track.closed ? 1 : 0) << "\n";
    }
  }
  return out.str();
}

std::optional<MediumState> ParseState(std::string_view text) {
  MediumState state;
  bool sawMagic = false;
  std::vector<uint32_t> numbers;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty()) continue;
    if (!sawMagic) {
      if (line != kStateMagic) return std::nullopt;
      sawMagic = true;
      continue;
    }
    size_t space = line.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    std::string_view key = line.substr(0, space);
    std::string_view rest = line.substr(space + 1);
    if (key == "medium") {
      auto kind = ParseMediumKind(rest);
      if (!kind) return std::nullopt;
      state.kind = *kind;
      continue;
    }
    if (!ParseNumbers(rest, &numbers)) return std::nullopt;
    if (key == "track") {
      if (numbers.size() != 4 || state.sessions.empty() || numbers[3] > 1) return std::nullopt;
      if (state.TrackCount() >= kMaxTracks) return std::nullopt;
      state.sessions.back().tracks.push_back(Track{numbers[0], numbers[1], numbers[2], numbers[3] == 1});
      continue;
    }
    if (numbers.size() != 1) return std::nullopt;
    uint32_t value = numbers[0];
    if (key == "capacity") {
      state.capacityBlocks = value;
    } else if (key == "written") {
      state.writtenEnd = value;
    } else if (key == "formatted" || key == "finalized" || key == "session") {
      if (value > 1) return std::nullopt;
      if (key == "formatted") state.formatted = value == 1;
      if (key == "finalized") state.finalized = value == 1;
      if (key == "session") {
        if (state.sessions.size() >= kMaxTracks) return std::nullopt;
        state.sessions.push_back(Session{{}, value == 1});
      }
    } else {
      return std::nullopt;
    }
  }
  if (!sawMagic || !IsConsistent(state)) return std::nullopt;
  return state;
}

}  // namespace softdrive

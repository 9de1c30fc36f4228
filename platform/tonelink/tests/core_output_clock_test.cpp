// The output clock: running time without the paused and stopped spans.
#include <gtest/gtest.h>

#include <vector>

#include "output_clock.h"

namespace {

using tonelink::OutputClock;
using State = OutputClock::State;

enum class Action { kStart, kPause, kStop };

struct Step {
  Action action;
  uint64_t atMs;
};

struct ClockCase {
  const char* name;
  uint64_t createdAtMs;
  std::vector<Step> steps;
  uint64_t readAtMs;
  uint64_t expectedElapsedMs;
  State expectedState;
};

TEST(OutputClock, CountsOnlyRunningTime) {
  const ClockCase cases[] = {
      {"runs from creation", 1000, {}, 1250, 250, State::kRunning},
      {"read at creation", 1000, {}, 1000, 0, State::kRunning},
      {"paused holds", 0, {{Action::kPause, 300}}, 5000, 300, State::kPaused},
      {"stopped holds", 0, {{Action::kStop, 400}}, 5000, 400, State::kStopped},
      {"resumed after pause",
       0,
       {{Action::kPause, 300}, {Action::kStart, 1000}},
       1200,
       500,
       State::kRunning},
      {"resumed after stop",
       0,
       {{Action::kStop, 100}, {Action::kStart, 200}},
       300,
       200,
       State::kRunning},
      {"start while running changes nothing",
       0,
       {{Action::kStart, 500}},
       800,
       800,
       State::kRunning},
      {"pause twice keeps the first hold",
       0,
       {{Action::kPause, 100}, {Action::kPause, 900}},
       1000,
       100,
       State::kPaused},
      {"stop after pause",
       0,
       {{Action::kPause, 100}, {Action::kStop, 900}},
       1000,
       100,
       State::kStopped},
      {"several spans",
       0,
       {{Action::kPause, 100}, {Action::kStart, 200}, {Action::kStop, 250}, {Action::kStart, 1000}},
       1100,
       250,
       State::kRunning},
      {"source going back adds nothing", 1000, {}, 900, 0, State::kRunning},
  };
  for (const ClockCase& c : cases) {
    SCOPED_TRACE(c.name);
    OutputClock clock(c.createdAtMs);
    for (const Step& step : c.steps) {
      switch (step.action) {
        case Action::kStart:
          clock.Start(step.atMs);
          break;
        case Action::kPause:
          clock.Pause(step.atMs);
          break;
        case Action::kStop:
          clock.Stop(step.atMs);
          break;
      }
    }
    EXPECT_EQ(c.expectedElapsedMs, clock.ElapsedMs(c.readAtMs));
    EXPECT_EQ(c.expectedState, clock.state());
  }
}

}  // namespace

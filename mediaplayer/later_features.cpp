// The parts of the player that are not built yet, as the rest of the player
// calls them (see later_features.h).  Nothing here pretends: a function
// that would play, show or save something does nothing and says so in the
// trace.
#include "later_features.h"

#include <string>

#include "player_state.h"
#include "themecore.h"
#include "trace_writer.h"

namespace player {

namespace {

constexpr char kTraceName[] = "orbplay";

void TraceNotBuilt(orbtrace::CallLine call) { orbtrace::WriteCall(call, "not built"); }

orbtrace::CallLine Call(const char* function) { return orbtrace::CallLine(kTraceName, function); }

}  // namespace

void ChooseFrameTarget(const std::string& temporaryFile) {
  TraceNotBuilt(Call("ChooseFrameTarget").Text(temporaryFile.c_str()));
}

void ResetDisplayState() {
  PlayerState& p = Player();
  p.displayState = DISPLAY_NORMAL;
  p.slideMode = SLIDE_NONE;
  if (p.zoomHolder != nullptr) ShowWindow(p.zoomHolder, SW_HIDE);
}


}  // namespace player

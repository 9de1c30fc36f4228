// The rules of the player's picture view and slide show that need no
// window: fitting a picture into a box, the transition of a picture (its
// "sfx" side file or the cycle of the transition list), the caption's
// place, scrolling, the printed picture's place on the page, and how large
// the memory picture may grow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace player {

struct FitRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const FitRect&) const = default;
};

// A source fitted into a box keeping its proportions, enlarged when
// smaller, and centred.  A zero source side leaves that scale out.
FitRect FitEnlarged(int32_t sourceWidth, int32_t sourceHeight, int32_t boxWidth, int32_t boxHeight);

// "1-3, 7" -> 1, 2, 3, 7: blanks removed, comma fields, "a-b" every number
// from a to b.  The list holds at most kMaxTransitionRange numbers, so a
// mistyped "1-2000000000" cannot exhaust memory.
constexpr int32_t kMaxTransitionRange = 10000;
std::vector<int32_t> ParseTransitionList(const std::string& text);

// Effect numbers.
constexpr int32_t EFFECT_NONE = 18000;
constexpr int32_t FIRST_FADE_EFFECT = 17000;
enum class TransitionKind { kNone, kFade, kImaging };
TransitionKind KindOfEffect(int32_t effect);

// A picture's transition text ("effect|..., grain, delay" or "effect,
// grain, delay"): the effect is the leading number of the text before the
// first "|"; grain and delay are comma fields 2 and 3, 4 and 0 when absent.
struct Transition {
  int32_t effect = 0;
  int32_t grain = 4;
  int32_t delay = 0;
  bool operator==(const Transition&) const = default;
};
Transition ParseTransitionText(const std::string& text);

// The cycle through the transition list for pictures without their own
// transition: the position starts at 0, the next picture takes the entry
// after it, and past the end it starts again at the first.
struct TransitionCycle {
  std::vector<int32_t> effects;
  size_t position = 0;
  // The next effect (0 for an empty list).
  int32_t Next();
};

// The transition a picture gets: its own when its text gives an effect,
// else the cycle's next (the cycle only moves for such pictures).  With an
// empty list a picture without its own transition gets none.
Transition ChooseTransition(const std::string& pictureText, TransitionCycle* cycle);

// The fade library on slow machines: effect 17000 below 800 MHz runs as its
// simplest form.
struct FadeCall {
  int32_t grain = 0;
  int32_t delay = 0;
  int32_t number = 0;  // effect - 17000
};
FadeCall FadeCallFor(const Transition& transition, int32_t cpuMhz);

// The caption at the bottom of the slide show: centred, at x 0 when wider.
struct CaptionPlace {
  int32_t x = 0;
  int32_t y = 0;
  int32_t bandHeight = 0;  // text height + 2
};
CaptionPlace PlaceCaption(int32_t clientWidth, int32_t clientHeight, int32_t textWidth, int32_t textHeight);

// A scroll offset kept within 0 ... max(0, memory size - client size).
int32_t ClampScroll(int32_t offset, int32_t memorySize, int32_t clientSize);
// The scroll bar's maximum for a memory size and client size.
int32_t ScrollRange(int32_t memorySize, int32_t clientSize);
// The offset a scroll request asks for: line 5 pixels, page 50, thumb
// positions as given; an unknown request keeps the offset.
enum class ScrollRequest { kLineUp, kLineDown, kPageUp, kPageDown, kThumb, kOther };
int32_t ScrolledOffset(int32_t offset, ScrollRequest request, int32_t thumbPosition);

// Where a picture is printed on a page of horzRes x vertRes pixels: margins
// 60 left and right on landscape paper (horzSize >= vertSize, millimetres),
// else 15 left and right and 60 at top and bottom; scaled to the room left
// and centred.
FitRect PrintPlacement(int32_t horzRes, int32_t vertRes, int32_t horzSizeMm, int32_t vertSizeMm,
                       int32_t pictureWidth, int32_t pictureHeight);

// How large the memory picture is made for a new picture.
struct MemoryPlanInput {
  int32_t pictureWidth = 0, pictureHeight = 0;
  int32_t memoryWidth = 0, memoryHeight = 0;  // the memory picture now (0 when none)
  int32_t screenWidth = 0, screenHeight = 0;
  int32_t displayBitsPerPixel = 32;
  int32_t osVersion = 0;  // major * 100 + minor
};
struct MemoryPlan {
  bool refused = false;         // the picture is too large to hold at all
  int32_t pictureWidth = 0;     // the size the picture is drawn at
  int32_t pictureHeight = 0;
  int32_t memoryWidth = 0;      // the memory picture's size afterwards
  int32_t memoryHeight = 0;
  bool rebuild = false;         // a new memory picture is needed
  bool operator==(const MemoryPlan&) const = default;
};
// Systems before 500 keep the memory picture within 16,000,000 bytes: each
// side is scaled by the square root of limit / bytes, rounded down, and the
// memory picture is made at exactly that size.  Later systems grow the
// memory picture to the largest picture shown (never below the screen),
// but never past kMaxMemoryPictureBytes: a larger picture is scaled down
// to fit that, and one that cannot be scaled is refused.
constexpr int64_t kOldSystemMemoryBytes = 16000000;
constexpr int64_t kMaxMemoryPictureBytes = int64_t{256} * 1024 * 1024;
MemoryPlan PlanMemoryPicture(const MemoryPlanInput& input);

}  // namespace player

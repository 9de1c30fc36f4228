// Fuzz target of the picture view's and the browser panes' readers of
// outside text: a picture's transition side file, the transition list and
// the index pane's settings line, whose numbers then size rectangles.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/browser_rules.h"
#include "core/picture_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  player::TransitionCycle cycle{player::ParseTransitionList(text)};
  if (cycle.effects.size() > static_cast<size_t>(player::kMaxTransitionRange)) std::abort();
  const player::Transition chosen = player::ChooseTransition(text, &cycle);
  if (chosen.effect == 0) std::abort();
  player::FadeCallFor(chosen, 500);

  const player::IndexSettings settings = player::ParseIndexSettings(text, "C:\\Orb\\");
  const player::PaneRect index = player::IndexRectangle(settings.side, settings.size, 799, 599);
  if (index.width < 0 || index.height < 0) std::abort();
  const player::PaneRect whole{0, 0, 800, 600};
  const player::PaneRect content = player::ContentBesideIndex(whole, settings.side, index);
  const player::PaneRect back = player::ContentWithoutIndex(content, settings.side, index);
  if (!(back == whole)) std::abort();
  return 0;
}

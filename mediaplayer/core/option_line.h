// The media player's option line: text entry 49 of its text table, 23
// comma-separated fields that the packager of a player writes to tune it.
// Each field is read through its own accessor, afresh from the line at every
// query (a rewrite takes effect at once), except fields 20 and 21, which are
// read once and kept for the rest of the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace player {

// Fields the line is expected to hold.
constexpr size_t OPTION_FIELD_COUNT = 23;
// Field 14 when the player is to leave the system volume alone.
constexpr int32_t OPTION_KEEP_VOLUME = -1;

// Field n (1-based) of the line: the text between the (n-1)-th and n-th
// comma; "" when the line has fewer fields.  No quoting.
std::string OptionFieldText(const std::string& line, size_t n);

// A field's text as a number: leading blanks skipped, an optional sign,
// decimal digits with an optional fraction, rounded to the nearest whole
// number (halves to the even one) and held within 32 bits; 0 for an empty
// or non-numeric text.
int32_t OptionNumber(const std::string& text);

// The line with the given fields replaced.  The line is split at its commas
// into as many fields as it holds, padded with empty fields up to the
// highest field written and at least to OPTION_FIELD_COUNT, so a short line
// grows rather than losing the value.
std::string RewriteOptionFields(const std::string& line,
                                const std::vector<std::pair<size_t, std::string>>& fields);
// A command line naming an ".avi" file: kiosk mode (field 7 := "1") with the
// native-size layout (field 3 := "304").
std::string RewriteForAviKiosk(const std::string& line);
// A slide-show file's settings with at least 7 fields: field 19 := field 7
// of the settings, as it stands.
std::string RewriteDisplayTime(const std::string& line, const std::string& displayTime);

// The accessors over the program's copy of the line.  `line` is read at
// every query; `alwaysOnTop` is the menu's always-on-top check;
// `buttonShadowColour` gives the system colour COLOR_BTNSHADOW.
class OptionLine {
 public:
  OptionLine(std::function<std::string()> line, std::function<bool()> alwaysOnTop,
             std::function<uint32_t()> buttonShadowColour);

  int32_t OptionField1() const;   // right click on video / zoomed: popup 3
  int32_t OptionField2() const;   // item 301 starts checked
  int32_t OptionField3() const;   // layout item (303-308) at start
  int32_t OptionField4() const;   // layouts that show the control bar (bits 1, 2, 4)
  int32_t OptionField5() const;   // where the control bar sits
  int32_t OptionField6() const;   // window style for the engine
  int32_t OptionField7() const;   // kiosk mode
  int32_t OptionField8() const;   // always on top (1 also when the menu says so)
  int32_t OptionField9() const;   // window width
  int32_t OptionField10() const;  // window height
  int32_t OptionField11() const;  // value passed with the video window's creation
  std::string OptionField12() const;  // argument of the screen-codec installation
  std::string OptionField13() const;  // where the configuration file lies
  int32_t OptionField14() const;  // start volume 0-100, or OPTION_KEEP_VOLUME
  int32_t OptionField15() const;  // right click on the picture holder: popup 4
  int32_t OptionField16() const;  // item 401 starts checked
  int32_t OptionField17() const;  // after a picture is shown (read only)
  int32_t OptionField18() const;  // not used: always 0
  int32_t OptionField19() const;  // default display time of a picture, ms
  int32_t OptionField20();        // extra wait per transition callback, ms (kept)
  int32_t OptionField21();        // picture background COLORREF (kept)
  int32_t OptionField22() const;  // the control bar is a window of its own
  int32_t OptionField23() const;  // item 411 starts checked

 private:
  int32_t Number(size_t n) const;
  std::string Text(size_t n) const;

  std::function<std::string()> line_;
  std::function<bool()> alwaysOnTop_;
  std::function<uint32_t()> buttonShadowColour_;
  bool field20Read_ = false;
  int32_t field20_ = 0;
  bool field21Read_ = false;
  int32_t field21_ = 0;
};

}  // namespace player

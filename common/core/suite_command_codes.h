// The codes of the commands the suite's programs send one another.
//
// A command is a 32-bit code and a byte text, carried by one WM_COPYDATA
// (see suite_payload.h).  What each receiver does with a code is its own
// business; the comment says what the text holds and who acts on it.
#pragma once

#include <cstdint>

namespace suite {

// Empty.  A module was just started by the media browser.
constexpr uint32_t CMD_STARTED_BY_BROWSER = 1;
// "program,class": where the media browser sends the files chosen in it.
constexpr uint32_t CMD_SET_TARGET_PROGRAM = 2;
// An ItemList to open (the help viewer: a help file path and topic).
constexpr uint32_t CMD_OPEN_ITEMS = 3;
// "sound list|volume|check interval|display time"; empty file stops it.
constexpr uint32_t CMD_SET_BACKGROUND_SOUND = 4;
// Empty.  The media player turns on its option 407 unless it is on.
constexpr uint32_t CMD_ENABLE_OPTION_407 = 5;
// Empty.  The media player turns on its option 411 unless it is on.
constexpr uint32_t CMD_ENABLE_OPTION_411 = 6;
// Empty.  The media player plays when its play button is shown.
constexpr uint32_t CMD_PLAY_IF_SHOWN = 7;
// Empty.  Pause playback.
constexpr uint32_t CMD_PAUSE = 8;
// Empty.  Resume playback paused by CMD_PAUSE.
constexpr uint32_t CMD_RESUME = 9;
// Empty.  Close the program.
constexpr uint32_t CMD_CLOSE = 10;
// Empty.  The media browser selects media type (code - 11), 0 to 5.
constexpr uint32_t CMD_SELECT_MEDIA_TYPE = 11;
constexpr uint32_t CMD_SELECT_MEDIA_TYPE_LAST = 16;
// Empty.  The picture tool greets the picture browser it found or started.
// Shares its number with media type 4 of the media browser.
constexpr uint32_t CMD_PICTURE_TOOL_HELLO = 15;
// Channel level: empty, or 4 raw bytes (32-bit little-endian, low word left,
// high word right).
constexpr uint32_t CMD_LEVEL = 17;
// The ItemList of a second start's command line, for the first instance.
constexpr uint32_t CMD_FORWARD_COMMAND_LINE = 18;
// Decimal picture display time in ms, or empty.
constexpr uint32_t CMD_SLIDESHOW_MODE = 19;
// "x,y,rate,window" in decimal: record into that rectangle.
constexpr uint32_t CMD_PLAY_INTO_RECT = 20;
// Three decimal counters joined by ",".
constexpr uint32_t CMD_RECORDING_REPORT = 21;
// A folder path whose contents changed.
constexpr uint32_t CMD_FOLDER_CHANGED = 22;
// A folder path to select and list.
constexpr uint32_t CMD_GO_TO_FOLDER = 23;
// Empty.  Restore and come to the front.
constexpr uint32_t CMD_COME_TO_FRONT = 24;
// A proposed volume label.
constexpr uint32_t CMD_SET_VOLUME_LABEL = 25;
// "file|volume label": burn this file when the player closes.
constexpr uint32_t CMD_SET_BURN_ON_CLOSE = 26;
// A pane window handle as 4 raw bytes (32-bit little-endian).
constexpr uint32_t CMD_PANE_MOVED = 27;

constexpr uint32_t CMD_FIRST = 1;
constexpr uint32_t CMD_LAST = 27;

// Every receiver answers WM_COPYDATA with this, also for codes it ignores.
constexpr intptr_t SUITE_COMMAND_HANDLED = 1;

}  // namespace suite

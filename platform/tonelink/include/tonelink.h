// The audio library's exported functions, as the suite's programs call them
// (the media browser, the media player and the audio player link it).
//
// Conventions (see platform/tonelink/README.md):
//  - every function is stdcall and exported undecorated ("BASSINIT");
//  - every number is a 32-bit integer; a window is an HWND;
//  - an input text is a zero-terminated byte string (the ANSI code page); a
//    null pointer is taken as a missing text;
//  - an output text goes to a caller buffer (out, outSize): the function
//    returns the full length of the text and copies it, with a terminating
//    zero, only when the buffer holds it (otherwise it writes "" when
//    outSize >= 1), so the caller can retry with the returned length + 1;
//  - results: BASSOPEN and BASSPLAY return 0 on success and an error code
//    otherwise; a function giving a handle gives 0 on failure; every other
//    function returns non-zero (1) on success and 0 on failure, unless its
//    comment says otherwise;
//  - the library keeps one last error for the process: every call that can
//    fail sets it (0 on success), BASSERRORGETCODE reads it, and
//    BASSERRORDESCRIPTION(code) gives its text.  Codes: core/error_codes.h.
//
// Positions and lengths of the current stream (BASSPLAY, BASSMEDIAGETLENGTH,
// BASSCHANNELGETPOSITION, BASSCHANNELSETPOSITION) are in milliseconds of the
// file's sound; those of handles (the current stream's channel, decoding
// streams, CD tracks) are in bytes of decoded 16-bit PCM.
//
// The library decodes PCM WAV files (8, 16, 24, 32-bit integer and 32-bit
// float samples, mono or stereo, any rate); every other format fails with
// "format not supported".
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#ifdef TONELINK_BUILDING
#define TONELINK_API extern "C"
#else
#define TONELINK_API extern "C" __declspec(dllimport)
#endif

// ---------------------------------------------------------------------------
// Library (library.cpp)

// Non-zero (1) when audio can be used: the library is loaded (it is from the
// start, and again after BASSLOAD).  A machine without a wave-out device still
// gets 1: the library then plays through its null device, which keeps real
// time, so the programs behave as with a sound card.  0 after BASSUNLOAD.
TONELINK_API int32_t __stdcall BASSAVAILABLE();
// Loads the library again after BASSUNLOAD; 1 (also when already loaded).
TONELINK_API int32_t __stdcall BASSLOAD();
// Frees the output (as BASSFREE) and unloads the library: until BASSLOAD,
// BASSAVAILABLE gives 0 and every call fails with "not loaded" but the
// queries of the library itself (version, DirectX version, errors) and the
// wrapper's own settings (BASSSETDOWNLOADPATH, BASSFXWINDOW).  The
// configuration values return to their start values; the download folder and
// the effects panel are kept.  0 when already unloaded.
TONELINK_API int32_t __stdcall BASSUNLOAD();
// Initialises the output.  device: -1 or 1 the default output (the first
// wave-out device; the null device when there is none or it refuses 16-bit
// stereo at `frequency`), 0 the null device, 2 to n the other wave-out
// devices.  frequency: 8000 to 192000 Hz (the callers pass 44100).  flags:
// reserved (0).  window: the caller's main window (may be null).  The output
// is started.  Non-zero on success; 0 with "already initialised", "no such
// device" or "not valid" otherwise.
TONELINK_API int32_t __stdcall BASSINIT(int32_t device, int32_t frequency, int32_t flags,
                                        HWND window);
// Closes every stream and frees the output.  0 when it was not initialised.
TONELINK_API int32_t __stdcall BASSFREE();
// Starts (resumes) the output after BASSPAUSE or BASSSTOP; the players use it
// to resume the current stream.  0 when not initialised.
TONELINK_API int32_t __stdcall BASSSTART();
// Stops the output: the output clock holds and the current stream stops
// advancing.  0 when not initialised.
TONELINK_API int32_t __stdcall BASSSTOP();
// Pauses the output until BASSSTART (the players' pause).  0 when not
// initialised.
TONELINK_API int32_t __stdcall BASSPAUSE();
// Sets configuration value `option`: 4, 5, 6 are the global volumes of
// samples, streams and tracker modules, 0 to 100 (start value 100).  0 with
// "not valid" for any other option or value.
TONELINK_API int32_t __stdcall BASSSETCONFIG(int32_t option, int32_t value);
// The library's version as a decimal text, "2.0"; returns its length.
TONELINK_API int32_t __stdcall BASSGETVERSION(char* out, int32_t outSize);
// The folder internet streams are saved in (kept with the library's own
// settings).  1 when the folder exists (or the text is empty or null, which
// clears the setting); 0 with "cannot be opened" when it does not exist.
TONELINK_API int32_t __stdcall BASSSETDOWNLOADPATH(const char* folder);
// The DirectX major version: ORB_DIRECTX_VERSION when that environment
// variable holds a decimal number, else 9.  Read at every call.
TONELINK_API int32_t __stdcall BASSDIRECTXVERSION();
// The library's last error code (0 when the last call that can fail
// succeeded).  Reading does not clear it.
TONELINK_API int32_t __stdcall BASSERRORGETCODE();
// The text of an error code (any number: an unlisted one gives
// "unknown error (n)"); returns its length.
TONELINK_API int32_t __stdcall BASSERRORDESCRIPTION(int32_t code, char* out, int32_t outSize);

// ---------------------------------------------------------------------------
// The current stream (stream.cpp).  The library keeps at most one: BASSOPEN
// replaces it, BASSCLOSE ends it.  Opening a stream without BASSINIT
// initialises the default output first (the players never call BASSINIT).
// The stream plays on the output's real-time clock, with or without a sound
// device; BASSPAUSE and BASSSTOP hold it, BASSSTART lets it go on.

// Opens `path` (a file, or an http://, https://, ftp:// or mms:// address) as
// the current stream.  stream: reserved, 0.  0 when the stream is open;
// otherwise the error code, also left for BASSERRORGETCODE: "cannot be
// opened" for a missing file, "format not supported", "internet stream",
// "not loaded", "not valid" for a null or empty path or a non-zero `stream`.
TONELINK_API int32_t __stdcall BASSOPEN(int32_t stream, const char* path);
// Plays the current stream from `from` to `to` milliseconds (to = 0 or past
// the length: to the end), from the start again when it was playing, and
// starts the output when it was paused or stopped.  0 when playing;
// otherwise the error code ("no stream is open"; "not valid" for a negative
// value or a non-zero `to` before `from`).
TONELINK_API int32_t __stdcall BASSPLAY(int32_t from, int32_t to);
// Closes the current stream.  1 also when none was open.
TONELINK_API int32_t __stdcall BASSCLOSE();
// The current stream's channel handle, for the channel calls below; 0 when
// no stream is open.
TONELINK_API int32_t __stdcall BASSHANDLEINUSE();
// Length of the current stream in milliseconds; 0 when unknown (an internet
// stream) or when no stream is open.
TONELINK_API int32_t __stdcall BASSMEDIAGETLENGTH();
// Playing position of the current stream in milliseconds; 0 when none.
TONELINK_API int32_t __stdcall BASSCHANNELGETPOSITION();
// Moves the current stream to `position` milliseconds (kept within the
// length; the end of the stream ends it).  A paused stream stays paused; an
// ended one plays on from there.  1, or 0 ("no stream", "not valid" for a
// negative position).
TONELINK_API int32_t __stdcall BASSCHANNELSETPOSITION(int32_t position);
// 1 while the current stream plays; 0 while it is paused, when it has
// ended, was stopped or never played, or none is open.
TONELINK_API int32_t __stdcall BASSCHANNELISACTIVE();
// The current stream's level: the peak of the last 20 ms played, left in
// the low 16 bits, right in the high 16 bits, each 0 (silence) to 128 (full
// scale: the players' level meter counts 128 as full); a mono stream gives
// both sides.  0 while paused; 0xFFFFFFFF when nothing plays (never played,
// ended, stopped, no stream).
TONELINK_API uint32_t __stdcall BASSCHANNELGETLEVEL();
// Non-zero when the current stream is of media type `type`: 1 a file
// stream, 2 an internet stream, 3 a CD track, 5 a tracker module (MOD, XM,
// S3M, IT).  0 for any other type, and when no stream is open.  Every
// stream this library opens is a file stream.
TONELINK_API int32_t __stdcall BASSMEDIATYPE(int32_t type);
// The title the current stream carries: a tracker module's name
// (BASSMUSICNAME), a stream's title tag (BASSSTREAMNAME: a WAV file's
// LIST/INFO "INAM" entry); "" when it has none or no stream is open.
// Return the length.
TONELINK_API int32_t __stdcall BASSMUSICNAME(char* out, int32_t outSize);
TONELINK_API int32_t __stdcall BASSSTREAMNAME(char* out, int32_t outSize);

// ---------------------------------------------------------------------------
// Channels and decoding streams by handle (channels.cpp).  A handle comes
// from BASSHANDLEINUSE or BASSSTREAMDECODEFILE; any other value, and the
// handle of a stream since closed, fails with "handle not valid".

// Pauses a playing channel; resumes a paused one (the current stream's
// channel only: a decoding stream does not play).
TONELINK_API int32_t __stdcall BASSCHANNELPAUSE(int32_t channel);
TONELINK_API int32_t __stdcall BASSCHANNELRESUME(int32_t channel);
// Sets a channel's frequency (100-100000 Hz, 0 the stream's own, -1 keeps
// it), volume (0-100, -1 keeps it) and panning (-100 left to 100 right,
// -101 keeps it).
TONELINK_API int32_t __stdcall BASSCHANNELSETATTRIBUTES(int32_t channel, int32_t frequency,
                                                        int32_t volume, int32_t panning);
// Slides the attributes to the values given over `timeMs` milliseconds (the
// same ranges; volume -2 fades out and then stops the channel).  Channel 0
// stands for the current stream.  The volume slides; frequency and panning
// take their new values at once.
TONELINK_API int32_t __stdcall BASSCHANNELSLIDEATTRIBUTES(int32_t channel, int32_t frequency,
                                                          int32_t volume, int32_t panning,
                                                          int32_t timeMs);
// Stops and frees a channel (the current stream's channel closes the stream).
TONELINK_API int32_t __stdcall BASSCLOSECHANNEL(int32_t channel);
// Opens a file as a decoding stream: its data comes from BASSCHANNELGETDATA
// as 16-bit PCM instead of the output.  A handle, or 0 ("cannot be opened",
// "format not supported", "not loaded").
TONELINK_API int32_t __stdcall BASSSTREAMDECODEFILE(const char* path);
// Length of a decoding stream in bytes of PCM data; -1 on failure.
TONELINK_API int32_t __stdcall BASSSTREAMGETLENGTH(int32_t stream);
// A channel's sample format: *frequency in Hz, *channels (1 mono, 2 stereo),
// *flags (bit 0: 8-bit samples, else 16-bit).  A null pointer is skipped;
// nothing is written on failure.
TONELINK_API int32_t __stdcall BASSCHANNELGETINFO(int32_t channel, int32_t* frequency,
                                                  int32_t* channels, int32_t* flags);
// A channel's attributes as BASSCHANNELSETATTRIBUTES takes them.  A null
// pointer is skipped; nothing is written on failure (callers preset -1).
TONELINK_API int32_t __stdcall BASSCHANNELGETATTRIBUTES(int32_t channel, int32_t* frequency,
                                                        int32_t* volume, int32_t* panning);
// Non-zero while the channel plays or, for a decoding stream, while data
// remains; 0 otherwise (also for a handle not valid).
TONELINK_API int32_t __stdcall BASSUSECHANNELISACTIVE(int32_t channel);
// Copies up to `length` bytes (whole frames) of a decoding stream's PCM data
// into `buffer` and returns the bytes delivered: 0 at the end (last error
// 0) and on failure (BASSERRORGETCODE tells which: "not valid" for a buffer
// shorter than one frame, "handle not valid" for a playing stream).
TONELINK_API int32_t __stdcall BASSCHANNELGETDATA(int32_t channel, void* buffer, int32_t length);
// Position of a channel in bytes of PCM data (a decoding stream: the bytes
// delivered so far); -1 on failure.
TONELINK_API int32_t __stdcall BASSUSECHANNELGETPOSITION(int32_t channel);
// Stops a channel (it stays valid).
TONELINK_API int32_t __stdcall BASSCHANNELSTOP(int32_t channel);
// Frees a stream and its handle.
TONELINK_API int32_t __stdcall BASSSTREAMFREE(int32_t stream);

// ---------------------------------------------------------------------------
// CD tracks and encoders (cd_encode.cpp).  `drive` counts the machine's CD
// drives from 0 in drive-letter order; `track` counts from 0.

// Opens a CD audio track as a decoding stream of 16-bit stereo at 44100 Hz
// (the track file whose header carries number track + 1; its sectors of the
// drive's disc audio).  flags: the stream's flags as the media browser
// passes them (0x40000 or 0x200000).  A handle, or 0: "no such CD drive",
// "no such track on the CD", "cannot be opened" (the sectors cannot be
// read).
TONELINK_API int32_t __stdcall BASSCDSTREAMCREATE(int32_t drive, int32_t track, int32_t flags);
// Length of a CD track in bytes of PCM data; -1 on failure (as above).
TONELINK_API int32_t __stdcall BASSCDGETTRACKLENGTH(int32_t drive, int32_t track);
// Operates a CD drive's door: action 0 close, 1 open, 2 lock, 3 unlock (the
// media browser locks it during a rip); 1 on any CD drive (no door moves).
// 0 on failure ("no such CD drive"; "not valid" for another action).
TONELINK_API int32_t __stdcall BASSCDDOOR(int32_t drive, int32_t action);
// Opens a WMA file for writing 16-bit PCM of `frequency` Hz at `bitrate`
// bits per second; flags as the media browser passes them (0x10000, with 2
// added for a mono stream).
// An encoder handle, or 0: "not available" where no Windows Media encoder is
// installed, "not valid" for a missing path.
TONELINK_API int32_t __stdcall BASSWMAENCODEOPENFILE(int32_t frequency, int32_t flags,
                                                     int32_t bitrate, const char* path);
// Sets a tag of the WMA file (the media browser passes "", "").
TONELINK_API int32_t __stdcall BASSWMAENCODESETTAG(int32_t encoder, const char* tag,
                                                   const char* value);
// Encodes `length` bytes of PCM data.  0 on failure.
TONELINK_API int32_t __stdcall BASSWMAENCODEWRITE(int32_t encoder, const void* buffer,
                                                  int32_t length);
// Finishes the WMA file and frees the encoder.
TONELINK_API int32_t __stdcall BASSWMAENCODECLOSE(int32_t encoder);
// Starts an outside encoder program (`commandLine` as it stands, a program
// path with blanks quoted; e.g. an MP3 encoder reading from its standard
// input) and writes to its input a WAV header for the stream's format and
// then every byte of the stream's data read with BASSCHANNELGETDATA from
// then on.  Only decoding streams feed one.  flags: reserved (0).  An
// encoder handle, or 0 ("handle not valid" for the stream, "not available"
// for the playing stream, "cannot be opened" when the program does not
// start).
TONELINK_API int32_t __stdcall BASSENCODESTART(int32_t stream, const char* commandLine,
                                               int32_t flags);
// Non-zero while the stream's encoder program runs and takes its input; 0
// once it has stopped ("the encoder program has stopped").
TONELINK_API int32_t __stdcall BASSENCODEISACTIVE(int32_t stream);
// Closes the encoder program's input and waits for it to finish its file.
// 0 when a write to it had failed.
TONELINK_API int32_t __stdcall BASSENCODESTOP(int32_t stream);

// ---------------------------------------------------------------------------
// Effects (effects.cpp).  The effects panel tells the library its window; the
// library reads the panel's controls by id when it applies the effects to
// the current stream: track bars 1-10 the equalizer bands, check box 11 the
// equalizer on, 13 reverb, 14 chorus, 15 flanger, 16 echo, 17 rotate.
// `stream` is always 0: the current stream.

// Remembers the effects panel (`panel`, or null when the panel goes).
// flags: 1 as the panel passes it.  0 with "not valid" for a window that does
// not exist.
TONELINK_API int32_t __stdcall BASSFXWINDOW(HWND panel, int32_t flags);
// Applies equalizer band `band` (1-10) from the panel to the current stream.
// 0 with "no stream is open" when nothing plays: the panel's settings are
// read again when a stream starts.  This library applies no effects yet:
// with a stream open every update gives 0 with "not available".
TONELINK_API int32_t __stdcall BASSUPDATEEQ(int32_t stream, int32_t band);
// Sets every equalizer band of the current stream back to flat.
TONELINK_API int32_t __stdcall BASSRESETEQ(int32_t stream);
// Switch an effect on the current stream on or off as its check box says.
TONELINK_API int32_t __stdcall BASSUPDATEREVERB(int32_t stream);
TONELINK_API int32_t __stdcall BASSUPDATECHORUS(int32_t stream);
TONELINK_API int32_t __stdcall BASSUPDATEFLANGER(int32_t stream);
TONELINK_API int32_t __stdcall BASSUPDATEECHO(int32_t stream);
TONELINK_API int32_t __stdcall BASSUPDATEROTATE(int32_t stream);

// ---------------------------------------------------------------------------
// C++ helpers for callers (not exported): the texts above as std::string.
namespace tonelink {

inline std::string ErrorText(int32_t code) {
  std::string text(static_cast<size_t>(BASSERRORDESCRIPTION(code, nullptr, 0)) + 1, '\0');
  int32_t length = BASSERRORDESCRIPTION(code, text.data(), static_cast<int32_t>(text.size()));
  text.resize(length >= 0 && static_cast<size_t>(length) < text.size() ? length : 0);
  return text;
}

inline std::string VersionText() {
  char buffer[32] = {};
  int32_t length = BASSGETVERSION(buffer, sizeof(buffer));
  return length > 0 && length < static_cast<int32_t>(sizeof(buffer)) ? std::string(buffer, length)
                                                                     : std::string();
}

}  // namespace tonelink

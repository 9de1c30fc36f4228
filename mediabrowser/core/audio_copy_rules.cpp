#include "core/audio_copy_rules.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace browser {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string Trimmed(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string();
  size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

void Put32(std::string* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void Put16(std::string* out, uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

std::string QuotedWhenBlank(const std::string& text) {
  return text.find(' ') == std::string::npos ? text : "\"" + text + "\"";
}

}  // namespace

bool AudioCommandOf(int id, AudioCommand* command) {
  bool isRip = id >= 1201 && id <= 1204;
  if (!isRip && !(id >= 1301 && id <= 1304)) return false;
  command->isRip = isRip;
  command->output = static_cast<AudioOutput>(id % 100);
  return true;
}

AudioAction ParseAudioAction(const std::string& entry) {
  AudioAction action;
  size_t comma = entry.find(',');
  action.extension = Lower(Trimmed(entry.substr(0, comma)));
  if (comma != std::string::npos) {
    std::string rest = entry.substr(comma + 1);
    action.encoder = Trimmed(rest.substr(0, rest.find(',')));
  }
  return action;
}

std::string LowerExtension(std::string_view name) {
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return std::string();
  return Lower(name.substr(dot));
}

bool TakesSource(bool isRip, const std::string& extension, const std::string& outputExtension) {
  if (extension.size() < 2) return false;
  if (isRip) return extension == ".cda";
  static const char* const kSources[] = {".wav", ".wma", ".mp3", ".ogg"};
  bool known = std::find_if(std::begin(kSources), std::end(kSources),
                            [&](const char* s) { return extension == s; }) != std::end(kSources);
  return known && extension != outputExtension;
}

std::string MapBaseNameCharacters(std::string_view name) {
  static const char kFrom[] = "./\\:;, ";
  static const char kTo[] = " --   _";
  std::string out(name);
  for (char& c : out) {
    const char* at = std::strchr(kFrom, c);
    if (c != '\0' && at != nullptr) c = kTo[at - kFrom];
  }
  return out;
}

std::string CrunchBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out.push_back(c);
  }
  return out;
}

std::string RipTargetPath(const std::string& folder, const std::string& baseName, int trackNumber,
                          const std::string& extension) {
  std::string base = baseName;
  while (!base.empty() && base.back() == '-') base.pop_back();
  std::string digits = "00" + std::to_string(trackNumber < 0 ? 0 : trackNumber);
  return folder + base + "-" + digits.substr(digits.size() - 2) + extension;
}

std::string ConvertTargetPath(const std::string& folder, const std::string& sourceName,
                              const std::string& extension, bool blanksToUnderscores) {
  size_t dot = sourceName.rfind('.');
  std::string stem = dot == std::string::npos ? sourceName : sourceName.substr(0, dot);
  if (blanksToUnderscores) std::replace(stem.begin(), stem.end(), ' ', '_');
  return folder + stem + extension;
}

std::string EncoderCommandLine(const std::string& encoderPath, AudioOutput output,
                               const std::string& target) {
  std::string line = "\"" + encoderPath + "\"";
  if (output == AudioOutput::kEncoderPreset) return line + " --alt-preset standard - " + QuotedWhenBlank(target);
  return line + " -o " + QuotedWhenBlank(target) + " -";
}

std::string WaveFileHeader(uint32_t channels, uint32_t rate, bool eightBit) {
  const uint32_t bits = eightBit ? 8 : 16;
  const uint32_t blockAlign = bits * channels / 8;
  std::string out = "RIFF";
  Put32(&out, 0);
  out += "WAVEfmt ";
  Put32(&out, 16);
  Put16(&out, 1);
  Put16(&out, channels);
  Put32(&out, rate);
  Put32(&out, blockAlign * rate);
  Put16(&out, blockAlign);
  Put16(&out, bits);
  out += "data";
  Put32(&out, 0);
  return out;
}

uint32_t RiffSizeFor(uint64_t dataBytes) {
  return static_cast<uint32_t>(std::min<uint64_t>(dataBytes + 36, 0xFFFFFFFFu));
}

std::string SizeBytes(uint32_t value) {
  std::string out;
  Put32(&out, value);
  return out;
}

int32_t ProgressPercent(int64_t position, int64_t length) {
  if (length <= 0) return -1;
  if (position <= 0) return 0;
  if (position >= length) return 100;
  return static_cast<int32_t>((position * 200 + length) / (2 * length));
}

int32_t CdDriveNumber(const std::string& folder, const std::string& cdLetters) {
  if (folder.size() < 2 || folder[1] != ':') return 0;
  const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(folder[0])));
  const std::string letters = Lower(cdLetters);
  size_t at = letters.find(letter);
  return at == std::string::npos ? 0 : static_cast<int32_t>(at);
}

int32_t CdaTrackNumber(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 44) return 0;
  if (std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "CDDA", 4) != 0 ||
      std::memcmp(data + 12, "fmt ", 4) != 0) {
    return 0;
  }
  const uint32_t chunk = static_cast<uint32_t>(data[16]) | static_cast<uint32_t>(data[17]) << 8 |
                         static_cast<uint32_t>(data[18]) << 16 | static_cast<uint32_t>(data[19]) << 24;
  if (chunk < 24) return 0;
  const int32_t number = data[22] | data[23] << 8;
  return number >= 1 && number <= 99 ? number : 0;
}

}  // namespace browser

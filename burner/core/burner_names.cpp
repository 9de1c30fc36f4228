// Drive, medium and progress texts of the disc burner (burner_names.h).
#include "core/burner_names.h"

#include "core/disc_figures.h"
#include "core/item_list.h"
#include "core/text_rules.h"

namespace burner {

namespace {

constexpr char kMediumTable[] =
    "unknown,cdrom,cdr,cdrw,dvdrom,dvdr,dvdram,dvdrw,dvdrw,dvdrw,dvdrw,dvdr,cdrom,cdr,cdrw,cdaudio";
constexpr int32_t kAudioCdField = 16;

}  // namespace

std::string DeviceDisplayName(const char* libraryName) {
  if (libraryName == nullptr) return std::string();
  std::string name;
  for (size_t i = 0; i < 256 && libraryName[i] != '\0'; ++i) name += libraryName[i];
  name = suite::TrimBlanks(name);
  size_t comma = name.find(',');
  if (comma != std::string::npos) name = name.substr(comma + 1);
  std::string line;
  for (char c : name) {
    if (c == ' ' && (line.empty() || line.back() == ' ')) continue;
    line += c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

char DriveLetterOf(const std::string& deviceLine) {
  if (deviceLine.empty()) return '\0';
  char c = deviceLine[0];
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return c >= 'A' && c <= 'Z' ? c : '\0';
}

std::string MediumBitmapName(int32_t discIsPlusOne, const std::string& volumeLabel) {
  if (discIsPlusOne == 2 && suite::UpperAscii(volumeLabel) == "AUDIO CD") {
    return suite::CommaField(kMediumTable, kAudioCdField);
  }
  if (discIsPlusOne < 1 || discIsPlusOne > 15) return "unknown";
  return suite::CommaField(kMediumTable, static_cast<size_t>(discIsPlusOne));
}

ProgressStep DecideProgress(const ProgressInput& input, const ProgressTexts& texts) {
  constexpr int32_t kErasing = 2;
  constexpr int32_t kIdle = 0;
  ProgressStep step;
  step.keptPercent = input.keptPercent;
  const std::string blinking = input.blink ? suite::UpperAscii(texts.blinkingWord) : texts.blinkingWord;
  if (input.written != input.image) {
    if (input.state == kErasing) {
      step.status = texts.erasing + blinking;
      step.blinked = true;
      return step;
    }
    step.keptPercent = Percent(input.written, input.image, 0);
    step.setBar = true;
    step.status = suite::ReplaceAll(texts.percentDone, "#", std::to_string(step.keptPercent));
    step.showMiB = true;
    return step;
  }
  if (input.buffer != 0) {
    if (step.keptPercent < 100) {
      step.keptPercent = 100;
      step.setBar = true;
    }
    step.status = texts.closing;
    step.showMiB = true;
    return step;
  }
  if (input.state == kErasing) {
    step.status = texts.erasing + blinking;
    step.blinked = true;
  } else if (input.state == kIdle) {
    step.status = texts.idle;
  } else {
    step.status = texts.finishing + blinking;
    step.blinked = true;
  }
  return step;
}

std::string MiBText(int64_t writtenSectors, int64_t imageSectors, const std::string& unit,
                    std::string (*format)(int64_t)) {
  return format(SectorsToMiB(writtenSectors)) + "/" + format(SectorsToMiB(imageSectors)) + unit;
}

}  // namespace burner

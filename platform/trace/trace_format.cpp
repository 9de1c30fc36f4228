// Formatting of trace lines; see trace_format.h for the line format.
#include "trace_format.h"

namespace orbtrace {

namespace {

bool IsPlainByte(unsigned char byte) {
  return byte >= 0x20 && byte <= 0x7E && byte != '"' && byte != '\\';
}

void AppendEscaped(std::string* out, unsigned char byte) {
  static const char kHexDigits[] = "0123456789ABCDEF";
  out->push_back('\\');
  out->push_back('x');
  out->push_back(kHexDigits[byte >> 4]);
  out->push_back(kHexDigits[byte & 0x0F]);
}

}  // namespace

std::string TraceLockName(std::string_view fullPath) {
  // 64-bit FNV-1a: stable across processes and builds, no table needed.
  uint64_t hash = 0xCBF29CE484222325ull;
  for (char c : fullPath) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 'a' && byte <= 'z') byte = static_cast<unsigned char>(byte - 'a' + 'A');
    if (byte == '/') byte = '\\';
    hash ^= byte;
    hash *= 0x100000001B3ull;
  }
  static const char kHexDigits[] = "0123456789ABCDEF";
  std::string name = "orbtrace-";
  for (int shift = 60; shift >= 0; shift -= 4) name.push_back(kHexDigits[(hash >> shift) & 0x0F]);
  return name;
}

std::string QuoteText(std::string_view bytes) {
  std::string quoted;
  quoted.reserve(bytes.size() + 2);
  quoted.push_back('"');
  for (char c : bytes) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (IsPlainByte(byte)) {
      quoted.push_back(c);
    } else {
      AppendEscaped(&quoted, byte);
    }
  }
  quoted.push_back('"');
  return quoted;
}

std::string QuoteText(const char* textOrNull) {
  if (textOrNull == nullptr) return "NULL";
  return QuoteText(std::string_view(textOrNull));
}

CallLine::CallLine(std::string_view library, std::string_view function)
    : library_(library), function_(function) {}

CallLine& CallLine::Text(const char* textOrNull) {
  arguments_.push_back(QuoteText(textOrNull));
  return *this;
}

CallLine& CallLine::Bytes(std::string_view bytes) {
  arguments_.push_back(QuoteText(bytes));
  return *this;
}

CallLine& CallLine::OutText(const char* textOrNull) {
  arguments_.push_back("out:" + QuoteText(textOrNull));
  return *this;
}

CallLine& CallLine::Number(int64_t value) {
  arguments_.push_back(std::to_string(value));
  return *this;
}

CallLine& CallLine::Raw(std::string_view formatted) {
  arguments_.emplace_back(formatted);
  return *this;
}

std::string CallLine::Format(uint32_t processId, int64_t result) const {
  return Format(processId, std::to_string(result));
}

std::string CallLine::Format(uint32_t processId, std::string_view formattedResult) const {
  std::string line = "[" + std::to_string(processId) + "] " + library_ + " " + function_ + "(";
  for (size_t i = 0; i < arguments_.size(); ++i) {
    if (i > 0) line += ", ";
    line += arguments_[i];
  }
  line += ") = ";
  line += formattedResult;
  return line;
}

}  // namespace orbtrace

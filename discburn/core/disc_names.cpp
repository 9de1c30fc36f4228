// Name conversion, comparison and uniqueness rules of the disc trees.
#include "core/disc_names.h"

namespace discburn {

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    uint8_t lead = static_cast<uint8_t>(text[i]);
    uint32_t code = 0;
    size_t length = 0;
    if (lead < 0x80) {
      code = lead;
      length = 1;
    } else if ((lead & 0xE0) == 0xC0) {
      code = lead & 0x1F;
      length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
      code = lead & 0x0F;
      length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
      code = lead & 0x07;
      length = 4;
    }
    bool valid = length > 0 && i + length <= text.size();
    for (size_t k = 1; valid && k < length; ++k) {
      uint8_t next = static_cast<uint8_t>(text[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (code >> 18)));
      out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

// ASCII, Latin-1, Greek and Cyrillic lower-case letters fold to their
// capitals, which covers the names of the suite's ANSI code pages.
char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 32);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  return c;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

bool HasWildcard(std::u16string_view path) {
  return path.find_first_of(u"*?") != std::u16string_view::npos;
}

bool MatchesMask(std::u16string_view name, std::u16string_view mask) {
  if (mask.empty() || mask == u"*" || mask == u"*.*") return true;
  // Iterative matching with one back-track point for the last "*".
  size_t n = 0, m = 0, starMask = std::u16string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == u'?' || FoldCase(mask[m]) == FoldCase(name[n]))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == u'*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::u16string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  // A trailing "*", or ".*" after a name without extension, matches nothing more.
  while (m < mask.size() && (mask[m] == u'*' || (mask[m] == u'.' && m + 1 < mask.size() &&
                                                 mask[m + 1] == u'*'))) {
    m += mask[m] == u'.' ? 2 : 1;
  }
  return m == mask.size();
}

std::u16string Prefix(std::u16string_view text, size_t maxChars) {
  return std::u16string(text.substr(0, maxChars));
}

std::string IsoNameBytes(std::u16string_view source, size_t maxBytes) {
  std::string out;
  for (char16_t c : source) {
    if (out.size() >= maxBytes) break;
    char16_t upper = FoldCase(c);
    bool plain = upper >= 0x20 && upper < 0x7F && upper != u';' && upper != u'/' &&
                 upper != u'\\' && upper != u'*' && upper != u'?' && upper != u':';
    out.push_back(plain ? static_cast<char>(upper) : '_');
  }
  return out;
}

std::u16string JolietName(std::u16string_view longName) {
  std::u16string name;
  for (char16_t c : longName) {
    bool forbidden = c < 0x20 || c == u'*' || c == u'/' || c == u':' || c == u';' || c == u'?' ||
                     c == u'\\';
    name.push_back(forbidden ? u'_' : c);
  }
  if (name.size() <= kJolietMaxChars) return name;
  size_t dot = name.rfind(u'.');
  std::u16string extension;
  // Keep an extension of up to 16 characters; a longer "extension" is part
  // of the name.
  if (dot != std::u16string::npos && dot > 0 && name.size() - dot <= 17) {
    extension = name.substr(dot);
  }
  return name.substr(0, kJolietMaxChars - extension.size()) + extension;
}

namespace {

template <typename Char>
std::basic_string<Char> UniqueVariant(std::basic_string_view<Char> name, uint32_t n,
                                      size_t maxLength) {
  std::basic_string<Char> tail;
  for (char digit : "~" + std::to_string(n)) tail.push_back(static_cast<Char>(digit));
  size_t dot = name.rfind(static_cast<Char>('.'));
  std::basic_string<Char> extension;
  std::basic_string_view<Char> base = name;
  if (dot != std::basic_string_view<Char>::npos && dot > 0) {
    extension = std::basic_string<Char>(name.substr(dot));
    base = name.substr(0, dot);
  }
  if (extension.size() + tail.size() >= maxLength) extension.clear();
  size_t room = maxLength - extension.size() - tail.size();
  return std::basic_string<Char>(base.substr(0, room)) + tail + extension;
}

}  // namespace

std::string MakeUniqueName(std::string_view name, uint32_t n, size_t maxLength) {
  return UniqueVariant<char>(name, n, maxLength);
}

std::u16string MakeUniqueName(std::u16string_view name, uint32_t n, size_t maxLength) {
  return UniqueVariant<char16_t>(name, n, maxLength);
}

}  // namespace discburn

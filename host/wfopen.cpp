#include "host/wfopen.h"

#include <string>

namespace {

bool IsHighSurrogate(unsigned c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(unsigned c) { return c >= 0xDC00 && c < 0xE000; }

void AppendUtf8(unsigned c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// File names on this system are UTF-8, so a surrogate pair becomes the one
// character it stands for (unlike the program's text output, which encodes
// each half on its own).
std::string ToFileName(const Char* text) {
  std::string out;
  for (; *text; ++text) {
    unsigned c = *text;
    if (IsHighSurrogate(c) && IsLowSurrogate(text[1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[1] - 0xDC00u);
      ++text;
    }
    AppendUtf8(c, out);
  }
  return out;
}

}  // namespace

FILE* _wfopen(const Char* path, const Char* mode) { return fopen(ToFileName(path).c_str(), ToFileName(mode).c_str()); }

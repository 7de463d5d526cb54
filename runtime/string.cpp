#include "runtime/string.h"

#include <climits>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/array.h"
#include "runtime/memory.h"

namespace {

constexpr int TOINT_MAX_CHARS = 63;  // characters read by ToInt
constexpr size_t LOAD_BLOCK = 4096;  // bytes per read of String::Load

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Strict UTF-8 of at most three bytes per unit; false on anything else.
bool DecodeUtf8(const unsigned char* p, const unsigned char* end, std::vector<Char>& out) {
  while (p < end) {
    unsigned b = *p;
    if (b < 0x80) {
      out.push_back(static_cast<Char>(b));
      p += 1;
    } else if ((b & 0xE0) == 0xC0) {
      if (end - p < 2 || !IsContinuation(p[1])) return false;
      out.push_back(static_cast<Char>(((b & 0x1F) << 6) | (p[1] & 0x3F)));
      p += 2;
    } else if ((b & 0xF0) == 0xE0) {
      if (end - p < 3 || !IsContinuation(p[1]) || !IsContinuation(p[2])) return false;
      out.push_back(static_cast<Char>((b << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F)));
      p += 3;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

String::Rep String::nullRep = {1, 0, {0}};

void String::Rep::release() {
  if (this != &nullRep && --refs == 0) free(this);
}

String::Rep* String::Rep::alloc(int length) {
  Rep* r = static_cast<Rep*>(vx_malloc(offsetof(Rep, data) + sizeof(Char) * static_cast<size_t>(length)));
  r->refs = 1;
  r->length = length;
  return r;
}

String::String(const Char* text, int count) : rep(&nullRep) {
  if (count <= 0) return;
  rep = Rep::alloc(count);
  memcpy(rep->data, text, sizeof(Char) * static_cast<size_t>(count));
}

String::String(const char* text) : rep(&nullRep) {
  int count = static_cast<int>(strlen(text));
  if (count == 0) return;
  rep = Rep::alloc(count);
  for (int i = 0; i < count; ++i) rep->data[i] = static_cast<Char>(static_cast<signed char>(text[i]));
}

String::String(int value) : String() {
  char buffer[16];
  snprintf(buffer, sizeof buffer, "%i", value);
  *this = String(buffer);
}

String::String(float value) : String() {
  char buffer[48];
  snprintf(buffer, sizeof buffer - 2, "%.17lg", static_cast<double>(value));
  if (!strchr(buffer, '.') && !strchr(buffer, 'e')) strcat(buffer, ".0");
  *this = String(buffer);
}

String String::FromChar(int ch) {
  Char c = static_cast<Char>(ch);
  return String(&c, 1);
}

String operator+(const String& a, const String& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  String::Rep* r = String::Rep::alloc(a.Length() + b.Length());
  memcpy(r->data, a.Data(), sizeof(Char) * static_cast<size_t>(a.Length()));
  memcpy(r->data + a.Length(), b.Data(), sizeof(Char) * static_cast<size_t>(b.Length()));
  return String(r);
}

bool operator==(const String& a, const String& b) {
  return a.Length() == b.Length() &&
         memcmp(a.Data(), b.Data(), sizeof(Char) * static_cast<size_t>(a.Length())) == 0;
}

int String::Find(const String& find, int start) const {
  if (start < 0) start = 0;
  int last = Length() - find.Length();
  for (int i = start; i <= last; ++i) {
    if (memcmp(Data() + i, find.Data(), sizeof(Char) * static_cast<size_t>(find.Length())) == 0) return i;
  }
  return -1;
}

bool String::StartsWith(const String& prefix) const {
  return prefix.Length() <= Length() &&
         memcmp(Data(), prefix.Data(), sizeof(Char) * static_cast<size_t>(prefix.Length())) == 0;
}

bool String::EndsWith(const String& suffix) const {
  return suffix.Length() <= Length() &&
         memcmp(Data() + Length() - suffix.Length(), suffix.Data(),
                sizeof(Char) * static_cast<size_t>(suffix.Length())) == 0;
}

Array<String> String::Split(const String& separator) const {
  if (separator.Empty()) {
    Array<String> pieces(Length());
    for (int i = 0; i < Length(); ++i) pieces[i] = String(Data() + i, 1);
    return pieces;
  }
  int count = 1;
  for (int at = Find(separator); at != -1; at = Find(separator, at + separator.Length())) ++count;
  Array<String> pieces(count);
  if (count == 1) {
    pieces[0] = *this;
    return pieces;
  }
  int start = 0;
  for (int i = 0; i < count - 1; ++i) {
    int at = Find(separator, start);
    pieces[i] = String(Data() + start, at - start);
    start = at + separator.Length();
  }
  pieces[count - 1] = Slice(start);
  return pieces;
}

String String::Replace(const String& find, const String& with) const {
  // An empty `find` would match at the same place forever.
  if (find.Empty()) return *this;
  int at = Find(find);
  if (at == -1) return *this;
  std::vector<Char> out;
  int start = 0;
  for (; at != -1; at = Find(find, start)) {
    out.insert(out.end(), Data() + start, Data() + at);
    out.insert(out.end(), with.Data(), with.Data() + with.Length());
    start = at + find.Length();
  }
  out.insert(out.end(), Data() + start, Data() + Length());
  return String(out.data(), static_cast<int>(out.size()));
}

String String::Slice(int from) const { return Slice(from, Length()); }

String String::Slice(int from, int to) const {
  int length = Length();
  if (from < 0) {
    from += length;
    if (from < 0) from = 0;
  } else if (from > length) {
    from = length;
  }
  if (to < 0) {
    to += length;
    if (to < 0) to = 0;
  } else if (to > length) {
    to = length;
  }
  if (from >= to) return String();
  if (from == 0 && to == length) return *this;
  return String(Data() + from, to - from);
}

String String::ToLower() const {
  std::vector<Char> out(Data(), Data() + Length());
  bool changed = false;
  for (Char& c : out) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<Char>(c + ('a' - 'A'));
      changed = true;
    }
  }
  if (!changed) return *this;
  return String(out.data(), Length());
}

int String::ToInt() const {
  char buffer[TOINT_MAX_CHARS + 1];
  int n = Length() < TOINT_MAX_CHARS ? Length() : TOINT_MAX_CHARS;
  for (int i = 0; i < n; ++i) buffer[i] = static_cast<char>(rep->data[i]);
  buffer[n] = 0;
  // strtol, not atoi: the same digits, and out-of-range values saturate
  // instead of overflowing.
  long value = strtol(buffer, nullptr, 10);
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

std::string String::ToCString() const {
  std::string out(static_cast<size_t>(Length()), '\0');
  for (int i = 0; i < Length(); ++i) out[static_cast<size_t>(i)] = static_cast<char>(rep->data[i]);
  return out;
}

std::string String::ToUtf8() const {
  std::string out;
  vx_utf8_append(*this, out);
  return out;
}

void vx_utf8_append(const String& text, std::string& out) {
  out.reserve(out.size() + static_cast<size_t>(text.Length()) * 3);
  for (int i = 0; i < text.Length(); ++i) {
    unsigned c = text[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
}

String String::Load(FILE* file) {
  std::vector<unsigned char> bytes;
  unsigned char block[LOAD_BLOCK];
  for (;;) {
    size_t n = fread(block, 1, LOAD_BLOCK, file);
    bytes.insert(bytes.end(), block, block + n);
    if (n < LOAD_BLOCK) break;
  }
  return Decode(bytes.data(), bytes.size());
}

String String::Decode(const unsigned char* bytes, size_t count) {
  std::vector<Char> units;
  bool bigEndian = count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
  bool littleEndian = count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
  if (bigEndian || littleEndian) {
    for (size_t i = 2; i + 1 < count; i += 2) {
      units.push_back(bigEndian ? static_cast<Char>((bytes[i] << 8) | bytes[i + 1])
                                : static_cast<Char>((bytes[i + 1] << 8) | bytes[i]));
    }
  } else {
    const unsigned char* start = bytes;
    if (count > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) start += 3;
    if (!DecodeUtf8(start, bytes + count, units)) units.assign(start, bytes + count);
  }
  return String(units.data(), static_cast<int>(units.size()));
}

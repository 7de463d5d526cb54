// String: an immutable sequence of 16-bit code units in one reference-counted
// block. Every empty String shares String::nullRep, so empty values never
// allocate. The shared rep is never counted: handles to it are made in many
// ways that never retain it (default construction, moves), and a count that
// only their destructors touched would drift until it overflowed.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

using Char = uint16_t;

template <class T>
struct Array;

struct String {
  struct Rep {
    int refs;
    int length;
    Char data[1];  // `length` units, allocated inline

    void retain() {
      if (this != &nullRep) ++refs;
    }
    void release();
    static Rep* alloc(int length);
  };

  static Rep nullRep;

  String() : rep(&nullRep) {}
  String(const Char* text, int count);
  String(const char* text);  // one character per byte, widened as a signed byte
  explicit String(int value);    // "%i"
  explicit String(float value);  // "%.17lg", ".0" appended when it reads as an integer
  String(const String& other) : rep(other.rep) { rep->retain(); }
  String(String&& other) noexcept : rep(other.rep) { other.rep = &nullRep; }
  String& operator=(String other) noexcept {
    Rep* mine = rep;
    rep = other.rep;
    other.rep = mine;
    return *this;
  }
  ~String() { rep->release(); }

  // A single character.
  static String FromChar(int ch);

  int Length() const { return rep->length; }
  bool Empty() const { return rep->length == 0; }
  const Char* Data() const { return rep->data; }
  Char operator[](int index) const { return rep->data[index]; }

  friend String operator+(const String& a, const String& b);
  friend bool operator==(const String& a, const String& b);
  friend bool operator!=(const String& a, const String& b) { return !(a == b); }

  // Index of the first occurrence of `find` at or after `start`, or -1.
  int Find(const String& find, int start = 0) const;
  bool StartsWith(const String& prefix) const;
  bool EndsWith(const String& suffix) const;
  Array<String> Split(const String& separator) const;
  String Replace(const String& find, const String& with) const;
  // From `from` to the end; a negative index counts from the end.
  String Slice(int from) const;
  String Slice(int from, int to) const;
  String ToLower() const;

  // The first 63 characters, reduced to bytes, read as a decimal integer.
  int ToInt() const;
  // Each character reduced to its low 8 bits.
  std::string ToCString() const;
  // UTF-8; each unit on its own, surrogate halves included.
  std::string ToUtf8() const;

  // Reads a whole text file: UTF-16 by byte-order mark, otherwise UTF-8, with
  // a Latin-1 fallback for text that is not valid UTF-8.
  static String Load(FILE* file);
  static String Decode(const unsigned char* bytes, size_t count);

  Rep* rep;

 private:
  explicit String(Rep* adopted) : rep(adopted) {}
};

// Appends the UTF-8 form of `text` to `out`.
void vx_utf8_append(const String& text, std::string& out);

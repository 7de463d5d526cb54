#include "runtime/string.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "runtime/array.h"
#include "runtime/gc.h"

namespace {

std::vector<Char> Units(const String& s) { return std::vector<Char>(s.Data(), s.Data() + s.Length()); }

std::vector<std::string> Pieces(const Array<String>& a) {
  std::vector<std::string> out;
  for (const String& s : a) out.push_back(s.ToCString());
  return out;
}

TEST(StringDecode, ByteOrderMarksChooseTheEncodingAndInvalidUtf8IsLatin1Throughout) {
  const struct {
    std::vector<unsigned char> bytes;
    std::vector<Char> units;
  } cases[] = {
      {{0xEF, 0xBB, 0xBF, 0x41}, {'A'}},
      {{0xFF, 0xFE, 0x41, 0x00, 0x42}, {'A'}},  // UTF-16LE; the odd byte is dropped
      {{0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00}, {0xD83D, 0xDE00}},
      {{0xEF, 0xBB, 0xBF}, {}},
      {{0xEF, 0xBB}, {0xEF, 0xBB}},  // two bytes of a mark are not a mark
      {{0xC3, 0xA9, 0xE2, 0x82, 0xAC}, {0xE9, 0x20AC}},
      // Cut off by the end, by a non-continuation byte; a stray continuation
      // byte; a four-byte sequence; after a byte-order mark.
      {{0x41, 0xC3}, {0x41, 0xC3}},
      {{0xC3, 0xA9, 0xE2, 0x82, 0x41}, {0xC3, 0xA9, 0xE2, 0x82, 0x41}},
      {{0x80, 0x41}, {0x80, 0x41}},
      {{0xF0, 0x9F, 0x98, 0x80}, {0xF0, 0x9F, 0x98, 0x80}},
      {{0xEF, 0xBB, 0xBF, 0xFF}, {0xFF}},
  };
  for (const auto& c : cases) EXPECT_EQ(Units(String::Decode(c.bytes.data(), c.bytes.size())), c.units);

  FILE* f = tmpfile();  // longer than one read
  std::string text = std::string(10000, 'x') + "\xE2\x82\xAC";
  fwrite(text.data(), 1, text.size(), f);
  rewind(f);
  String s = String::Load(f);
  fclose(f);
  ASSERT_EQ(s.Length(), 10001);
  EXPECT_EQ(s[10000], 0x20AC);
}

TEST(StringFormat, NumbersAndEightBitTextReadAsTheGameWritesThem) {
  EXPECT_EQ(String(2.0f) + String(" ") + String(0.1f) + String(" ") + String(1e20f) + String(" ") + String(-7),
            String("2.0 0.10000000149011612 1.0000000200408773e+20 -7"));
  EXPECT_EQ(Units(String("a\xE9")), (std::vector<Char>{'a', 0xFFE9}));  // signed bytes

  EXPECT_EQ(String(" -42ab").ToInt(), -42);
  std::string digits = "-" + std::string(62, '0') + "9";  // the 9 is character 64
  EXPECT_EQ(String(digits.c_str()).ToInt(), 0);
  const Char wide[] = {0x0131, '2'};  // U+0131 counts by its low byte, '1'
  EXPECT_EQ(String(wide, 2).ToInt(), 12);
}

TEST(StringOps, SplitReplaceAndSliceKeepEmptyPiecesAndShareWhatIsUnchanged) {
  EXPECT_EQ(Pieces(String(",a,,b").Split(String(","))), (std::vector<std::string>{"", "a", "", "b"}));
  EXPECT_EQ(Pieces(String("ab").Split(String())), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Pieces(String("aaa").Split(String("aa"))), (std::vector<std::string>{"", "a"}));
  EXPECT_EQ(String().Split(String()).Length(), 0);
  EXPECT_EQ(String("aaa").Replace(String("aa"), String("b")).ToCString(), "ba");
  String s("hello");
  EXPECT_EQ(s.Split(String("|"))[0].rep, s.rep);
  EXPECT_EQ(s.Replace(String("x"), String("y")).rep, s.rep);
  EXPECT_EQ((s + String()).rep, s.rep);
  EXPECT_EQ(s.Slice(-2).ToCString(), "lo");
  EXPECT_EQ(s.Slice(-9).rep, s.rep);
  EXPECT_EQ(s.Slice(9).rep, &String::nullRep);
  EXPECT_EQ(s.Find(String("l"), 3), 3);
  EXPECT_FALSE(s.EndsWith(String("hhello")));
  int refs = String::nullRep.refs;  // hours of play make and drop empty Strings in all these ways
  for (int i = 0; i < 3; ++i) {
    String same = s + String(), moved = std::move(same), number(i), fraction(0.5f);
  }
  EXPECT_EQ(String::nullRep.refs, refs);
}

}  // namespace

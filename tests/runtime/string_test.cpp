#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/string.h"

namespace {

std::vector<Char> Units(const String& s) { return std::vector<Char>(s.Data(), s.Data() + s.Length()); }

String Decode(std::initializer_list<unsigned char> bytes) {
  std::vector<unsigned char> data(bytes);
  return String::Decode(data.data(), data.size());
}

std::vector<std::string> Pieces(const Array<String>& a) {
  std::vector<std::string> out;
  for (const String& s : a) out.push_back(s.ToCString());
  return out;
}

TEST(StringLoad, ByteOrderMarksChooseTheEncoding) {
  EXPECT_EQ(Units(Decode({0xEF, 0xBB, 0xBF, 0x41})), (std::vector<Char>{'A'}));
  EXPECT_EQ(Units(Decode({0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00})), (std::vector<Char>{'A', 'B'}));
  EXPECT_EQ(Units(Decode({0xFE, 0xFF, 0x00, 0x41})), (std::vector<Char>{'A'}));
  EXPECT_EQ(Units(Decode({0xFF, 0xFE, 0x41, 0x00, 0x42})), (std::vector<Char>{'A'}));
  EXPECT_EQ(Units(Decode({0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00})), (std::vector<Char>{0xD83D, 0xDE00}));
  // A byte-order mark alone is an empty text; two bytes of one are not a mark.
  EXPECT_EQ(Decode({0xEF, 0xBB, 0xBF}).rep, &String::nullRep);
  EXPECT_EQ(Units(Decode({0xEF, 0xBB})), (std::vector<Char>{0xEF, 0xBB}));
  EXPECT_EQ(Decode({}).rep, &String::nullRep);
}

TEST(StringLoad, InvalidUtf8FallsBackToLatin1ForTheWholeText) {
  EXPECT_EQ(Units(Decode({0xE2, 0x82, 0xAC})), (std::vector<Char>{0x20AC}));
  EXPECT_EQ(Units(Decode({0xC3, 0xA9, 0x41})), (std::vector<Char>{0xE9, 'A'}));
  // Cut off by the end of the file, by a non-continuation byte, a stray
  // continuation byte, and a four-byte sequence.
  EXPECT_EQ(Units(Decode({0x41, 0xC3})), (std::vector<Char>{0x41, 0xC3}));
  EXPECT_EQ(Units(Decode({0xC3, 0xA9, 0xE2, 0x82, 0x41})), (std::vector<Char>{0xC3, 0xA9, 0xE2, 0x82, 0x41}));
  EXPECT_EQ(Units(Decode({0x80, 0x41})), (std::vector<Char>{0x80, 0x41}));
  EXPECT_EQ(Units(Decode({0xF0, 0x9F, 0x98, 0x80})), (std::vector<Char>{0xF0, 0x9F, 0x98, 0x80}));
  // After a skipped byte-order mark the fallback starts behind it.
  EXPECT_EQ(Units(Decode({0xEF, 0xBB, 0xBF, 0xFF})), (std::vector<Char>{0xFF}));
}

TEST(StringLoad, ReadsWholeFilesAcrossBlocks) {
  FILE* f = tmpfile();
  std::string text(10000, 'x');
  text += "\xE2\x82\xAC";
  fwrite(text.data(), 1, text.size(), f);
  rewind(f);
  String s = String::Load(f);
  fclose(f);
  ASSERT_EQ(s.Length(), 10001);
  EXPECT_EQ(s[9999], 'x');
  EXPECT_EQ(s[10000], 0x20AC);
}

TEST(StringFormat, NumbersReadAsTheGameWritesThem) {
  EXPECT_EQ(String(2.0f).ToCString(), "2.0");
  EXPECT_EQ(String(-0.25f).ToCString(), "-0.25");
  EXPECT_EQ(String(0.5f).ToCString(), "0.5");
  EXPECT_EQ(String(0.1f).ToCString(), "0.10000000149011612");
  EXPECT_EQ(String(1e20f).ToCString(), "1.0000000200408773e+20");
  EXPECT_EQ(String(-7).ToCString(), "-7");
  EXPECT_EQ(String(0).ToCString(), "0");
}

TEST(StringFormat, EightBitTextWidensAsSignedBytes) {
  EXPECT_EQ(Units(String("a\xE9")), (std::vector<Char>{'a', 0xFFE9}));
  EXPECT_EQ(String("").rep, &String::nullRep);
}

TEST(StringToInt, ReadsLeadingDigitsOfTheFirst63Characters) {
  EXPECT_EQ(String(" 42ab").ToInt(), 42);
  EXPECT_EQ(String("-17").ToInt(), -17);
  EXPECT_EQ(String("ab").ToInt(), 0);
  EXPECT_EQ(String("").ToInt(), 0);
  std::string digits = "-" + std::string(62, '0') + "9";  // the 9 is character 64
  EXPECT_EQ(String(digits.c_str()).ToInt(), 0);
  std::string seven = std::string(62, '0') + "7" + "99";  // 7 is character 63
  EXPECT_EQ(String(seven.c_str()).ToInt(), 7);
  // A character above 0xFF counts by its low byte: U+0131 reads as '1'.
  const Char wide[] = {0x0131, '2'};
  EXPECT_EQ(String(wide, 2).ToInt(), 12);
}

TEST(StringSplit, KeepsEmptyPiecesAndSharesWhenNothingMatches) {
  EXPECT_EQ(Pieces(String(",a,").Split(String(","))), (std::vector<std::string>{"", "a", ""}));
  EXPECT_EQ(Pieces(String("a,,b").Split(String(","))), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(Pieces(String("ab").Split(String())), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(String().Split(String()).Length(), 0);
  EXPECT_EQ(Pieces(String().Split(String(","))), (std::vector<std::string>{""}));
  EXPECT_EQ(Pieces(String("a||b|").Split(String("||"))), (std::vector<std::string>{"a", "b|"}));
  EXPECT_EQ(Pieces(String("aaa").Split(String("aa"))), (std::vector<std::string>{"", "a"}));
  String source("abc");
  Array<String> one = source.Split(String("|"));
  ASSERT_EQ(one.Length(), 1);
  EXPECT_EQ(one[0].rep, source.rep);
}

TEST(StringReplace, ReplacesLeftToRightWithoutOverlap) {
  EXPECT_EQ(String("aaa").Replace(String("aa"), String("b")).ToCString(), "ba");
  EXPECT_EQ(String("a.b.c").Replace(String("."), String("")).ToCString(), "abc");
  String source("abc");
  EXPECT_EQ(source.Replace(String("x"), String("y")).rep, source.rep);
  EXPECT_EQ(source.Replace(String(), String("y")).rep, source.rep);
}

TEST(StringOps, SharingConcatenationSlicingAndComparison) {
  String a("ab"), empty;
  EXPECT_EQ((a + empty).rep, a.rep);
  EXPECT_EQ((empty + a).rep, a.rep);
  EXPECT_EQ((a + String("c")).ToCString(), "abc");
  EXPECT_EQ((empty + empty).rep, &String::nullRep);
  EXPECT_TRUE(String("x") == String("x"));
  EXPECT_FALSE(String("x") == String("xy"));

  String s("hello");
  EXPECT_EQ(s.Slice(0).rep, s.rep);
  EXPECT_EQ(s.Slice(-2).ToCString(), "lo");
  EXPECT_EQ(s.Slice(-9).rep, s.rep);
  EXPECT_EQ(s.Slice(9).rep, &String::nullRep);
  EXPECT_EQ(s.Slice(1, 3).ToCString(), "el");
  EXPECT_EQ(s.Find(String("l")), 2);
  EXPECT_EQ(s.Find(String("l"), 3), 3);
  EXPECT_EQ(s.Find(String("z")), -1);
  EXPECT_TRUE(s.StartsWith(String("he")));
  EXPECT_TRUE(s.EndsWith(String("llo")));
  EXPECT_FALSE(s.EndsWith(String("hhello")));
  EXPECT_EQ(String("A.WAV").ToLower().ToCString(), "a.wav");
}

TEST(StringRefs, CopiesShareTheRepAndTheLastOneFreesIt) {
  String a("shared");
  {
    String b = a;
    String c;
    c = b;
    EXPECT_EQ(a.rep->refs, 3);
  }
  EXPECT_EQ(a.rep->refs, 1);
  String moved = std::move(a);
  EXPECT_EQ(a.rep, &String::nullRep);
  EXPECT_EQ(moved.rep->refs, 1);
}

// Hours of play make and drop empty Strings in every one of these ways.
TEST(StringRefs, TheSharedEmptyRepKeepsItsCountThroughAMillionOperations) {
  int before = String::nullRep.refs;
  String a("a");
  for (int i = 0; i < 200000; ++i) {  // five operations each
    String number(i), fraction(0.5f);
    String same = a + String();
    String(",").Split(String(","));  // two empty pieces
    String moved = std::move(same);
    if (i % 1000 == 0) gc_collect();  // the arrays are garbage
  }
  EXPECT_EQ(String::nullRep.refs, before);
}

}  // namespace

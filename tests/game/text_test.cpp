// Bitmap-font text: advances with letter adjustments, alignment, escapes,
// line breaks and rotation, read back from the glyph records; and the
// fixed-width number fields.
#include <gtest/gtest.h>

#include "tests/support/game_harness.h"

namespace {

constexpr Char ESCAPE = 172;

struct TextTest : ::testing::Test {
  HarnessOptions Unloaded() {
    HarnessOptions options;
    options.load = false;  // the font loads with the studio logo, before the loader
    return options;
  }
  GameHarness game{Unloaded()};
  c_MyApp& app = *game.app;

  // The glyphs of one p_Text call as (frame, x, y).
  std::vector<DrawRecord> Glyphs(float x, float y, const String& text, float alignX, float alignY) {
    app.drawCount = 0;  // the draw state stays as the test set it
    app.p_Text(x, y, text, alignX, alignY);
    return game.Records();
  }
  static String Escaped(std::initializer_list<Char> units) {
    return String(units.begin(), static_cast<int>(units.size()));
  }
};

TEST_F(TextTest, LettersAdvanceByTheCellPlusTheirAdjustmentAndAlignOnTheTruncatedWidth) {
  std::vector<DrawRecord> left = Glyphs(100, 50, String("mi"), 0, 1);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].frame, 'm' - 32);
  EXPECT_EQ(left[0].x, 100);
  EXPECT_EQ(left[1].x, 109);  // m advances 7 + 2
  EXPECT_EQ(left[0].y, 50);   // alignY 1 centres the line on y

  std::vector<DrawRecord> centred = Glyphs(100, 50, String("mi"), 1, 1);
  EXPECT_FLOAT_EQ(centred[0].x, 93.5f);  // half of 9 + 4

  std::vector<DrawRecord> top = Glyphs(100, 50, String("mi"), 2, 0);
  EXPECT_FLOAT_EQ(top[0].x, 87);
  EXPECT_FLOAT_EQ(top[0].y, 55);  // alignY 0 puts the line's top at y

  app.p_SetSize(2);
  std::vector<DrawRecord> large = Glyphs(0, 0, String("Ws"), 0, 1);
  EXPECT_EQ(large[1].x, 16);  // (7 + 1) x 2
  EXPECT_EQ(large[1].sizeX, 2);
}

TEST_F(TextTest, AnEscapePairMeasuresAsOneGlyphButDrawsItsIconWithItsOwnAdvance) {
  // Measured 9 + 7 = 16, so the text ends at 100; drawn, the icon advances 4 + 7.
  std::vector<DrawRecord> glyphs = Glyphs(100, 50, Escaped({ESCAPE, 'J', 'a'}), 2, 1);
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_EQ(glyphs[0].frame, 96);
  EXPECT_EQ(glyphs[0].x, 84);
  EXPECT_EQ(glyphs[1].x, 95);

  std::vector<DrawRecord> shoulder = Glyphs(0, 0, Escaped({ESCAPE, 'U', 'a'}), 0, 1);
  EXPECT_EQ(shoulder[0].frame, 100);
  EXPECT_EQ(shoulder[1].x, 13);
  // A letter outside the icon table draws the frame of its own code, with
  // the adjustment of the letter that frame shows.
  std::vector<DrawRecord> own = Glyphs(0, 0, Escaped({ESCAPE, 'M', 'a'}), 0, 1);
  EXPECT_EQ(own[0].frame, 'M');
  EXPECT_EQ(own[1].x, 9);
}

TEST_F(TextTest, ALineBreakStartsANewLineButTheWholeTextMeasuresAsOne) {
  // a b \ n c: 7 + 7 + 7 + 6 + 7 = 34 measured, so centred text starts 17 left.
  std::vector<DrawRecord> glyphs = Glyphs(100, 50, String("ab\\nc"), 1, 1);
  ASSERT_EQ(glyphs.size(), 3u);
  EXPECT_EQ(glyphs[0].x, 83);
  EXPECT_EQ(glyphs[1].x, 90);
  EXPECT_EQ(glyphs[2].x, 83);
  EXPECT_EQ(glyphs[2].y, 60);
  EXPECT_EQ(game.Text(), "ab\nc");
}

TEST_F(TextTest, TurnedANinetyDegreesTextRunsDownAndLinesStackToTheLeft) {
  app.p_SetRot(90);
  std::vector<DrawRecord> glyphs = Glyphs(100, 100, String("ab\\nc"), 0, 1);
  ASSERT_EQ(glyphs.size(), 3u);
  EXPECT_NEAR(glyphs[1].x, 100, 1e-4);
  EXPECT_NEAR(glyphs[1].y, 107, 1e-4);
  EXPECT_NEAR(glyphs[2].x, 90, 1e-4);
  EXPECT_NEAR(glyphs[2].y, 100, 1e-4);
  EXPECT_EQ(glyphs[0].rotation, -90);
}

TEST_F(TextTest, NumberFieldsKeepTheirLastDigitsAndPad) {
  EXPECT_EQ(app.p_rstr(42, 8, String("0")), String("00000042"));
  EXPECT_EQ(app.p_rstr(123456, 3, String("0")), String("456"));
  EXPECT_EQ(app.p_rstr(-7, 11, String(" ")), String("         -7"));
  EXPECT_EQ(app.p_rstr(5, 0, String("0")), String("05"));
}

}  // namespace

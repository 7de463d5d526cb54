// The draw list and its replay into the window, bitmap-font text, the loader and the sound effects.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "game/core/globals.h"
#include "tests/graphics/png_files.h"
#include "tests/support/game_harness.h"
#include "tests/support/subprocess.h"

namespace {

namespace fs = std::filesystem;

TEST(DrawList, HoldsTwoThousandFiveHundredRecordsAndReplaysThemInBatches) {
  GameHarness game(Unloaded());  // the font loads with the studio logo, before the loader
  c_MyApp& app = *game.app;
  app.p_CLS2D(0, 0, 0, 1);
  for (int i = 0; i < DRAW_LIST_RECORDS + 2; ++i) app.p_DrawImg(IMG_FONT, static_cast<float>(i), 40, 33);
  app.p_Oval(9999, 0, 1, 1);
  ASSERT_EQ((Floats{float(game.Records().size()), game.Records().back().x}), (Floats{2500, 2499}))
      << "the earliest kept";
  game.gl->Clear();
  game.Render();
  int textured = 0;
  for (const GlCall& draw : game.gl->Draws()) textured += draw.textured;
  EXPECT_EQ(textured, (DRAW_LIST_RECORDS + GXTK_BATCH_QUADS - 1) / GXTK_BATCH_QUADS);

  app.p_CLS2D(VX_NONE, 0, 0, 0);
  app.p_Oval(5, 6, 7, 8);
  EXPECT_TRUE(game.Records().size() == 1 && game.Records()[0].kind == VX_OVAL);
}

TEST(DrawList, InksAndTheBackgroundColour) {
  GameHarness game(Unloaded());
  c_MyApp& app = *game.app;
  app.p_SetSize(2, 3);
  app.p_SetCol(10, 20, 30, 0.5f);

  // Shares of 255 per colour number, times the brightness; any other number is grey.
  const float inks[][3] = {{.3f, .3f, .3f}, {1, .1f, .1f}, {1, .5f, .1f}, {1, 1, .1f},   {.1f, 1, .1f},
                           {.1f, 1, 1},     {.1f, .1f, 1}, {.5f, .1f, 1}, {1, .1f, .5f}, {1, 1, 1}};
  for (int colour = -1; colour <= 10; ++colour) {
    for (int brightness : {1, 2}) {
      app.p_Ink(colour, brightness);
      const float* ink = inks[colour >= 1 && colour <= 9 ? colour : 0];
      const float got[] = {app.drawRed, app.drawGreen, app.drawBlue};
      for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(got[c], std::min(255.0f, ink[c] * 255 * brightness)) << colour;
    }
  }
  EXPECT_FLOAT_EQ(app.drawAlpha, 0.5f) << "inks leave alpha alone";

  app.p_CLS2D(1, 2, 3, 0.5f);
  EXPECT_EQ((Floats{app.clearBlue, app.drawSizeY, app.drawRed}), (Floats{3, 1, 255}));
  app.p_CLS2D(VX_NONE, 9, 9, 9);
  EXPECT_EQ((Floats{app.clearRed, app.clearAlpha}), (Floats{1, 0.5f}));
}

TEST(DrawList, TheVirtualScreenCoversEveryWindowShapeAtOneScale) {
  GameHarness game(Unloaded());
  struct Fit {
    int width, height;
    float scale, virtualWidth, virtualHeight;
    int fitMode, landscape;
  } fits[] = {{1280, 720, 2, 640, 360, 1, 1},
              {960, 960, 2, 480, 480, 2, 1},
              {800, 600, 1.25f, 640, 480, 1, 1},
              {480, 960, 2, 240, 480, 2, 0}};
  for (const Fit& fit : fits) {
    game.Resize(fit.width, fit.height);
    game.Render();
    const c_MyApp& app = *game.app;
    EXPECT_EQ(
        (Floats{app.scaleX, app.scaleY, vx_Kalvexa_jscrw, vx_Kalvexa_jscrh, float(app.fitMode), float(app.landscape)}),
        (Floats{fit.scale, fit.scale, fit.virtualWidth, fit.virtualHeight, float(fit.fitMode), float(fit.landscape)}))
        << fit.width << " x " << fit.height;
  }
  // A window system may report an empty client area: nothing becomes NaN or infinite.
  game.Resize(0, 0);
  game.Step(3);
  EXPECT_TRUE(std::isfinite(game.app->scaleX) && game.app->scaleX > 0 && std::isfinite(vx_Kalvexa_jscrw) &&
              std::isfinite(vx_Kalvexa_jscrh));
}

TEST(DrawList, RecordsLandOnTheWindowScaledAndShiftedByTheOverscan) {
  GameHarness game({1320, 990, false});
  c_MyApp& app = *game.app;
  vx_Kalvexa_overscan = 20;  // two pixels a unit, from (20, 15)
  app.p_CLS2D(0, 0, 0, 1);
  app.p_Rect(10, 20, 30, 40);
  app.p_Oval(100, 50, 8, 4);
  app.p_SetRot(90);
  app.p_DrawImg(IMG_FONT, 200, 100, 33.7f);
  app.p_DrawImg(IMG_FONT, 200, 100, 33);
  app.p_SetRot(0);
  app.p_SetSize(-1, 1);
  app.p_DrawImg(IMG_FONT, 300, 200, 40);
  game.gl->Clear();
  game.Render();
  vx_Kalvexa_overscan = 0;
  std::vector<gxtkVertex> v;  // the background, the rectangle, 24 of the oval, three sprites of 64 pixels
  for (const GlCall& draw : game.gl->Draws()) v.insert(v.end(), draw.vertices.begin(), draw.vertices.end());
  ASSERT_EQ(v.size(), 44u);
  struct Quad {
    size_t first;
    float corners[8];
  } quads[] = {{4, {40, 55, 100, 55, 100, 135, 40, 135}},
               // a quarter turn clockwise at half size, then mirrored
               {32, {436, 199, 436, 231, 404, 231, 404, 199}},
               {40, {636, 399, 604, 399, 604, 431, 636, 431}}};
  for (const Quad& q : quads) {
    for (size_t k = 0; k < 8; ++k) {
      EXPECT_NEAR(k % 2 ? v[q.first + k / 2].y : v[q.first + k / 2].x, q.corners[k], 1e-3) << q.first << " " << k;
    }
  }
  for (size_t k = 0; k < 4; ++k) EXPECT_TRUE(v[32 + k].u == v[36 + k].u && v[32 + k].v == v[36 + k].v) << "frame 33";
  float box[4] = {1e9f, 1e9f, -1e9f, -1e9f};
  for (size_t i = 8; i < 32; ++i) {
    box[0] = std::min(box[0], v[i].x), box[1] = std::min(box[1], v[i].y);
    box[2] = std::max(box[2], v[i].x), box[3] = std::max(box[3], v[i].y);
  }
  const float oval[] = {204, 107, 236, 123};  // centred on (220, 115), 16 and 8 across
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(box[k], oval[k], 1e-3) << k;
}

struct TextTest : ::testing::Test {
  static constexpr Char ESCAPE = 172;
  GameHarness game{Unloaded()};
  c_MyApp& app = *game.app;

  // The glyphs of one p_Text call; the draw state stays as the test set it.
  std::vector<DrawRecord> Glyphs(float x, float y, const std::vector<Char>& text, float alignX, float alignY) {
    app.drawCount = 0;
    app.p_Text(x, y, String(text.data(), static_cast<int>(text.size())), alignX, alignY);
    return game.Records();
  }
};

TEST_F(TextTest, EveryLetterAdvancesByTheCellPlusItsAdjustment) {
  const std::pair<const char*, int> adjustments[] = {{"wm", 2}, {"WM", 1}, {"ifl", -3}, {"jskrztn", -1}};
  std::vector<Char> all;
  for (Char c = 33; c < 127; ++c) all.push_back(c);
  std::vector<DrawRecord> glyphs = Glyphs(0, 0, all, 0, 1);
  ASSERT_EQ(glyphs.size(), all.size());
  for (size_t i = 0; i + 1 < all.size(); ++i) {
    int adj = 0;
    for (auto [letters, a] : adjustments) adj = std::strchr(letters, all[i]) ? a : adj;
    EXPECT_EQ(glyphs[i].frame, all[i] - 32);
    EXPECT_EQ(glyphs[i + 1].x - glyphs[i].x, 7 + adj) << static_cast<char>(all[i]);
  }

  // Code 0 is measured but neither drawn nor advanced; codes from 160 have no glyph but advance.
  Floats odd;  // frame and x of each glyph
  for (const DrawRecord& g : Glyphs(100, 0, {'a', 0, 'b', 159, 160, 'c'}, 2, 1)) odd.insert(odd.end(), {g.frame, g.x});
  EXPECT_EQ(odd, (Floats{'a' - 32, 58, 'b' - 32, 65, 127, 72, 'c' - 32, 86}));
}

TEST_F(TextTest, EscapePairsMeasureAsOneWideGlyphAndDrawTheirIconsWithTheirOwnAdvance) {
  // A letter outside the icon table draws its own code's frame with that letter's adjustment.
  struct Icon {
    Char letter;
    int frame, adj;
  } icons[] = {{'J', 96, 4},  {'K', 97, 4},  {'L', 98, 4},  {'I', 99, 4},  {'U', 100, 6}, {'O', 101, 6}, {'Q', 102, 4},
               {'E', 103, 4}, {'F', 104, 4}, {'W', 105, 4}, {'S', 106, 4}, {'A', 107, 4}, {'D', 108, 4}, {'M', 'M', 2}};
  std::vector<Char> text;
  for (const Icon& icon : icons) text.insert(text.end(), {ESCAPE, icon.letter});
  text.push_back('a');
  // Measured as 14 pairs of 7 + 2 and the a: right-aligned at 1000, the text starts at 867.
  std::vector<DrawRecord> glyphs = Glyphs(1000, 0, text, 2, 1);
  ASSERT_EQ(glyphs.size(), 15u);
  EXPECT_EQ(glyphs[0].x, 867);
  for (size_t i = 0; i < 14; ++i) {
    EXPECT_EQ((Floats{glyphs[i].frame, glyphs[i + 1].x - glyphs[i].x}),
              (Floats{float(icons[i].frame), 7.0f + icons[i].adj}))
        << i;
  }
}

TEST_F(TextTest, LinesAlignOnTheTruncatedWidthBreakAndTurn) {
  std::vector<DrawRecord> top = Glyphs(100, 50, {'m', 'i'}, 1, 0);
  EXPECT_EQ((Floats{top[0].x, top[0].y}), (Floats{93.5f, 55})) << "half of 9 + 4; alignY 0 puts the top at y";
  app.p_SetSize(1.5f);
  EXPECT_FLOAT_EQ(Glyphs(100, 50, {'m', 'i'}, 2, 1)[0].x, 81) << "13.5, then 19.5, truncated";
  app.p_SetSize(1);

  // a b \ n c: 7 + 7 + 7 + 6 + 7 = 34 measured, so centred text starts 17 left.
  std::vector<DrawRecord> lines = Glyphs(100, 50, {'a', 'b', '\\', 'n', 'c'}, 1, 1);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ((Floats{lines[0].x, lines[1].x, lines[2].x, lines[0].y, lines[1].y, lines[2].y}),
            (Floats{83, 90, 83, 50, 50, 60}));
  EXPECT_EQ(game.Text(), "ab\nc");

  // Turned 90 degrees the text runs down and lines stack to the left.
  app.p_SetRot(90);
  std::vector<DrawRecord> turned = Glyphs(100, 100, {'a', 'b', '\\', 'n', 'c'}, 0, 1);
  EXPECT_EQ(turned[0].rotation, -90);
  for (auto [i, x, y] : {std::tuple{1, 100, 107}, {2, 90, 100}}) {
    EXPECT_NEAR(turned[i].x, x, 1e-4) << i;
    EXPECT_NEAR(turned[i].y, y, 1e-4) << i;
  }

  EXPECT_EQ(app.p_rstr(42, 8, String("0")), String("00000042"));
  EXPECT_EQ(app.p_rstr(123456, 3, String("0")), String("456"));
  EXPECT_EQ(app.p_rstr(-7, 11, String(" ")), String("         -7"));
  EXPECT_EQ(app.p_rstr(5, 0, String("0")), String("05"));
}

TEST(Loader, TheWindowSizeChoosesTheFilesAndEverySlotGetsItsOwnPictureAndFrames) {
  struct Slot {
    int slot;
    const char* file;
    int frameWidth, frameHeight, frames;  // virtual units; the font's are its advance and line
  } slots[] = {
      {IMG_ICONS, "common/icons", 32, 32, 16},  {IMG_BUTTONS, "common/Buttons", 64, 64, 16},
      {IMG_DPAD, "common/dpad", 32, 32, 16},    {IMG_STUDIO_LOGO, "common/LumoLogo", 256, 256, 1},
      {IMG_FONT, "fonts/editundo", 7, 10, 128}, {IMG_TESTCARD, "common/Testcard_Circle", 256, 256, 1},
      {IMG_MENU, "menu", 256, 256, 4},          {IMG_LOGO, "logo", 256, 128, 1},
      {IMG_PARTS, "parts", 8, 8, 256},          {IMG_BADGES, "BadgesA", 64, 64, 64},
      {IMG_TILES, "gfx", 64, 64, 16},           {IMG_SHOTS, "weapon", 64, 64, 16},
      {IMG_ROCKS, "rocks", 64, 64, 16},         {IMG_POPS, "flash", 64, 64, 16},
      {IMG_BUGS, "buga", 64, 64, 16},           {IMG_LIFE, "heart", 32, 32, 1},
  };
  struct Size {
    int width, height, divisor;
    std::string suffix;
  } sizes[] = {{630, 630, 1, ".png"}, {631, 480, 2, "-hd.png"}, {1230, 1230, 2, "-hd.png"}, {480, 1231, 4, "-hd2.png"}};
  for (const Size& size : sizes) {
    GameHarness game({size.width, size.height});
    c_MyApp& app = *game.app;
    EXPECT_EQ((Floats{float(app.assetDivisor), app.assetScale}), (Floats{float(size.divisor), 1.0f / size.divisor}));
    for (const Slot& s : slots) {
      std::string file = "data/" + std::string(s.file) + size.suffix;
      std::string decoded = app.images[s.slot] ? app.images[s.slot]->surface->file.ToUtf8() : "";
      EXPECT_EQ(decoded.substr(decoded.size() - std::min(decoded.size(), file.size())), file) << s.slot;
      int scale = s.slot == IMG_FONT ? 1 : size.divisor;
      EXPECT_EQ(Ints(&app.imageInfo[s.slot * 3], &app.imageInfo[s.slot * 3 + 3]),
                (Ints{s.frameWidth * scale, s.frameHeight * scale, s.frames}))
          << s.slot;
    }
  }
}

TEST(Loader, ALoadTakesThirtyFourTicksOfTheTurningLoadingScreenAndAResizeLoadsAgainButSoundsTheLogoOnce) {
  GameHarness game(Unloaded());
  c_MyApp& app = *game.app;
  ASSERT_EQ(app.loadStep, 1);
  app.screenMode = SCREEN_START_GAME;  // its handler would start a game
  float spinner = -1;
  int ticks = 0;
  for (; app.loadStep != 0 && ticks < 100; ++ticks) {
    game.Step();
    EXPECT_TRUE(app.screenMode == SCREEN_START_GAME && app.clearRed == 40) << ticks;
    ASSERT_FALSE(game.Records().empty());
    EXPECT_NE(game.Records()[0].x, spinner) << "the spinner turns every tick";
    spinner = game.Records()[0].x;
  }
  EXPECT_EQ(ticks, 34);
  for (int slot : {1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 15, 16, 17, 18, 95, 96, 98, 99})
    EXPECT_TRUE(app.sounds[slot]) << slot;
  // The tune of play is decoded by then: starting a game only plays it.
  EXPECT_EQ(game.audio->musicPath, String("vorlix://data/sfx/adventurous.ogg"));
  gxtkSample* tune = game.audio->musicSample;
  ASSERT_TRUE(tune && tune->buffer);

  app.screenMode = 0;
  game.Resize(1280, 720);
  game.Render();
  int restarts = -1;  // the resize starts it once
  for (ticks = 0; app.loadStep != 0 && ticks < 100; ++ticks) restarts += app.loadStep == 1, game.Step();
  EXPECT_EQ((Ints{restarts, ticks, app.assetDivisor}), (Ints{0, 34, 4}));
  std::vector<Sound> sounds = game.SoundsPlayed();
  EXPECT_EQ(std::count_if(sounds.begin(), sounds.end(), [](const Sound& s) { return s.slot == SFX_STUDIO; }), 1);
  EXPECT_EQ(game.audio->musicSample, tune) << "the tune is decoded once";
}

TEST(SoundEffects, RotateOverTwentyFourChannelsAndTheShotKeepsChannelThirtyOne) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.sfxCursor = 0;
  game.audio->calls.clear();
  for (int i = 0; i < 25; ++i) app.p_PlaySFX(SFX_PAINT, 1.0f);
  Ints channels, expected;
  for (const AudioCall& play : game.audio->Named("PlaySample")) channels.push_back(play.channel);
  for (int i = 1; i <= 25; ++i) expected.push_back(i % 24);
  EXPECT_EQ(channels, expected);

  // Every play stops its channel first, then sets rate, volume and pan.
  game.audio->calls.clear();
  app.p_PlaySFX(SFX_SHOT, 0.9f, 0.2f, 0.1f);
  app.p_PlaySFX(SFX_SHOT, 0.9f, 0.2f, 0.1f);
  const char* order[] = {"StopChannel", "PlaySample", "SetRate", "SetVolume", "SetPan"};
  const float values[] = {0, 0, 0.9f, 0.2f, 0.1f};
  ASSERT_EQ(game.audio->calls.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    const AudioCall& call = game.audio->calls[i];
    EXPECT_TRUE(call.name == order[i % 5] && call.channel == 31 && call.value == values[i % 5]) << i;
  }
  EXPECT_EQ(app.sfxCursor, 3) << "the shot still moves the cursor on";
  // The two short forms: a volume, or a rate at half volume.
  game.audio->calls.clear();
  app.p_PlaySFX(SFX_CONFIRM, 0.7f);
  app.p_PlaySFXAtRate(SFX_CONFIRM, 0.8f);
  EXPECT_EQ(game.SoundsPlayed(), (std::vector<Sound>{{SFX_CONFIRM, 1, 0.7f}, {SFX_CONFIRM, 0.8f, 0.5f}}));
  for (int mode : {0, 3}) app.options[OPTION_SOUND] = mode, app.p_PlaySFX(SFX_PAINT, 1.0f);
  EXPECT_EQ(game.SoundsPlayed().size(), 2u) << "sound modes 0 and 3 play no effects";
}

// A data folder holding only the files named, copied from the generated data.
std::string PartialData(const std::vector<std::pair<std::string, std::string>>& files) {
  std::string folder = fs::temp_directory_path() / ("vx_data_" + std::to_string(getpid()));
  fs::remove_all(folder);
  for (const auto& [from, to] : files) {
    fs::create_directories(fs::path(folder + "/" + to).parent_path());
    fs::copy_file(BuildPath("run/data/") + from, folder + "/" + to);
  }
  return folder;
}

TEST(BadData, MissingFilesLeaveEmptySlotsAndTheGameRunsOnWithWhatItHas) {
  std::string data = PartialData({{"fonts/editundo-hd.png", "fonts/editundo-hd.png"},
                                  {"menu-hd.png", "menu-hd.png"},
                                  {"sfx/001.wav", "sfx/007.wav"},
                                  {"sfx/001.wav", "sfx/042.wav"}});
  {
    HarnessOptions options;
    options.dataFolder = data;
    GameHarness game(options);
    c_MyApp& app = *game.app;
    EXPECT_TRUE(!app.images[IMG_TILES] && !app.sounds[SFX_SHOT] && app.images[IMG_MENU]);
    app.p_PlaySFX(SFX_SHOT, 1.0f);
    game.Step(60);
    EXPECT_FALSE(game.Records().empty());
    for (int slot : {7, 42, 8}) app.p_LoadSFX(slot);  // three-digit sound names
    EXPECT_TRUE(app.sounds[7] && app.sounds[42] && !app.sounds[8]);
  }
  fs::remove_all(data);
}

TEST(BadData, APictureThatDoesNotFitItsFrameGridEndsTheProgramWithTheGraphicsMessage) {
  // Death tests start a fresh process: a forked one would inherit the audio mixer's locks.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::string data = PartialData({{"fonts/editundo-hd.png", "fonts/editundo-hd.png"}});
  ASSERT_TRUE(WritePng(data + "/gfx-hd.png", 32, 32, 4, std::vector<unsigned char>(32 * 32 * 4, 255)));
  HarnessOptions options;
  options.dataFolder = data;
  EXPECT_EXIT(
      {
        dup2(2, 1);  // fatal errors print on standard output; the death test reads standard error
        close(0);    // no debugger attached
        GameHarness game(options);
      },
      ::testing::ExitedWithCode(255), "Vorlix Runtime Error : Image frame outside surface");
  fs::remove_all(data);
}

TEST(DrawList, BlendThreeDrawsAdditivelyEveryOtherValueNormally) {
  GameHarness game(Unloaded());
  c_MyApp& app = *game.app;
  app.p_CLS2D(0, 0, 0, 1);
  for (int blend : {1, 3, 0, 2, 3}) {
    app.p_Blend(blend);
    app.p_Rect(10, 10, 5, 5);
  }
  game.gl->Clear();
  game.Render();
  // The background rectangle joins the first record's batch: additive, quads.
  std::vector<std::pair<bool, int>> draws, expected = {{false, 2}, {true, 1}, {false, 2}, {true, 1}};
  bool additive = false;
  for (const GlCall& call : game.gl->calls) {
    if (call.name == "BlendFunc") additive = call.args[1] == GL_ONE;
    if (call.name == "DrawElements") draws.push_back({additive, static_cast<int>(call.args[1]) / 6});
  }
  EXPECT_EQ(draws, expected);
}

}  // namespace

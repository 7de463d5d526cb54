// The draw list: what screens record, and how the render call fits the
// virtual screen to the window and replays the records.
#include <gtest/gtest.h>

#include <cmath>

#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

HarnessOptions Window(int width, int height, bool load) {
  HarnessOptions options;
  options.width = width;
  options.height = height;
  options.load = load;
  return options;
}

HarnessOptions Unloaded() { return Window(640, 480, false); }

TEST(DrawList, HoldsTwoThousandFiveHundredRecordsAndDropsTheRestUntilTheNextPicture) {
  GameHarness game(Unloaded());
  c_MyApp& app = *game.app;
  app.p_CLS2D(0, 0, 0, 1);
  for (int i = 0; i < DRAW_LIST_RECORDS; ++i) app.p_Rect(static_cast<float>(i), 0, 1, 1);
  EXPECT_EQ(app.drawCount, DRAW_LIST_FLOATS);
  app.p_Oval(9999, 0, 1, 1);
  app.p_DrawImg(IMG_TILES, 9999, 0, 0);
  ASSERT_EQ(game.Records().size(), 2500u);
  EXPECT_EQ(game.Records().back().x, 2499);

  app.p_CLS2D(VX_NONE, 0, 0, 0);
  app.p_Oval(5, 6, 7, 8);
  ASSERT_EQ(game.Records().size(), 1u);
  EXPECT_EQ(game.Records()[0].kind, DrawRecord::OVAL);
}

TEST(DrawList, SettersInksAndTheBackgroundColour) {
  GameHarness game(Unloaded());
  c_MyApp& app = *game.app;
  app.p_SetSize(2);
  EXPECT_EQ(app.drawSizeX, 2);
  EXPECT_EQ(app.drawSizeY, 2);
  app.p_SetSize(2, 3);
  EXPECT_EQ(app.drawSizeY, 3);

  app.p_Alpha(0.3f);
  app.p_SetCol(10, 20, 30);
  EXPECT_FLOAT_EQ(app.drawAlpha, 0.3f);
  app.p_SetCol(10, 20, 30, 0.5f);
  EXPECT_FLOAT_EQ(app.drawAlpha, 0.5f);

  struct Ink {
    int colour, brightness;
    float r, g, b;
  } inks[] = {
      {2, 1, 255, 127.5f, 25.5f}, {9, 2, 255, 255, 255}, {0, 1, 76.5f, 76.5f, 76.5f}, {-4, 1, 76.5f, 76.5f, 76.5f}};
  for (const Ink& ink : inks) {
    app.p_Ink(ink.colour, ink.brightness);
    EXPECT_FLOAT_EQ(app.drawRed, ink.r) << ink.colour;
    EXPECT_FLOAT_EQ(app.drawGreen, ink.g) << ink.colour;
    EXPECT_FLOAT_EQ(app.drawBlue, ink.b) << ink.colour;
  }
  EXPECT_FLOAT_EQ(app.drawAlpha, 0.5f);  // inks leave alpha alone

  app.p_CLS2D(1, 2, 3, 0.5f);
  EXPECT_EQ(app.clearBlue, 3);
  EXPECT_EQ(app.drawSizeY, 1);
  EXPECT_EQ(app.drawRed, 255);
  app.p_CLS2D(VX_NONE, 9, 9, 9);
  EXPECT_EQ(app.clearRed, 1);
  EXPECT_EQ(app.clearAlpha, 0.5f);
}

TEST(DrawList, TheVirtualScreenCoversEveryWindowShapeAtOneScale) {
  GameHarness game(Unloaded());
  struct Fit {
    int width, height;
    float scale, virtualWidth, virtualHeight;
    int fitMode, landscape;
  } fits[] = {
      {1280, 720, 2, 640, 360, 1, 1},
      {960, 960, 2, 480, 480, 2, 1},
      {800, 600, 1.25f, 640, 480, 1, 1},
      {480, 960, 2, 240, 480, 2, 0},
  };
  for (const Fit& fit : fits) {
    game.Resize(fit.width, fit.height);
    game.Render();
    EXPECT_FLOAT_EQ(game.app->scaleX, fit.scale) << fit.width << "x" << fit.height;
    EXPECT_FLOAT_EQ(game.app->scaleY, fit.scale) << fit.width << "x" << fit.height;
    EXPECT_FLOAT_EQ(vx_Kalvexa_jscrw, fit.virtualWidth) << fit.width << "x" << fit.height;
    EXPECT_FLOAT_EQ(vx_Kalvexa_jscrh, fit.virtualHeight) << fit.width << "x" << fit.height;
    EXPECT_EQ(game.app->fitMode, fit.fitMode) << fit.width << "x" << fit.height;
    EXPECT_EQ(game.app->landscape, fit.landscape) << fit.width << "x" << fit.height;
  }

  // A window system may report an empty client area: nothing becomes NaN or infinite.
  game.Resize(0, 0);
  game.Step(3);
  EXPECT_TRUE(std::isfinite(game.app->scaleX) && game.app->scaleX > 0);
  EXPECT_TRUE(std::isfinite(vx_Kalvexa_jscrw) && std::isfinite(vx_Kalvexa_jscrh));
}

TEST(DrawList, AWindowResizeBetweenTwoRendersReloadsEveryAssetOnceAtTheNewResolution) {
  GameHarness game(Window(630, 470, true));
  ASSERT_EQ(game.app->assetDivisor, 1);
  game.Resize(1280, 720);
  game.Render();
  EXPECT_EQ(game.app->loadStep, 1);
  int restarts = 0, ticks = 0;
  for (; game.app->loadStep != 0 && ticks < 100; ++ticks) {
    game.Step();
    restarts += game.app->loadStep == 1;
  }
  EXPECT_EQ(restarts, 0);
  EXPECT_EQ(ticks, 34);
  EXPECT_EQ(game.app->assetDivisor, 4);
  ASSERT_NE(game.app->images[IMG_TILES], nullptr);
  EXPECT_EQ(game.app->images[IMG_TILES]->frameWidth, 256);
}

// The blend in force at each draw call, and the quads it drew.
struct Draw {
  bool additive;
  int quads;
};
std::vector<Draw> Draws(const GlRecorder& gl) {
  std::vector<Draw> draws;
  bool additive = false;
  for (const GlCall& call : gl.calls) {
    if (call.name == "BlendFunc") additive = call.args[1] == GL_ONE;
    if (call.name == "DrawElements") draws.push_back({additive, static_cast<int>(call.args[1]) / 6});
  }
  return draws;
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
  std::vector<Draw> draws = Draws(*game.gl);
  // The background rectangle joins the first record's batch.
  ASSERT_EQ(draws.size(), 4u);
  const Draw expected[] = {{false, 2}, {true, 1}, {false, 2}, {true, 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(draws[i].additive, expected[i].additive) << i;
    EXPECT_EQ(draws[i].quads, expected[i].quads) << i;
  }
}

TEST(DrawList, AFullListOfOneImageReplaysInBatchesNotOneDrawCallPerRecord) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.p_CLS2D(0, 0, 0, 1);
  for (int i = 0; i < DRAW_LIST_RECORDS; ++i) app.p_DrawImg(IMG_PARTS, static_cast<float>(i % 640), 40, i % 256);
  game.gl->Clear();
  game.Render();
  int textured = 0;
  for (const GlCall& draw : game.gl->Draws()) textured += draw.textured;
  EXPECT_EQ(textured, (DRAW_LIST_RECORDS + GXTK_BATCH_QUADS - 1) / GXTK_BATCH_QUADS);
}

}  // namespace

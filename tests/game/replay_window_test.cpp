// The replay in a real window: records of one blend mode share draw calls,
// and the picture is the same as when every record is its own draw call.
// A program of its own because Mesa's driver leaves allocations behind that
// LeakSanitizer would report as ours.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/game_harness.h"

extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }

namespace {

// A busy mixed picture: sprites of four sheets, glyphs, a run of additive
// records, rectangles and ovals, in several colours, sizes and turns.
void RecordMixedPicture(c_MyApp& app) {
  app.p_CLS2D(0, 0, 0, 0);  // a background of alpha 0 leaves the window as it is
  const int sheets[] = {IMG_TILES, IMG_ROCKS, IMG_BUGS, IMG_PARTS};
  for (int i = 0; i < 400; ++i) {
    app.p_SetCol(static_cast<float>(i * 37 % 256), static_cast<float>(i * 91 % 256), static_cast<float>(i * 53 % 256),
                 0.4f + static_cast<float>(i % 7) / 10);
    app.p_Blend(i % 40 < 6 ? 3 : 1);
    app.p_SetSize(0.5f + static_cast<float>(i % 5) / 4);
    app.p_SetRot(static_cast<float>(i * 13 % 360));
    float x = static_cast<float>(i * 47 % 640), y = static_cast<float>(i * 29 % 480);
    if (i % 10 == 3) {
      app.p_Rect(x, y, 30, 20);
    } else if (i % 10 == 7) {
      app.p_Oval(x, y, 15, 10);
    } else {
      app.p_DrawImg(sheets[i % 4], x, y, static_cast<float>(i % 16));
    }
  }
  app.p_ResetDraw();
  app.p_SetSize(2);
  app.p_Text(20, 40, String("Run and Fire, Stand and Fire"), 0, 1);
}

TEST(ReplayWindow, BatchedRecordsDrawTheSamePixelsAsOneDrawCallEach) {
  ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test draws into a real window and needs a display";
  HarnessOptions options;
  options.realWindow = true;
  GameHarness game(options);
  c_MyApp& app = *game.app;
  RecordMixedPicture(app);

  std::vector<uint32_t> batched = game.ReadFrame([&] {
    vx_graphics_Cls(0, 0, 0);
    app.p_OnRender();
  });

  // The same records replayed one per render: between two of them the
  // background rectangle ends every batch.
  std::vector<float> list(&app.drawList[0], &app.drawList[0] + app.drawCount);
  std::vector<uint32_t> single = game.ReadFrame([&] {
    vx_graphics_Cls(0, 0, 0);
    for (size_t i = 0; i < list.size(); i += DRAW_RECORD_FLOATS) {
      for (int k = 0; k < DRAW_RECORD_FLOATS; ++k) app.drawList[k] = list[i + k];
      app.drawCount = DRAW_RECORD_FLOATS;
      app.p_OnRender();
    }
  });

  ASSERT_EQ(batched.size(), single.size());
  int differ = 0, drawn = 0;
  for (size_t i = 0; i < batched.size(); ++i) {
    differ += batched[i] != single[i];
    drawn += (batched[i] & 0xFFFFFF) != 0;
  }
  EXPECT_EQ(differ, 0);
  EXPECT_GT(drawn, 640 * 480 / 4) << "the picture is mostly empty";
}

}  // namespace

// The screens around play: the frame of every tick (function keys, the input
// snapshot, suspend and resume, the streamed tune, the orderly ends), the
// title, its boxes (options, credits, badges), the pause menu and the quit question.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

#include "framework/key_codes.h"
#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

TEST(Flow, WhileLoadingNoScreenRunsButFunctionKeysThePointerAndPopUpsDo) {
  GameHarness game(Unloaded());
  c_MyApp& app = *game.app;
  game.Press(KEY_F1);
  game.Press(KEY_F2);
  game.MouseMove(200, 100);
  app.badgeShown[0] = 1;  // a badge pop-up
  game.Step();
  EXPECT_EQ((Ints{vx_Kalvexa_DebugMode, app.hideHud, app.mouseX, app.mouseY, app.badgeShown[0]}),
            (Ints{1, 1, 200, 100, 2}));
  EXPECT_GT(app.loadStep, 0);
  EXPECT_EQ(app.menuY, -32) << "the title never ran";
  game.FinishLoading();
  game.Step(40);
  EXPECT_EQ(app.menuY, 0);
  EXPECT_TRUE(game.Shows(":1.0,1.0")) << "the debug overlay: the frame rate and the scale";
  game.Press(KEY_F1);
  game.Press(KEY_F2);
  EXPECT_FALSE(game.Shows(":1.0,1.0"));
  EXPECT_EQ((Ints{vx_Kalvexa_DebugMode, app.hideHud}), (Ints{0, 0}));

  // The frame rate keeps its value on equal timestamps but still smooths.
  game.host->now += 0.020;
  game.Update();
  int smooth = app.fpsSmooth;
  game.Update();
  EXPECT_EQ((Ints{app.fps, app.fpsSmooth}), (Ints{50, (smooth * 9 + 50) / 10}));
}

TEST(Flow, FourTheCloseKeyBackOnTheTitleAndYesToTheQuitQuestionEndTheProgramWithTheStateSaved) {
  for (bool fails : {false, true}) {
    for (int end = 0; end < 4; ++end) {
      GameHarness game;
      game.app->options[OPTION_SOUND] = 3;
      game.app->badges[7] = true;
      game.host->failSaves = fails;
      if (end == 3) {
        game.app->screenMode = SCREEN_QUIT_QUESTION;
        game.Step();
      }
      EXPECT_TRUE(game.Ends([&] {
        if (end < 3) game.Press(end == 0 ? KEY_F4 : end == 1 ? KEY_CLOSE : KEY_ESCAPE);
        game.PadButton(0, 1, end == 3);  // A
        game.Step();
      })) << end;
      std::string state = game.StateFile();
      EXPECT_EQ(state.substr(0, 12), fails ? "" : "0|0|0|0|0|3|") << end;
      EXPECT_EQ(state.find("|128|0|0|0|0|0|0|0|128|") != std::string::npos, !fails) << end << state;
    }
  }
}

TEST(Flow, AFreshPressHasNoMovementAndAnUpTouchSitsOutsideEveryBox) {
  GameHarness game;
  c_MyApp& app = *game.app;
  game.MouseMove(100, 100);
  game.Step();
  game.MouseDown(300, 200);
  game.Step();
  EXPECT_EQ((Ints{app.mouseX, app.lastMouseX, app.lastMouseY, app.pointerDown}), (Ints{300, 300, 200, 1}));
  game.MouseMove(310, 200);
  game.Step();
  EXPECT_EQ(app.lastMouseX, 300);
  game.MouseUp();
  game.TouchDown(3, 50, 60);
  game.Step();
  EXPECT_EQ((Ints{app.touchDown[3], app.touchX[3]}), (Ints{1, 50}));
  game.TouchUp(3);
  game.Step();
  EXPECT_EQ((Ints{app.touchDown[3], app.touchX[3], app.touchY[3], app.pointerDown}), (Ints{0, -3717, -3717, 0}));
}

TEST(Flow, AwayFromTheWindowTheTitleSavesAndTheCabinetLetsGoOfEveryButton) {
  GameHarness game;
  c_MyApp& app = *game.app;
  ASSERT_EQ(game.StateFile(), "");
  for (void (HarnessHost::*away)() : {&HarnessHost::SuspendGame, &HarnessHost::ResumeGame}) {
    app.p_iCade(1);
    app.padButtons[3] = app.padButtons[16] = 2;
    (game.host->*away)();
    EXPECT_EQ(vx_Kalvexa_iCadeControls, 0);
    EXPECT_EQ(Ints(&app.padButtons[0], &app.padButtons[0] + PAD_BUTTONS), Ints(PAD_BUTTONS, 0));
    EXPECT_EQ(app.paused, 0);
    EXPECT_EQ(game.host->UpdateRate(), away == &HarnessHost::SuspendGame ? 5 : 60);
  }
  EXPECT_NE(game.StateFile(), "");
}

TEST(TuneControl, TheSoundSettingDecidesWhetherTheStreamStartsAndPausingPausesIt) {
  GameHarness game;
  c_MyApp& app = *game.app;
  game.audio->calls.clear();
  app.p_PlayTune(String("adventurous"), 0);
  app.p_PlayTune(String("adventurous"), 0);
  EXPECT_EQ((Ints{game.audio->Count("PlayMusic"), game.audio->Count("StopMusic"), app.musicStreaming}),
            (Ints{2, 1, 1}));
  EXPECT_NE(game.audio->calls[0].path.find("sfx/adventurous.ogg"), std::string::npos);
  app.paused = 1;
  game.Step(3);
  app.paused = 0;
  game.Step();
  EXPECT_EQ((Ints{game.audio->Count("PauseMusic"), game.audio->Count("ResumeMusic")}), (Ints{3, 1}));

  app.options[OPTION_SOUND] = 2;
  game.audio->calls.clear();
  app.p_PlayTune(String("adventurous"), 0);
  EXPECT_EQ((Ints{game.audio->Count("PlayMusic"), game.audio->Count("StopMusic"), app.musicStreaming}),
            (Ints{0, 1, 0}));
}

constexpr float FIRST_ITEM_X = 250, ITEM_Y = 384, SPACING = 88;  // the carousel on a 640 x 480 screen

struct Title : ::testing::Test {
  GameHarness game;
  c_MyApp& app = *game.app;
  void SetUp() override { game.Step(40); }  // slid in
};

TEST_F(Title, AHeldKeyMovesOnceThePanelFollowsTheModeAndTheCogOpensTheOptions) {
  app.scores[10] = 7777;
  app.scores[40] = 6666;
  EXPECT_FALSE(game.Shows("7777"));
  game.KeyDown(KEY_RIGHT);
  game.Step(20);
  game.KeyUp(KEY_RIGHT);
  EXPECT_EQ(app.menuChoice, 2);
  game.Step(40);
  EXPECT_EQ(app.gameMode, 2);
  EXPECT_TRUE(game.Shows("Top 10") && game.Shows("7777") && game.Shows("6666")) << game.Text();
  EXPECT_EQ(game.SoundsPlayed().back(), (Sound{SFX_MOVE, 1, 1}));
  game.Tap(KEY_DOWN, 4);
  game.Step(40);
  EXPECT_EQ(app.menuChoice, 4) << "the cog is the last item";
  game.Tap(KEY_RETURN);
  EXPECT_EQ((Ints{app.optionsOpen, app.optionsLine, app.screenMode}), (Ints{1, 0, SCREEN_TITLE}));
}

TEST_F(Title, AFlingMovesTheCarouselATouchSelectsAndASecondTouchStartsItsGame) {
  game.MouseDown(500, 450);
  game.Step();
  for (float x = 470; x >= 350; x -= 30) {
    game.MouseMove(x, 450);
    game.Step();
  }
  game.MouseUp();
  EXPECT_LT(app.menuOffset, -SPACING) << "flung left past the second item";
  game.Step(40);
  EXPECT_EQ((Ints{app.menuChoice, app.screenMode}), (Ints{4, SCREEN_TITLE})) << "a drag's release activates nothing";
  game.Click(FIRST_ITEM_X - SPACING, ITEM_Y);  // mode 3, left of the cog
  EXPECT_EQ((Ints{app.menuChoice, app.screenMode}), (Ints{3, SCREEN_TITLE}));
  game.Step(41);
  game.Click(FIRST_ITEM_X, ITEM_Y);
  EXPECT_EQ((Ints{app.screenMode, app.gameMode}), (Ints{SCREEN_START_GAME, 3}));
  EXPECT_EQ(game.SoundsPlayed().back(), (Sound{SFX_CONFIRM, 1, 1}));
}

// Two games in turn: one harness at a time owns the program.
TEST(TitleLatches, AKeyActsWhileThePointerIsHeldAndThePlayButtonWhileAKeyIs) {
  for (bool pointerHeld : {true, false}) {
    GameHarness game;
    game.Step(40);
    if (pointerHeld) {
      game.MouseDown(FIRST_ITEM_X + SPACING, ITEM_Y);  // selects mode 2 and stays down, off the items
      game.Step();
      game.MouseMove(100, 60);
      game.Step(40);
      game.Tap(KEY_RETURN);
    } else {
      game.KeyDown(KEY_DOWN);  // moves to mode 2 and stays held
      game.Step(40);
      game.Click(570, 432);
    }
    EXPECT_EQ((Ints{game.app->screenMode, game.app->gameMode}),
              (Ints{pointerHeld ? SCREEN_PLAY : SCREEN_START_GAME, 2}));
  }
}

TEST_F(Title, BackClosesAnOpenBoxInsteadOfQuittingAndTheQuitQuestionsOReturnsHere) {
  for (int key : {int{'N'}, int{'B'}, KEY_DOWN}) {
    if (key == KEY_DOWN) game.Tap(KEY_DOWN, 3);
    game.Tap(key == KEY_DOWN ? KEY_RETURN : key);
    game.Step(30);
    EXPECT_FALSE(game.Ends([&] {
      game.Press(KEY_ESCAPE);
      game.Step();
    })) << key;
    EXPECT_EQ((Ints{app.creditsOpen, app.badgesOpen, app.optionsOpen, app.screenMode}), (Ints{0, 0, 0, SCREEN_TITLE}));
    game.Step(30);
  }
  app.screenMode = SCREEN_QUIT_QUESTION;
  game.Step();
  EXPECT_EQ(app.clearAlpha, 0);
  EXPECT_TRUE(game.Shows("trying to QUIT!"));
  game.PadButton(0, 0, true);  // O
  game.Step();
  EXPECT_EQ(app.screenMode, SCREEN_TITLE);
}

TEST(TitleScreen, AScreenTooLowForOneRowStillShowsOneTitledRow) {
  GameHarness game({1280, 400});  // a virtual screen of 640 x 200
  game.Step(40);
  EXPECT_TRUE(game.Shows("Highscore\n") && game.Shows("Last\n") && !game.Shows("Top")) << game.Text();
}

// Portrait windows run the carousel down the screen; the selected item rests
// where the others are measured from, so each way of choosing reaches every
// item, the choice stands, and the carousel stops at its ends.
TEST(TitlePortrait, KeysTapsAndFlingsChooseEveryItemAndTheCarouselStopsAtItsEnds) {
  for (auto [width, height] : {std::pair{480, 960}, {600, 1000}}) {
    for (char way : {'k', 't', 'f'}) {  // keys, taps, flings
      GameHarness game({width, height});
      c_MyApp& app = *game.app;
      game.Step(40);
      ASSERT_EQ(app.landscape, 0);
      float itemX = (vx_Kalvexa_jscrw - 140) / 2, restY = vx_Kalvexa_jscrh - 96;
      for (int item = 2; item <= 5; ++item) {
        if (way == 'k') game.Tap(KEY_DOWN);
        if (way == 't') game.Click(itemX, restY + SPACING - 10);
        if (way == 'f') {
          game.MouseDown(itemX + 70, 200);
          game.Step();
          game.MouseMove(itemX + 70, 153);
          game.Step();
          game.MouseUp();
        }
        game.Step(120);
        EXPECT_EQ((Ints{app.menuChoice, app.screenMode}), (Ints{std::min(item, 4), SCREEN_TITLE})) << way << item;
      }
      // Flung hard past the cog, then past the first item: pushed back each time.
      for (int end : {4, 1}) {
        if (end == 1) game.Tap(KEY_UP, 3);
        app.menuFling = end == 4 ? -400 : 400;
        game.Step(200);
        EXPECT_EQ(app.menuChoice, end) << width << " " << way;
        EXPECT_NEAR(app.menuShown, (1 - end) * SPACING, vx_Kalvexa_jscrh * 0.15f) << width << " " << way;
      }
    }
  }
}

TEST_F(Title, TheOptionLinesSwitchAndEveryWayOutOfTheBoxSaves) {
  auto line = [&](int n) {
    for (int i = 0; i < 8 && app.optionsLine < n; ++i) game.Tap(KEY_DOWN);
  };
  auto saved = [&] { return game.StateFile().substr(0, 12); };
  app.p_PlayTune(String("adventurous"), 0);
  // The press that opens the box is held well past its slide, and does nothing in it.
  game.Tap(KEY_DOWN, 3);
  game.KeyDown(KEY_RETURN);
  game.Step(45);
  game.KeyUp(KEY_RETURN);
  game.Step();
  EXPECT_EQ(app.optionsOpen, 1);
  EXPECT_TRUE(game.Shows("Sound : SFX + Music"));

  // SFX stops the stream at once; Music does not start it again.
  line(1);
  game.Tap(KEY_RETURN);
  EXPECT_TRUE(game.Shows("Sound : SFX\n"));
  EXPECT_EQ((Ints{app.musicStreaming, game.audio->Count("StopMusic")}), (Ints{0, 1}));
  game.Tap(KEY_SPACE);
  EXPECT_TRUE(game.Shows("Sound : Music"));
  EXPECT_EQ(game.audio->Count("PlayMusic"), 1);
  game.Click(200, 140);  // the mouse on the line
  game.Step();
  EXPECT_TRUE(game.Shows("Sound : Off"));
  // Without a music source the line is On or Off; a mode no line offers is Off once shown.
  vx_Kalvexa_HasMusicStream = 0;
  for (int wrong : {4, -1, 2}) {
    app.options[OPTION_SOUND] = wrong;
    game.Step();
    EXPECT_EQ(app.options[OPTION_SOUND], 0) << wrong;
  }
  game.Tap(KEY_RETURN);
  EXPECT_TRUE(game.Shows("Sound : On"));
  vx_Kalvexa_HasMusicStream = 1;

  line(2);
  for (int on : {1, 0}) {
    app.padButtons[ACTION_UP] = app.padButtons[ACTION_FIRE] = 2;
    game.Tap(KEY_RETURN);
    EXPECT_EQ(vx_Kalvexa_iCadeControls, on);
    EXPECT_EQ(Ints(&app.padButtons[0], &app.padButtons[0] + PAD_BUTTONS), Ints(PAD_BUTTONS, 0));
  }
  game.Tap(KEY_ESCAPE);
  EXPECT_EQ(app.optionsOpen, 0);
  EXPECT_EQ(saved(), "0|0|0|0|0|1|");

  // Opened again and closed by confirm on the cog's line, by a touch on the
  // cog, and by the hand-over to the credits: each saves what was changed.
  const std::function<void()> closes[] = {[&] { game.Tap(KEY_RETURN); }, [&] { game.Click(100, 60); },
                                          [&] {
                                            line(4);
                                            game.PadButton(0, 0, true);
                                            game.Step();
                                            game.PadButton(0, 0, false);
                                            EXPECT_EQ(app.creditsOpen, 1);
                                          }};
  for (int sound = 2; sound <= 4; ++sound) {
    game.Step(30);
    game.Tap(KEY_RETURN);
    game.Step(30);
    app.options[OPTION_SOUND] = sound % 4;
    closes[sound - 2]();
    EXPECT_EQ(app.optionsOpen, 0);
    EXPECT_EQ(saved(), "0|0|0|0|0|" + std::to_string(sound % 4) + "|");
    game.Step(30);
    if (app.creditsOpen) game.Tap(KEY_ESCAPE);
  }

  // The screen line switches to full screen, which then offers the window.
  game.Step(30);
  game.Tap(KEY_RETURN);
  game.Step(30);
  line(3);
  game.Tap(KEY_RETURN);
  game.FinishLoading();
  game.Step();
  EXPECT_EQ(app.fullscreen, 1);
  EXPECT_TRUE(game.Shows("Windowed")) << game.Text();
}

// The pause menu in play: its panel by layout, and every way through it with its sound.
TEST(PauseMenu, ItsButtonsAnswerTouchesAndKeysInBothLayoutsAndItsQuitRecordsTheScore) {
  struct Layout {
    int width, height;
    float topBar[4], panel[4], bottomBar[4], sideX, sideY;
  } layouts[] = {
      {640, 480, {-128, -64, 256, 8}, {-140, -52, 280, 104}, {-128, 56, 256, 8}, 140, -64},
      {480, 960, {-96, -92, 192, 8}, {-128, -80, 256, 160}, {-96, 84, 192, 8}, 96, -96},
  };
  for (const Layout& l : layouts) {
    GameHarness game({l.width, l.height});
    c_MyApp& app = *game.app;
    game.Tap(KEY_RETURN);
    float c = vx_Kalvexa_jscrw / 2, y = vx_Kalvexa_jscrh / 2;
    auto heard = [&](Sound sound) { EXPECT_EQ(game.SoundsPlayed().back(), sound) << l.width; };
    game.Click(16, 16);  // the pause button
    EXPECT_EQ(app.paused, 1) << l.width;
    heard({SFX_CONFIRM, 1, 0.5f});
    game.Step(20);
    ASSERT_EQ(app.pauseMenuY, y);
    // The bars, and the quit, resume and options buttons as (slot, frame, x, y).
    std::set<Floats> rects, buttons;
    for (const DrawRecord& r : game.Records()) {
      if (r.kind == VX_NONE) rects.insert({r.x - c, r.y - y, r.sizeX, r.sizeY});
      buttons.insert({r.kind, r.frame, r.x - c, r.y - y});
    }
    for (const float* bar : {l.topBar, l.panel, l.bottomBar}) {
      EXPECT_EQ(rects.count({bar[0], bar[1], bar[2], bar[3]}), 1u) << l.width << " " << bar[2];
    }
    for (Floats button :
         {Floats{IMG_ICONS, 1, -l.sideX, l.sideY}, {IMG_ICONS, 3, 0, 0}, {IMG_BUTTONS, 8, l.sideX, l.sideY}}) {
      EXPECT_EQ(buttons.count(button), 1u) << l.width << " " << button[1];
    }
    game.Click(c, y);  // resume
    EXPECT_EQ(app.pauseMenuOpen, -1);
    heard({SFX_CONFIRM, 1, 0.5f});
    game.Step(20);
    EXPECT_EQ(app.paused, 0);
    game.Press(KEY_F2);  // no display, no pause button
    game.Click(16, 16);
    EXPECT_EQ(app.paused, 0);
    game.Press(KEY_F2);

    // Back pauses once per press, and back again turns the panel on its way.
    game.KeyDown(KEY_ESCAPE);
    game.Step(20);
    game.KeyUp(KEY_ESCAPE);
    game.Step();
    EXPECT_EQ((Ints{app.pauseMenuOpen, app.pauseMenuY}), (Ints{1, static_cast<int>(y)}));
    heard({SFX_CONFIRM, 1, 0.5f});
    game.Tap(KEY_ESCAPE);
    game.Step(20);
    EXPECT_EQ(app.paused, 0);
    game.Tap(KEY_ESCAPE, 2);
    EXPECT_EQ(app.pauseMenuOpen, -1);
    EXPECT_LT(app.pauseMenuY, 32);
    game.Step(2);
    EXPECT_EQ(app.paused, 0);

    // Keys move between the buttons with the confirm sound pitched.
    game.Tap(KEY_ESCAPE);
    game.Step(20);
    game.Tap(KEY_RIGHT);
    heard({SFX_CONFIRM, 1.2f, 0.5f});
    game.Tap(KEY_LEFT);
    heard({SFX_CONFIRM, 0.8f, 0.5f});
    game.Click(c + l.sideX, y + l.sideY);  // the options cog: its box offers no credits
    EXPECT_EQ(app.optionsOpen, 1);
    heard({SFX_MOVE, 1, 1});
    game.Step(30);
    EXPECT_TRUE(game.Shows("Fullscreen") && !game.Shows("Credits")) << game.Text();
    game.Tap(KEY_ESCAPE);
    game.Step(30);
    EXPECT_EQ(app.paused, 1);

    app.score = 4321;
    game.Click(c - l.sideX, y + l.sideY);  // quit
    EXPECT_EQ((Ints{app.gameOverTimer, app.paused}), (Ints{1, 0}));
    heard({SFX_CONFIRM, 0.5f, 0.5f});
    for (int i = 0; i < 200 && app.screenMode != SCREEN_TITLE; ++i) game.Step();
    EXPECT_EQ((Ints{app.scores[(app.gameMode - 1) * 10], app.scores[(app.gameMode + 2) * 10]}), (Ints{4321, 4321}));
  }
}

TEST(PauseMenu, AGameComesBackPausedWithThePanelCentredAndTheShadeIsNeverBeyondOpaque) {
  for (auto [width, height] : {std::pair{640, 480}, {1600, 100}, {640, 0}}) {
    GameHarness game({width, height});
    c_MyApp& app = *game.app;
    game.Tap(KEY_RETURN);
    game.host->SuspendGame();
    game.host->ResumeGame();
    game.Step();
    EXPECT_EQ((Ints{app.paused, app.pauseMenuOpen, app.pauseMenuY}),
              (Ints{1, 1, static_cast<int>(vx_Kalvexa_jscrh / 2)}));
    bool centred = false;  // the resume button
    for (const DrawRecord& r : game.Images(IMG_ICONS)) centred = centred || (r.frame == 3 && r.y == 240);
    EXPECT_EQ(centred, height == 480) << width << " x " << height;
    app.pauseMenuY = 240;  // where it stood before the window changed
    game.Step();
    int shades = 0;
    for (const DrawRecord& r : game.Records()) {
      if (r.kind != VX_NONE || r.red != 0 || r.green != 0 || r.sizeX != vx_Kalvexa_jscrw) continue;
      ++shades;
      EXPECT_TRUE(r.alpha >= 0 && r.alpha <= 1) << width << " x " << height << ": " << r.alpha;
    }
    EXPECT_EQ(shades, 1);
  }
}

TEST_F(Title, TheCreditBoxFramesLinesThatScrollAndWrapInTwelveColumnsAndNineRowsOfTiles) {
  game.Press('N');
  game.Step(30);
  float cell = 640.0f / 12;
  std::set<long> columns, rows;  // tiles stand on the grid's points
  for (const DrawRecord& r : game.Records()) {
    if (r.kind != VX_NONE || std::fabs(r.sizeX - cell - 1) > 0.01f || r.sizeY != r.sizeX) continue;
    columns.insert(std::lround((r.x + cell / 2) / cell));
    rows.insert(std::lround((r.y + cell / 2) / cell));
  }
  EXPECT_EQ(columns, (std::set<long>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(rows, (std::set<long>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

  app.creditsScroll = -2;
  game.Step();
  EXPECT_NEAR(app.creditsScroll, -2.3f, 1e-4);
  game.KeyDown(KEY_DOWN);
  game.Step(8);
  EXPECT_NEAR(app.creditsScroll, -2.3f - 8 * 1.8f + 16, 1e-3);
  EXPECT_EQ(app.creditsTop, 1);
  game.KeyUp(KEY_DOWN);
  app.creditsTop = 98;  // the last line is followed by the first
  game.Step();
  std::string text = game.Text();
  EXPECT_NE(text.find("Kalvexa", text.find("End\n")), std::string::npos) << text;
  // The virtual screen's size reads as the runtime writes every float.
  EXPECT_NE(text.find("640.0\n480.0"), std::string::npos) << text;
  game.Click(600, 20);
  EXPECT_EQ(app.creditsOpen, 0);
}

TEST(CreditBox, AGridOfTwoRowsOrTwoColumnsStillColoursItsSides) {
  for (auto [width, height] : {std::pair{800, 150}, {100, 500}}) {
    GameHarness game({width, height});
    game.Press('N');
    game.Step(30);
    float s = std::max(vx_Kalvexa_jscrw, vx_Kalvexa_jscrh) / 12;
    int greenAcross = 0;  // the one inner tile of the short side starts its colours
    for (const DrawRecord& r : game.Records()) {
      for (float c : {r.red, r.green, r.blue}) EXPECT_TRUE(c >= 0 && c <= 255) << width << " x " << height;
      bool across = width > height ? r.sizeY == s - 16 : r.sizeX == s - 16;
      greenAcross += across && r.red == 0 && r.green == 255 && r.blue == 0;
    }
    EXPECT_GT(greenAcross, 0) << width << " x " << height;
  }
}

TEST_F(Title, ABadgePopUpSlidesInStaysAndSlidesOutWithAnIconOnlyFromTheSheet) {
  auto popUpX = [&] {  // slot 0's panel; none drawn: -9999
    for (const DrawRecord& r : game.Records()) {
      if (r.kind == VX_NONE && r.blue == 80 && r.sizeX == 160 && r.y == vx_Kalvexa_jscrh - 34) return r.x;
    }
    return -9999.0f;
  };
  app.badgeState[0] = 5;
  app.badgeState[1] = 70;
  app.badgeShown[0] = app.badgeShown[1] = 1;
  game.Step();
  EXPECT_EQ(popUpX(), -128);
  EXPECT_TRUE(game.Shows("Drum Roll"));
  std::set<float> icons;
  for (const DrawRecord& r : game.Images(IMG_BADGES)) icons.insert(r.frame);
  EXPECT_EQ(icons, (std::set<float>{5, 40})) << "badge 5, and the title's button; none for badge 70";
  std::map<int, float> x;  // by the timer value it was drawn with
  int ticks = 1;
  for (; app.badgeShown[0] != 0 && ticks < 300; ++ticks) {
    game.Step();
    x[app.badgeShown[0] == 0 ? 241 : app.badgeShown[0]] = popUpX();
  }
  EXPECT_TRUE(x[9] < 0 && x[10] == 0 && x[230] == 0 && x[231] < 0);
  EXPECT_EQ(ticks, 240) << "idle once its timer passed 240";
  game.Step();
  EXPECT_EQ(popUpX(), -9999);
}

TEST_F(Title, TheBadgeBoxListsTheBadgesAndScrollsNoHigherThanItsTop) {
  EXPECT_EQ(app.p_BadgeName(0), String("Test Badge"));
  EXPECT_EQ(app.p_BadgeDetail(0), String("This is a Test Badge which has no purpose."));
  for (int id : {13, 255, -1}) EXPECT_TRUE(app.p_BadgeName(id).Empty() && app.p_BadgeDetail(id).Empty());
  app.badges[1] = true;
  game.Press('B');
  game.Step();
  EXPECT_EQ(app.badgesOpen, 1);
  EXPECT_TRUE(game.Shows("Badges 1/12"));
  EXPECT_TRUE(game.Shows("Fresh Paint\nPaint your first floor tile.\nEarned"));
  EXPECT_TRUE(game.Shows("Nest Buster\nDestroy your first bug nest.\nNot yet"));
  EXPECT_LT(game.Images(IMG_BADGES)[1].alpha, 1) << "not earned: dimmed";
  game.KeyDown(KEY_DOWN);
  game.Step(100);
  game.KeyUp(KEY_DOWN);
  EXPECT_LT(app.badgeScroll, 0);
  EXPECT_TRUE(game.Shows("Swarm Tamer"));
  game.KeyDown(KEY_UP);
  game.Step(30);
  EXPECT_EQ((Floats{app.badgeScrollTarget, app.badgeScroll}), (Floats{0, 0}));
}

}  // namespace

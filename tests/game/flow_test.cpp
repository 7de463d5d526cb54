// The screens around play (the tick's frame, the title and its boxes, the pause
// menu, the orderly ends), the controls, and the saved state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <set>
#include <tuple>

#include "framework/key_codes.h"
#include "game/core/globals.h"
#include "tests/support/game_harness.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(Flow, FourTheCloseKeyBackOnTheTitleAndYesToTheQuitQuestionEndTheProgramWithTheStateSaved) {
  for (bool fails : {false, true}) {
    for (int end = 0; end < 4; ++end) {
      GameHarness game;
      game.app->options[OPTION_SOUND] = 3;
      game.app->badges[7] = true;
      game.host->failSaves = fails;
      if (end == 3) game.app->screenMode = SCREEN_QUIT_QUESTION, game.Step();
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

TEST(Flow, AwayFromTheWindowTheTitleSavesAndTheCabinetLetsGoOfEveryButton) {
  GameHarness game;
  c_MyApp& app = *game.app;
  ASSERT_EQ(game.StateFile(), "");
  for (void (HarnessHost::*away)() : {&HarnessHost::SuspendGame, &HarnessHost::ResumeGame}) {
    app.p_iCade(1);
    app.padButtons[3] = app.padButtons[16] = 2;
    (game.host->*away)();
    EXPECT_EQ((Ints{vx_Kalvexa_iCadeControls, app.paused, game.host->UpdateRate()}),
              (Ints{0, 0, away == &HarnessHost::SuspendGame ? 5 : 60}));
    EXPECT_EQ(Ints(&app.padButtons[0], &app.padButtons[0] + PAD_BUTTONS), Ints(PAD_BUTTONS, 0));
  }
  EXPECT_NE(game.StateFile(), "");
}

constexpr float FIRST_ITEM_X = 250, ITEM_Y = 384, SPACING = 88;  // the carousel on a 640 x 480 screen

struct Title : ::testing::Test {
  GameHarness game;
  c_MyApp& app = *game.app;
  void SetUp() override { game.Step(40); }  // slid in
};

TEST_F(Title, AHeldKeyMovesOnceAndThePanelFollowsTheMode) {
  app.scores[10] = 7777, app.scores[40] = 6666;
  EXPECT_FALSE(game.Shows("7777"));
  game.Hold(KEY_RIGHT, 20);
  game.Step(40);
  EXPECT_EQ((Ints{app.menuChoice, app.gameMode}), (Ints{2, 2}));
  EXPECT_TRUE(game.Shows("Top 10") && game.Shows("7777") && game.Shows("6666")) << game.Text();
  EXPECT_EQ(game.SoundsPlayed().back(), (Sound{SFX_MOVE, 1, 1}));
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
    if (pointerHeld) {  // selects mode 2 and stays down, off the items
      game.MouseDown(FIRST_ITEM_X + SPACING, ITEM_Y), game.Step(), game.MouseMove(100, 60), game.Step(40);
      game.Tap(KEY_RETURN);
    } else {  // moves to mode 2 and stays held
      game.KeyDown(KEY_DOWN), game.Step(40), game.Click(570, 432);
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
    EXPECT_FALSE(game.Ends([&] { game.Press(KEY_ESCAPE), game.Step(); })) << key;
    EXPECT_EQ((Ints{app.creditsOpen, app.badgesOpen, app.optionsOpen, app.screenMode}), (Ints{0, 0, 0, SCREEN_TITLE}));
    game.Step(30);
  }
  app.screenMode = SCREEN_QUIT_QUESTION;
  game.Step();
  EXPECT_TRUE(app.clearAlpha == 0 && game.Shows("trying to QUIT!"));
  game.PadButton(0, 0, true);  // O
  game.Step();
  EXPECT_EQ(app.screenMode, SCREEN_TITLE);
}

// Portrait windows run the carousel down the screen, measured from where the selected item rests.
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
        if (way == 'f')
          game.MouseDown(itemX + 70, 200), game.Step(), game.MouseMove(itemX + 70, 153), game.Step(), game.MouseUp();
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
  game.Hold(KEY_RETURN, 45);
  game.Step();
  EXPECT_TRUE(app.optionsOpen && game.Shows("Sound : SFX + Music"));

  // SFX stops the stream at once; Music does not start it again.
  line(1);
  game.Tap(KEY_RETURN);
  EXPECT_TRUE(game.Shows("Sound : SFX\n") && !app.musicStreaming && game.audio->Count("StopMusic") == 1);
  game.Tap(KEY_SPACE);
  EXPECT_TRUE(game.Shows("Sound : Music") && game.audio->Count("PlayMusic") == 1);
  game.Click(200, 140);  // the mouse on the line
  game.Step();
  EXPECT_TRUE(game.Shows("Sound : Off"));
  // Without a music source the line is On or Off; a mode no line offers is Off once shown.
  vx_Kalvexa_HasMusicStream = 0;
  for (int wrong : {4, -1, 2}) {
    app.options[OPTION_SOUND] = wrong, game.Step();
    EXPECT_EQ(app.options[OPTION_SOUND], 0) << wrong;
  }
  game.Tap(KEY_RETURN);
  EXPECT_TRUE(game.Shows("Sound : On"));
  vx_Kalvexa_HasMusicStream = 1;

  line(2);
  for (int on : {1, 0}) {
    app.padButtons[ACTION_UP] = app.padButtons[ACTION_FIRE] = 2;
    game.Tap(KEY_RETURN);
    EXPECT_EQ(Ints(&app.padButtons[0], &app.padButtons[PAD_BUTTONS]), Ints(PAD_BUTTONS, 0));
    EXPECT_EQ(vx_Kalvexa_iCadeControls, on);
  }
  game.Tap(KEY_ESCAPE);
  EXPECT_EQ(app.optionsOpen, 0);
  EXPECT_EQ(saved(), "0|0|0|0|0|1|");

  // Closed by confirm on the cog's line, a touch on the cog, the hand-over to the credits: each saves.
  const std::function<void()> closes[] = {
      [&] { game.Tap(KEY_RETURN); }, [&] { game.Click(100, 60); },
      [&] { line(4), game.PadButton(0, 0, true), game.Step(), game.PadButton(0, 0, false); }};
  for (int sound = 2; sound <= 4; ++sound) {
    game.Step(30);
    game.Tap(KEY_RETURN);
    game.Step(30);
    app.options[OPTION_SOUND] = sound % 4;
    closes[sound - 2]();
    EXPECT_EQ((Ints{app.optionsOpen, app.creditsOpen}), (Ints{0, sound == 4}));
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
  EXPECT_TRUE(app.fullscreen && game.Shows("Windowed")) << game.Text();
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
    heard({SFX_CONFIRM, 1, 0.5f});
    game.Step(20);
    ASSERT_EQ((Floats{float(app.paused), float(app.pauseMenuY)}), (Floats{1, y}));
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
    game.Press(KEY_F2);  // no display, no pause button
    game.Click(16, 16);
    EXPECT_EQ(app.paused, 0);
    game.Press(KEY_F2);

    // Back pauses once per press, and back again turns the panel on its way.
    game.Hold(KEY_ESCAPE, 20);
    game.Step();
    EXPECT_EQ((Ints{app.pauseMenuOpen, app.pauseMenuY}), (Ints{1, static_cast<int>(y)}));
    heard({SFX_CONFIRM, 1, 0.5f});
    game.Tap(KEY_ESCAPE);
    game.Step(20);
    EXPECT_EQ(app.paused, 0);
    game.Tap(KEY_ESCAPE, 2);
    EXPECT_TRUE(app.pauseMenuOpen == -1 && app.pauseMenuY < 32) << app.pauseMenuY;
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
    heard({SFX_MOVE, 1, 1});
    game.Step(30);
    EXPECT_TRUE(app.optionsOpen && game.Shows("Fullscreen") && !game.Shows("Credits")) << game.Text();
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
    bool centred = false;  // the resume button
    for (const DrawRecord& r : game.Images(IMG_ICONS)) centred = centred || (r.frame == 3 && r.y == 240);
    EXPECT_EQ((Ints{app.paused, app.pauseMenuOpen, app.pauseMenuY, centred}),
              (Ints{1, 1, static_cast<int>(vx_Kalvexa_jscrh / 2), height == 480}));
    app.pauseMenuY = 240;  // where it stood before the window changed
    game.Step();
    Floats shades;
    for (const DrawRecord& r : game.Records()) {
      if (r.kind == VX_NONE && r.red == 0 && r.green == 0 && r.sizeX == vx_Kalvexa_jscrw) shades.push_back(r.alpha);
    }
    EXPECT_TRUE(shades.size() == 1 && shades[0] >= 0 && shades[0] <= 1) << width << " x " << height;
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
  game.Step();  // drifts 0.3 a tick
  game.Hold(KEY_DOWN, 8);
  EXPECT_TRUE(std::fabs(app.creditsScroll - (-2.3f - 8 * 1.8f + 16)) < 1e-3 && app.creditsTop == 1);
  app.creditsTop = 98;  // the last line is followed by the first
  game.Step();
  std::string text = game.Text();
  // The virtual screen's size reads as the runtime writes every float.
  EXPECT_TRUE(text.find("Kalvexa", text.find("End\n")) != text.npos && text.find("640.0\n480.0") != text.npos) << text;
  game.Click(600, 20);
  EXPECT_EQ(app.creditsOpen, 0);
}

TEST_F(Title, TheBadgeBoxListsTheBadgesAndScrollsNoHigherThanItsTop) {
  for (int id : {13, 255, -1}) EXPECT_TRUE(app.p_BadgeName(id).Empty() && app.p_BadgeDetail(id).Empty());
  app.badges[1] = true;
  game.Press('B');
  game.Step();
  EXPECT_TRUE(app.badgesOpen && game.Shows("Badges 1/12") &&
              game.Shows("Fresh Paint\nPaint your first floor tile.\nEarned") &&
              game.Shows("Nest Buster\nDestroy your first bug nest.\nNot yet"));
  EXPECT_LT(game.Images(IMG_BADGES)[1].alpha, 1) << "not earned: dimmed";
  game.Hold(KEY_DOWN, 100);
  EXPECT_TRUE(app.badgeScroll < 0 && game.Shows("Swarm Tamer"));
  game.KeyDown(KEY_UP);
  game.Step(30);
  EXPECT_EQ((Floats{app.badgeScrollTarget, app.badgeScroll}), (Floats{0, 0}));
}

struct Controls : ::testing::Test {
  GameHarness game;
  c_MyApp& app = *game.app;
  // No screen runs: the keys pressed here would start games or quit on the title.
  void SetUp() override { app.screenMode = 0; }

  // The actions a query of `pad` answers now.
  std::set<int> Answering(int pad, int analogue = 0) {
    std::set<int> actions;
    for (int action : {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 99}) {
      if (app.p_PlayKey(action, analogue, pad)) actions.insert(action);
    }
    return actions;
  }
  static std::set<int> Only(int action) { return action < 0 ? std::set<int>{} : std::set<int>{action}; }
};

TEST_F(Controls, EveryKeyAndVirtualButtonAnswersTheActionsOfItsRowWithICadeModeOffAndOn) {
  struct Row {
    int action;
    std::vector<int> keys, iCadeKeys;
  } rows[] = {{0, {KEY_UP, 'W'}, {KEY_UP}},
              {3, {KEY_LEFT, 'A'}, {KEY_LEFT}},
              {5, {KEY_RIGHT, 'D'}, {KEY_RIGHT}},
              {8, {KEY_DOWN, 'S'}, {KEY_DOWN}},
              {10, {'Z', 'J', KEY_SPACE, KEY_RETURN}, {KEY_SPACE, KEY_RETURN}},
              {11, {'X', 'K', KEY_CONTROL}, {KEY_CONTROL}},
              {12, {'C', 'L', KEY_SHIFT}, {KEY_SHIFT}},
              {13, {'V', 'I'}, {}},
              {14, {'B', 'U'}, {}},
              {15, {'N', 'O'}, {}},
              {99, {KEY_ESCAPE, KEY_TILDE, KEY_DELETE, KEY_BACKSPACE}, {KEY_ESCAPE, KEY_DELETE, KEY_BACKSPACE}}};
  std::set<int> keys;
  for (const Row& row : rows) keys.insert(row.keys.begin(), row.keys.end());
  for (int iCade : {0, 1}) {
    app.p_iCade(iCade);
    for (int key : keys) {
      std::set<int> expected;
      for (const Row& row : rows) {
        const std::vector<int>& column = iCade ? row.iCadeKeys : row.keys;
        if (std::count(column.begin(), column.end(), key)) expected.insert(row.action);
      }
      game.KeyDown(key);
      game.Update();
      // Joypad queries take the keyboard too; -2 asks for no input.
      EXPECT_TRUE(Answering(-1) == expected && Answering(2) == expected && Answering(-2).empty())
          << key << " in iCade mode " << iCade;
      game.KeyUp(key);
    }
  }
  app.p_iCade(0);

  // The virtual buttons of the on-screen pad and the iCade cabinet; 19 is the tick's back request.
  const int buttonAction[PAD_BUTTONS] = {0, -1, -1, 3, -1, 5, -1, -1, 8, -1, 10, 11, 12, 13, 14, 15, 99, 99, -1, 99};
  for (int b = 0; b < PAD_BUTTONS; ++b) {
    app.padButtons[b] = 1;
    EXPECT_EQ(Answering(-1), Only(buttonAction[b])) << b;
    app.padButtons[b] = 0;
  }
}

TEST_F(Controls, EveryJoypadButtonAndStickDirectionAnswersItsAction) {
  // A, B, X, Y, the shoulders, back, start, left, up, right, down, two unused, menu, one unused.
  const int buttonAction[16] = {10, 11, 12, 13, 14, 15, 99, 99, 3, 0, 5, 8, -1, -1, 99, -1};
  for (int button = 0; button < 16; ++button) {
    int pad = button % 4;
    game.PadButton(pad, button, true);
    game.Update();
    EXPECT_EQ(Answering(pad), Only(buttonAction[button])) << button;
    // Not another pad, nor the keyboard query, nor a pad beyond the fourth.
    EXPECT_TRUE(Answering((pad + 1) % 4).empty() && Answering(-1).empty() && Answering(8).empty()) << button;
    game.PadButton(pad, button, false);
  }

  // The left stick counts past 0.4 and only when asked for; the host's y runs down.
  for (auto [x, y, action] :
       {std::tuple{0.0f, -0.5f, 0}, {0, 0.5f, 8}, {-0.5f, 0, 3}, {0.5f, 0, 5}, {0.35f, -0.35f, -1}}) {
    game.PadStick(1, 0, x, y);
    game.Update();
    EXPECT_TRUE(Answering(1, 1) == Only(action) && Answering(1, 0).empty()) << x << " " << y;
  }
  EXPECT_EQ((Floats{app.p_StickY(0, 1), app.p_StickY(0, -1)}), (Floats{0.35f, 0}));
}

TEST_F(Controls, InICadeModeEachLetterHoldsItsVirtualButtonUntilItsPartnerLetter) {
  app.p_iCade(1);
  // The letter that presses, the one that releases, the virtual button.
  const std::tuple<char, char, int> letters[] = {{'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},
                                                 {'Y', 'T', 13}, {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16},
                                                 {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'L', 'V', 17}};
  for (auto [press, release, button] : letters) {
    game.Type(std::tolower(press));
    game.Step(5);
    for (int b = 0; b < PAD_BUTTONS; ++b) EXPECT_EQ(app.padButtons[b], b == button ? 2 : 0) << press << b;
    game.Type(release);
    game.Step();
    EXPECT_EQ(app.padButtons[button], 0) << release;
  }
  // The keyboard query of a held button answers its stored value for actions 13 to 15.
  game.Type('I');
  game.Type('H');
  game.Step();
  EXPECT_EQ((Ints{app.p_PlayKey(15, 0, -1), app.p_PlayKey(15, 0, 0), app.p_PlayKey(10, 0, -1)}), (Ints{2, 1, 1}));
  app.p_iCade(0);
  for (int b = 0; b < PAD_BUTTONS; ++b) EXPECT_EQ(app.padButtons[b], 0) << b;
  game.Type('w');
  game.Step();
  EXPECT_EQ(app.padButtons[0], 0) << "letters are only letters again";
}

TEST_F(Controls, DirectionKeysRampAndCoastAndThePointerDragSteers) {
  auto tick = [&] { game.Update(), app.p_AnalogueControl(); };
  game.KeyDown(KEY_UP);
  tick();
  float up = app.moveY;
  game.KeyUp(KEY_UP);
  tick();
  EXPECT_EQ((Floats{up, app.moveY}), (Floats{-0.15f, 0}));
  game.KeyDown(KEY_RIGHT);
  for (int i = 0; i < 10; ++i) tick();
  EXPECT_FLOAT_EQ(app.moveX, 1) << "full speed after seven ticks, and no further";
  game.KeyUp(KEY_RIGHT);
  for (int i = 0; i < 5; ++i) tick();
  EXPECT_NEAR(app.moveX, 0, 1e-6);

  game.MouseDown(100, 100);  // a press only sets the anchor
  tick();
  game.MouseMove(172, 100);
  tick();
  EXPECT_EQ((Floats{app.moveX, float(app.dragX)}), (Floats{1, 104})) << "the anchor follows a pointer 64 away";
  // A stick inside its dead zone leaves the drag in charge; beyond it, it takes over.
  game.PadStick(0, 0, 0.15f, 0.15f);
  tick();
  float dragged = app.moveX;
  game.PadStick(0, 0, -0.5f, 0);
  tick();
  EXPECT_EQ((Floats{dragged, app.moveX}), (Floats{68.0f / 72, -0.5f}));
}

TEST_F(Controls, HitTestsUseTheTouchSnapshotWithTheirSlack) {
  game.TouchDown(2, 120, 50);
  game.Step();
  // 10 units right of the box is inside, 10 left outside; the icon is 32 wide; Button0 takes touch 0 only.
  EXPECT_EQ((Ints{app.p_Touch(100, 40, 10, 20), app.p_Touch(130, 40, 10, 20), app.p_MouseIn_Centered(120, 50, 4, 4),
                  app.p_Button(IMG_ICONS, 130, 50, 0), app.p_Button0(IMG_ICONS, 130, 50, 0)}),
            (Ints{1, 0, 1, 1, 0}));
  game.TouchUp(2);
  game.Step();
  EXPECT_EQ(app.p_Touch(-4000, -4000, 1000, 1000), 0) << "an up touch is nowhere";
}

std::string Zeros(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += "0|";
  return s;
}

// A state by hand. Settings, 25 and the sum of i x setting i: sound 2 (x5), the control limits
// 64, 64 and 12 (x10, x11, x12), overscan 1 (x14): 10 + 640 + 704 + 144 + 14.
const std::string SETTINGS_PART = "0|0|0|0|0|2|0|0|0|0|64|64|12|0|1|" + Zeros(10) + "1512|";
// Badge words 0 to 7 and their sum: badges 1 to 12 (word 0: 8190), 100, 101 and 127 (word 3).
const std::string BADGES_PART = "8190|0|0|-2147483600|0|0|0|0|-2147475410|";
// Per mode m, ten pairs of best and recent, then the sum of (k + 4) x best k + (m + 3 + k) x recent k.
const std::string MODE0_PART = "900|50|" + Zeros(18) + "3750|";         // 4 x 900 + 3 x 50
const std::string MODE1_PART = "700|30|20|700|" + Zeros(16) + "6520|";  // 4 x 700 + 4 x 30 + 5 x 20 + 5 x 700
const std::string MODE2_PART = "600|10|" + Zeros(18) + "2450|";         // 4 x 600 + 5 x 10
const std::string DEFAULT_PARTS[] = {"0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|" + Zeros(10) + "1483|", Zeros(9), Zeros(21),
                                     Zeros(21), Zeros(21)};

TEST(Persistence, AStateWrittenByHandLoadsIntoItsPlacesAndSavesBackByteForByte) {
  std::string state = SETTINGS_PART + BADGES_PART + MODE0_PART + MODE1_PART + MODE2_PART;
  CaptureStdout();
  GameHarness game({640, 480, false, state});
  EXPECT_EQ(GetCapturedStdout(),
            "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\nHighscore 2 Loaded\n");
  c_MyApp& app = *game.app;
  EXPECT_EQ(app.options[OPTION_SOUND], 2);
  EXPECT_EQ(app.options[12], 12);
  for (int id = 0; id < BADGES; ++id)
    EXPECT_EQ(app.badges[id], (id >= 1 && id <= 12) || id == 100 || id == 101 || id == 127) << id;
  const std::pair<int, int> scores[] = {{0, 900}, {30, 50},  {10, 700}, {11, 20},
                                        {40, 30}, {41, 700}, {20, 600}, {50, 10}};
  for (auto [at, score] : scores) EXPECT_EQ(app.scores[at], score) << at;
  app.p_Save();
  EXPECT_EQ(game.StateFile(), state);
}

TEST(Persistence, AWrongChecksumResetsItsSectionAloneToTheDefaultsAndSaysSo) {
  const std::string parts[] = {SETTINGS_PART, BADGES_PART, MODE0_PART, MODE1_PART, MODE2_PART};
  const char* names[] = {"Settings", "Badge", "Highscore 0", "Highscore 1", "Highscore 2"};
  for (int damaged = 0; damaged < 5; ++damaged) {
    std::string state, expected, printed;
    for (int s = 0; s < 5; ++s) {
      std::string part = parts[s];
      if (s == damaged) part.insert(part.size() - 1, "0");  // the checksum times ten
      state += part;
      expected += s == damaged ? DEFAULT_PARTS[s] : parts[s];
      printed += names[s] + std::string(s == damaged ? " Checksum Invalid\n" : s == 1 ? "s Loaded\n" : " Loaded\n");
    }
    CaptureStdout();
    GameHarness game({640, 480, false, state});
    EXPECT_EQ(GetCapturedStdout(), printed) << names[damaged];
    game.app->p_Save();
    EXPECT_EQ(game.StateFile(), expected) << names[damaged];
  }
}

TEST(Persistence, AFailedSaveSaysSoAndLeavesTheOldStateWhole) {
  GameHarness game;
  game.app->p_Save();
  std::string saved = game.StateFile();
  game.host->failSaves = true;
  game.app->options[OPTION_SOUND] = 2;
  CaptureStdout();
  game.app->p_Save();
  EXPECT_EQ(GetCapturedStdout(), "State not saved\n");
  EXPECT_EQ(game.StateFile(), saved);
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

}  // namespace

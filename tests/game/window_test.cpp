// The real program in a real window under the test display, driven by real X
// input; the pictures it showed are kept under build/screens/.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/game_window.h"
#include "tests/support/subprocess.h"

namespace {

// The loading screen's orange band at alpha 0.7 over its background (40, 40, 80).
constexpr uint32_t LOADING_BAND = 0xBB7C42;

struct GameWindowTest : ::testing::Test {
  void SetUp() override {
    const char* display = getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "the window tests need an X display: run them through make test";
  }
};

TEST_F(GameWindowTest, TheGameShowsTheLoadingScreenThenMovesOnFromIt) {
  GameWindow game;
  ASSERT_FALSE(game.Window().empty()) << game.Output();
  // Loading lasts about half a second: the game is stopped for each picture.
  bool loading = false;
  for (int i = 0; i < 100 && !loading; ++i) {
    game.Freeze();
    Screenshot shot = game.Shot("loading");
    loading = !shot.pixels.empty() && Screenshot::Near(shot.At(20, 240), LOADING_BAND);
    game.Thaw();
    if (!loading) PauseMilliseconds(5);
  }
  EXPECT_TRUE(loading) << "the band of the loading screen was never on screen";
  EXPECT_TRUE(game.WaitForShot("after_loading", [](const Screenshot& s) {
    return !Screenshot::Near(s.At(20, 240), LOADING_BAND);
  })) << game.Output();
}

// The title's background, (0, 0, 80), left of its art.
bool TitleShown(const Screenshot& s) { return Screenshot::Near(s.At(10, s.height / 2), 0x000050); }

// Pixels that changed round the selected item of the carousel, at (250, 384).
int SelectionChanged(const Screenshot& a, const Screenshot& b) { return a.Changed(b, 210, 344, 290, 424); }

TEST_F(GameWindowTest, TheTitleAnswersKeysAMouseDragAndFullScreenAndSavesWhenTheFocusGoes) {
  GameWindow game;
  ASSERT_FALSE(game.Window().empty()) << game.Output();
  ASSERT_TRUE(game.WaitForShot("title", TitleShown)) << game.Output();
  PauseMilliseconds(800);  // slid in
  Screenshot first = game.Shot("title");

  // The selected item sits at (250, 384), drawn larger than the others.
  game.Key("Right");
  PauseMilliseconds(800);
  Screenshot second = game.Shot("title_second_mode");
  EXPECT_GT(SelectionChanged(first, second), 400) << "Right did not move the carousel";

  game.Drag(520, 450, 300, 450);
  PauseMilliseconds(1000);
  Screenshot flung = game.Shot("title_flung");
  EXPECT_GT(SelectionChanged(second, flung), 400) << "the drag did not fling the carousel";

  // Full screen is the desktop's size, the display's 1280 x 1024.
  ASSERT_TRUE(game.SwitchWindow("F11", 1280, 1024));
  EXPECT_TRUE(game.WaitForShot("title_full_screen", TitleShown)) << game.Output();
  ASSERT_TRUE(game.SwitchWindow("F11", 640, 480));
  EXPECT_TRUE(game.WaitForShot("title_windowed_again", TitleShown)) << game.Output();

  // Another window takes the focus: the game is suspended and saves.
  std::remove(game.Folder().Path(".vorlixstate").c_str());
  ChildProcess other({"/usr/bin/xmessage", "-title", "vx-other", "-geometry", "200x100+700+0", "other"});
  std::string otherWindow = WindowNamed("vx-other");
  ASSERT_FALSE(otherWindow.empty());
  Xdotool({"windowfocus", "--sync", otherWindow});
  for (int i = 0; i < 100 && game.StateFile().empty(); ++i) PauseMilliseconds(50);
  EXPECT_NE(game.StateFile().find("|1483|"), std::string::npos) << game.StateFile();
}

// On a desktop (jwm) and on a bare display alike, every switch gives a window
// that is shown, holds the keyboard, draws and carries the game's names and icon.
struct Desktop : GameWindowTest, ::testing::WithParamInterface<bool> {
  static std::string Property(const std::string& window, const std::string& name) {
    return RunProcess({"/usr/bin/xprop", "-id", window, name}).out;
  }
  // The icon's sizes, read from its numbers: each picture's width and height, then its pixels.
  static std::vector<std::string> IconSizes(const std::string& window) {
    std::string text =
        RunProcess({"/usr/bin/xprop", "-id", window, "-len", "1000000", "-f", "_NET_WM_ICON", "32c", "_NET_WM_ICON"})
            .out;
    std::istringstream in(text.substr(text.find('=') + 1));
    std::vector<long> n;
    for (long v; in >> v; in.ignore()) n.push_back(v);
    std::vector<std::string> sizes;
    for (size_t i = 0; i + 1 < n.size(); i += 2 + n[i] * n[i + 1]) {
      sizes.push_back(std::to_string(n[i]) + "x" + std::to_string(n[i + 1]));
    }
    return sizes;
  }

  static void ExpectShownFocusedAndNamed(GameWindow& game) {
    const std::string& window = game.Window();
    std::string info = RunProcess({"/usr/bin/xwininfo", "-id", window}).out;
    EXPECT_NE(info.find("Map State: IsViewable"), std::string::npos) << info;
    std::string state = Property(window, "WM_STATE");
    EXPECT_EQ(state.find("Iconic"), std::string::npos) << state;
    EXPECT_TRUE(game.WaitForFocus()) << "the game's window " << window << " does not hold the keyboard";
    EXPECT_EQ(Property(window, "WM_NAME"), "WM_NAME(STRING) = \"Kalvexa\"\n");
    EXPECT_EQ(Property(window, "WM_CLASS"), "WM_CLASS(STRING) = \"kalvexa\", \"Kalvexa\"\n");
    EXPECT_EQ(IconSizes(window), (std::vector<std::string>{"32x32", "64x64", "128x128", "256x256"}));
  }
};

TEST_P(Desktop, FullScreenAndBackGiveAShownFocusedDrawnNamedWindowEachTime) {
  std::unique_ptr<WindowManager> manager;
  if (GetParam()) {
    manager = std::make_unique<WindowManager>();
    ASSERT_TRUE(manager->Ready()) << "jwm did not start";
  }
  // The game must take the focus itself: the test gives none (a focus set
  // from outside hides the fault under jwm), and sends each key to the window
  // that holds the keyboard.
  GameWindow game({}, "", false);
  std::string setting = GetParam() ? "_jwm" : "_bare";
  ASSERT_FALSE(game.Window().empty()) << game.Output();
  ASSERT_TRUE(game.WaitForShot("desktop_title" + setting, TitleShown)) << game.Output();
  ExpectShownFocusedAndNamed(game);

  struct Switch {
    int width, height;
  } switches[] = {{1280, 1024}, {640, 480}};
  for (const Switch& to : switches) {
    ASSERT_TRUE(game.SwitchWindow("F11", to.width, to.height, false))
        << "no window of " << to.width << " x " << to.height << " shown\n"
        << game.Output();
    ExpectShownFocusedAndNamed(game);
    EXPECT_TRUE(game.WaitForShot("desktop_" + std::to_string(to.width) + setting, [](const Screenshot& s) {
      return s.Count(s.At(0, 0), 0) < static_cast<int>(s.pixels.size());
    })) << "the window shows one colour";
  }
  game.Key("F4");
  EXPECT_EQ(game.Process().Wait(), 0) << game.Output();
}

INSTANTIATE_TEST_SUITE_P(WindowManager, Desktop, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Jwm" : "None"; });

}  // namespace

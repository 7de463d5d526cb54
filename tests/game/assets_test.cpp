// The staged loader and the sound effects, with the generated data and with
// data folders that lack files or hold a picture that does not fit its grid.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <unistd.h>

#include <filesystem>

#include "game/core/globals.h"
#include "tests/graphics/png_files.h"
#include "tests/support/game_harness.h"
#include "tests/support/subprocess.h"

namespace {

namespace fs = std::filesystem;

HarnessOptions Window(int width, int height, bool load = true) {
  HarnessOptions options;
  options.width = width;
  options.height = height;
  options.load = load;
  return options;
}

int PictureWidth(const std::string& file) {
  int w = 0, h = 0, channels = 0;
  return stbi_info(file.c_str(), &w, &h, &channels) ? w : -1;
}

TEST(Loader, TheWindowSizeChoosesThePlainOrHighResolutionFiles) {
  struct Case {
    int width, height, divisor;
    const char* file;
  } cases[] = {
      {630, 470, 1, "gfx.png"},
      {640, 480, 2, "gfx-hd.png"},
      {800, 600, 2, "gfx-hd.png"},
      {1280, 1024, 4, "gfx-hd2.png"},
  };
  for (const Case& c : cases) {
    GameHarness game(Window(c.width, c.height));
    EXPECT_EQ(game.app->assetDivisor, c.divisor) << c.width;
    EXPECT_FLOAT_EQ(game.app->assetScale, 1.0f / c.divisor) << c.width;
    ASSERT_NE(game.app->images[IMG_TILES], nullptr) << c.width;
    EXPECT_EQ(game.app->images[IMG_TILES]->surface->Width(), PictureWidth(BuildPath("run/data/") + c.file));
    EXPECT_EQ(game.app->imageInfo[IMG_TILES * 3], 64 * c.divisor);
  }
}

TEST(Loader, ALoadTakesThirtyFourTicksInWhichNoScreenRunsButTheLoadingScreenTurns) {
  GameHarness game(Window(640, 480, false));
  ASSERT_EQ(game.app->loadStep, 1);
  game.app->screenMode = SCREEN_START_GAME;  // its handler would start a game
  int ticks = 0;
  float spinner = -1;
  while (game.app->loadStep != 0 && ticks < 100) {
    game.Step();
    ++ticks;
    EXPECT_EQ(game.app->screenMode, SCREEN_START_GAME) << ticks;
    EXPECT_EQ(game.app->clearRed, 40) << ticks;
    std::vector<DrawRecord> records = game.Records();
    ASSERT_FALSE(records.empty());
    EXPECT_NE(records[0].x, spinner) << "the spinner turns every tick";
    spinner = records[0].x;
  }
  EXPECT_EQ(ticks, 34);
  for (int slot : {IMG_TILES, IMG_SHOTS, IMG_BUGS, IMG_LIFE, IMG_ROCKS, IMG_POPS, IMG_BADGES, IMG_FONT, IMG_TESTCARD,
                   IMG_STUDIO_LOGO, IMG_DPAD, IMG_BUTTONS, IMG_PARTS, IMG_ICONS, IMG_LOGO, IMG_MENU}) {
    EXPECT_NE(game.app->images[slot], nullptr) << slot;
  }
  for (int slot : {1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 15, 16, 17, 18, 95, 96, 98, 99}) {
    EXPECT_NE(game.app->sounds[slot], nullptr) << slot;
  }
  // The tune of play is decoded by then: starting a game only plays it.
  EXPECT_EQ(game.audio->musicPath, String("vorlix://data/sfx/adventurous.ogg"));
  ASSERT_NE(game.audio->musicSample, nullptr);
  EXPECT_NE(game.audio->musicSample->buffer, 0u);
}

TEST(Loader, TheStudioSoundPlaysOncePerRunEvenWhenAResizeReloadsEverything) {
  GameHarness game;
  auto logoSounds = [&] {
    int n = 0;
    for (int slot : game.SoundsPlayed()) n += slot == SFX_STUDIO;
    return n;
  };
  EXPECT_EQ(logoSounds(), 1);
  gxtkSample* tune = game.audio->musicSample;
  game.Resize(1280, 720);
  game.Step();
  EXPECT_GT(game.app->loadStep, 0);
  game.FinishLoading();
  EXPECT_EQ(logoSounds(), 1);
  EXPECT_EQ(game.audio->musicSample, tune) << "the tune is decoded once";
}

TEST(SoundEffects, RotateOverTwentyFourChannelsAndTheShotKeepsChannelThirtyOne) {
  GameHarness game;
  c_MyApp& app = *game.app;
  app.sfxCursor = 0;
  game.audio->calls.clear();
  for (int i = 0; i < 25; ++i) app.p_PlaySFX(SFX_PAINT, 1.0f);
  std::vector<AudioCall> plays = game.audio->Named("PlaySample");
  ASSERT_EQ(plays.size(), 25u);
  for (int i = 0; i < 23; ++i) EXPECT_EQ(plays[i].channel, i + 1);
  EXPECT_EQ(plays[23].channel, 0);
  EXPECT_EQ(plays[24].channel, 1);

  // Every play stops its channel first, then sets rate, volume and pan.
  game.audio->calls.clear();
  app.p_PlaySFX(SFX_SHOT, 0.9f, 0.2f, 0);
  app.p_PlaySFX(SFX_SHOT, 0.9f, 0.2f, 0);
  const char* order[] = {"StopChannel", "PlaySample", "SetRate", "SetVolume", "SetPan"};
  ASSERT_EQ(game.audio->calls.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(game.audio->calls[i].name, order[i % 5]);
    EXPECT_EQ(game.audio->calls[i].channel, 31);
  }
  EXPECT_EQ(app.sfxCursor, 3);  // the shot still moves the cursor on
  EXPECT_FLOAT_EQ(game.audio->calls[3].value, 0.2f);

  // The two short forms: a volume, or a rate at half volume.
  game.audio->calls.clear();
  app.p_PlaySFX(SFX_CONFIRM, 0.7f);
  app.p_PlaySFXAtRate(SFX_CONFIRM, 0.8f);
  std::vector<AudioCall> rates = game.audio->Named("SetRate"), volumes = game.audio->Named("SetVolume");
  EXPECT_FLOAT_EQ(rates[0].value, 1);
  EXPECT_FLOAT_EQ(volumes[0].value, 0.7f);
  EXPECT_FLOAT_EQ(rates[1].value, 0.8f);
  EXPECT_FLOAT_EQ(volumes[1].value, 0.5f);

  for (int mode : {0, 3}) {
    app.options[OPTION_SOUND] = mode;
    game.audio->calls.clear();
    app.p_PlaySFX(SFX_PAINT, 1.0f);
    EXPECT_TRUE(game.audio->calls.empty()) << mode;
  }
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
    EXPECT_EQ(app.images[IMG_TILES], nullptr);
    EXPECT_EQ(app.sounds[SFX_SHOT], nullptr);
    EXPECT_NE(app.images[IMG_MENU], nullptr);
    app.p_PlaySFX(SFX_SHOT, 1.0f);
    game.Step(60);
    EXPECT_FALSE(game.Records().empty());

    // Three-digit sound names.
    app.p_LoadSFX(7);
    app.p_LoadSFX(42);
    app.p_LoadSFX(8);
    EXPECT_NE(app.sounds[7], nullptr);
    EXPECT_NE(app.sounds[42], nullptr);
    EXPECT_EQ(app.sounds[8], nullptr);
  }
  fs::remove_all(data);
}

TEST(BadData, APictureThatDoesNotFitItsFrameGridEndsTheProgramWithTheGraphicsMessage) {
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

}  // namespace

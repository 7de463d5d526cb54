// The generated data folder is what the game loads: these tests read it back
// with the game's formats and grids.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "tests/support/subprocess.h"
#include "tests/tools/data_files.h"
#include "tools/assetgen/tunes.h"

namespace fs = std::filesystem;

namespace {
// The game's image slots: file, frame size at 1x, frame count.
struct Slot {
  const char* name;
  int frameWidth, frameHeight, frames;
};
constexpr Slot kImageSlots[] = {
    {"gfx", 64, 64, 16},         {"weapon", 64, 64, 16},
    {"buga", 64, 64, 16},        {"heart", 32, 32, 1},
    {"rocks", 64, 64, 16},       {"flash", 64, 64, 16},
    {"BadgesA", 64, 64, 64},     {"fonts/editundo", 16, 16, 128},
    {"common/Testcard_Circle", 256, 256, 1}, {"common/LumoLogo", 256, 256, 1},
    {"common/dpad", 32, 32, 16}, {"common/Buttons", 64, 64, 16},
    {"parts", 8, 8, 256},        {"common/icons", 32, 32, 16},
    {"logo", 256, 128, 1},       {"menu", 256, 256, 4},
};
constexpr int kSoundSlots[] = {1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 15, 16, 17, 18, 95, 96, 98, 99};

std::string Data(const std::string& relative) { return DataDir() + "/" + relative; }

bool Empty(const Picture& p, int x0, int y0, int w, int h) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x)
      if (p.At(x, y)[3]) return false;
  return true;
}

TEST(GeneratedImages, EverySlotLoadsInThreeResolutionsWithTheLoadersFrameGrid) {
  for (const Slot& slot : kImageSlots)
    for (auto [suffix, scale] : {std::pair{"", 1}, {"-hd", 2}, {"-hd2", 4}}) {
      std::string path = Data(std::string(slot.name) + suffix + ".png");
      Picture p = LoadPicture(path);
      ASSERT_FALSE(p.rgba.empty()) << path;
      EXPECT_TRUE(FrameGrid(p, slot.frameWidth * scale, slot.frameHeight * scale, slot.frames,
                            nullptr, nullptr))
          << path << " is " << p.width << " x " << p.height;
    }
}

TEST(GeneratedImages, FrameworkFontIsAPaddedStripOf96Glyphs) {
  Picture p = LoadPicture(Data("trel_font.png"));
  ASSERT_FALSE(p.rgba.empty());
  ASSERT_EQ(p.width % 96, 0);
  int cell = p.width / 96;
  ASSERT_GT(cell, 2);
  int glyphs = 0;
  for (int f = 0; f < 96; ++f) {
    // The padding columns stay clear so neighbours never touch.
    EXPECT_TRUE(Empty(p, f * cell, 0, 1, p.height)) << f;
    EXPECT_TRUE(Empty(p, f * cell + cell - 1, 0, 1, p.height)) << f;
    glyphs += !Empty(p, f * cell + 1, 0, cell - 2, p.height);
  }
  EXPECT_EQ(glyphs, 94);  // '!' to '~'; the space and code 127 are blank
}

TEST(GeneratedImages, GameFontHasEveryGlyphAndControllerIconCentredAndWhite) {
  for (auto [suffix, scale] : {std::pair{"", 1}, {"-hd", 2}, {"-hd2", 4}}) {
    Picture p = LoadPicture(Data(std::string("fonts/editundo") + suffix + ".png"));
    ASSERT_FALSE(p.rgba.empty());
    std::vector<int> xs, ys;
    int cell = 16 * scale;
    ASSERT_TRUE(FrameGrid(p, cell, cell, 128, &xs, &ys));
    for (int f = 0; f < 128; ++f) {
      bool drawn = !Empty(p, xs[f], ys[f], cell, cell);
      bool expected = (f >= 1 && f <= 94) || (f >= 96 && f <= 108);
      EXPECT_EQ(drawn, expected) << "frame " << f << " at " << scale << "x";
      if (!drawn) continue;
      // Ink stays inside the cell with a margin, around its centre, and is grey.
      double sumX = 0, count = 0;
      for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
          const uint8_t* px = p.At(xs[f] + x, ys[f] + y);
          if (!px[3]) continue;
          EXPECT_TRUE(px[0] == px[1] && px[1] == px[2]) << "frame " << f << " is not grey";
          EXPECT_TRUE(x >= scale && y >= scale && x < cell - scale && y < cell - scale) << "frame " << f;
          sumX += x, count += 1;
        }
      EXPECT_NEAR(sumX / count / scale, 8.0, 2.5) << "frame " << f;
    }
  }
}

TEST(GeneratedImages, TintedSheetsAreWhiteAndGrey) {
  for (const char* name : {"fonts/editundo", "parts", "common/icons", "common/Buttons", "common/dpad", "flash"}) {
    Picture p = LoadPicture(Data(std::string(name) + "-hd.png"));
    ASSERT_FALSE(p.rgba.empty()) << name;
    for (size_t i = 0; i < p.rgba.size(); i += 4) {
      bool grey = p.rgba[i + 3] == 0 || (p.rgba[i] == p.rgba[i + 1] && p.rgba[i + 1] == p.rgba[i + 2]);
      ASSERT_TRUE(grey) << name;
    }
  }
}

TEST(GeneratedImages, SpritesStandWhereThePlayExpects) {
  // At 1x: the player's and the bugs' lowest pixel is row 45 (feet on row 46);
  // the floor tile's top row is solid; the nest rests on the bottom edge.
  Picture gfx = LoadPicture(Data("gfx.png")), bugs = LoadPicture(Data("buga.png"));
  ASSERT_FALSE(gfx.rgba.empty());
  ASSERT_FALSE(bugs.rgba.empty());
  auto lowest = [](const Picture& p, int frame) {
    int x0 = (frame % 4) * 64, y0 = (frame / 4) * 64, low = -1;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        if (p.At(x0 + x, y0 + y)[3] > 128) low = y;
    return low;
  };
  for (int f : {0, 1, 2}) EXPECT_EQ(lowest(gfx, f), 46) << "player frame " << f;  // outline row under the boots
  EXPECT_LT(lowest(gfx, 4), 46);                                                   // in the air
  for (int f : {0, 1, 2, 3}) EXPECT_NEAR(lowest(bugs, f), 46, 1) << "bug frame " << f;
  for (int x = 0; x < 64; ++x) EXPECT_EQ(gfx.At(x, 3 * 64)[3], 255) << "floor surface at " << x;  // frame 12
  EXPECT_EQ(lowest(gfx, 15), 63);
  for (int y = 0; y < 28; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(gfx.At(3 * 64 + x, 3 * 64 + y)[3], 0) << "nest in the upper half";
}

TEST(GeneratedSounds, EveryEffectAndInstrumentIsMono16BitPcmTheGameReads) {
  std::vector<std::string> files;
  for (int slot : kSoundSlots) {
    char name[32];
    std::snprintf(name, sizeof name, "sfx/%03d.wav", slot);
    files.push_back(name);
  }
  for (int kit = 1; kit <= 4; ++kit)
    for (int d = 1; d <= 8; ++d) files.push_back("inst/d" + std::to_string(kit) + "-" + std::to_string(d) + ".wav");
  for (auto [pool, count] : {std::pair{"lead", 3}, {"accompany", 3}, {"bass", 4}})
    for (int i = 1; i <= count; ++i) files.push_back(std::string("inst/") + pool + std::to_string(i) + ".wav");
  for (const std::string& file : files) {
    Pcm pcm = LoadWav(Data(file));
    ASSERT_TRUE(pcm.ok) << file;
    EXPECT_EQ(pcm.channels, 1) << file;
    EXPECT_EQ(pcm.bytesPerSample, 2) << file;
    EXPECT_GT(pcm.Frames(), size_t(pcm.hertz) / 100) << file;
    int peak = 0;
    for (int16_t s : pcm.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 8000) << file << " is nearly silent";
  }
  // The shot plays up to ten times a second: it must be over well within 0.1 s.
  Pcm shot = LoadWav(Data("sfx/006.wav"));
  EXPECT_LT(double(shot.Frames()) / shot.hertz, 0.1);
}

TEST(GeneratedSounds, TonalSamplesSoundCAndLoopWithoutAClick) {
  for (auto [pool, count, c] : {std::tuple{"lead", 3, 523.25}, {"accompany", 3, 261.63}, {"bass", 4, 130.81}})
    for (int i = 1; i <= count; ++i) {
      std::string file = std::string("inst/") + pool + std::to_string(i) + ".wav";
      Pcm pcm = LoadWav(Data(file));
      ASSERT_TRUE(pcm.ok) << file;
      const std::vector<int16_t>& s = pcm.samples;
      // Seamless: the jump from the last sample back to the first is no bigger than steps inside.
      int biggest = 0;
      for (size_t k = 1; k < s.size(); ++k) biggest = std::max(biggest, std::abs(s[k] - s[k - 1]));
      EXPECT_LE(std::abs(s.front() - s.back()), biggest) << file;
      // Pitch: the lag, near one period of C, where the sample best matches itself.
      double period = pcm.hertz / c;
      double best = -1e18;
      int bestLag = 0;
      for (int lag = int(period * 0.9); lag <= int(period * 1.1) + 1; ++lag) {
        double sum = 0;
        for (size_t k = 0; k + lag < s.size(); ++k) sum += double(s[k]) * s[k + lag];
        if (sum > best) best = sum, bestLag = lag;
      }
      EXPECT_NEAR(bestLag, period, 1.0) << file;
    }
}

TEST(GeneratedSounds, StreamedTuneIsAStereoVorbisOfOneToTwoMinutesThatOpensStrongly) {
  Pcm pcm = LoadOgg(Data("sfx/adventurous.ogg"));
  ASSERT_TRUE(pcm.ok);
  EXPECT_EQ(pcm.channels, 2);
  double seconds = double(pcm.Frames()) / pcm.hertz;
  EXPECT_GE(seconds, 60);
  EXPECT_LE(seconds, 120);
  double energy = 0;
  size_t opening = size_t(pcm.hertz) * 2 * 2;  // the first two seconds, both channels
  for (size_t i = 0; i < opening; ++i) energy += double(pcm.samples[i]) * pcm.samples[i];
  EXPECT_GT(std::sqrt(energy / opening), 3000);  // loud from the start, not a fade-in
}

TEST(GeneratedTunes, ImagesDecodeToTheComposedCellsWithDataInEveryBandTheSequencerPlays) {
  for (const Tune& tune : Tunes()) {
    Picture p = LoadPicture(Data(tune.name + ".png"));
    ASSERT_FALSE(p.rgba.empty()) << tune.name;
    std::vector<int> xs, ys;
    ASSERT_TRUE(FrameGrid(p, 64, 64, 64, &xs, &ys)) << tune.name;
    int lastVariant[kBands] = {};
    std::map<int, int> effects;
    for (int v = 0; v < 63; ++v)  // the sequencer reads frames 0-62
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
          const uint8_t* px = p.At(xs[v] + x, ys[v] + y);
          ASSERT_EQ(px[3], 255);
          int value = px[2] >> 3;
          ASSERT_EQ(value, CellValue(tune.At(v, x / 8, y), x % 8)) << tune.name << " frame " << v;
          if (value) lastVariant[x / 8] = v;
          if (x % 8 == 2 && value) ++effects[value];
        }
    for (int band = 0; band < 5; ++band) {
      EXPECT_GE(lastVariant[band], 1) << tune.name << " band " << band << " has one variant only";
      for (int v = 0; v <= lastVariant[band]; ++v) {
        int notes = 0;
        for (int step = 0; step < kSteps; ++step) notes += tune.At(v, band, step).pitch != 0;
        EXPECT_GT(notes, 4) << tune.name << " band " << band << " variant " << v << " is silent";
      }
    }
    for (int band = 5; band < 8; ++band) EXPECT_EQ(lastVariant[band], 0) << tune.name;
    // Drums only use the eight pitches that select a drum.
    for (int band = 0; band < 2; ++band)
      for (int v = 0; v <= lastVariant[band]; ++v)
        for (int step = 0; step < kSteps; ++step) {
          int pitch = tune.At(v, band, step).pitch;
          EXPECT_TRUE(pitch == 0 || pitch == 13 || pitch == 15 || pitch == 17 || pitch == 18 || pitch == 20 ||
                      pitch == 22 || pitch == 24 || pitch == 25)
              << pitch;
        }
    EXPECT_GT(effects[kPatternBreak], 0) << tune.name;
    EXPECT_GT(effects[kVariantJump], 0) << tune.name;
    EXPECT_GT(effects[kSlideUp] + effects[kSlideDown], 0) << tune.name;
    // A jump leads to a variant that exists: +1 from variant v needs v + 1, -1 needs v - 1.
    for (int v = 0; v < 63; ++v)
      for (int band = 0; band < 5; ++band)
        for (int step = 0; step < kSteps; ++step) {
          const Cell& c = tune.At(v, band, step);
          if (c.effect != kVariantJump) continue;
          EXPECT_LE(v + (c.param == 1 ? 1 : -1), lastVariant[band]);
          EXPECT_GE(v + (c.param == 1 ? 1 : -1), 0);
        }
  }
}

std::map<std::string, std::string> ReadTree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[fs::relative(entry.path(), root).string()] =
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

TEST(Generator, TwoRunsWriteIdenticalBytes) {
  fs::path dir = fs::temp_directory_path() / ("assetgen_test_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  for (const char* run : {"a", "b"}) {
    ProcessResult r = RunProcess({BuildPath("tools/assetgen"), (dir / run).string()});
    ASSERT_EQ(r.status, 0) << r.err;
  }
  auto a = ReadTree(dir / "a"), b = ReadTree(dir / "b");
  fs::remove_all(dir);
  EXPECT_GT(a.size(), 100u);
  ASSERT_EQ(a.size(), b.size());
  for (const auto& [name, bytes] : a) EXPECT_TRUE(b[name] == bytes) << name << " differs between runs";
  auto built = ReadTree(DataDir());
  EXPECT_EQ(built.size(), a.size());
  for (const auto& [name, bytes] : built) EXPECT_TRUE(a[name] == bytes) << name << " differs from the build's copy";
}
}  // namespace

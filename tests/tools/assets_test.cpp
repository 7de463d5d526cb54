// The generated data folder, read back with the game's formats and grids.
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
    {"gfx", 64, 64, 16},
    {"weapon", 64, 64, 16},
    {"buga", 64, 64, 16},
    {"heart", 32, 32, 1},
    {"rocks", 64, 64, 16},
    {"flash", 64, 64, 16},
    {"BadgesA", 64, 64, 64},
    {"fonts/editundo", 16, 16, 128},
    {"common/Testcard_Circle", 256, 256, 1},
    {"common/LumoLogo", 256, 256, 1},
    {"common/dpad", 32, 32, 16},
    {"common/Buttons", 64, 64, 16},
    {"parts", 8, 8, 256},
    {"common/icons", 32, 32, 16},
    {"logo", 256, 128, 1},
    {"menu", 256, 256, 4},
};

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
      EXPECT_TRUE(FrameGrid(p, slot.frameWidth * scale, slot.frameHeight * scale, slot.frames, nullptr, nullptr))
          << path << " is " << p.width << " x " << p.height;
    }
}

TEST(GeneratedImages, FontsHaveEveryGlyphInsideItsCellAndTintedSheetsAreGrey) {
  // The framework's font: a padded strip whose padding columns stay clear.
  Picture strip = LoadPicture(Data("trel_font.png"));
  ASSERT_EQ(strip.width % 96, 0);
  int cell = strip.width / 96, glyphs = 0;
  for (int f = 0; f < 96; ++f) {
    EXPECT_TRUE(Empty(strip, f * cell, 0, 1, strip.height) && Empty(strip, f * cell + cell - 1, 0, 1, strip.height));
    glyphs += !Empty(strip, f * cell + 1, 0, cell - 2, strip.height);
  }
  EXPECT_EQ(glyphs, 94);  // '!' to '~'; the space and code 127 are blank

  // The game's font: characters and controller icons, ink a pixel clear of the cell's edge.
  for (auto [suffix, scale] : {std::pair{"", 1}, {"-hd", 2}, {"-hd2", 4}}) {
    Picture p = LoadPicture(Data(std::string("fonts/editundo") + suffix + ".png"));
    std::vector<int> xs, ys;
    int side = 16 * scale;
    ASSERT_TRUE(FrameGrid(p, side, side, 128, &xs, &ys));
    for (int f = 0; f < 128; ++f) {
      EXPECT_EQ(!Empty(p, xs[f], ys[f], side, side), (f >= 1 && f <= 94) || (f >= 96 && f <= 108)) << f;
      EXPECT_TRUE(Empty(p, xs[f], ys[f], side, scale) && Empty(p, xs[f], ys[f], scale, side) &&
                  Empty(p, xs[f], ys[f] + side - scale, side, scale) &&
                  Empty(p, xs[f] + side - scale, ys[f], scale, side))
          << "frame " << f << " at " << scale << "x";
    }
  }
  for (const char* name : {"fonts/editundo", "parts", "common/icons", "common/Buttons", "common/dpad", "flash"}) {
    Picture p = LoadPicture(Data(std::string(name) + "-hd.png"));
    ASSERT_FALSE(p.rgba.empty()) << name;
    for (size_t i = 0; i < p.rgba.size(); i += 4) {
      ASSERT_TRUE(p.rgba[i + 3] == 0 || (p.rgba[i] == p.rgba[i + 1] && p.rgba[i + 1] == p.rgba[i + 2])) << name;
    }
  }
}

TEST(GeneratedImages, SpritesStandWhereThePlayExpects) {
  // At 1x: feet on row 46, the floor tile's top row solid, the nest on the bottom edge.
  Picture gfx = LoadPicture(Data("gfx.png")), bugs = LoadPicture(Data("buga.png"));
  ASSERT_FALSE(gfx.rgba.empty() || bugs.rgba.empty());
  auto lowest = [](const Picture& p, int frame) {
    int x0 = (frame % 4) * 64, y0 = (frame / 4) * 64, low = -1;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        if (p.At(x0 + x, y0 + y)[3] > 128) low = y;
    return low;
  };
  for (int f : {0, 1, 2}) EXPECT_EQ(lowest(gfx, f), 46) << "player frame " << f;  // outline row under the boots
  EXPECT_LT(lowest(gfx, 4), 46);                                                  // in the air
  for (int f : {0, 1, 2, 3}) EXPECT_NEAR(lowest(bugs, f), 46, 1) << "bug frame " << f;
  for (int x = 0; x < 64; ++x) EXPECT_EQ(gfx.At(x, 3 * 64)[3], 255) << "floor surface at " << x;  // frame 12
  EXPECT_EQ(lowest(gfx, 15), 63);
  for (int y = 0; y < 28; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(gfx.At(3 * 64 + x, 3 * 64 + y)[3], 0) << "nest in the upper half";
}

TEST(GeneratedSounds, EveryEffectAndInstrumentIsAudibleMono16BitPcm) {
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(DataDir())) {
    if (entry.path().extension() != ".wav") continue;
    std::string file = entry.path().string();
    Pcm pcm = LoadWav(file);
    ASSERT_TRUE(pcm.ok) << file;
    EXPECT_EQ(pcm.channels, 1) << file;
    EXPECT_EQ(pcm.bytesPerSample, 2) << file;
    EXPECT_GT(pcm.Frames(), size_t(pcm.hertz) / 100) << file;
    int peak = 0;
    for (int16_t s : pcm.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 8000) << file << " is nearly silent";
    ++files;
  }
  EXPECT_GE(files, 18 + 32 + 10);  // effects, drums, tonal instruments
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

TEST(GeneratedTunes, ImagesHoldTheComposedCellsAndEveryBandTheSequencerPlaysHasVariantsWithNotes) {
  for (const Tune& tune : Tunes()) {
    Picture p = LoadPicture(Data(tune.name + ".png"));
    std::vector<int> xs, ys;
    ASSERT_TRUE(FrameGrid(p, 64, 64, 64, &xs, &ys)) << tune.name;
    int lastVariant[kBands] = {};
    for (int v = 0; v < 63; ++v)  // the sequencer reads frames 0-62
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
          const uint8_t* px = p.At(xs[v] + x, ys[v] + y);
          ASSERT_EQ(px[3], 255);
          ASSERT_EQ(px[2] >> 3, CellValue(tune.At(v, x / 8, y), x % 8)) << tune.name << " frame " << v;
          if (px[2] >> 3) lastVariant[x / 8] = v;
        }
    for (int band = 0; band < kBands; ++band) {
      EXPECT_EQ(lastVariant[band] >= 1, band < 5) << tune.name << " band " << band;
      if (band >= 5) continue;
      for (int v = 0; v <= lastVariant[band]; ++v) {
        int notes = 0;
        for (int step = 0; step < kSteps; ++step) notes += tune.At(v, band, step).pitch != 0;
        // Pitched bands rest in their odd variants, which stand in for the even ones on odd patterns.
        if (band >= 2 && v % 2) EXPECT_EQ(notes, 0) << tune.name << " band " << band << " variant " << v;
        else EXPECT_GT(notes, 4) << tune.name << " band " << band << " variant " << v << " is silent";
      }
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

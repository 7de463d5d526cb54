// The generated data folder, read back the way the game reads it: pictures
// through the host's decoder and the game's frame grids, sounds through its
// own readers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "graphics/graphics.h"
#include "host/audio_data.h"
#include "host/vx_game.h"
#include "tests/support/subprocess.h"
#include "tools/assetgen/tunes.h"

namespace fs = std::filesystem;

namespace {

std::string Data(const std::string& relative) { return BuildPath("run/data/" + relative); }

// Every picture the generator writes is RGBA.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // empty when the file did not decode
  explicit Picture(const std::string& path) {
    int depth = 0;
    unsigned char* data = VxVorlixGame().LoadImageData(String(path.c_str()), &width, &height, &depth);
    if (data && depth == 4) rgba.assign(data, data + size_t(width) * height * 4);
    free(data);
  }
  const uint8_t* At(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
  bool Empty(int x0, int y0, int w, int h) const {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x)
        if (At(x, y)[3]) return false;
    return true;
  }
  // The frame corners the game's image set-up gives frames of w x h, left to
  // right and on down, or none when they are not as asked. A grid that does
  // not fit ends the process, as in the game.
  std::vector<int> Grid(int w, int h, int frames) const {
    auto* surface = new gxtkSurface();
    surface->SetData(static_cast<unsigned char*>(memcpy(malloc(rgba.size()), rgba.data(), rgba.size())), width, height,
                     4);
    c_Image* image = (new c_Image())->m_new()->p_Init2(surface, 0, 0, w, h, frames, 1, nullptr, 0, 0, width, height);
    std::vector<int> corners;
    for (c_Frame* frame : image->frames) corners.insert(corners.end(), {frame->srcX, frame->srcY});
    bool asked = image->frameWidth == w && image->frameHeight == h && image->frames.Length() == frames;
    return asked ? corners : std::vector<int>{};
  }
};

// Interleaved 16-bit samples, and the shape they came in.
struct Pcm {
  int channels = 0, bytesPerSample = 0, hertz = 0;
  std::vector<int16_t> samples;
  Pcm(const std::string& path, unsigned char* (*reader)(FILE*, int*, int*, int*, int*)) {
    FILE* f = fopen(path.c_str(), "rb");
    int length = 0;
    unsigned char* data = f ? reader(f, &length, &channels, &bytesPerSample, &hertz) : nullptr;
    if (f) fclose(f);
    if (data && bytesPerSample == 2)
      samples.assign(reinterpret_cast<int16_t*>(data), reinterpret_cast<int16_t*>(data) + length * channels);
    free(data);
  }
  double Seconds() const { return channels ? double(samples.size()) / channels / hertz : 0; }
};

TEST(GeneratedImages, FontsHaveEveryGlyphInsideItsCellTintedSheetsAreGreyAndSpritesStandWhereThePlayExpects) {
  // The framework's font: a padded strip whose padding columns stay clear.
  Picture strip(Data("trel_font.png"));
  ASSERT_EQ(strip.width % 96, 0);
  int cell = strip.width / 96, glyphs = 0;
  for (int f = 0; f < 96; ++f) {
    EXPECT_TRUE(strip.Empty(f * cell, 0, 1, strip.height) && strip.Empty(f * cell + cell - 1, 0, 1, strip.height));
    glyphs += !strip.Empty(f * cell + 1, 0, cell - 2, strip.height);
  }
  EXPECT_EQ(glyphs, 94);  // '!' to '~'; the space and code 127 are blank
  // The game's font: characters and controller icons, ink a pixel clear of the cell's edge.
  for (int scale : {1, 2, 4}) {
    Picture p(Data(std::string("fonts/editundo") + (scale == 1 ? "" : scale == 2 ? "-hd" : "-hd2") + ".png"));
    int side = 16 * scale;
    std::vector<int> at = p.Grid(side, side, 128);
    ASSERT_EQ(at.size(), 256u);
    for (int f = 0; f < 128; ++f) {
      int x = at[2 * f], y = at[2 * f + 1];
      EXPECT_EQ(!p.Empty(x, y, side, side), (f >= 1 && f <= 94) || (f >= 96 && f <= 108)) << f;
      EXPECT_TRUE(p.Empty(x, y, side, scale) && p.Empty(x, y, scale, side) &&
                  p.Empty(x, y + side - scale, side, scale) && p.Empty(x + side - scale, y, scale, side))
          << "frame " << f << " at " << scale << "x";
    }
  }
  for (const char* name : {"fonts/editundo", "parts", "common/icons", "common/Buttons", "common/dpad", "flash"}) {
    Picture p(Data(std::string(name) + "-hd.png"));
    ASSERT_FALSE(p.rgba.empty()) << name;
    for (size_t i = 0; i < p.rgba.size(); i += 4) {
      ASSERT_TRUE(p.rgba[i + 3] == 0 || (p.rgba[i] == p.rgba[i + 1] && p.rgba[i + 1] == p.rgba[i + 2])) << name;
    }
  }

  // At 1x: feet on row 46, the floor tile's top row solid, the nest on the bottom edge.
  Picture gfx(Data("gfx.png")), bugs(Data("buga.png"));
  ASSERT_FALSE(gfx.rgba.empty() || bugs.rgba.empty());
  auto lowest = [](const Picture& p, int frame) {
    int low = -1;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        if (p.At(frame % 4 * 64 + x, frame / 4 * 64 + y)[3] > 128) low = y;
    return low;
  };
  for (int f : {0, 1, 2}) EXPECT_EQ(lowest(gfx, f), 46) << "player frame " << f;  // outline row under the boots
  EXPECT_LT(lowest(gfx, 4), 46);                                                  // in the air
  for (int f : {0, 1, 2, 3}) EXPECT_NEAR(lowest(bugs, f), 46, 1) << "bug frame " << f;
  for (int x = 0; x < 64; ++x) EXPECT_EQ(gfx.At(x, 3 * 64)[3], 255) << "floor surface at " << x;  // frame 12
  EXPECT_EQ(lowest(gfx, 15), 63);
  EXPECT_TRUE(gfx.Empty(3 * 64, 3 * 64, 64, 28)) << "nest in the upper half";
}

TEST(GeneratedSounds, EffectsAndInstrumentsAreAudibleMono16BitAndTonalSamplesSoundCAndLoopWithoutAClick) {
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(Data(""))) {
    if (entry.path().extension() != ".wav") continue;
    Pcm pcm(entry.path().string(), LoadWAV);
    ASSERT_EQ(pcm.channels, 1) << entry.path();
    EXPECT_GT(pcm.Seconds(), 0.01) << entry.path();
    int peak = 0;
    for (int16_t s : pcm.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 8000) << entry.path() << " is nearly silent";
    ++files;
  }
  EXPECT_GE(files, 18 + 32 + 10);  // effects, drums, tonal instruments
  // The shot plays up to ten times a second: it must be over well within 0.1 s.
  EXPECT_LT(Pcm(Data("sfx/006.wav"), LoadWAV).Seconds(), 0.1);

  for (auto [pool, count, c] : {std::tuple{"lead", 3, 523.25}, {"accompany", 3, 261.63}, {"bass", 4, 130.81}})
    for (int i = 1; i <= count; ++i) {
      std::string file = std::string("inst/") + pool + std::to_string(i) + ".wav";
      Pcm pcm(Data(file), LoadWAV);
      const std::vector<int16_t>& s = pcm.samples;
      ASSERT_FALSE(s.empty()) << file;
      // Seamless: the jump from the last sample back to the first is no bigger than steps inside.
      int biggest = 0;
      for (size_t k = 1; k < s.size(); ++k) biggest = std::max(biggest, std::abs(s[k] - s[k - 1]));
      EXPECT_LE(std::abs(s.front() - s.back()), biggest) << file;
      // Pitch: the lag where the sample best matches itself, searched from under half a period of C
      // (where a sample an octave up would match) to just over one.
      double period = pcm.hertz / c, best = -1e18;
      int bestLag = 0;
      for (int lag = int(period * 0.45); lag <= int(period * 1.1) + 1; ++lag) {
        double sum = 0;
        for (size_t k = 0; k + lag < s.size(); ++k) sum += double(s[k]) * s[k + lag];
        if (sum > best) best = sum, bestLag = lag;
      }
      EXPECT_NEAR(bestLag, period, 1.0) << file;
    }

  Pcm tune(Data("sfx/adventurous.ogg"), LoadOGG);  // streamed: stereo, one to two minutes, loud from the start
  EXPECT_EQ(tune.channels, 2);
  EXPECT_GE(tune.Seconds(), 60);
  EXPECT_LE(tune.Seconds(), 120);
  double energy = 0;
  size_t opening = size_t(tune.hertz) * 2 * 2;  // the first two seconds, both channels
  for (size_t i = 0; i < opening; ++i) energy += double(tune.samples[i]) * tune.samples[i];
  EXPECT_GT(std::sqrt(energy / opening), 3000);
}

TEST(GeneratedTunes, ImagesHoldTheComposedCellsAndEveryBandTheSequencerPlaysHasVariantsWithNotes) {
  for (const Tune& tune : Tunes()) {
    Picture p(Data(tune.name + ".png"));
    std::vector<int> at = p.Grid(64, 64, 64);
    ASSERT_EQ(at.size(), 128u) << tune.name;
    int lastVariant[kBands] = {};
    for (int v = 0; v < 63; ++v)  // the sequencer reads frames 0-62
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
          const uint8_t* px = p.At(at[2 * v] + x, at[2 * v + 1] + y);
          ASSERT_EQ(px[3], 255);
          ASSERT_EQ(px[2] >> 3, CellValue(tune.At(v, x / 8, y), x % 8)) << tune.name << " frame " << v;
          if (px[2] >> 3) lastVariant[x / 8] = v;
        }
    for (int band = 0; band < kBands; ++band) {
      EXPECT_EQ(lastVariant[band] >= 1, band < 5) << tune.name << " band " << band;
      for (int v = 0; band < 5 && v <= lastVariant[band]; ++v) {
        int notes = 0;
        for (int step = 0; step < kSteps; ++step) notes += tune.At(v, band, step).pitch != 0;
        // Pitched bands rest in their odd variants, which stand in for the even ones on odd patterns.
        bool rests = band >= 2 && v % 2;
        EXPECT_TRUE(rests ? notes == 0 : notes > 4) << tune.name << " band " << band << " variant " << v;
      }
    }
  }
}

std::map<std::string, std::string> ReadTree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::ifstream in(entry.path(), std::ios::binary);
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), root).string()] = {std::istreambuf_iterator<char>(in), {}};
  }
  return files;
}

TEST(Generator, TwoRunsWriteIdenticalBytesAndTheBuildsCopy) {
  fs::path dir = fs::temp_directory_path() / ("assetgen_test_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  for (const char* run : {"a", "b"})
    ASSERT_EQ(RunProcess({BuildPath("tools/assetgen"), (dir / run).string()}).status, 0);
  auto a = ReadTree(dir / "a"), b = ReadTree(dir / "b"), built = ReadTree(Data(""));
  fs::remove_all(dir);
  EXPECT_GT(a.size(), 100u);
  EXPECT_TRUE(a == b) << "two runs differ";
  EXPECT_TRUE(a == built) << "a run differs from the build's copy";
}

}  // namespace

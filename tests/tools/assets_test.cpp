// The generated data folder, read back through the game's own decoders.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

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
  // The corners the game's image set-up gives frames of w x h, or none when they are not as asked.
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

// A second run is byte for byte the build's.
TEST(Generator, ARunWritesTheBuildsCopyAgain) {
  fs::path dir = fs::temp_directory_path() / ("assetgen_test_" + std::to_string(::getpid()));
  ASSERT_EQ(RunProcess({BuildPath("tools/assetgen"), dir.string()}).status, 0);
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(Data(""))) {
    if (!entry.is_regular_file()) continue;
    std::ifstream built(entry.path(), std::ios::binary),
        again(dir / fs::relative(entry.path(), Data("")), std::ios::binary);
    EXPECT_TRUE(std::equal(std::istreambuf_iterator<char>(built), {}, std::istreambuf_iterator<char>(again), {}))
        << entry.path();
    ++files;
  }
  fs::remove_all(dir);
  EXPECT_GT(files, 100u);
}

}  // namespace

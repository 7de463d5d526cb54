#include "tools/assetgen/output.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "tools/assetgen/icons.h"
#include "tools/assetgen/ogg_file.h"
#include "tools/assetgen/png_file.h"
#include "tools/assetgen/sheets.h"
#include "tools/assetgen/sounds.h"
#include "tools/assetgen/stream_tune.h"
#include "tools/assetgen/tunes.h"
#include "tools/assetgen/wav_file.h"

namespace fs = std::filesystem;

namespace {
bool Fail(const std::string& path) {
  std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
  return false;
}

bool SavePng(const fs::path& path, const Canvas& canvas) {
  fs::create_directories(path.parent_path());
  return WritePng(path.string(), canvas.Width(), canvas.Height(), canvas.ToRgba8()) || Fail(path.string());
}

// Runs the jobs on two threads (the build machines have two cores); each job
// writes its own files, so the order they finish in changes nothing.
bool RunAll(const std::vector<std::function<bool()>>& jobs) {
  std::vector<char> ok(jobs.size(), 0);
  auto worker = [&](size_t first) {
    for (size_t i = first; i < jobs.size(); i += 2) ok[i] = jobs[i]();
  };
  std::thread other(worker, 1);
  worker(0);
  other.join();
  for (char c : ok)
    if (!c) return false;
  return true;
}
}  // namespace

bool WriteData(const std::string& dataDir) {
  fs::path root(dataDir);
  std::vector<std::function<bool()>> jobs;
  for (const SheetSpec& sheet : Sheets())
    for (int scale : {1, 2, 4}) {
      if (scale > 1 && !sheet.threeResolutions) continue;
      jobs.push_back([&sheet, scale, root] {
        return SavePng(root / (SheetFileName(sheet, scale) + ".png"), RenderSheet(sheet, scale));
      });
    }
  for (int size : kIconSizes)
    jobs.push_back(
        [size, root] { return SavePng(root / ("icons/kalvexa-" + std::to_string(size) + ".png"), RenderIcon(size)); });
  auto sound = [root](const SoundSpec& spec, float peak) {
    fs::path path = root / (spec.name + ".wav");
    fs::create_directories(path.parent_path());
    SoundBuffer buffer = spec.make(spec.variant);
    if (peak > 0) Normalise(buffer, peak);
    return WriteWav(path.string(), buffer.samples, 1, buffer.hertz) || Fail(path.string());
  };
  // Effects peak a little below full scale; tonal samples are loops whose
  // level the sequencer sets, so they are normalised alike.
  for (const SoundSpec& spec : Effects()) jobs.push_back([&spec, sound] { return sound(spec, 0.85f); });
  for (const SoundSpec& spec : Instruments()) jobs.push_back([&spec, sound] { return sound(spec, 0.8f); });
  for (const Tune& tune : Tunes())
    jobs.push_back([&tune, root] {
      fs::path path = root / (tune.name + ".png");
      fs::create_directories(path.parent_path());
      return WritePng(path.string(), kTuneImageSize, kTuneImageSize, TuneImage(tune)) || Fail(path.string());
    });
  // The tune is the longest job: put it first so the other thread takes the rest.
  jobs.insert(jobs.begin(), [root] {
    fs::path path = root / "sfx/adventurous.ogg";
    fs::create_directories(path.parent_path());
    StereoMix mix = RenderAdventurous();
    std::vector<uint8_t> ogg = EncodeOgg({mix.left, mix.right}, mix.hertz, 0.4f);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(ogg.data()), static_cast<std::streamsize>(ogg.size()));
    return file.good() || Fail(path.string());
  });
  return RunAll(jobs);
}

namespace {
// The 1x sheet magnified with nearest-neighbour (at most 1024 pixels wide)
// over a checkerboard, frame borders drawn, so transparency and frame limits show.
Canvas Preview(const SheetSpec& sheet) {
  Canvas art = RenderSheet(sheet, 1);
  int zoom = std::max(1, std::min(4, 1024 / art.Width()));
  int cellW = sheet.frameWidth + 2 * sheet.padX;
  Canvas out(art.Width() * zoom, art.Height() * zoom);
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) {
      out.At(x, y) = ((x / 8 + y / 8) % 2) ? Grey(0.36f) : Grey(0.26f);
      out.Blend(x, y, art.At(x / zoom, y / zoom));
      if ((x / zoom) % cellW == 0 && x % zoom == 0) out.Blend(x, y, Rgba{0.2f, 0.6f, 1, 0.5f});
      if ((y / zoom) % sheet.frameHeight == 0 && y % zoom == 0) out.Blend(x, y, Rgba{0.2f, 0.6f, 1, 0.5f});
    }
  return out;
}

std::string PreviewName(const SheetSpec& sheet) {
  std::string name = sheet.name;
  for (char& c : name)
    if (c == '/') c = '-';
  return name + ".png";
}
}  // namespace

bool WriteDocs(const std::string& docsDir) {
  fs::path root(docsDir);
  std::vector<std::function<bool()>> jobs;
  for (const SheetSpec& sheet : Sheets())
    jobs.push_back([&sheet, root] { return SavePng(root / PreviewName(sheet), Preview(sheet)); });
  if (!RunAll(jobs)) return false;
  std::ofstream readme(root / "README.md");
  readme << "# Kalvexa art\n\n"
            "Every picture the game loads, drawn by tools/assetgen and shown here at 1x, magnified with "
            "nearest-neighbour over a checkerboard (blue lines mark the frames). The game also gets each "
            "sheet at 2x and 4x (name-hd.png, name-hd2.png), drawn from the same shapes. Regenerate with "
            "`build/tools/assetgen --docs docs/art`.\n";
  for (const SheetSpec& sheet : Sheets()) {
    readme << "\n## " << sheet.name << ".png\n\n![" << sheet.name << "](" << PreviewName(sheet) << ")\n\n"
           << sheet.frames << " frames of " << sheet.frameWidth << " x " << sheet.frameHeight << ", "
           << sheet.columns << " per row" << (sheet.padX ? ", one empty column either side of each" : "")
           << ".\n\n| Frames | What |\n|---|---|\n";
    for (const FrameNote& note : sheet.notes) {
      readme << "| " << note.first;
      if (note.last != note.first) readme << "-" << note.last;
      readme << " | " << note.what << " |\n";
    }
  }
  readme << "\n## Sounds\n\n| File | What |\n|---|---|\n";
  for (const SoundSpec& spec : Effects()) readme << "| " << spec.name << ".wav | " << spec.what << " |\n";
  readme << "| sfx/adventurous.ogg | the streamed tune: the first sequencer tune arranged for about 90 s, "
            "stereo Vorbis |\n"
            "| inst/dK-N.wav | drum kits 1-4 (analogue, chip, soft, electro): 1 kick, 2 snare, 3 closed hat, "
            "4 open hat, 5 low tom, 6 high tom, 7 clap, 8 crash |\n"
            "| inst/leadN, accompanyN, bassN.wav | looping tones in C: leads C5, accompaniments C4, basses C3 |\n";
  for (const Tune& tune : Tunes())
    readme << "| " << tune.name << ".png | sequencer tune: 64 frames of 64 x 64, blue = value << 3 |\n";
  return bool(readme.flush()) || Fail((root / "README.md").string());
}

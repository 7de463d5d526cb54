#include "tests/tools/data_files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#define STB_VORBIS_HEADER_ONLY
#include <stb_image.h>
#include <stb_vorbis.h>

#include "tests/support/subprocess.h"

Picture LoadPicture(const std::string& path) {
  Picture p;
  int depth = 0;
  unsigned char* data = stbi_load(path.c_str(), &p.width, &p.height, &depth, 4);
  if (!data) return p;
  p.rgba.assign(data, data + size_t(p.width) * p.height * 4);
  stbi_image_free(data);
  return p;
}

bool FrameGrid(int width, int height, int fw, int fh, int frames, std::vector<int>* xs, std::vector<int>* ys) {
  int cx = 0, cy = 0;
  for (int i = 0; i < frames; ++i) {
    if (cx + fw > width) cx = 0, cy += fh;
    if (cx + fw > width || cy + fh > height) return false;
    if (xs) xs->push_back(cx);
    if (ys) ys->push_back(cy);
    cx += fw;
  }
  return true;
}

namespace {
uint32_t Le(const unsigned char* b, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b[i];
  return v;
}
}  // namespace

Pcm LoadWav(const std::string& path) {
  // The game's reader: "RIFF", size, "WAVE", then "fmt " first, PCM code 1,
  // then chunks until "data".
  Pcm pcm;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return pcm;
  unsigned char h[36];
  bool ok = std::fread(h, 1, 36, f) == 36 && !std::memcmp(h, "RIFF", 4) && !std::memcmp(h + 8, "WAVE", 4) &&
            !std::memcmp(h + 12, "fmt ", 4) && Le(h + 20, 2) == 1;
  if (ok) {
    uint32_t fmtSize = Le(h + 16, 4);
    pcm.channels = int(Le(h + 22, 2));
    pcm.hertz = int(Le(h + 24, 4));
    pcm.bytesPerSample = int(Le(h + 34, 2)) / 8;
    if (fmtSize > 16) std::fseek(f, long(fmtSize - 16), SEEK_CUR);
    unsigned char chunk[8];
    while (std::fread(chunk, 1, 8, f) == 8) {
      uint32_t size = Le(chunk + 4, 4);
      if (!std::memcmp(chunk, "data", 4)) {
        pcm.samples.resize(size / 2);
        pcm.ok = pcm.bytesPerSample == 2 && std::fread(pcm.samples.data(), 1, size, f) == size;
        break;
      }
      std::fseek(f, long(size), SEEK_CUR);
    }
  }
  std::fclose(f);
  return pcm;
}

Pcm LoadOgg(const std::string& path) {
  Pcm pcm;
  int error = 0;
  stb_vorbis* v = stb_vorbis_open_filename(path.c_str(), &error, nullptr);
  if (!v) return pcm;
  stb_vorbis_info info = stb_vorbis_get_info(v);
  pcm.channels = info.channels;
  pcm.hertz = int(info.sample_rate);
  pcm.bytesPerSample = 2;
  std::vector<short> block(size_t(info.channels) * 4096);
  int n;
  while ((n = stb_vorbis_get_frame_short_interleaved(v, info.channels, block.data(), int(block.size()))) > 0)
    pcm.samples.insert(pcm.samples.end(), block.begin(), block.begin() + n * info.channels);
  stb_vorbis_close(v);
  pcm.ok = true;
  return pcm;
}

std::string DataDir() { return BuildPath("run/data"); }

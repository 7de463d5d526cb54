#include "tests/tools/data_files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graphics/graphics.h"
#include "graphics/surface.h"
#include "host/audio_data.h"
#include "host/vx_game.h"
#include "tests/support/subprocess.h"

Picture LoadPicture(const std::string& path) {
  // The host's decoder, at the file's own channel count, widened to RGBA here.
  Picture p;
  int depth = 0;
  VxVorlixGame host;
  unsigned char* data = host.LoadImageData(String(path.c_str()), &p.width, &p.height, &depth);
  if (!data) return p;
  size_t pixels = size_t(p.width) * p.height;
  p.rgba.resize(pixels * 4);
  for (size_t i = 0; i < pixels; ++i) {
    const unsigned char* in = data + i * depth;
    uint8_t* out = &p.rgba[i * 4];
    bool grey = depth < 3;
    out[0] = in[0];
    out[1] = grey ? in[0] : in[1];
    out[2] = grey ? in[0] : in[2];
    out[3] = depth == 2 ? in[1] : depth == 4 ? in[3] : 255;
  }
  std::free(data);
  return p;
}

bool FrameGrid(const Picture& picture, int fw, int fh, int frames, std::vector<int>* xs, std::vector<int>* ys) {
  // The game's own image set-up; a grid that does not fit ends the process
  // with "Image frame outside surface", which fails the test loudly.
  auto* bytes = static_cast<unsigned char*>(std::malloc(picture.rgba.size()));
  std::memcpy(bytes, picture.rgba.data(), picture.rgba.size());
  gxtkSurface* surface = new gxtkSurface();
  surface->SetData(bytes, picture.width, picture.height, 4);
  c_Image* image = (new c_Image())->m_new();
  image->p_Init2(surface, 0, 0, fw, fh, frames, 1, nullptr, 0, 0, picture.width, picture.height);
  for (int i = 0; i < frames; ++i) {
    if (xs) xs->push_back(image->frames[i]->srcX);
    if (ys) ys->push_back(image->frames[i]->srcY);
  }
  return image->frameWidth == fw && image->frameHeight == fh && image->frames.Length() == frames;
}

namespace {
Pcm Decode(const std::string& path, unsigned char* (*reader)(FILE*, int*, int*, int*, int*)) {
  Pcm pcm;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return pcm;
  int length = 0;
  unsigned char* data = reader(f, &length, &pcm.channels, &pcm.bytesPerSample, &pcm.hertz);
  std::fclose(f);
  if (!data) return pcm;
  if (pcm.bytesPerSample == 2) {
    pcm.samples.resize(size_t(length) * pcm.channels);
    std::memcpy(pcm.samples.data(), data, pcm.samples.size() * 2);
    pcm.ok = true;
  }
  std::free(data);
  return pcm;
}
}  // namespace

Pcm LoadWav(const std::string& path) { return Decode(path, LoadWAV); }
Pcm LoadOgg(const std::string& path) { return Decode(path, LoadOGG); }

std::string DataDir() { return BuildPath("run/data"); }

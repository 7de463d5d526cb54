#include "tests/music/sequencer_rig.h"

#include <chrono>
#include <filesystem>

#include "audio/audio.h"
#include "framework/app.h"
#include "graphics/graphics.h"
#include "tests/graphics/png_files.h"
#include "tests/support/subprocess.h"

int ClockHost::Millisecs() {
  if (!realTime) return now;
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count() % 1000000000);
}

unsigned char* ClockHost::LoadImageData(String path, int* width, int* height, int* depth) {
  decoded.push_back(path.ToCString());
  return VxGlfwGame::LoadImageData(path, width, height, depth);
}

unsigned char* ClockHost::LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) {
  decoded.push_back(path.ToCString());
  return VxGlfwGame::LoadAudioData(path, length, channels, format, hertz);
}

SequencerRig::SequencerRig(gxtkAudio* audio) {
  VxGame::_game = vx_app__game = VxGlfwGame::_glfwGame = &host;
  vx_graphics_context = (new c_GraphicsContext())->m_new();
  vx_graphics_SetGraphicsDevice(graphics);
  vx_audio_SetAudioDevice(audio);
  player->p_Ombi_Init(kTopChannel, 4, 3, 3, 4);
}

SequencerRig::~SequencerRig() {
  VxGame::_game = vx_app__game = VxGlfwGame::_glfwGame = nullptr;
  vx_graphics_device = nullptr;
  vx_graphics_context = nullptr;
  vx_audio_device = nullptr;
}

void SequencerRig::Render() {
  graphics->BeginRender();
  vx_graphics_BeginRender();
  player->p_Ombi_Alive_R();
  vx_graphics_EndRender();
  graphics->EndRender();
}

int SequencerRig::Load() {
  int frames = 0;
  for (; player->m_loadStep > 0; ++frames) Render();
  return frames;
}

void SequencerRig::Step() {
  host.now = player->m_nextStepTime + 1;
  Tick();
}

void TunePicture::SetBlue(int variant, int band, int step, int k, int blue) {
  blue_[(variant * 64 + step) * 64 + band * 8 + k] = static_cast<unsigned char>(blue);
}

void TunePicture::Write(const std::string& path, int perRow, int rows, int channels) const {
  int w = perRow * 64, h = rows * 64;
  std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * channels);
  for (int v = 0; v < perRow * rows && v < 64; ++v) {
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        unsigned char blue = blue_[(v * 64 + y) * 64 + x];
        unsigned char* p = &pixels[((static_cast<size_t>(v / perRow) * 64 + y) * w + v % perRow * 64 + x) * channels];
        // Red and green hold other values, so a decoder reading them shows.
        const unsigned char colour[4][4] = {{blue}, {blue, 255}, {0x55, 0xaa, blue}, {0x55, 0xaa, blue, 255}};
        std::copy(colour[channels - 1], colour[channels - 1] + channels, p);
      }
    }
  }
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  WritePng(path, w, h, channels, pixels);
}

void LinkGameData(const std::string& folder) {
  std::filesystem::create_directory_symlink(BuildPath("run/data/" + folder), "data/" + folder);
}

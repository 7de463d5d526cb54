#include "tests/music/sequencer_rig.h"

#include <chrono>
#include <filesystem>

#include "audio/audio.h"
#include "framework/app.h"
#include "graphics/graphics.h"
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
  vx_graphics_SetGraphicsDevice(new gxtkGraphics());
  vx_audio_SetAudioDevice(audio);
  player = NewPlayer();
}

SequencerRig::~SequencerRig() {
  VxGame::_game = vx_app__game = VxGlfwGame::_glfwGame = nullptr;
  vx_graphics_device = nullptr;
  vx_graphics_context = nullptr;
  vx_audio_device = nullptr;
}

c_OmbiPlayer* SequencerRig::NewPlayer() {
  c_OmbiPlayer* fresh = (new c_OmbiPlayer())->m_new();
  fresh->p_Ombi_Init(31, 4, 3, 3, 4);
  return fresh;
}

void SequencerRig::Render() {
  vx_graphics_device->BeginRender();
  vx_graphics_BeginRender();
  player->p_Ombi_Alive_R();
  vx_graphics_EndRender();
  vx_graphics_device->EndRender();
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

void LinkGameData(const std::string& folder) {
  std::filesystem::create_directory_symlink(BuildPath("run/data/" + folder), "data/" + folder);
}

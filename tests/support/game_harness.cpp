#include "tests/support/game_harness.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/app.h"
#include "framework/game_delegate.h"
#include "framework/game_event.h"
#include "framework/key_codes.h"
#include "game/core/globals.h"
#include "host/glfw2.h"
#include "host/input_translation.h"
#include "runtime/gc.h"
#include "runtime/startup.h"
#include "tests/support/subprocess.h"

namespace {

gxtkAudio* NewRecordingAudio() { return new RecordingAudio(); }

void MarkNothing() {}

// Destroys every collectable object: the program's roots are gone, so after
// two whole cycles everything is garbage, and allocation destroys garbage.
void DestroyEverything() {
  gc_init2(MarkNothing);
  gc_collect_all();
  gc_collect_all();
  while (gc_free_bytes > 0) gc_object::operator delete(gc_object_alloc(8), 8);
}

}  // namespace

int HarnessHost::WindowParam(int param) {
  if (param == GLFW_OPENED) return 1;
  if (param == GLFW_ACTIVE) return !_suspended;
  return 0;
}

bool HarnessHost::KeyHeld(int glfwKey) { return keysDown.count(TransKey(glfwKey)) != 0; }

void HarnessHost::OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                             bool fullscreen) {
  keysDown.clear();
  fullscreenWindow = fullscreen;
  ++windowsOpened;
  if (!recorder) {
    VxGlfwGame::OpenWindow(width, height, red, green, blue, alpha, depth, stencil, fullscreen);
    return;
  }
  recorder->SetWindowSize(width, height);
  ++glfwGraphicsSeq;
}

VxGlfwVideoMode* HarnessHost::GetGlfwDesktopMode() {
  auto* mode = new VxGlfwVideoMode();
  mode->width = desktopWidth;
  mode->height = desktopHeight;
  mode->red = mode->green = mode->blue = 8;
  return mode;
}

bool HarnessHost::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float>, Array<bool> buttons) {
  const Pad& pad = pads[port];
  if (!pad.present) return false;
  for (int s = 0; s < 2; ++s) {
    joyx[s] = pad.x[s];
    joyy[s] = pad.y[s];
  }
  for (int b = 0; b < 32; ++b) buttons[b] = pad.buttons[b];
  return true;
}

int HarnessHost::ReplaceFile(const char* from, const char* to) {
  return failSaves ? -1 : VxGlfwGame::ReplaceFile(from, to);
}

GameHarness::GameHarness(HarnessOptions options) : realWindow_(options.realWindow) {
  std::string data = options.dataFolder.empty() ? BuildPath("run/data") : options.dataFolder;
  std::filesystem::remove(folder_.Path("data"));
  std::filesystem::create_directory_symlink(data, folder_.Path("data"));
  if (!options.state.empty()) WriteFile(folder_.Path(".vorlixstate"), options.state);

  setenv("ALSOFT_DRIVERS", "null", 1);
  c_GameDelegate::m_newAudio = NewRecordingAudio;

  host = new HarnessHost();
  VxGame::_game = host;
  VxGlfwGame::_glfwGame = host;
  if (realWindow_) {
    static bool windowSystem = glfwInit();
    if (!windowSystem) abort();
  } else {
    gl = std::make_unique<GlRecorder>();
    host->recorder = gl.get();
  }
  host->SetGlfwWindow(options.width, options.height, 8, 8, 8, 0, 0, 0, false);

  arguments_ = options.arguments;
  arguments_.insert(arguments_.begin(), "kalvexa");
  for (const std::string& a : arguments_) argv_.push_back(a.c_str());
  vx_std_main(static_cast<int>(argv_.size()), argv_.data());
  host->StartGame();
  app = static_cast<c_MyApp*>(vx_app__app);
  audio = static_cast<RecordingAudio*>(vx_audio_device);
  Render();
  if (options.load) FinishLoading();
}

GameHarness::~GameHarness() {
  DestroyEverything();
  // Buffer names belong to this harness's OpenAL device; the next one's may reuse them.
  gxtkAudio::discarded.clear();
  if (realWindow_) {
    glfwCloseWindow();
    glfwGraphicsSeq = 0;
  }
  VxGame::_game = nullptr;
  VxGlfwGame::_glfwGame = nullptr;
  delete host;
  c_GameDelegate::m_newAudio = nullptr;
}

void GameHarness::Update() { host->UpdateGame(); }

void GameHarness::Render() { host->RenderGame(); }

void GameHarness::Step(int ticks) {
  for (int i = 0; i < ticks; ++i) {
    host->now += TICK;
    Update();
    Render();
  }
}

int GameHarness::FinishLoading() {
  int ticks = 0;
  while (app->loadStep != 0 && ticks < 100) {
    Step();
    ++ticks;
  }
  return ticks;
}

void GameHarness::KeyDown(int key) {
  host->keysDown.insert(key);
  host->KeyEvent(c_VxGameEvent::KeyDown, key);
}

void GameHarness::KeyUp(int key) {
  host->keysDown.erase(key);
  host->KeyEvent(c_VxGameEvent::KeyUp, key);
}

void GameHarness::Press(int key) {
  KeyDown(key);
  Step();
  KeyUp(key);
}

void GameHarness::Tap(int key, int times) {
  for (int i = 0; i < times; ++i) {
    Press(key);
    Step();
  }
}

void GameHarness::Type(int character) { host->KeyEvent(c_VxGameEvent::KeyChar, character); }

std::vector<uint32_t> GameHarness::ReadFrame(const std::function<void()>& draw) {
  gxtkGraphics* device = vx_graphics_device;
  device->BeginRender();
  vx_graphics_BeginRender();
  draw();
  int w = device->Width(), h = device->Height();
  Array<int> pixels(w * h);
  vx_graphics_ReadPixels(pixels, 0, 0, w, h, 0, w);
  vx_graphics_EndRender();
  device->EndRender();
  return std::vector<uint32_t>(pixels.begin(), pixels.end());
}

float GameHarness::WindowX(float x) const { return x * app->scaleX + vx_Kalvexa_overscan; }

float GameHarness::WindowY(float y) const {
  int width = vx_graphics_DeviceWidth(), height = vx_graphics_DeviceHeight();
  float margin = width < 1 ? 0 : vx_Kalvexa_overscan * static_cast<float>(height) / static_cast<float>(width);
  return y * app->scaleY + margin;
}

void GameHarness::MouseMove(float x, float y) {
  host->MouseEvent(c_VxGameEvent::MouseMove, -1, WindowX(x), WindowY(y));
}

void GameHarness::MouseDown(float x, float y) { host->MouseEvent(c_VxGameEvent::MouseDown, 0, WindowX(x), WindowY(y)); }

void GameHarness::MouseUp() { host->MouseEvent(c_VxGameEvent::MouseUp, 0, 0, 0); }

void GameHarness::Click(float x, float y) {
  MouseDown(x, y);
  Step();
  MouseUp();
}

void GameHarness::TouchDown(int finger, float x, float y) {
  host->TouchEvent(c_VxGameEvent::TouchDown, finger, WindowX(x), WindowY(y));
}

void GameHarness::TouchMove(int finger, float x, float y) {
  host->TouchEvent(c_VxGameEvent::TouchMove, finger, WindowX(x), WindowY(y));
}

void GameHarness::TouchUp(int finger) { host->TouchEvent(c_VxGameEvent::TouchUp, finger, 0, 0); }

void GameHarness::PadButton(int pad, int button, bool down) {
  host->pads[pad].present = true;
  host->pads[pad].buttons[button] = down;
}

void GameHarness::PadStick(int pad, int stick, float x, float y) {
  host->pads[pad].present = true;
  host->pads[pad].x[stick] = x;
  host->pads[pad].y[stick] = y;
}

void GameHarness::LoseFocus() { host->SuspendGame(); }

void GameHarness::RegainFocus() { host->ResumeGame(); }

void GameHarness::Resize(int width, int height) { gl->SetWindowSize(width, height); }

std::vector<DrawRecord> GameHarness::Records() const {
  std::vector<DrawRecord> records;
  for (int i = 0; i + DRAW_RECORD_FLOATS <= app->drawCount; i += DRAW_RECORD_FLOATS) {
    const float* r = &app->drawList[i];
    DrawRecord record{};
    record.kind = r[0] == VX_NONE   ? DrawRecord::RECT
                  : r[0] == VX_OVAL ? DrawRecord::OVAL
                  : r[0] > -1       ? DrawRecord::IMAGE
                                    : DrawRecord::OTHER;
    record.slot = record.kind == DrawRecord::IMAGE ? static_cast<int>(r[0]) : -1;
    record.x = r[1];
    record.y = r[2];
    record.rotation = r[3];
    record.sizeX = r[4];
    record.sizeY = r[5];
    record.frame = r[6];
    record.alpha = r[7];
    record.red = r[10];
    record.green = r[11];
    record.blue = r[12];
    record.blend = static_cast<int>(r[13]);
    records.push_back(record);
  }
  return records;
}

std::vector<DrawRecord> GameHarness::Images(int slot) const {
  std::vector<DrawRecord> found;
  for (const DrawRecord& r : Records()) {
    if (r.kind == DrawRecord::IMAGE && r.slot == slot) found.push_back(r);
  }
  return found;
}

std::string GameHarness::Text() const {
  constexpr float WIDEST_ADVANCE = 10.5f;  // a cell of 7 units, the widest letter's 2, and some room
  std::string text;
  std::vector<DrawRecord> records = Records();
  const DrawRecord* previous = nullptr;
  for (const DrawRecord& r : records) {
    if (r.kind != DrawRecord::IMAGE || r.slot != app->fontSlot) {
      if (previous) text += '\n';
      previous = nullptr;
      continue;
    }
    if (previous) {
      // Along and across the writing direction of the previous glyph.
      float a = -previous->rotation * 0.0174532924f;
      float dx = r.x - previous->x, dy = r.y - previous->y;
      float along = dx * std::cos(a) + dy * std::sin(a), across = -dx * std::sin(a) + dy * std::cos(a);
      if (r.rotation != previous->rotation || std::fabs(across) > 0.01f) {
        text += '\n';
      } else if (along > WIDEST_ADVANCE * std::fabs(r.sizeX)) {
        text += ' ';
      }
    }
    text += static_cast<char>(static_cast<int>(r.frame) + 32);
    previous = &r;
  }
  return text;
}

int GameHarness::SoundSlot(const AudioCall& call) const {
  // Effects are loaded from ".../sfx/NNN.wav".
  size_t at = call.path.rfind("sfx/");
  if (at == std::string::npos || call.path.size() != at + 11) return -1;
  return std::stoi(call.path.substr(at + 4, 3));
}

std::vector<int> GameHarness::SoundsPlayed() const {
  std::vector<int> slots;
  for (const AudioCall& call : audio->Named("PlaySample")) {
    if (call.channel != VX_AUDIO_MUSIC_CHANNEL) slots.push_back(SoundSlot(call));
  }
  return slots;
}

std::string GameHarness::StateFile() const {
  std::ifstream file(folder_.Path(".vorlixstate"), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

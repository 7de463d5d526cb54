#include "tests/support/game_harness.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/app.h"
#include "framework/game_delegate.h"
#include "framework/key_codes.h"
#include "framework/random.h"
#include "game/core/globals.h"
#include "host/command_line.h"
#include "host/glfw2.h"
#include "host/input_translation.h"
#include "runtime/fatal.h"
#include "runtime/gc.h"
#include "runtime/startup.h"
#include "tests/support/subprocess.h"

namespace {

gxtkAudio* NewRecordingAudio() { return new RecordingAudio(); }

void MarkNothing() {}

struct ProgramEnded {};
void EndHere() { throw ProgramEnded(); }

// Destroys every collectable object: the program's roots are gone, so after
// two whole cycles everything is garbage, and allocation destroys garbage.
void DestroyEverything() {
  gc_init2(MarkNothing);
  gc_collect_all();
  gc_collect_all();
  while (gc_free_bytes > 0) gc_object::operator delete(gc_object_alloc(8), 8);
}

}  // namespace

bool HarnessHost::KeyHeld(int glfwKey) { return keysDown.count(TransKey(glfwKey)) != 0; }

void HarnessHost::OpenWindow(int width, int height, int, int, int, int, int, int, bool) {
  keysDown.clear();
  recorder->SetWindowSize(width, height);
  ++glfwGraphicsSeq;
}

bool HarnessHost::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float>, Array<bool> buttons) {
  const Pad& pad = pads[port];
  if (!pad.present) return false;
  for (int s = 0; s < 2; ++s) joyx[s] = pad.x[s], joyy[s] = pad.y[s];
  for (int b = 0; b < 32; ++b) buttons[b] = pad.buttons[b];
  return true;
}

int HarnessHost::ReplaceFile(const char* from, const char* to) {
  return failSaves ? -1 : VxGlfwGame::ReplaceFile(from, to);
}

GameHarness::GameHarness(HarnessOptions options) {
  std::string data = options.dataFolder.empty() ? BuildPath("run/data") : options.dataFolder;
  std::filesystem::remove(folder_.Path("data"));
  std::filesystem::create_directory_symlink(data, folder_.Path("data"));
  if (!options.state.empty()) WriteFile(folder_.Path(".vorlixstate"), options.state);

  setenv("ALSOFT_DRIVERS", "null", 1);
  c_GameDelegate::m_newAudio = NewRecordingAudio;

  host = new HarnessHost();
  VxGame::_game = host;
  VxGlfwGame::_glfwGame = host;
  gl = std::make_unique<GlRecorder>();
  host->recorder = gl.get();
  host->SetGlfwWindow(options.width, options.height, 8, 8, 8, 0, 0, 0, false);

  arguments_ = options.arguments;
  arguments_.insert(arguments_.begin(), "kalvexa");
  for (const std::string& a : arguments_) argv_.push_back(a.c_str());
  vx_std_main(static_cast<int>(argv_.size()), argv_.data());
  if (!options.record.empty()) {
    recording = std::make_unique<VxRecorder>(fopen(options.record.c_str(), "w"),
                                             vx_Kalvexa_GameSwitches(static_cast<int>(argv_.size()), argv_.data()),
                                             vx_random_Seed);
    host->SetReplay(recording.get());
  }
  host->StartGame();
  // The program's orderly end is thrown from where it would exit, so that a
  // test never ends in the middle, seemingly passed.
  vx_at_orderly_end(EndHere);
  app = static_cast<c_MyApp*>(vx_app__app);
  audio = static_cast<RecordingAudio*>(vx_audio_device);
  Render();
  if (options.load) FinishLoading();
}

GameHarness::~GameHarness() {
  DestroyEverything();
  // Buffer names belong to this harness's OpenAL device; the next one's may reuse them.
  gxtkAudio::discarded.clear();
  VxGame::_game = nullptr;
  VxGlfwGame::_glfwGame = nullptr;
  delete host;
  c_GameDelegate::m_newAudio = nullptr;
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

void GameHarness::TouchDown(int finger, float x, float y) {
  host->TouchEvent(c_VxGameEvent::TouchDown, finger, WindowX(x), WindowY(y));
}

void StartPlay(GameHarness& game, int mode, unsigned seed) {
  StartPlay(*game.app, mode, seed);
  game.Step();
}

bool GameHarness::Ends(const std::function<void()>& act) {
  vx_at_orderly_end(EndHere);
  try {
    act();
  } catch (const ProgramEnded&) {
    for (int key : std::set<int>(host->keysDown)) KeyUp(key);
    return true;
  }
  return false;
}

std::vector<DrawRecord> GameHarness::Records() const {
  std::vector<DrawRecord> records(app->drawCount / DRAW_RECORD_FLOATS);
  if (!records.empty()) std::memcpy(records.data(), &app->drawList[0], records.size() * sizeof(DrawRecord));
  return records;
}

std::vector<DrawRecord> GameHarness::Images(int slot) const {
  std::vector<DrawRecord> found;
  for (const DrawRecord& r : Records()) {
    if (r.kind == slot) found.push_back(r);
  }
  return found;
}

std::string GameHarness::Text() const {
  constexpr float WIDEST_ADVANCE = 10.5f;  // a cell of 7 units, the widest letter's 2, and some room
  std::string text;
  std::vector<DrawRecord> records = Records();
  const DrawRecord* previous = nullptr;
  for (const DrawRecord& r : records) {
    if (r.kind != app->fontSlot) {
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

std::vector<Sound> GameHarness::SoundsPlayed() const {
  // Effects are loaded from ".../sfx/NNN.wav"; each play sets the rate and then the volume.
  std::vector<Sound> sounds;
  const std::vector<AudioCall>& calls = audio->calls;
  for (size_t i = 0; i + 2 < calls.size(); ++i) {
    size_t at = calls[i].path.rfind("sfx/");
    if (calls[i].name != "PlaySample" || at == std::string::npos || calls[i].path.size() != at + 11) continue;
    sounds.push_back({std::stoi(calls[i].path.substr(at + 4, 3)), calls[i + 1].value, calls[i + 2].value});
  }
  return sounds;
}

std::string GameHarness::StateFile() const {
  std::ifstream file(folder_.Path(".vorlixstate"), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

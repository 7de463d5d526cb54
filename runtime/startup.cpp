#include "runtime/startup.h"

#include "audio/audio.h"
#include "framework/app.h"
#include "framework/async_event.h"
#include "framework/game_delegate.h"
#include "framework/input.h"
#include "framework/input_device.h"
#include "framework/random.h"
#include "framework/stack.h"
#include "game/core/globals.h"
#include "game/core/my_app.h"
#include "graphics/graphics.h"
#include "graphics/graphics_device.h"
#include "host/command_line.h"
#include "host/vx_game.h"
#include "runtime/fatal.h"
#include "runtime/gc.h"

int argc = 0;
const char** argv = nullptr;

namespace {

constexpr int INITIAL_RANDOM_SEED = 1234;

}  // namespace

// Every module global that holds an object, in this order.
void vx_mark_roots() {
  gc_queue(vx_app__app);
  gc_queue(vx_app__delegate);
  gc_queue(vx_graphics_device);
  gc_queue(vx_graphics_context);
  gc_queue(vx_audio_device);
  gc_queue(vx_input_device);
  gc_queue(vx_graphics_renderDevice);
  gc_queue(vx_asyncevent__current);
  gc_queue(vx_asyncevent__sources);
  gc_queue(c_Stack::m_NIL);
  gc_queue(vx_Kalvexa_CreditText);
}

// Every module global, in a fixed order: the game's settings are in place
// before the app object exists.
int vxInit() {
  vx_app__app = nullptr;
  vx_app__delegate = nullptr;
  vx_app__game = VxGame::_game;
  vx_graphics_device = nullptr;
  gc_assign(vx_graphics_context, (new c_GraphicsContext())->m_new());
  c_Image::m_DefaultFlags = 0;
  vx_audio_device = nullptr;
  vx_input_device = nullptr;
  vx_graphics_renderDevice = nullptr;
  vx_Kalvexa_isOuya = 0;
  vx_Kalvexa_overscan = 0;
  vx_app__updateRate = 0;
  vx_Kalvexa_HasMusic = 0;
  vx_Kalvexa_DebugMode = 0;
  vx_Kalvexa_rawscrw = 640;
  vx_Kalvexa_rawscrh = 480;
  vx_Kalvexa_jscrw = 640;
  vx_Kalvexa_jscrh = 480;
  vx_Kalvexa_iCadeControls = 0;
  vx_asyncevent__current = nullptr;
  gc_assign(vx_asyncevent__sources, (new c_Stack())->m_new());
  c_Stack::m_NIL = nullptr;
  vx_Kalvexa_HasMusicStream = 1;
  vx_random_Seed = INITIAL_RANDOM_SEED;
  gc_assign(vx_Kalvexa_CreditText, vx_Kalvexa_MakeCreditText());
  vx_Kalvexa_OnScreenControls = 0;
  vx_Kalvexa_AccelerometerControls = 0;
  return 0;
}

// The game's one app object. Its constructor allocates the game's tables; a
// constructor that throws gives its block back before the exception goes on.
int vxMain() {
  (new c_MyApp())->m_new();
  return 0;
}

void vx_start_runtime(int count, const char** arguments) {
  argc = count;
  argv = arguments;
  vx_install_fault_handlers();
  gc_init1();
  vxInit();
  gc_init2(vx_mark_roots);
}

int vx_std_main(int count, const char** arguments) {
  vx_start_runtime(count, arguments);
  vx_Kalvexa_ApplyCommandLine(count, arguments);
  return vxMain();
}

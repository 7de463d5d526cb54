// Runs one caller error of the graphics module, named by the argument, so a
// test can watch the fatal error end the process.
#include <cstdlib>
#include <cstring>

#include "graphics/graphics.h"
#include "host/vx_game.h"
#include "tests/graphics/gl_recorder.h"

namespace {

gxtkSurface* Surface(int w, int h) {
  gxtkSurface* s = new gxtkSurface();
  s->SetData(static_cast<unsigned char*>(calloc(static_cast<size_t>(w) * h, 4)), w, h, 4);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const char* mode = argv[1];
  GlRecorder gl;
  VxGlfwGame host;
  VxGame::_game = &host;
  VxGlfwGame::_glfwGame = &host;
  vx_graphics_context = (new c_GraphicsContext())->m_new();
  vx_graphics_SetGraphicsDevice(new gxtkGraphics());
  vx_graphics_device->BeginRender();
  vx_graphics_BeginRender();

  if (!strcmp(mode, "grid")) {
    // ./data/grid.png, 64 x 64, is the caller's.
    if (!vx_graphics_LoadImage2(String("grid.png"), 16, 16, 17, 0)) return 3;
  } else if (!strcmp(mode, "strip")) {
    (new c_Image())->m_new()->p_Init(Surface(64, 64), 0, 0);
  } else if (!strcmp(mode, "frame")) {
    vx_graphics_DrawImage((new c_Image())->m_new()->p_Init(Surface(8, 8), 1, 0), 0, 0, 1);
  } else if (!strcmp(mode, "push")) {
    for (int i = 0; i <= VX_GRAPHICS_MATRIX_DEPTH; ++i) vx_graphics_PushMatrix();
  } else if (!strcmp(mode, "pop")) {
    vx_graphics_PopMatrix();
  } else if (!strcmp(mode, "write")) {
    vx_graphics_device->WritePixels2(vx_graphics_device->CreateSurface(16, 16), Array<int>(64), 10, 10, 8, 8, 0, 8);
  } else if (!strcmp(mode, "read")) {
    vx_graphics_ReadPixels(Array<int>(5), 0, 0, 3, 2, 0, 3);
  } else {
    return 2;
  }
  return 0;
}

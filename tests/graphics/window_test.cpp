// The renderer in a real window, pixels read back before the swap. A program
// of its own: Mesa's driver leaves allocations that LeakSanitizer would report.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "graphics/graphics.h"
#include "host/glfw2.h"
#include "host/vx_game.h"

extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }

namespace {

constexpr uint32_t WHITE = 0xFFFFFFFFu, RED = 0xFFFF0000u, BLUE = 0xFF0000FFu;

uint32_t Pixel(int x, int y) {
  Array<int> pixel(1);
  vx_graphics_ReadPixels(pixel, x, y, 1, 1, 0, 1);
  return static_cast<uint32_t>(pixel[0]);
}

// Each channel within one step of the expected value.
void ExpectNear(uint32_t actual, uint32_t expected) {
  for (int shift = 0; shift < 32; shift += 8) {
    EXPECT_NEAR(actual >> shift & 0xFF, expected >> shift & 0xFF, 1) << std::hex << actual << " " << expected;
  }
}

TEST(Window, ColoursBlendPremultipliedOrAddedRectanglesCoverExactlyTheirPixelsAndRowsReadBackTopFirst) {
  ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test draws into a real window and needs a display";
  ASSERT_TRUE(glfwInit());
  // As the host does it: every window is a new GL context.
  ASSERT_TRUE(glfwOpenWindow(640, 480, 8, 8, 8, 0, 0, 0, GLFW_WINDOW));
  ++glfwGraphicsSeq;
  vx_graphics_context = (new c_GraphicsContext())->m_new();
  gxtkGraphics* device = new gxtkGraphics();
  vx_graphics_SetGraphicsDevice(device);
  device->BeginRender();
  vx_graphics_BeginRender();
  vx_graphics_Cls(0, 0, 255);

  // 128 of red over blue kept at 1 - 128 / 255; a half-transparent colour the same way.
  unsigned char* red = static_cast<unsigned char*>(malloc(4 * 4 * 4));
  for (int i = 0; i < 16; ++i) red[i * 4] = 255, red[i * 4 + 1] = red[i * 4 + 2] = 0, red[i * 4 + 3] = 128;
  gxtkSurface* texture = new gxtkSurface();
  texture->SetData(red, 4, 4, 4);
  vx_graphics_ValidateMatrix();
  device->DrawSurface(texture, 10, 10);
  ExpectNear(Pixel(11, 11), 0xFF80007Fu);
  EXPECT_EQ(Pixel(14, 14), BLUE);
  vx_graphics_SetColor(0, 255, 0);
  vx_graphics_SetAlpha(0.5f);
  vx_graphics_DrawRect(20, 20, 4, 4);
  ExpectNear(Pixel(21, 21), 0xFF007F80u);

  vx_graphics_SetAlpha(1);
  vx_graphics_SetBlend(1);
  vx_graphics_SetColor(100, 100, 0);
  vx_graphics_DrawRect(40, 0, 8, 8);
  vx_graphics_SetBlend(1);  // already in force
  vx_graphics_DrawRect(44, 4, 8, 8);
  EXPECT_EQ(Pixel(41, 1), 0xFF6464FFu);
  EXPECT_EQ(Pixel(45, 5), 0xFFC8C8FFu);
  vx_graphics_SetBlend(0);
  vx_graphics_DrawRect(45, 5, 1, 1);
  EXPECT_EQ(Pixel(45, 5), 0xFF646400u) << "normal blending replaces with an opaque colour";

  // The scissored box and the rectangle white at their corners and blue just outside them.
  vx_graphics_SetColor(255, 255, 255);
  vx_graphics_SetScissor(10, 30, 20, 10);
  vx_graphics_DrawRect(0, 0, 100, 100);
  vx_graphics_SetScissor(0, 0, 640, 480);  // a full-window scissor is no scissor
  vx_graphics_DrawRect(200, 20, 30, 40);
  const int white[][2] = {{10, 30}, {29, 39}, {200, 20}, {229, 59}};
  const int blue[][2] = {{9, 30}, {10, 29}, {30, 39}, {29, 40}, {199, 20}, {200, 19}, {230, 59}, {229, 60}};
  for (const auto& p : white) EXPECT_EQ(Pixel(p[0], p[1]), WHITE) << p[0] << "," << p[1];
  for (const auto& p : blue) EXPECT_EQ(Pixel(p[0], p[1]), BLUE) << p[0] << "," << p[1];

  // Rows top first, as ARGB, at the offset and pitch asked for.
  vx_graphics_SetColor(255, 0, 0);
  vx_graphics_DrawRect(300, 0, 3, 1);
  Array<int> block(2 + 3 * 4);
  device->ReadPixels(block, 300, 0, 3, 2, 2, 4);
  EXPECT_EQ(std::vector<uint32_t>(block.begin(), block.end()),
            (std::vector<uint32_t>{0, 0, RED, RED, RED, 0, BLUE, BLUE, BLUE, 0, 0, 0, 0, 0}));
  vx_graphics_EndRender();
  glfwCloseWindow();
  glfwTerminate();
  glfwGraphicsSeq = 0;
}

}  // namespace

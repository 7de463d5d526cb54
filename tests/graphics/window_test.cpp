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

constexpr uint32_t BLACK = 0xFF000000u, WHITE = 0xFFFFFFFFu, RED = 0xFFFF0000u, GREEN = 0xFF00FF00u;

class WindowTest : public ::testing::Test {
 protected:
  static bool windowSystem;
  gxtkGraphics* device = nullptr;

  static void SetUpTestSuite() { windowSystem = getenv("DISPLAY") && glfwInit(); }
  static void TearDownTestSuite() {
    if (windowSystem) glfwTerminate();
  }

  void SetUp() override {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "these tests draw into a real window and need a display";
    ASSERT_TRUE(windowSystem) << "glfwInit failed";
    // As the host does it: every window is a new GL context.
    ASSERT_TRUE(glfwOpenWindow(640, 480, 8, 8, 8, 0, 0, 0, GLFW_WINDOW));
    ++glfwGraphicsSeq;
    vx_graphics_context = (new c_GraphicsContext())->m_new();
    device = new gxtkGraphics();
    vx_graphics_SetGraphicsDevice(device);
    device->BeginRender();
    vx_graphics_BeginRender();
    vx_graphics_Cls(0, 0, 0);
  }

  void TearDown() override {
    vx_graphics_EndRender();
    glfwCloseWindow();
    glfwGraphicsSeq = 0;
    vx_graphics_device = nullptr;
    vx_graphics_context = nullptr;
  }

  uint32_t Pixel(int x, int y) {
    Array<int> pixel(1);
    vx_graphics_ReadPixels(pixel, x, y, 1, 1, 0, 1);
    return static_cast<uint32_t>(pixel[0]);
  }

  // The w x h rectangle at x, y is white at its corners and black just outside them.
  void ExpectWhiteBox(int x, int y, int w, int h) {
    const int inside[][2] = {{x, y}, {x + w - 1, y + h - 1}};
    const int outside[][2] = {{x - 1, y}, {x, y - 1}, {x + w, y + h - 1}, {x + w - 1, y + h}};
    for (const auto& p : inside) EXPECT_EQ(Pixel(p[0], p[1]), WHITE) << p[0] << "," << p[1];
    for (const auto& p : outside) EXPECT_EQ(Pixel(p[0], p[1]), BLACK) << p[0] << "," << p[1];
  }

  // An RGBA surface of w x h pixels given as 0xAARRGGBB: `left` in the left half, `right` in the other.
  static gxtkSurface* Picture(int w, int h, uint32_t left, uint32_t right) {
    unsigned char* bytes = static_cast<unsigned char*>(malloc(static_cast<size_t>(w) * h * 4));
    for (int i = 0; i < w * h; ++i) {
      uint32_t argb = i % w < w / 2 ? left : right;
      unsigned char* p = bytes + i * 4;
      p[0] = argb >> 16 & 0xFF, p[1] = argb >> 8 & 0xFF, p[2] = argb & 0xFF, p[3] = argb >> 24;
    }
    gxtkSurface* s = new gxtkSurface();
    s->SetData(bytes, w, h, 4);
    s->Bind();
    return s;
  }
};

bool WindowTest::windowSystem = false;

// Each channel within one step of the expected value.
void ExpectNear(uint32_t actual, uint32_t expected) {
  for (int shift = 0; shift < 32; shift += 8) {
    int a = actual >> shift & 0xFF, e = expected >> shift & 0xFF;
    EXPECT_NEAR(a, e, 1) << std::hex << "actual " << actual << " expected " << expected;
  }
}

TEST_F(WindowTest, HalfTransparentTexturesBlendPremultipliedOverTheBackground) {
  gxtkSurface* red = Picture(4, 4, 0x80FF0000u, 0x80FF0000u);
  vx_graphics_Cls(0, 0, 255);
  vx_graphics_ValidateMatrix();
  device->DrawSurface(red, 10, 10);
  // 128 of red over blue kept at 1 - 128 / 255.
  ExpectNear(Pixel(11, 11), 0xFF80007Fu);
  EXPECT_EQ(Pixel(14, 14), 0xFF0000FFu);

  // A half-transparent colour is premultiplied the same way.
  vx_graphics_SetColor(0, 255, 0);
  vx_graphics_SetAlpha(0.5f);
  vx_graphics_DrawRect(20, 20, 4, 4);
  ExpectNear(Pixel(21, 21), 0xFF007F80u);
}

TEST_F(WindowTest, AdditiveBlendingAddsTheColours) {
  vx_graphics_Cls(100, 0, 0);
  vx_graphics_SetBlend(1);
  vx_graphics_SetColor(0, 100, 50);
  vx_graphics_DrawRect(0, 0, 8, 8);
  vx_graphics_SetBlend(1);  // already in force
  vx_graphics_DrawRect(4, 4, 8, 8);
  EXPECT_EQ(Pixel(1, 1), 0xFF646432u);
  EXPECT_EQ(Pixel(5, 5), 0xFF64C864u);
  vx_graphics_SetBlend(0);
  vx_graphics_DrawRect(5, 5, 1, 1);
  EXPECT_EQ(Pixel(5, 5), 0xFF006432u) << "normal blending replaces with an opaque colour";
}

TEST_F(WindowTest, RectanglesCoverExactlyTheirPixelsAndTheScissorClipsThemUntilReset) {
  vx_graphics_SetScissor(10, 30, 20, 10);
  vx_graphics_DrawRect(0, 0, 100, 100);
  vx_graphics_SetScissor(0, 0, 640, 480);  // a full-window scissor is no scissor
  vx_graphics_DrawRect(200, 20, 30, 40);
  ExpectWhiteBox(10, 30, 20, 10);
  ExpectWhiteBox(200, 20, 30, 40);
}

TEST_F(WindowTest, DrawImage2TurnsAPictureCounterClockwiseAboutItsHandle) {
  // Left half red, right half green; the handle at the centre.
  gxtkSurface* sheet = Picture(16, 8, RED, GREEN);
  c_Image* image = (new c_Image())->m_new()->p_Init(sheet, 1, c_Image::HandleCentered);
  vx_graphics_DrawImage2(image, 100, 100, 90, 1, 1, 0);
  // The right half now points up, the left half down; 8 wide and 16 tall.
  const struct {
    int x, y;
    uint32_t colour;
  } expected[] = {{100, 93, GREEN}, {97, 99, GREEN},   {100, 101, RED},  {103, 107, RED},
                  {100, 91, BLACK}, {100, 108, BLACK}, {95, 100, BLACK}, {104, 100, BLACK}};
  for (const auto& e : expected) EXPECT_EQ(Pixel(e.x, e.y), e.colour) << e.x << "," << e.y;

  // Doubled about the handle, unturned.
  vx_graphics_Cls(0, 0, 0);
  vx_graphics_DrawImage2(image, 100, 100, 0, 2, 2, 0);
  EXPECT_EQ(Pixel(84, 92), RED);
  EXPECT_EQ(Pixel(115, 107), GREEN);
  EXPECT_EQ(Pixel(116, 100), BLACK);
}

TEST_F(WindowTest, ReadPixelsGivesRowsTopFirstAsArgb) {
  vx_graphics_SetColor(255, 0, 0);
  vx_graphics_DrawRect(0, 0, 3, 1);
  vx_graphics_SetColor(0, 0, 255);
  vx_graphics_DrawRect(0, 2, 3, 1);
  Array<int> block(2 + 3 * 4);
  device->ReadPixels(block, 0, 0, 3, 3, 2, 4);
  std::vector<uint32_t> got(block.begin(), block.end());
  EXPECT_EQ(got, (std::vector<uint32_t>{0, 0, RED, RED, RED, 0, BLACK, BLACK, BLACK, 0, 0xFF0000FFu, 0xFF0000FFu,
                                        0xFF0000FFu, 0}));
}

}  // namespace

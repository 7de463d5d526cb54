#include "graphics/graphics_device.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics/surface.h"
#include "tests/support/gl_recorder.h"

namespace {

using Args = std::vector<double>;

class DeviceTest : public ::testing::Test {
 protected:
  GlRecorder gl;
  gxtkGraphics* device = new gxtkGraphics();

  void SetUp() override {
    device->BeginRender();
    device->SetColor(255, 255, 255);
    device->SetAlpha(1);
    gl.Clear();
  }

  // Ends the frame and gives what was drawn, forgetting it.
  std::vector<GlCall> Flushed() {
    device->EndRender();
    std::vector<GlCall> draws = gl.Draws();
    gl.Clear();
    return draws;
  }
};

TEST_F(DeviceTest, AFullBatchIs256QuadsInOneDrawElementsAndClsDiscardsWhatIsNotYetDrawn) {
  for (int i = 0; i < 256; ++i) device->DrawRect(static_cast<float>(i), 0, 1, 1);
  EXPECT_EQ(gl.Draws().size(), 0u) << "nothing reaches GL before the batch is full";
  device->DrawRect(300, 0, 1, 1);
  std::vector<GlCall> draws = Flushed();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].args, (Args{GL_TRIANGLES, 1536, GL_UNSIGNED_SHORT}));
  EXPECT_EQ(draws[0].vertices[1020].x, 255.0f);
  EXPECT_EQ(draws[1].args[1], 6);
  EXPECT_EQ(draws[1].vertices[0].x, 300.0f);

  device->DrawRect(0, 0, 10, 10);
  device->Cls(255, 51, 0);
  EXPECT_EQ(Flushed().size(), 0u);
}

TEST_F(DeviceTest, ColourMatrixAndTheBlendInForceStayInTheBatchWhileBlendChangesFlushIt) {
  // Premultiplied by alpha as ABGR bytes, out-of-range terms spilling over unclamped.
  const struct {
    float r, g, b, a;
    uint32_t packed;
  } colours[] = {{0, 0, 0, 1, 0xFF000000u},
                 {255, 0, 0, 1, 0xFF0000FFu},
                 {200, 100, 50, 0.5f, 0x7F193264u},
                 {300, 0, 0, 1, 0xFF00012Cu}};
  for (const auto& c : colours) {
    device->SetAlpha(c.a);
    device->SetColor(c.r, c.g, c.b);
    device->DrawRect(0, 0, 1, 1);
  }
  device->SetMatrix(0, 1, -1, 0, 100, 50);
  device->DrawRect(10, 0, 5, 5);
  device->SetMatrix(1, 0, 0, 1, 0, 0);
  std::vector<GlCall> draws = Flushed();
  ASSERT_EQ(draws.size(), 1u);
  for (size_t i = 0; i < std::size(colours); ++i) EXPECT_EQ(draws[0].vertices[4 * i].color, colours[i].packed) << i;
  EXPECT_FLOAT_EQ(draws[0].vertices[16].x, 100);
  EXPECT_FLOAT_EQ(draws[0].vertices[16].y, 60);

  // Mode 0 is in force after BeginRender, and every mode but 1 blends alike.
  for (int mode : {0, 2, 1, 1, 0, 1}) {
    device->SetBlend(mode);
    device->DrawRect(0, 0, 1, 1);
  }
  EXPECT_EQ(gl.Count("BlendFunc"), 3);
  EXPECT_EQ(Flushed().size(), 4u);
}

TEST_F(DeviceTest, OnlyPrimitivesOfOneVertexCountAndOneSurfaceShareABatch) {
  gxtkSurface* a = device->CreateSurface(16, 16);
  gxtkSurface* b = device->CreateSurface(16, 16);
  device->DrawRect(0, 0, 1, 1);
  device->DrawPoint(5, 5);
  device->DrawLine(0, 0, 1, 1);
  device->DrawLine(0, 0, 1, 1);
  device->DrawPoly(Array<float>(6));  // three points: a triangle
  device->DrawRect(0, 0, 1, 1);
  device->DrawPoly(Array<float>(8));  // four points: a quad
  device->DrawPoly(Array<float>(10));
  device->DrawPoly(Array<float>(10));
  device->DrawSurface(a, 0, 0);
  device->DrawSurface(a, 20, 0);
  device->DrawSurface(b, 0, 0);
  device->DrawRect(0, 0, 1, 1);
  std::vector<GlCall> draws = Flushed();
  ASSERT_EQ(draws.size(), 10u);
  const Args expected[] = {{GL_TRIANGLES, 6, GL_UNSIGNED_SHORT},
                           {GL_POINTS, 0, 1},
                           {GL_LINES, 0, 4},
                           {GL_TRIANGLES, 0, 3},
                           {GL_TRIANGLES, 12, GL_UNSIGNED_SHORT},
                           {GL_TRIANGLE_FAN, 0, 5},
                           {GL_TRIANGLE_FAN, 5, 5}};  // the second fan of one buffer
  for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(draws[i].args, expected[i]) << i;
  EXPECT_EQ(draws[7].texture, a->textureName);
  EXPECT_EQ(draws[7].args[1], 12);
  EXPECT_EQ(draws[8].texture, b->textureName);
  EXPECT_FALSE(draws[9].textured) << "texturing is switched off after a textured batch";
}

// Ovals get as many segments as pixels of radius, from 12 to 1024; polygons one to 1024 vertices.
TEST_F(DeviceTest, OvalsAndPolygonsKeepTheirVertexCountsWithinBounds) {
  const float ovals[][4] = {{4, 4, 1, 12}, {5000, 5000, 1, 1024}, {-30, -30, 1, 28}, {NAN, 10, 1, 12}, {30, 30, 2, 60}};
  for (const auto& c : ovals) {
    device->SetMatrix(c[2], 0, 0, c[2], 0, 0);
    device->DrawOval(0, 0, c[0], c[1]);
    std::vector<GlCall> draws = Flushed();
    ASSERT_EQ(draws.size(), 1u) << c[0];
    EXPECT_EQ(draws[0].args[2], c[3]) << c[0];
  }
  // An odd float is left out.
  const int floats[] = {2048, 2049, 2050, 1, 2}, drawn[] = {1024, 1024, 0, 0, 1};
  for (int i = 0; i < 5; ++i) {
    device->DrawPoly(Array<float>(floats[i]));
    size_t n = 0;
    for (const GlCall& draw : Flushed()) n += draw.vertices.size();
    EXPECT_EQ(n, static_cast<size_t>(drawn[i])) << floats[i] << " floats";
  }
  gxtkSurface* surface = device->CreateSurface(16, 16);
  Array<float> textured(4 * 3);
  textured[2] = 4;  // u of the first vertex
  textured[3] = 8;  // v
  device->DrawPoly2(textured, surface, 2, 4);
  device->DrawPoly2(Array<float>(4 * 1025), surface, 0, 0);
  std::vector<GlCall> draws = Flushed();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].u, 6.0f / 16);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].v, 12.0f / 16);
}

TEST_F(DeviceTest, DrawingInWindowUnitsCoversEveryPixelOfAScaledFramebuffer) {
  gl.framebufferWidth = 1280;
  gl.framebufferHeight = 960;
  device->BeginRender();
  EXPECT_EQ(gl.Named("Viewport").back().args, (Args{0, 0, 1280, 960}));
  EXPECT_EQ(gl.Named("Ortho").back().args, (Args{0, 640, 480, 0, -1, 1}));
  EXPECT_EQ(device->Width(), 640);
  device->SetScissor(10, 20, 100, 50);
  EXPECT_EQ(gl.Named("Scissor").back().args, (Args{20, 820, 200, 100}));

  // A window with no client area at all.
  gl.SetWindowSize(0, 0);
  device->BeginRender();
  device->SetScissor(0, 0, 0, 0);
  device->DrawRect(0, 0, 10, 10);
  EXPECT_EQ(gl.Named("Viewport").back().args, (Args{0, 0, 0, 0}));
  EXPECT_EQ(gl.Named("Disable").back().args[0], GL_SCISSOR_TEST);
  EXPECT_EQ(Flushed().size(), 1u);
}

}  // namespace

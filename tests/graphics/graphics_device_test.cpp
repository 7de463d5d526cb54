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

  static Array<float> Floats(int n) {
    Array<float> a(n);
    for (int i = 0; i < n; ++i) a[i] = static_cast<float>(i % 7);
    return a;
  }
};

TEST_F(DeviceTest, AFullBatchIs256QuadsInOneDrawElementsAndThe257thOpensTheNext) {
  for (int i = 0; i < 256; ++i) device->DrawRect(static_cast<float>(i), 0, 1, 1);
  EXPECT_EQ(gl.Draws().size(), 0u) << "nothing reaches GL before the batch is full";

  device->DrawRect(300, 0, 1, 1);
  ASSERT_EQ(gl.Draws().size(), 1u);
  EXPECT_EQ(gl.Draws()[0].args, (Args{GL_TRIANGLES, 1536, GL_UNSIGNED_SHORT}));
  EXPECT_EQ(gl.Draws()[0].vertices[1020].x, 255.0f);
  // Quad q is the triangles (4q, 4q+1, 4q+2) and (4q, 4q+2, 4q+3).
  EXPECT_EQ(std::vector<uint16_t>(device->quadIndexList + 6, device->quadIndexList + 12),
            (std::vector<uint16_t>{4, 5, 6, 4, 6, 7}));

  std::vector<GlCall> draws = Flushed();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[1].args[1], 6);
  EXPECT_EQ(draws[1].vertices[0].x, 300.0f);
}

TEST_F(DeviceTest, ColourMatrixAndTheBlendInForceStayInTheBatchWhileBlendChangesFlushIt) {
  device->SetColor(0, 0, 0);
  device->DrawRect(0, 0, 1, 1);
  device->SetColor(255, 0, 0);
  device->SetMatrix(0, 1, -1, 0, 100, 50);
  device->DrawRect(10, 0, 5, 5);
  device->SetMatrix(1, 0, 0, 1, 0, 0);
  std::vector<GlCall> draws = Flushed();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].vertices[0].color, 0xFF000000u);
  EXPECT_EQ(draws[0].vertices[4].color, 0xFF0000FFu);
  EXPECT_FLOAT_EQ(draws[0].vertices[4].x, 100);
  EXPECT_FLOAT_EQ(draws[0].vertices[4].y, 60);

  // Mode 0 is in force after BeginRender, and every mode but 1 blends alike.
  for (int mode : {0, 2, 1, 1, 0, 1}) {
    device->SetBlend(mode);
    device->DrawRect(0, 0, 1, 1);
  }
  std::vector<GlCall> blends = gl.Named("BlendFunc");
  EXPECT_EQ(Flushed().size(), 4u);
  ASSERT_EQ(blends.size(), 3u);
  EXPECT_EQ(blends[0].args, (Args{GL_ONE, GL_ONE}));
  EXPECT_EQ(blends[1].args, (Args{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
}

TEST_F(DeviceTest, PrimitivesBatchOnlyWithOthersOfTheSameVertexCount) {
  device->DrawRect(0, 0, 1, 1);
  device->DrawPoint(5, 5);
  ASSERT_EQ(gl.Draws().size(), 1u) << "the point flushes the rectangle";

  // Rectangle, 4-point polygon, rectangle: one quad batch after the point.
  device->DrawRect(0, 0, 1, 1);
  device->DrawPoly(Array<float>(8));
  device->DrawRect(0, 0, 1, 1);
  device->DrawPoly(Array<float>(10));
  device->DrawPoly(Array<float>(10));
  std::vector<GlCall> draws = Flushed();
  ASSERT_EQ(draws.size(), 5u);
  EXPECT_EQ(draws[1].args, (Args{GL_POINTS, 0, 1}));
  EXPECT_EQ(draws[2].args, (Args{GL_TRIANGLES, 18, GL_UNSIGNED_SHORT}));
  EXPECT_EQ(draws[4].args, (Args{GL_TRIANGLE_FAN, 5, 5}));
}

TEST_F(DeviceTest, QuadsOfDifferentSurfacesNeverShareABatch) {
  gxtkSurface* a = device->CreateSurface(16, 16);
  gxtkSurface* b = device->CreateSurface(16, 16);
  device->DrawSurface(a, 0, 0);
  device->DrawSurface(a, 20, 0);
  device->DrawSurface(b, 0, 0);
  device->DrawRect(0, 0, 1, 1);
  std::vector<GlCall> draws = Flushed();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0].texture, a->textureName);
  EXPECT_EQ(draws[0].args[1], 12);
  EXPECT_EQ(draws[1].texture, b->textureName);
  EXPECT_FALSE(draws[2].textured) << "texturing is switched off after a textured batch";
}

TEST_F(DeviceTest, ClsDiscardsDrawingNotYetFlushed) {
  device->DrawRect(0, 0, 10, 10);
  device->Cls(255, 51, 0);
  EXPECT_EQ(Flushed().size(), 0u);
}

TEST_F(DeviceTest, OvalsHaveAsManySegmentsAsPixelsOfRadiusWithinBounds) {
  const struct {
    float w, h;
    int segments;
  } cases[] = {{4, 4, 12}, {30, 30, 28}, {5000, 5000, 1024}, {-30, -30, 28}, {NAN, 10, 12}};
  for (const auto& c : cases) {
    device->DrawOval(0, 0, c.w, c.h);
    std::vector<GlCall> draws = Flushed();
    ASSERT_EQ(draws.size(), 1u) << c.w;
    EXPECT_EQ(draws[0].args[2], c.segments) << c.w;
  }
  // Under a transform the radii are counted in window pixels.
  device->SetMatrix(2, 0, 0, 2, 0, 0);
  device->DrawOval(0, 0, 30, 30);
  EXPECT_EQ(Flushed()[0].args[2], 60);
}

TEST_F(DeviceTest, PolygonsOfOneTo1024VerticesAreDrawnAndOthersAreNot) {
  const int floats[] = {2048, 2049, 2050, 1, 2}, drawn[] = {1024, 1024, 0, 0, 1};
  for (int i = 0; i < 5; ++i) {
    device->DrawPoly(Floats(floats[i]));
    size_t n = 0;
    for (const GlCall& draw : Flushed()) n += draw.vertices.size();
    EXPECT_EQ(n, static_cast<size_t>(drawn[i])) << floats[i] << " floats";
  }

  gxtkSurface* surface = device->CreateSurface(16, 16);
  Array<float> textured(4 * 3);
  textured[2] = 4;  // u of the first vertex
  textured[3] = 8;  // v
  device->DrawPoly2(textured, surface, 2, 4);
  device->DrawPoly2(Floats(4 * 1025), surface, 0, 0);
  std::vector<GlCall> draws = Flushed();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].u, 6.0f / 16);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].v, 12.0f / 16);
}

TEST_F(DeviceTest, ScissorAtFullWindowSizeIsOffAndOtherwiseFlippedToGlRows) {
  device->DrawRect(0, 0, 1, 1);
  device->SetScissor(10, 20, 100, 50);
  EXPECT_EQ(gl.Draws().size(), 1u) << "the scissor flushes first";
  EXPECT_EQ(gl.Named("Enable").back().args[0], GL_SCISSOR_TEST);
  EXPECT_EQ(gl.Named("Scissor")[0].args, (Args{10, 410, 100, 50}));

  gl.Clear();
  device->SetScissor(0, 0, 640, 480);
  EXPECT_EQ(gl.Named("Disable").back().args[0], GL_SCISSOR_TEST);
  EXPECT_EQ(gl.Count("Scissor"), 0);
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

TEST_F(DeviceTest, HalfAlphaPacksPremultipliedWhite) {
  device->SetAlpha(0.5f);
  EXPECT_EQ(device->packedColor, 0x7F7F7F7Fu);
}

}  // namespace

#include "graphics/graphics_device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "graphics/surface.h"
#include "tests/graphics/gl_recorder.h"

namespace {

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

  // A 16 x 16 RGBA surface with a texture in the recorder's context.
  gxtkSurface* Surface() { return device->CreateSurface(16, 16); }

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
  std::vector<GlCall> draws = gl.Draws();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].name, "DrawElements");
  EXPECT_EQ(draws[0].args, (std::vector<double>{GL_TRIANGLES, 1536, GL_UNSIGNED_SHORT}));
  EXPECT_EQ(draws[0].vertices[1020].x, 255.0f);
  // Quad q is the triangles (4q, 4q+1, 4q+2) and (4q, 4q+2, 4q+3).
  EXPECT_EQ(std::vector<uint16_t>(device->quadIndexList + 6, device->quadIndexList + 12),
            (std::vector<uint16_t>{4, 5, 6, 4, 6, 7}));
  EXPECT_EQ(device->quadIndexList[1535], 1023);

  device->EndRender();
  draws = gl.Draws();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[1].args[1], 6);
  EXPECT_EQ(draws[1].vertices[0].x, 300.0f);
  EXPECT_EQ(gl.calls.back().name, "SwapBuffers");
}

TEST_F(DeviceTest, ColourChangesStayInTheBatchWhileBlendChangesFlushIt) {
  for (int i = 0; i < 4; ++i) {
    device->SetColor(i % 2 ? 255.0f : 0.0f, 0, 0);
    device->DrawRect(0, 0, 1, 1);
  }
  device->EndRender();
  std::vector<GlCall> draws = gl.Draws();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].vertices[0].color, 0xFF000000u);
  EXPECT_EQ(draws[0].vertices[4].color, 0xFF0000FFu);

  gl.Clear();
  for (int i = 0; i < 4; ++i) {
    device->SetBlend(i % 2);
    device->DrawRect(0, 0, 1, 1);
  }
  device->EndRender();
  EXPECT_EQ(gl.Draws().size(), 4u);
  std::vector<GlCall> blends = gl.Named("BlendFunc");
  ASSERT_EQ(blends.size(), 4u);
  EXPECT_EQ(blends[0].args, (std::vector<double>{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
  EXPECT_EQ(blends[1].args, (std::vector<double>{GL_ONE, GL_ONE}));

  // Only mode 1 is additive.
  gl.Clear();
  device->SetBlend(2);
  EXPECT_EQ(gl.Named("BlendFunc")[0].args, (std::vector<double>{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
}

TEST_F(DeviceTest, PrimitivesBatchOnlyWithOthersOfTheSameVertexCount) {
  device->DrawRect(0, 0, 1, 1);
  device->DrawPoint(5, 5);
  std::vector<GlCall> draws = gl.Draws();
  ASSERT_EQ(draws.size(), 1u) << "the point flushes the rectangle";
  EXPECT_EQ(draws[0].name, "DrawElements");

  // Rectangle, 4-point polygon, rectangle: one quad batch after the point.
  device->DrawRect(0, 0, 1, 1);
  Array<float> quad(8);
  device->DrawPoly(quad);
  device->DrawRect(0, 0, 1, 1);
  device->DrawLine(0, 0, 1, 1);
  device->DrawLine(0, 0, 2, 2);
  Array<float> triangle(6), pentagon(10);
  device->DrawPoly(triangle);
  device->DrawPoly(pentagon);
  device->DrawPoly(pentagon);
  device->EndRender();

  draws = gl.Draws();
  ASSERT_EQ(draws.size(), 7u);
  EXPECT_EQ(draws[1].args, (std::vector<double>{GL_POINTS, 0, 1}));
  EXPECT_EQ(draws[2].args, (std::vector<double>{GL_TRIANGLES, 18, GL_UNSIGNED_SHORT}));
  EXPECT_EQ(draws[3].args, (std::vector<double>{GL_LINES, 0, 4}));
  EXPECT_EQ(draws[4].args, (std::vector<double>{GL_TRIANGLES, 0, 3}));
  EXPECT_EQ(draws[5].args, (std::vector<double>{GL_TRIANGLE_FAN, 0, 5}));
  EXPECT_EQ(draws[6].args, (std::vector<double>{GL_TRIANGLE_FAN, 5, 5}));
}

TEST_F(DeviceTest, QuadsOfDifferentSurfacesNeverShareABatch) {
  gxtkSurface* a = Surface();
  gxtkSurface* b = Surface();
  device->DrawSurface(a, 0, 0);
  device->DrawSurface(a, 20, 0);
  device->DrawSurface(b, 0, 0);
  device->DrawRect(0, 0, 1, 1);
  device->EndRender();

  std::vector<GlCall> draws = gl.Draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_TRUE(draws[0].textured);
  EXPECT_EQ(draws[0].texture, a->textureName);
  EXPECT_EQ(draws[0].args[1], 12);
  EXPECT_EQ(draws[1].texture, b->textureName);
  EXPECT_NE(a->textureName, b->textureName);
  EXPECT_FALSE(draws[2].textured) << "texturing is switched off after a textured batch";
}

TEST_F(DeviceTest, ClsDiscardsDrawingNotYetFlushed) {
  device->DrawRect(0, 0, 10, 10);
  device->Cls(255, 51, 0);
  device->EndRender();
  EXPECT_EQ(gl.Draws().size(), 0u);
  std::vector<GlCall> clear = gl.Named("ClearColor");
  ASSERT_EQ(clear.size(), 1u);
  EXPECT_EQ(clear[0].args, (std::vector<double>{1, 0.2f, 0, 1}));
  EXPECT_EQ(gl.Named("Clear")[0].args[0], GL_COLOR_BUFFER_BIT);
}

TEST_F(DeviceTest, OvalsHaveAsManySegmentsAsPixelsOfRadiusWithinBounds) {
  auto segments = [&](float w, float h) {
    gl.Clear();
    device->DrawOval(0, 0, w, h);
    device->EndRender();
    std::vector<GlCall> draws = gl.Draws();
    return draws.empty() ? -1 : static_cast<int>(draws[0].args[2]);
  };
  EXPECT_EQ(segments(4, 4), 12);
  EXPECT_EQ(segments(30, 30), 28);
  EXPECT_EQ(segments(5000, 5000), 1024);
  EXPECT_EQ(segments(-30, -30), 28);
  EXPECT_EQ(segments(NAN, 10), 12);

  // Under a transform the radii are counted in window pixels.
  device->SetMatrix(2, 0, 0, 2, 0, 0);
  EXPECT_EQ(segments(30, 30), 60);
  device->SetMatrix(1, 0, 0, 1, 0, 0);

  // The ring starts at the right and runs counter-clockwise on screen.
  gl.Clear();
  device->DrawOval(10, 20, 40, 20);
  device->EndRender();
  std::vector<gxtkVertex> ring = gl.Draws()[0].vertices;
  ASSERT_EQ(ring.size(), 28u);
  EXPECT_FLOAT_EQ(ring[0].x, 50);
  EXPECT_FLOAT_EQ(ring[0].y, 30);
  EXPECT_LT(ring[1].y, 30);
  EXPECT_NEAR(ring[7].x, 30, 1e-4);
  EXPECT_NEAR(ring[7].y, 20, 1e-4);
}

TEST_F(DeviceTest, PolygonsOfOneTo1024VerticesAreDrawnAndOthersAreNot) {
  auto vertices = [&](int floats) {
    gl.Clear();
    device->DrawPoly(Floats(floats));
    device->EndRender();
    int n = 0;
    for (const GlCall& draw : gl.Draws()) n += static_cast<int>(draw.vertices.size());
    return n;
  };
  EXPECT_EQ(vertices(2048), 1024);
  EXPECT_EQ(vertices(2049), 1024);
  EXPECT_EQ(vertices(2050), 0);
  EXPECT_EQ(vertices(1), 0);
  EXPECT_EQ(vertices(2), 1);

  gl.Clear();
  gxtkSurface* surface = Surface();
  Array<float> textured(4 * 3);
  textured[2] = 4;  // u of the first vertex
  textured[3] = 8;  // v
  device->DrawPoly2(textured, surface, 2, 4);
  device->DrawPoly2(Floats(4 * 1025), surface, 0, 0);
  device->EndRender();
  std::vector<GlCall> draws = gl.Draws();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].u, 6.0f / 16);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].v, 12.0f / 16);
  EXPECT_EQ(draws[0].texture, surface->textureName);
}

TEST_F(DeviceTest, ScissorAtFullWindowSizeIsOffAndOtherwiseFlippedToGlRows) {
  device->DrawRect(0, 0, 1, 1);
  device->SetScissor(10, 20, 100, 50);
  EXPECT_EQ(gl.Draws().size(), 1u) << "the scissor flushes first";
  EXPECT_EQ(gl.Named("Enable").back().args[0], GL_SCISSOR_TEST);
  EXPECT_EQ(gl.Named("Scissor")[0].args, (std::vector<double>{10, 410, 100, 50}));

  gl.Clear();
  device->SetScissor(0, 0, 640, 480);
  EXPECT_EQ(gl.Named("Disable").back().args[0], GL_SCISSOR_TEST);
  EXPECT_EQ(gl.Count("Scissor"), 0);
}

TEST_F(DeviceTest, ColoursArePackedPremultipliedWithoutClamping) {
  device->SetColor(255, 255, 255);
  device->SetAlpha(0.5f);
  EXPECT_EQ(device->packedColor, 0x7F7F7F7Fu);

  device->SetAlpha(1);
  device->SetColor(200, 100, 50);
  EXPECT_EQ(device->packedColor, 0xFF3264C8u);
  unsigned char bytes[4];
  memcpy(bytes, &device->packedColor, 4);
  EXPECT_EQ(bytes[0], 200) << "red comes first in memory";
  EXPECT_EQ(bytes[3], 255);

  // 256 spills into the next byte up.
  device->SetColor(256, 0, 0);
  EXPECT_EQ(device->packedColor, 0xFF000100u);
}

TEST_F(DeviceTest, TheMatrixIsAppliedToVerticesAsTheyAreWritten) {
  device->SetMatrix(0, 1, -1, 0, 100, 50);
  EXPECT_TRUE(device->transformed);
  device->DrawRect(10, 0, 5, 5);
  device->SetMatrix(1, 0, 0, 1, 0, 0);
  EXPECT_FALSE(device->transformed);
  device->DrawRect(10, 0, 5, 5);
  device->EndRender();

  std::vector<GlCall> draws = gl.Draws();
  ASSERT_EQ(draws.size(), 1u) << "a matrix change keeps the batch";
  EXPECT_FLOAT_EQ(draws[0].vertices[0].x, 100);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].y, 60);
  EXPECT_FLOAT_EQ(draws[0].vertices[4].x, 10);

  device->SetMatrix(1, 0, 0, 1, 0, NAN);
  EXPECT_TRUE(device->transformed);
}

TEST_F(DeviceTest, BeginRenderFollowsTheWindowAndSetsUpTheArrays) {
  gl.windowWidth = 800;
  gl.windowHeight = 600;
  EXPECT_EQ(device->BeginRender(), 1);
  EXPECT_EQ(device->Width(), 800);
  EXPECT_EQ(device->Height(), 600);
  EXPECT_EQ(gl.Named("Viewport")[0].args, (std::vector<double>{0, 0, 800, 600}));
  EXPECT_EQ(gl.Named("Ortho")[0].args, (std::vector<double>{0, 800, 600, 0, -1, 1}));
  EXPECT_EQ(gl.Named("VertexPointer")[0].args, (std::vector<double>{2, GL_FLOAT, 20}));
  EXPECT_EQ(gl.Named("TexCoordPointer")[0].args, (std::vector<double>{2, GL_FLOAT, 20}));
  EXPECT_EQ(gl.Named("ColorPointer")[0].args, (std::vector<double>{4, GL_UNSIGNED_BYTE, 20}));
  EXPECT_EQ(gl.Count("EnableClientState"), 3);
  EXPECT_EQ(gl.Named("BlendFunc")[0].args, (std::vector<double>{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
  EXPECT_EQ(gl.Named("Disable")[0].args[0], GL_TEXTURE_2D);
}

TEST_F(DeviceTest, SurfaceQuadsCarryTextureCoordinatesInTexels) {
  gl.rejectNonPowerOfTwo = true;
  gxtkSurface* surface = device->CreateSurface(100, 60);
  device->DrawSurface(surface, 5, 6);
  device->DrawSurface2(surface, 0, 0, 10, 20, 30, 40);
  device->EndRender();
  std::vector<gxtkVertex> v = gl.Draws()[0].vertices;
  ASSERT_EQ(v.size(), 8u);
  EXPECT_FLOAT_EQ(v[2].x, 105);
  EXPECT_FLOAT_EQ(v[2].y, 66);
  EXPECT_FLOAT_EQ(v[2].u, 100.0f / 128);
  EXPECT_FLOAT_EQ(v[2].v, 60.0f / 64);
  EXPECT_FLOAT_EQ(v[4].u, 10.0f / 128);
  EXPECT_FLOAT_EQ(v[4].v, 20.0f / 64);
  EXPECT_FLOAT_EQ(v[6].x, 30);
  EXPECT_FLOAT_EQ(v[6].u, 40.0f / 128);
  EXPECT_FLOAT_EQ(v[6].v, 60.0f / 64);
}

TEST_F(DeviceTest, ReadPixelsFlushesAndTurnsGlRowsTopToBottom) {
  device->DrawRect(0, 0, 1, 1);
  Array<int> pixels(1 + 4 * 2);
  device->ReadPixels(pixels, 5, 10, 3, 2, 1, 4);
  EXPECT_EQ(gl.Draws().size(), 1u);
  EXPECT_EQ(gl.Named("ReadPixels")[0].args, (std::vector<double>{5, 468, 3, 2, GL_BGRA, GL_UNSIGNED_BYTE}));
  // The recorder's GL row r, column c reads 0xFF000000 | r << 12 | c.
  EXPECT_EQ(static_cast<uint32_t>(pixels[1]), 0xFF001000u);
  EXPECT_EQ(static_cast<uint32_t>(pixels[3]), 0xFF001002u);
  EXPECT_EQ(static_cast<uint32_t>(pixels[5]), 0xFF000000u);
  EXPECT_EQ(pixels[4], 0) << "the pitch leaves the gap alone";
}

}  // namespace

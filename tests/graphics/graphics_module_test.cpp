#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "graphics/graphics.h"
#include "host/vx_game.h"
#include "tests/graphics/gl_recorder.h"
#include "tests/graphics/png_files.h"

namespace {

// The real device, noting every matrix the module sends it.
class MatrixNotingDevice : public gxtkGraphics {
 public:
  std::vector<std::array<float, 6>> matrices;

  void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) override {
    matrices.push_back({ix, iy, jx, jy, tx, ty});
    gxtkGraphics::SetMatrix(ix, iy, jx, jy, tx, ty);
  }
};

const std::array<float, 6> IDENTITY = {1, 0, 0, 1, 0, 0};

class ModuleTest : public ::testing::Test {
 protected:
  GlRecorder gl;
  MatrixNotingDevice* device = new MatrixNotingDevice();

  void SetUp() override {
    vx_graphics_context = (new c_GraphicsContext())->m_new();
    vx_graphics_SetGraphicsDevice(device);
    device->BeginRender();
    vx_graphics_BeginRender();
    gl.Clear();
  }

  void TearDown() override {
    vx_graphics_EndRender();
    vx_graphics_device = nullptr;
    vx_graphics_context = nullptr;
  }

  // An RGBA surface of the given size without a texture.
  static gxtkSurface* Surface(int w, int h) {
    gxtkSurface* s = new gxtkSurface();
    s->SetData(static_cast<unsigned char*>(calloc(static_cast<size_t>(w) * h, 4)), w, h, 4);
    return s;
  }

  std::vector<gxtkVertex> Drawn() {
    device->EndRender();
    std::vector<gxtkVertex> all;
    for (const GlCall& draw : gl.Draws()) all.insert(all.end(), draw.vertices.begin(), draw.vertices.end());
    gl.Clear();
    return all;
  }
};

TEST_F(ModuleTest, AFrameStartsWhiteOpaqueBlendedUnscissoredAndUntransformed) {
  EXPECT_EQ(vx_graphics_renderDevice, device);
  c_GraphicsContext* c = vx_graphics_context;
  EXPECT_EQ(c->red + c->green + c->blue, 765);
  EXPECT_EQ(c->alpha, 1);
  EXPECT_EQ(c->blendMode, 0);
  EXPECT_EQ(c->scissorWidth, 640);
  EXPECT_EQ(c->scissorHeight, 480);
  EXPECT_EQ(c->matrixDirty, 1);
  EXPECT_EQ(device->packedColor, 0xFFFFFFFFu);
  EXPECT_EQ(vx_graphics_DeviceWidth(), 640);
  EXPECT_EQ(vx_graphics_DeviceHeight(), 480);

  vx_graphics_EndRender();
  EXPECT_EQ(vx_graphics_renderDevice, nullptr);
}

TEST_F(ModuleTest, TheMatrixReachesTheDeviceOnlyWhenSomethingIsDrawn) {
  vx_graphics_Translate(5, 5);
  vx_graphics_Rotate(30);
  vx_graphics_Scale(2, 2);
  EXPECT_TRUE(device->matrices.empty());

  vx_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
  vx_graphics_DrawRect(0, 0, 1, 1);
  vx_graphics_PushMatrix();
  vx_graphics_Translate(10, 0);
  vx_graphics_DrawRect(0, 0, 1, 1);
  vx_graphics_DrawRect(0, 0, 1, 1);
  vx_graphics_PopMatrix();
  vx_graphics_DrawLine(0, 0, 1, 1);

  ASSERT_EQ(device->matrices.size(), 3u);
  EXPECT_EQ(device->matrices[0], IDENTITY);
  EXPECT_EQ(device->matrices[1], (std::array<float, 6>{1, 0, 0, 1, 10, 0}));
  EXPECT_EQ(device->matrices[2], IDENTITY);
  EXPECT_EQ(vx_graphics_context->transformed, 0);
  EXPECT_FALSE(device->transformed);
}

TEST_F(ModuleTest, LaterTransformsActFirstOnTheGeometry) {
  // Move last, rotate, scale first: (1, 0) scales to (2, 0), turns to (0, -2), moves to (100, 48).
  vx_graphics_Translate(100, 50);
  vx_graphics_Rotate(90);
  vx_graphics_Scale(2, 2);
  c_GraphicsContext* c = vx_graphics_context;
  EXPECT_NEAR(c->xAxisX * 1 + c->originX, 100, 1e-4);
  EXPECT_NEAR(c->xAxisY * 1 + c->originY, 48, 1e-4);
  EXPECT_EQ(c->transformed, 1);

  Array<float> m(6);
  m[0] = 1, m[3] = 1, m[4] = 3;
  vx_graphics_SetMatrix2(m);
  vx_graphics_Transform2(m);
  EXPECT_EQ(c->originX, 6);
  EXPECT_EQ(c->originY, 0);
}

TEST_F(ModuleTest, StateCallsStoreAndForwardToTheDevice) {
  vx_graphics_SetColor(200, 100, 50);
  vx_graphics_SetAlpha(0.5f);
  EXPECT_EQ(device->packedColor, 0x7F193264u);
  vx_graphics_SetBlend(1);
  EXPECT_EQ(gl.Named("BlendFunc").back().args[1], GL_ONE);
  EXPECT_EQ(vx_graphics_context->blendMode, 1);

  vx_graphics_SetScissor(10.9f, 20.5f, 100.2f, 50.7f);
  EXPECT_FLOAT_EQ(vx_graphics_context->scissorX, 10.9f);
  EXPECT_EQ(gl.Named("Scissor").back().args, (std::vector<double>{10, 410, 100, 50}));

  vx_graphics_DrawEllipse(50, 40, 20, 10);
  std::vector<gxtkVertex> ring = Drawn();
  ASSERT_EQ(ring.size(), 28u);
  EXPECT_FLOAT_EQ(ring[0].x, 70);
  EXPECT_FLOAT_EQ(ring[0].y, 40);

  Array<int> pixels(6);
  vx_graphics_ReadPixels(pixels, 0, 0, 3, 2, 0, 0);
  EXPECT_EQ(gl.Named("ReadPixels")[0].args[2], 3);
  EXPECT_EQ(static_cast<uint32_t>(pixels[3]), 0xFF000000u) << "pitch 0 means rows of w";
}

TEST_F(ModuleTest, AGridIsReadLeftToRightThenTopToBottom) {
  c_Image* grid =
      (new c_Image())->m_new()->p_Init2(Surface(64, 64), 0, 0, 16, 16, 10, c_Image::PaddedY, nullptr, 0, 0, 64, 64);
  ASSERT_EQ(grid->frames.Length(), 10);
  const int expected[10][2] = {{0, 1},   {16, 1},  {32, 1},  {48, 1}, {0, 17},
                               {16, 17}, {32, 17}, {48, 17}, {0, 33}, {16, 33}};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(grid->frames[i]->srcX, expected[i][0]) << i;
    EXPECT_EQ(grid->frames[i]->srcY, expected[i][1]) << i;
  }
  EXPECT_EQ(grid->frameHeight, 14);

  // Grabbed from a source rectangle of another image.
  c_Image* part = (new c_Image())->m_new()->p_Init2(grid->surface, 0, 0, 8, 8, 2, 0, grid, 32, 16, 16, 8);
  EXPECT_EQ(part->sourceImage, grid);
  EXPECT_EQ(part->frames[1]->srcX, 40);
  EXPECT_EQ(part->frames[1]->srcY, 16);
}

TEST_F(ModuleTest, OnlyAnUnpaddedSingleFullFrameIsDrawnAsTheWholeSurface) {
  gxtkSurface* surface = Surface(32, 16);
  c_Image* whole = (new c_Image())->m_new()->p_Init(surface, 1, 0);
  EXPECT_EQ(whole->flags, c_Image::WholeSurface);
  EXPECT_EQ((new c_Image())->m_new()->p_Init(surface, 1, c_Image::PaddedX)->flags, c_Image::PaddedX);
  EXPECT_EQ((new c_Image())->m_new()->p_Init(surface, 2, 0)->flags, 0);
  EXPECT_EQ((new c_Image())->m_new()->p_Init2(surface, 0, 0, 16, 16, 1, 0, nullptr, 0, 0, 32, 16)->flags, 0);

  // Centring the handle is applied once and not kept as a flag.
  c_Image* centred = (new c_Image())->m_new()->p_Init(surface, 1, c_Image::HandleCentered);
  EXPECT_EQ(centred->flags, c_Image::WholeSurface);
  EXPECT_EQ(centred->handleX, 16);
  EXPECT_EQ(centred->handleY, 8);

  surface->uScale = 1.0f / 32;
  surface->vScale = 1.0f / 16;
  vx_graphics_DrawImage(centred, 100, 100, 0);
  std::vector<gxtkVertex> quad = Drawn();
  ASSERT_EQ(quad.size(), 4u);
  EXPECT_FLOAT_EQ(quad[0].x, 84);
  EXPECT_FLOAT_EQ(quad[0].y, 92);
  EXPECT_FLOAT_EQ(quad[2].u, 1);
  EXPECT_FLOAT_EQ(quad[2].v, 1);

  c_Image* padded = (new c_Image())->m_new()->p_Init(surface, 1, c_Image::PaddedX);
  vx_graphics_DrawImage(padded, 0, 0, 0);
  quad = Drawn();
  EXPECT_FLOAT_EQ(quad[0].u, 1.0f / 32);
  EXPECT_FLOAT_EQ(quad[2].x, 30);
}

TEST_F(ModuleTest, DrawImage2TurnsCounterClockwiseAboutTheHandle) {
  gxtkSurface* surface = Surface(16, 8);
  c_Image* image = (new c_Image())->m_new()->p_Init(surface, 1, c_Image::HandleCentered);
  vx_graphics_DrawImage2(image, 100, 100, 90, 1, 1, 0);
  vx_graphics_DrawImage2(image, 100, 100, 0, 2, 3, 0);
  std::vector<gxtkVertex> quads = Drawn();
  ASSERT_EQ(quads.size(), 8u);
  // The picture's top-left corner turns to the bottom-left, its top-right to the top-left.
  EXPECT_NEAR(quads[0].x, 96, 1e-4);
  EXPECT_NEAR(quads[0].y, 108, 1e-4);
  EXPECT_NEAR(quads[1].x, 96, 1e-4);
  EXPECT_NEAR(quads[1].y, 92, 1e-4);
  // Scaled about the handle too.
  EXPECT_NEAR(quads[4].x, 84, 1e-4);
  EXPECT_NEAR(quads[4].y, 88, 1e-4);
  EXPECT_EQ(vx_graphics_context->stackTop, 0);
  EXPECT_EQ(vx_graphics_context->transformed, 0);
}

// The real host, counting the picture files it decodes.
class CountingHost : public VxGlfwGame {
 public:
  int decoded = 0;

  unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override {
    ++decoded;
    return VxGlfwGame::LoadImageData(path, width, height, depth);
  }
};

class LoadingTest : public ModuleTest {
 protected:
  ScratchFolder folder;
  CountingHost host;

  void SetUp() override {
    ModuleTest::SetUp();
    VxGame::_game = &host;
    VxGlfwGame::_glfwGame = &host;
  }
  void TearDown() override {
    VxGame::_game = nullptr;
    VxGlfwGame::_glfwGame = nullptr;
    ModuleTest::TearDown();
  }

  void Picture(const std::string& name, int w, int h) {
    ASSERT_TRUE(WritePng(folder.Path("data/" + name), w, h, 4, std::vector<unsigned char>(w * h * 4, 255)));
  }
};

TEST_F(LoadingTest, AStripOfPaddedFramesIsCutAcrossTheWholeWidth) {
  Picture("strip.png", 576, 12);
  c_Image* font = vx_graphics_LoadImage(String("strip.png"), 96, c_Image::PaddedX);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->frameWidth, 4);
  EXPECT_EQ(font->frameHeight, 12);
  ASSERT_EQ(font->frames.Length(), 96);
  EXPECT_EQ(font->frames[0]->srcX, 1);
  EXPECT_EQ(font->frames[1]->srcX, 7);
  EXPECT_EQ(font->frames[2]->srcX, 13);
  EXPECT_EQ(font->frames[95]->srcX, 571);
  EXPECT_EQ(font->frames[95]->srcY, 0);
  EXPECT_EQ(font->flags, c_Image::PaddedX);
  EXPECT_EQ(font->sourceImage, nullptr);
  EXPECT_EQ(font->surface->contextSeq, 1) << "the texture is made at load";

  EXPECT_EQ(vx_graphics_LoadImage(String("absent.png"), 1, 0), nullptr);
  EXPECT_EQ(vx_graphics_LoadImage2(String("absent.png"), 16, 16, 1, 0), nullptr);
}

TEST_F(LoadingTest, LoadImage2CutsTenFramesFromTwoAndAHalfRows) {
  Picture("grid.png", 64, 64);
  c_Image* grid = vx_graphics_LoadImage2(String("vorlix://data/grid.png"), 16, 16, 10, 0);
  ASSERT_NE(grid, nullptr);
  ASSERT_EQ(grid->frames.Length(), 10);
  EXPECT_EQ(grid->frames[3]->srcX, 48);
  EXPECT_EQ(grid->frames[4]->srcX, 0);
  EXPECT_EQ(grid->frames[4]->srcY, 16);
  EXPECT_EQ(grid->frames[9]->srcX, 16);
  EXPECT_EQ(grid->frames[9]->srcY, 32);
}

TEST_F(LoadingTest, TheDefaultFontIsLoadedOnceAndAlwaysStartsAtSpace) {
  vx_graphics_SetFont(nullptr, 0);
  EXPECT_EQ(vx_graphics_context->currentFont, nullptr) << "no font file: no font";
  EXPECT_EQ(vx_graphics_context->fontFirstChar, 32);

  Picture("trel_font.png", 576, 10);
  vx_graphics_SetFont(nullptr, 65);
  c_Image* builtin = vx_graphics_context->builtinFont;
  ASSERT_NE(builtin, nullptr);
  EXPECT_EQ(vx_graphics_context->currentFont, builtin);
  EXPECT_EQ(vx_graphics_context->fontFirstChar, 32);
  EXPECT_EQ(builtin->frames.Length(), 96);
  EXPECT_EQ(builtin->frameWidth, 4);

  c_Image* own = vx_graphics_LoadImage(String("trel_font.png"), 96, 0);
  vx_graphics_SetFont(own, 48);
  EXPECT_EQ(vx_graphics_context->currentFont, own);
  EXPECT_EQ(vx_graphics_context->fontFirstChar, 48);
  int decodedBefore = host.decoded;
  vx_graphics_SetFont(nullptr, 32);
  EXPECT_EQ(vx_graphics_context->currentFont, builtin);
  EXPECT_EQ(host.decoded, decodedBefore);
}

TEST_F(LoadingTest, AReopenedWindowGetsItsTexturesFromTheKeptBytesNotTheFile) {
  Picture("ship.png", 8, 8);
  c_Image* ship = vx_graphics_LoadImage(String("ship.png"), 1, 0);
  ASSERT_NE(ship, nullptr);
  GLuint first = ship->surface->textureName;
  ASSERT_EQ(host.decoded, 1);

  // The host opens a new window: every texture of the old one is gone.
  glfwGraphicsSeq = 2;
  device->BeginRender();
  vx_graphics_BeginRender();
  gl.Clear();
  vx_graphics_DrawImage(ship, 0, 0, 0);
  device->EndRender();
  EXPECT_EQ(host.decoded, 1);
  EXPECT_EQ(gl.Count("GenTextures"), 1);
  EXPECT_EQ(gl.Count("DeleteTextures"), 0);
  std::vector<GlCall> uploads = gl.Named("TexSubImage2D");
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_EQ(uploads[0].args[4], 8);
  std::vector<GlCall> draws = gl.Draws();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_NE(draws[0].texture, first);
  EXPECT_EQ(draws[0].texture, ship->surface->textureName);
}

}  // namespace

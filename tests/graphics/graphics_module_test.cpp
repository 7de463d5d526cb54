// The graphics module over the recording GL table and the real host's picture decoder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "graphics/graphics.h"
#include "tests/graphics/png_files.h"
#include "tests/support/gl_recorder.h"

namespace {

// The real host, counting the picture files it decodes.
struct CountingHost : VxGlfwGame {
  int decoded = 0;
  unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override {
    ++decoded;
    return VxGlfwGame::LoadImageData(path, width, height, depth);
  }
};

struct ModuleTest : ::testing::Test {
  GlRecorder gl;
  gxtkGraphics* device = new gxtkGraphics();
  TempFolder folder;
  CountingHost host;

  void SetUp() override {
    VxGame::_game = VxGlfwGame::_glfwGame = &host;
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
    VxGame::_game = VxGlfwGame::_glfwGame = nullptr;
  }
  void Picture(const std::string& name, int w, int h) {
    ASSERT_TRUE(WritePng(folder.Path("data/" + name), w, h, 4, std::vector<unsigned char>(w * h * 4, 128)));
  }
  std::vector<gxtkVertex> Drawn() {
    device->EndRender();
    std::vector<gxtkVertex> all;
    for (const GlCall& draw : gl.Draws()) all.insert(all.end(), draw.vertices.begin(), draw.vertices.end());
    gl.Clear();
    return all;
  }
  // The top-left corners of the given frames, x and y in turn.
  static std::vector<int> Corners(c_Image* image, std::initializer_list<int> frames) {
    std::vector<int> corners;
    for (int f : frames) corners.insert(corners.end(), {image->frames[f]->srcX, image->frames[f]->srcY});
    return corners;
  }
};

TEST_F(ModuleTest, DrawingUsesTheMatrixInForceEllipsesTakeCentreAndRadiiAndImagesTurnAboutTheirHandle) {
  vx_graphics_Translate(5, 5);
  vx_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
  vx_graphics_DrawRect(0, 0, 1, 1);
  vx_graphics_PushMatrix();
  vx_graphics_Translate(10, 0);
  vx_graphics_DrawRect(0, 0, 1, 1);
  vx_graphics_PopMatrix();
  vx_graphics_DrawEllipse(50, 40, 20, 10);
  // 16 x 8 with the handle at its centre, at (100, 100): a quarter turn
  // counter-clockwise on screen, then doubled and unturned.
  c_Image* image = (new c_Image())->m_new()->p_Init(device->CreateSurface(16, 8), 1, c_Image::HandleCentered);
  vx_graphics_DrawImage2(image, 100, 100, 90, 1, 1, 0);
  vx_graphics_DrawImage2(image, 100, 100, 0, 2, 2, 0);
  std::vector<gxtkVertex> drawn = Drawn();
  ASSERT_EQ(drawn.size(), 4u + 4 + 28 + 4 + 4);
  std::vector<float> expected = {0, 0, 10, 0, 70, 40, 96, 108, 96, 92, 104, 92, 104, 108, 84, 92, 116, 92, 116, 108};
  std::vector<float> corners;
  for (size_t v : {0, 4, 8, 36, 37, 38, 39, 40, 41, 42}) corners.insert(corners.end(), {drawn[v].x, drawn[v].y});
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(corners[i], expected[i], 1e-4) << i;
}

TEST_F(ModuleTest, PicturesAreCutIntoStripsOrGridsAndTheDefaultFontIsLoadedOnceFromSpace) {
  Picture("strip.png", 576, 12);
  c_Image* font = vx_graphics_LoadImage(String("strip.png"), 96, c_Image::PaddedX);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->frameWidth, 4);
  ASSERT_EQ(font->frames.Length(), 96);
  EXPECT_EQ(Corners(font, {0, 1, 95}), (std::vector<int>{1, 0, 7, 0, 571, 0}));
  EXPECT_EQ(font->surface->contextSeq, 1) << "the texture is made at load";
  // Only drawn: its bytes go once the texture is made; a new window's is decoded again, premultiplied again.
  EXPECT_EQ(font->surface->pixelData, nullptr);
  std::vector<unsigned char> uploaded = gl.Named("TexSubImage2D").back().pixels;
  int decoded = host.decoded;
  ++glfwGraphicsSeq;
  font->surface->Bind();
  --glfwGraphicsSeq;
  EXPECT_EQ((std::vector<int>{host.decoded - decoded, uploaded[0], uploaded[3]}), (std::vector<int>{1, 64, 128}));
  EXPECT_EQ(gl.Named("TexSubImage2D").back().pixels, uploaded);
  EXPECT_EQ(font->surface->pixelData, nullptr);

  Picture("grid.png", 64, 64);
  c_Image* grid = vx_graphics_LoadImage2(String("vorlix://data/grid.png"), 16, 16, 10, c_Image::PaddedY);
  ASSERT_NE(grid, nullptr);
  ASSERT_EQ(grid->frames.Length(), 10);
  EXPECT_EQ(Corners(grid, {3, 4, 9}), (std::vector<int>{48, 1, 0, 17, 16, 33}));
  EXPECT_EQ(grid->frameHeight, 14);
  EXPECT_EQ(vx_graphics_LoadImage(String("absent.png"), 1, 0), nullptr);
  EXPECT_EQ(vx_graphics_LoadImage2(String("absent.png"), 16, 16, 1, 0), nullptr);

  vx_graphics_SetFont(nullptr, 0);
  EXPECT_EQ(vx_graphics_context->currentFont, nullptr);  // no font file
  Picture("trel_font.png", 576, 10);
  vx_graphics_SetFont(nullptr, 65);
  c_Image* builtin = vx_graphics_context->currentFont;
  ASSERT_NE(builtin, nullptr);
  EXPECT_EQ(builtin->frames.Length(), 96);
  EXPECT_EQ(vx_graphics_context->fontFirstChar, 32);
  decoded = host.decoded;
  vx_graphics_SetFont(nullptr, 32);
  EXPECT_EQ(vx_graphics_context->currentFont, builtin);
  EXPECT_EQ(host.decoded, decoded);
}

gxtkSurface* BlankSurface(int w, int h) {
  gxtkSurface* s = new gxtkSurface();
  s->SetData(static_cast<unsigned char*>(calloc(static_cast<size_t>(w) * h, 4)), w, h, 4);
  return s;
}

TEST_F(ModuleTest, CallerErrorsThatWouldCorruptMemoryAreFatal) {
  Picture("grid.png", 64, 64);
  const std::pair<std::function<void()>, const char*> cases[] = {
      // 17 frames of 16 x 16 need a fifth row.
      {[] { vx_graphics_LoadImage2(String("grid.png"), 16, 16, 17, 0); }, "Image frame outside surface"},
      {[] { (new c_Image())->m_new()->p_Init(BlankSurface(64, 64), 0, 0); }, "Image frame outside surface"},
      {[] { vx_graphics_DrawImage((new c_Image())->m_new()->p_Init(BlankSurface(8, 8), 1, 0), 0, 0, 1); },
       "Image frame index out of range"},
      {[] {
         for (int i = 0; i <= VX_GRAPHICS_MATRIX_DEPTH; ++i) vx_graphics_PushMatrix();
       },
       "Matrix stack overflow"},
      {[] { vx_graphics_PopMatrix(); }, "Matrix stack underflow"},
      {[this] { device->WritePixels2(device->CreateSurface(16, 16), Array<int>(64), 10, 10, 8, 8, 0, 8); },
       "Pixel rectangle outside surface"},
      {[] { vx_graphics_ReadPixels(Array<int>(5), 0, 0, 3, 2, 0, 3); }, "Pixel rectangle outside array"},
  };
  for (const auto& [call, message] : cases) {
    EXPECT_EXIT(
        {
          dup2(2, 1);  // fatal errors print on standard output; the death test reads standard error
          close(0);    // no debugger attached
          call();
        },
        ::testing::ExitedWithCode(255), std::string("Vorlix Runtime Error : ") + message);
  }
}

// Sides past 8192 pixels are refused from the header: the claimed 9000 x 9000
// picture holds a single pixel, never looked at.
TEST_F(ModuleTest, PicturesDecodeAtTheirOwnChannelCountAndAnythingButASaneSizedPictureGivesNone) {
  auto load = [&](const std::string& path, std::vector<int>* shape = nullptr) {
    int w = -1, h = -1, depth = -1;
    unsigned char* bytes = host.LoadImageData(String(path.c_str()), &w, &h, &depth);
    std::vector<unsigned char> pixels(bytes, bytes ? bytes + w * h * depth : bytes);
    free(bytes);
    if (shape) *shape = {w, h, depth};
    return pixels;
  };
  for (int channels = 1; channels <= 4; ++channels) {
    std::vector<unsigned char> pixels(3 * 2 * channels);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 10);
    std::string name = "c" + std::to_string(channels) + ".png";
    ASSERT_TRUE(WritePng(folder.Path("data/" + name), 3, 2, channels, pixels));
    std::vector<int> shape;
    EXPECT_EQ(load("vorlix://data/" + name, &shape), pixels) << "rows top to bottom, untouched";
    EXPECT_EQ(shape, (std::vector<int>{3, 2, channels}));
  }
  const struct {
    int width, height, claimedWidth, claimedHeight;
    bool loads;
  } sizes[] = {{8192, 1, 8192, 1, true},
               {1, 8192, 1, 8192, true},
               {8193, 1, 8193, 1, false},
               {1, 8193, 1, 8193, false},
               {1, 1, 9000, 9000, false}};
  for (const auto& c : sizes) {
    std::vector<unsigned char> grey(static_cast<size_t>(c.width) * c.height, 0x80);
    ASSERT_TRUE(WritePng("picture.png", c.width, c.height, 1, grey));
    std::ifstream in("picture.png", std::ios::binary);
    std::string png((std::istreambuf_iterator<char>(in)), {});
    for (int i = 0; i < 4; ++i) {  // IHDR's big-endian width and height; stb_image skips the CRC
      png[16 + i] = static_cast<char>(c.claimedWidth >> (24 - 8 * i));
      png[20 + i] = static_cast<char>(c.claimedHeight >> (24 - 8 * i));
    }
    WriteFile("picture.png", png);
    EXPECT_EQ(load("picture.png"), c.loads ? grey : std::vector<unsigned char>())
        << c.claimedWidth << " x " << c.claimedHeight;
  }
  for (const std::string& junk : {std::string(), std::string("w=16\n")}) {
    WriteFile("junk.png", junk);
    EXPECT_TRUE(load("junk.png").empty()) << junk;
  }
  EXPECT_TRUE(load("missing.png").empty());
  EXPECT_TRUE(load("vorlix://elsewhere/x.png").empty());
}

}  // namespace

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "graphics/data_path.h"
#include "graphics/graphics.h"
#include "runtime/gc.h"
#include "tests/graphics/png_files.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/resident_memory.h"

namespace {

TEST(DataPath, BareNamesGoToTheDataFolderAndSchemedOrRootedPathsStay) {
  const char* cases[][2] = {
      {"sfx/006.wav", "vorlix://data/sfx/006.wav"},
      {"vorlix://data/a.png", "vorlix://data/a.png"},
      {"./a.png", "./a.png"},
      {"/a.png", "/a.png"},
      {"a/b:/c", "vorlix://data/a/b:/c"},  // a slash before the ":/": not a scheme
  };
  for (const auto& c : cases) EXPECT_EQ(vx_data_FixDataPath(String(c[0])).ToCString(), c[1]) << c[0];
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

class ModuleTest : public ::testing::Test {
 protected:
  GlRecorder gl;
  gxtkGraphics* device = new gxtkGraphics();
  TempFolder folder;
  Installed<CountingHost> host;

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

  // An RGBA surface without a texture.
  static gxtkSurface* Surface(int w, int h) {
    gxtkSurface* s = new gxtkSurface();
    s->SetData(static_cast<unsigned char*>(calloc(static_cast<size_t>(w) * h, 4)), w, h, 4);
    return s;
  }

  void Picture(const std::string& name, int w, int h) {
    ASSERT_TRUE(WritePng(folder.Path("data/" + name), w, h, 4, std::vector<unsigned char>(w * h * 4, 255)));
  }

  std::vector<gxtkVertex> Drawn() {
    device->EndRender();
    std::vector<gxtkVertex> all;
    for (const GlCall& draw : gl.Draws()) all.insert(all.end(), draw.vertices.begin(), draw.vertices.end());
    gl.Clear();
    return all;
  }

  // `call` ends the program with the fatal report `message`.
  template <class Call>
  static void ExpectFatal(Call call, const std::string& message) {
    EXPECT_EXIT(
        {
          dup2(2, 1);  // fatal errors print on standard output; the death test reads standard error
          close(0);    // no debugger attached
          call();
        },
        ::testing::ExitedWithCode(255), "Vorlix Runtime Error : " + message);
  }

  // The top-left corners of the given frames, x and y in turn.
  static std::vector<int> Corners(c_Image* image, std::initializer_list<int> frames) {
    std::vector<int> corners;
    for (int f : frames) corners.insert(corners.end(), {image->frames[f]->srcX, image->frames[f]->srcY});
    return corners;
  }
};

TEST_F(ModuleTest, DrawingUsesTheMatrixInForceAndEllipsesAreGivenByCentreAndRadii) {
  vx_graphics_Translate(5, 5);
  vx_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
  vx_graphics_DrawRect(0, 0, 1, 1);
  vx_graphics_PushMatrix();
  vx_graphics_Translate(10, 0);
  vx_graphics_DrawRect(0, 0, 1, 1);
  vx_graphics_PopMatrix();
  vx_graphics_DrawEllipse(50, 40, 20, 10);
  std::vector<gxtkVertex> drawn = Drawn();
  ASSERT_EQ(drawn.size(), 4u + 4 + 28);
  EXPECT_FLOAT_EQ(drawn[0].x, 0);
  EXPECT_FLOAT_EQ(drawn[4].x, 10);
  EXPECT_FLOAT_EQ(drawn[8].x, 70);
  EXPECT_FLOAT_EQ(drawn[8].y, 40);
}

TEST_F(ModuleTest, PicturesAreCutIntoStripsOrGridsAndPaddedFramesLeaveTheirBorderOut) {
  Picture("strip.png", 576, 12);
  c_Image* font = vx_graphics_LoadImage(String("strip.png"), 96, c_Image::PaddedX);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->frameWidth, 4);
  ASSERT_EQ(font->frames.Length(), 96);
  EXPECT_EQ(Corners(font, {0, 1, 95}), (std::vector<int>{1, 0, 7, 0, 571, 0}));
  EXPECT_EQ(font->surface->contextSeq, 1) << "the texture is made at load";
  Picture("one.png", 32, 16);  // a single padded frame is not the whole surface
  vx_graphics_DrawImage(vx_graphics_LoadImage(String("one.png"), 1, c_Image::PaddedX), 0, 0, 0);
  std::vector<gxtkVertex> quad = Drawn();
  ASSERT_EQ(quad.size(), 4u);
  EXPECT_FLOAT_EQ(quad[0].u, 1.0f / 32);
  EXPECT_FLOAT_EQ(quad[2].x, 30);

  Picture("grid.png", 64, 64);
  c_Image* grid = vx_graphics_LoadImage2(String("vorlix://data/grid.png"), 16, 16, 10, c_Image::PaddedY);
  ASSERT_NE(grid, nullptr);
  ASSERT_EQ(grid->frames.Length(), 10);
  EXPECT_EQ(Corners(grid, {3, 4, 9}), (std::vector<int>{48, 1, 0, 17, 16, 33}));
  EXPECT_EQ(grid->frameHeight, 14);
  EXPECT_EQ(vx_graphics_LoadImage(String("absent.png"), 1, 0), nullptr);
  EXPECT_EQ(vx_graphics_LoadImage2(String("absent.png"), 16, 16, 1, 0), nullptr);
}

TEST_F(ModuleTest, TheDefaultFontIsLoadedOnceAndAlwaysStartsAtSpace) {
  vx_graphics_SetFont(nullptr, 0);
  EXPECT_EQ(vx_graphics_context->currentFont, nullptr);  // no font file

  Picture("trel_font.png", 576, 10);
  vx_graphics_SetFont(nullptr, 65);
  c_Image* builtin = vx_graphics_context->currentFont;
  ASSERT_NE(builtin, nullptr);
  EXPECT_EQ(builtin->frames.Length(), 96);
  EXPECT_EQ(vx_graphics_context->fontFirstChar, 32);
  int decoded = host.decoded;
  vx_graphics_SetFont(nullptr, 32);
  EXPECT_EQ(vx_graphics_context->currentFont, builtin);
  EXPECT_EQ(host.decoded, decoded);
}

TEST_F(ModuleTest, AReopenedWindowGetsItsTexturesFromTheKeptBytesNotTheFile) {
  Picture("ship.png", 8, 8);
  c_Image* ship = vx_graphics_LoadImage(String("ship.png"), 1, 0);
  ASSERT_NE(ship, nullptr);
  GLuint first = ship->surface->textureName;
  ASSERT_EQ(host.decoded, 1);

  // A new window: every texture of the old one is gone.
  glfwGraphicsSeq = 2;
  device->BeginRender();
  vx_graphics_BeginRender();
  gl.Clear();
  vx_graphics_DrawImage(ship, 0, 0, 0);
  device->EndRender();
  EXPECT_EQ(host.decoded, 1);
  EXPECT_EQ(gl.Count("GenTextures"), 1);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 1);
  ASSERT_EQ(gl.Draws().size(), 1u);
  EXPECT_NE(gl.Draws()[0].texture, first);
  EXPECT_EQ(gl.Draws()[0].texture, ship->surface->textureName);
}

TEST_F(ModuleTest, CallerErrorsThatWouldCorruptMemoryAreFatal) {
  Picture("grid.png", 64, 64);
  // 17 frames of 16 x 16 need a fifth row.
  ExpectFatal([] { vx_graphics_LoadImage2(String("grid.png"), 16, 16, 17, 0); }, "Image frame outside surface");
  ExpectFatal([] { (new c_Image())->m_new()->p_Init(Surface(64, 64), 0, 0); }, "Image frame outside surface");
  ExpectFatal([] { vx_graphics_DrawImage((new c_Image())->m_new()->p_Init(Surface(8, 8), 1, 0), 0, 0, 1); },
              "Image frame index out of range");
  ExpectFatal(
      [] {
        for (int i = 0; i <= VX_GRAPHICS_MATRIX_DEPTH; ++i) vx_graphics_PushMatrix();
      },
      "Matrix stack overflow");
  ExpectFatal([] { vx_graphics_PopMatrix(); }, "Matrix stack underflow");
  ExpectFatal([this] { device->WritePixels2(device->CreateSurface(16, 16), Array<int>(64), 10, 10, 8, 8, 0, 8); },
              "Pixel rectangle outside surface");
  ExpectFatal([] { vx_graphics_ReadPixels(Array<int>(5), 0, 0, 3, 2, 0, 3); }, "Pixel rectangle outside array");
}

// Pixel bytes of the surfaces the collector still has, garbage included.
size_t HeldPixelBytes() {
  size_t bytes = 0;
  for (gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list, &gc_free_list}) {
    for (gc_object* o = list->succ; o != list; o = o->succ) {
      auto* s = dynamic_cast<gxtkSurface*>(o);
      if (s && s->pixelData) bytes += static_cast<size_t>(s->width) * s->height * s->bytesPerPixel;
    }
  }
  return bytes;
}

Array<c_Image*> slots;
void MarkSlots() {
  gc_queue(slots);
  gc_queue(vx_graphics_device);
  gc_queue(vx_graphics_context);
}

// A change of window size loads the pictures again, one per tick, into the
// same slots (or refills their surfaces): pixel bytes held stay within two
// loads, and resident memory stops growing once the heap has settled.
TEST_F(ModuleTest, ReloadingPicturesIntoTheSameSlotsKeepsMemoryFlat) {
  constexpr int SLOTS = 20, SIDE = 512, RELOADS = 50, SETTLING = 10;
  constexpr size_t LOAD = size_t{SLOTS} * SIDE * SIDE * 4;  // 20 MiB of pixels
  gl.countOnly = true;
  for (int i = 0; i < SLOTS; ++i) Picture("slot" + std::to_string(i) + ".png", SIDE, SIDE);
  gc_assign(slots, Array<c_Image*>(SLOTS));
  gc_init2(MarkSlots);
  size_t settled = 0, peakResident = 0, peakHeld = 0;
  for (int reload = 0; reload < RELOADS; ++reload) {
    for (int i = 0; i < SLOTS; ++i) {
      String name(("slot" + std::to_string(i) + ".png").c_str());
      if (reload % 2) {
        device->LoadSurface__UNSAFE__(slots[i]->surface, vx_data_FixDataPath(name))->Bind();
      } else {
        gc_assign(slots[i], vx_graphics_LoadImage(name, 1, 0));
      }
      gc_collect();  // one step per tick, as the host takes them
    }
    peakHeld = std::max(peakHeld, HeldPixelBytes());
    if (reload == SETTLING - 1) settled = ResidentBytes();
    if (reload >= SETTLING) peakResident = std::max(peakResident, ResidentBytes());
  }
  EXPECT_LE(peakHeld, 2 * LOAD);
  EXPECT_LE(peakResident, settled + 3 * LOAD);
  gc_init2(nullptr);
}

}  // namespace

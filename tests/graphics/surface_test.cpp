// Surfaces over the recording GL table: premultiplied bytes and one texture per window.
#include "graphics/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/graphics_device.h"
#include "host/vx_game.h"
#include "runtime/gc.h"
#include "tests/support/gl_recorder.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A copy of `bytes` on the C heap, as the decoder hands them over.
unsigned char* OnHeap(const Bytes& bytes) {
  return static_cast<unsigned char*>(memcpy(malloc(bytes.size()), bytes.data(), bytes.size()));
}

gxtkSurface* SurfaceOf(const Bytes& bytes, int w, int h, int depth) {
  gxtkSurface* s = new gxtkSurface();
  s->SetData(OnHeap(bytes), w, h, depth);
  return s;
}

Bytes PixelsOf(const gxtkSurface* s, int offset = 0, int n = -1) {
  const unsigned char* p = s->pixelData + offset;
  return Bytes(p, p + (n < 0 ? s->width * s->height * s->bytesPerPixel : n));
}

TEST(Surface, EachDepthHasItsGlFormatIsPremultipliedOnceWhereThereIsAlphaAndCountsAsAllocation) {
  GlRecorder gl;
  const struct {
    Bytes in;
    int w, depth;
    Bytes out;
    GLenum format;
  } cases[] = {{{200, 77}, 2, 1, {200, 77}, GL_LUMINANCE},
               {{200, 128, 77, 0, 255, 255}, 3, 2, {100, 128, 0, 0, 255, 255}, GL_LUMINANCE_ALPHA},
               {{200, 100, 50}, 1, 3, {200, 100, 50}, GL_RGB},
               {{200, 100, 50, 128, 9, 9, 9, 0, 255, 255, 255, 255},
                3,
                4,
                {100, 50, 25, 128, 0, 0, 0, 0, 255, 255, 255, 255},
                GL_RGBA}};
  for (const auto& c : cases) {
    gxtkSurface* s = new gxtkSurface();
    int before = gc_new_bytes;
    s->SetData(OnHeap(c.in), c.w, 1, c.depth);
    EXPECT_EQ(PixelsOf(s), c.out) << c.depth;
    s->Bind();
    EXPECT_EQ(gc_new_bytes - before, 2 * c.w * c.depth) << "the pixels and the texture's copy of them";
    EXPECT_EQ(gl.Named("TexImage2D").back().args[2], c.format) << c.depth;
    EXPECT_EQ(gl.Named("TexSubImage2D").back().pixels, c.out) << c.depth;
    s->Discard();
  }
}

TEST(Surface, ATextureIsMadeOncePerWindowRemadeByARefillAndOnlyItsBytesAreFreedOnceStale) {
  GlRecorder gl(0);
  gxtkSurface* stale = SurfaceOf(Bytes(4 * 4 * 4, 255), 4, 4, 4);
  stale->Bind();
  EXPECT_TRUE(gl.calls.empty()) << "no window yet: nothing to bind";
  glfwGraphicsSeq = 1;
  stale->Bind();
  EXPECT_EQ(gl.Count("GenTextures"), 1);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 1);
  gl.Clear();
  stale->Bind();
  EXPECT_EQ(gl.calls.size(), 1u) << "only bound the second time";

  gxtkSurface* refilled = SurfaceOf(Bytes(4 * 4 * 4, 255), 4, 4, 4);
  refilled->Bind();
  GLuint first = refilled->textureName;
  refilled->SetData(static_cast<unsigned char*>(calloc(8 * 2, 4)), 8, 2, 4);
  refilled->Bind();
  ASSERT_EQ(gl.Count("DeleteTextures"), 1);
  EXPECT_EQ(gl.Named("DeleteTextures")[0].args[1], first);
  EXPECT_EQ(gl.Named("TexSubImage2D").back().pixels, Bytes(8 * 2 * 4, 0));

  // A new window: the old textures died with their context.
  glfwGraphicsSeq = 2;
  gxtkSurface* current = SurfaceOf({1, 2, 3, 255}, 1, 1, 4);
  current->Bind();
  gl.Clear();
  stale->Discard();
  EXPECT_EQ(gl.Count("DeleteTextures"), 0);
  EXPECT_EQ(stale->pixelData, nullptr);
  current->Discard();
  ASSERT_EQ(gl.Count("DeleteTextures"), 1);
  EXPECT_EQ(gl.Named("DeleteTextures")[0].args[1], current->textureName);
  EXPECT_EQ(current->pixelData, nullptr);
  current->Discard();
  EXPECT_EQ(gl.Count("DeleteTextures"), 1) << "a second discard has nothing left to free";
  refilled->Discard();
}

TEST(Surface, WrittenPixelsArePremultipliedUploadedByRowsAndTheRestIsClearForTheNextWindow) {
  GlRecorder gl;
  gxtkGraphics* device = new gxtkGraphics();
  gxtkSurface* s = device->CreateSurface(16, 16);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 0) << "an empty surface uploads nothing";
  Array<int> block(1 + 4 * 4);
  for (int i = 1; i < block.Length(); ++i) block[i] = static_cast<int>(0x80C86432u);  // A 128, R 200, G 100, B 50
  void* dirty = malloc(16 * 16 * 4);  // the next block of the surface's size malloc hands out is dirty
  memset(dirty, 0xA5, 16 * 16 * 4);
  free(dirty);
  device->WritePixels2(s, block, 2, 3, 4, 4, 1, 4);
  std::vector<GlCall> uploads = gl.Named("TexSubImage2D");
  ASSERT_EQ(uploads.size(), 4u);
  EXPECT_EQ(uploads[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, 2, 3, 4, 1, GL_RGBA, GL_UNSIGNED_BYTE}));
  EXPECT_EQ(PixelsOf(s, (3 * 16 + 2) * 4, 4), (Bytes{100, 50, 25, 128}));

  // A stale texture is left for the next bind to make whole.
  glfwGraphicsSeq = 2;
  gl.Clear();
  device->WritePixels2(s, block, 0, 0, 4, 4, 1, 4);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 0);
  s->Bind();
  uploads = gl.Named("TexSubImage2D");
  ASSERT_EQ(uploads.size(), 1u);
  const Bytes& bytes = uploads[0].pixels;
  ASSERT_EQ(bytes.size(), 16u * 16 * 4);
  // Two 4 x 4 blocks that share two pixels, zeros everywhere else.
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), (16 * 16 - 30) * 4);
  s->Discard();
}

}  // namespace

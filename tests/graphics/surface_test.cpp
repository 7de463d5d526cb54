#include "graphics/surface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/graphics_device.h"
#include "host/vx_game.h"
#include "tests/graphics/gl_recorder.h"

namespace {

// Bytes on the C heap, as the decoder hands them over.
unsigned char* HeapBytes(const std::vector<unsigned char>& bytes) {
  unsigned char* block = static_cast<unsigned char*>(malloc(bytes.size()));
  memcpy(block, bytes.data(), bytes.size());
  return block;
}

std::vector<unsigned char> PixelsOf(const gxtkSurface* s) {
  return std::vector<unsigned char>(s->pixelData, s->pixelData + s->width * s->height * s->bytesPerPixel);
}

TEST(Surface, PixelDataIsPremultipliedOnceWhereThereIsAlpha) {
  gxtkSurface* rgba = new gxtkSurface();
  rgba->SetData(HeapBytes({200, 100, 50, 128, 9, 9, 9, 0, 10, 20, 30, 255}), 3, 1, 4);
  EXPECT_EQ(PixelsOf(rgba), (std::vector<unsigned char>{100, 50, 25, 128, 0, 0, 0, 0, 10, 20, 30, 255}));
  EXPECT_EQ(rgba->glFormat, GL_RGBA);

  gxtkSurface* greyAlpha = new gxtkSurface();
  greyAlpha->SetData(HeapBytes({200, 128, 77, 0}), 2, 1, 2);
  EXPECT_EQ(PixelsOf(greyAlpha), (std::vector<unsigned char>{100, 128, 0, 0}));
  EXPECT_EQ(greyAlpha->glFormat, GL_LUMINANCE_ALPHA);

  gxtkSurface* rgb = new gxtkSurface();
  rgb->SetData(HeapBytes({200, 100, 50}), 1, 1, 3);
  EXPECT_EQ(PixelsOf(rgb), (std::vector<unsigned char>{200, 100, 50}));
  EXPECT_EQ(rgb->glFormat, GL_RGB);

  gxtkSurface* grey = new gxtkSurface();
  grey->SetData(HeapBytes({7}), 1, 1, 1);
  EXPECT_EQ(grey->glFormat, GL_LUMINANCE);
  EXPECT_EQ(grey->contextSeq, GXTK_NO_CONTEXT) << "no GL call before the first bind";

  for (gxtkSurface* s : {rgba, greyAlpha, rgb, grey}) s->Discard();
}

TEST(Surface, ATextureIsMadeOncePerWindowAndRemadeFromTheKeptBytes) {
  GlRecorder gl(0);
  gxtkSurface* s = new gxtkSurface();
  s->SetData(HeapBytes(std::vector<unsigned char>(4 * 4 * 4, 255)), 4, 4, 4);
  s->Bind();
  EXPECT_TRUE(gl.calls.empty()) << "no window yet: nothing to bind";

  glfwGraphicsSeq = 1;
  s->Bind();
  EXPECT_EQ(s->contextSeq, 1);
  EXPECT_EQ(gl.Count("GenTextures"), 1);
  std::vector<GlCall> parameters = gl.Named("TexParameteri");
  ASSERT_EQ(parameters.size(), 4u);
  EXPECT_EQ(parameters[0].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST}));
  EXPECT_EQ(parameters[1].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST}));
  EXPECT_EQ(parameters[2].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE}));
  EXPECT_EQ(parameters[3].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE}));
  EXPECT_EQ(gl.Named("TexImage2D")[0].args,
            (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE}));
  EXPECT_EQ(gl.Named("PixelStorei")[0].args, (std::vector<double>{GL_UNPACK_ALIGNMENT, 1}));
  EXPECT_EQ(gl.Named("TexSubImage2D")[0].args,
            (std::vector<double>{GL_TEXTURE_2D, 0, 0, 0, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE}));
  GLuint first = s->textureName;

  gl.Clear();
  s->Bind();
  ASSERT_EQ(gl.calls.size(), 1u);
  EXPECT_EQ(gl.calls[0].name, "BindTexture");
  EXPECT_EQ(gl.calls[0].args[1], first);

  // A new window: a new texture from the kept bytes; the old name died with its context.
  gl.Clear();
  glfwGraphicsSeq = 2;
  s->Bind();
  EXPECT_EQ(s->contextSeq, 2);
  EXPECT_NE(s->textureName, first);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 1);
  EXPECT_EQ(gl.Count("DeleteTextures"), 0);
  s->Discard();
}

TEST(Surface, AGlWithoutOddSizedTexturesGetsAPowerOfTwoTexture) {
  GlRecorder gl;
  gl.rejectNonPowerOfTwo = true;
  gxtkSurface* s = new gxtkSurface();
  s->SetData(HeapBytes(std::vector<unsigned char>(100 * 60 * 4)), 100, 60, 4);
  s->Bind();
  std::vector<GlCall> images = gl.Named("TexImage2D");
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[1].args[3], 128);
  EXPECT_EQ(images[1].args[4], 64);
  EXPECT_FLOAT_EQ(s->uScale, 1.0f / 128);
  EXPECT_FLOAT_EQ(s->vScale, 1.0f / 64);
  EXPECT_EQ(gl.Named("TexSubImage2D")[0].args[4], 100) << "the picture goes into the top-left corner";

  gl.rejectNonPowerOfTwo = false;
  gxtkSurface* t = new gxtkSurface();
  t->SetData(HeapBytes(std::vector<unsigned char>(100 * 60 * 4)), 100, 60, 4);
  t->Bind();
  EXPECT_FLOAT_EQ(t->uScale, 1.0f / 100);
  EXPECT_FLOAT_EQ(t->vScale, 1.0f / 60);
  s->Discard();
  t->Discard();
}

TEST(Surface, DiscardDeletesOnlyATextureOfTheCurrentWindow) {
  GlRecorder gl;
  gxtkSurface* current = new gxtkSurface();
  current->SetData(HeapBytes({1, 2, 3, 255}), 1, 1, 4);
  current->Bind();
  gxtkSurface* stale = new gxtkSurface();
  stale->SetData(HeapBytes({1, 2, 3, 255}), 1, 1, 4);
  stale->Bind();
  glfwGraphicsSeq = 2;
  current->Bind();

  gl.Clear();
  stale->Discard();
  EXPECT_EQ(gl.Count("DeleteTextures"), 0);
  EXPECT_EQ(stale->pixelData, nullptr);

  current->Discard();
  std::vector<GlCall> deleted = gl.Named("DeleteTextures");
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].args[1], current->textureName);
  EXPECT_EQ(current->contextSeq, GXTK_NO_CONTEXT);
  EXPECT_EQ(current->pixelData, nullptr);
  current->Discard();
  EXPECT_EQ(gl.Count("DeleteTextures"), 1) << "a second discard has nothing left to free";
}

TEST(Surface, WrittenPixelsArePremultipliedAndUploadedByRowsUnlessWhole) {
  GlRecorder gl;
  gxtkGraphics* device = new gxtkGraphics();
  gxtkSurface* s = device->CreateSurface(16, 16);
  EXPECT_EQ(s->pixelData, nullptr);
  EXPECT_EQ(gl.Named("TexImage2D")[0].args[3], 16);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 0) << "an empty surface uploads nothing";

  Array<int> whole(16 * 16);
  for (int& p : whole) p = static_cast<int>(0x80C86432u);  // A 128, R 200, G 100, B 50
  gl.Clear();
  device->WritePixels2(s, whole, 0, 0, 16, 16, 0, 16);
  std::vector<GlCall> uploads = gl.Named("TexSubImage2D");
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_EQ(uploads[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, 0, 0, 16, 16, GL_RGBA, GL_UNSIGNED_BYTE}));
  EXPECT_EQ(std::vector<unsigned char>(s->pixelData, s->pixelData + 4), (std::vector<unsigned char>{100, 50, 25, 128}));

  Array<int> block(1 + 4 * 4);
  for (int i = 1; i < block.Length(); ++i) block[i] = static_cast<int>(0xFF0000FFu);
  gl.Clear();
  device->WritePixels2(s, block, 2, 3, 4, 4, 1, 4);
  uploads = gl.Named("TexSubImage2D");
  ASSERT_EQ(uploads.size(), 4u);
  EXPECT_EQ(uploads[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, 2, 3, 4, 1, GL_RGBA, GL_UNSIGNED_BYTE}));
  EXPECT_EQ(uploads[3].args[3], 6);
  const unsigned char* written = s->pixelData + (3 * 16 + 2) * 4;
  EXPECT_EQ(std::vector<unsigned char>(written, written + 4), (std::vector<unsigned char>{0, 0, 255, 255}));

  // A stale texture is not written now: the next bind uploads everything.
  glfwGraphicsSeq = 2;
  gl.Clear();
  device->WritePixels2(s, block, 0, 0, 4, 4, 1, 4);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 0);
  s->Bind();
  EXPECT_EQ(gl.Named("TexSubImage2D")[0].args[4], 16);

  // Only RGBA surfaces take pixels.
  gxtkSurface* rgb = new gxtkSurface();
  rgb->SetData(HeapBytes({1, 2, 3}), 1, 1, 3);
  device->WritePixels2(rgb, block, 0, 0, 1, 1, 1, 1);
  EXPECT_EQ(std::vector<unsigned char>(rgb->pixelData, rgb->pixelData + 3), (std::vector<unsigned char>{1, 2, 3}));
  s->Discard();
  rgb->Discard();
}

}  // namespace

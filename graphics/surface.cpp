#include "graphics/surface.h"

#include <cstdlib>

#include "graphics/gl_calls.h"
#include "host/vx_game.h"
#include "runtime/fatal.h"
#include "runtime/gc.h"
#include "runtime/memory.h"

namespace {

// ---- Tunables ---------------------------------------------------------------
constexpr int GL_ERROR_FLAGS = 8;  // errors a GL may hold at once (one per kind)

// GL format by bytes per pixel.
constexpr GLenum FORMATS[] = {0, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};

int PowerOfTwoAtLeast(int size) {
  int power = 1;
  while (power < size && power < (1 << 30)) power <<= 1;
  return power;
}

// c · a / 255, truncated: how every colour byte is premultiplied.
inline unsigned char Premultiply(unsigned c, unsigned a) { return static_cast<unsigned char>(c * a / 255); }

// Premultiplies decoded pixels of `depth` bytes in place; only grey-alpha and RGBA have alpha.
void PremultiplyAll(unsigned char* p, size_t pixels, int depth) {
  if (depth == 2) {
    for (size_t i = 0; i < pixels; ++i, p += 2) p[0] = Premultiply(p[0], p[1]);
  } else if (depth == 4) {
    for (size_t i = 0; i < pixels; ++i, p += 4) {
      p[0] = Premultiply(p[0], p[3]);
      p[1] = Premultiply(p[1], p[3]);
      p[2] = Premultiply(p[2], p[3]);
    }
  }
}

}  // namespace

gxtkSurface::~gxtkSurface() { gxtkSurface::Discard(); }

void gxtkSurface::Discard() {
  if (contextSeq == glfwGraphicsSeq) {
    gxtkGL->DeleteTextures(1, &textureName);
    contextSeq = GXTK_NO_CONTEXT;
  }
  if (pixelData) {
    free(pixelData);
    pixelData = nullptr;
  }
}

int gxtkSurface::Width() { return width; }

int gxtkSurface::Height() { return height; }

bool gxtkSurface::Loaded() { return true; }

bool gxtkSurface::OnUnsafeLoadComplete() {
  Bind();
  return true;
}

void gxtkSurface::SetData(unsigned char* bytes, int w, int h, int depth) {
  // A refill replaces the old bytes and the texture made from them.
  gxtkSurface::Discard();
  gc_external_alloc(static_cast<size_t>(w) * static_cast<size_t>(h) * static_cast<size_t>(depth));
  pixelData = bytes;
  width = w;
  height = h;
  bytesPerPixel = depth;
  glFormat = depth >= 1 && depth <= 4 ? static_cast<int>(FORMATS[depth]) : 0;
  PremultiplyAll(bytes, static_cast<size_t>(w) * static_cast<size_t>(h), depth);
}

void gxtkSurface::DecodeOnDemand(String path) {
  file = path;
  if (contextSeq == glfwGraphicsSeq) {
    free(pixelData);
    pixelData = nullptr;
  }
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const uint32_t* pixels, int pitch) {
  if (glFormat != GL_RGBA || w <= 0 || h <= 0) return;
  if (x < 0 || y < 0 || static_cast<int64_t>(x) + w > width || static_cast<int64_t>(y) + h > height) {
    vxError(String("Pixel rectangle outside surface"));
  }
  // Cleared: the next window's texture is made from all of it, written or not.
  if (!pixelData) {
    pixelData = static_cast<unsigned char*>(vx_calloc(static_cast<size_t>(width) * height, 4));
    gc_external_alloc(static_cast<size_t>(width) * height * 4);
  }
  for (int py = 0; py < h; ++py) {
    const uint32_t* source = pixels + static_cast<ptrdiff_t>(py) * pitch;
    unsigned char* target = pixelData + (static_cast<size_t>(y + py) * width + x) * 4;
    for (int px = 0; px < w; ++px, target += 4) {
      uint32_t argb = source[px];
      unsigned a = argb >> 24;
      target[0] = Premultiply(argb >> 16 & 0xFF, a);
      target[1] = Premultiply(argb >> 8 & 0xFF, a);
      target[2] = Premultiply(argb & 0xFF, a);
      target[3] = static_cast<unsigned char>(a);
    }
  }
  // A texture of an earlier context is remade whole, from pixelData, at the next Bind.
  if (contextSeq != glfwGraphicsSeq) return;
  const gxtkGLCalls& gl = *gxtkGL;
  gl.BindTexture(GL_TEXTURE_2D, textureName);
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (w == width) {
    gl.TexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixelData + static_cast<size_t>(y) * width * 4);
    return;
  }
  for (int py = 0; py < h; ++py) {
    gl.TexSubImage2D(GL_TEXTURE_2D, 0, x, y + py, w, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixelData + (static_cast<size_t>(y + py) * width + x) * 4);
  }
}

void gxtkSurface::Bind() {
  if (glfwGraphicsSeq == 0) return;
  const gxtkGLCalls& gl = *gxtkGL;
  if (contextSeq == glfwGraphicsSeq) {
    gl.BindTexture(GL_TEXTURE_2D, textureName);
    return;
  }
  // A file changed since into another shape is not drawn: its texture stays empty.
  if (!pixelData && !file.Empty()) {
    int w = 0, h = 0, depth = 0;
    pixelData = VxGlfwGame::_glfwGame->LoadImageData(file, &w, &h, &depth);
    if (pixelData && (w != width || h != height || depth != bytesPerPixel)) {
      free(pixelData);
      pixelData = nullptr;
    }
    if (pixelData) PremultiplyAll(pixelData, static_cast<size_t>(w) * static_cast<size_t>(h), depth);
  }
  // The old name, if any, died with its context: it is not deleted.
  contextSeq = glfwGraphicsSeq;
  gl.GenTextures(1, &textureName);
  gl.BindTexture(GL_TEXTURE_2D, textureName);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  int textureWidth = width, textureHeight = height;
  // An error left by an earlier call must not pass for a refusal of this size.
  for (int i = 0; i < GL_ERROR_FLAGS; ++i) {
    if (gl.GetError() == GL_NO_ERROR) break;
  }
  gl.TexImage2D(GL_TEXTURE_2D, 0, glFormat, width, height, 0, glFormat, GL_UNSIGNED_BYTE, nullptr);
  if (gl.GetError() != GL_NO_ERROR) {
    // Some GLs take power-of-two sizes only: the picture sits in the top-left corner.
    textureWidth = PowerOfTwoAtLeast(width);
    textureHeight = PowerOfTwoAtLeast(height);
    gl.TexImage2D(GL_TEXTURE_2D, 0, glFormat, textureWidth, textureHeight, 0, glFormat, GL_UNSIGNED_BYTE, nullptr);
  }
  uScale = 1.0f / static_cast<float>(textureWidth);
  vScale = 1.0f / static_cast<float>(textureHeight);
  // The driver holds the texture's own copy of the pixels.
  gc_external_alloc(static_cast<size_t>(textureWidth) * static_cast<size_t>(textureHeight) *
                    static_cast<size_t>(bytesPerPixel));
  if (pixelData) {
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, glFormat, GL_UNSIGNED_BYTE, pixelData);
  }
  if (!file.Empty()) {
    free(pixelData);
    pixelData = nullptr;
  }
}

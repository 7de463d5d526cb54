// gxtkSurface: one decoded picture and the GL texture made from it.
//
// The host re-creates the window (and with it the GL context) on a
// fullscreen switch, so a texture is made lazily, at the first Bind under
// each value of glfwGraphicsSeq; one made under an earlier value died with
// its context and is never deleted. The pixel bytes it is made from,
// premultiplied by alpha, stay in memory for the surface's whole life, except
// for a picture that is only drawn: it keeps the name of its file instead and
// is decoded again when a later context needs its texture. The GL driver
// keeps its own copy of every texture, and the 4x art of a full screen is
// 71 MB of pixels.
#pragma once
#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

// ---- Tunables ---------------------------------------------------------------
constexpr int GXTK_NO_CONTEXT = -1;  // contextSeq of a surface without a texture

class gxtkSurface : public Object {
 public:
  unsigned char* pixelData = nullptr;  // owned (C heap); rows top to bottom, premultiplied
  int width = 0, height = 0;
  int bytesPerPixel = 0;             // 1 to 4
  int glFormat = 0;                  // GL format matching bytesPerPixel
  int contextSeq = GXTK_NO_CONTEXT;  // glfwGraphicsSeq the texture was made under
  unsigned textureName = 0;
  float uScale = 0, vScale = 0;  // 1 / texture width, 1 / texture height
  String file;                   // a drawn-only picture's file; empty when the bytes are kept

  ~gxtkSurface() override;

  virtual void Discard();
  virtual int Width();
  virtual int Height();
  virtual bool Loaded();
  // Completes a surface filled by LoadSurface__UNSAFE__: makes its texture.
  virtual bool OnUnsafeLoadComplete();

  // Takes ownership of `bytes` (C heap) and premultiplies them in place; the
  // bytes and texture of an earlier fill are freed.
  void SetData(unsigned char* bytes, int width, int height, int depth);
  // Writes 0xAARRGGBB pixels, premultiplied, into an RGBA surface and its texture.
  void SetSubData(int x, int y, int w, int h, const uint32_t* pixels, int pitch);
  // Makes the texture current, creating it first when this context has none.
  void Bind();
  // From now on the bytes are dropped once the texture is made, and decoded
  // again from `path` when a later context needs it.
  void DecodeOnDemand(String path);
};

// A GL table that draws nothing, for running the game without a window
// system. Its window is only the size set in gxtkHeadless; it names textures,
// counts frames and draw calls, and folds every vertex drawn into a digest,
// so that two runs can be shown to have drawn the same.
#pragma once
#include <cstddef>
#include <cstdint>

#include "graphics/gl_calls.h"
#include "graphics/graphics_device.h"

constexpr uint64_t GXTK_DIGEST_START = 14695981039346656037ull;

struct gxtkHeadlessGL {
  int windowWidth = 640, windowHeight = 480;
  int framebufferWidth = 640, framebufferHeight = 480;
  long long frames = 0, drawCalls = 0;
  uint64_t digest = GXTK_DIGEST_START;  // of every vertex drawn, in order
  GLuint nextTexture = 1;
  long long textures = 0;  // made and not deleted
  bool texturing = false;
};

extern gxtkHeadlessGL gxtkHeadless;
extern const gxtkGLCalls gxtkGLHeadless;

// `count` bytes folded into `digest`: 64-bit FNV-1a over 8-byte words, then
// over the bytes left.
uint64_t gxtkDigest(uint64_t digest, const void* bytes, size_t count);
// The vertices of a draw call folded into `digest`. Their texture
// coordinates count only when texturing is on: GL reads them only then, and
// the device leaves them as they were for shapes without a texture.
uint64_t gxtkDigestDraw(uint64_t digest, const gxtkVertex* vertices, int count, bool textured);

// A GL call table that records instead of drawing. While it lives a window is open (glfwGraphicsSeq `seq`);
// after it, surfaces destroyed later make no GL calls.
#pragma once
#include <string>
#include <vector>

#include "graphics/gl_calls.h"
#include "graphics/graphics_device.h"

struct GlCall {
  std::string name;                   // the entry point without its gl prefix: "DrawElements"
  std::vector<double> args;           // numeric arguments in order; pointers left out
  std::vector<gxtkVertex> vertices;   // for draw calls: the vertices GL would read
  std::vector<unsigned char> pixels;  // for texture uploads: the bytes GL would read
  GLuint texture = 0;                 // for draw calls: the texture bound at the time
  bool textured = false;              // for draw calls: GL_TEXTURE_2D enabled at the time
};

class GlRecorder {
 public:
  bool countOnly = false;  // count draw calls, keep nothing and allocate nothing (benchmarks)
  int drawCalls = 0;
  std::vector<GlCall> calls;

  // The window the device draws into; a 0 x 0 window is allowed.
  int windowWidth = 640, windowHeight = 480;
  // Pixels of its framebuffer: the window size unless the display scales it.
  int framebufferWidth = 640, framebufferHeight = 480;

  explicit GlRecorder(int seq = 1);
  ~GlRecorder();

  // Resizes the window, and its framebuffer with it.
  void SetWindowSize(int width, int height);
  void Clear();
  // The calls whose name starts with `prefix` in order: "Draw" gives every draw call.
  std::vector<GlCall> Named(const std::string& prefix) const;
  int Count(const std::string& prefix) const { return static_cast<int>(Named(prefix).size()); }
  std::vector<GlCall> Draws() const { return Named("Draw"); }

  // Recorder state the table's functions keep up to date.
  const gxtkVertex* vertexArray = nullptr;
  GLuint boundTexture = 0;
  bool texturing = false;
  GLuint nextTexture = 1;
};

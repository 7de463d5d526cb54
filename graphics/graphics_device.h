// gxtkGraphics: the program's one renderer, a 2-D immediate-mode device over
// fixed-function OpenGL with client-side vertex arrays.
//
// Every primitive is transformed and coloured on the CPU and appended to one
// vertex buffer. A batch holds primitives of one vertex count and one texture;
// it reaches GL only when the next primitive cannot join it, when a state
// change needs it (blend, scissor, pixel read or write) or when the frame ends.
// Colour and matrix are baked into the vertices as they are written, so
// changing them never costs a draw call; nor does setting the blend already
// in force.
#pragma once
#include <cstdint>

#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

class gxtkSurface;

// ---- Tunables ---------------------------------------------------------------
constexpr int GXTK_BATCH_VERTICES = 1024;                    // vertices per batch
constexpr int GXTK_BATCH_QUADS = GXTK_BATCH_VERTICES / 4;    // quads per batch
constexpr int GXTK_QUAD_INDICES = GXTK_BATCH_QUADS * 6;      // indices of a full quad batch
constexpr int GXTK_OVAL_MIN_SEGMENTS = 12;                   // segments of the smallest oval
constexpr int GXTK_OVAL_MAX_SEGMENTS = GXTK_BATCH_VERTICES;  // an oval is one batch at most

// One vertex as GL reads it: stride 20 bytes, colour bytes R, G, B, A.
struct gxtkVertex {
  float x, y;
  float u, v;
  uint32_t color;
};
static_assert(sizeof(gxtkVertex) == 20, "GL reads the batch with a 20-byte stride");

class gxtkGraphics : public Object {
 public:
  int width = 0, height = 0;  // window size at construction and at every BeginRender
  // Its framebuffer in pixels at the last BeginRender; more than the window
  // size on a display that scales windows. Drawing stays in window units.
  int framebufferWidth = 0, framebufferHeight = 0;
  uint32_t packedColor = 0;   // premultiplied colour, bytes R, G, B, A in memory
  float red = 0, green = 0, blue = 0;
  float alpha = 0;
  float xAxisX = 1, xAxisY = 0, yAxisX = 0, yAxisY = 1, originX = 0, originY = 0;
  bool transformed = false;  // false exactly when the matrix is the identity
  bool additive = false;     // the blend function in force adds (mode 1) rather than blends
  gxtkVertex batchVertices[GXTK_BATCH_VERTICES];
  uint16_t quadIndexList[GXTK_QUAD_INDICES];
  int batchType = 0;                    // vertices per primitive of the open batch
  int batchCount = 0;                   // vertices written into the open batch
  gxtkSurface* batchSurface = nullptr;  // texture of the open batch, none when untextured

  gxtkGraphics();
  void mark() override;

  virtual int Width();
  virtual int Height();
  virtual int BeginRender();
  virtual void EndRender();
  virtual void DiscardGraphics();
  // Surfaces are made here so that they meet the device's GL; see surface.h.
  virtual gxtkSurface* LoadSurface(String path);
  virtual gxtkSurface* LoadSurface__UNSAFE__(gxtkSurface* surface, String path);
  virtual gxtkSurface* CreateSurface(int width, int height);
  virtual void Cls(float r, float g, float b);
  virtual void SetAlpha(float a);
  virtual void SetColor(float r, float g, float b);
  virtual void SetBlend(int mode);
  virtual void SetScissor(int x, int y, int w, int h);
  virtual void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
  virtual void DrawPoint(float x, float y);
  virtual void DrawRect(float x, float y, float w, float h);
  virtual void DrawLine(float x0, float y0, float x1, float y1);
  virtual void DrawOval(float x, float y, float w, float h);
  virtual void DrawPoly(Array<float> verts);
  virtual void DrawPoly2(Array<float> verts, gxtkSurface* surface, int srcx, int srcy);
  virtual void DrawSurface(gxtkSurface* surface, float x, float y);
  virtual void DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch);
  // x, y, w and h are framebuffer pixels from the top left.
  virtual void ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
  virtual void WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);

 private:
  // Room for `count` vertices of primitives of `type` vertices with `surface`.
  gxtkVertex* Begin(int type, int count, gxtkSurface* surface);
  void Flush();
  void Put(gxtkVertex* vertex, float x, float y);
  void Put(gxtkVertex* vertex, float x, float y, float u, float v);
  void PutQuad(gxtkVertex* vertex, float x0, float y0, float x1, float y1, float u0, float v0, float u1, float v1);
};

#include "graphics/graphics_device.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "graphics/gl_calls.h"
#include "graphics/surface.h"
#include "host/vx_game.h"
#include "runtime/fatal.h"
#include "runtime/memory.h"

namespace {

// GL primitive of a batch of points, lines or triangles, by vertices per primitive.
constexpr GLenum BATCH_MODES[] = {0, GL_POINTS, GL_LINES, GL_TRIANGLES};
// A quad's two triangles, as corners of the quad.
constexpr uint16_t QUAD_CORNERS[6] = {0, 1, 2, 0, 2, 3};
constexpr float FULL_TURN = 6.2831855f;  // radians round an oval, in single precision

// Toward zero like a C cast, but saturating at the int range (NaN gives 0):
// colours and radii are packed without clamping, so any float can arrive.
int Truncate(float value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0f) return INT32_MAX;
  if (value <= -2147483648.0f) return INT32_MIN;
  return static_cast<int>(value);
}

// Premultiplied by alpha; out-of-range terms spill into their neighbours, unclamped.
uint32_t PackColor(float r, float g, float b, float a) {
  return static_cast<uint32_t>(Truncate(255.0f * a)) << 24 | static_cast<uint32_t>(Truncate(b * a)) << 16 |
         static_cast<uint32_t>(Truncate(g * a)) << 8 | static_cast<uint32_t>(Truncate(r * a));
}

// True when h rows of w elements, the first at `offset` and each `pitch`
// after the one before, all lie within an array of `length` elements.
bool RowsInside(int length, int offset, int w, int h, int pitch) {
  int64_t span = static_cast<int64_t>(h - 1) * pitch;
  int64_t low = offset + (span < 0 ? span : 0);
  int64_t high = offset + (span > 0 ? span : 0) + w;
  return low >= 0 && high <= length;
}

// `units` of a window `windowUnits` wide in pixels of a framebuffer `pixels` wide.
int ToPixels(int units, int pixels, int windowUnits) {
  if (windowUnits <= 0) return units;
  return static_cast<int>(static_cast<int64_t>(units) * pixels / windowUnits);
}

}  // namespace

gxtkGraphics::gxtkGraphics() {
  gxtkGL->GetWindowSize(&width, &height);
  for (int q = 0; q < GXTK_BATCH_QUADS; ++q) {
    for (int i = 0; i < 6; ++i) quadIndexList[q * 6 + i] = static_cast<uint16_t>(q * 4 + QUAD_CORNERS[i]);
  }
}

void gxtkGraphics::mark() { gc_queue(batchSurface); }

int gxtkGraphics::Width() { return width; }

int gxtkGraphics::Height() { return height; }

int gxtkGraphics::BeginRender() {
  const gxtkGLCalls& gl = *gxtkGL;
  gl.GetWindowSize(&width, &height);
  gl.GetFramebufferSize(&framebufferWidth, &framebufferHeight);
  gl.Viewport(0, 0, framebufferWidth, framebufferHeight);
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Ortho(0, width, height, 0, -1, 1);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  // The window, and with it the context, may be new since the last frame.
  gl.EnableClientState(GL_VERTEX_ARRAY);
  gl.VertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &batchVertices[0].x);
  gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
  gl.TexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &batchVertices[0].u);
  gl.EnableClientState(GL_COLOR_ARRAY);
  gl.ColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), &batchVertices[0].color);
  gl.Enable(GL_BLEND);
  gl.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  additive = false;
  gl.Disable(GL_TEXTURE_2D);
  batchCount = 0;
  return 1;
}

void gxtkGraphics::EndRender() {
  Flush();
  gxtkGL->SwapBuffers();
}

void gxtkGraphics::DiscardGraphics() {}

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
  gxtkSurface* loaded = LoadSurface__UNSAFE__(new gxtkSurface(), path);
  if (loaded) loaded->Bind();
  return loaded;
}

gxtkSurface* gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
  int w = 0, h = 0, depth = 0;
  unsigned char* bytes = VxGlfwGame::_glfwGame->LoadImageData(path, &w, &h, &depth);
  if (!bytes) return nullptr;
  surface->SetData(bytes, w, h, depth);
  return surface;
}

gxtkSurface* gxtkGraphics::CreateSurface(int w, int h) {
  gxtkSurface* surface = new gxtkSurface();
  surface->width = w;
  surface->height = h;
  surface->bytesPerPixel = 4;
  surface->glFormat = GL_RGBA;
  surface->Bind();
  return surface;
}

void gxtkGraphics::Cls(float r, float g, float b) {
  batchCount = 0;
  gxtkGL->ClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
  gxtkGL->Clear(GL_COLOR_BUFFER_BIT);
}

void gxtkGraphics::SetAlpha(float a) {
  alpha = a;
  packedColor = PackColor(red, green, blue, alpha);
}

void gxtkGraphics::SetColor(float r, float g, float b) {
  red = r;
  green = g;
  blue = b;
  packedColor = PackColor(red, green, blue, alpha);
}

void gxtkGraphics::SetBlend(int mode) {
  bool add = mode == 1;
  if (add == additive) return;
  Flush();
  additive = add;
  gxtkGL->BlendFunc(GL_ONE, add ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
}

void gxtkGraphics::SetScissor(int x, int y, int w, int h) {
  Flush();
  if (x == 0 && y == 0 && w == Width() && h == Height()) {
    gxtkGL->Disable(GL_SCISSOR_TEST);
    return;
  }
  gxtkGL->Enable(GL_SCISSOR_TEST);
  // GL takes framebuffer pixels, counted from the bottom.
  gxtkGL->Scissor(ToPixels(x, framebufferWidth, width), ToPixels(height - y - h, framebufferHeight, height),
                  ToPixels(w, framebufferWidth, width), ToPixels(h, framebufferHeight, height));
}

void gxtkGraphics::SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
  xAxisX = ix;
  xAxisY = iy;
  yAxisX = jx;
  yAxisY = jy;
  originX = tx;
  originY = ty;
  transformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
}

gxtkVertex* gxtkGraphics::Begin(int type, int count, gxtkSurface* surface) {
  if (type == batchType && surface == batchSurface && batchCount + count <= GXTK_BATCH_VERTICES) {
    gxtkVertex* room = batchVertices + batchCount;
    batchCount += count;
    return room;
  }
  Flush();
  batchType = type;
  gc_assign(batchSurface, surface);
  batchCount = count;
  return batchVertices;
}

void gxtkGraphics::Flush() {
  if (batchCount == 0) return;
  const gxtkGLCalls& gl = *gxtkGL;
  if (batchSurface) {
    gl.Enable(GL_TEXTURE_2D);
    batchSurface->Bind();
  }
  if (batchType == 4) {
    gl.DrawElements(GL_TRIANGLES, batchCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndexList);
  } else if (batchType < 4) {
    gl.DrawArrays(BATCH_MODES[batchType], 0, batchCount);
  } else {
    for (int first = 0; first < batchCount; first += batchType) gl.DrawArrays(GL_TRIANGLE_FAN, first, batchType);
  }
  if (batchSurface) gl.Disable(GL_TEXTURE_2D);
  batchCount = 0;
}

inline void gxtkGraphics::Put(gxtkVertex* vertex, float x, float y) {
  if (transformed) {
    vertex->x = xAxisX * x + yAxisX * y + originX;
    vertex->y = xAxisY * x + yAxisY * y + originY;
  } else {
    vertex->x = x;
    vertex->y = y;
  }
  vertex->color = packedColor;
}

inline void gxtkGraphics::Put(gxtkVertex* vertex, float x, float y, float u, float v) {
  Put(vertex, x, y);
  vertex->u = u;
  vertex->v = v;
}

void gxtkGraphics::PutQuad(gxtkVertex* vertex, float x0, float y0, float x1, float y1, float u0, float v0, float u1,
                           float v1) {
  Put(vertex, x0, y0, u0, v0);
  Put(vertex + 1, x1, y0, u1, v0);
  Put(vertex + 2, x1, y1, u1, v1);
  Put(vertex + 3, x0, y1, u0, v1);
}

void gxtkGraphics::DrawPoint(float x, float y) { Put(Begin(1, 1, nullptr), x, y); }

void gxtkGraphics::DrawLine(float x0, float y0, float x1, float y1) {
  gxtkVertex* vertex = Begin(2, 2, nullptr);
  Put(vertex, x0, y0);
  Put(vertex + 1, x1, y1);
}

void gxtkGraphics::DrawRect(float x, float y, float w, float h) {
  gxtkVertex* vertex = Begin(4, 4, nullptr);
  Put(vertex, x, y);
  Put(vertex + 1, x + w, y);
  Put(vertex + 2, x + w, y + h);
  Put(vertex + 3, x, y + h);
}

void gxtkGraphics::DrawOval(float x, float y, float w, float h) {
  float xr = w * 0.5f, yr = h * 0.5f;
  float cx = x + xr, cy = y + yr;
  // As many segments as the transformed radii have pixels, within one batch.
  int64_t segments;
  if (transformed) {
    float dx = std::sqrt((xr * xAxisX) * (xr * xAxisX) + (xr * xAxisY) * (xr * xAxisY));
    float dy = std::sqrt((yr * yAxisX) * (yr * yAxisX) + (yr * yAxisY) * (yr * yAxisY));
    segments = Truncate(dx + dy);
  } else {
    segments = std::llabs(static_cast<int64_t>(Truncate(xr))) + std::llabs(static_cast<int64_t>(Truncate(yr)));
  }
  if (segments < GXTK_OVAL_MIN_SEGMENTS) {
    segments = GXTK_OVAL_MIN_SEGMENTS;
  } else if (segments > GXTK_OVAL_MAX_SEGMENTS) {
    segments = GXTK_OVAL_MAX_SEGMENTS;
  } else {
    segments &= ~3;
  }
  int n = static_cast<int>(segments);
  gxtkVertex* vertex = Begin(n, n, nullptr);
  for (int i = 0; i < n; ++i) {
    float theta = static_cast<float>(i) * FULL_TURN / static_cast<float>(n);
    Put(vertex + i, cx + std::cos(theta) * xr, cy - std::sin(theta) * yr);
  }
}

void gxtkGraphics::DrawPoly(Array<float> verts) {
  int n = verts.Length() / 2;
  if (n < 1 || n > GXTK_BATCH_VERTICES) return;
  gxtkVertex* vertex = Begin(n, n, nullptr);
  for (int i = 0; i < n; ++i) Put(vertex + i, verts[i * 2], verts[i * 2 + 1]);
}

void gxtkGraphics::DrawPoly2(Array<float> verts, gxtkSurface* surface, int srcx, int srcy) {
  int n = verts.Length() / 4;
  if (n < 1 || n > GXTK_BATCH_VERTICES) return;
  gxtkVertex* vertex = Begin(n, n, surface);
  for (int i = 0; i < n; ++i) {
    const float* v = &verts[i * 4];
    Put(vertex + i, v[0], v[1], (v[2] + srcx) * surface->uScale, (v[3] + srcy) * surface->vScale);
  }
}

void gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
  float w = static_cast<float>(surface->Width()), h = static_cast<float>(surface->Height());
  PutQuad(Begin(4, 4, surface), x, y, x + w, y + h, 0, 0, w * surface->uScale, h * surface->vScale);
}

void gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch) {
  float u0 = static_cast<float>(srcx) * surface->uScale, u1 = static_cast<float>(srcx + srcw) * surface->uScale;
  float v0 = static_cast<float>(srcy) * surface->vScale, v1 = static_cast<float>(srcy + srch) * surface->vScale;
  PutQuad(Begin(4, 4, surface), x, y, x + static_cast<float>(srcw), y + static_cast<float>(srch), u0, v0, u1, v1);
}

void gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
  Flush();
  if (w <= 0 || h <= 0) return;
  if (!RowsInside(pixels.Length(), offset, w, h, pitch)) vxError(String("Pixel rectangle outside array"));
  size_t row = static_cast<size_t>(w) * 4;
  unsigned char* block = static_cast<unsigned char*>(vx_malloc(row * static_cast<size_t>(h)));
  gxtkGL->ReadPixels(x, framebufferHeight - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, block);
  // GL's rows run bottom to top; the array's top to bottom.
  for (int i = 0; i < h; ++i) {
    memcpy(&pixels[offset + i * pitch], block + static_cast<size_t>(h - 1 - i) * row, row);
  }
  free(block);
}

void gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                                int pitch) {
  Flush();
  if (w <= 0 || h <= 0) return;
  if (!RowsInside(pixels.Length(), offset, w, h, pitch)) vxError(String("Pixel rectangle outside array"));
  surface->SetSubData(x, y, w, h, reinterpret_cast<const uint32_t*>(&pixels[offset]), pitch);
}

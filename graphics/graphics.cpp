// The graphics module's drawing state: colour, blend, scissor, the matrix and
// its stack, and the draw calls that forward to the render device.
#include "graphics/graphics.h"

#include <cmath>

#include "framework/vxmath.h"
#include "runtime/fatal.h"

gxtkGraphics* vx_graphics_device = nullptr;
c_GraphicsContext* vx_graphics_context = nullptr;
gxtkGraphics* vx_graphics_renderDevice = nullptr;

namespace {

int IsIdentity(const c_GraphicsContext* c) {
  return c->xAxisX == 1 && c->xAxisY == 0 && c->yAxisX == 0 && c->yAxisY == 1 && c->originX == 0 &&
         c->originY == 0;
}

}  // namespace

c_GraphicsContext* c_GraphicsContext::m_new() {
  gc_assign(matrixStack, Array<float>(VX_GRAPHICS_STACK_FLOATS));
  return this;
}

void c_GraphicsContext::mark() {
  gc_queue(builtinFont);
  gc_queue(currentFont);
  gc_queue(matrixStack);
}

// ---- Frame ----------------------------------------------------------------------

int vx_graphics_SetGraphicsDevice(gxtkGraphics* device) {
  gc_assign(vx_graphics_device, device);
  return 0;
}

int vx_graphics_BeginRender() {
  gc_assign(vx_graphics_renderDevice, vx_graphics_device);
  c_GraphicsContext* c = vx_graphics_context;
  c->stackTop = 0;
  vx_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
  vx_graphics_SetColor(255, 255, 255);
  vx_graphics_SetAlpha(1);
  vx_graphics_SetBlend(0);
  vx_graphics_SetScissor(0, 0, static_cast<float>(vx_graphics_DeviceWidth()),
                         static_cast<float>(vx_graphics_DeviceHeight()));
  return 0;
}

int vx_graphics_EndRender() {
  vx_graphics_renderDevice = nullptr;
  return 0;
}

// ---- State ------------------------------------------------------------------------

int vx_graphics_SetColor(float r, float g, float b) {
  c_GraphicsContext* c = vx_graphics_context;
  c->red = r;
  c->green = g;
  c->blue = b;
  vx_graphics_renderDevice->SetColor(r, g, b);
  return 0;
}

int vx_graphics_SetAlpha(float a) {
  vx_graphics_context->alpha = a;
  vx_graphics_renderDevice->SetAlpha(a);
  return 0;
}

int vx_graphics_SetBlend(int mode) {
  vx_graphics_context->blendMode = mode;
  vx_graphics_renderDevice->SetBlend(mode);
  return 0;
}

int vx_graphics_SetScissor(float x, float y, float w, float h) {
  c_GraphicsContext* c = vx_graphics_context;
  c->scissorX = x;
  c->scissorY = y;
  c->scissorWidth = w;
  c->scissorHeight = h;
  vx_graphics_renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                                       static_cast<int>(h));
  return 0;
}

int vx_graphics_Cls(float r, float g, float b) {
  vx_graphics_renderDevice->Cls(r, g, b);
  return 0;
}

int vx_graphics_DeviceWidth() { return vx_graphics_device->Width(); }

int vx_graphics_DeviceHeight() { return vx_graphics_device->Height(); }

// ---- Matrix -------------------------------------------------------------------------

int vx_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
  c_GraphicsContext* c = vx_graphics_context;
  c->xAxisX = ix;
  c->xAxisY = iy;
  c->yAxisX = jx;
  c->yAxisY = jy;
  c->originX = tx;
  c->originY = ty;
  c->transformed = !IsIdentity(c);
  c->matrixDirty = 1;
  return 0;
}

int vx_graphics_SetMatrix2(Array<float> m) { return vx_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]); }

// Multiplies on the right, so the latest transform acts first on the geometry.
int vx_graphics_Transform(float a, float b, float c, float d, float e, float f) {
  c_GraphicsContext* g = vx_graphics_context;
  return vx_graphics_SetMatrix(a * g->xAxisX + b * g->yAxisX, a * g->xAxisY + b * g->yAxisY,
                               c * g->xAxisX + d * g->yAxisX, c * g->xAxisY + d * g->yAxisY,
                               e * g->xAxisX + f * g->yAxisX + g->originX, e * g->xAxisY + f * g->yAxisY + g->originY);
}

int vx_graphics_Transform2(Array<float> m) { return vx_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]); }

int vx_graphics_Translate(float x, float y) { return vx_graphics_Transform(1, 0, 0, 1, x, y); }

int vx_graphics_Scale(float sx, float sy) { return vx_graphics_Transform(sx, 0, 0, sy, 0, 0); }

int vx_graphics_Rotate(float angle) {
  float theta = angle * D2R;
  float cosine = std::cos(theta), sine = std::sin(theta);
  return vx_graphics_Transform(cosine, -sine, sine, cosine, 0, 0);
}

int vx_graphics_PushMatrix() {
  c_GraphicsContext* c = vx_graphics_context;
  if (c->stackTop >= VX_GRAPHICS_STACK_FLOATS) vxError(String("Matrix stack overflow"));
  float* top = &c->matrixStack[c->stackTop];
  top[0] = c->xAxisX;
  top[1] = c->xAxisY;
  top[2] = c->yAxisX;
  top[3] = c->yAxisY;
  top[4] = c->originX;
  top[5] = c->originY;
  c->stackTop += VX_GRAPHICS_MATRIX_FLOATS;
  return 0;
}

int vx_graphics_PopMatrix() {
  c_GraphicsContext* c = vx_graphics_context;
  if (c->stackTop < VX_GRAPHICS_MATRIX_FLOATS) vxError(String("Matrix stack underflow"));
  c->stackTop -= VX_GRAPHICS_MATRIX_FLOATS;
  const float* top = &c->matrixStack[c->stackTop];
  return vx_graphics_SetMatrix(top[0], top[1], top[2], top[3], top[4], top[5]);
}

int vx_graphics_ValidateMatrix() {
  c_GraphicsContext* c = vx_graphics_context;
  if (c->matrixDirty) {
    vx_graphics_renderDevice->SetMatrix(c->xAxisX, c->xAxisY, c->yAxisX, c->yAxisY, c->originX, c->originY);
    c->matrixDirty = 0;
  }
  return 0;
}

// ---- Drawing ----------------------------------------------------------------------

int vx_graphics_DrawRect(float x, float y, float w, float h) {
  vx_graphics_ValidateMatrix();
  vx_graphics_renderDevice->DrawRect(x, y, w, h);
  return 0;
}

int vx_graphics_DrawLine(float x0, float y0, float x1, float y1) {
  vx_graphics_ValidateMatrix();
  vx_graphics_renderDevice->DrawLine(x0, y0, x1, y1);
  return 0;
}

int vx_graphics_DrawEllipse(float x, float y, float xr, float yr) {
  vx_graphics_ValidateMatrix();
  vx_graphics_renderDevice->DrawOval(x - xr, y - yr, xr + xr, yr + yr);
  return 0;
}

int vx_graphics_ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
  vx_graphics_ValidateMatrix();
  vx_graphics_renderDevice->ReadPixels(pixels, x, y, w, h, offset, pitch ? pitch : w);
  return 0;
}

// The graphics module: the drawing interface application code sees. One
// drawing state (the context) with a 2-D matrix and its push/pop stack, the
// image type with its frames, image loading and fonts, all drawing through
// the device of graphics_device.h. The matrix is composed on the CPU and sent
// to the device only when something is drawn after it changed.
#pragma once
#include "graphics/data_path.h"
#include "graphics/graphics_device.h"
#include "graphics/surface.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

// ---- Tunables ---------------------------------------------------------------
constexpr int VX_GRAPHICS_MATRIX_FLOATS = 6;                                       // floats of one matrix
constexpr int VX_GRAPHICS_MATRIX_DEPTH = 32;                                       // matrices that can be pushed
constexpr int VX_GRAPHICS_STACK_FLOATS = VX_GRAPHICS_MATRIX_DEPTH * VX_GRAPHICS_MATRIX_FLOATS;
constexpr int VX_GRAPHICS_FONT_FRAMES = 96;                                        // frames of the built-in font
constexpr int VX_GRAPHICS_FONT_FIRST_CHAR = 32;                                    // character of its first frame

class c_Image;

// The top-left corner of one frame in its image's surface.
class c_Frame : public Object {
 public:
  int srcX = 0, srcY = 0;

  c_Frame* m_new(int x, int y);
  c_Frame* m_new2();
};

class c_Image : public Object {
 public:
  // Image flags.
  static constexpr int HandleCentered = 1;  // handle at the frame centre
  static constexpr int PaddedX = 2;         // one-pixel border left and right of every frame
  static constexpr int PaddedY = 4;         // the same top and bottom
  static constexpr int WholeSurface = 65536;  // the one frame is the whole surface

  static int m_DefaultFlags;

  gxtkSurface* surface = nullptr;
  int frameWidth = 0, frameHeight = 0;
  Array<c_Frame*> frames;
  int flags = 0;
  float handleX = 0, handleY = 0;  // the point of the frame drawn at the given position
  c_Image* sourceImage = nullptr;  // none for images loaded from files

  c_Image* m_new();
  void mark() override;

  int p_SetHandle(float x, float y);
  int p_ApplyFlags(int flags);
  // Frames side by side across the whole surface.
  c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
  // A grid of frames read left to right and top to bottom from (x, y) within
  // the source rectangle (srcX, srcY, srcWidth, srcHeight) of the surface.
  c_Image* p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount, int flags,
                   c_Image* source, int srcX, int srcY, int srcWidth, int srcHeight);
};

class c_GraphicsContext : public Object {
 public:
  c_Image* builtinFont = nullptr;
  c_Image* currentFont = nullptr;
  int fontFirstChar = 0;
  int stackTop = 0;  // floats in use on matrixStack
  float xAxisX = 1, xAxisY = 0, yAxisX = 0, yAxisY = 1, originX = 0, originY = 0;
  int transformed = 0;  // 1 when the matrix is not the identity
  int matrixDirty = 0;  // 1 when the device has not yet received the matrix
  float red = 0, green = 0, blue = 0;
  float alpha = 0;
  int blendMode = 0;  // 0 alpha blending, 1 additive
  float scissorX = 0, scissorY = 0, scissorWidth = 0, scissorHeight = 0;
  Array<float> matrixStack;

  c_GraphicsContext* m_new();
  void mark() override;
};

// ---- Module globals -----------------------------------------------------------
extern gxtkGraphics* vx_graphics_device;          // the device, set once at start-up
extern c_GraphicsContext* vx_graphics_context;    // the drawing state
extern gxtkGraphics* vx_graphics_renderDevice;    // the device inside a frame, none outside

// ---- Frame ----------------------------------------------------------------------
int vx_graphics_SetGraphicsDevice(gxtkGraphics* device);
int vx_graphics_BeginRender();
int vx_graphics_EndRender();

// ---- State: valid only inside a frame -------------------------------------------
int vx_graphics_SetColor(float r, float g, float b);
int vx_graphics_SetAlpha(float a);
int vx_graphics_SetBlend(int mode);
int vx_graphics_SetScissor(float x, float y, float w, float h);
int vx_graphics_Cls(float r, float g, float b);
int vx_graphics_DeviceWidth();
int vx_graphics_DeviceHeight();

// ---- Matrix: no device call until the next draw -----------------------------------
int vx_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
int vx_graphics_SetMatrix2(Array<float> m);
int vx_graphics_Transform(float a, float b, float c, float d, float e, float f);
int vx_graphics_Transform2(Array<float> m);
int vx_graphics_Translate(float x, float y);
int vx_graphics_Scale(float sx, float sy);
int vx_graphics_Rotate(float angle);
int vx_graphics_PushMatrix();
int vx_graphics_PopMatrix();
// Sends the matrix to the render device if it changed since it was last sent.
int vx_graphics_ValidateMatrix();

// ---- Drawing ------------------------------------------------------------------------
int vx_graphics_DrawRect(float x, float y, float w, float h);
int vx_graphics_DrawLine(float x0, float y0, float x1, float y1);
int vx_graphics_DrawEllipse(float x, float y, float xr, float yr);
int vx_graphics_DrawImage(c_Image* image, float x, float y, int frame);
int vx_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame);
int vx_graphics_ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);

// ---- Fonts and images -----------------------------------------------------------------
int vx_graphics_SetFont(c_Image* font, int firstChar);
c_Image* vx_graphics_LoadImage(String path, int frameCount, int flags);
c_Image* vx_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags);

// Images: a surface cut into equal frames, with a handle; loading them from
// files, drawing them, and the font selection built on them.
#include "graphics/graphics.h"
#include "runtime/fatal.h"

int c_Image::m_DefaultFlags = 0;

c_Frame* c_Frame::m_new(int x, int y) {
  srcX = x;
  srcY = y;
  return this;
}

c_Frame* c_Frame::m_new2() { return this; }

c_Image* c_Image::m_new() { return this; }

void c_Image::mark() {
  gc_queue(surface);
  gc_queue(frames);
  gc_queue(sourceImage);
}

int c_Image::p_SetHandle(float x, float y) {
  handleX = x;
  handleY = y;
  flags &= ~HandleCentered;
  return 0;
}

int c_Image::p_ApplyFlags(int newFlags) {
  flags = newFlags;
  if (flags & PaddedX) {
    for (c_Frame* frame : frames) frame->srcX += 1;
    frameWidth -= 2;
  }
  if (flags & PaddedY) {
    for (c_Frame* frame : frames) frame->srcY += 1;
    frameHeight -= 2;
  }
  if (flags & HandleCentered) {
    p_SetHandle(static_cast<float>(frameWidth) * 0.5f, static_cast<float>(frameHeight) * 0.5f);
  }
  // One frame that is exactly the surface can be drawn as the whole surface.
  if (frames.Length() == 1 && frames[0]->srcX == 0 && frames[0]->srcY == 0 && frameWidth == surface->Width() &&
      frameHeight == surface->Height()) {
    flags |= WholeSurface;
  }
  return 0;
}

c_Image* c_Image::p_Init(gxtkSurface* source, int frameCount, int newFlags) {
  // Zero frames cannot share the width out.
  if (frameCount < 1) vxError(String("Image frame outside surface"));
  gc_assign(surface, source);
  frameWidth = surface->Width() / frameCount;
  frameHeight = surface->Height();
  gc_assign(frames, Array<c_Frame*>(frameCount));
  for (int i = 0; i < frameCount; ++i) gc_assign(frames[i], (new c_Frame())->m_new(i * frameWidth, 0));
  p_ApplyFlags(newFlags);
  return this;
}

c_Image* c_Image::p_Init2(gxtkSurface* source, int x, int y, int width, int height, int frameCount, int newFlags,
                          c_Image* sourceOf, int srcX, int srcY, int srcWidth, int srcHeight) {
  gc_assign(surface, source);
  gc_assign(sourceImage, sourceOf);
  frameWidth = width;
  frameHeight = height;
  gc_assign(frames, Array<c_Frame*>(frameCount));
  int cx = x, cy = y;
  for (int i = 0; i < frameCount; ++i) {
    if (cx + frameWidth > srcWidth) {
      cx = 0;
      cy += frameHeight;
    }
    if (cx + frameWidth > srcWidth || cy + frameHeight > srcHeight) vxError(String("Image frame outside surface"));
    gc_assign(frames[i], (new c_Frame())->m_new(cx + srcX, cy + srcY));
    cx += frameWidth;
  }
  p_ApplyFlags(newFlags);
  return this;
}

// ---- Drawing ------------------------------------------------------------------------

namespace {

c_Frame* FrameOf(c_Image* image, int frame) {
  if (frame < 0 || frame >= image->frames.Length()) vxError(String("Image frame index out of range"));
  return image->frames[frame];
}

void DrawFrame(c_Image* image, c_Frame* f, float x, float y) {
  if (image->flags & c_Image::WholeSurface) {
    vx_graphics_renderDevice->DrawSurface(image->surface, x, y);
  } else {
    vx_graphics_renderDevice->DrawSurface2(image->surface, x, y, f->srcX, f->srcY, image->frameWidth,
                                           image->frameHeight);
  }
}

}  // namespace

int vx_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
  c_Frame* f = FrameOf(image, frame);
  vx_graphics_ValidateMatrix();
  DrawFrame(image, f, x - image->handleX, y - image->handleY);
  return 0;
}

// Turns and scales the picture about its handle, which lands on (x, y).
int vx_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame) {
  c_Frame* f = FrameOf(image, frame);
  vx_graphics_PushMatrix();
  vx_graphics_Translate(x, y);
  vx_graphics_Rotate(rotation);
  vx_graphics_Scale(scaleX, scaleY);
  vx_graphics_Translate(-image->handleX, -image->handleY);
  vx_graphics_ValidateMatrix();
  DrawFrame(image, f, 0, 0);
  vx_graphics_PopMatrix();
  return 0;
}

// ---- Fonts and loading ----------------------------------------------------------------

int vx_graphics_SetFont(c_Image* font, int firstChar) {
  c_GraphicsContext* c = vx_graphics_context;
  if (!font) {
    if (!c->builtinFont) {
      gc_assign(c->builtinFont,
                vx_graphics_LoadImage(String("trel_font.png"), VX_GRAPHICS_FONT_FRAMES, c_Image::PaddedX));
    }
    font = c->builtinFont;
    firstChar = VX_GRAPHICS_FONT_FIRST_CHAR;
  }
  gc_assign(c->currentFont, font);
  c->fontFirstChar = firstChar;
  return 0;
}

c_Image* vx_graphics_LoadImage(String path, int frameCount, int flags) {
  String file = vx_data_FixDataPath(path);
  gxtkSurface* surface = vx_graphics_device->LoadSurface(file);
  if (!surface) return nullptr;
  surface->DecodeOnDemand(file);
  return (new c_Image())->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* vx_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags) {
  String file = vx_data_FixDataPath(path);
  gxtkSurface* surface = vx_graphics_device->LoadSurface(file);
  if (!surface) return nullptr;
  surface->DecodeOnDemand(file);
  return (new c_Image())
      ->m_new()
      ->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0, 0, surface->Width(),
                surface->Height());
}

// The graphics device's only road to OpenGL and to the window it draws into.
// Every GL entry point the device and its surfaces use is one pointer in this
// table; gxtkGL points at the plain OpenGL table in the program, and a test
// points it at a recorder so the renderer runs without a window.
#pragma once
#include <GL/gl.h>

struct gxtkGLCalls {
  void (*Viewport)(GLint x, GLint y, GLsizei width, GLsizei height);
  void (*MatrixMode)(GLenum mode);
  void (*LoadIdentity)();
  void (*Ortho)(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar);
  void (*EnableClientState)(GLenum array);
  void (*VertexPointer)(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer);
  void (*TexCoordPointer)(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer);
  void (*ColorPointer)(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer);
  void (*Enable)(GLenum capability);
  void (*Disable)(GLenum capability);
  void (*BlendFunc)(GLenum source, GLenum destination);
  void (*Scissor)(GLint x, GLint y, GLsizei width, GLsizei height);
  void (*ClearColor)(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
  void (*Clear)(GLbitfield mask);
  void (*DrawArrays)(GLenum mode, GLint first, GLsizei count);
  void (*DrawElements)(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices);
  void (*ReadPixels)(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels);
  void (*GenTextures)(GLsizei count, GLuint* names);
  void (*DeleteTextures)(GLsizei count, const GLuint* names);
  void (*BindTexture)(GLenum target, GLuint name);
  void (*TexParameteri)(GLenum target, GLenum name, GLint value);
  void (*TexImage2D)(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                     GLenum format, GLenum type, const GLvoid* pixels);
  void (*TexSubImage2D)(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                        GLenum type, const GLvoid* pixels);
  void (*PixelStorei)(GLenum name, GLint value);
  GLenum (*GetError)();
  // The window the context belongs to: its size in the units of window
  // coordinates, and the size of its framebuffer in pixels.
  void (*GetWindowSize)(int* width, int* height);
  void (*GetFramebufferSize)(int* width, int* height);
  void (*SwapBuffers)();
};

// Plain OpenGL and the host's window.
extern const gxtkGLCalls gxtkGLReal;
// The table in use; &gxtkGLReal unless a test installed its own.
extern const gxtkGLCalls* gxtkGL;

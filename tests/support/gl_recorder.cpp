#include "tests/support/gl_recorder.h"

#include <initializer_list>
#include <utility>

#include "host/vx_game.h"

namespace {

GlRecorder* recorder = nullptr;

// Arguments arrive as a list on the stack: counting alone allocates nothing.
void Record(const char* name, std::initializer_list<double> args) {
  if (recorder->countOnly) return;
  GlCall call;
  call.name = name;
  call.args = args;
  recorder->calls.push_back(std::move(call));
}

void RecordDraw(const char* name, std::initializer_list<double> args, int first, int count) {
  ++recorder->drawCalls;
  if (recorder->countOnly) return;
  Record(name, args);
  GlCall& call = recorder->calls.back();
  call.vertices.assign(recorder->vertexArray + first, recorder->vertexArray + first + count);
  call.texture = recorder->boundTexture;
  call.textured = recorder->texturing;
}

// Bytes per pixel of the texture formats the device uses.
int BytesPerPixel(GLenum format) {
  switch (format) {
    case GL_LUMINANCE:
      return 1;
    case GL_LUMINANCE_ALPHA:
      return 2;
    case GL_RGB:
      return 3;
    default:
      return 4;
  }
}

// What no test looks at is not kept.
void Viewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  Record("Viewport", {double(x), double(y), double(w), double(h)});
}
void MatrixMode(GLenum) {}
void LoadIdentity() {}
void Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar) {
  Record("Ortho", {left, right, bottom, top, zNear, zFar});
}
void EnableClientState(GLenum) {}
void VertexPointer(GLint, GLenum, GLsizei, const GLvoid* pointer) {
  recorder->vertexArray = static_cast<const gxtkVertex*>(pointer);
}
void OtherPointer(GLint, GLenum, GLsizei, const GLvoid*) {}
void Enable(GLenum capability) {
  if (capability == GL_TEXTURE_2D) recorder->texturing = true;
  Record("Enable", {double(capability)});
}
void Disable(GLenum capability) {
  if (capability == GL_TEXTURE_2D) recorder->texturing = false;
  Record("Disable", {double(capability)});
}
void BlendFunc(GLenum source, GLenum destination) { Record("BlendFunc", {double(source), double(destination)}); }
void Scissor(GLint x, GLint y, GLsizei w, GLsizei h) {
  Record("Scissor", {double(x), double(y), double(w), double(h)});
}
void ClearColor(GLclampf, GLclampf, GLclampf, GLclampf) {}
void Clear(GLbitfield) {}
void DrawArrays(GLenum mode, GLint first, GLsizei count) {
  RecordDraw("DrawArrays", {double(mode), double(first), double(count)}, first, count);
}
void DrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid*) {
  RecordDraw("DrawElements", {double(mode), double(count), double(type)}, 0, count / 6 * 4);
}
void ReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, GLvoid*) {}
void GenTextures(GLsizei count, GLuint* names) {
  for (int i = 0; i < count; ++i) names[i] = recorder->nextTexture++;
  Record("GenTextures", {double(count)});
}
void DeleteTextures(GLsizei count, const GLuint* names) { Record("DeleteTextures", {double(count), double(names[0])}); }
void BindTexture(GLenum target, GLuint name) {
  recorder->boundTexture = name;
  Record("BindTexture", {double(target), double(name)});
}
void TexParameteri(GLenum, GLenum, GLint) {}
void TexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format,
                GLenum type, const GLvoid*) {
  Record("TexImage2D", {double(target), double(level), double(internal), double(w), double(h), double(border),
                        double(format), double(type)});
}
// The device sets an unpack alignment of 1: rows are packed.
void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                   const GLvoid* pixels) {
  Record("TexSubImage2D",
         {double(target), double(level), double(x), double(y), double(w), double(h), double(format), double(type)});
  if (recorder->countOnly) return;
  const unsigned char* bytes = static_cast<const unsigned char*>(pixels);
  recorder->calls.back().pixels.assign(bytes, bytes + static_cast<size_t>(w) * h * BytesPerPixel(format));
}
void PixelStorei(GLenum, GLint) {}
GLenum GetError() { return GL_NO_ERROR; }
void GetWindowSize(int* w, int* h) { *w = recorder->windowWidth, *h = recorder->windowHeight; }
void GetFramebufferSize(int* w, int* h) { *w = recorder->framebufferWidth, *h = recorder->framebufferHeight; }
void SwapBuffers() {}

const gxtkGLCalls recordingTable = {
    Viewport,     MatrixMode,    LoadIdentity, Ortho,       EnableClientState, VertexPointer,      OtherPointer,
    OtherPointer, Enable,        Disable,      BlendFunc,   Scissor,           ClearColor,         Clear,
    DrawArrays,   DrawElements,  ReadPixels,   GenTextures, DeleteTextures,    BindTexture,        TexParameteri,
    TexImage2D,   TexSubImage2D, PixelStorei,  GetError,    GetWindowSize,     GetFramebufferSize, SwapBuffers,
};

}  // namespace

GlRecorder::GlRecorder(int seq) {
  recorder = this;
  gxtkGL = &recordingTable;
  glfwGraphicsSeq = seq;
}

GlRecorder::~GlRecorder() {
  gxtkGL = &gxtkGLReal;
  glfwGraphicsSeq = 0;
  recorder = nullptr;
}

void GlRecorder::SetWindowSize(int width, int height) {
  windowWidth = framebufferWidth = width;
  windowHeight = framebufferHeight = height;
}

void GlRecorder::Clear() {
  calls.clear();
  drawCalls = 0;
}

std::vector<GlCall> GlRecorder::Named(const std::string& prefix) const {
  std::vector<GlCall> found;
  for (const GlCall& call : calls) {
    if (call.name.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  }
  return found;
}

#include "tests/graphics/gl_recorder.h"

#include <cstdint>

#include "host/vx_game.h"

namespace {

GlRecorder* recorder = nullptr;

void Record(const char* name, std::vector<double> args) {
  if (recorder->countOnly) return;
  GlCall call;
  call.name = name;
  call.args = std::move(args);
  recorder->calls.push_back(std::move(call));
}

void RecordDraw(const char* name, std::vector<double> args, int first, int count) {
  ++recorder->drawCalls;
  if (recorder->countOnly) return;
  GlCall call;
  call.name = name;
  call.args = std::move(args);
  call.vertices.assign(recorder->vertexArray + first, recorder->vertexArray + first + count);
  call.texture = recorder->boundTexture;
  call.textured = recorder->texturing;
  recorder->calls.push_back(std::move(call));
}

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

void Viewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  Record("Viewport", {double(x), double(y), double(w), double(h)});
}
void MatrixMode(GLenum mode) { Record("MatrixMode", {double(mode)}); }
void LoadIdentity() { Record("LoadIdentity", {}); }
void Ortho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  Record("Ortho", {l, r, b, t, n, f});
}
void EnableClientState(GLenum array) { Record("EnableClientState", {double(array)}); }
void VertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
  recorder->vertexArray = static_cast<const gxtkVertex*>(pointer);
  Record("VertexPointer", {double(size), double(type), double(stride)});
}
void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid*) {
  Record("TexCoordPointer", {double(size), double(type), double(stride)});
}
void ColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid*) {
  Record("ColorPointer", {double(size), double(type), double(stride)});
}
void Enable(GLenum capability) {
  if (capability == GL_TEXTURE_2D) recorder->texturing = true;
  Record("Enable", {double(capability)});
}
void Disable(GLenum capability) {
  if (capability == GL_TEXTURE_2D) recorder->texturing = false;
  Record("Disable", {double(capability)});
}
void BlendFunc(GLenum s, GLenum d) { Record("BlendFunc", {double(s), double(d)}); }
void Scissor(GLint x, GLint y, GLsizei w, GLsizei h) {
  Record("Scissor", {double(x), double(y), double(w), double(h)});
}
void ClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { Record("ClearColor", {r, g, b, a}); }
void Clear(GLbitfield mask) { Record("Clear", {double(mask)}); }
void DrawArrays(GLenum mode, GLint first, GLsizei count) {
  RecordDraw("DrawArrays", {double(mode), double(first), double(count)}, first, count);
}
void DrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid*) {
  RecordDraw("DrawElements", {double(mode), double(count), double(type)}, 0, count / 6 * 4);
}
// GL row r (counted from the bottom), column c reads as 0xFF000000 | r << 12 | c.
void ReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, GLvoid* pixels) {
  uint32_t* out = static_cast<uint32_t*>(pixels);
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) out[r * w + c] = 0xFF000000u | uint32_t(r) << 12 | uint32_t(c);
  }
  Record("ReadPixels", {double(x), double(y), double(w), double(h), double(format), double(type)});
}
void GenTextures(GLsizei count, GLuint* names) {
  for (int i = 0; i < count; ++i) names[i] = recorder->nextTexture++;
  Record("GenTextures", {double(count)});
}
void DeleteTextures(GLsizei count, const GLuint* names) { Record("DeleteTextures", {double(count), double(names[0])}); }
void BindTexture(GLenum target, GLuint name) {
  recorder->boundTexture = name;
  Record("BindTexture", {double(target), double(name)});
}
void TexParameteri(GLenum target, GLenum name, GLint value) {
  Record("TexParameteri", {double(target), double(name), double(value)});
}
void TexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format,
                GLenum type, const GLvoid*) {
  if (recorder->rejectNonPowerOfTwo && !(PowerOfTwo(w) && PowerOfTwo(h))) recorder->pendingError = GL_INVALID_VALUE;
  Record("TexImage2D", {double(target), double(level), double(internal), double(w), double(h), double(border),
                        double(format), double(type)});
}
void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                   const GLvoid*) {
  Record("TexSubImage2D",
         {double(target), double(level), double(x), double(y), double(w), double(h), double(format), double(type)});
}
void PixelStorei(GLenum name, GLint value) { Record("PixelStorei", {double(name), double(value)}); }
GLenum GetError() {
  GLenum error = recorder->pendingError;
  recorder->pendingError = GL_NO_ERROR;
  return error;
}
void GetWindowSize(int* w, int* h) {
  *w = recorder->windowWidth;
  *h = recorder->windowHeight;
}
void SwapBuffers() { Record("SwapBuffers", {}); }

const gxtkGLCalls recordingTable = {
    Viewport,     MatrixMode,    LoadIdentity, Ortho,       EnableClientState, VertexPointer, TexCoordPointer,
    ColorPointer, Enable,        Disable,      BlendFunc,   Scissor,           ClearColor,    Clear,
    DrawArrays,   DrawElements,  ReadPixels,   GenTextures, DeleteTextures,    BindTexture,   TexParameteri,
    TexImage2D,   TexSubImage2D, PixelStorei,  GetError,    GetWindowSize,     SwapBuffers,
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

void GlRecorder::Clear() {
  calls.clear();
  drawCalls = 0;
}

int GlRecorder::Count(const std::string& name) const {
  int n = 0;
  for (const GlCall& call : calls) n += call.name == name;
  return n;
}

std::vector<GlCall> GlRecorder::Named(const std::string& name) const {
  std::vector<GlCall> found;
  for (const GlCall& call : calls) {
    if (call.name == name) found.push_back(call);
  }
  return found;
}

std::vector<GlCall> GlRecorder::Draws() const {
  std::vector<GlCall> found;
  for (const GlCall& call : calls) {
    if (call.name == "DrawArrays" || call.name == "DrawElements") found.push_back(call);
  }
  return found;
}

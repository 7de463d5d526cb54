#include "graphics/headless_gl.h"

#include <cstring>

gxtkHeadlessGL gxtkHeadless;

namespace {

constexpr uint64_t FNV_PRIME = 1099511628211ull;

const gxtkVertex* vertexArray = nullptr;

void Draw(const gxtkVertex* first, int count) {
  ++gxtkHeadless.drawCalls;
  gxtkHeadless.digest = gxtkDigestDraw(gxtkHeadless.digest, first, count, gxtkHeadless.texturing);
}

void Viewport(GLint, GLint, GLsizei, GLsizei) {}
void MatrixMode(GLenum) {}
void LoadIdentity() {}
void Ortho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void EnableClientState(GLenum) {}
void VertexPointer(GLint, GLenum, GLsizei, const GLvoid* pointer) {
  vertexArray = static_cast<const gxtkVertex*>(pointer);
}
void OtherPointer(GLint, GLenum, GLsizei, const GLvoid*) {}
void Enable(GLenum capability) {
  if (capability == GL_TEXTURE_2D) gxtkHeadless.texturing = true;
}
void Disable(GLenum capability) {
  if (capability == GL_TEXTURE_2D) gxtkHeadless.texturing = false;
}
void BlendFunc(GLenum, GLenum) {}
void Scissor(GLint, GLint, GLsizei, GLsizei) {}
void ClearColor(GLclampf, GLclampf, GLclampf, GLclampf) {}
void Clear(GLbitfield) {}
void DrawArrays(GLenum, GLint first, GLsizei count) { Draw(vertexArray + first, count); }
// The device draws elements only as its quads: six indices to four vertices, from the first.
void DrawElements(GLenum, GLsizei count, GLenum, const GLvoid*) { Draw(vertexArray, count / 6 * 4); }
void ReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, GLvoid*) {}
void GenTextures(GLsizei count, GLuint* names) {
  for (int i = 0; i < count; ++i) names[i] = gxtkHeadless.nextTexture++;
  gxtkHeadless.textures += count;
}
void DeleteTextures(GLsizei count, const GLuint*) { gxtkHeadless.textures -= count; }
void BindTexture(GLenum, GLuint) {}
void TexParameteri(GLenum, GLenum, GLint) {}
void TexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*) {}
void TexSubImage2D(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const GLvoid*) {}
void PixelStorei(GLenum, GLint) {}
GLenum GetError() { return GL_NO_ERROR; }
void GetWindowSize(int* w, int* h) { *w = gxtkHeadless.windowWidth, *h = gxtkHeadless.windowHeight; }
void GetFramebufferSize(int* w, int* h) { *w = gxtkHeadless.framebufferWidth, *h = gxtkHeadless.framebufferHeight; }
void SwapBuffers() { ++gxtkHeadless.frames; }

}  // namespace

const gxtkGLCalls gxtkGLHeadless = {
    Viewport,     MatrixMode,    LoadIdentity, Ortho,       EnableClientState, VertexPointer,      OtherPointer,
    OtherPointer, Enable,        Disable,      BlendFunc,   Scissor,           ClearColor,         Clear,
    DrawArrays,   DrawElements,  ReadPixels,   GenTextures, DeleteTextures,    BindTexture,        TexParameteri,
    TexImage2D,   TexSubImage2D, PixelStorei,  GetError,    GetWindowSize,     GetFramebufferSize, SwapBuffers,
};

// Eight bytes a step: a busy frame's vertices cost little to fold in.
uint64_t gxtkDigest(uint64_t digest, const void* bytes, size_t count) {
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  size_t i = 0;
  for (; i + sizeof(uint64_t) <= count; i += sizeof(uint64_t)) {
    uint64_t word;
    memcpy(&word, p + i, sizeof word);
    digest = (digest ^ word) * FNV_PRIME;
  }
  for (; i < count; ++i) digest = (digest ^ p[i]) * FNV_PRIME;
  return digest;
}

uint64_t gxtkDigestDraw(uint64_t digest, const gxtkVertex* vertices, int count, bool textured) {
  if (textured) return gxtkDigest(digest, vertices, sizeof(gxtkVertex) * static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    digest = gxtkDigest(digest, &vertices[i].x, 2 * sizeof(float));
    digest = gxtkDigest(digest, &vertices[i].color, sizeof vertices[i].color);
  }
  return digest;
}

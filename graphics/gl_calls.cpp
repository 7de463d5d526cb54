#include "graphics/gl_calls.h"

#include "host/glfw2.h"

// In the order of the table's fields.
const gxtkGLCalls gxtkGLReal = {
    glViewport,
    glMatrixMode,
    glLoadIdentity,
    glOrtho,
    glEnableClientState,
    glVertexPointer,
    glTexCoordPointer,
    glColorPointer,
    glEnable,
    glDisable,
    glBlendFunc,
    glScissor,
    glClearColor,
    glClear,
    glDrawArrays,
    glDrawElements,
    glReadPixels,
    glGenTextures,
    glDeleteTextures,
    glBindTexture,
    glTexParameteri,
    glTexImage2D,
    glTexSubImage2D,
    glPixelStorei,
    glGetError,
    glfwGetWindowSize,
    glfwGetFramebufferSize,
    glfwSwapBuffers,
};

const gxtkGLCalls* gxtkGL = &gxtkGLReal;

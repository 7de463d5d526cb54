// From GLFW 2 key codes to the framework's key codes, and from those to the
// editing characters that a key press also types.
#pragma once

// The framework code of a GLFW key, or 0 for a key the program ignores.
int TransKey(int glfwKey);
// The character a key press sends along with it, or 0.
int KeyToChar(int key);

// Picture files for tests: PNGs written by stb_image_write, and the real host
// to decode them.
#pragma once
#include <string>
#include <vector>

#include "host/vx_game.h"
#include "tests/support/temp_folder.h"

// Writes w x h pixels of `channels` bytes each as a PNG; false on failure.
bool WritePng(const std::string& path, int w, int h, int channels, const std::vector<unsigned char>& pixels);
std::vector<unsigned char> ReadFile(const std::string& path);

// The host the graphics code asks for pictures while it lives.
template <class Host>
struct Installed : Host {
  Installed() { VxGame::_game = VxGlfwGame::_glfwGame = this; }
  ~Installed() { VxGame::_game = VxGlfwGame::_glfwGame = nullptr; }
};

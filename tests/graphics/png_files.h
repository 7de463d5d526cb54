// Picture files for tests: PNGs written by stb_image_write, a scratch folder
// that becomes the working directory so "./data/" is the test's own, and the
// real host to decode them.
#pragma once
#include <string>
#include <vector>

#include "host/vx_game.h"

// Writes w x h pixels of `channels` bytes each as a PNG; false on failure.
bool WritePng(const std::string& path, int w, int h, int channels, const std::vector<unsigned char>& pixels);
std::vector<unsigned char> ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);

// A fresh folder with an empty data/ inside; the working directory while it lives.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  std::string Path(const std::string& relative) const { return root + "/" + relative; }

 private:
  std::string root;
  std::string previous;
};

// The host the graphics code asks for pictures while it lives.
template <class Host>
struct Installed : Host {
  Installed() { VxGame::_game = VxGlfwGame::_glfwGame = this; }
  ~Installed() { VxGame::_game = VxGlfwGame::_glfwGame = nullptr; }
};

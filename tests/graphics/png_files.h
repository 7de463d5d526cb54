// Picture files for tests: PNGs written by stb_image_write, and a scratch
// folder that becomes the working directory so "./data/" is the test's own.
#pragma once
#include <string>
#include <vector>

// Writes w x h pixels of `channels` bytes each as a PNG; false on failure.
bool WritePng(const std::string& path, int w, int h, int channels, const std::vector<unsigned char>& pixels);
// The bytes of a w x h PNG of `channels` bytes per pixel, all `value`.
std::vector<unsigned char> PngBytes(int w, int h, int channels, unsigned char value);
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

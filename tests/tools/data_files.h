// Reading the generated data folder back the way the game reads it: PNG
// through the host's image decoder and the game's image frame set-up, WAV and
// Ogg through the game's own readers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // empty when the file did not decode
  const uint8_t* At(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};
Picture LoadPicture(const std::string& path);

// The frame corners the game's image set-up gives a picture cut into frames
// of w x h (left to right, wrapping to the next row); true when the frames
// are as asked. A grid that does not fit ends the process, as in the game.
bool FrameGrid(const Picture& picture, int frameWidth, int frameHeight, int frames, std::vector<int>* xs,
               std::vector<int>* ys);

struct Pcm {
  bool ok = false;
  int channels = 0, bytesPerSample = 0, hertz = 0;
  std::vector<int16_t> samples;  // interleaved
  size_t Frames() const { return channels ? samples.size() / channels : 0; }
};
Pcm LoadWav(const std::string& path);
Pcm LoadOgg(const std::string& path);

// The folder the build generated, build/run/data.
std::string DataDir();

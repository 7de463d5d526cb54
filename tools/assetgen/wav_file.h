// WAV output: RIFF/WAVE, 16-bit PCM, a "fmt " chunk of 16 bytes first and
// then "data", the layout the game's reader expects.
#pragma once
#include <string>
#include <vector>

// Samples in -1..1 (clipped), `channels` interleaved.
bool WriteWav(const std::string& path, const std::vector<float>& samples, int channels, int hertz);

// Picture files for tests: PNGs written by stb_image_write.
#pragma once
#include <string>
#include <vector>

#include "host/vx_game.h"
#include "tests/support/temp_folder.h"

// Writes w x h pixels of `channels` bytes each as a PNG; false on failure.
bool WritePng(const std::string& path, int w, int h, int channels, const std::vector<unsigned char>& pixels);

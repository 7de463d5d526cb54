// PNG output. stb_image_write lives in png_file.cpp alone: its header does
// not compile cleanly under -Wextra.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes 8-bit RGBA rows (top first); false when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);

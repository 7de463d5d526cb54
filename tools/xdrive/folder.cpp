#include "tools/xdrive/folder.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

ScratchFolder::ScratchFolder() {
  char pattern[] = "/tmp/vx_XXXXXX";
  if (!mkdtemp(pattern)) abort();
  root_ = pattern;
}

ScratchFolder::~ScratchFolder() { std::filesystem::remove_all(root_); }

std::string ReadFile(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

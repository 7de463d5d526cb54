#include "tests/support/temp_folder.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

TempFolder::TempFolder() {
  char pattern[] = "/tmp/vx_test_XXXXXX";
  if (!mkdtemp(pattern)) abort();
  root_ = pattern;
  std::filesystem::create_directory(root_ + "/data");
  previous_ = std::filesystem::current_path();
  std::filesystem::current_path(root_);
}

TempFolder::~TempFolder() {
  std::filesystem::current_path(previous_);
  std::filesystem::remove_all(root_);
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

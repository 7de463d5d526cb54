#include "tests/support/temp_folder.h"

#include <filesystem>
#include <fstream>

TempFolder::TempFolder() : previous_(std::filesystem::current_path()) {
  std::filesystem::create_directory(Path("data"));
  std::filesystem::current_path(Root());
}

TempFolder::~TempFolder() { std::filesystem::current_path(previous_); }

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Files for tests: a fresh folder under /tmp that is the working directory
// while it lives (with an empty data/ inside, where the game looks for its
// files), and whole-file writes.
#pragma once
#include <string>
#include <vector>

#include "tools/xdrive/folder.h"

class TempFolder : public ScratchFolder {
 public:
  TempFolder();
  ~TempFolder();

 private:
  std::string previous_;
};

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);

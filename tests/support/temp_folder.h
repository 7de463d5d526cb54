// Files for tests: a fresh folder under /tmp that is the working directory
// while it lives (with an empty data/ inside, where the game looks for its
// files), and whole-file writes.
#pragma once
#include <string>
#include <vector>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Root() const { return root_; }
  std::string Path(const std::string& relative) const { return root_ + "/" + relative; }

 private:
  std::string root_;
  std::string previous_;
};

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);
void WriteFile(const std::string& path, const std::string& text);

// assetgen: draws, composes and writes every picture, font, sound effect and
// tune the game loads, into the data folder given on the command line.
//   assetgen DATA_DIR          the game's data
//   assetgen --docs DOCS_DIR   enlarged previews of every sheet and their README
// Output depends on nothing but this program: no clock, no locale, fixed seeds.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "tools/assetgen/output.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--docs") == 0) return WriteDocs(argv[2]) ? 0 : 1;
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen DATA_DIR | assetgen --docs DOCS_DIR\n");
    return 2;
  }
  return WriteData(argv[1]) ? 0 : 1;
}

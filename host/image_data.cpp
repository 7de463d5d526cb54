// Image files become pixel bytes here, through stb_image, at the file's own
// channel count. Anything that is not a PNG of sane size gives none.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "host/vx_game.h"

// Our own stb_image, PNG only: the game's pictures are all PNGs, and no other
// format's decoder is there to attack. Static, so that nothing clashes with
// the system's libstb that tests and tools link beside the game's code. Its
// warnings stay off, as for any header found through -isystem.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

namespace {

// ---- Tunables ---------------------------------------------------------------
constexpr int IMAGE_MAX_SIDE = 8192;  // pixels along either side (256 MiB as RGBA)
constexpr const char* DATA_PATH = "vorlix://data/";
constexpr long PNG_SIGNATURE = 8;     // bytes before the first chunk
constexpr size_t PNG_CHUNK_HEAD = 8;  // a chunk's length and type, before its data
constexpr long PNG_CHUNK_CRC = 4;     // bytes after its data

// stb_image takes a PNG's chunks on trust: it makes room for the length an
// IDAT claims before reading it (2 GiB for a lying one), reads on from where
// it stood when skipping a chunk that claims more than the file holds fails,
// and copies a first IDAT without data to a null pointer, which is undefined
// even for no bytes. The chunks are walked here first, as stb_image walks
// them: every chunk must lie within the file, and the first IDAT hold data.
// The file is left where it was.
bool ImageDataFits(FILE* file) {
  long start = ftell(file), end = 0;
  if (start < 0 || fseek(file, 0, SEEK_END) != 0 || (end = ftell(file)) < 0 ||
      fseek(file, start + PNG_SIGNATURE, SEEK_SET) != 0) {
    return false;
  }
  bool fits = true, first = true;
  unsigned char head[PNG_CHUNK_HEAD];
  while (fits && fread(head, 1, PNG_CHUNK_HEAD, file) == PNG_CHUNK_HEAD && memcmp(head + 4, "IEND", 4) != 0) {
    uint32_t length = static_cast<uint32_t>(head[0]) << 24 | head[1] << 16 | head[2] << 8 | head[3];
    long at = ftell(file);
    fits = at >= 0 && static_cast<long long>(length) + PNG_CHUNK_CRC <= end - at;
    if (memcmp(head + 4, "IDAT", 4) == 0) {
      fits = fits && (length > 0 || !first);
      first = false;
    }
    fits = fits && fseek(file, static_cast<long>(length) + PNG_CHUNK_CRC, SEEK_CUR) == 0;
  }
  return fseek(file, start, SEEK_SET) == 0 && fits;
}

// A picture missing from the data folder leaves the window blank (the font
// is one): the first is named on standard error with the folder looked in.
void ReportMissing(VxGame& host, const String& path) {
  static bool reported = false;
  String data(DATA_PATH);
  if (reported || !path.StartsWith(data)) return;
  reported = true;
  std::error_code error;
  std::filesystem::path folder =
      std::filesystem::absolute(host.PathToFilePath(data).ToUtf8(), error).lexically_normal().parent_path();
  if (std::filesystem::is_directory(folder, error)) {
    std::string name = path.Slice(data.Length()).ToUtf8();
    fprintf(stderr, "kalvexa: %s missing from the data folder %s\n", name.c_str(), folder.c_str());
  } else {
    fprintf(stderr, "kalvexa: no data folder: %s\n", folder.c_str());
  }
}

}  // namespace

unsigned char* VxGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
  FILE* file = OpenFile(path, String("rb"));
  if (!file) {
    ReportMissing(*this, path);
    return nullptr;
  }
  // The header alone first: a picture too large to hold is refused before
  // any of it is decoded.
  int w = 0, h = 0, channels = 0;
  unsigned char* bytes = nullptr;
  if (ImageDataFits(file) && stbi_info_from_file(file, &w, &h, &channels) && w > 0 && h > 0 && w <= IMAGE_MAX_SIDE &&
      h <= IMAGE_MAX_SIDE) {
    bytes = stbi_load_from_file(file, &w, &h, &channels, 0);
  }
  fclose(file);
  if (!bytes) return nullptr;
  *width = w;
  *height = h;
  *depth = channels;
  return bytes;
}

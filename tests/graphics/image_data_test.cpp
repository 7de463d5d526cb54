#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/graphics/png_files.h"

namespace {

extern "C" unsigned char* stbi_zlib_compress(unsigned char* data, int length, int* compressed, int quality);

// A valid black greyscale PNG of one bit per pixel: small however large it is.
std::vector<unsigned char> OneBitPng(uint32_t w, uint32_t h) {
  std::vector<unsigned char> rows(size_t{h} * (1 + (w + 7) / 8)), png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  auto bigEndian = [](std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (24 - 8 * i)));
  };
  auto chunk = [&](const char* type, const std::vector<unsigned char>& body) {
    bigEndian(png, static_cast<uint32_t>(body.size()));
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), body.begin(), body.end());
    png.insert(png.end(), 4, 0);  // a CRC the decoder does not check
  };
  std::vector<unsigned char> header;
  bigEndian(header, w);
  bigEndian(header, h);
  header.insert(header.end(), {1, 0, 0, 0, 0});  // one bit of grey
  chunk("IHDR", header);
  int length = 0;
  unsigned char* data = stbi_zlib_compress(rows.data(), static_cast<int>(rows.size()), &length, 8);
  chunk("IDAT", std::vector<unsigned char>(data, data + length));
  free(data);
  chunk("IEND", {});
  return png;
}

struct Decoded {
  int width = -1, height = -1, depth = -1;
  std::vector<unsigned char> bytes;  // none when refused
  bool ok() const { return !bytes.empty(); }
};

class ImageDataTest : public ::testing::Test {
 protected:
  TempFolder folder;
  Installed<VxGlfwGame> host;

  Decoded Load(const std::string& path) {
    Decoded d;
    unsigned char* bytes = host.LoadImageData(String(path.c_str()), &d.width, &d.height, &d.depth);
    if (bytes) d.bytes.assign(bytes, bytes + d.width * d.height * d.depth);
    free(bytes);
    return d;
  }
};

TEST_F(ImageDataTest, PicturesDecodeAtTheirOwnChannelCountThroughTheDataScheme) {
  for (int channels = 1; channels <= 4; ++channels) {
    std::vector<unsigned char> pixels(3 * 2 * channels);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 10);
    std::string name = "c" + std::to_string(channels) + ".png";
    ASSERT_TRUE(WritePng(folder.Path("data/" + name), 3, 2, channels, pixels));
    Decoded d = Load("vorlix://data/" + name);
    ASSERT_TRUE(d.ok()) << channels;
    EXPECT_EQ(std::vector<int>({d.width, d.height, d.depth}), std::vector<int>({3, 2, channels}));
    EXPECT_EQ(d.bytes, pixels) << "rows top to bottom, untouched";
  }
}

TEST_F(ImageDataTest, AnythingButASaneSizedPictureGivesNone) {
  const std::vector<unsigned char> small = OneBitPng(16, 16);
  WriteFile(folder.Path("small.png"), small);
  ASSERT_TRUE(Load(folder.Path("small.png")).ok());
  // What the decoder refuses, then pictures too large to hold, refused before
  // any pixel is decoded.
  const std::pair<const char*, std::vector<unsigned char>> refused[] = {
      {"empty", {}},
      {"half", std::vector<unsigned char>(small.begin(), small.begin() + small.size() / 2)},
      {"text", {'w', '=', '1', '6', '\n'}},
      {"wide", OneBitPng(20000, 1)},
      {"huge", OneBitPng(9000, 9000)},
  };
  for (const auto& [name, bytes] : refused) {
    WriteFile(folder.Path(name), bytes);
    EXPECT_FALSE(Load(folder.Path(name)).ok()) << name;
  }
  EXPECT_FALSE(Load(folder.Path("missing.png")).ok());
  EXPECT_FALSE(Load("vorlix://elsewhere/x.png").ok());
}

}  // namespace

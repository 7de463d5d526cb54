#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/graphics/png_files.h"

namespace {

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
  ASSERT_TRUE(WritePng(folder.Path("good.png"), 16, 16, 4, std::vector<unsigned char>(16 * 16 * 4, 200)));
  const std::vector<unsigned char> png = ReadFile(folder.Path("good.png"));
  // The width and height of the header (big-endian at bytes 16 and 20).
  auto claiming = [&](uint32_t w, uint32_t h) {
    std::vector<unsigned char> bytes = png;
    for (int i = 0; i < 4; ++i) {
      bytes[16 + i] = static_cast<unsigned char>(w >> (24 - 8 * i));
      bytes[20 + i] = static_cast<unsigned char>(h >> (24 - 8 * i));
    }
    return bytes;
  };
  // What the decoder refuses, then sizes too large to hold, refused before
  // any pixel is decoded.
  const std::pair<const char*, std::vector<unsigned char>> refused[] = {
      {"empty", {}},
      {"half", std::vector<unsigned char>(png.begin(), png.begin() + png.size() / 2)},
      {"text", {'w', '=', '1', '6', '\n'}},
      {"wide", claiming(20000, 1)},
      {"huge", claiming(9000, 9000)},
      {"negative", claiming(0x80000000u, 16)},
  };
  for (const auto& [name, bytes] : refused) {
    WriteFile(folder.Path(name), bytes);
    EXPECT_FALSE(Load(folder.Path(name)).ok()) << name;
  }
  EXPECT_FALSE(Load(folder.Path("missing.png")).ok());
  EXPECT_FALSE(Load("vorlix://elsewhere/x.png").ok());
  EXPECT_TRUE(Load(folder.Path("good.png")).ok()) << "the untouched file loads";
}

}  // namespace

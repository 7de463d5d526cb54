#include <gtest/gtest.h>

#include "tests/graphics/png_files.h"
#include "tests/support/subprocess.h"

namespace {

void ExpectFatal(const std::string& mode, const std::string& message, const std::string& folder = "") {
  ProcessOptions options;
  options.workingDirectory = folder;
  ProcessResult r = RunProcess({BuildPath("tests/graphics/graphics_probe"), mode}, options);
  EXPECT_EQ(r.out, "Vorlix Runtime Error : " + message + "\n\n") << mode;
  EXPECT_EQ(r.status, 255) << mode;
}

TEST(GraphicsFatal, AFrameGridThatDoesNotFitItsPictureIsFatal) {
  ScratchFolder folder;
  ASSERT_TRUE(WritePng(folder.Path("data/grid.png"), 64, 64, 4, std::vector<unsigned char>(64 * 64 * 4)));
  // 17 frames of 16 x 16 need a fifth row.
  ExpectFatal("grid", "Image frame outside surface", folder.Path(""));
  ExpectFatal("strip", "Image frame outside surface");
}

TEST(GraphicsFatal, CallerErrorsThatWouldCorruptMemoryAreFatal) {
  ExpectFatal("frame", "Image frame index out of range");
  ExpectFatal("push", "Matrix stack overflow");
  ExpectFatal("pop", "Matrix stack underflow");
  ExpectFatal("write", "Pixel rectangle outside surface");
  ExpectFatal("read", "Pixel rectangle outside array");
}

}  // namespace

#include <gtest/gtest.h>

#include "graphics/data_path.h"

namespace {

std::string Fix(const char* path) { return vx_data_FixDataPath(String(path)).ToCString(); }

TEST(DataPath, BareNamesGoToTheDataFolderAndSchemedOrRootedPathsStay) {
  EXPECT_EQ(Fix("gfx.png"), "vorlix://data/gfx.png");
  EXPECT_EQ(Fix("sfx/006.wav"), "vorlix://data/sfx/006.wav");
  EXPECT_EQ(Fix("vorlix://data/a.png"), "vorlix://data/a.png");
  EXPECT_EQ(Fix("./a.png"), "./a.png");
  EXPECT_EQ(Fix("/a.png"), "/a.png");
  EXPECT_EQ(Fix("c:/a.png"), "c:/a.png");
  // The first slash comes before the ":/", so it is not a scheme.
  EXPECT_EQ(Fix("a/b:/c"), "vorlix://data/a/b:/c");
  EXPECT_EQ(Fix(""), "vorlix://data/");
}

}  // namespace

// Paths, whole-file loading and the saved state, each test in a folder of its own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/vx_game.h"
#include "tests/support/temp_folder.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// A host whose save can be made to fail after the new file is open.
struct FailingHost : VxGlfwGame {
  bool failWrite = false, failRename = false;
  size_t WriteBytes(FILE* file, const void* bytes, size_t count) override {
    return VxGlfwGame::WriteBytes(file, bytes, failWrite ? count / 2 : count);
  }
  int ReplaceFile(const char* from, const char* to) override {
    return failRename ? -1 : VxGlfwGame::ReplaceFile(from, to);
  }
};

struct Files : ::testing::Test {
  TempFolder temp;
  FailingHost host;

  // Entries of the folder beside data/, the state file included.
  long Entries() { return std::distance(std::filesystem::directory_iterator("."), {}) - 1; }
};

TEST_F(Files, ProgramPathsMapOntoTheFoldersBesideTheProgramAndFilesLoadWhole) {
  const char* cases[][2] = {
      {"vorlix://data/graphics/title.png", "./data/graphics/title.png"},
      {"vorlix://internal/a.txt", "./internal/a.txt"},
      {"vorlix://external/b/c.txt", "./external/b/c.txt"},
      {"vorlix://other/x.png", ""},
      {"vorlix:data/x.png", ""},
      {"sfx/001.wav", "sfx/001.wav"},
  };
  for (const auto& c : cases) EXPECT_EQ(host.PathToFilePath(String(c[0])).ToCString(), c[1]) << c[0];
  WriteFile("data/hello.txt", "hi");
  EXPECT_EQ(host.LoadString(String("vorlix://data/hello.txt")).ToCString(), "hi");
  EXPECT_TRUE(host.LoadString(String("vorlix://data/missing.txt")).Empty());
  EXPECT_EQ(host.OpenFile(String("vorlix://other/hello.txt"), String("rb")), nullptr);

  std::string bytes(8195, '\0');  // two whole blocks of reading and a part
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  for (const std::string& file : {bytes, std::string()}) {
    WriteFile("file.bin", file);
    int length = -5;
    unsigned char* data = host.LoadData(String("file.bin"), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), file);
    free(data);
  }
  int length = -5;
  EXPECT_EQ(host.LoadData(String("missing.bin"), &length), nullptr);
  EXPECT_EQ(length, -5);
}

TEST_F(Files, StateRoundTripsAsUtf8AndAFailedSaveLeavesTheOldStateWhole) {
  EXPECT_TRUE(host.LoadState().Empty());  // nothing saved yet
  const Char units[] = {'s', 0xE9, '|', 0x20AC, '9'};
  String old(units, 5);
  ASSERT_EQ(host.SaveState(old), 0);
  EXPECT_EQ(ReadFile(".vorlixstate"),
            "s\xC3\xA9|\xE2\x82\xAC"
            "9");
  EXPECT_TRUE(host.LoadState() == old);

  String next("a much longer state that would replace the old one entirely");
  for (bool* fault : {&host.failWrite, &host.failRename}) {
    *fault = true;
    EXPECT_EQ(host.SaveState(next), -2);
    EXPECT_TRUE(host.LoadState() == old);
    EXPECT_EQ(Entries(), 1);  // no temporary file left
    *fault = false;
  }
  EXPECT_EQ(host.SaveState(String()), 0);
  EXPECT_EQ(access(".vorlixstate", F_OK), 0);
  EXPECT_TRUE(host.LoadState().Empty());
  EXPECT_EQ(Entries(), 1);
}

}  // namespace

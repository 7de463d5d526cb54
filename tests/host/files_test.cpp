// Paths, whole-file loading, the saved state and the date, each test in a
// fresh folder of its own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "host/vx_game.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_folder.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

String FromUnits(std::initializer_list<Char> units) { return String(units.begin(), static_cast<int>(units.size())); }

// A host whose save can be made to fail after the new file is open.
class FailingHost : public VxGlfwGame {
 public:
  bool failWrite = false, failRename = false;

 protected:
  size_t WriteBytes(FILE* file, const void* bytes, size_t count) override {
    return VxGlfwGame::WriteBytes(file, bytes, failWrite ? count / 2 : count);
  }
  int ReplaceFile(const char* from, const char* to) override {
    return failRename ? -1 : VxGlfwGame::ReplaceFile(from, to);
  }
};

struct Files : ::testing::Test {
  TempFolder temp;
  const std::string& folder = temp.Root();
  FailingHost hostObject;
  FailingHost* host = &hostObject;

  // Entries of the folder beside data/, the state file included.
  long Entries() { return std::distance(std::filesystem::directory_iterator("."), {}) - 1; }
};

TEST_F(Files, ProgramPathsMapOntoTheFoldersBesideTheProgram) {
  struct Case {
    const char* path;
    const char* mapped;
  } cases[] = {
      {"vorlix://data/graphics/title.png", "./data/graphics/title.png"},
      {"vorlix://internal/a.txt", "./internal/a.txt"},
      {"vorlix://external/b/c.txt", "./external/b/c.txt"},
      {"vorlix://other/x.png", ""},
      {"vorlix:data/x.png", ""},
      {"sfx/001.wav", "sfx/001.wav"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(host->PathToFilePath(String(c.path)).ToCString(), c.mapped) << c.path;
  }
  mkdir("data", 0755);
  WriteFile("data/hello.txt", "hi");
  EXPECT_EQ(host->LoadString(String("vorlix://data/hello.txt")).ToCString(), "hi");
  EXPECT_EQ(host->OpenFile(String("vorlix://other/hello.txt"), String("rb")), nullptr);
  EXPECT_TRUE(host->LoadString(String("vorlix://data/missing.txt")).Empty());
}

TEST_F(Files, StateRoundTripsAsPlainUtf8) {
  EXPECT_TRUE(host->LoadState().Empty());  // nothing saved yet
  String state = FromUnits({'s', 0xE9, '|', 0x20AC, '9'});
  EXPECT_EQ(host->SaveState(state), 0);
  EXPECT_EQ(ReadFile(".vorlixstate"), "s\xC3\xA9|\xE2\x82\xAC" "9");
  EXPECT_TRUE(host->LoadState() == state);
  EXPECT_EQ(Entries(), 1);  // no temporary file left

  EXPECT_EQ(host->SaveState(String()), 0);
  EXPECT_EQ(access(".vorlixstate", F_OK), 0);
  EXPECT_EQ(ReadFile(".vorlixstate"), "");
  EXPECT_TRUE(host->LoadState().Empty());
}

TEST_F(Files, AFailedSaveLeavesTheOldStateWhole) {
  String old = FromUnits({'h', 'i', 0x20AC, '|', '1', '2', '3', '4', '5'});
  ASSERT_EQ(host->SaveState(old), 0);
  std::string oldBytes = ReadFile(".vorlixstate");
  String next = String("a much longer state that would replace the old one entirely");

  for (bool* fault : {&host->failWrite, &host->failRename}) {
    *fault = true;
    EXPECT_EQ(host->SaveState(next), -2);
    EXPECT_EQ(ReadFile(".vorlixstate"), oldBytes);
    EXPECT_EQ(Entries(), 1);  // no temporary file left
    *fault = false;
  }
  EXPECT_EQ(host->SaveState(next), 0);
  EXPECT_TRUE(host->LoadState() == next);
}

TEST_F(Files, StartUpRemovesTheTemporaryFilesOfSavesWhoseProcessEnded) {
  pid_t ended = fork();
  if (ended == 0) _exit(0);
  ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
  const std::string stale = ".vorlixstate." + std::to_string(ended) + ".tmp";
  const std::string saving = ".vorlixstate." + std::to_string(getpid()) + ".tmp";
  for (const std::string& name : {stale, saving, std::string(".vorlixstate"), std::string(".vorlixstate.1x.tmp")}) {
    WriteFile(name, "state");
  }
  // The game without a display gets no further than the window system.
  ProcessOptions noDisplay;
  noDisplay.unsetEnv = {"DISPLAY", "WAYLAND_DISPLAY"};
  ASSERT_EQ(RunProcess({BuildPath("kalvexa")}, noDisplay).status, 255);
  EXPECT_NE(access(stale.c_str(), F_OK), 0);
  EXPECT_EQ(Entries(), 3);
  EXPECT_EQ(ReadFile(".vorlixstate"), "state");
}

TEST_F(Files, LoadDataReadsWholeFilesAndLeavesTheLengthAloneWhenMissing) {
  std::string block(4096, '\0');
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7);
  for (const std::string& bytes : {block, block + block + "xyz", std::string()}) {
    WriteFile("file.bin", bytes);
    int length = -5;
    unsigned char* data = host->LoadData(String("file.bin"), &length);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(length, static_cast<int>(bytes.size()));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), bytes);
    free(data);
  }
  int length = -5;
  EXPECT_EQ(host->LoadData(String("missing.bin"), &length), nullptr);
  EXPECT_EQ(length, -5);
}

TEST_F(Files, GetDateFillsAsMuchAsTheArrayHolds) {
  Array<int> nine(9);
  for (int& v : nine) v = -1;
  host->GetDate(nine);
  EXPECT_GE(nine[0], 2024);
  EXPECT_EQ(nine[7], -1);
  host->GetDate(Array<int>(3));  // shorter than a date
}

TEST_F(Files, OpenUrlHandsTheUrlToTheOpenerAsOneArgumentWithoutAShell) {
  // A stand-in opener that records its arguments, then says it is done.
  WriteFile("xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > " + folder + "/args\nmv " + folder + "/args " +
                            folder + "/opened\n");
  ASSERT_EQ(chmod("xdg-open", 0755), 0);
  std::string path = getenv("PATH");
  setenv("PATH", (folder + ":" + path).c_str(), 1);
  host->OpenUrl(String("https://example.org/a b?x=1;touch pwned&y=$(id)"));
  setenv("PATH", path.c_str(), 1);

  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (access("opened", F_OK) != 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(ReadFile("opened"), "1\nhttps://example.org/a b?x=1;touch pwned&y=$(id)\n");
  EXPECT_NE(access("pwned", F_OK), 0);
}

}  // namespace

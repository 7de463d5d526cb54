// Faults of the machine under a save or a running game: the process killed
// mid-save, a full disk, the X server going away.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "host/vx_game.h"
#include "tests/support/child_process.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr int KILLS = 200;
constexpr int KILL_WITHIN_MICROSECONDS = 4000;  // a few saves in
constexpr const char* STATE = ".vorlixstate";
constexpr int FIRST_DISPLAY = 151;  // numbers tried for a display of this test's own

std::string Contents(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// The working folder's entries but data/.
std::string Listing() {
  std::string names;
  for (const fs::directory_entry& entry : fs::directory_iterator(".")) {
    if (entry.path().filename() != "data") names += entry.path().filename().string() + " ";
  }
  return names;
}

TEST(MachineFaults, AKilledSaveLeavesTheOldOrTheNewStateWholeAndTheNextStartRemovesItsTemporaryFile) {
  TempFolder folder;
  VxGlfwGame host;
  const std::string states[] = {std::string(400, 'o'), std::string(40000, 'n')};
  ASSERT_EQ(host.SaveState(String(states[0].c_str())), 0);
  std::mt19937 random(11);
  for (int i = 0; i < KILLS; ++i) {
    pid_t saver = fork();
    if (saver == 0) {
      for (int n = 1;; ++n) host.SaveState(String(states[n % 2].c_str()));
    }
    usleep(random() % KILL_WITHIN_MICROSECONDS);
    kill(saver, SIGKILL);
    ASSERT_EQ(waitpid(saver, nullptr, 0), saver);
    std::string saved = Contents(STATE);
    ASSERT_TRUE(saved == states[0] || saved == states[1]) << "after kill " << i << ": " << saved.size() << " bytes";
  }
  VxGame::RemoveStaleSaves();
  EXPECT_EQ(Listing(), std::string(STATE) + " ");
}

TEST(MachineFaults, OnAFullDiskTheSaveFailsAndTheOldStateStays) {
  TempFolder folder;
  ASSERT_TRUE(fs::create_directory("disk"));
  ASSERT_EQ(mount("tmpfs", "disk", "tmpfs", 0, "size=64k"), 0) << strerror(errno) << " (the test runs as root)";
  ASSERT_EQ(chdir("disk"), 0);
  VxGlfwGame host;
  ASSERT_EQ(host.SaveState(String("old")), 0);
  {
    std::ofstream filler("filler", std::ios::binary);
    for (std::string block(4096, 'f'); filler.write(block.data(), block.size()).flush();) {
    }
  }
  EXPECT_NE(host.SaveState(String(std::string(16384, 'n').c_str())), 0);
  EXPECT_EQ(Contents(STATE), "old");
  EXPECT_EQ(Listing().size(), std::string(".vorlixstate filler ").size()) << Listing();
  ASSERT_EQ(chdir(".."), 0);
  EXPECT_EQ(umount("disk"), 0);
}

TEST(MachineFaults, LosingTheDisplayEndsTheGameSayingSoWithTheDeviceClosedAndTheStateKept) {
  TempFolder folder;
  fs::remove("data");
  fs::create_directory_symlink(BuildPath("run/data"), "data");
  int number = FIRST_DISPLAY;
  while (fs::exists("/tmp/.X" + std::to_string(number) + "-lock")) ++number;
  const std::string display = ":" + std::to_string(number);
  const std::string state = Contents(VX_SOURCE_DIR "/tools/fuzz/saved_state/seeds/played.txt");
  WriteFile(STATE, state);
  auto server = std::make_unique<ChildProcess>(
      std::vector<std::string>{"/usr/bin/Xvfb", display, "-screen", "0", "640x480x24", "-nolisten", "tcp"});
  ProcessOptions onIt;
  onIt.setEnv = {"DISPLAY=" + display};
  for (int tries = 0; RunProcess({"/usr/bin/xdpyinfo"}, onIt).status != 0; ++tries) ASSERT_LT(tries, 100);
  ChildProcess game({"/usr/bin/env", "DISPLAY=" + display, BuildPath("kalvexa")});
  for (int tries = 0; RunProcess({"/usr/bin/xdotool", "search", "--name", "Kalvexa"}, onIt).out.empty(); ++tries) {
    ASSERT_LT(tries, 200) << game.Output();
  }
  usleep(1000000);  // the loader and the title, drawing
  server.reset();   // killed: its lock and socket stay behind
  fs::remove("/tmp/.X" + std::to_string(number) + "-lock");
  fs::remove("/tmp/.X11-unix/X" + std::to_string(number));
  EXPECT_EQ(game.Wait(10), 1) << game.Output();
  EXPECT_EQ(game.Count("Display lost"), 1) << game.Output();
  EXPECT_EQ(game.Output().find("not closed"), std::string::npos) << game.Output();
  EXPECT_EQ(Contents(STATE), state);
}

}  // namespace

// The game installed into a temporary prefix: what the desktop finds there,
// the validators' verdict on the installed entry and metainfo, the launcher's
// folder of the player's own under a temporary HOME, and the uninstall.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/support/child_process.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_folder.h"
#include "tests/support/x_tools.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* APP_ID = "io.github.kalvexa.Kalvexa";

std::string Read(const fs::path& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

std::map<std::string, std::string> DesktopKeys(const fs::path& path) {
  std::map<std::string, std::string> keys;
  std::istringstream text(Read(path));
  for (std::string line; std::getline(text, line);) {
    size_t at = line.find('=');
    if (at != std::string::npos) keys[line.substr(0, at)] = line.substr(at + 1);
  }
  return keys;
}

// Every entry under `root` with its size and modification time.
std::string Listing(const fs::path& root) {
  std::string listing;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
    struct stat s {};
    lstat(e.path().c_str(), &s);
    listing += e.path().string() + " " + std::to_string(s.st_size) + " " + std::to_string(s.st_mtim.tv_sec) + "." +
               std::to_string(s.st_mtim.tv_nsec) + "\n";
  }
  return listing;
}

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

TEST(Install, TheLauncherPlaysInThePlayersOwnFolderAndLeavesTheInstallAsItWas) {
  const char* display = getenv("DISPLAY");
  ASSERT_TRUE(display && *display) << "the install test opens a window: run it through make test";
  TempFolder folder;
  const fs::path prefix = folder.Path("prefix"), share = prefix / "share", launcher = prefix / "bin/kalvexa";
  ProcessResult install =
      RunProcess({VX_CMAKE, "--install", BuildPath(""), "--prefix", prefix.string(), "--component", "game"});
  ASSERT_EQ(install.status, 0) << install.out << install.err;

  // The desktop entry's command, icons and metainfo, as a desktop looks them up.
  const fs::path entry = share / "applications" / (std::string(APP_ID) + ".desktop");
  const fs::path metainfo = share / "metainfo" / (std::string(APP_ID) + ".metainfo.xml");
  std::map<std::string, std::string> keys = DesktopKeys(entry);
  EXPECT_TRUE(fs::exists(prefix / "bin" / keys["Exec"])) << keys["Exec"];
  for (int size : {32, 64, 128, 256}) {
    std::string n = std::to_string(size);
    EXPECT_EQ(Read(share / ("icons/hicolor/" + n + "x" + n + "/apps") / (keys["Icon"] + ".png")),
              Read(BuildPath("run/data/icons/kalvexa-" + n + ".png")))
        << size;
  }
  EXPECT_NE(Read(metainfo).find("<release version=\"" VX_VERSION "\""), std::string::npos);
  ProcessResult desktopCheck = RunProcess({"/usr/bin/desktop-file-validate", entry.string()});
  EXPECT_EQ(desktopCheck.status, 0) << desktopCheck.out << desktopCheck.err;
  EXPECT_EQ(desktopCheck.out, "");
  ProcessResult metainfoCheck = RunProcess({"/usr/bin/appstreamcli", "validate", "--no-net", metainfo.string()});
  EXPECT_EQ(metainfoCheck.status, 0) << metainfoCheck.out << metainfoCheck.err;

  // The first start makes the folder and links the data in; later ones keep
  // what it holds and repair a link to an older install's data or to nothing.
  const std::string installed = Listing(prefix);
  const fs::path home = folder.Path("home"), saves = home / ".local/share/kalvexa", link = saves / "data";
  ProcessOptions player;
  player.setEnv = {"HOME=" + home.string()};
  player.unsetEnv = {"XDG_DATA_HOME", "DISPLAY"};
  auto start = [&](const fs::path& old) {
    ProcessResult r = RunProcess({launcher.string(), "--version"}, player);
    EXPECT_EQ(r.out, "kalvexa " VX_VERSION "\n") << r.err;
    EXPECT_TRUE(fs::is_symlink(link) && SameFolder(link, share / "kalvexa/data")) << old;
  };
  start({});
  WriteFile((saves / "kept").string(), "kept");
  for (const fs::path& old : {fs::path(), home, prefix / "gone"}) {
    if (!old.empty()) {
      fs::remove(link);
      fs::create_directory_symlink(old, link);
    }
    start(old);
  }
  EXPECT_EQ(Read(saves / "kept"), "kept");
  // A real folder named data is the player's own.
  fs::remove(link);
  fs::create_directory(link);
  EXPECT_EQ(RunProcess({launcher.string(), "--version"}, player).status, 0);
  EXPECT_TRUE(fs::is_directory(fs::symlink_status(link)));
  fs::remove(link);

  // A game played and quit: the state lands in the player's folder, and the
  // window's class is the one the entry names, so desktops match the two.
  ChildProcess game({"/usr/bin/env", "-u", "XDG_DATA_HOME", "HOME=" + home.string(), launcher.string()});
  std::string window = WindowNamed("Kalvexa");
  ASSERT_FALSE(window.empty()) << game.Output();
  EXPECT_NE(
      RunProcess({"/usr/bin/xprop", "-id", window, "WM_CLASS"}).out.find(", \"" + keys["StartupWMClass"] + "\"\n"),
      std::string::npos);
  Xdotool({"windowfocus", "--sync", window});
  Xdotool({"keydown", "--window", window, "F4"});
  PauseMilliseconds(120);
  Xdotool({"keyup", "F4"});
  EXPECT_EQ(game.Wait(), 0) << game.Output();
  EXPECT_TRUE(fs::is_regular_file(saves / ".vorlixstate"));
  EXPECT_TRUE(Listing(prefix) == installed) << "the install folder was written to";

  // The uninstall leaves only shared folders, emptied.
  ProcessResult uninstall = RunProcess(
      {VX_CMAKE, "-DMANIFEST=" + BuildPath("install_manifest_game.txt"), "-P", VX_SOURCE_DIR "/dist/uninstall.cmake"});
  EXPECT_EQ(uninstall.status, 0) << uninstall.err;
  EXPECT_FALSE(fs::exists(share / "kalvexa"));
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(prefix)) {
    EXPECT_TRUE(e.is_directory()) << e.path();
  }
}

}  // namespace

// The host on a hostile machine: state files it cannot or must not read,
// links planted beside them, standard streams closed or on a broken pipe, a
// missing data folder or font.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <set>
#include <sstream>

#include "host/vx_game.h"
#include "tests/support/child_process.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_folder.h"
#include "tests/support/x_tools.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t NOBODY = 65534;
constexpr size_t STATE_BOUND = 1 << 20;  // bytes of the largest state read
constexpr int CHILD_SECONDS = 5;         // a load or save that blocks longer has hung

std::string Contents(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// The working folder's entries but data/, each "name=" its kind or contents.
std::string Listing() {
  std::set<std::string> entries;
  for (const fs::directory_entry& entry : fs::directory_iterator(".")) {
    std::string name = entry.path().filename();
    fs::file_status kind = entry.symlink_status();
    std::string what = fs::is_symlink(kind)     ? "link"
                       : fs::is_fifo(kind)      ? "fifo"
                       : fs::is_directory(kind) ? "folder"
                                                : "";
    if (name != "data") entries.insert(name + "=" + (what.empty() ? Contents(name).substr(0, 8) : what) + " ");
  }
  return std::accumulate(entries.begin(), entries.end(), std::string());
}

// A fresh host loads the state, then saves "new", in a child process that
// first plants what the case needs and may become nobody: what it printed,
// then "loaded <characters> saved <yes|no>". A load that blocks is cut short.
std::string LoadThenSave(const std::function<void()>& plant, bool asNobody) {
  int out[2];
  if (pipe(out) != 0) return "no pipe";
  pid_t child = fork();
  if (child == 0) {
    dup2(out[1], 1);
    close(out[0]);
    alarm(CHILD_SECONDS);
    plant();
    if (asNobody && geteuid() == 0 && (setgid(NOBODY) != 0 || setuid(NOBODY) != 0)) _exit(3);
    VxGlfwGame host;
    int loaded = host.LoadState().Length();
    int saved = host.SaveState(String("new"));
    printf("loaded %d saved %s\n", loaded, saved < 0 ? "no" : "yes");
    fflush(stdout);
    _exit(0);
  }
  close(out[1]);
  std::string printed;
  char block[256];
  for (ssize_t n; (n = read(out[0], block, sizeof block)) > 0;) printed.append(block, static_cast<size_t>(n));
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? printed : printed + "signal " + std::to_string(WTERMSIG(status));
}

// A state file there that cannot be read is never replaced, whether another
// user's (nobody meets a root-owned 0000 file: root itself reads anything) or
// no file at all; a FIFO is not waited on; a state past the bound is damaged
// and replaced; a link planted at the save's temporary name is not followed.
TEST(HostileState, WhatCannotBeReadIsKeptWhatIsTooLargeIsReplacedAndNoLinkIsFollowed) {
  const std::string notReadable = "State not readable\nloaded 0 saved no\n";
  const std::string largest(STATE_BOUND, '7');
  struct Case {
    const char* name;
    std::function<void()> plant;
    bool asNobody;
    std::string printed, listing;
  } cases[] = {
      {"another user's",
       [] {
         WriteFile(".vorlixstate", "1|2|3|");
         chmod(".vorlixstate", 0);
         chmod(".", 0777);
       },
       true, notReadable, ".vorlixstate=1|2|3| "},
      {"read-only folder",
       [] {
         WriteFile(".vorlixstate", "1|2|3|");
         chmod(".", 0555);
       },
       true, "loaded 6 saved no\n", ".vorlixstate=1|2|3| "},
      {"FIFO", [] { mkfifo(".vorlixstate", 0666); }, false, notReadable, ".vorlixstate=fifo "},
      {"folder", [] { fs::create_directory(".vorlixstate"); }, false, notReadable, ".vorlixstate=folder "},
      {"at the bound", [&] { WriteFile(".vorlixstate", largest); }, false,
       "loaded " + std::to_string(STATE_BOUND) + " saved yes\n", ".vorlixstate=new "},
      {"past the bound", [&] { WriteFile(".vorlixstate", largest + "7"); }, false, "loaded 0 saved yes\n",
       ".vorlixstate=new "},
      {"planted link",
       [] {
         WriteFile("target", "victim");
         fs::create_symlink("target", ".vorlixstate." + std::to_string(getpid()) + ".tmp");
       },
       false, "loaded 0 saved yes\n", ".vorlixstate=new target=victim "},
  };
  for (const Case& c : cases) {
    TempFolder temp;
    EXPECT_EQ(LoadThenSave(c.plant, c.asNobody), c.printed) << c.name;
    EXPECT_EQ(Listing(), c.listing) << c.name;
  }
}

// The real program, started the ways a hostile shell or machine starts it,
// comes up, says once what it must and quits on F4 with status 0.
TEST(HostileStart, ClosedOutputABrokenPipeAFifoStateAndMissingDataNeitherHangNorKillTheGame) {
  ASSERT_TRUE(getenv("DISPLAY") && *getenv("DISPLAY")) << "the window tests need an X display";
  enum Data { ALL, NONE, NO_FONTS };
  struct Case {
    const char* name;
    const char* output;  // standard output's redirection; fd 3 is a pipe whose reader has gone
    Data data;
    bool fifoState;
    std::vector<std::string> lines;  // each printed once; a closing "@" stands for the data folder
  } cases[] = {
      {"output closed", ">&-", ALL, false, {}},
      {"broken pipe", ">&3", ALL, false, {}},
      {"FIFO state", "", ALL, true, {"State not readable", "State not saved"}},
      {"no data folder", "", NONE, false, {"kalvexa: no data folder: @"}},
      {"no fonts", "", NO_FONTS, false, {"kalvexa: fonts/editundo-hd.png missing from the data folder @"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const fs::path data = folder.Path("data"), generated = BuildPath("run/data");
    fs::remove(data);
    if (c.data == ALL) fs::create_directory_symlink(generated, data);
    if (c.data == NO_FONTS) {
      fs::create_directory(data);
      for (const fs::directory_entry& entry : fs::directory_iterator(generated)) {
        if (entry.path().filename() != "fonts") fs::create_symlink(entry.path(), data / entry.path().filename());
      }
    }
    // A state the game announces as it loads it, so that it prints at once.
    std::string state;
    for (int i = 0; i < 26; ++i) state += "0|";
    if (c.fifoState) {
      ASSERT_EQ(mkfifo(".vorlixstate", 0666), 0);
    } else {
      WriteFile(".vorlixstate", state);
    }
    // SIGPIPE goes back to its default, which this test's process ignores.
    ChildProcess game(
        {"/bin/bash", "-c",
         std::string("exec 3> >(:); wait $!; exec env --default-signal=PIPE \"$0\" ") + c.output + " 3>&-",
         BuildPath("kalvexa")});
    std::string window = WindowNamed("Kalvexa");
    ASSERT_FALSE(window.empty()) << game.Output();
    PauseMilliseconds(1500);  // the title, and the state's messages
    Xdotool({"windowfocus", "--sync", window});
    Xdotool({"keydown", "--window", window, "F4"});
    PauseMilliseconds(120);
    Xdotool({"keyup", "F4"});
    EXPECT_EQ(game.Wait(), 0) << game.Output();
    for (std::string line : c.lines) {
      if (line.back() == '@') line.replace(line.size() - 1, 1, data.string());
      EXPECT_EQ(game.Count(line), 1) << line << "\n" << game.Output();
    }
  }
}

}  // namespace

// The real program's orderly end, its sound captured by OpenAL Soft's wave backend.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/child_process.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_folder.h"
#include "tests/support/x_tools.h"

namespace {

std::string Contents(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

uint32_t Le32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST(OrderlyEnd, F4AndTheCloseButtonCloseTheDeviceAndFinishTheCapture) {
  ASSERT_TRUE(getenv("DISPLAY") && *getenv("DISPLAY"))
      << "the window tests need an X display: run them through make test";
  for (bool closeButton : {false, true}) {
    SCOPED_TRACE(closeButton ? "close button" : "F4");
    TempFolder folder;  // the working folder
    std::filesystem::remove(folder.Path("data"));
    std::filesystem::create_directory_symlink(BuildPath("run/data"), folder.Path("data"));
    std::string capture = folder.Path("capture.wav");
    std::ofstream(folder.Path("alsoft.conf"))
        << "[general]\ndrivers = wave\nsample-type = int16\nchannels = mono\n[wave]\nfile = " << capture << "\n";
    // The child's silent device is swapped for the wave backend on the way in.
    ChildProcess game(
        {"/usr/bin/env", "-u", "ALSOFT_DRIVERS", "ALSOFT_CONF=" + folder.Path("alsoft.conf"), BuildPath("kalvexa")});
    std::string window = WindowNamed("Kalvexa");
    ASSERT_FALSE(window.empty()) << game.Output();
    PauseMilliseconds(2500);  // the title and its tune
    Xdotool({"windowfocus", "--sync", window});
    if (closeButton) {
      ASSERT_EQ(RunProcess({BuildPath("tests/host/x11_tool"), "close", window}).status, 0);
    } else {
      Xdotool({"keydown", "--window", window, "F4"});
      PauseMilliseconds(120);
      Xdotool({"keyup", "F4"});
    }
    EXPECT_EQ(game.Wait(), 0) << game.Output();
    EXPECT_EQ(game.Output().find("device not closed"), std::string::npos) << game.Output();

    // RIFF and data lengths that reach exactly to the end of the file.
    std::string wav = Contents(capture);
    size_t data = wav.find("data", 12);
    ASSERT_NE(data, std::string::npos) << wav.size();
    ASSERT_LE(data + 8, wav.size());
    EXPECT_EQ(Le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(Le32(wav, data + 4), wav.size() - data - 8);
    EXPECT_GT(wav.size() - data - 8, 2 * Le32(wav, 28)) << "the capture holds the whole run";
  }
}

}  // namespace

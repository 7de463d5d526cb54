#include <gtest/gtest.h>

#include "tests/support/subprocess.h"

namespace {

// No sound card: OpenAL Soft finds no backend it may use, as on a machine
// whose default device does not open.
TEST(SilentDevice, ReportsTheFailedOpenAndThenEveryCallDoesNothing) {
  ProcessOptions options;
  options.setEnv = {"ALSOFT_DRIVERS=no-such-backend", "ALSOFT_CONF=/dev/null"};
  ProcessResult r = RunProcess({BuildPath("tests/audio/audio_probe"), "silent"}, options);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "OpenAl error: alcOpenDevice failed\n"
            "states 0 0 buffer 0 discarded 0 music -1\n");
}

}  // namespace

#include "runtime/fatal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "runtime/gc.h"
#include "runtime/object.h"
#include "tests/support/subprocess.h"

namespace {

const std::string kMarker = "{{~~~~}}\n\n";

TEST(FatalError, TheReportTheDebuggerInputSignalsAndExhaustionDecideOutputAndStatus) {
  const std::string broke = "Vorlix Runtime Error : Something broke\n\n";
  const struct {
    const char *mode, *input, *asanOptions;
    std::string out;
    int status, markers;  // markers -1: standard error unchecked
  } cases[] = {
      {"fatal", "", "", broke, 255, 1},
      {"fatal", "q\n", "", broke, 0, 1},
      {"fatal", "zap it\n", "", broke + "????? zap it ?????", 255, 1},
      {"fatal", "?\nr\n", "", broke + broke, 255, 2},  // "?" is skipped; a resume reports again
      {"fatal", "q", "", broke, 255, 1},               // a line without its newline ends the input
      {"wide", "", "",
       "Vorlix Runtime Error : A\xC2\xAC"
       "B\n\n",
       255, 1},                                                        // U+20AC keeps its low byte
      {"end", "", "", "end hook\n", 0, 0},                             // an empty error is an orderly end
      {"print", "", "", "x\xC3\xA9\xE2\x82\xAC\xED\xA0\xBD\n", 0, 0},  // UTF-8, one unit at a time
      {"segv", "", "handle_segv=0", "Vorlix Runtime Error : Memory access violation\n\n", 255, -1},
      {"recurse", "", "handle_segv=0", "Vorlix Runtime Error : Memory access violation\n\n", 255, -1},
      {"fpe", "", "", "Vorlix Runtime Error : Floating point exception\n\n", 255, -1},
      {"ill", "", "", "Vorlix Runtime Error : Illegal instruction\n\n", 255, -1},
      {"oom", "", "allocator_may_return_null=1", "Vorlix Runtime Error : Out of memory\n\n", 255, -1},
      // A real exhaustion: the report itself may allocate nothing.
      {"exhaust", "", "allocator_may_return_null=1:detect_leaks=0", "Vorlix Runtime Error : Out of memory\n\n", 255,
       -1},
  };
  for (const auto& c : cases) {
    ProcessOptions options;
    options.input = c.input;
    options.setEnv = {std::string("ASAN_OPTIONS=") + c.asanOptions};
    ProcessResult r = RunProcess({BuildPath("tests/runtime/fatal_probe"), c.mode}, options);
    SCOPED_TRACE(std::string(c.mode) + " with input '" + c.input + "'\n" + r.err);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.status, c.status);
    std::string markers;
    for (int i = 0; i < c.markers; ++i) markers += kMarker;
    if (c.markers >= 0) {
      EXPECT_EQ(r.err, markers);
    }
  }
}

// The '@' command asks only objects the collector holds for their debug text.
TEST(Debugger, AtCommandAsksOnlyObjectsTheCollectorHolds) {
  int onStack = 0;
  char lines[128];
  snprintf(lines, sizeof lines, "@%p\n@%p\n@0x10\n@(nil)\n@junk\nr\n", static_cast<void*>(new Object),
           static_cast<void*>(&onStack));
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], lines, strlen(lines)), static_cast<ssize_t>(strlen(lines)));
  close(fds[1]);
  int savedStdin = dup(0);
  dup2(fds[0], 0);
  close(fds[0]);
  clearerr(stdin);
  testing::internal::CaptureStderr();
  dbg_stop();
  std::string err = testing::internal::GetCapturedStderr();
  dup2(savedStdin, 0);
  close(savedStdin);
  clearerr(stdin);
  EXPECT_EQ(err, kMarker + "+Object\n\n" + "\n\n\n\n");
}

}  // namespace

#include <gtest/gtest.h>
#include <unistd.h>

#include "runtime/fatal.h"
#include "runtime/gc.h"
#include "runtime/object.h"
#include "tests/support/subprocess.h"

namespace {

ProcessResult Probe(const std::string& mode, const std::string& input = "",
                    std::vector<std::string> env = {}) {
  ProcessOptions options;
  options.input = input;
  options.setEnv = std::move(env);
  return RunProcess({BuildPath("tests/runtime/fatal_probe"), mode}, options);
}

const char* kMarker = "{{~~~~}}\n\n";

TEST(FatalError, WithStandardInputClosedPrintsTwoLinesAndExits255) {
  ProcessResult r = Probe("fatal");
  EXPECT_EQ(r.out, "Vorlix Runtime Error : Something broke\n\n");
  EXPECT_EQ(r.err, kMarker);
  EXPECT_EQ(r.status, 255);
}

TEST(FatalError, DebuggerCommandsDecideTheEnd) {
  ProcessResult quit = Probe("fatal", "q\n");
  EXPECT_EQ(quit.status, 0);
  EXPECT_EQ(quit.out, "Vorlix Runtime Error : Something broke\n\n");

  ProcessResult unknown = Probe("fatal", "zap it\n");
  EXPECT_EQ(unknown.status, 255);
  EXPECT_EQ(unknown.out, "Vorlix Runtime Error : Something broke\n\n????? zap it ?????");

  // "?" lines are skipped; a resume reports the error again, then input ends.
  ProcessResult resumed = Probe("fatal", "?\nr\n");
  EXPECT_EQ(resumed.status, 255);
  EXPECT_EQ(resumed.out, "Vorlix Runtime Error : Something broke\n\n"
                         "Vorlix Runtime Error : Something broke\n\n");
  EXPECT_EQ(resumed.err, std::string(kMarker) + kMarker);

  // A last line without its newline counts as the end of input.
  EXPECT_EQ(Probe("fatal", "q").status, 255);
}

TEST(FatalError, MessagesKeepTheLowByteOfWideCharacters) {
  // U+20AC reduces to 0xAC, which is then written as UTF-8 U+00AC.
  ProcessResult r = Probe("wide");
  EXPECT_EQ(r.out, "Vorlix Runtime Error : A\xC2\xAC" "B\n\n");
}

TEST(FatalError, SignalsAndExhaustionBecomeFatalErrors) {
  const struct {
    const char* mode;
    const char* message;
    const char* asanOptions;
  } cases[] = {
      {"segv", "Memory access violation", "handle_segv=0"},
      {"recurse", "Memory access violation", "handle_segv=0"},  // no stack left for the handler
      {"fpe", "Floating point exception", ""},
      {"oom", "Out of memory", "allocator_may_return_null=1"},
      // A real exhaustion: the report itself may allocate nothing.
      {"exhaust", "Out of memory", "allocator_may_return_null=1:detect_leaks=0"},
  };
  for (const auto& c : cases) {
    ProcessResult r = Probe(c.mode, "", {std::string("ASAN_OPTIONS=") + c.asanOptions});
    EXPECT_EQ(r.out, std::string("Vorlix Runtime Error : ") + c.message + "\n\n") << c.mode;
    EXPECT_EQ(r.status, 255) << c.mode << "\n" << r.err;
  }
}

TEST(OrderlyEnd, EmptyErrorExitsZeroSilently) {
  ProcessResult r = Probe("end");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
}

TEST(Print, WritesUtf8OneUnitAtATime) {
  ProcessResult r = Probe("print");
  EXPECT_EQ(r.out, "x\xC3\xA9\xE2\x82\xAC\xED\xA0\xBD\n");
}

// Feeds `lines` to dbg_stop as standard input and returns what it wrote to
// standard error.
std::string DebuggerSession(const std::string& lines) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  EXPECT_EQ(write(fds[1], lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
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
  return err;
}

TEST(Debugger, AtCommandAsksOnlyObjectsTheCollectorHolds) {
  Object* live = new Object;
  char line[64];
  snprintf(line, sizeof line, "@%p\n", static_cast<void*>(live));
  int onStack = 0;
  char garbage[64];
  snprintf(garbage, sizeof garbage, "@%p\n", static_cast<void*>(&onStack));
  std::string err = DebuggerSession(std::string(line) + garbage + "@0x10\n@(nil)\n@junk\nr\n");
  EXPECT_EQ(err, std::string(kMarker) + "+Object\n\n" + "\n\n\n\n");
}

}  // namespace

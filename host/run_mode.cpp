#include "host/run_mode.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "framework/app.h"
#include "framework/random.h"
#include "game/core/my_app.h"
#include "graphics/gl_calls.h"
#include "graphics/headless_gl.h"
#include "host/command_line.h"
#include "host/vx_game.h"
#include "runtime/fatal.h"

namespace {

constexpr int EXIT_NOT_AS_RECORDED = 1;
constexpr int EXIT_REFUSED = 2;

VxRunMode* running = nullptr;  // for the end hooks

[[noreturn]] void Refuse(const char* path, const std::string& why) {
  fprintf(stderr, "kalvexa: %s: %s\n", path, why.c_str());
  exit(EXIT_REFUSED);
}

bool ReadFile(const char* path, std::string* text) {
  FILE* file = fopen(path, "rb");
  if (!file) return false;
  char block[1 << 16];
  for (size_t n; (n = fread(block, 1, sizeof block, file)) > 0;) text->append(block, n);
  bool read = !ferror(file);
  fclose(file);
  return read;
}

int Score() { return vx_app__app ? static_cast<c_MyApp*>(vx_app__app)->score : 0; }

}  // namespace

VxRunMode::VxRunMode(int argc, const char** argv)
    : argc_(argc),
      argv_(argv),
      headless_(vx_Kalvexa_Switch(argc, argv, "--headless") != nullptr),
      startArgv_(argv, argv + argc) {
  if (const char* path = vx_Kalvexa_Switch(argc, argv, "--record")) {
    recordFile_ = fopen(path, "w");
    if (!recordFile_) Refuse(path, strerror(errno));
  }
  if (const char* path = vx_Kalvexa_Switch(argc, argv, "--replay")) {
    std::string text, error;
    if (!ReadFile(path, &text)) Refuse(path, strerror(errno));
    VxRecording recording;
    if (!VxReadRecording(text, &recording, &error)) Refuse(path, error);
    player_ = std::make_unique<VxPlayer>(std::move(recording));
    startArgv_.resize(1);
    for (const std::string& argument : player_->Recording().arguments) startArgv_.push_back(argument.c_str());
  }
}

void VxRunMode::Run(VxGlfwGame& host) {
  running = this;
  if (recordFile_) {
    recorder_ = std::make_unique<VxRecorder>(std::exchange(recordFile_, nullptr), vx_Kalvexa_GameSwitches(argc_, argv_),
                                             vx_random_Seed);
    host.SetReplay(recorder_.get());
    vx_at_orderly_end(EndRecording);
  }
  if (!player_) {
    host.Run();
    return;
  }
  vx_random_Seed = player_->Recording().seed;
  host.SetReplay(player_.get());
  vx_at_orderly_end(Report);
  if (!headless_) {
    // The game sees the recorded window sizes, whatever the real window's.
    static gxtkGLCalls recordedSize = gxtkGLReal;
    recordedSize.GetWindowSize = gxtkGLHeadless.GetWindowSize;
    recordedSize.GetFramebufferSize = gxtkGLHeadless.GetFramebufferSize;
    gxtkGL = &recordedSize;
  }
  host.Replay(*player_, !headless_);
}

void VxRunMode::EndRecording() { running->recorder_->End(Score()); }

void VxRunMode::Report() {
  const VxPlayer& player = *running->player_;
  const VxRecording& recorded = player.Recording();
  int score = Score(), ticks = player.Ticks();
  bool asRecorded = score == recorded.score && ticks == recorded.ticks;
  printf("score %d ticks %d", score, ticks);
  if (!recorded.ended) {
    printf("; the recording has no end\n");
  } else if (asRecorded) {
    printf(" as recorded\n");
  } else {
    printf(" but recorded score %d ticks %d\n", recorded.score, recorded.ticks);
  }
  if (running->headless_) {
    std::string saved;
    vx_utf8_append(player.Saved(), saved);
    printf("frames %lld draws %lld digest %016llx state %016llx\n", gxtkHeadless.frames, gxtkHeadless.drawCalls,
           static_cast<unsigned long long>(gxtkHeadless.digest),
           static_cast<unsigned long long>(gxtkDigest(GXTK_DIGEST_START, saved.data(), saved.size())));
  }
  fflush(stdout);
  if (recorded.ended && !asRecorded) {
    vx_orderly_end();
    exit(EXIT_NOT_AS_RECORDED);
  }
}

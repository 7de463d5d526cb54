// How the command line has the game run: as it is played, recorded into a
// file (--record FILE), or replayed from one (--replay FILE), in a window at
// the recorded pace or headless as fast as it goes (--headless). A replay
// ends by printing "score N ticks M" and whether they are the recorded ones;
// headless, a second line gives the frames, the draw calls, a digest of
// every vertex drawn and one of the last state saved.
#pragma once
#include <cstdio>
#include <memory>
#include <vector>

#include "host/replay.h"

class VxGlfwGame;

class VxRunMode {
 public:
  // Reads the recording to replay, or creates the file to record into. A
  // file that cannot be read or created, or a recording that is damaged or
  // of another version, ends the process here: one line on standard error,
  // status 2.
  VxRunMode(int argc, const char** argv);

  // The arguments for start-up: a replay's are the recorded ones.
  int Argc() const { return static_cast<int>(startArgv_.size()); }
  const char** Argv() { return startArgv_.data(); }

  // Runs the started game on `host`.
  void Run(VxGlfwGame& host);

 private:
  static void EndRecording();
  // Ends the process with status 1 when the replay did not end as recorded.
  static void Report();

  int argc_;
  const char** argv_;
  bool headless_;
  FILE* recordFile_ = nullptr;
  std::unique_ptr<VxRecorder> recorder_;
  std::unique_ptr<VxPlayer> player_;
  std::vector<const char*> startArgv_;
};
